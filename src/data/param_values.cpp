#include "data/param_values.h"

#include <cmath>
#include <string>

#include "core/error.h"

namespace zavrik::data {
namespace {

[[noreturn]] void CannotConvert(const Variant& v, const char* to) {
  (void)v;
  throw Error(std::string("Could not convert variant into type (") + to + ")");
}

bool ParseInt(StringView text, int64_t& out) {
  std::string s = StringToUtf8(Trim(text));
  if (s.empty()) return false;
  size_t used = 0;
  try {
    out = std::stoll(s, &used, 10);
  } catch (...) {
    return false;
  }
  return used == s.size();
}

bool ParseDouble(StringView text, double& out) {
  std::string s = StringToUtf8(Trim(text));
  for (char& c : s)
    if (c == ',') c = '.';
  if (s.empty()) return false;
  size_t used = 0;
  try {
    out = std::stod(s, &used);
  } catch (...) {
    return false;
  }
  return used == s.size();
}

// Reads digits into value; returns false when none.
bool Digits(StringView t, size_t& i, int& value) {
  const size_t start = i;
  value = 0;
  while (i < t.size() && t[i] >= u'0' && t[i] <= u'9' && i - start < 9) value = value * 10 + (t[i++] - u'0');
  return i > start;
}

// Days from 1899-12-30 to the date (proleptic Gregorian).
double EncodeDate(int y, int m, int d) {
  static const int kDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > kDays[leap][m - 1]) return NAN;
  for (int i = 0; i < m - 1; ++i) d += kDays[leap][i];
  const int py = y - 1;
  return py * 365.0 + py / 4 - py / 100 + py / 400 + d - 693594;
}

}  // namespace

String ParamText(const Variant& v) {
  switch (v.Kind()) {
    case VarKind::String: return v.StringValue();
    case VarKind::Boolean: return v.BoolValue() ? u"True" : u"False";
    case VarKind::ShortInt: case VarKind::SmallInt: case VarKind::Integer: case VarKind::Int64:
      return Utf8ToString(std::to_string(v.SignedValue()));
    case VarKind::Byte: case VarKind::Word: case VarKind::LongWord: case VarKind::UInt64:
      return Utf8ToString(std::to_string(v.UnsignedValue()));
    default: CannotConvert(v, "String");
  }
}

int64_t ParamInteger(const Variant& v, int64_t lo, int64_t hi) {
  int64_t out = 0;
  switch (v.Kind()) {
    case VarKind::ShortInt: case VarKind::SmallInt: case VarKind::Integer: case VarKind::Int64:
      out = v.SignedValue(); break;
    case VarKind::Byte: case VarKind::Word: case VarKind::LongWord: out = static_cast<int64_t>(v.UnsignedValue()); break;
    case VarKind::Boolean: out = v.BoolValue() ? -1 : 0; break;
    case VarKind::String: if (!ParseInt(v.StringValue(), out)) CannotConvert(v, "Integer"); break;
    default: CannotConvert(v, "Integer");
  }
  if (out < lo || out > hi) throw Error(u"Range check error");
  return out;
}

bool ParamBoolean(const Variant& v) {
  if (v.Kind() == VarKind::Boolean) return v.BoolValue();
  if (v.IsString()) {
    if (SameTextAscii(v.StringValue(), u"True")) return true;
    if (SameTextAscii(v.StringValue(), u"False")) return false;
  }
  return ParamDouble(v) != 0;
}

double ParamDouble(const Variant& v) {
  switch (v.Kind()) {
    case VarKind::Single: return v.SingleValue();
    case VarKind::Double: case VarKind::Date: return v.DoubleValue();
    case VarKind::Currency: return v.SignedValue() / 10000.0;
    case VarKind::String: {
      double d;
      if (!ParseDouble(v.StringValue(), d)) CannotConvert(v, "Double");
      return d;
    }
    default: return static_cast<double>(ParamInteger(v, INT64_MIN, INT64_MAX));
  }
}

Currency ParamCurrency(const Variant& v) {
  if (v.Kind() == VarKind::Currency) return v.CurrencyValue();
  const double scaled = std::nearbyint(ParamDouble(v) * 10000.0);
  if (!(std::fabs(scaled) < 9.2e18)) throw Error(u"Range check error");
  return Currency::FromScaled(static_cast<int64_t>(scaled));
}

double ParamDateTime(const Variant& v) {
  if (v.IsString()) return ParseDateTimeText(v.StringValue());
  return ParamDouble(v);
}

double ParseDateTimeText(StringView raw) {
  const String text = Trim(raw);
  const StringView t(text);
  size_t i = 0;
  double result = 0;
  int a, b, c;
  bool ok = Digits(t, i, a);
  if (ok && i < t.size() && t[i] == u'.') {
    ++i;
    ok = Digits(t, i, b) && i < t.size() && t[i] == u'.';
    if (ok) {
      ++i;
      ok = Digits(t, i, c);
      if (ok && c < 100) c += c < 50 ? 2000 : 1900;
      result = ok ? EncodeDate(c, b, a) : NAN;
      ok = ok && !std::isnan(result);
      while (ok && i < t.size() && t[i] == u' ') ++i;
      if (ok && i < t.size()) ok = Digits(t, i, a);
    }
  }
  if (ok && i < t.size() && t[i] == u':') {
    int h = a, n = 0, s = 0, ms = 0;
    ++i;
    ok = Digits(t, i, n);
    if (ok && i < t.size() && t[i] == u':') {
      ++i;
      ok = Digits(t, i, s);
      if (ok && i < t.size() && (t[i] == u'.' || t[i] == u',')) {
        ++i;
        ok = Digits(t, i, ms);
      }
    }
    ok = ok && h < 24 && n < 60 && s < 60 && ms < 1000;
    if (ok) {
      const double time = (h * 3600000.0 + n * 60000.0 + s * 1000.0 + ms) / 86400000.0;
      result = result < 0 ? result - time : result + time;
    }
  } else if (ok && i == t.size() && result == 0 && t.find(u'.') == StringView::npos) {
    ok = false;  // a bare number is not a date
  }
  if (!ok || i != t.size()) throw Error(u"'" + text + u"' is not a valid date and time");
  return result;
}

}  // namespace zavrik::data
