// Run-time type information for report objects, their sub-objects and the host objects of scripts:
// a class has a name, a parent, a factory and its published properties in declaration order. The
// serializer, the script engine, copying and the prepared pages' difference texts all read it.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/ustring.h"
#include "core/variant.h"

namespace zavrik {

class ClassInfo;

// Base of every reflected object.
class Object {
 public:
  virtual ~Object() = default;
  static const ClassInfo& StaticClass();
  virtual const ClassInfo& ClassType() const { return StaticClass(); }
};

enum class TypeKind : uint8_t {
  Integer,
  Char,
  WChar,
  Enumeration,  // booleans included
  Set,          // a bit mask: bit n for the n-th element
  Float,
  String,
  Class,  // an owned sub-object or a reference to a component
  Variant,
};

// The element names of an enumeration, or the elements of a set.
class EnumType {
 public:
  EnumType(std::initializer_list<const char16_t*> names);
  int Count() const { return static_cast<int>(names_.size()); }
  // Empty when out of range.
  String Name(int64_t ordinal) const;
  // Case-insensitive; -1 when unknown.
  int Ordinal(StringView name) const;

 private:
  std::vector<String> names_;
};

// False, True.
const EnumType& BooleanType();

// One published property. Values travel as Variants: ordinal kinds (integers, characters,
// enumerations, sets) as Integer, floats as Double, strings as String, classes as an Object
// reference (null for none), variants as themselves.
struct PropInfo {
  String name;
  TypeKind kind = TypeKind::Integer;
  const EnumType* enum_type = nullptr;    // enumerations and sets
  // Classes: the declared class (a function, so that a class may refer to itself).
  const ClassInfo& (*class_type)() = nullptr;
  bool reference = false;                 // classes: a reference, not an owned sub-object
  std::function<Variant(const Object&)> get;
  std::function<void(Object&, const Variant&)> set;  // empty: read-only
  std::optional<int64_t> default_value;              // ordinal kinds: the declared default
  std::function<bool(const Object&)> stored;         // empty: always stored

  bool IsStored(const Object& object) const { return !stored || stored(object); }
  bool IsOrdinal() const {
    return kind == TypeKind::Integer || kind == TypeKind::Char || kind == TypeKind::WChar ||
           kind == TypeKind::Enumeration || kind == TypeKind::Set;
  }

  // Modifiers for the declaration tables.
  PropInfo&& Default(int64_t value) && {
    default_value = value;
    return std::move(*this);
  }
  PropInfo&& Enum(const EnumType& type) && {
    kind = TypeKind::Enumeration;
    enum_type = &type;
    return std::move(*this);
  }
  PropInfo&& SetOf(const EnumType& type) && {
    kind = TypeKind::Set;
    enum_type = &type;
    return std::move(*this);
  }
  PropInfo&& Kind(TypeKind k) && {
    kind = k;
    return std::move(*this);
  }
  PropInfo&& Reference() && {
    reference = true;
    return std::move(*this);
  }
  template <class C>
  PropInfo&& Stored(bool (C::*test)() const) && {
    stored = [test](const Object& o) { return (static_cast<const C&>(o).*test)(); };
    return std::move(*this);
  }
  PropInfo&& NotStored() && {
    stored = [](const Object&) { return false; };
    return std::move(*this);
  }
};

using PropList = std::vector<PropInfo>;

class ClassInfo {
 public:
  using Factory = std::unique_ptr<Object> (*)();

  // `props` are the properties this class publishes, after those of `parent`.
  ClassInfo(String name, const ClassInfo* parent, Factory factory, PropList props);
  ClassInfo(const ClassInfo&) = delete;
  ClassInfo& operator=(const ClassInfo&) = delete;

  const String& Name() const { return name_; }
  const ClassInfo* Parent() const { return parent_; }
  // One comparison: `other` is an ancestor when it stands at its own depth in this lineage.
  bool InheritsFrom(const ClassInfo& other) const {
    const size_t depth = other.lineage_.size();
    return depth <= lineage_.size() && lineage_[depth - 1] == &other;
  }
  // A new instance; none for abstract classes.
  std::unique_ptr<Object> Create() const { return factory_ ? factory_() : nullptr; }
  bool IsCreatable() const { return factory_ != nullptr; }

  // Every published property, the base class's first.
  const std::vector<const PropInfo*>& Props() const { return all_; }
  // Case-insensitive; a class's own property hides a base property of the same name.
  const PropInfo* FindProp(StringView name) const;

 private:
  String name_;
  const ClassInfo* parent_;
  std::vector<const ClassInfo*> lineage_;  // the root class first, this class last
  Factory factory_;
  PropList own_;
  std::vector<const PropInfo*> all_;
  struct NameHash {
    using is_transparent = void;
    size_t operator()(StringView name) const { return std::hash<StringView>{}(name); }
  };
  std::unordered_map<String, const PropInfo*, NameHash, std::equal_to<>> by_upper_name_;
};

// Runs `build` out of line. StaticClass functions run on every class test: a description built
// as `static const ClassInfo info = OutOfLine([&] { return ClassInfo(...); });` leaves every call
// after the first a guard check, without the stack frame the building needs.
template <class Build>
[[gnu::noinline]] auto OutOfLine(Build build) {
  return build();
}

// A factory for the declaration tables: `&New<TqbxMemoView>`.
template <class T>
std::unique_ptr<Object> New() {
  return std::make_unique<T>();
}

// Concatenates property lists (shared groups of published properties and a class's own ones).
PropList JoinProps(std::initializer_list<PropList> lists);

// The process-wide registry of creatable classes, by case-insensitive name.
void RegisterClass(const ClassInfo& info);
const ClassInfo* FindClass(StringView name);
// Every registered class, by name.
std::vector<const ClassInfo*> RegisteredClasses();

}  // namespace zavrik
