#include "report/binding/qbx_script_classes.h"

#include "core/datetime.h"
#include "core/error.h"
#include "core/rtti.h"
#include "core/variant_convert.h"
#include "report/model/qbx_component.h"
#include "report/model/qbx_data_field.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"
#include "report/binding/qbx_report_script.h"
#include "report/binding/qbx_script_args.h"
#include "report/model/views/qbx_view.h"
#include "script/qs_iclass.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {

namespace {

void AddConstants(TqsScript& script) {
  const struct {
    const char16_t* name;
    double value;
  } extended[] = {{u"qb01cm", 3.77953}, {u"qb1cm", 37.7953}, {u"qb01in", 9.6},
                  {u"qb1in", 96},       {u"qb1CharX", 9.6},  {u"qb1CharY", 17}};
  for (const auto& c : extended) script.AddConst(c.name, u"Extended", Variant(c.value));
  const struct {
    const char16_t* name;
    int32_t value;
  } integer[] = {
      {u"clTransparent", 536870911}, {u"crHand", 150}, {u"crZoom", 151}, {u"crFormat", 152}};
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
  report->AddMethod(
      u"function Calc(const Expr: String): Variant",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        return ReportOf(instance).ScriptCalc(p.empty() ? String() : VarToString(p[0]));
      });
  report->AddMethod(u"function GetDataset(const Alias: String): TqbxDataSet",
                    [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
                      TqbxReportComponent* data_set =
                          ReportOf(instance).GetDataset(p.empty() ? String() : VarToString(p[0]));
                      return data_set ? Variant(static_cast<Object*>(data_set))
                                      : Variant(int32_t{0});
                    });
  report->AddProperty(u"Variables", u"TqbxVariables",
                      [](Object* instance, const ClassInfo*, const String&) {
                        return Variant(static_cast<Object*>(&ReportOf(instance).Variables()));
                      });
  // Setting Terminated also stops the running script.
  report->AddProperty(
      u"Terminated", u"Boolean",
      [](Object* instance, const ClassInfo*, const String&) {
        return Variant(ReportOf(instance).Terminated);
      },
      [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        TqbxReport& r = ReportOf(instance);
        r.Terminated = VarToBoolean(value);
        if (r.Terminated) ReportScriptOf(r).Script().Terminate();
      });
}

TqbxComponent& ComponentOf(Object* instance) {
  auto* component = dynamic_cast<TqbxComponent*>(instance);
  if (!component) throw Error(u"Component expected");
  return *component;
}

TqbxScriptDataSource& DataSourceOf(Object* instance) {
  auto* source = dynamic_cast<TqbxScriptDataSource*>(instance);
  if (!source) throw Error(u"Data set expected");
  return *source;
}

// The members of the data sources (their class comes from the data library, by name).
void AddDataSetMembers(TqsScript& script) {
  TqsClassVariable* data_set = script.FindClass(u"TqbxDataSet");
  if (!data_set) return;
  const auto method = [](Object* instance, const ClassInfo*, const String& name,
                         std::vector<Variant>& p) -> Variant {
    TqbxScriptDataSource& source = DataSourceOf(instance);
    const String field = p.empty() ? String() : VarToString(p[0]);
    if (name == u"OPEN")
      source.Open();
    else if (name == u"CLOSE")
      source.Close();
    else if (name == u"FIRST")
      source.First();
    else if (name == u"NEXT")
      source.Next();
    else if (name == u"PRIOR")
      source.Prior();
    else if (name == u"EOF")
      return Variant(source.Eof());
    else if (name == u"FIELDSCOUNT")
      return Variant(int32_t{source.FieldsCount()});
    else if (name == u"RECORDCOUNT")
      return Variant(int32_t{source.RecordCount()});
    else if (name == u"HASFIELD")
      return Variant(source.HasField(field));
    else if (name == u"VALUE.GET")
      return source.Value(field);
    else if (name == u"DISPLAYTEXT.GET")
      return Variant(source.DisplayText(field));
    return Variant();
  };
  for (const char16_t* syntax :
       {u"procedure Open", u"procedure Close", u"procedure First", u"procedure Next",
        u"procedure Prior", u"function Eof: Boolean", u"function FieldsCount: Integer",
        u"function RecordCount: Integer", u"function HasField(const fName: String): Boolean"}) {
    data_set->AddMethod(syntax, method);
  }
  data_set->AddIndexProperty(u"Value", u"String", u"Variant", method, true);
  data_set->AddIndexProperty(u"DisplayText", u"String", u"String", method, true);
}

// TqbxVariables: the default indexed property Variables[Name].
void AddVariablesClass(TqsScript& script) {
  TqsClassVariable* variables = script.AddClass(TqbxVariables::StaticClass(), u"TPersistent");
  if (!variables) return;
  variables->AddDefaultProperty(
      u"Variables", u"String", u"Variant",
      [](Object* instance, const ClassInfo*, const String& name, std::vector<Variant>& p) {
        auto* list = dynamic_cast<TqbxVariables*>(instance);
        if (!list || p.empty()) throw Error(u"Variables expected");
        if (name == u"VARIABLES.SET") {
          list->Set(VarToString(p[0]), p.size() > 1 ? p[1] : Variant());
          return Variant();
        }
        return list->Get(VarToString(p[0]));
      });
}

void AddComponentMembers(TqsScript& script) {
  TqsClassVariable* component = script.FindClass(TqbxComponent::StaticClass().Name());
  if (!component) return;
  component->AddMethod(
      u"function FindObject(const s: String): TqbxComponent",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        return ObjectOrNil(
            ComponentOf(instance).FindObject(p.empty() ? String() : VarToString(p[0])));
      });
  component->AddMethod(
      u"procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        TqbxComponent& c = ComponentOf(instance);
        if (p.size() < 4) throw Error(u"Not enough actual parameters");
        c.SetLeft(VarToDouble(p[0]));
        c.SetTop(VarToDouble(p[1]));
        c.SetWidth(VarToDouble(p[2]));
        c.SetHeight(VarToDouble(p[3]));
        return Variant();
      });
  component->AddProperty(
      u"Parent", u"TqbxComponent",
      [](Object* instance, const ClassInfo*, const String&) {
        return ObjectOrNil(ComponentOf(instance).Parent());
      },
      [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        auto* parent = value.Kind() == VarKind::Object
                           ? dynamic_cast<TqbxComponent*>(value.ObjectValue())
                           : nullptr;
        ComponentOf(instance).SetParent(parent);
      });
  component->AddProperty(u"Page", u"TqbxPage",
                         [](Object* instance, const ClassInfo*, const String&) {
                           return ObjectOrNil(ComponentOf(instance).Page());
                         });
  component->AddProperty(u"AbsLeft", u"Extended",
                         [](Object* instance, const ClassInfo*, const String&) {
                           return Variant(ComponentOf(instance).AbsLeft());
                         });
  component->AddProperty(u"AbsTop", u"Extended",
                         [](Object* instance, const ClassInfo*, const String&) {
                           return Variant(ComponentOf(instance).AbsTop());
                         });
}

// TagStr of views, CalcHeight of stretching views, AlignChildren of bands and pages.
void AddViewMembers(TqsScript& script) {
  if (TqsClassVariable* view = script.FindClass(TqbxView::StaticClass().Name())) {
    view->AddProperty(
        u"TagStr", u"String",
        [](Object* instance, const ClassInfo*, const String&) {
          return Variant(ScriptSelf<TqbxView>(instance).TagStr());
        },
        [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
          ScriptSelf<TqbxView>(instance).SetTagStr(VarToString(value));
        });
  }
  if (TqsClassVariable* stretcheable = script.FindClass(TqbxStretcheable::StaticClass().Name())) {
    stretcheable->AddMethod(
        u"function CalcHeight: Extended",
        [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>&) {
          return Variant(ScriptSelf<TqbxStretcheable>(instance).CalcHeight());
        });
  }
  for (const char16_t* name : {u"TqbxBand", u"TqbxReportPage"}) {
    TqsClassVariable* container = script.FindClass(name);
    if (!container) continue;
    container->AddMethod(u"procedure AlignChildren", [](Object* instance, const ClassInfo*,
                                                        const String&, std::vector<Variant>&) {
      ComponentOf(instance).AlignChildren(false, 0);
      return Variant();
    });
  }
}

void AddMemoMembers(TqsScript& script) {
  TqsClassVariable* memo = script.FindClass(TqbxCustomMemoView::StaticClass().Name());
  if (!memo) return;
  const auto memo_of = [](Object* instance) -> TqbxCustomMemoView& {
    auto* m = dynamic_cast<TqbxCustomMemoView*>(instance);
    if (!m) throw Error(u"Memo expected");
    return *m;
  };
  memo->AddProperty(
      u"Text", u"String",
      [memo_of](Object* instance, const ClassInfo*, const String&) {
        return Variant(memo_of(instance).MemoText());
      },
      [memo_of](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        memo_of(instance).SetMemoText(VarToString(value));
      });
  memo->AddProperty(
      u"Value", u"Variant",
      [memo_of](Object* instance, const ClassInfo*, const String&) {
        return memo_of(instance).Value;
      },
      [memo_of](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        memo_of(instance).Value = value;
      });
  memo->AddMethod(u"function CalcWidth: Extended", [memo_of](Object* instance, const ClassInfo*,
                                                             const String&, std::vector<Variant>&) {
    return Variant(memo_of(instance).CalcWidth());
  });
}

// Enumeration and set elements of the published properties, as integer constants (set elements
// as their bits), so that scripts can assign them.
void AddEnumerationElements(TqsScript& script, const ClassInfo& info) {
  for (const PropInfo* prop : info.Props()) {
    if (!prop->enum_type || prop->enum_type == &BooleanType()) continue;
    const bool is_set = prop->kind == TypeKind::Set;
    for (int i = 0; i < prop->enum_type->Count() && i < 31; ++i) {
      const String name = prop->enum_type->Name(i);
      if (!name.empty()) script.AddConst(name, u"Integer", Variant(int32_t{is_set ? 1 << i : i}));
    }
  }
}

// DayOf, MonthOf, YearOf.
void AddDateFunctions(TqsScript& script) {
  const auto part = [](Object*, const ClassInfo*, const String& name, std::vector<Variant>& p) {
    const DateParts date = DecodeDate(p.empty() ? 0 : VarToDate(p[0]));
    return Variant(int32_t{name == u"DAYOF"     ? date.day
                           : name == u"MONTHOF" ? date.month
                                                : date.year});
  };
  for (const char16_t* name : {u"DayOf", u"MonthOf", u"YearOf"})
    script.AddMethod(u"function " + String(name) + u"(Date: TDateTime): Integer", part, u"ctDate");
}

}  // namespace

// A class known in an outer scope by name only (such as TFont) gets its members here.
TqsClassVariable* AddScriptClassChain(TqsScript& script, const ClassInfo& info) {
  TqsClassVariable* known = script.FindClass(info.Name());
  const bool named_only = known && known->FMembers.empty() && !info.Props().empty();
  if (known && (known->FClassRef == &info || known->FProgram == &script || !named_only))
    return known;
  String ancestor = u"TPersistent";
  if (&info == &TqbxComponent::StaticClass())
    ancestor = u"TComponent";
  else if (const ClassInfo* parent = info.Parent(); parent && parent != &Object::StaticClass())
    ancestor = AddScriptClassChain(script, *parent) ? parent->Name() : ancestor;
  return script.AddClass(info, ancestor);
}

void AddReportScriptClasses(TqsScript& script) {
  AddScriptClassChain(script, TqbxComponent::StaticClass());
  AddScriptClassChain(script, TqbxReport::StaticClass());
  for (const ClassInfo* info : RegisteredClasses()) {
    if (info->InheritsFrom(TqbxComponent::StaticClass())) AddScriptClassChain(script, *info);
  }
  AddReportScriptTypes(script);
  for (const ClassInfo* info : RegisteredClasses()) {
    if (info->InheritsFrom(TqbxComponent::StaticClass())) AddEnumerationElements(script, *info);
  }
  AddVariablesClass(script);
  AddDataSetMembers(script);
  AddReportMembers(script);
  AddComponentMembers(script);
  AddViewMembers(script);
  AddMemoMembers(script);
  AddReportScriptMembers(script);
  AddRunScriptClasses(script);
  AddConstants(script);
  AddDateFunctions(script);
  script.AddObject(u"qbxGlobalVariables", &qbxGlobalVariables());
}

}  // namespace zavrik
