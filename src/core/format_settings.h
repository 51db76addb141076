// Locale conventions for converting values to text and back. The program runs with fixed Russian
// conventions (RussianFormatSettings); every formatter takes the settings as an argument that
// defaults to the process's settings, so the same code serves other conventions (tests use ones
// with "," and "." separators).
#pragma once

#include <array>

#include "core/ustring.h"

namespace zavrik {

struct FormatSettings {
  char16_t decimal_separator = u'.';
  char16_t thousand_separator = u',';
  char16_t date_separator = u'/';
  char16_t time_separator = u':';
  String short_date_format;
  String long_date_format;
  String short_time_format;
  String long_time_format;
  String time_am = u"AM";
  String time_pm = u"PM";
  String currency_string;
  // Position of the symbol for positive amounts: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  int currency_format = 0;
  // For negative amounts: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$",
  // 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  int negative_currency_format = 1;
  int currency_decimals = 2;
  std::array<String, 12> long_month_names;
  std::array<String, 12> short_month_names;
  std::array<String, 7> long_day_names;   // Sunday first
  std::array<String, 7> short_day_names;  // Sunday first
};

// The Russian conventions: "," decimal and U+00A0 thousands separators, dd.mm.yyyy, h:nn:ss,
// amounts as "1 ₽" and "-1 ₽" with two decimals, Russian month and day names.
const FormatSettings& RussianFormatSettings();

// The process's settings: the Russian conventions.
inline const FormatSettings& DefaultFormatSettings() { return RussianFormatSettings(); }

}  // namespace zavrik
