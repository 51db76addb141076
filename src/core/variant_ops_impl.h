// Internal: the halves of VarBinaryOp, split by operator family.
#pragma once

#include "core/format_settings.h"
#include "core/variant.h"
#include "core/variant_class.h"
#include "core/variant_ops.h"

namespace zavrik {

// + - * / in the class `cls`.
Variant ArithmeticOp(VarOp op, OpClass cls, const Variant& a, const Variant& b,
                     const FormatSettings& fs);
// div mod shl shr and or xor in the class `cls`.
Variant IntegerOp(VarOp op, OpClass cls, const Variant& a, const Variant& b,
                  const FormatSettings& fs);
// div mod shl shr and or xor on 32-bit integers.
Variant Int32Op(VarOp op, int32_t x, int32_t y);

}  // namespace zavrik
