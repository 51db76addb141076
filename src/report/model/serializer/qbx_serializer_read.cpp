// Reading a template: the element tree into components (iteratively), references after the tree,
// single components from strings.
#include <istream>
#include <memory>

#include "core/number_parse.h"
#include "core/xml_tag_reader.h"
#include "report/model/qbx_application.h"
#include "report/model/qbx_classes.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {
namespace {

const String kClassNotFound = u"Не удалось найти класс";

// The element's `Name`; a value that does not unescape is reported when the attribute is applied.
String NameOf(const TqbxXMLItem& item) {
  try {
    return item.GetProp(u"Name");
  } catch (const Error&) {
    return String();
  }
}

}  // namespace

TqbxXMLSerializer::TqbxXMLSerializer(TqbxComponent* owner) : Owner(owner) { RegisterReportClasses(); }

void TqbxXMLSerializer::ReadRootComponent(TqbxComponent& root, std::istream& stream) {
  TqbxXMLDocument document;
  document.LoadFromStream(stream);
  OldFormat = document.OldVersion;
  ReadRootComponent(root, document.Root());
}

void TqbxXMLSerializer::ReadRootComponent(TqbxComponent& root, TqbxXMLItem& item) {
  if (!Owner) Owner = &root;
  ReadTree(root, item);
  FinishLoading();
}

void TqbxXMLSerializer::FinishLoading() {
  ResolveFixups();
  for (TqbxComponent* component : FLoaded) {
    component->IsLoading = false;
    if (!component->IsReport()) component->Loaded();
  }
  FLoaded.clear();
  FLoadedSet.clear();
}

void TqbxXMLSerializer::ReadTree(TqbxComponent& root, TqbxXMLItem& root_item) {
  struct Frame {
    TqbxXMLItem* item;
    TqbxComponent* object;
    int next_child;
  };
  std::vector<Frame> stack;
  if (TqbxComponent* object = ReadElement(root_item, nullptr, &root)) stack.push_back({&root_item, object, 0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next_child >= top.item->Count()) {
      stack.pop_back();
      continue;
    }
    TqbxXMLItem& child = top.item->Items(top.next_child++);
    TqbxComponent* parent = top.object;
    if (HandleNestedProperties && (parent->ComponentStyle() & csHandlesNestedProperties) &&
        parent->ReadNestedProperty(child, *this)) {
      continue;
    }
    if (TqbxComponent* object = ReadElement(child, parent, nullptr)) stack.push_back({&child, object, 0});
  }
}

// The object of one element (created, reused by name, or the root), with its attributes applied;
// none when the element and its subtree are skipped.
TqbxComponent* TqbxXMLSerializer::ReadElement(TqbxXMLItem& item, TqbxComponent* parent, TqbxComponent* root) {
  // Elements named QbxCustomData belong to a custom-data hook; none is installed.
  if (SameTextAscii(item.Name(), u"QbxCustomData")) return nullptr;
  const bool inherited = SameTextAscii(item.Name(), u"inherited");
  const ClassInfo* info = inherited ? nullptr : FindClass(item.Name());
  // Registered classes that are not components (frames, highlights) cannot be tree nodes.
  if (!inherited && (!info || !info->InheritsFrom(TqbxComponent::StaticClass()))) {
    AddError(kClassNotFound + u" " + item.Name());
    return nullptr;
  }
  TqbxComponent* object = root;
  try {
    if (!object) {
      TqbxComponent* existing = nullptr;
      if (!IgnoreName && Owner) existing = Owner->FindOwnedComponent(NameOf(item));
      if (inherited) {
        // Re-attached at the end of its parent's list.
        if (!existing || !existing->Parent()) return nullptr;
        if (existing->Parent() == parent) {
          parent->AddChild(existing->Detach());
        } else {
          existing->SetParent(parent);
        }
        object = existing;
      } else if (existing) {
        object = existing;
      } else {
        std::unique_ptr<Object> created = info->Create();
        if (!created) {
          AddError(kClassNotFound + u" " + item.Name());
          return nullptr;
        }
        auto component = std::unique_ptr<TqbxComponent>(static_cast<TqbxComponent*>(created.release()));
        object = &parent->AddChild(std::move(component));
      }
    }
  } catch (const Error& e) {
    AddError(e.Message());
    return nullptr;
  }
  object->IsLoading = true;
  XMLToObj(item.Text(), *object);
  if (FLoadedSet.insert(object).second) FLoaded.push_back(object);
  return object;
}

void TqbxXMLSerializer::ResolveFixups() {
  std::vector<TqbxFixup> fixups = std::move(FFixups);
  FFixups.clear();
  for (const TqbxFixup& fixup : fixups) {
    Object* found = Owner ? Owner->FindObject(fixup.Name) : nullptr;
    if (!found) {
      try {
        found = fixup.Name.find(u'.') != String::npos ? FindApplicationObject(fixup.Name)
                                                      : (Owner ? Owner->FindOwnedComponent(fixup.Name) : nullptr);
      } catch (const Error&) {
        throw Error(u"Missing " + fixup.Name);
      }
    }
    // A reference of the wrong class is left empty, as an unknown name is.
    const PropInfo& prop = *fixup.Prop;
    if (!found || !prop.set || !prop.class_type || !found->ClassType().InheritsFrom(prop.class_type())) continue;
    try {
      prop.set(*fixup.Obj, Variant(found));
    } catch (const Error& e) {
      AddError(e.Message());
    }
  }
}

namespace {

// A new component of the class.
std::unique_ptr<TqbxComponent> CreateComponent(const ClassInfo& info) {
  return std::unique_ptr<TqbxComponent>(static_cast<TqbxComponent*>(info.Create().release()));
}

// Splits "Class attributes" into the creatable component class and the attributes.
const ClassInfo& NamedComponentClass(StringView text, StringView& attributes) {
  const size_t space = text.find(u' ');
  const StringView class_name = text.substr(0, space);
  attributes = space == StringView::npos ? StringView() : text.substr(space + 1);
  const ClassInfo* info = FindClass(class_name);
  if (!info || !info->InheritsFrom(TqbxComponent::StaticClass()) || !info->IsCreatable())
    throw Error(kClassNotFound + u" " + String(class_name));
  return *info;
}

// Splits "Class attributes" and creates the component of that class, without parent.
std::unique_ptr<TqbxComponent> CreateNamedComponent(StringView text, StringView& attributes) {
  return CreateComponent(NamedComponentClass(text, attributes));
}

}  // namespace

TqbxComponent* TqbxXMLSerializer::ReadComponentStr(TqbxComponent& root, StringView text, bool dont_fixup) {
  StringView attributes;
  std::unique_ptr<TqbxComponent> created = CreateNamedComponent(text, attributes);
  if (!Owner) Owner = &root;
  TqbxComponent& component = root.AddChild(std::move(created));
  XMLToObj(attributes, component);
  if (!dont_fixup) ResolveFixups();
  return &component;
}

std::unique_ptr<TqbxComponent> TqbxXMLSerializer::ReadDetachedComponentStr(StringView text) {
  StringView attributes;
  std::unique_ptr<TqbxComponent> component = CreateNamedComponent(text, attributes);
  XMLToObj(attributes, *component);
  return component;
}

TqbxCompiledComponent TqbxXMLSerializer::CompileComponentStr(StringView text) {
  StringView attributes;
  TqbxCompiledComponent compiled;
  compiled.Class = &NamedComponentClass(text, attributes);
  const std::unique_ptr<TqbxComponent> scratch = CreateComponent(*compiled.Class);
  // The scratch component's references go with it.
  const auto drop_fixups = [this, fixups = FFixups.size()] {
    FFixups.erase(FFixups.begin() + static_cast<std::ptrdiff_t>(fixups), FFixups.end());
  };
  try {
    ReadAttributes(attributes, *scratch, compiled.Attributes.FFonts, &compiled.Attributes.FEntries);
  } catch (...) {
    drop_fixups();
    throw;
  }
  drop_fixups();
  return compiled;
}

std::unique_ptr<TqbxComponent> TqbxXMLSerializer::ReadDetachedComponent(const TqbxCompiledComponent& base,
                                                                        StringView attributes) {
  std::unique_ptr<TqbxComponent> component = CreateComponent(*base.Class);
  ApplyCompiled(base.Attributes, *component);
  FontAttributes fonts = base.Attributes.FFonts;
  ReadAttributes(attributes, *component, fonts, nullptr);
  FinishAttributes(fonts, *component);
  return component;
}

TqbxComponent* TqbxXMLSerializer::ReadComponent(TqbxComponent& root, std::istream& stream) {
  std::string name, attributes;
  {
    XmlTagReader reader(stream);
    reader.ReadTag(name, attributes);
  }
  if (!name.empty() && name.back() == '/') name.pop_back();
  if (!attributes.empty() && attributes.back() == '/') attributes.pop_back();
  return ReadComponentStr(root, XmlNameFromBytes(name, XmlDialect::kTemplate) + u" " + Utf8ToString(attributes));
}

void TqbxXMLSerializer::ReadPersistentStr(TqbxComponent& root, Object& object, StringView text) {
  if (!Owner) Owner = &root;
  XMLToObj(text, object);
  ResolveFixups();
}

void TqbxXMLSerializer::ReadCollection(const TqbxXMLItem& element, const std::function<Object&()>& add_item,
                                       const std::function<void(Object&, int32_t)>& set_uin) {
  for (int i = 0; i < element.Count(); ++i) {
    const TqbxXMLItem& child = element.Items(i);
    Object& item = add_item();
    XMLToObj(child.Text(), item);
    if (set_uin && child.PropExists(u"uin")) {
      try {
        set_uin(item, StrToInt(child.GetProp(u"uin")));
      } catch (const Error& e) {
        AddError(e.Message());
      }
    }
  }
}

}  // namespace zavrik
