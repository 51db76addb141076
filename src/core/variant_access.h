// Internal helpers of the Variant operators and conversions: reading any integer-like kind as
// one wide integer.
#pragma once

#include <cstdint>

#include "core/variant.h"

namespace zavrik {

using Wide = __int128;

inline bool IsIntegerKind(VarKind kind) {
  switch (kind) {
    case VarKind::ShortInt:
    case VarKind::Byte:
    case VarKind::SmallInt:
    case VarKind::Word:
    case VarKind::Integer:
    case VarKind::LongWord:
    case VarKind::Int64:
    case VarKind::UInt64:
    case VarKind::Object:
      return true;
    default:
      return false;
  }
}

// The value of an integer kind, a Boolean (True is -1) or Empty (0); 0 for other kinds.
inline Wide IntegerValue(const Variant& v) {
  switch (v.Kind()) {
    case VarKind::ShortInt:
    case VarKind::SmallInt:
    case VarKind::Integer:
    case VarKind::Int64:
      return v.SignedValue();
    case VarKind::Byte:
    case VarKind::Word:
    case VarKind::LongWord:
    case VarKind::UInt64:
      return v.UnsignedValue();
    case VarKind::Object:
      return static_cast<Wide>(reinterpret_cast<intptr_t>(v.ObjectValue()));
    case VarKind::Boolean:
      return v.BoolValue() ? -1 : 0;
    default:
      return 0;
  }
}

}  // namespace zavrik
