// Shared numeric helpers: the one rounding rule (to nearest, halves to even), checked narrowing,
// Currency arithmetic, and the texts of the arithmetic errors.
#pragma once

#include <cstdint>
#include <optional>

#include "core/variant.h"

namespace zavrik {

inline constexpr const char16_t* kRangeCheckError = u"Range check error";
inline constexpr const char16_t* kFloatDivisionByZero = u"Floating point division by zero";
inline constexpr const char16_t* kInvalidFloatOperation = u"Invalid floating point operation";
inline constexpr const char16_t* kDivisionByZero = u"Division by zero";
inline constexpr const char16_t* kInvalidVariantOperation = u"Invalid variant operation";

[[noreturn]] void ThrowError(const char16_t* message);

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). NaN and infinities pass.
double RoundHalfEven(double value);

// RoundHalfEven as an integer, or none when the result does not fit (or the value is not finite).
std::optional<int64_t> RoundToInt64(double value);
// RoundHalfEven as a 32-bit integer; "Range check error" when it does not fit.
int32_t RoundToInt32(double value);
// The value when it fits 32 bits; "Range check error" otherwise.
int32_t CheckedInt32(int64_t value);

// Float division with the system's errors: x / 0 and 0 / 0 fail.
double DivideFloat(double dividend, double divisor);

// Currency conversions and arithmetic; results that leave the Currency range fail with
// "Invalid floating point operation". Products and quotients round halves to even.
double CurrencyToDouble(Currency value);
Currency CurrencyFromDouble(double value);
Currency CurrencyFromInt(int64_t value);
Currency CurrencyAdd(Currency a, Currency b);
Currency CurrencySub(Currency a, Currency b);
Currency CurrencyMul(Currency a, Currency b);
Currency CurrencyDiv(Currency a, Currency b);
// The Currency rounded to a whole number, halves to even.
int64_t CurrencyToInteger(Currency value);

}  // namespace zavrik
