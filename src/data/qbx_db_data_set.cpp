#include "data/qbx_db_data_set.h"

#include "core/case_fold.h"
#include "core/error.h"
#include "core/rtti_props.h"
#include "core/variant_convert.h"
#include "data/field_text.h"
#include "data/query.h"
#include "report/model/qbx_report.h"
#include "report/model/qbx_strings.h"

namespace zavrik::data {

const char16_t kFieldNotFound[] = u"Поле не найдено:";

String DbNotConnText(StringView component) {
  return u"Компонент " + String(component) + u" не подключен к данным";
}

// --- TqbxCustomDBDataSet

const ClassInfo& TqbxCustomDBDataSet::StaticClass() {
  using C = TqbxCustomDBDataSet;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomDBDataSet", &TqbxDataSet::StaticClass(), nullptr,
                              {
                                  Prop(u"FieldAliases", &C::FieldAliases),
                              }); });
  return info;
}

TqbxCustomDBDataSet::TqbxCustomDBDataSet() : FFieldAliases(std::make_unique<TStrings>()) {}

TqbxCustomDBDataSet::~TqbxCustomDBDataSet() = default;

namespace {

// The field and alias of a line "field=alias".
std::pair<StringView, StringView> SplitAliasLine(const String& line) {
  const size_t eq = line.find(u'=');
  if (eq == String::npos) return {line, line};
  return {StringView(line).substr(0, eq), StringView(line).substr(eq + 1)};
}

}  // namespace

String TqbxCustomDBDataSet::ConvertAlias(StringView name) const {
  for (const String& line : FFieldAliases->Lines()) {
    auto [field, alias] = SplitAliasLine(line);
    if (SameText(alias, name)) return String(field);
  }
  return String(name);
}

String TqbxCustomDBDataSet::GetAlias(StringView field_name) const {
  for (const String& line : FFieldAliases->Lines()) {
    auto [field, alias] = SplitAliasLine(line);
    if (SameText(field, field_name)) return String(alias);
  }
  return String(field_name);
}

// --- TqbxDBDataset

const ClassInfo& TqbxDBDataset::StaticClass() {
  using C = TqbxDBDataset;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDBDataset", &TqbxCustomDBDataSet::StaticClass(), nullptr,
                              {
                                  zavrik::Field(u"BCDToCurrency", &C::BCDToCurrency).Default(0),
                              }); });
  return info;
}

TqbxDBDataset::~TqbxDBDataset() { UnhookDataSet(); }

Query* TqbxDBDataset::DataSet() const {
  if (FDataSet) return FDataSet;
  return FDataSource ? FDataSource->DataSet : nullptr;
}

void TqbxDBDataset::SetDataSet(Query* value) {
  FDataSet = value;
  FDataSource = nullptr;
}

void TqbxDBDataset::SetDataSource(DataSource* value) {
  FDataSource = value;
  FDataSet = nullptr;
}

Query& TqbxDBDataset::RequireDataSet() const {
  Query* query = DataSet();
  if (!query) throw Error(DbNotConnText(Name()));
  return *query;
}

void TqbxDBDataset::Initialize() {
  Query& query = RequireDataSet();
  HookDataSet(query);
  FEof = false;
  Initialized = false;
}

void TqbxDBDataset::Finalize() {
  Query* query = DataSet();
  if (query && FBookmark >= 0 && query->Active()) query->GotoBookmark(FBookmark);
  FBookmark = -1;
  if (query && CloseDataSource) query->Close();
  UnhookDataSet();
}

void TqbxDBDataset::HookDataSet(Query& query) {
  UnhookDataSet();
  FHooked = &query;
  FSavedAfterOpen = query.AfterOpen;
  FSavedBeforeClose = query.BeforeClose;
  query.AfterOpen = [this, previous = FSavedAfterOpen] {
    if (Initialized) BuildFieldMap();
    if (previous) previous();
  };
  query.BeforeClose = [this, previous = FSavedBeforeClose] {
    FBookmark = -1;
    Initialized = false;
    if (previous) previous();
  };
}

void TqbxDBDataset::UnhookDataSet() {
  if (!FHooked) return;
  FHooked->AfterOpen = std::move(FSavedAfterOpen);
  FHooked->BeforeClose = std::move(FSavedBeforeClose);
  FSavedAfterOpen = nullptr;
  FSavedBeforeClose = nullptr;
  FHooked = nullptr;
}

void TqbxDBDataset::EnsureOpen() {
  if (!Initialized) return Open();
  // The query ran again without telling (no notifications hooked): its fields are new.
  if (Query* query = DataSet(); query && query->RunCount() != FMapRun) BuildFieldMap();
}

void TqbxDBDataset::Open() {
  if (Initialized) return;
  Query& query = RequireDataSet();
  if (!query.Active()) query.Open();
  BuildFieldMap();
  FBookmark = RangeBegin == rbCurrent || RangeEnd == reCurrent ? query.Bookmark() : -1;
  Initialized = true;
  TqbxDataSet::Open();
}

void TqbxDBDataset::Close() {
  TqbxDataSet::Close();
  FBookmark = -1;
  if (Query* query = DataSet()) query->Close();
  Initialized = false;
}

void TqbxDBDataset::BuildFieldMap() {
  FFields.clear();
  FFoundFields.clear();
  Query* query = DataSet();
  if (!query) return;
  FMapRun = query->RunCount();
  std::vector<String> names;
  GetFieldList(names);
  for (const String& name : names) FFields[UpperCase(name)] = query->FindField(ConvertAlias(name));
}

void TqbxDBDataset::First() {
  EnsureOpen();
  Query& query = RequireDataSet();
  if (RangeBegin == rbCurrent && FBookmark >= 0)
    query.GotoBookmark(FBookmark);
  else
    query.First();
  FEof = false;
  RecNo = 0;
  DoEvent(OnFirst);
}

void TqbxDBDataset::Next() {
  EnsureOpen();
  Query& query = RequireDataSet();
  FEof = false;
  if (RangeEnd == reCurrent && FBookmark >= 0 && query.Bookmark() == FBookmark) FEof = true;
  const bool count_reached = RangeEnd == reCount && RecNo + 1 >= RangeEndCount;
  const bool single_record = RangeEnd == reCurrent && RangeBegin == rbCurrent;
  if (!count_reached && !single_record) query.Next();
  ++RecNo;
  if (RangeEnd == reCount && RecNo >= RangeEndCount) {
    RecNo = RangeEndCount - 1;
    FEof = true;
  } else {
    DoEvent(OnNext);
  }
}

void TqbxDBDataset::Prior() {
  EnsureOpen();
  RequireDataSet().Prior();
  --RecNo;
  DoEvent(OnPrior);
}

bool TqbxDBDataset::Eof() {
  EnsureOpen();
  const bool eof =
      (RangeEnd == reCount && (RecNo >= RangeEndCount || FEof)) || RequireDataSet().Eof() || FEof;
  return CheckEof(eof);
}

int TqbxDBDataset::RecordCount() {
  Query* query = DataSet();
  return query ? query->RecordCount() : 0;
}

void TqbxDBDataset::GetFieldList(std::vector<String>& list) {
  list.clear();
  if (FieldAliases()->Count() > 0) {
    for (const String& line : FieldAliases()->Lines()) {
      auto [field, alias] = SplitAliasLine(line);
      if (!field.starts_with(u'-')) list.emplace_back(alias);
    }
    return;
  }
  Query* query = DataSet();
  if (!query) return;
  if (!query->Active() && query->RunCount() == 0) DescribeDataSet(*query);
  for (int i = 0; i < query->FieldCount(); ++i) list.push_back(query->Fields(i).FieldName());
}

void TqbxDBDataset::DescribeDataSet(Query& query) { query.Describe(); }

int TqbxDBDataset::FieldsCount() {
  std::vector<String> list;
  GetFieldList(list);
  return static_cast<int>(list.size());
}

String TqbxDBDataset::NotFoundText(StringView name) const {
  return String(kFieldNotFound) + u" " + UserName() + u".\"" + String(name) + u"\"";
}

Field* TqbxDBDataset::FieldOf(StringView name) {
  EnsureOpen();
  for (const auto& [found_name, field] : FFoundFields)
    if (found_name == name) return field;
  auto it = FFields.find(UpperCase(name));
  if (it != FFields.end() && it->second) {
    // Expressions name a few fields, over and over.
    constexpr size_t kMaxFoundFields = 64;
    if (FFoundFields.size() < kMaxFoundFields) FFoundFields.emplace_back(String(name), it->second);
    return it->second;
  }
  const String shown = it == FFields.end() ? String(name) : ConvertAlias(name);
  TqbxReport* report = UsingReport();
  const String object = report && report->SelfValue ? report->SelfValue->Name() : Name();
  AddReportError(object + u": " + NotFoundText(shown));
  return nullptr;
}

Variant TqbxDBDataset::Value(StringView name) {
  Field* field = FieldOf(name);
  if (!field || field->IsNull()) return Variant::Null();
  const Variant value = field->Value();
  switch (field->DataType()) {
    case data::FieldType::ftBCD:
    case data::FieldType::ftFMTBcd:
      if (BCDToCurrency) return Variant(VarToCurrency(value));
      return Variant(VarToDouble(value));
    case data::FieldType::ftLargeint:
      return Variant(VarToInt64(value));
    case data::FieldType::ftDateTime:
      return Variant(DateTime{VarToDate(value)});
    default:
      return value;
  }
}

String TqbxDBDataset::DisplayText(StringView name) {
  Query* query = DataSet();
  if (!query || !query->Active()) return UserName() + u".\"" + String(name) + u"\"";
  EnsureOpen();
  if (FFields.empty()) {
    Field* field = query->FindField(ConvertAlias(name));
    return field ? data::FieldDisplayText(*field) : String();
  }
  Field* field = FieldOf(name);
  if (!field)
    return NotFoundText(FFields.count(UpperCase(name)) ? ConvertAlias(name) : String(name));
  return data::FieldDisplayText(*field);
}

int TqbxDBDataset::DisplayWidth(StringView name) {
  Query* query = DataSet();
  Field* field = query && query->Active() ? query->FindField(ConvertAlias(name)) : nullptr;
  return field ? FieldDisplayWidth(*field) : 10;
}

TqbxFieldType TqbxDBDataset::FieldType(StringView name) {
  Query* query = DataSet();
  Field* field = query && query->Active() ? query->FindField(ConvertAlias(name)) : nullptr;
  if (!field) return fftNumeric;
  switch (field->DataType()) {
    case data::FieldType::ftString:
    case data::FieldType::ftFixedChar:
    case data::FieldType::ftWideString:
    case data::FieldType::ftFixedWideChar:
    case data::FieldType::ftMemo:
    case data::FieldType::ftWideMemo:
      return fftString;
    case data::FieldType::ftBoolean:
      return fftBoolean;
    case data::FieldType::ftDate:
    case data::FieldType::ftTime:
    case data::FieldType::ftDateTime:
      return fftDateTime;
    default:
      return fftNumeric;
  }
}

bool TqbxDBDataset::IsBlobField(StringView name) {
  Query* query = DataSet();
  Field* field = query && query->Active() ? query->FindField(ConvertAlias(name)) : nullptr;
  return field && field->IsBlob();
}

void TqbxDBDataset::AssignBlobTo(StringView name, TStrings& target) {
  Field* field = FieldOf(name);
  target.Clear();
  if (field && !field->IsNull()) target.SetText(VarToString(field->Value()));
}

std::string TqbxDBDataset::BlobBytes(StringView name) {
  Field* field = FieldOf(name);
  return field && !field->IsNull() ? field->AsBytes() : std::string();
}

String TqbxDBDataset::BlobText(StringView name) {
  Field* field = FieldOf(name);
  return field && !field->IsNull() ? VarToString(field->Value()) : String();
}

}  // namespace zavrik::data
