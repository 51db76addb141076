// Small report classes for the tests: a root that is a report, a band, a memo with an
// enumeration, a frame sub-object, a reference, memo text and binary data, and a data source.
#pragma once

#include <memory>
#include <string>

#include "report/model/qbx_ref.h"
#include "report/model/qbx_report_component.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/qbx_strings.h"

namespace zavrik::test {

enum THAlign : int32_t { haLeft, haRight, haCenter, haBlock };

class TtstFrame : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int32_t Typ() const { return FTyp; }
  void SetTyp(int32_t v) { FTyp = v; }
  double Width() const { return FWidth; }
  void SetWidth(double v) { FWidth = v; }
  int32_t Color() const { return FColor; }
  void SetColor(int32_t v) { FColor = v; }

 private:
  int32_t FTyp = 0;
  double FWidth = 1;
  int32_t FColor = 0;
};

class TtstQuery : public TqbxReportComponent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TStrings* SQL() const { return FSQL.get(); }

 private:
  std::unique_ptr<TStrings> FSQL = std::make_unique<TStrings>();
};

class TtstBand : public TqbxReportComponent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsBand() const override { return true; }
  TtstQuery* DataSet() const { return FDataSet; }
  void SetDataSet(TtstQuery* v) { FDataSet = v; }
  void Loaded() override { ++LoadedCalls; }
  int LoadedCalls = 0;

 private:
  TqbxRef<TtstQuery> FDataSet;
};

// An item of the memo's binary-data list.
class TtstItem : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& v) { FExpression = v; }

 private:
  String FExpression;
};

class TtstMemoView : public TqbxReportComponent, public TqbxMemoText, public TqbxDefinedProperties {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsView() const override { return true; }
  TqbxAlign Align() const override { return FAlign; }
  void SetAlign(TqbxAlign v) { FAlign = v; }
  void MirrorContent(int32_t modes) override { MirroredWith = modes; }
  int32_t MirroredWith = -1;
  THAlign HAlign() const { return FHAlign; }
  void SetHAlign(THAlign v) { FHAlign = v; }
  TtstFrame* Frame() const { return FFrame.get(); }
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& v) { FValue = v; }
  String MemoText() const override { return FText; }
  void SetMemoText(const String& text) override { FText = text; }
  bool ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) override;
  void WriteDefinedProperties(TqbxPropWriter& writer) const override;
  std::vector<std::unique_ptr<TtstItem>> Items;

 private:
  THAlign FHAlign = haLeft;
  TqbxAlign FAlign = baNone;
  std::unique_ptr<TtstFrame> FFrame = std::make_unique<TtstFrame>();
  Variant FValue;
  String FText;
};

// A report: takes the nested `Variables` element (one item per variable).
class TtstReport : public TqbxComponent {
 public:
  TtstReport() { SetComponentStyle(ComponentStyle() | csHandlesNestedProperties); }
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsReport() const override { return true; }
  bool ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) override;
  bool WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const override;
  TStrings* ScriptText() const { return FScriptText.get(); }
  std::vector<std::unique_ptr<TtstItem>> Variables;

 private:
  std::unique_ptr<TStrings> FScriptText = std::make_unique<TStrings>();
};

void RegisterTestClasses();

// Loads template text into a fresh report; the messages go to `errors`.
std::unique_ptr<TtstReport> LoadReport(const std::string& xml, std::vector<String>* errors = nullptr);
// Writes a report as a template (auto-indented).
std::string SaveReport(const TqbxComponent& report);
// "<?xml ...?><TtstReport>" + body + "</TtstReport>".
std::string Template(const std::string& body);

}  // namespace zavrik::test
