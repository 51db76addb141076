// A stand-in for the report object until it exists: the root of a loaded template with the
// report's header attributes and its nested Datasets, Variables and Styles kept as they were read.
#pragma once

#include <memory>
#include <vector>

#include "report/qbx_component.h"
#include "report/qbx_strings.h"
#include "report/qbx_xml_item.h"

namespace zavrik::tool {

class ProvisionalReport : public TqbxComponent {
 public:
  ProvisionalReport() { SetComponentStyle(ComponentStyle() | csHandlesNestedProperties); }
  // Registered under the report's class name, TqbxReport.
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsReport() const override { return true; }
  bool ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) override;
  bool WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const override;

  const String& Version() const { return FVersion; }
  void SetVersion(const String& v) { FVersion = v; }
  const String& ScriptLanguage() const { return FScriptLanguage; }
  void SetScriptLanguage(const String& v) { FScriptLanguage = v; }
  TStrings* ScriptText() const { return FScriptText.get(); }

 private:
  String FVersion;
  String FScriptLanguage;
  std::unique_ptr<TStrings> FScriptText = std::make_unique<TStrings>();
  std::vector<std::unique_ptr<TqbxXMLItem>> FNested;
};

}  // namespace zavrik::tool
