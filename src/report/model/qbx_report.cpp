#include "report/model/qbx_report.h"

#include "core/rtti_props.h"
#include "core/error.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_item.h"

namespace zavrik {

// --- styles

const ClassInfo& TqbxStyleItem::StaticClass() {
  using C = TqbxStyleItem;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxStyleItem", &Object::StaticClass(), &New<TqbxStyleItem>, {
      Prop(u"Name", &C::Name, &C::SetName),
      Prop(u"Font", &C::Font),
      Prop(u"Frame", &C::Frame),
      Prop(u"FillType", &C::FillType, &C::SetFillType).Enum(FillTypeType()).Default(ftBrush),
      Prop(u"Fill", &C::Fill, &C::SetFill),
      Field(u"ApplyFont", &C::ApplyFont).Default(1),
      Field(u"ApplyFill", &C::ApplyFill).Default(1),
      Field(u"ApplyFrame", &C::ApplyFrame).Default(1),
  }); });
  return info;
}

// --- report

namespace {
TqbxReportScriptingFactory g_scripting_factory = nullptr;
}  // namespace

void RegisterReportScriptingFactory(TqbxReportScriptingFactory factory) { g_scripting_factory = factory; }

std::unique_ptr<TqbxReportScripting> CreateReportScripting(TqbxReport& report) {
  return g_scripting_factory ? g_scripting_factory(report) : nullptr;
}

TqbxReportScripting& TqbxReport::Scripting() const {
  if (!FScripting) throw Error(u"Script binding is not available");
  return *FScripting;
}

TqbxReport::TqbxReport() {
  SetComponentStyle(ComponentStyle() | csHandlesNestedProperties);
  Clear();
  FPreviewPages = CreatePreviewPages(*this);
  FScripting = CreateReportScripting(*this);
  Script = FScripting.get();
}

// Objects destroyed with the report call no script procedures any more.
TqbxReport::~TqbxReport() { Script = nullptr; }

void TqbxReport::SetEngine(std::unique_ptr<TqbxCustomEngine> engine) {
  FEngine = std::move(engine);
  Engine = FEngine.get();
}

void TqbxReport::SetPreviewPages(std::unique_ptr<TqbxCustomPreviewPages> value) { FPreviewPages = std::move(value); }

bool TqbxReport::Export(TqbxCustomExportFilter& filter) {
  if (!FPreviewPages) throw Error(u"Prepared pages are not available");
  return FPreviewPages->Export(filter);
}

const ClassInfo& TqbxReport::StaticClass() {
  using C = TqbxReport;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxReport", &TqbxComponent::StaticClass(), &New<TqbxReport>, {
      Prop(u"Version", &C::Version, &C::SetVersion),
      Prop(u"DataSet", &C::DataSet, &C::SetDataSet).Reference(),
      Prop(u"DataSetName", &C::DataSetName, &C::SetDataSetName),
      Field(u"DotMatrixReport", &C::DotMatrixReport).Default(0),
      Prop(u"EngineOptions", &C::EngineOptions),
      Field(u"IniFile", &C::IniFile),
      Field(u"OldStyleProgress", &C::OldStyleProgress).Default(0),
      Field(u"ParentReport", &C::ParentReport),
      Prop(u"PreviewOptions", &C::PreviewOptions),
      Prop(u"PrintOptions", &C::PrintOptions),
      Prop(u"ReportOptions", &C::ReportOptions),
      Prop(u"ScriptLanguage", &C::ScriptLanguage, &C::SetScriptLanguage),
      Prop(u"ScriptText", &C::ScriptText),
      Field(u"ShowProgress", &C::ShowProgress).Default(1),
      Field(u"StoreInDFM", &C::StoreInDFM).Default(1),
      Field(u"OnReportPrint", &C::OnReportPrint),
      Field(u"OnRunDialogs", &C::OnRunDialogs),
      Field(u"OnStartReport", &C::OnStartReport),
      Field(u"OnStopReport", &C::OnStopReport),
  }); });
  return info;
}

void TqbxReport::Clear() {
  // The script forgets the objects before they go.
  if (FScripting) FScripting->Unpublish();
  SelfValue = nullptr;
  TqbxComponent::Clear();
  FDataSets.Clear();
  FVariables.Clear();
  FStyles.clear();
  FEngineOptions->Clear();
  FReportOptions->Clear();
  FDataSet.Clear();
  DotMatrixReport = false;
  ParentReport.clear();
  FScriptLanguage = u"PascalScript";
  FScriptText->SetText(u"begin\r\n\r\nend.");
  FSystemVariables = {u"Date", u"Time", u"Page", u"Page#", u"TotalPages", u"TotalPages#",
                      u"Line", u"Line#", u"CopyName#", u"TableRow", u"TableColumn"};
  OnRunDialogs.clear();
  OnStartReport.clear();
  OnStopReport.clear();
}

void TqbxReport::DoNotifyEvent(TqbxComponent* object, StringView event_name, bool run_always) {
  if (event_name.empty()) return;  // most events have no handler: no parameter list
  DoParamEvent(event_name, {Variant(static_cast<Object*>(object))}, run_always);
}

void TqbxReport::DoParamEvent(StringView event_name, const std::vector<Variant>& params, bool run_always) {
  if (event_name.empty() || !(run_always || EngineRunning) || !Script) return;
  Script->CallFunction(event_name, params);
}

TqbxComponent* TqbxReport::FindObject(StringView name) const {
  if (TqbxComponent* found = TqbxComponent::FindObject(name)) return found;
  if (!IsLoading || FEngineOptions->UseGlobalDataSetList) return nullptr;
  const size_t dot = name.rfind(u'.');
  TqbxDataSetItem* item = FEnabledDataSets.Find(dot == StringView::npos ? name : name.substr(dot + 1));
  return item ? item->DataSet() : nullptr;
}

bool TqbxReport::ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) {
  if (SameTextAscii(item.Name(), u"Datasets")) {
    serializer.ReadCollection(item, [this]() -> Object& { return FDataSets.Add(); });
  } else if (SameTextAscii(item.Name(), u"Variables")) {
    serializer.ReadCollection(item, [this]() -> Object& { return FVariables.Add(); });
  } else if (SameTextAscii(item.Name(), u"Styles")) {
    serializer.ReadCollection(item, [this]() -> Object& { return *FStyles.emplace_back(std::make_unique<TqbxStyleItem>()); });
  } else {
    return false;
  }
  return true;
}

bool TqbxReport::WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const {
  if (FDataSets.Count()) serializer.WriteCollection(item, u"Datasets", FDataSets.Objects());
  if (FVariables.Count()) {
    std::vector<const Object*> items;
    for (int i = 0; i < FVariables.Count(); ++i) items.push_back(&FVariables.Item(i));
    serializer.WriteCollection(item, u"Variables", items);
  }
  if (!FStyles.empty()) {
    std::vector<const Object*> items;
    for (const auto& style : FStyles) items.push_back(style.get());
    serializer.WriteCollection(item, u"Styles", items);
  }
  return FDataSets.Count() || FVariables.Count() || !FStyles.empty();
}

}  // namespace zavrik
