#include "data/qbx_data_set.h"

#include "core/case_fold.h"
#include "core/error.h"
#include "core/rtti_props.h"
#include "core/variant_convert.h"
#include "report/model/qbx_report.h"
#include "report/model/qbx_strings.h"

namespace zavrik::data {

const EnumType& RangeBeginType() {
  static const EnumType type{u"rbFirst", u"rbCurrent"};
  return type;
}

const EnumType& RangeEndType() {
  static const EnumType type{u"reLast", u"reCurrent", u"reCount"};
  return type;
}

PropList DataSetProps() {
  using C = TqbxDataSet;
  return {
      Prop(u"Left", &C::Left, &C::SetLeft),
      Prop(u"Top", &C::Top, &C::SetTop),
      Prop(u"Description", &C::Description, &C::SetDescription),
      zavrik::Field(u"CloseDataSource", &C::CloseDataSource).Default(0),
      zavrik::Field(u"Enabled", &C::Enabled).Default(1),
      zavrik::Field(u"OpenDataSource", &C::OpenDataSource).Default(1),
      zavrik::Field(u"RangeBegin", &C::RangeBegin).Enum(RangeBeginType()).Default(rbFirst),
      zavrik::Field(u"RangeEnd", &C::RangeEnd).Enum(RangeEndType()).Default(reLast),
      zavrik::Field(u"RangeEndCount", &C::RangeEndCount).Default(0),
      Prop(u"UserName", &C::UserName, &C::SetUserName),
      zavrik::Field(u"OnCheckEOF", &C::OnCheckEOF),
      zavrik::Field(u"OnFirst", &C::OnFirst),
      zavrik::Field(u"OnNext", &C::OnNext),
      zavrik::Field(u"OnPrior", &C::OnPrior),
      zavrik::Field(u"OnOpen", &C::OnOpen),
      zavrik::Field(u"OnClose", &C::OnClose),
  };
}

const ClassInfo& TqbxDataSet::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDataSet", &TqbxDialogComponent::StaticClass(), nullptr,
                              DataSetProps()); });
  return info;
}

TqbxDataSet::TqbxDataSet() { TqbxGlobalDataSets::Add(this); }

TqbxDataSet::~TqbxDataSet() { TqbxGlobalDataSets::Remove(this); }

void TqbxDataSet::SetUserName(const String& value) {
  if (Trim(StringView(value)).empty()) throw Error(u"prInvProp");
  FUserName = value;
}

TqbxComponent* TqbxDataSet::ReportRef() const { return FReportRef ? FReportRef : Report(); }

TqbxReport* TqbxDataSet::UsingReport() const { return dynamic_cast<TqbxReport*>(ReportRef()); }

bool TqbxDataSet::HasField(StringView field) {
  std::vector<String> list;
  GetFieldList(list);
  for (const String& name : list)
    if (SameText(name, field)) return true;
  return false;
}

int TqbxDataSet::RecordCount() {
  return RangeBegin == rbFirst && RangeEnd == reCount ? RangeEndCount : 0;
}

String TqbxDataSet::BlobText(StringView field) {
  TStrings text;
  AssignBlobTo(field, text);
  String result = text.Text();
  if (result.ends_with(u"\r\n")) result.resize(result.size() - 2);
  return result;
}

void TqbxDataSet::Open() { DoEvent(OnOpen); }

void TqbxDataSet::Close() { DoEvent(OnClose); }

void TqbxDataSet::First() {
  RecNo = 0;
  FEof = false;
  DoEvent(OnFirst);
}

void TqbxDataSet::Next() {
  FEof = false;
  ++RecNo;
  if (RangeEnd == reCount && RecNo >= RangeEndCount) {
    RecNo = RangeEndCount - 1;
    FEof = true;
  } else {
    DoEvent(OnNext);
  }
}

void TqbxDataSet::Prior() {
  --RecNo;
  DoEvent(OnPrior);
}

bool TqbxDataSet::Eof() {
  return CheckEof(RangeEnd == reCount && (RecNo >= RangeEndCount || FEof));
}

void TqbxDataSet::DoEvent(const String& event) {
  if (TqbxReport* report = UsingReport()) report->DoNotifyEvent(this, event);
}

bool TqbxDataSet::CheckEof(bool eof) {
  TqbxReport* report = UsingReport();
  if (OnCheckEOF.empty() || !report || !report->Script || !report->EngineRunning) return eof;
  const Variant answer =
      report->Script->CallFunction(OnCheckEOF, {Variant(static_cast<Object*>(this)), Variant(eof)});
  return answer.Kind() == VarKind::Boolean ? answer.BoolValue() : eof;
}

void TqbxDataSet::AddReportError(const String& message) {
  if (TqbxReport* report = UsingReport()) report->Errors.Add(message);
}

// --- TqbxUserDataSet

const ClassInfo& TqbxUserDataSet::StaticClass() {
  using C = TqbxUserDataSet;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxUserDataSet", &TqbxDataSet::StaticClass(), &New<C>,
                              {
                                  Prop(u"Fields", &C::Fields),
                                  zavrik::Field(u"OnGetValue", &C::OnGetValue),
                              }); });
  return info;
}

TqbxUserDataSet::TqbxUserDataSet() : FFields(std::make_unique<TStrings>()) {}

TqbxUserDataSet::~TqbxUserDataSet() = default;

void TqbxUserDataSet::GetFieldList(std::vector<String>& list) { list = FFields->Lines(); }

int TqbxUserDataSet::FieldsCount() { return FFields->Count(); }

Variant TqbxUserDataSet::Value(StringView field) {
  TqbxReport* report = UsingReport();
  if (OnGetValue.empty() || !report || !report->Script) return Variant::Null();
  return report->Script->CallFunction(OnGetValue, {Variant(String(field))});
}

String TqbxUserDataSet::DisplayText(StringView field) { return VarToStr(Value(field)); }

}  // namespace zavrik::data
