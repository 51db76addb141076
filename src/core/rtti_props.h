// Declaration helpers for property tables: `Prop(u"Left", &C::Left, &C::SetLeft)` deduces the type
// kind and the conversions from the getter's and setter's C++ types.
#pragma once

#include <type_traits>

#include "core/rtti.h"

namespace zavrik {
namespace rtti_detail {

template <class T>
constexpr TypeKind KindOf() {
  if constexpr (std::is_same_v<T, bool> || std::is_enum_v<T>) return TypeKind::Enumeration;
  else if constexpr (std::is_same_v<T, char16_t>) return TypeKind::WChar;
  else if constexpr (std::is_integral_v<T>) return TypeKind::Integer;
  else if constexpr (std::is_floating_point_v<T>) return TypeKind::Float;
  else if constexpr (std::is_same_v<T, String>) return TypeKind::String;
  else if constexpr (std::is_same_v<T, Variant>) return TypeKind::Variant;
  else return TypeKind::Class;
}

template <class T>
Variant ToVariant(const T& value) {
  if constexpr (std::is_same_v<T, bool>) return Variant(static_cast<int32_t>(value ? 1 : 0));
  else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) return Variant(static_cast<int32_t>(value));
  else if constexpr (std::is_floating_point_v<T>) return Variant(static_cast<double>(value));
  else if constexpr (std::is_same_v<T, String> || std::is_same_v<T, Variant>) return Variant(value);
  else return Variant(static_cast<Object*>(const_cast<std::remove_const_t<std::remove_pointer_t<T>>*>(value)));
}

// Ordinals arrive as Integer Variants; booleans take any non-zero ordinal as true.
template <class T>
T FromVariant(const Variant& v) {
  if constexpr (std::is_same_v<T, bool>) return v.SignedValue() != 0;
  else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) return static_cast<T>(v.SignedValue());
  else if constexpr (std::is_floating_point_v<T>) return static_cast<T>(v.DoubleValue());
  else if constexpr (std::is_same_v<T, String>) return v.StringValue();
  else if constexpr (std::is_same_v<T, StringView>) return StringView(v.StringValue());
  else if constexpr (std::is_same_v<T, Variant>) return v;
  else return dynamic_cast<T>(v.Kind() == VarKind::Object ? v.ObjectValue() : nullptr);
}

template <class T>
auto ClassOf() -> const ClassInfo& (*)() {
  if constexpr (KindOf<T>() == TypeKind::Class) return &std::remove_const_t<std::remove_pointer_t<T>>::StaticClass;
  else return nullptr;
}

}  // namespace rtti_detail

// A read-only property.
template <class C, class R>
PropInfo Prop(const char16_t* name, R (C::*get)() const) {
  using T = std::remove_cvref_t<R>;
  PropInfo p;
  p.name = name;
  p.kind = rtti_detail::KindOf<T>();
  if constexpr (std::is_same_v<T, bool>) p.enum_type = &BooleanType();
  p.class_type = rtti_detail::ClassOf<T>();
  p.get = [get](const Object& o) { return rtti_detail::ToVariant<T>((static_cast<const C&>(o).*get)()); };
  return p;
}

// A read-write property; the setter may take its value by value or by const reference.
template <class C, class R, class A>
PropInfo Prop(const char16_t* name, R (C::*get)() const, void (C::*set)(A)) {
  PropInfo p = Prop(name, get);
  using V = std::remove_cvref_t<A>;
  p.set = [set](Object& o, const Variant& v) { (static_cast<C&>(o).*set)(rtti_detail::FromVariant<V>(v)); };
  return p;
}

}  // namespace zavrik

namespace zavrik {

// A property read and written straight from a data member (for plain flags and values without
// side effects): `Field(u"KeepChild", &C::FKeepChild)`.
template <class C, class T>
PropInfo Field(const char16_t* name, T C::*member) {
  PropInfo p;
  p.name = name;
  p.kind = rtti_detail::KindOf<T>();
  if constexpr (std::is_same_v<T, bool>) p.enum_type = &BooleanType();
  p.class_type = rtti_detail::ClassOf<T>();
  p.get = [member](const Object& o) { return rtti_detail::ToVariant<T>(static_cast<const C&>(o).*member); };
  p.set = [member](Object& o, const Variant& v) { static_cast<C&>(o).*member = rtti_detail::FromVariant<T>(v); };
  return p;
}

}  // namespace zavrik
