// The published properties of TqbxComponent and its serialization through TqbxXMLSerializer.
#include <sstream>

#include "core/rtti_props.h"
#include "report/model/qbx_component.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {
namespace {

const EnumType& AnchorElements() {
  static const EnumType type{u"fraLeft", u"fraTop", u"fraRight", u"fraBottom"};
  return type;
}

const EnumType& RestrictionElements() {
  static const EnumType type{u"rfDontModify", u"rfDontSize", u"rfDontMove", u"rfDontDelete",
                             u"rfDontEdit", u"rfDontEditInPreview", u"rfDontCopy"};
  return type;
}

}  // namespace

const ClassInfo& TqbxComponent::StaticClass() {
  using C = TqbxComponent;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxComponent", &Object::StaticClass(), nullptr, {
      Prop(u"Name", &C::Name, &C::SetName),
      Prop(u"Tag", &C::Tag, &C::SetTag).Default(0),
  }); });
  return info;
}

PropList TqbxComponent::GeometryProps() {
  using C = TqbxComponent;
  return {
      Prop(u"Left", &C::Left, &C::SetLeft).Stored(&C::IsLeftStored),
      Prop(u"Top", &C::Top, &C::SetTop).Stored(&C::IsTopStored),
      Prop(u"Width", &C::Width, &C::SetWidth).Stored(&C::IsWidthStored),
      Prop(u"Height", &C::Height, &C::SetHeight).Stored(&C::IsHeightStored),
  };
}

PropList TqbxComponent::FontProps() {
  using C = TqbxComponent;
  return {
      Prop(u"Font", &C::Font, &C::SetFont),
      Prop(u"ParentFont", &C::ParentFont, &C::SetParentFont).Default(1).Stored(&C::IsParentFontStored),
  };
}

PropList TqbxComponent::PlacementProps() {
  using C = TqbxComponent;
  return {
      Prop(u"Anchors", &C::Anchors, &C::SetAnchors).SetOf(AnchorElements()).Default(fraLeft | fraTop),
      Prop(u"AllowMirrorMode", &C::AllowMirrorMode, &C::SetAllowMirrorMode).Default(0),
      Prop(u"GroupIndex", &C::GroupIndex, &C::SetGroupIndex).Default(0),
      Prop(u"IndexTag", &C::IndexTag, &C::SetIndexTag).Stored(&C::IsIndexTagStored),
      Prop(u"Restrictions", &C::Restrictions, &C::SetRestrictions).SetOf(RestrictionElements()).Default(0),
      Prop(u"Visible", &C::Visible, &C::SetVisible).Default(1),
  };
}

void TqbxComponent::LoadFromStream(std::istream& stream, std::vector<String>* errors) {
  Clear();
  TqbxXMLSerializer serializer(Report() ? Report() : this);
  serializer.ReadRootComponent(*this, stream);
  if (errors) errors->insert(errors->end(), serializer.Errors.Items().begin(), serializer.Errors.Items().end());
}

void TqbxComponent::SaveToStream(std::ostream& stream, bool save_children, bool save_default_values,
                                 bool indented) const {
  TqbxXMLSerializer serializer(Report());
  serializer.SerializeDefaultValues = save_default_values;
  serializer.AutoIndent = indented;
  serializer.WriteRootComponent(*this, save_children, stream);
}

namespace {

// Writes `source` (every stored value, so the copy does not depend on this object's state) and
// reads it into `target`. Names of copied children are looked up among the target's own
// components only, so a copy never takes over objects of the source's tree.
void CopyThroughSerializer(TqbxComponent& target, const TqbxComponent& source, bool with_children) {
  TqbxXMLItem item;
  TqbxXMLSerializer writer(nullptr);
  writer.SerializeDefaultValues = true;
  writer.WriteRootComponent(source, with_children, item);
  if (with_children) target.Clear();
  TqbxXMLSerializer reader(&target);
  reader.ReadRootComponent(target, item);
}

}  // namespace

void TqbxComponent::Assign(const TqbxComponent& source) { CopyThroughSerializer(*this, source, false); }
void TqbxComponent::AssignAll(const TqbxComponent& source) { CopyThroughSerializer(*this, source, true); }

}  // namespace zavrik
