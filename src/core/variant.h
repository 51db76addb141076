// The value type shared by the script engine, report variables, data-source fields and expression
// results. Numeric values live inline; strings and arrays are shared payloads behind one pointer,
// so copying a Variant never copies text and numeric Variants never allocate.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

class Object;  // base of host objects a Variant may reference (the reflection layer defines it)

enum class VarKind : uint8_t {
  Empty,
  Null,
  Boolean,
  ShortInt,  // int8
  Byte,      // uint8
  SmallInt,  // int16
  Word,      // uint16
  Integer,   // int32
  LongWord,  // uint32
  Int64,
  UInt64,
  Single,
  Double,
  Currency,  // int64 scaled by 10000
  Date,      // days since 1899-12-30
  String,
  Array,
  Object,
};

// Fixed point with four decimals, stored as value * 10000.
struct Currency {
  int64_t scaled = 0;
  static Currency FromScaled(int64_t v) { return Currency{v}; }
  friend bool operator==(Currency a, Currency b) { return a.scaled == b.scaled; }
};

// Date and time as days since 1899-12-30 (the fraction is the time of day).
struct DateTime {
  double days = 0;
  friend bool operator==(DateTime a, DateTime b) { return a.days == b.days; }
};

class Variant;

// Bounds of one dimension of an array.
struct ArrayBound {
  int low = 0;
  int high = -1;
  int Count() const { return high - low + 1; }
};

// The payload of an Array Variant: elements in row-major order (the last index varies fastest),
// shared between copies.
struct VariantArray {
  std::vector<ArrayBound> bounds;
  std::vector<Variant> items;
  VarKind element_kind = VarKind::Empty;  // the declared element type (Empty: any value)

  // Position of the element at `indices` (one per dimension), or none when out of bounds.
  std::optional<size_t> Offset(std::span<const int> indices) const;
};

class Variant {
 public:
  Variant() = default;  // Empty
  static Variant Null() { return Variant(VarKind::Null); }
  // An array with the given bounds (any number of dimensions), every element the zero value of
  // `element_kind` (Empty for Variant elements). Fails with "Range check error" for bad bounds.
  static Variant CreateArray(std::vector<ArrayBound> bounds, VarKind element_kind = VarKind::Empty);
  // A value of `kind` that is zero, false or the empty string (Empty for kinds without a zero).
  static Variant ZeroOf(VarKind kind);

  Variant(bool v) : kind_(VarKind::Boolean) { u_.b = v; }
  Variant(int8_t v) : kind_(VarKind::ShortInt) { u_.i = v; }
  Variant(uint8_t v) : kind_(VarKind::Byte) { u_.u = v; }
  Variant(int16_t v) : kind_(VarKind::SmallInt) { u_.i = v; }
  Variant(uint16_t v) : kind_(VarKind::Word) { u_.u = v; }
  Variant(int32_t v) : kind_(VarKind::Integer) { u_.i = v; }
  Variant(uint32_t v) : kind_(VarKind::LongWord) { u_.u = v; }
  Variant(int64_t v) : kind_(VarKind::Int64) { u_.i = v; }
  Variant(uint64_t v) : kind_(VarKind::UInt64) { u_.u = v; }
  Variant(long long v) : Variant(static_cast<int64_t>(v)) {}
  Variant(unsigned long long v) : Variant(static_cast<uint64_t>(v)) {}
  Variant(float v) : kind_(VarKind::Single) { u_.f = v; }
  Variant(double v) : kind_(VarKind::Double) { u_.d = v; }
  Variant(Currency v) : kind_(VarKind::Currency) { u_.i = v.scaled; }
  Variant(DateTime v) : kind_(VarKind::Date) { u_.d = v.days; }
  Variant(String v);
  Variant(StringView v) : Variant(String(v)) {}
  Variant(const char16_t* v) : Variant(String(v)) {}
  Variant(std::shared_ptr<VariantArray> array);
  Variant(Object* object) : kind_(VarKind::Object) { u_.obj = object; }

  VarKind Kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == VarKind::Empty; }
  bool IsNull() const { return kind_ == VarKind::Null; }
  bool IsString() const { return kind_ == VarKind::String; }
  bool IsArray() const { return kind_ == VarKind::Array; }

  // Raw payload accessors; each is valid only for the matching kind(s).
  bool BoolValue() const { return u_.b; }
  int64_t SignedValue() const { return u_.i; }    // ShortInt, SmallInt, Integer, Int64, Currency
  uint64_t UnsignedValue() const { return u_.u; }  // Byte, Word, LongWord, UInt64
  float SingleValue() const { return u_.f; }
  double DoubleValue() const { return u_.d; }      // Double, Date
  Currency CurrencyValue() const { return Currency{u_.i}; }
  DateTime DateValue() const { return DateTime{u_.d}; }
  const String& StringValue() const;               // the empty string for other kinds
  std::shared_ptr<VariantArray> ArrayValue() const;  // null for other kinds
  Object* ObjectValue() const { return u_.obj; }

 private:
  explicit Variant(VarKind kind) : kind_(kind) {}

  VarKind kind_ = VarKind::Empty;
  union {
    bool b;
    int64_t i;
    uint64_t u;
    float f;
    double d;
    Object* obj;
  } u_{};
  std::shared_ptr<void> payload_;  // String (immutable) or VariantArray
};

// The name of a kind as conversion errors print it ("Integer", "UnicodeString", ...).
const char16_t* KindName(VarKind kind);

// The system's type code of a value (varEmpty = 0 ... varInt64 = 20, varString = 256, arrays
// varArray | element code); object references travel as integers, so they report varInteger.
int VarTypeCode(const Variant& value);
// The element kind of an array created with type code `code` (the array flag ignored): Empty
// (Variant elements) for varVariant and for codes without a kind of their own.
VarKind ArrayElementKindOfTypeCode(int code);

}  // namespace zavrik
