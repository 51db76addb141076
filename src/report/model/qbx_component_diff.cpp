// Difference texts of TqbxComponent: the base geometry, font and general part, and the difference
// over every published property.
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "report/model/qbx_component.h"
#include "report/model/qbx_diff.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {
namespace {

using Attributes = std::vector<std::pair<String, String>>;

// The attributes of a text ` a="1" b="x"` in their order, values still escaped.
Attributes SplitAttributes(StringView text) {
  Attributes list;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t equals = text.find(u"=\"", pos);
    if (equals == StringView::npos) break;
    const size_t close = text.find(u'"', equals + 2);
    if (close == StringView::npos) break;
    String name(Trim(text.substr(pos, equals - pos)));
    list.emplace_back(std::move(name), String(text.substr(equals + 2, close - equals - 2)));
    pos = close + 1;
  }
  return list;
}

// A new object of `component`'s class to compare with, or none for classes that cannot be created.
std::unique_ptr<Object> FreshInstance(const TqbxComponent& component) {
  return component.ClassType().Create();
}

}  // namespace

String TqbxComponent::Diff(const TqbxComponent* other) const {
  std::unique_ptr<Object> fresh;
  if (!other) {
    fresh = FreshInstance(*this);
    other = dynamic_cast<const TqbxComponent*>(fresh.get());
    if (!other) return String();
  }
  String out;
  DiffFloat(out, u"l", FLeft, other->FLeft);
  DiffFloat(out, u"t", FTop, other->FTop);
  DiffFloat(out, u"w", FWidth, other->FWidth);
  DiffFloat(out, u"h", FHeight, other->FHeight);
  DiffBool(out, u"Visible", FVisible, other->FVisible);
  const TqbxFont& font = *FFont;
  const TqbxFont& other_font = *other->FFont;
  DiffString(out, u"Font.Name", font.Name(), other_font.Name());
  DiffInt(out, u"Font.Height", font.Height(), other_font.Height());
  DiffInt(out, u"Font.Color", font.Color(), other_font.Color());
  DiffInt(out, u"Font.Style", font.Style(), other_font.Style());
  DiffInt(out, u"Font.Charset", font.Charset(), other_font.Charset());
  DiffBool(out, u"ParentFont", FParentFont, other->FParentFont);
  DiffInt(out, u"Tag", FTag, other->FTag);
  return out;
}

String TqbxComponent::AllDiff(const TqbxComponent* other) const {
  std::unique_ptr<Object> fresh;
  if (!other) {
    fresh = FreshInstance(*this);
    other = dynamic_cast<const TqbxComponent*>(fresh.get());
  }
  TqbxXMLSerializer serializer;
  if (!other) return serializer.ObjToXML(*this);
  serializer.SerializeDefaultValues = true;
  const Attributes own = SplitAttributes(serializer.ObjToXML(*this));
  std::map<String, String> theirs;
  for (auto& [name, value] : SplitAttributes(serializer.ObjToXML(*other)))
    theirs.emplace(std::move(name), std::move(value));
  String out;
  for (const auto& [name, value] : own) {
    const auto it = theirs.find(name);
    if (it == theirs.end() || it->second != value) DiffAttr(out, name, value);
  }
  return out;
}

}  // namespace zavrik
