// A concrete view and a report with a small evaluator for the view tests.
#pragma once

#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "core/error.h"
#include "core/rtti_props.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_evaluator.h"
#include "report/model/views/qbx_view.h"

namespace zavrik::test {

class TtstView : public TqbxView {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"TtstView", &TqbxView::StaticClass(), &New<TtstView>, FillProps());
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

// Evaluates "a+b" of integers, names from `Values` and quoted strings; anything else is an empty
// string. Records the Self object.
class TtstEvalReport : public TqbxComponent, public TqbxEvaluator {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"TtstEvalReport", &TqbxComponent::StaticClass(), &New<TtstEvalReport>, {});
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsReport() const override { return true; }

  Variant Calc(StringView expr) override {
    Calls.push_back(String(expr));
    if (auto it = Values.find(String(expr)); it != Values.end()) return it->second;
    if (size_t plus = expr.find(u'+'); plus != StringView::npos) {
      return Variant(std::stoi(ToUtf8(expr.substr(0, plus))) + std::stoi(ToUtf8(expr.substr(plus + 1))));
    }
    return Variant(String());
  }
  String ScriptLanguage() const override { return Language; }
  void SetSelfValue(TqbxComponent* object) override { Self = object; }
  void SetLocalValue(const Variant& value) override { Values[u"Value"] = value; }

  std::map<String, Variant> Values;
  std::vector<String> Calls;
  String Language = u"PascalScript";
  TqbxComponent* Self = nullptr;

 private:
  static std::string ToUtf8(StringView s) { return std::string(s.begin(), s.end()); }
};

inline void RegisterViewTestClasses() {
  RegisterReportClasses();
  RegisterClass(TtstView::StaticClass());
  RegisterClass(TtstEvalReport::StaticClass());
}

// Loads `<TtstEvalReport>body</TtstEvalReport>`; the messages go to `errors`.
inline std::unique_ptr<TtstEvalReport> LoadEvalReport(const std::string& body, std::vector<String>* errors = nullptr) {
  RegisterViewTestClasses();
  auto report = std::make_unique<TtstEvalReport>();
  std::istringstream in("<?xml version=\"1.0\" encoding=\"utf-8\"?><TtstEvalReport>" + body + "</TtstEvalReport>");
  report->LoadFromStream(in, errors);
  return report;
}

template <class T>
T& Find(const TqbxComponent& root, const char16_t* name) {
  auto* found = dynamic_cast<T*>(root.FindObject(name));
  if (!found) throw Error(u"missing " + String(name));
  return *found;
}

}  // namespace zavrik::test
