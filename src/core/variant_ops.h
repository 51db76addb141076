// The Variant operators. Each binary operation first picks an operand class (Null, Empty, Date,
// Currency, Float, String, Boolean, or the integer classes Int, Int64 and UInt64) and then
// computes in that class:
//   Int     32-bit; + - * overflowing 32 bits are computed in Float; / gives Float
//   Int64   64-bit; + - wrap, * is computed in Float on overflow; / gives Float
//   Float   double; div mod shl shr and or xor round both operands to 32-bit integers first
//   Currency, Date, String, Boolean, Null and Empty by their own rules (see the tests).
// Failures: "Invalid variant operation" (arrays), "Floating point division by zero",
// "Invalid floating point operation" (0 / 0), "Division by zero" (div, mod), conversion errors.
#pragma once

#include "core/format_settings.h"
#include "core/variant.h"

namespace zavrik {

enum class VarOp : uint8_t { Add, Sub, Mul, DivFloat, DivInt, Mod, And, Or, Xor, Shl, Shr };

Variant VarBinaryOp(VarOp op, const Variant& a, const Variant& b,
                    const FormatSettings& fs = DefaultFormatSettings());

// Numbers add, two strings concatenate.
Variant VarAdd(const Variant& a, const Variant& b);
Variant VarSub(const Variant& a, const Variant& b);
Variant VarMul(const Variant& a, const Variant& b);
Variant VarDivFloat(const Variant& a, const Variant& b);  // "/"
Variant VarDivInt(const Variant& a, const Variant& b);    // "div"
Variant VarMod(const Variant& a, const Variant& b);
// Logical for Booleans, bitwise for integers.
Variant VarAnd(const Variant& a, const Variant& b);
Variant VarOr(const Variant& a, const Variant& b);
Variant VarXor(const Variant& a, const Variant& b);
Variant VarShl(const Variant& a, const Variant& b);
Variant VarShr(const Variant& a, const Variant& b);  // logical shift

// String concatenation ("&"): with a String on the left both sides are joined as text,
// otherwise as VarAdd.
Variant VarConcat(const Variant& a, const Variant& b,
                  const FormatSettings& fs = DefaultFormatSettings());

// Unary minus: numbers in their own class, Strings as Float, Null stays Null, Empty gives 0.
Variant VarNeg(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
// not: logical for Booleans, bitwise in the operand's own width for integers; Floats, Currency
// and Dates are rounded first; a String holding an integer is complemented as an integer, any
// other String negated as a Boolean; Null stays Null; Empty gives -1.
Variant VarNot(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());

}  // namespace zavrik
