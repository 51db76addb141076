// Variant + - * / and the dispatch of every binary operator.
#include "core/numeric.h"
#include "core/variant_access.h"
#include "core/variant_convert.h"
#include "core/variant_ops_impl.h"

namespace zavrik {
namespace {

double FloatArith(VarOp op, double x, double y) {
  switch (op) {
    case VarOp::Add: return x + y;
    case VarOp::Sub: return x - y;
    case VarOp::Mul: return x * y;
    default: return DivideFloat(x, y);
  }
}

Variant FloatOf(VarOp op, const Variant& a, const Variant& b, const FormatSettings& fs) {
  return Variant(FloatArith(op, VarToDouble(a, fs), VarToDouble(b, fs)));
}

// Exact in 128 bits; a result beyond 32 bits is computed in Float instead.
Variant IntArith(VarOp op, Wide x, Wide y) {
  const Wide r = op == VarOp::Add ? x + y : op == VarOp::Sub ? x - y : x * y;
  if (r >= INT32_MIN && r <= INT32_MAX) return Variant(static_cast<int32_t>(r));
  return Variant(FloatArith(op, static_cast<double>(x), static_cast<double>(y)));
}

// + and - wrap; * is computed in Float when it overflows.
template <typename T>
Variant Int64Arith(VarOp op, Wide wx, Wide wy) {
  const T x = static_cast<T>(wx), y = static_cast<T>(wy);
  using U = uint64_t;
  switch (op) {
    case VarOp::Add: return Variant(static_cast<T>(static_cast<U>(x) + static_cast<U>(y)));
    case VarOp::Sub: return Variant(static_cast<T>(static_cast<U>(x) - static_cast<U>(y)));
    default: {
      T r;
      if (!__builtin_mul_overflow(x, y, &r)) return Variant(r);
      return Variant(static_cast<double>(wx) * static_cast<double>(wy));
    }
  }
}

Variant CurrencyArith(VarOp op, const Variant& a, const Variant& b, const FormatSettings& fs) {
  if (op == VarOp::DivFloat && a.Kind() != VarKind::Currency && b.Kind() == VarKind::Currency) {
    return FloatOf(op, a, b, fs);
  }
  const Currency x = VarToCurrency(a, fs), y = VarToCurrency(b, fs);
  switch (op) {
    case VarOp::Add: return Variant(CurrencyAdd(x, y));
    case VarOp::Sub: return Variant(CurrencySub(x, y));
    case VarOp::Mul: return Variant(CurrencyMul(x, y));
    default: return Variant(CurrencyDiv(x, y));
  }
}

Variant DateArith(VarOp op, const Variant& a, const Variant& b, const FormatSettings& fs) {
  const double x = VarToDate(a, fs), y = VarToDate(b, fs);
  switch (op) {
    case VarOp::Add: return Variant(DateTime{x + y});
    case VarOp::Sub:
      if (a.Kind() == VarKind::Date && b.Kind() == VarKind::Date) return Variant(x - y);
      return Variant(DateTime{x - y});
    default: return Variant(FloatArith(op, x, y));
  }
}

}  // namespace

Variant ArithmeticOp(VarOp op, OpClass cls, const Variant& a, const Variant& b,
                     const FormatSettings& fs) {
  switch (cls) {
    case OpClass::Int:
      if (op == VarOp::DivFloat) return FloatOf(op, a, b, fs);
      return IntArith(op, IntegerValue(a), IntegerValue(b));
    case OpClass::Int64:
      if (op == VarOp::DivFloat) return FloatOf(op, a, b, fs);
      return Int64Arith<int64_t>(op, IntegerValue(a), IntegerValue(b));
    case OpClass::UInt64:
      if (op == VarOp::DivFloat) return FloatOf(op, a, b, fs);
      return Int64Arith<uint64_t>(op, IntegerValue(a), IntegerValue(b));
    case OpClass::Currency:
      return CurrencyArith(op, a, b, fs);
    case OpClass::Date:
      return DateArith(op, a, b, fs);
    case OpClass::String:
      if (op == VarOp::Add) return Variant(VarToString(a, fs) + VarToString(b, fs));
      return FloatOf(op, a, b, fs);
    case OpClass::Float:
    case OpClass::Boolean:  // True counts -1
      return FloatOf(op, a, b, fs);
    case OpClass::Null:
      return Variant::Null();
    case OpClass::Empty:
      if (op == VarOp::DivFloat) ThrowError(kFloatDivisionByZero);
      return Variant();
    case OpClass::Invalid:
      break;
  }
  ThrowError(kInvalidVariantOperation);
}

Variant VarBinaryOp(VarOp op, const Variant& a, const Variant& b, const FormatSettings& fs) {
  const OpClass cls = BinaryClass(ClassOf(a.Kind()), ClassOf(b.Kind()));
  switch (op) {
    case VarOp::Add:
    case VarOp::Sub:
    case VarOp::Mul:
    case VarOp::DivFloat:
      return ArithmeticOp(op, cls, a, b, fs);
    default:
      return IntegerOp(op, cls, a, b, fs);
  }
}

Variant VarAdd(const Variant& a, const Variant& b) {
  if (a.Kind() == VarKind::Integer && b.Kind() == VarKind::Integer) {
    const int64_t r = a.SignedValue() + b.SignedValue();
    if (r >= INT32_MIN && r <= INT32_MAX) return Variant(static_cast<int32_t>(r));
  } else if (a.Kind() == VarKind::Double && b.Kind() == VarKind::Double) {
    return Variant(a.DoubleValue() + b.DoubleValue());
  }
  return VarBinaryOp(VarOp::Add, a, b);
}

Variant VarSub(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Sub, a, b); }
Variant VarMul(const Variant& a, const Variant& b) { return VarBinaryOp(VarOp::Mul, a, b); }
Variant VarDivFloat(const Variant& a, const Variant& b) {
  return VarBinaryOp(VarOp::DivFloat, a, b);
}

Variant VarConcat(const Variant& a, const Variant& b, const FormatSettings& fs) {
  if (a.IsString()) return Variant(a.StringValue() + VarToString(b, fs));
  return VarBinaryOp(VarOp::Add, a, b, fs);
}

}  // namespace zavrik
