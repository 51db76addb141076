#include "core/variant.h"

#include "core/error.h"

namespace zavrik {
namespace {

constexpr size_t kMaxArrayItems = size_t(1) << 26;

}  // namespace

std::optional<size_t> VariantArray::Offset(std::span<const int> indices) const {
  if (indices.size() != bounds.size()) return std::nullopt;
  size_t offset = 0;
  for (size_t d = 0; d < bounds.size(); ++d) {
    const ArrayBound& b = bounds[d];
    if (indices[d] < b.low || indices[d] > b.high) return std::nullopt;
    offset = offset * static_cast<size_t>(b.Count()) + static_cast<size_t>(indices[d] - b.low);
  }
  return offset;
}

Variant::Variant(String v) : kind_(VarKind::String), payload_(std::make_shared<String>(std::move(v))) {}

Variant::Variant(std::shared_ptr<VariantArray> array)
    : kind_(VarKind::Array), payload_(std::move(array)) {}

const String& Variant::StringValue() const {
  static const String kEmpty;
  return kind_ == VarKind::String ? *static_cast<const String*>(payload_.get()) : kEmpty;
}

std::shared_ptr<VariantArray> Variant::ArrayValue() const {
  if (kind_ != VarKind::Array) return nullptr;
  return std::static_pointer_cast<VariantArray>(payload_);
}

Variant Variant::CreateArray(std::vector<ArrayBound> bounds, VarKind element_kind) {
  size_t count = 1;
  for (const ArrayBound& b : bounds) {
    const int64_t n = int64_t(b.high) - b.low + 1;
    if (n < 0 || (n > 0 && count > kMaxArrayItems / static_cast<size_t>(n))) {
      throw Error(u"Range check error");
    }
    count *= static_cast<size_t>(n);
  }
  auto array = std::make_shared<VariantArray>();
  array->bounds = std::move(bounds);
  array->element_kind = element_kind;
  array->items.assign(count, ZeroOf(element_kind));
  return Variant(std::move(array));
}

Variant Variant::ZeroOf(VarKind kind) {
  switch (kind) {
    case VarKind::Boolean: return Variant(false);
    case VarKind::ShortInt: return Variant(int8_t{0});
    case VarKind::Byte: return Variant(uint8_t{0});
    case VarKind::SmallInt: return Variant(int16_t{0});
    case VarKind::Word: return Variant(uint16_t{0});
    case VarKind::Integer: return Variant(int32_t{0});
    case VarKind::LongWord: return Variant(uint32_t{0});
    case VarKind::Int64: return Variant(int64_t{0});
    case VarKind::UInt64: return Variant(uint64_t{0});
    case VarKind::Single: return Variant(0.0f);
    case VarKind::Double: return Variant(0.0);
    case VarKind::Currency: return Variant(Currency{});
    case VarKind::Date: return Variant(DateTime{});
    case VarKind::String: return Variant(String());
    case VarKind::Null: return Variant::Null();
    case VarKind::Object: return Variant(static_cast<Object*>(nullptr));
    case VarKind::Empty:
    case VarKind::Array: break;
  }
  return Variant();
}

const char16_t* KindName(VarKind kind) {
  switch (kind) {
    case VarKind::Empty: return u"Empty";
    case VarKind::Null: return u"Null";
    case VarKind::Boolean: return u"Boolean";
    case VarKind::ShortInt: return u"ShortInt";
    case VarKind::Byte: return u"Byte";
    case VarKind::SmallInt: return u"Smallint";
    case VarKind::Word: return u"Word";
    case VarKind::Integer: return u"Integer";
    case VarKind::LongWord: return u"LongWord";
    case VarKind::Int64: return u"Int64";
    case VarKind::UInt64: return u"UInt64";
    case VarKind::Single: return u"Single";
    case VarKind::Double: return u"Double";
    case VarKind::Currency: return u"Currency";
    case VarKind::Date: return u"Date";
    case VarKind::String: return u"UnicodeString";
    case VarKind::Array: return u"Array";
    case VarKind::Object: return u"Integer";  // host objects travel as integers
  }
  return u"Unknown";
}

namespace {

int KindTypeCode(VarKind kind) {
  switch (kind) {
    case VarKind::Empty: return 0;
    case VarKind::Null: return 1;
    case VarKind::SmallInt: return 2;
    case VarKind::Integer:
    case VarKind::Object: return 3;
    case VarKind::Single: return 4;
    case VarKind::Double: return 5;
    case VarKind::Currency: return 6;
    case VarKind::Date: return 7;
    case VarKind::Boolean: return 11;
    case VarKind::ShortInt: return 16;
    case VarKind::Byte: return 17;
    case VarKind::Word: return 18;
    case VarKind::LongWord: return 19;
    case VarKind::Int64: return 20;
    case VarKind::UInt64: return 21;
    case VarKind::String: return 256;
    case VarKind::Array: return 12;  // varVariant; the array flag is added by VarTypeCode
  }
  return 13;
}

}  // namespace

VarKind ArrayElementKindOfTypeCode(int code) {
  code &= 0xFFF;
  if (code == 8) code = KindTypeCode(VarKind::String);  // varOleStr
  for (const VarKind kind :
       {VarKind::Boolean, VarKind::ShortInt, VarKind::Byte, VarKind::SmallInt, VarKind::Word, VarKind::Integer,
        VarKind::LongWord, VarKind::Int64, VarKind::UInt64, VarKind::Single, VarKind::Double, VarKind::Currency,
        VarKind::Date, VarKind::String}) {
    if (KindTypeCode(kind) == code) return kind;
  }
  return VarKind::Empty;
}

int VarTypeCode(const Variant& value) {
  constexpr int kVarArray = 8192, kVarVariant = 12;
  if (value.IsArray()) {
    const VarKind element = value.ArrayValue()->element_kind;
    return kVarArray | (element == VarKind::Empty ? kVarVariant : KindTypeCode(element));
  }
  return KindTypeCode(value.Kind());
}

}  // namespace zavrik
