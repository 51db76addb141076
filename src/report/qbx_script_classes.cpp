#include "report/qbx_script_classes.h"

#include "core/error.h"
#include "core/rtti.h"
#include "core/variant_convert.h"
#include "report/qbx_component.h"
#include "report/qbx_report.h"
#include "report/qbx_report_script.h"
#include "script/qs_iclass.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {

namespace {

// The class and, first, its ancestors; the tree's base derives from TComponent.
TqsClassVariable* AddClassChain(TqsScript& script, const ClassInfo& info) {
  if (TqsClassVariable* known = script.FindClass(info.Name())) return known;
  String ancestor = u"TPersistent";
  if (&info == &TqbxComponent::StaticClass()) ancestor = u"TComponent";
  else if (const ClassInfo* parent = info.Parent()) ancestor = AddClassChain(script, *parent) ? parent->Name() : ancestor;
  return script.AddClass(info, ancestor);
}

void AddConstants(TqsScript& script) {
  const struct {
    const char16_t* name;
    double value;
  } extended[] = {{u"qb01cm", 3.77953}, {u"qb1cm", 37.7953}, {u"qb01in", 9.6},
                  {u"qb1in", 96},       {u"qb1CharX", 9.6},   {u"qb1CharY", 17}};
  for (const auto& c : extended) script.AddConst(c.name, u"Extended", Variant(c.value));
  const struct {
    const char16_t* name;
    int32_t value;
  } integer[] = {{u"clTransparent", 536870911}, {u"crHand", 150}, {u"crZoom", 151}, {u"crFormat", 152}};
  for (const auto& c : integer) script.AddConst(c.name, u"Integer", Variant(c.value));
}

TqbxReport& ReportOf(Object* instance) {
  auto* report = dynamic_cast<TqbxReport*>(instance);
  if (!report) throw Error(u"Report expected");
  return *report;
}

void AddReportMembers(TqsScript& script) {
  TqsClassVariable* report = script.FindClass(TqbxReport::StaticClass().Name());
  if (!report) return;
  report->AddMethod(u"function Calc(const Expr: String): Variant",
                    [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
                      return ReportOf(instance).ScriptCalc(p.empty() ? String() : VarToString(p[0]));
                    });
  report->AddMethod(u"function GetDataset(const Alias: String): TqbxDataSet",
                    [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
                      TqbxReportComponent* data_set =
                          ReportOf(instance).GetDataset(p.empty() ? String() : VarToString(p[0]));
                      return data_set ? Variant(static_cast<Object*>(data_set)) : Variant(int32_t{0});
                    });
  // Setting Terminated also stops the running script.
  report->AddProperty(
      u"Terminated", u"Boolean",
      [](Object* instance, const ClassInfo*, const String&) { return Variant(ReportOf(instance).Terminated); },
      [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        TqbxReport& r = ReportOf(instance);
        r.Terminated = VarToBoolean(value);
        if (r.Terminated) r.ReportScript().Script().Terminate();
      });
}

}  // namespace

void AddReportScriptClasses(TqsScript& script) {
  AddClassChain(script, TqbxComponent::StaticClass());
  AddClassChain(script, TqbxReport::StaticClass());
  for (const ClassInfo* info : RegisteredClasses()) {
    if (info->InheritsFrom(TqbxComponent::StaticClass())) AddClassChain(script, *info);
  }
  AddReportMembers(script);
  AddConstants(script);
}

}  // namespace zavrik
