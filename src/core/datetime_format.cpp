#include "core/datetime_format.h"

#include <utility>

#include "core/datetime.h"
#include "core/float_text.h"

namespace zavrik {
namespace {

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; }

bool StartsWithNoCase(StringView text, size_t pos, StringView prefix) {
  return text.size() - pos >= prefix.size() && SameTextAscii(text.substr(pos, prefix.size()), prefix);
}

// True when the picture asks for a 12-hour clock (am/pm, a/p or ampm outside quotes).
bool UsesTwelveHours(StringView format) {
  for (size_t i = 0; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (c == u'"' || c == u'\'') {
      const size_t end = format.find(c, i + 1);
      if (end == StringView::npos) return false;
      i = end;
    } else if (StartsWithNoCase(format, i, u"am/pm") || StartsWithNoCase(format, i, u"a/p") ||
               StartsWithNoCase(format, i, u"ampm")) {
      return true;
    }
  }
  return false;
}

class DateTimeWriter {
 public:
  DateTimeWriter(double value, const FormatSettings& fs) : value_(value), fs_(fs) {
    DecodeDateTime(value, date_, time_);
  }

  void Write(StringView format, int depth) {
    if (depth > 2) return;  // the settings' own pictures may not nest further
    const bool twelve_hours = UsesTwelveHours(format);
    char16_t last_specifier = 0;
    size_t i = 0;
    while (i < format.size()) {
      const char16_t c = format[i];
      const char16_t u = Upper(c);
      size_t count = 1;
      while (i + count < format.size() && Upper(format[i + count]) == u) ++count;
      switch (u) {
        case u'"':
        case u'\'': {
          const size_t end = format.find(c, i + 1);
          const size_t stop = end == StringView::npos ? format.size() : end;
          out_.append(format.substr(i + 1, stop - i - 1));
          i = end == StringView::npos ? stop : end + 1;
          continue;
        }
        case u'D': WriteDay(count, depth); break;
        case u'M':
          if (last_specifier == u'H' && count <= 2) {
            Number(time_.minute, count);
          } else {
            WriteMonth(count);
          }
          break;
        case u'Y': Number(count <= 2 ? date_.year % 100 : date_.year, count <= 2 ? 2 : 4); break;
        case u'H': {
          int hour = time_.hour;
          if (twelve_hours) hour = hour % 12 == 0 ? 12 : hour % 12;
          Number(hour, count);
          break;
        }
        case u'N': Number(time_.minute, count); break;
        case u'S': Number(time_.second, count); break;
        case u'Z': Number(time_.millisecond, count <= 2 ? 1 : 3); break;
        case u'T': Write(count == 1 ? fs_.short_time_format : fs_.long_time_format, depth + 1); break;
        case u'C': WriteC(depth); break;
        case u'/': out_.append(count, fs_.date_separator); break;
        case u':': out_.append(count, fs_.time_separator); break;
        case u'A':
          count = WriteAmPm(format, i);
          if (count == 0) {
            out_.push_back(c);
            count = 1;
          }
          break;
        default: out_.append(format.substr(i, count)); break;
      }
      if (u == u'D' || u == u'M' || u == u'Y' || u == u'H' || u == u'N' || u == u'S' ||
          u == u'Z' || u == u'T' || u == u'C') {
        last_specifier = u;
      }
      i += count;
    }
  }

  String TakeResult() { return std::move(out_); }

 private:
  void Number(int value, size_t min_digits) {
    if (value < 0) {
      // IntToStr's form: the sign, then the padded digits.
      const String digits = IntToStr(value);
      if (digits.size() < min_digits) out_.append(min_digits - digits.size(), u'0');
      out_.append(digits);
      return;
    }
    char16_t digits[12];
    size_t count = 0;
    auto rest = static_cast<unsigned>(value);
    do {
      digits[count++] = static_cast<char16_t>(u'0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    if (count < min_digits) out_.append(min_digits - count, u'0');
    while (count > 0) out_.push_back(digits[--count]);
  }

  int WeekDay() const { return DayOfWeek(value_) - 1; }

  void WriteDay(size_t count, int depth) {
    switch (count) {
      case 1:
      case 2: Number(date_.day, count); break;
      case 3: out_.append(fs_.short_day_names[WeekDay()]); break;
      case 4: out_.append(fs_.long_day_names[WeekDay()]); break;
      case 5: Write(fs_.short_date_format, depth + 1); break;
      default: Write(fs_.long_date_format, depth + 1); break;
    }
  }

  void WriteMonth(size_t count) {
    switch (count) {
      case 1:
      case 2: Number(date_.month, count); break;
      case 3: out_.append(fs_.short_month_names[date_.month - 1]); break;
      default: out_.append(fs_.long_month_names[date_.month - 1]); break;
    }
  }

  void WriteC(int depth) {
    Write(fs_.short_date_format, depth + 1);
    if (time_.hour != 0 || time_.minute != 0 || time_.second != 0 || time_.millisecond != 0) {
      out_.push_back(u' ');
      Write(fs_.long_time_format, depth + 1);
    }
  }

  // Writes an am/pm marker starting at `pos`; returns its length, 0 when there is none.
  size_t WriteAmPm(StringView format, size_t pos) {
    const bool pm = time_.hour >= 12;
    if (StartsWithNoCase(format, pos, u"am/pm")) {
      const bool lower = format[pos] == u'a';
      out_.append(lower ? (pm ? u"pm" : u"am") : (pm ? u"PM" : u"AM"));
      return 5;
    }
    if (StartsWithNoCase(format, pos, u"a/p")) {
      const bool lower = format[pos] == u'a';
      out_.push_back(lower ? (pm ? u'p' : u'a') : (pm ? u'P' : u'A'));
      return 3;
    }
    if (StartsWithNoCase(format, pos, u"ampm")) {
      out_.append(pm ? fs_.time_pm : fs_.time_am);
      return 4;
    }
    return 0;
  }

  double value_;
  const FormatSettings& fs_;
  DateParts date_;
  TimeParts time_;
  String out_;
};

}  // namespace

String FormatDateTime(StringView format, double value, const FormatSettings& fs) {
  DateTimeWriter writer(value, fs);
  writer.Write(format.empty() ? StringView(u"c") : format, 0);
  return writer.TakeResult();
}

String DateToStr(double value, const FormatSettings& fs) {
  return FormatDateTime(fs.short_date_format, value, fs);
}

String TimeToStr(double value, const FormatSettings& fs) {
  return FormatDateTime(fs.long_time_format, value, fs);
}

String DateTimeToStr(double value, const FormatSettings& fs) {
  return FormatDateTime(u"c", value, fs);
}

}  // namespace zavrik
