// Variant div, mod, shl, shr, and, or, xor.
#include "core/numeric.h"
#include "core/variant_access.h"
#include "core/variant_convert.h"
#include "core/variant_ops_impl.h"

namespace zavrik {
namespace {

// The operation on integers of type T (int64_t or uint64_t arithmetic, `bits` wide).
template <typename T>
T IntegerArith(VarOp op, T x, T y, unsigned bits) {
  using U = std::make_unsigned_t<T>;
  const unsigned shift = static_cast<unsigned>(y) & (bits - 1);
  const U mask = bits == 64 ? ~U{0} : (U{1} << bits) - 1;
  switch (op) {
    case VarOp::DivInt:
    case VarOp::Mod:
      if (y == 0) ThrowError(kDivisionByZero);
      if constexpr (std::is_signed_v<T>) {
        // The one quotient that overflows (minimum div -1) wraps; its remainder is 0.
        if (y == -1) return op == VarOp::Mod ? 0 : static_cast<T>(U{0} - static_cast<U>(x));
      }
      return op == VarOp::DivInt ? x / y : x % y;
    case VarOp::Shl: return static_cast<T>((static_cast<U>(x) << shift) & mask);
    case VarOp::Shr: return static_cast<T>((static_cast<U>(x) & mask) >> shift);
    case VarOp::And: return x & y;
    case VarOp::Or: return x | y;
    default: return x ^ y;
  }
}

bool IsBooleanValue(const Variant& v, bool value) {
  return v.Kind() == VarKind::Boolean && v.BoolValue() == value;
}

// and: False when either operand is False; or: True when either is True; otherwise Null.
Variant NullOp(VarOp op, const Variant& a, const Variant& b) {
  if (op == VarOp::And && (IsBooleanValue(a, false) || IsBooleanValue(b, false))) {
    return Variant(false);
  }
  if (op == VarOp::Or && (IsBooleanValue(a, true) || IsBooleanValue(b, true))) {
    return Variant(true);
  }
  return Variant::Null();
}

Variant BooleanOp(VarOp op, const Variant& a, const Variant& b, const FormatSettings& fs) {
  const bool x = VarToBoolean(a, fs), y = VarToBoolean(b, fs);
  switch (op) {
    case VarOp::And: return Variant(x && y);
    case VarOp::Or: return Variant(x || y);
    default: return Variant(x != y);
  }
}

bool IsLogical(VarOp op) { return op == VarOp::And || op == VarOp::Or || op == VarOp::Xor; }

// An operand taken into the class first, then rounded to a 32-bit integer.
int32_t RoundedOperand(OpClass cls, const Variant& v, const FormatSettings& fs) {
  switch (cls) {
    case OpClass::Float: return RoundToInt32(VarToDouble(v, fs));
    case OpClass::Currency: return CheckedInt32(CurrencyToInteger(VarToCurrency(v, fs)));
    case OpClass::Date: return RoundToInt32(VarToDate(v, fs));
    default: return VarToInteger(v, fs);  // Strings hold integers; True is -1
  }
}

}  // namespace

Variant Int32Op(VarOp op, int32_t x, int32_t y) {
  return Variant(static_cast<int32_t>(IntegerArith<int64_t>(op, x, y, 32)));
}

Variant IntegerOp(VarOp op, OpClass cls, const Variant& a, const Variant& b,
                  const FormatSettings& fs) {
  switch (cls) {
    case OpClass::Int:
      return Int32Op(op, static_cast<int32_t>(IntegerValue(a)), static_cast<int32_t>(IntegerValue(b)));
    case OpClass::Int64:
      return Variant(IntegerArith<int64_t>(op, static_cast<int64_t>(IntegerValue(a)),
                                           static_cast<int64_t>(IntegerValue(b)), 64));
    case OpClass::UInt64:
      return Variant(IntegerArith<uint64_t>(op, static_cast<uint64_t>(IntegerValue(a)),
                                            static_cast<uint64_t>(IntegerValue(b)), 64));
    case OpClass::Boolean:
      if (IsLogical(op)) return BooleanOp(op, a, b, fs);
      [[fallthrough]];
    case OpClass::Float:
    case OpClass::Currency:
    case OpClass::String:
    case OpClass::Date:
      return Int32Op(op, RoundedOperand(cls, a, fs), RoundedOperand(cls, b, fs));
    case OpClass::Null:
      return NullOp(op, a, b);
    case OpClass::Empty:
      if (op == VarOp::DivInt || op == VarOp::Mod) ThrowError(kDivisionByZero);
      return Variant();
    case OpClass::Invalid:
      break;
  }
  ThrowError(kInvalidVariantOperation);
}

Variant VarDivInt(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::DivInt, a, b); }
Variant VarMod(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Mod, a, b); }
Variant VarAnd(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::And, a, b); }
Variant VarOr(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Or, a, b); }
Variant VarXor(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Xor, a, b); }
Variant VarShl(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Shl, a, b); }
Variant VarShr(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Shr, a, b); }

}  // namespace zavrik
