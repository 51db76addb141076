// Types that report scripts name: the enumeration and set types of the published properties, the
// font with its styles, the colour names, and the classes that are not components (frames, fills,
// formats, highlights, option records, …) with their published properties.
#include <set>

#include "core/rtti.h"
#include "report/text/named_colors.h"
#include "report/model/qbx_component.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/qbx_report.h"
#include "report/binding/qbx_script_classes.h"
#include "report/model/qbx_variables.h"
#include "script/qs_iclass.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {

namespace {

// A named type: its elements are those of the reflected enumeration whose first element is
// `first`, or the listed `elements` when no property uses the type.
struct NamedEnumType {
  const char16_t* name;
  bool is_set;
  const char16_t* first;
  const char16_t* elements;
};

constexpr NamedEnumType kEnumTypes[] = {
    {u"TqbxStretchMode", false, u"smDontStretch", nullptr},
    {u"TqbxShiftMode", false, u"smDontShift", nullptr},
    {u"TqbxDuplexMode", false, u"dmNone", nullptr},
    {u"TqbxAlign", false, u"baNone", nullptr},
    {u"TqbxFrameStyle", false, u"fsSolid", nullptr},
    {u"TqbxHAlign", false, u"haLeft", nullptr},
    {u"TqbxVAlign", false, u"vaTop", nullptr},
    {u"TqbxShapeKind", false, u"skRectangle", nullptr},
    {u"TqbxZoomMode", false, u"zmDefault", nullptr},
    {u"TqbxPrintPages", false, u"ppAll", nullptr},
    {u"TqbxRangeBegin", false, u"rbFirst", u"rbFirst, rbCurrent"},
    {u"TqbxRangeEnd", false, u"reLast", u"reLast, reCurrent, reCount"},
    {u"TqbxFieldType", false, nullptr, u"fftNumeric, fftString, fftBoolean"},
    {u"TqbxFormatKind", false, u"fkText", nullptr},
    {u"TqbxFillType", false, u"ftBrush", nullptr},
    {u"TqbxPrintMode", false, u"pmDefault", nullptr},
    {u"TqbxUnderlinesTextMode", false, u"ulmNone", nullptr},
    {u"TqbxHyperlinkKind", false, u"hkURL", nullptr},
    {u"TqbxProcessAtMode", false, u"paDefault", nullptr},
    {u"TqbxFrameTypes", true, u"ftLeft", nullptr},
    {u"TqbxAnchors", true, u"fraLeft", nullptr},
    {u"TqbxRestrictions", true, u"rfDontModify", nullptr},
    {u"TqbxPreviewButtons", true, u"pbPrint", nullptr},
    {u"TqbxDMPFontStyles", true, nullptr, u""},
    {u"TqbxVisibilityTypes", true, u"vsPreview", nullptr},
    {u"TFontStyles", true, u"fsBold", nullptr},
};

// The classes reachable from `info` through its owned sub-objects, and every enumeration their
// properties use.
struct Reachable {
  std::vector<const ClassInfo*> sub_objects;
  std::vector<const EnumType*> enums;
  std::set<const void*> seen;

  void Walk(const ClassInfo& info) {
    for (const PropInfo* prop : info.Props()) {
      if (prop->enum_type && seen.insert(prop->enum_type).second) enums.push_back(prop->enum_type);
      if (prop->kind != TypeKind::Class || prop->reference || !prop->class_type) continue;
      const ClassInfo& sub = prop->class_type();
      if (sub.InheritsFrom(TqbxComponent::StaticClass()) || !seen.insert(&sub).second) continue;
      sub_objects.push_back(&sub);
      Walk(sub);
    }
  }

  const EnumType* EnumStartingWith(StringView first) const {
    for (const EnumType* type : enums) {
      if (type->Count() > 0 && type->Name(0) == first) return type;
    }
    return nullptr;
  }
};

String JoinedNames(const EnumType& type) {
  String names;
  for (int i = 0; i < type.Count(); ++i) names += (i ? u", " : u"") + type.Name(i);
  return names;
}

void AddEnumTypes(TqsScript& script, const Reachable& reachable) {
  for (const NamedEnumType& t : kEnumTypes) {
    const EnumType* reflected = t.first ? reachable.EnumStartingWith(t.first) : nullptr;
    const String names = reflected ? JoinedNames(*reflected) : String(t.elements ? t.elements : u"");
    if (script.FindLocal(t.name)) continue;
    if (t.is_set)
      script.AddEnumSet(t.name, names);
    else
      script.AddEnum(t.name, names);
  }
}

void AddColorConstants(TqsScript& script) {
  ForEachNamedColor([&script](StringView name, Color color) {
    script.AddConst(name, u"Integer", Variant(static_cast<int32_t>(color)));
  });
}

}  // namespace

void AddReportScriptTypes(TqsScript& script) {
  Reachable reachable;
  for (const ClassInfo* info : RegisteredClasses()) reachable.Walk(*info);
  for (const ClassInfo* info :
       {&TqbxReport::StaticClass(), &TqbxBrushFill::StaticClass(), &TqbxGradientFill::StaticClass(),
        &TqbxGlassFill::StaticClass(), &TqbxVariable::StaticClass(),
        &TqbxStyleItem::StaticClass()}) {
    if (!info->InheritsFrom(TqbxComponent::StaticClass()) && reachable.seen.insert(info).second)
      reachable.sub_objects.push_back(info);
    reachable.Walk(*info);
  }
  AddEnumTypes(script, reachable);
  for (const ClassInfo* info : reachable.sub_objects) AddScriptClassChain(script, *info);
  AddColorConstants(script);
}

}  // namespace zavrik
