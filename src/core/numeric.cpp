#include "core/numeric.h"

#include <cmath>

#include "core/error.h"

namespace zavrik {
namespace {

constexpr int64_t kCurrencyScale = 10000;

// Quotient of num / den rounded to nearest, halves to even (den != 0).
__int128 DivRoundHalfEven(__int128 num, __int128 den) {
  if (den < 0) num = -num, den = -den;
  __int128 q = num / den, r = num % den;
  if (r < 0) q -= 1, r += den;  // floor division: 0 <= r < den
  const __int128 twice = 2 * r;
  if (twice > den || (twice == den && (q & 1) != 0)) q += 1;
  return q;
}

Currency CurrencyFromWide(__int128 scaled) {
  if (scaled > INT64_MAX || scaled < INT64_MIN) ThrowError(kInvalidFloatOperation);
  return Currency{static_cast<int64_t>(scaled)};
}

}  // namespace

void ThrowError(const char16_t* message) { throw Error(String(message)); }

double RoundHalfEven(double value) {
  // Below 2^52, adding 2^52 and taking it away again rounds to an integer, halves to even (the
  // default rounding mode); larger magnitudes, infinities and NaN are returned as they are.
  constexpr double kTwoTo52 = 4503599627370496.0;
  const double magnitude = std::fabs(value);
  if (!(magnitude < kTwoTo52)) return value;
  const double rounded = (magnitude + kTwoTo52) - kTwoTo52;
  // A negative value rounding to zero gives a zero without sign; -0 stays itself.
  if (rounded == 0) return value == 0 ? value : 0.0;
  return value < 0 ? -rounded : rounded;
}

std::optional<int64_t> RoundToInt64(double value) {
  const double r = RoundHalfEven(value);
  // 2^63 is exactly representable; every double below it in magnitude fits.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return std::nullopt;
  return static_cast<int64_t>(r);
}

int32_t RoundToInt32(double value) {
  const std::optional<int64_t> r = RoundToInt64(value);
  if (!r) ThrowError(kRangeCheckError);
  return CheckedInt32(*r);
}

int32_t CheckedInt32(int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) ThrowError(kRangeCheckError);
  return static_cast<int32_t>(value);
}

double DivideFloat(double dividend, double divisor) {
  if (divisor == 0) {
    ThrowError(dividend == 0 || std::isnan(dividend) ? kInvalidFloatOperation
                                                      : kFloatDivisionByZero);
  }
  return dividend / divisor;
}

double CurrencyToDouble(Currency value) {
  return static_cast<double>(value.scaled) / kCurrencyScale;
}

Currency CurrencyFromDouble(double value) {
  const double scaled = RoundHalfEven(value * kCurrencyScale);
  if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) {
    ThrowError(kInvalidFloatOperation);
  }
  return Currency{static_cast<int64_t>(scaled)};
}

Currency CurrencyFromInt(int64_t value) {
  return CurrencyFromWide(static_cast<__int128>(value) * kCurrencyScale);
}

Currency CurrencyAdd(Currency a, Currency b) {
  return CurrencyFromWide(static_cast<__int128>(a.scaled) + b.scaled);
}

Currency CurrencySub(Currency a, Currency b) {
  return CurrencyFromWide(static_cast<__int128>(a.scaled) - b.scaled);
}

Currency CurrencyMul(Currency a, Currency b) {
  return CurrencyFromWide(DivRoundHalfEven(static_cast<__int128>(a.scaled) * b.scaled,
                                           kCurrencyScale));
}

Currency CurrencyDiv(Currency a, Currency b) {
  if (b.scaled == 0) ThrowError(a.scaled == 0 ? kInvalidFloatOperation : kFloatDivisionByZero);
  return CurrencyFromWide(DivRoundHalfEven(static_cast<__int128>(a.scaled) * kCurrencyScale,
                                           b.scaled));
}

int64_t CurrencyToInteger(Currency value) {
  return static_cast<int64_t>(DivRoundHalfEven(value.scaled, kCurrencyScale));
}

}  // namespace zavrik
