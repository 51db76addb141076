// Names of TqbxComponent: the identifier check, the name index of the tree's top node, the names
// of the lifetime owner, and generated unique names.
#include "core/case_fold.h"
#include "core/error.h"
#include "report/model/qbx_component.h"

namespace zavrik {
namespace {

bool IsIdentLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }

bool IsValidIdent(StringView name) {
  if (name.empty() || !IsIdentLetter(name[0])) return false;
  for (char16_t c : name) {
    if (!IsIdentLetter(c) && !(c >= u'0' && c <= u'9')) return false;
  }
  return true;
}

String NumberText(int n) {
  String text;
  for (char c : std::to_string(n)) text.push_back(static_cast<char16_t>(c));
  return text;
}

// Removes `key` from the map when it maps to `node`.
void EraseIfMapsTo(TqbxComponent::CaseLessMap& map, const String& key, const TqbxComponent* node) {
  const auto it = map.find(key);
  if (it != map.end() && it->second == node) map.erase(it);
}

}  // namespace

TqbxComponent::CaseLessMap& TqbxComponent::NameIndex() {
  if (!FNameIndex) {
    FNameIndex = std::make_unique<CaseLessMap>();
    IndexSubtree(*this, true);
  }
  return *FNameIndex;
}

void TqbxComponent::IndexSubtree(TqbxComponent& subtree, bool add) {
  std::vector<TqbxComponent*> pending{&subtree};
  while (!pending.empty()) {
    TqbxComponent* node = pending.back();
    pending.pop_back();
    if (!node->FName.empty()) {
      if (add) {
        FNameIndex->try_emplace(UpperCase(node->FName), node);
      } else {
        EraseIfMapsTo(*FNameIndex, UpperCase(node->FName), node);
      }
    }
    for (const auto& child : node->FObjects) pending.push_back(child.get());
  }
}

void TqbxComponent::SetOwner(TqbxComponent* owner) {
  FOwner = owner;
  if (!owner || FName.empty()) return;
  if (!owner->FOwned) owner->FOwned = std::make_unique<CaseLessMap>();
  owner->FOwned->try_emplace(UpperCase(FName), this);
}

TqbxComponent* TqbxComponent::FindOwnedComponent(StringView name) const {
  if (!FOwned || name.empty()) return nullptr;
  const auto it = FOwned->find(UpperCase(name));
  return it == FOwned->end() ? nullptr : it->second;
}

void TqbxComponent::SetName(const String& value) {
  if (SameText(value, FName)) {
    FName = value;  // only the letter case changes
    return;
  }
  if (!value.empty() && !IsValidIdent(value)) throw Error(u"'" + value + u"' is not a valid component name");
  // A node alone in its tree has no name to clash with; its index is built when first needed.
  const bool alone = FTopNode == this && FObjects.empty() && !FNameIndex;
  CaseLessMap* index = alone ? nullptr : &FTopNode->NameIndex();
  if (!value.empty()) {
    if (index) {
      const auto it = index->find(UpperCase(value));
      if (it != index->end() && it->second != this) throw Error(u"prDupl");
    }
    TqbxComponent* same = FOwner ? FOwner->FindOwnedComponent(value) : nullptr;
    if (same && same != this) throw Error(u"A component named " + value + u" already exists");
  }
  if (!FName.empty() && (index || (FOwner && FOwner->FOwned))) {
    const String old_key = UpperCase(FName);
    if (index) EraseIfMapsTo(*index, old_key, this);
    if (FOwner && FOwner->FOwned) EraseIfMapsTo(*FOwner->FOwned, old_key, this);
  }
  FName = value;
  if (!value.empty()) {
    if (index) index->try_emplace(UpperCase(value), this);
    SetOwner(FOwner);
  }
}

const String& TqbxComponent::BaseName() const {
  if (FBaseName.empty()) {
    String name = ClassType().Name();
    if (const size_t at = name.find(u"Tqbx"); at != String::npos) name.erase(at, 4);
    if (const size_t at = name.find(u"View"); at != String::npos) name.erase(at, 4);
    FBaseName = name;
  }
  return FBaseName;
}

void TqbxComponent::CreateUniqueName(TqbxComponent* default_report) {
  CaseLessMap names = default_report ? default_report->TopNode().NameIndex() : FTopNode->NameIndex();
  if (default_report) {
    const CaseLessMap& own = FTopNode->NameIndex();
    names.insert(own.begin(), own.end());
  }
  const String base = UpperCase(BaseName());
  int n = 1;
  if (names.size() >= 4) {
    // The names sorting between BaseName + "0" and BaseName + "A" estimate the numbers in use.
    const auto low = names.upper_bound(base + u"0");
    const auto high = names.lower_bound(base + u"A");
    n = static_cast<int>(std::distance(low, high));
    while (n > 0 && !names.contains(base + NumberText(n))) --n;
    n = std::max(n, 1);  // numbering starts at 1
  }
  while (names.contains(base + NumberText(n))) ++n;
  SetName(BaseName() + NumberText(n));
}

TqbxComponent* TqbxComponent::FindObject(StringView name) const {
  if (name.empty()) {
    for (TqbxComponent* node : AllObjects()) {
      if (node->FName.empty()) return node;
    }
    return nullptr;
  }
  // Names are unique within a tree, so the index gives the one candidate; it must lie below this node.
  CaseLessMap& index = FTopNode->NameIndex();
  const auto it = index.find(UpperCase(name));
  if (it == index.end()) return nullptr;
  // Everything in the index lies below the top node; deep trees make the walk up costly.
  if (this == FTopNode) return it->second == this ? nullptr : it->second;
  for (const TqbxComponent* p = it->second->FParent; p; p = p->FParent) {
    if (p == this) return it->second;
  }
  return nullptr;
}

}  // namespace zavrik
