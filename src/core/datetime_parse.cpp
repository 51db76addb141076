#include "core/datetime_parse.h"

#include <chrono>

#include "core/datetime.h"
#include "core/number_parse.h"

namespace zavrik {
namespace {

int CurrentYear() {
  const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  return static_cast<int>(std::chrono::year_month_day(today).year());
}

// Two-digit years fall within the 100 years starting 50 years before the current year.
int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  const int current = CurrentYear();
  const int window_start = current - 50;
  int full = current / 100 * 100 + year;
  if (full < window_start) full += 100;
  if (full >= window_start + 100) full -= 100;
  return full;
}

class Scanner {
 public:
  explicit Scanner(StringView text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  size_t Pos() const { return pos_; }

  void SkipBlanks() {
    while (!AtEnd() && text_[pos_] == u' ') ++pos_;
  }

  bool Char(char16_t c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // Up to 4 decimal digits (at most 9 for milliseconds); the digit count goes to `digits`.
  bool Number(int& value, int& digits, int max_digits = 4) {
    value = 0;
    digits = 0;
    while (!AtEnd() && text_[pos_] >= u'0' && text_[pos_] <= u'9' && digits < max_digits) {
      value = value * 10 + (text_[pos_++] - u'0');
      ++digits;
    }
    return digits > 0;
  }

  bool Word(StringView word) {
    if (word.empty() || text_.size() - pos_ < word.size() || !SameTextAscii(text_.substr(pos_, word.size()), word)) {
      return false;
    }
    pos_ += word.size();
    return true;
  }

 private:
  StringView text_;
  size_t pos_ = 0;
};

// The order of day, month and year in the short date format, e.g. "DMY".
std::u16string DateOrder(const FormatSettings& fs) {
  std::u16string order;
  for (char16_t c : fs.short_date_format) {
    const char16_t u = c >= u'a' && c <= u'z' ? c - 32 : c;
    if ((u == u'D' || u == u'M' || u == u'Y') && order.find(u) == std::u16string::npos) {
      order.push_back(u);
    }
  }
  return order.size() == 3 ? order : u"DMY";
}

bool ScanDate(Scanner& s, const FormatSettings& fs, double& result) {
  int values[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  int count = 0;
  while (count < 3) {
    if (count > 0 && !s.Char(fs.date_separator)) break;
    if (!s.Number(values[count], digits[count])) return false;
    ++count;
  }
  if (count < 2) return false;
  std::u16string order = DateOrder(fs);
  int year = CurrentYear(), month = 0, day = 0, year_digits = 4;
  if (count == 2) order.erase(order.find(u'Y'), 1);
  for (int i = 0; i < count; ++i) {
    switch (order[i]) {
      case u'D': day = values[i]; break;
      case u'M': month = values[i]; break;
      default: year = values[i], year_digits = digits[i]; break;
    }
  }
  return TryEncodeDate(ExpandYear(year, year_digits), month, day, result);
}

bool ScanTime(Scanner& s, const FormatSettings& fs, double& result) {
  int hour = 0, minute = 0, second = 0, ms = 0, digits = 0;
  if (!s.Number(hour, digits, 2)) return false;
  bool has_minutes = false;
  if (s.Char(fs.time_separator)) {
    if (!s.Number(minute, digits, 2)) return false;
    has_minutes = true;
    if (s.Char(fs.time_separator)) {
      if (!s.Number(second, digits, 2)) return false;
      if (s.Char(u'.') || s.Char(fs.decimal_separator)) {
        if (!s.Number(ms, digits, 3)) return false;
      }
    }
  }
  s.SkipBlanks();
  const bool am = s.Word(fs.time_am) || s.Word(u"AM");
  const bool pm = !am && (s.Word(fs.time_pm) || s.Word(u"PM"));
  if (!has_minutes && !am && !pm) return false;
  if (am || pm) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return TryEncodeTime(hour, minute, second, ms, result);
}

std::optional<double> Finish(Scanner& s, bool ok, double value) {
  s.SkipBlanks();
  if (!ok || !s.AtEnd()) return std::nullopt;
  return value;
}

StringView TrimBlanks(StringView text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<double> ParseDate(StringView text, const FormatSettings& fs) {
  Scanner s(TrimBlanks(text));
  double date = 0;
  const bool ok = ScanDate(s, fs, date);
  return Finish(s, ok, date);
}

std::optional<double> ParseTime(StringView text, const FormatSettings& fs) {
  Scanner s(TrimBlanks(text));
  double time = 0;
  const bool ok = ScanTime(s, fs, time);
  return Finish(s, ok, time);
}

std::optional<double> ParseDateTime(StringView text, const FormatSettings& fs) {
  text = TrimBlanks(text);
  Scanner s(text);
  double date = 0, time = 0;
  if (ScanDate(s, fs, date)) {
    const size_t date_end = s.Pos();
    s.SkipBlanks();
    if (s.AtEnd()) return date;
    if (s.Pos() == date_end) return std::nullopt;  // the time must be set apart by a blank
    const bool ok = ScanTime(s, fs, time);
    return Finish(s, ok, ComposeDateTime(date, time));
  }
  return ParseTime(text, fs);
}

double StrToDate(StringView text, const FormatSettings& fs) {
  if (const std::optional<double> v = ParseDate(text, fs)) return *v;
  ThrowNotValid(text, u"date");
}

double StrToTime(StringView text, const FormatSettings& fs) {
  if (const std::optional<double> v = ParseTime(text, fs)) return *v;
  ThrowNotValid(text, u"time");
}

double StrToDateTime(StringView text, const FormatSettings& fs) {
  if (const std::optional<double> v = ParseDateTime(text, fs)) return *v;
  ThrowNotValid(text, u"date and time");
}

}  // namespace zavrik
