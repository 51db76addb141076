// Arbitrary pictures, texts and values: the formatters, parsers and operators either give a
// result or raise Error, never anything else (run under the sanitizers).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "core/datetime_format.h"
#include "core/datetime_parse.h"
#include "core/error.h"
#include "core/format_float.h"
#include "core/format_printf.h"
#include "core/number_parse.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "core/variant_ops.h"

namespace zavrik {
namespace {

class Random {
 public:
  String Text(StringView alphabet, size_t max_length) {
    String s(Below(max_length + 1), u' ');
    for (char16_t& c : s) c = alphabet[Below(alphabet.size())];
    return s;
  }

  double Number() {
    static const double kSpecial[] = {0.0, -0.0, 0.5, -2.5, 1e-320, 1e300, -1e300, 2147483647.5,
                                      9.3e18, -693594.0, 2958466.0,
                                      std::numeric_limits<double>::infinity(), std::nan("")};
    if (Below(3) == 0) return kSpecial[Below(std::size(kSpecial))];
    return std::uniform_real_distribution<double>(-1e7, 1e7)(engine_);
  }

  Variant Value() {
    switch (Below(12)) {
      case 0: return Variant();
      case 1: return Variant::Null();
      case 2: return Variant(Below(2) == 0);
      case 3: return Variant(static_cast<int32_t>(engine_()));
      case 4: return Variant(static_cast<int64_t>(engine_()) << Below(40));
      case 5: return Variant(static_cast<uint64_t>(engine_()) << Below(40));
      case 6: return Variant(Number());
      case 7: return Variant(Currency{static_cast<int64_t>(engine_()) << Below(40)});
      case 8: return Variant(DateTime{Number()});
      case 9: return Variant(Text(u"0123456789,.-$eETrueFals ", 8));
      case 10: return Variant(static_cast<int8_t>(engine_()));
      default: return Variant(static_cast<uint16_t>(engine_()));
    }
  }

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(engine_); }

 private:
  std::mt19937 engine_{20240107};
};

template <typename F>
void OnlyErrors(F&& action) {
  try {
    action();
  } catch (const Error&) {
  }
}

TEST(Robustness, PicturesAndDirectives) {
  Random r;
  for (int i = 0; i < 3000; ++i) {
    const double v = r.Number();
    OnlyErrors([&] { FormatFloat(r.Text(u"0#.,;E+-e'\"x ", 12), v); });
    OnlyErrors([&] { FormatDateTime(r.Text(u"dmyhnszatcp/:AM'\" ", 12), v); });
    const std::vector<Variant> args = {r.Value(), r.Value(), r.Value()};
    OnlyErrors([&] { Format(r.Text(u"%%%0129*:-.dueEfgnmpsxX ", 10), args); });
  }
}

TEST(Robustness, ParsersAndOperators) {
  Random r;
  for (int i = 0; i < 3000; ++i) {
    const String text = r.Text(u"0123456789.,:$-+eE AMPTruefalsx", 14);
    ParseInt64(text);
    ParseInt32(text);
    ParseFloat(text);
    ParseBool(text);
    ParseDateTime(text);
    const Variant a = r.Value(), b = r.Value();
    const VarOp op = static_cast<VarOp>(r.Below(11));
    OnlyErrors([&] { VarBinaryOp(op, a, b); });
    OnlyErrors([&] { VarCompare(a, b); });
    OnlyErrors([&] { VarNeg(a); });
    OnlyErrors([&] { VarNot(a); });
    OnlyErrors([&] { VarToInteger(a); });
    OnlyErrors([&] { VarToCurrency(a); });
    OnlyErrors([&] { VarToDate(a); });
    OnlyErrors([&] { VarToStr(a); });
  }
}

}  // namespace
}  // namespace zavrik
