// Members that report scripts call beyond the published properties: creating objects on an owner,
// the component tree as lists, streams, geometry, data-set field details, memo lines, pictures
// from files, dialog pages, the report's styles and files, and the fill casts.
#include <sstream>

#include "core/error.h"
#include "core/variant_convert.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_data_field.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_ref.h"
#include "report/model/qbx_report.h"
#include "report/model/qbx_report_options.h"
#include "report/binding/qbx_report_script.h"
#include "report/binding/qbx_script_args.h"
#include "report/binding/qbx_script_classes.h"
#include "script/qs_iclass.h"
#include "script/qs_iclasses.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_ilists.h"
#include "script/qs_istreams.h"

namespace zavrik {

namespace {

TqbxComponent& ComponentSelf(Object* instance) { return ScriptSelf<TqbxComponent>(instance); }

TqbxReport* ReportOf(TqbxComponent& component) {
  return dynamic_cast<TqbxReport*>(component.Report());
}

bool EngineRunning(TqbxComponent& component) {
  TqbxReport* report = ReportOf(component);
  return report && report->Engine && report->Engine->Running;
}

// Objects a script takes out of the report stay alive, marked freed, until the script program is
// destroyed: the engine and other script variables may still point at them.
void HandOverToScript(std::unique_ptr<TqbxComponent> object, TqsScript* program) {
  if (!object) return;
  if (!program) return;  // destroyed with `object`
  Object* raw = object.get();
  program->MainProgram()->AdoptObject(std::move(object));
  program->FreeObject(raw);
}

void RemoveChildren(TqbxComponent& component, TqsScript* program) {
  if (component.IsReport()) throw Error(u"The report cannot be cleared while its script runs");
  while (component.Count() > 0)
    HandOverToScript(component.Child(component.Count() - 1).Detach(), program);
}

// The live list of a component's children (or all descendants), filled on every reading.
Variant ComponentList(TqbxComponent& component, bool all) {
  TqbxReport* report = ReportOf(component);
  if (!report) throw Error(u"The object is not in a report");
  auto& list = static_cast<TqsList&>(ReportScriptOf(*report).HostObject(
      &component, all ? 1 : 0, [] { return std::make_unique<TqsList>(); }));
  list.FItems.clear();
  if (all) {
    for (TqbxComponent* object : component.AllObjects()) list.FItems.emplace_back(object);
  } else {
    for (const auto& child : component.Objects()) list.FItems.emplace_back(child.get());
  }
  return Variant(static_cast<Object*>(&list));
}

void AddComponentMembers(TqsScript& script) {
  TqsClassVariable* component = script.FindClass(TqbxComponent::StaticClass().Name());
  if (!component) return;
  // The new object goes to its owner; objects a run adds to a container go after it printed.
  component->AddConstructor(
      u"constructor Create(AOwner: TComponent = nil)",
      [](Object* instance, const ClassInfo*, const String&, TqsMethodHelper& caller) -> Variant {
        Variant owner_value = caller.ParamCount() > 0 ? caller.Param(0).Value() : Variant();
        auto* owner = owner_value.Kind() == VarKind::Object
                          ? dynamic_cast<TqbxComponent*>(owner_value.ObjectValue())
                          : nullptr;
        auto* created = dynamic_cast<TqbxComponent*>(instance);
        if (!owner || !created || !caller.FProgram) return Variant(instance);
        std::unique_ptr<Object> released = caller.FProgram->ReleaseObject(instance);
        if (!released) return Variant(instance);
        released.release();
        auto* container = dynamic_cast<TqbxReportComponent*>(owner);
        if (container && container->OriginalObjectsCount == -1 && EngineRunning(*owner))
          container->OriginalObjectsCount = owner->Count();
        owner->AddChild(std::unique_ptr<TqbxComponent>(created));
        return Variant(instance);
      });
  component->AddMethod(u"procedure Clear", [](Object* instance, const ClassInfo*, const String&,
                                              TqsMethodHelper& caller) {
    RemoveChildren(ComponentSelf(instance), caller.FProgram);
    return Variant();
  });
  component->AddMethod(
      u"procedure LoadFromStream(Stream: TStream)",
      [](Object* instance, const ClassInfo*, const String&, TqsMethodHelper& caller) {
        TqbxComponent& c = ComponentSelf(instance);
        if (caller.ParamCount() < 1) throw Error(u"Not enough actual parameters");
        std::istringstream in(qsStreamArgument(caller.Param(0).Value()).ReadAll());
        RemoveChildren(c, caller.FProgram);
        c.LoadFromStream(in);
        return Variant();
      });
  component->AddMethod(u"procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
                       [](Object* instance, const ClassInfo*, const String&,
                          std::vector<Variant>& p) {
                         if (p.empty()) throw Error(u"Not enough actual parameters");
                         std::ostringstream out;
                         ComponentSelf(instance).SaveToStream(
                             out, p.size() < 2 || VarToBoolean(p[1]));
                         const std::string bytes = out.str();
                         qsStreamArgument(p[0]).Write(bytes.data(), bytes.size());
                         return Variant();
                       });
  component->AddProperty(u"Objects", u"TList",
                         [](Object* instance, const ClassInfo*, const String&) {
                           return ComponentList(ComponentSelf(instance), false);
                         });
  component->AddProperty(u"AllObjects", u"TList",
                         [](Object* instance, const ClassInfo*, const String&) {
                           return ComponentList(ComponentSelf(instance), true);
                         });
  // Geometry of any component (views publish it themselves; pages and bands through this).
  const auto geometry = [](Object* instance, const ClassInfo*, const String& name) {
    TqbxComponent& c = ComponentSelf(instance);
    return Variant(name == u"LEFT"    ? c.Left()
                   : name == u"TOP"   ? c.Top()
                   : name == u"WIDTH" ? c.Width()
                                      : c.Height());
  };
  const auto set_geometry = [](Object* instance, const ClassInfo*, const String& name,
                               const Variant& value) {
    TqbxComponent& c = ComponentSelf(instance);
    const double v = VarToDouble(value);
    if (name == u"LEFT")
      c.SetLeft(v);
    else if (name == u"TOP")
      c.SetTop(v);
    else if (name == u"WIDTH")
      c.SetWidth(v);
    else
      c.SetHeight(v);
  };
  for (const char16_t* name : {u"Left", u"Top", u"Width", u"Height"})
    component->AddProperty(name, u"Extended", geometry, set_geometry);
}

TqbxScriptDataSource& DataSourceSelf(Object* instance) {
  auto* source = dynamic_cast<TqbxScriptDataSource*>(instance);
  if (!source) throw Error(u"Data set expected");
  return *source;
}

TqsStringList& StringListArgument(const std::vector<Variant>& p) {
  Object* object = p.empty() || p[0].Kind() != VarKind::Object ? nullptr : p[0].ObjectValue();
  auto* list = dynamic_cast<TqsStringList*>(object);
  if (!list) throw Error(u"TStrings expected");
  return *list;
}

void FillStrings(TqsStringList& list, const std::vector<String>& strings) {
  list.Changing();
  list.FStrings.clear();
  list.FObjects.clear();
  for (const String& s : strings) list.Add(s);
  list.Changed();
}

void AddDataSetFieldMembers(TqsScript& script) {
  TqsClassVariable* data_set = script.FindClass(u"TqbxDataSet");
  if (!data_set) return;
  data_set->AddProperty(u"RecNo", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
    return Variant(int32_t{DataSourceSelf(instance).RecordNumber()});
  });
  const auto field_member = [](Object* instance, const ClassInfo*, const String& name,
                               std::vector<Variant>& p) -> Variant {
    const String field = TextArgument(p);
    if (name == u"DISPLAYWIDTH.GET")
      return Variant(int32_t{DataSourceSelf(instance).DisplayWidth(field)});
    auto* fields = dynamic_cast<TqbxFieldSource*>(instance);
    if (!fields) throw Error(u"Data set expected");
    if (name == u"ISBLOBFIELD") return Variant(fields->IsBlobField(field));
    return Variant(int32_t{fields->FieldTypeCode(field)});  // FIELDTYPE.GET
  };
  data_set->AddMethod(u"function IsBlobField(const fName: String): Boolean", field_member);
  data_set->AddIndexProperty(u"DisplayWidth", u"String", u"Integer", field_member, true);
  data_set->AddIndexProperty(u"FieldType", u"String", u"TqbxFieldType", field_member, true);
  // The content of a BLOB field into a text list, a stream, a memo or a picture.
  data_set->AddMethod(
      u"procedure AssignBlobTo(const fName: String; Obj: TObject)",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        auto* fields = dynamic_cast<TqbxFieldSource*>(instance);
        if (!fields) throw Error(u"Data set expected");
        const String field = TextArgument(p);
        Object* target = p.size() < 2 || p[1].Kind() != VarKind::Object ? nullptr : p[1].ObjectValue();
        if (auto* list = dynamic_cast<TqsStringList*>(target)) {
          list->Changing();
          list->SetText(fields->BlobText(field));
          list->Changed();
        } else if (auto* stream = dynamic_cast<TqsStream*>(target)) {
          const std::string bytes = fields->BlobBytes(field);
          stream->Write(bytes.data(), bytes.size());
        } else if (auto* memo = dynamic_cast<TqbxCustomMemoView*>(target)) {
          memo->SetMemoText(fields->BlobText(field));
        } else if (auto* picture = dynamic_cast<TqbxPictureView*>(target)) {
          const std::string bytes = fields->BlobBytes(field);
          picture->LoadPictureFromStream({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
        } else {
          throw Error(u"AssignBlobTo: a string list, stream, memo or picture expected");
        }
        return Variant();
      });
  data_set->AddMethod(u"procedure GetFieldList(List: TStrings)",
                      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
                        std::vector<String> names;
                        DataSourceSelf(instance).GetFieldList(names);
                        FillStrings(StringListArgument(p), names);
                        return Variant();
                      });
}

// A memo's lines: read from its text on every access, written back on every change.
class TqbxMemoLines : public TqsWideStrings {
 public:
  TqbxRef<TqbxCustomMemoView> Memo;
  void Changed() override {
    if (TqbxCustomMemoView* memo = Memo) memo->SetMemoText(Text());
    TqsWideStrings::Changed();
  }
};

void AddViewExtras(TqsScript& script) {
  if (TqsClassVariable* memo = script.FindClass(TqbxCustomMemoView::StaticClass().Name())) {
    memo->AddProperty(
        u"AnsiText", u"String",
        [](Object* instance, const ClassInfo*, const String&) {
          return Variant(ScriptSelf<TqbxCustomMemoView>(instance).MemoText());
        },
        [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
          ScriptSelf<TqbxCustomMemoView>(instance).SetMemoText(VarToString(value));
        });
    memo->AddProperty(u"Lines", u"TWideStrings",
                      [](Object* instance, const ClassInfo*, const String&) {
                        auto& m = ScriptSelf<TqbxCustomMemoView>(instance);
                        TqbxReport* report = ReportOf(m);
                        if (!report) throw Error(u"The object is not in a report");
                        auto& lines = static_cast<TqbxMemoLines&>(ReportScriptOf(*report).HostObject(
                            &m, 2, [] { return std::make_unique<TqbxMemoLines>(); }));
                        lines.Memo = &m;
                        lines.SetText(m.MemoText());
                        return Variant(static_cast<Object*>(&lines));
                      });
  }
  if (TqsClassVariable* picture = script.FindClass(TqbxPictureView::StaticClass().Name())) {
    picture->AddMethod(u"procedure LoadFromFile(const FileName: String)",
                       [](Object* instance, const ClassInfo*, const String&,
                          std::vector<Variant>& p) {
                         const std::string bytes = qsReadFileBytes(StringToUtf8(TextArgument(p)));
                         ScriptSelf<TqbxPictureView>(instance).LoadPictureFromStream(
                             {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
                         return Variant();
                       });
  }
  if (TqsClassVariable* band = script.FindClass(TqbxBand::StaticClass().Name())) {
    band->AddProperty(u"Overflow", u"Boolean", [](Object* instance, const ClassInfo*, const String&) {
      return Variant(ScriptSelf<TqbxBand>(instance).Overflow);
    });
  }
  // Dialogs cannot be shown by a console program: a dialog page answers as if confirmed.
  if (TqsClassVariable* dialog = script.FindClass(TqbxDialogPage::StaticClass().Name())) {
    const auto confirmed = [](Object* instance, const ClassInfo*, const String&) {
      ScriptSelf<TqbxDialogPage>(instance);
      return Variant(int32_t{1});  // mrOk
    };
    dialog->AddProperty(u"ModalResult", u"Integer", confirmed);
    dialog->AddMethod(u"function ShowModal: Integer",
                      [confirmed](Object* instance, const ClassInfo* c, const String& n,
                                  std::vector<Variant>&) { return confirmed(instance, c, n); });
  }
}

void AddFillCasts(TqsScript& script) {
  TqsClassVariable* fill = script.FindClass(TqbxCustomFill::StaticClass().Name());
  if (!fill) return;
  fill->AddMethod(u"function AsBrushFill: TqbxBrushFill",
                  [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>&) {
                    return ObjectOrNil(dynamic_cast<TqbxBrushFill*>(instance));
                  });
  fill->AddMethod(u"function AsGradientFill: TqbxGradientFill",
                  [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>&) {
                    return ObjectOrNil(dynamic_cast<TqbxGradientFill*>(instance));
                  });
  fill->AddMethod(u"function AsGlassFill: TqbxGlassFill",
                  [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>&) {
                    return ObjectOrNil(dynamic_cast<TqbxGlassFill*>(instance));
                  });
}

// A report is not replaced or shown from its own script: that would destroy the running script.
void AddReportFileMembers(TqsScript& script) {
  TqsClassVariable* report = script.FindClass(TqbxReport::StaticClass().Name());
  if (!report) return;
  report->AddMethod(u"procedure SaveToFile(const FileName: String)",
                    [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
                      std::ostringstream out;
                      ScriptSelf<TqbxReport>(instance).SaveToStream(out);
                      qsWriteFileBytes(StringToUtf8(TextArgument(p)), out.str());
                      return Variant();
                    });
  report->AddMethod(u"procedure LoadFromFile(const FileName: String)",
                    [](Object*, const ClassInfo*, const String&, std::vector<Variant>&) -> Variant {
                      throw Error(u"The report cannot be loaded while its script runs");
                    });
  report->AddMethod(u"procedure ShowReport",
                    [](Object*, const ClassInfo*, const String&, std::vector<Variant>&) -> Variant {
                      throw Error(u"The report cannot be shown while its script runs");
                    });
  report->AddProperty(u"DrillState", u"TStrings",
                      [](Object* instance, const ClassInfo*, const String&) {
                        TqbxReport& r = ScriptSelf<TqbxReport>(instance);
                        auto& list = static_cast<TqsStringList&>(ReportScriptOf(r).HostObject(
                            &r, 3, [] { return std::make_unique<TqsStringList>(); }));
                        list.SetText(u"");  // no group is ever drilled down here
                        return Variant(static_cast<Object*>(&list));
                      });
}

// Forms are never created here, so there is nothing to destroy; the value is kept for scripts.
void AddEngineOptionsMembers(TqsScript& script) {
  TqsClassVariable* options = script.FindClass(TqbxEngineOptions::StaticClass().Name());
  if (!options) return;
  options->AddProperty(
      u"DestroyForms", u"Boolean",
      [](Object* instance, const ClassInfo*, const String&) {
        return Variant(ScriptSelf<TqbxEngineOptions>(instance).DestroyForms);
      },
      [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        ScriptSelf<TqbxEngineOptions>(instance).DestroyForms = VarToBoolean(value);
      });
}

}  // namespace

void AddReportScriptMembers(TqsScript& script) {
  AddEngineOptionsMembers(script);
  AddReportScriptCollections(script);
  AddComponentMembers(script);
  AddDataSetFieldMembers(script);
  AddViewExtras(script);
  AddFillCasts(script);
  AddReportFileMembers(script);
}

}  // namespace zavrik
