// The run as scripts see it: `Engine` (the run state and the operations a script may call while
// the report runs), `PreviewPages` and `Outline`.
#include "core/error.h"
#include "core/variant_convert.h"
#include "report/model/qbx_component.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_post_processor.h"
#include "report/model/qbx_preview_pages.h"
#include "report/binding/qbx_script_args.h"
#include "report/binding/qbx_script_classes.h"
#include "script/qs_iclass.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {

namespace {

template <class T>
T& InstanceOf(Object* instance) {
  auto* object = dynamic_cast<T*>(instance);
  if (!object) throw Error(u"Invalid object");
  return *object;
}

TqbxComponent* ComponentArgument(const std::vector<Variant>& p) {
  if (p.empty() || p[0].Kind() != VarKind::Object) return nullptr;
  return dynamic_cast<TqbxComponent*>(p[0].ObjectValue());
}

void AddEngineMembers(TqsScript& script) {
  TqsClassVariable* engine = script.AddClass(TqbxCustomEngine::StaticClass(), u"TPersistent");
  const auto call = [](Object* instance, const ClassInfo*, const String& name,
                       std::vector<Variant>& p) -> Variant {
    TqbxCustomEngine& e = InstanceOf<TqbxCustomEngine>(instance);
    if (name == u"NEWPAGE")
      e.NewPage();
    else if (name == u"NEWCOLUMN")
      e.NewColumn();
    else if (name == u"SHOWBAND")
      e.ShowBandObject(ComponentArgument(p));
    else if (name == u"SHOWBANDBYNAME")
      e.ShowBandByName(TextArgument(p));
    else if (name == u"STOPREPORT")
      e.StopReport();
    else if (name == u"FREESPACE")
      return Variant(e.FreeSpace());
    else if (name == u"ADDANCHOR")
      e.AddAnchor(TextArgument(p));
    else if (name == u"GETANCHORPAGE")
      return Variant(int32_t{e.GetAnchorPage(TextArgument(p))});
    else if (name == u"PROCESSOBJECT")
      e.ProcessObject(ComponentArgument(p));
    else if (name == u"GETPOSTPROCESSOR")
      return ObjectOrNil(e.PostProcessorOfPages());
    return Variant();
  };
  for (const char16_t* syntax :
       {u"procedure NewPage", u"procedure NewColumn", u"procedure ShowBand(Band: TqbxBand)",
        u"procedure ShowBandByName(const BandName: String)", u"procedure StopReport",
        u"function FreeSpace: Extended", u"procedure AddAnchor(const Text: String)",
        u"function GetAnchorPage(const Text: String): Integer",
        u"procedure ProcessObject(ReportObject: TqbxView)",
        u"function GetPostProcessor: TqbxPostProcessor"})
    engine->AddMethod(syntax, call);
  script.AddClass(qsNamedClass(u"TqbxEngine", &TqbxCustomEngine::StaticClass()), u"TqbxCustomEngine");
}

void AddPostProcessorMembers(TqsScript& script) {
  TqsClassVariable* processor = script.AddClass(TqbxPostProcessor::StaticClass(), u"TPersistent");
  if (!processor) return;
  processor->AddMethod(
      u"function GetMacroList(const MacroName: String): String",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        String text;
        for (const String& value : InstanceOf<TqbxPostProcessor>(instance).GetMacroList(TextArgument(p)))
          text += value + u"\r\n";
        return Variant(text);
      });
  processor->AddMethod(
      u"procedure ResetDuplicates(const BandName: String = '')",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        InstanceOf<TqbxPostProcessor>(instance).ResetDuplicates(TextArgument(p));
        return Variant();
      });
}

void AddPreviewPagesMembers(TqsScript& script) {
  TqsClassVariable* pages = script.AddClass(TqbxCustomPreviewPages::StaticClass(), u"TPersistent");
  pages->AddProperty(u"Count", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
    return Variant(int32_t{InstanceOf<TqbxCustomPreviewPages>(instance).Count()});
  });
  pages->AddProperty(
      u"CurPage", u"Integer",
      [](Object* instance, const ClassInfo*, const String&) {
        return Variant(int32_t{InstanceOf<TqbxCustomPreviewPages>(instance).CurPage});
      },
      [](Object* instance, const ClassInfo*, const String&, const Variant& value) {
        TqbxCustomPreviewPages& p = InstanceOf<TqbxCustomPreviewPages>(instance);
        const int page = VarToInteger(value);
        if (page < 0 || page >= p.Count()) throw Error(u"Page index out of range");
        p.CurPage = page;
      });
  pages->AddIndexProperty(
      u"Page", u"Integer", u"TqbxReportPage",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) -> Variant {
        TqbxCustomPreviewPages& pages = InstanceOf<TqbxCustomPreviewPages>(instance);
        const int index = p.empty() ? -1 : VarToInteger(p[0]);
        if (index < 0 || index >= pages.Count()) throw Error(u"Page index out of range");
        return Variant(static_cast<Object*>(pages.GetPage(index)));
      },
      true);
  pages->AddMethod(u"procedure ModifyObject(Component: TqbxComponent)",
                   [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
                     TqbxComponent* object = ComponentArgument(p);
                     if (!object) throw Error(u"Component expected");
                     InstanceOf<TqbxCustomPreviewPages>(instance).ModifyObject(*object);
                     return Variant();
                   });
  script.AddClass(qsNamedClass(u"TqbxPreviewPages", &TqbxCustomPreviewPages::StaticClass()),
                  u"TqbxCustomPreviewPages");
}

void AddOutlineMembers(TqsScript& script) {
  TqsClassVariable* outline = script.AddClass(TqbxCustomOutline::StaticClass(), u"TPersistent");
  const auto call = [](Object* instance, const ClassInfo*, const String& name,
                       std::vector<Variant>& p) -> Variant {
    TqbxCustomOutline& o = InstanceOf<TqbxCustomOutline>(instance);
    if (name == u"ADDITEM")
      o.AddItem(TextArgument(p), 0);
    else if (name == u"LEVELROOT")
      o.LevelRoot();
    else if (name == u"LEVELUP")
      o.LevelUp();
    return Variant();
  };
  for (const char16_t* syntax :
       {u"procedure AddItem(const Text: String)", u"procedure LevelRoot", u"procedure LevelUp"})
    outline->AddMethod(syntax, call);
  script.AddClass(qsNamedClass(u"TqbxOutline", &TqbxCustomOutline::StaticClass()), u"TqbxCustomOutline");
}

}  // namespace

void AddRunScriptClasses(TqsScript& script) {
  AddEngineMembers(script);
  AddPostProcessorMembers(script);
  AddPreviewPagesMembers(script);
  AddOutlineMembers(script);
}

}  // namespace zavrik
