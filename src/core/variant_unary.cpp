// Variant unary minus and not.
#include "core/number_parse.h"
#include "core/numeric.h"
#include "core/variant_access.h"
#include "core/variant_convert.h"
#include "core/variant_ops.h"

namespace zavrik {
Variant VarNeg(const Variant& v, const FormatSettings& fs) {
  switch (v.Kind()) {
    case VarKind::Empty: return Variant(int32_t{0});
    case VarKind::Null: return Variant::Null();
    case VarKind::Single: return Variant(-v.SingleValue());
    case VarKind::Double: return Variant(-v.DoubleValue());
    case VarKind::Date: return Variant(DateTime{-v.DoubleValue()});
    case VarKind::Currency: return Variant(CurrencySub(Currency{}, v.CurrencyValue()));
    case VarKind::String: return Variant(-VarToDouble(v, fs));
    case VarKind::Word:
    case VarKind::LongWord:
    case VarKind::Int64:  // the Int64 class wraps
      return Variant(static_cast<int64_t>(0 - static_cast<uint64_t>(IntegerValue(v))));
    case VarKind::UInt64: return Variant(0 - v.UnsignedValue());
    case VarKind::Array: ThrowError(kInvalidVariantOperation);
    default: {  // the Int class (and Booleans, True being -1): beyond 32 bits in Float
      const Wide r = -IntegerValue(v);
      if (r >= INT32_MIN && r <= INT32_MAX) return Variant(static_cast<int32_t>(r));
      return Variant(static_cast<double>(r));
    }
  }
}

Variant VarNot(const Variant& v, const FormatSettings& fs) {
  switch (v.Kind()) {
    case VarKind::Empty: return Variant(int32_t{-1});
    case VarKind::Null: return Variant::Null();
    case VarKind::Boolean: return Variant(!v.BoolValue());
    // Integers are complemented in their own width.
    case VarKind::ShortInt: return Variant(static_cast<int8_t>(~v.SignedValue()));
    case VarKind::Byte: return Variant(static_cast<uint8_t>(~v.UnsignedValue()));
    case VarKind::SmallInt: return Variant(static_cast<int16_t>(~v.SignedValue()));
    case VarKind::Word: return Variant(static_cast<uint16_t>(~v.UnsignedValue()));
    case VarKind::Integer: return Variant(static_cast<int32_t>(~v.SignedValue()));
    case VarKind::LongWord: return Variant(static_cast<uint32_t>(~v.UnsignedValue()));
    case VarKind::Int64: return Variant(static_cast<int64_t>(~v.SignedValue()));
    case VarKind::UInt64: return Variant(static_cast<uint64_t>(~v.UnsignedValue()));
    case VarKind::Object: return Variant(static_cast<int64_t>(~static_cast<int64_t>(IntegerValue(v))));
    case VarKind::String:
      if (const std::optional<int64_t> n = ParseInt64(v.StringValue())) {
        if (*n >= INT32_MIN && *n <= INT32_MAX) return Variant(static_cast<int32_t>(~*n));
        return Variant(~*n);
      }
      return Variant(!VarToBoolean(v, fs));
    case VarKind::Array: ThrowError(kInvalidVariantOperation);
    default:  // Single, Double, Currency, Date: rounded first
      return Variant(static_cast<int32_t>(~VarToInteger(v, fs)));
  }
}

}  // namespace zavrik
