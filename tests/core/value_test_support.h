// Helpers shared by the value and formatter tests: plain "." / "," settings, a compact
// description of a Variant (kind and value), and the message of the Error an action raises.
#pragma once

#include <string>

#include "core/error.h"
#include "core/float_text.h"
#include "core/format_settings.h"
#include "core/variant.h"
#include "core/variant_convert.h"

namespace zavrik::testing {

// Settings with "." decimal and "," thousands separators, "/" dates, "$" amounts.
inline const FormatSettings& PlainSettings() {
  static const FormatSettings settings = [] {
    FormatSettings s = RussianFormatSettings();
    s.decimal_separator = u'.';
    s.thousand_separator = u',';
    s.date_separator = u'/';
    s.currency_string = u"$";
    s.currency_format = 0;
    s.negative_currency_format = 1;
    return s;
  }();
  return settings;
}

// "Integer 5", "Double 2.5", "UnicodeString ab", "Date 1.5", "Null", "Empty".
inline std::string Describe(const Variant& v) {
  std::string text = StringToUtf8(KindName(v.Kind()));
  if (v.IsNull() || v.IsEmpty() || v.IsArray()) return text;
  const Variant shown = v.Kind() == VarKind::Date ? Variant(v.DoubleValue()) : v;
  return text + " " + StringToUtf8(VarToString(shown, PlainSettings()));
}

template <typename F>
std::string ErrorOf(F&& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

inline std::string Utf8(const String& s) { return StringToUtf8(s); }

}  // namespace zavrik::testing
