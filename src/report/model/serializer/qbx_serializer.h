// TqbxXMLSerializer: between the element tree of a template and the tree of report components.
// Each element is one object named by its class; its attributes are the object's published
// properties (nested with dots), converted by their type kinds. Errors of single attributes and
// unknown classes are collected, never raised; references are resolved after the whole tree.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <unordered_set>
#include <vector>

#include "core/rtti.h"
#include "report/model/qbx_component.h"
#include "report/model/qbx_error_list.h"
#include "report/document/qbx_prop_stream.h"
#include "report/document/qbx_xml_item.h"

namespace zavrik {

class TqbxXMLSerializer;

// A float as templates write it: the shortest general form, up to 15 significant digits, ".".
String FloatText(double value);

// Objects whose `Text` (and the compact `x` and `u`) attributes carry a memo text.
class TqbxMemoText {
 public:
  virtual ~TqbxMemoText() = default;
  virtual String MemoText() const = 0;
  virtual void SetMemoText(const String& text) = 0;
};

// Objects with data kept outside their published properties, written as `PropData`.
class TqbxDefinedProperties {
 public:
  virtual ~TqbxDefinedProperties() = default;
  // Reads the value of the data property `name`; false when it is not one of them.
  virtual bool ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) = 0;
  virtual void WriteDefinedProperties(TqbxPropWriter& writer) const = 0;
};

// A reference waiting for the whole tree: `Prop` of `Obj` is to be set to the object named `Name`.
struct TqbxFixup {
  Object* Obj;
  const PropInfo* Prop;
  String Name;
};

// An attribute text resolved once: per attribute, the sub-object path, what it sets and the value
// already converted. Applying it to a new object of the class it was compiled on gives what
// reading the text would, without parsing. Compiled with one serializer's settings (OldFormat,
// IgnoreName).
class TqbxCompiledAttributes {
 private:
  friend class TqbxXMLSerializer;
  enum class Op : uint8_t { None, Left, Top, Width, Height, MemoText, StringsText, PropData, Property, Reference, Error };
  struct Entry {
    std::vector<const PropInfo*> Path;  // owned sub-objects from the object to the target
    Op Action = Op::None;
    const PropInfo* Prop = nullptr;
    Variant Value;  // the converted value; the message for Error
  };
  // Font.* attributes seen, ParentFont seen: together they decide whether the font is the object's own.
  struct FontAttributes {
    bool Own = false;
    bool Parent = false;
  };
  std::vector<Entry> FEntries;
  FontAttributes FFonts;
};

// "Class attributes" compiled once, for creating many components from it.
struct TqbxCompiledComponent {
  const ClassInfo* Class = nullptr;
  TqbxCompiledAttributes Attributes;
};

class TqbxXMLSerializer {
 public:
  explicit TqbxXMLSerializer(TqbxComponent* owner = nullptr);

  // Reads a template from `stream` (or the given element) into `root` and its subtree, resolves
  // references and finishes loading. "Invalid file format" and other document errors are raised.
  void ReadRootComponent(TqbxComponent& root, std::istream& stream);
  void ReadRootComponent(TqbxComponent& root, TqbxXMLItem& item);
  // Builds the element of `root` (with its subtree when `save_children`) into `item`, or writes an
  // auto-indented document to `stream`.
  void WriteRootComponent(const TqbxComponent& root, bool save_children, TqbxXMLItem& item);
  void WriteRootComponent(const TqbxComponent& root, bool save_children, std::ostream& stream);

  // One element without children: `<Class attributes/>` on a stream, or "Class attributes".
  TqbxComponent* ReadComponent(TqbxComponent& root, std::istream& stream);
  void WriteComponent(const TqbxComponent& component, std::ostream& stream);
  TqbxComponent* ReadComponentStr(TqbxComponent& root, StringView text, bool dont_fixup = false);
  String WriteComponentStr(const TqbxComponent& component);
  // "Class attributes" read into a new component without parent; references stay unresolved.
  std::unique_ptr<TqbxComponent> ReadDetachedComponentStr(StringView text);
  // "Class attributes" resolved on a scratch component of the class; unknown classes raise.
  TqbxCompiledComponent CompileComponentStr(StringView text);
  // A new component without parent: `base` applied, then the attribute text `attributes` (a Font.*
  // attribute without ParentFont in either gives it its own font). References stay unresolved.
  std::unique_ptr<TqbxComponent> ReadDetachedComponent(const TqbxCompiledComponent& base, StringView attributes);
  // Applies attribute text to any object and resolves its references against `root`.
  void ReadPersistentStr(TqbxComponent& root, Object& object, StringView text);

  void XMLToObj(StringView text, Object& object);
  String ObjToXML(const Object& object, StringView prefix = {});

  // Nested elements taken by objects with csHandlesNestedProperties: one `item` child per
  // collection item; `uin`, when present, goes to `set_uin`.
  void ReadCollection(const TqbxXMLItem& element, const std::function<Object&()>& add_item,
                      const std::function<void(Object&, int32_t)>& set_uin = {});
  void WriteCollection(TqbxXMLItem& parent, StringView name, const std::vector<const Object*>& items);
  // A defined data property holding collection items: a vaList of attribute texts, or a
  // vaCollection of items in stream form.
  void ReadCollectionData(TqbxPropReader& reader, const std::function<Object&()>& add_item);
  // Sets a published property from the next value of a property stream.
  void SetPropFromStream(Object& object, const PropInfo& prop, TqbxPropReader& reader);

  void ResolveFixups();
  void CopyFixupList(std::vector<TqbxFixup>& list) const { list.insert(list.end(), FFixups.begin(), FFixups.end()); }
  void AddError(const String& message) { Errors.Add(message); }

  TqbxErrorList Errors;
  TqbxComponent* Owner;
  bool OldFormat = false;
  bool HandleNestedProperties = true;
  bool SerializeDefaultValues = false;
  bool IgnoreName = false;
  bool SaveAncestorOnly = false;
  // Streams get the indented form; the compact one keeps deep trees linear in size.
  bool AutoIndent = true;

 private:
  TqbxComponent* ReadElement(TqbxXMLItem& item, TqbxComponent* parent, TqbxComponent* root);
  void ReadTree(TqbxComponent& root, TqbxXMLItem& root_item);
  void FinishLoading();
  using Entry = TqbxCompiledAttributes::Entry;
  using FontAttributes = TqbxCompiledAttributes::FontAttributes;
  // Reads the text onto the object; appends each resolved attribute to `record` when given.
  void ReadAttributes(StringView text, Object& object, FontAttributes& fonts, std::vector<Entry>* record);
  void ApplyCompiled(const TqbxCompiledAttributes& compiled, Object& object);
  static void FinishAttributes(const FontAttributes& fonts, Object& object);
  // What the attribute `name` sets on `object` (`target` receives the object it applies to; the
  // path to it goes to `path` when given) and its converted value; conversion errors raise.
  Entry ResolveAttribute(Object& object, StringView name, StringView raw, Object*& target,
                         std::vector<const PropInfo*>* path);
  void ApplyEntry(const Entry& entry, Object& target);
  void SetPropValue(Object& object, const PropInfo& prop, const Variant& value);
  void ReadPropData(Object& object, StringView hex);
  String ReferenceName(const Object& referenced) const;
  String ElementText(const TqbxComponent& component, bool is_root);

  std::vector<TqbxFixup> FFixups;
  std::vector<TqbxComponent*> FLoaded;
  std::unordered_set<TqbxComponent*> FLoadedSet;
};

}  // namespace zavrik
