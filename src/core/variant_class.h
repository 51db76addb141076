// Internal: the operand classes of the Variant operators and the rule that picks the class of a
// binary operation.
#pragma once

#include "core/variant.h"

namespace zavrik {

enum class OpClass : uint8_t {
  Empty, Null, Int, Int64, UInt64, Float, Currency, String, Boolean, Date,
  Invalid,  // arrays: no operand
};

inline OpClass ClassOf(VarKind kind) {
  switch (kind) {
    case VarKind::Empty: return OpClass::Empty;
    case VarKind::Null: return OpClass::Null;
    case VarKind::ShortInt:
    case VarKind::SmallInt:
    case VarKind::Integer:
    case VarKind::Byte:
    case VarKind::Object: return OpClass::Int;
    case VarKind::Word:
    case VarKind::LongWord:
    case VarKind::Int64: return OpClass::Int64;
    case VarKind::UInt64: return OpClass::UInt64;
    case VarKind::Single:
    case VarKind::Double: return OpClass::Float;
    case VarKind::Currency: return OpClass::Currency;
    case VarKind::String: return OpClass::String;
    case VarKind::Boolean: return OpClass::Boolean;
    case VarKind::Date: return OpClass::Date;
    case VarKind::Array: break;
  }
  return OpClass::Invalid;
}

inline bool IsIntegerClass(OpClass c) {
  return c == OpClass::Int || c == OpClass::Int64 || c == OpClass::UInt64;
}

// The class of a binary operation: the first rule that applies.
inline OpClass BinaryClass(OpClass a, OpClass b) {
  if (a == OpClass::Invalid || b == OpClass::Invalid) return OpClass::Invalid;
  if (a == OpClass::Null || b == OpClass::Null) return OpClass::Null;
  if (a == OpClass::Empty) return b;  // Empty stands for 0, '' or False
  if (b == OpClass::Empty) return a;
  auto either = [&](OpClass c) { return a == c || b == c; };
  if (either(OpClass::Date)) return OpClass::Date;
  if (either(OpClass::Currency)) return OpClass::Currency;
  if (either(OpClass::Float)) return OpClass::Float;
  if (either(OpClass::String)) {
    if (a == b) return OpClass::String;
    return either(OpClass::Boolean) ? OpClass::Boolean : OpClass::Float;
  }
  if (a == OpClass::Boolean && b == OpClass::Boolean) return OpClass::Boolean;
  if (either(OpClass::UInt64)) return OpClass::UInt64;
  if (either(OpClass::Int64)) return OpClass::Int64;
  return OpClass::Int;
}

}  // namespace zavrik
