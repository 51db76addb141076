// TqbxReport: the root of a report definition. It loads templates, holds the report-wide state
// (data-source list, variables, script text, options, styles, errors) and reports load and
// preparation errors through its error handler.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "report/model/qbx_component.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_error_list.h"
#include "report/model/qbx_evaluator.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_frame.h"
#include "report/model/qbx_ref.h"
#include "report/model/qbx_report_component.h"
#include "report/model/qbx_report_options.h"
#include "report/model/qbx_report_scripting.h"
#include "report/model/qbx_strings.h"
#include "report/model/qbx_variables.h"

namespace zavrik {

class TqbxCustomExportFilter;
class TqbxCustomPreviewPages;
class TqbxCustomEngine;
class TqbxDataPage;

// One entry of the report's data-source list.
class TqbxDataSetItem : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxReportComponent* DataSet() const { return FDataSet; }
  void SetDataSet(TqbxReportComponent* v);
  String DataSetName() const { return FDataSet ? DataSetUserName(FDataSet) : FDataSetName; }
  void SetDataSetName(const String& v) { FDataSetName = v; }

 private:
  TqbxRef<TqbxReportComponent> FDataSet;
  String FDataSetName;
};

class TqbxReportDataSets {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TqbxDataSetItem& Item(int index) const { return *FItems.at(static_cast<size_t>(index)); }
  TqbxDataSetItem& Add(TqbxReportComponent* data_set = nullptr);
  TqbxDataSetItem* Find(const TqbxReportComponent* data_set) const;
  // By the data source's name (case-insensitive); items without a data source are skipped.
  TqbxDataSetItem* Find(StringView name) const;
  void Delete(StringView name);
  void Clear() { FItems.clear(); }
  // Before a run: every listed data source learns that `report` uses it, then initialises itself.
  void Initialize(TqbxComponent* report) const;
  // After a run: every listed data source finalises itself (all of them, even when one fails;
  // the first failure is raised afterwards).
  void Finalize() const;
  std::vector<const Object*> Objects() const;

 private:
  std::vector<std::unique_ptr<TqbxDataSetItem>> FItems;
};

class TqbxStyleItem : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  const String& Name() const { return FName; }
  void SetName(const String& v) { FName = v; }
  TqbxFont* Font() const { return FFont.get(); }
  TqbxFrame* Frame() const { return FFrame.get(); }
  TqbxFillType FillType() const { return FFill.FillType(); }
  void SetFillType(TqbxFillType v) { FFill.SetFillType(v); }
  TqbxCustomFill* Fill() const { return FFill.Fill(); }
  void SetFill(const TqbxCustomFill* v) { FFill.SetFill(v); }
  bool ApplyFont = true, ApplyFill = true, ApplyFrame = true;

 private:
  String FName;
  std::unique_ptr<TqbxFont> FFont = std::make_unique<TqbxFont>();
  std::unique_ptr<TqbxFrame> FFrame = std::make_unique<TqbxFrame>();
  TqbxFillHolder FFill;
};

class TqbxReport : public TqbxComponent, public TqbxEvaluator {
 public:
  TqbxReport();
  ~TqbxReport() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsReport() const override { return true; }
  TqbxEvaluator* AsEvaluator() override { return this; }

  // Pages, data sources, variables, styles, options and script text back to a new report's.
  void Clear() override;

  // --- templates
  // Reads a template; errors are collected in Errors and reported once through the error handler.
  void LoadFromStream(std::istream& stream);
  void SaveToStream(std::ostream& stream, bool save_children = true, bool save_default_values = false,
                    bool indented = true) const;
  bool ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) override;
  bool WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const override;
  // Gives the report a data page ("Data") as its first child when it has none.
  void CheckDataPage();
  // While loading with the global data-source list off, names not in the tree are looked up among
  // the enabled data sources by the part after the last dot.
  TqbxComponent* FindObject(StringView name) const override;

  // --- preparation
  // Checks the data-source list, keeps the definition, prepares the script and runs its main
  // block, runs `Run` (the engine) and restores the definition; true when nothing was reported.
  bool PrepareReport(bool clear_last_report = true);
  std::function<bool(TqbxReport&)> Run;
  // Publishes the report's objects and helpers to its script and compiles ScriptText; a compile
  // error goes to Errors.
  bool PrepareScript();

  // --- prepared pages: created by the registered factory (none without one); PrepareReport
  // clears them first, Export hands them to a filter
  TqbxCustomPreviewPages* PreviewPages() const { return FPreviewPages.get(); }
  void SetPreviewPages(std::unique_ptr<TqbxCustomPreviewPages> value);
  // Exports the prepared pages; "Prepared pages are not available" without them.
  bool Export(TqbxCustomExportFilter& filter);

  // --- script events: run when the name is set and either forced or the engine is running
  void DoNotifyEvent(TqbxComponent* object, StringView event_name, bool run_always = false);
  void DoParamEvent(StringView event_name, const std::vector<Variant>& params, bool run_always = false);
  void DoBeforePrint(TqbxReportComponent& object) { DoNotifyEvent(&object, object.OnBeforePrint()); }
  void DoAfterPrint(TqbxReportComponent& object) { DoNotifyEvent(&object, object.OnAfterPrint()); }
  // The report's own script program and its expressions, through the registered script binding
  // ("Script binding is not available" without one).
  TqbxReportScripting& Scripting() const;
  // Who runs event procedures: the report's own script unless replaced.
  TqbxScriptCaller* Script = nullptr;
  // The engine that runs this report (created by the engine layer); without a `Run` hook
  // PrepareReport runs it directly.
  TqbxCustomEngine* Engine = nullptr;
  // Makes the report own `engine` and use it as `Engine`.
  void SetEngine(std::unique_ptr<TqbxCustomEngine> engine);
  bool EngineRunning = false;

  // --- errors: "Были обнаружены следующие ошибки:" and the list, by EngineOptions.NewSilentMode
  void ShowErrors();
  void ReportError(const String& text);
  TqbxErrorList Errors;

  // --- expressions
  // A name resolved directly (data field, system variable, report variable, global variable,
  // script variable), else the expression compiled once through the cache. Failures are added to
  // Errors (prefixed by the name of the object evaluated) and raised, unless the engine options
  // ignore them.
  Variant Calc(StringView expression) override;
  // Calc as scripts call it (Report.Calc): failures raise "Error in Calc expression:" and the
  // message, without entering Errors.
  Variant ScriptCalc(StringView expression);
  // Resolves a bare name; false when it is none of the names Calc resolves directly.
  bool LookupValue(StringView name, Variant& value);
  String ScriptLanguage() const override { return FScriptLanguage; }
  void SetSelfValue(TqbxComponent* object) override;
  // A host evaluator that replaces the script binding, when set.
  std::function<Variant(StringView)> OnCalc;
  void SetLocalValue(const Variant& value) override;
  TqbxComponent* SelfValue = nullptr;
  Variant LocalValue;

  // --- properties
  const String& Version() const { return FVersion; }
  void SetVersion(const String&) {}  // always "6.7"
  void SetScriptLanguage(const String& v) { FScriptLanguage = v; }
  TStrings* ScriptText() const { return FScriptText.get(); }
  TqbxEngineOptions* EngineOptions() const { return FEngineOptions.get(); }
  TqbxPrintOptions* PrintOptions() const { return FPrintOptions.get(); }
  TqbxPreviewOptions* PreviewOptions() const { return FPreviewOptions.get(); }
  TqbxReportOptions* ReportOptions() const { return FReportOptions.get(); }
  TqbxReportDataSets& DataSets() { return FDataSets; }
  // Used instead of the global list when EngineOptions.UseGlobalDataSetList is off.
  TqbxReportDataSets& EnabledDataSets() { return FEnabledDataSets; }
  TqbxVariables& Variables() { return FVariables; }
  // Sets a variable to a text given from outside the template (the program's ID). Such a text is
  // data: reading the variable gives its literal value (VariableDataValue), it is never evaluated
  // as an expression. Once the template assigns the variable another value, that value is read
  // as usual.
  void SetDataVariable(StringView name, const String& text);
  std::vector<std::unique_ptr<TqbxStyleItem>>& Styles() { return FStyles; }
  TqbxReportComponent* DataSet() const { return FDataSet.DataSet(); }
  void SetDataSet(TqbxReportComponent* v) { FDataSet.SetDataSet(v); }
  String DataSetName() const { return FDataSet.Name(); }
  void SetDataSetName(const String& v) { FDataSet.SetName(*this, v); }
  // The data source of a data-source list entry with that name, or none.
  TqbxReportComponent* GetDataset(StringView alias) const;
  // The user name of a listed data source; "(компонент не включен в Report.DataSets)" for one
  // that is not listed, empty for none.
  String GetAlias(const TqbxReportComponent* data_set) const;
  // `Alias."Field"`: the listed data source and the field name; none and empty otherwise.
  TqbxReportComponent* GetDatasetAndField(StringView name, String& field) const;
  const std::vector<String>& SystemVariables() const { return FSystemVariables; }

  bool DotMatrixReport = false;
  String ParentReport, IniFile;
  bool OldStyleProgress = false;
  bool ShowProgress = true;
  bool StoreInDFM = true;
  String OnRunDialogs, OnStartReport, OnStopReport, OnReportPrint;
  bool Terminated = false;
  bool Reloading = false;

 private:
  // Reads a template into the cleared report, collecting the messages in Errors.
  void ReadDefinition(std::istream& stream);
  void RestoreKeptOptions(const TqbxEngineOptions& engine, const TqbxPreviewOptions& preview);
  // The expression cache's value of `expression`; an empty `error` on success.
  Variant CalcCompiled(StringView expression, String& error);
  bool LookupSystemVariable(StringView name, Variant& value) const;
  bool LookupVariable(StringView name, Variant& value);

  String FVersion = u"6.7";
  String FScriptLanguage;
  std::unique_ptr<TStrings> FScriptText = std::make_unique<TStrings>();
  std::unique_ptr<TqbxEngineOptions> FEngineOptions = std::make_unique<TqbxEngineOptions>();
  std::unique_ptr<TqbxPrintOptions> FPrintOptions = std::make_unique<TqbxPrintOptions>();
  std::unique_ptr<TqbxPreviewOptions> FPreviewOptions = std::make_unique<TqbxPreviewOptions>();
  std::unique_ptr<TqbxReportOptions> FReportOptions = std::make_unique<TqbxReportOptions>();
  TqbxReportDataSets FDataSets, FEnabledDataSets;
  TqbxVariables FVariables;
  std::vector<std::unique_ptr<TqbxStyleItem>> FStyles;
  TqbxDataSetLink FDataSet;
  std::vector<String> FSystemVariables;
  String FAcceptedPassword;
  std::unique_ptr<TqbxCustomEngine> FEngine;
  std::unique_ptr<TqbxCustomPreviewPages> FPreviewPages;
  std::unique_ptr<TqbxReportScripting> FScripting;
  // Variables being evaluated (a variable that refers to itself fails instead of recursing).
  std::vector<String> FVariablesInEvaluation;
  // SetDataVariable's texts by upper-case variable name; kept across reloading the definition.
  std::vector<std::pair<String, String>> FDataVariables;
};

}  // namespace zavrik
