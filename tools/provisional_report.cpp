#include "provisional_report.h"

#include "core/rtti_props.h"

namespace zavrik::tool {

const ClassInfo& ProvisionalReport::StaticClass() {
  using C = ProvisionalReport;
  static const ClassInfo info(u"TqbxReport", &TqbxComponent::StaticClass(), &New<ProvisionalReport>, {
      Prop(u"Version", &C::Version, &C::SetVersion),
      Prop(u"ScriptLanguage", &C::ScriptLanguage, &C::SetScriptLanguage),
      Prop(u"ScriptText", &C::ScriptText),
  });
  return info;
}

bool ProvisionalReport::ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer&) {
  for (const char16_t* name : {u"Datasets", u"Variables", u"Styles"}) {
    if (SameTextAscii(item.Name(), name)) {
      FNested.push_back(item.Clone());
      return true;
    }
  }
  return false;
}

bool ProvisionalReport::WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer&) const {
  for (const auto& nested : FNested) item.AddItem(nested->Clone());
  return !FNested.empty();
}

}  // namespace zavrik::tool
