#include "core/format_float.h"

#include <cmath>
#include <vector>

#include "core/decimal.h"
#include "core/float_text.h"

namespace zavrik {
namespace {

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

// Index just past the literal that opens at `pos` (the end of the text when it is not closed).
size_t SkipQuoted(StringView text, size_t pos) {
  const size_t end = text.find(text[pos], pos + 1);
  return end == StringView::npos ? text.size() : end + 1;
}

bool IsExponentAt(StringView s, size_t i) {
  return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

std::vector<StringView> SplitSections(StringView format) {
  std::vector<StringView> sections;
  size_t start = 0;
  for (size_t i = 0; i < format.size() && sections.size() < 2;) {
    if (IsQuote(format[i])) {
      i = SkipQuoted(format, i);
    } else if (format[i] == u';') {
      sections.push_back(format.substr(start, i - start));
      start = ++i;
    } else {
      ++i;
    }
  }
  sections.push_back(format.substr(start));
  return sections;
}

// What a section asks for.
struct Picture {
  int int_places = 0;      // digit places before the decimal point
  int min_int_digits = 0;  // places from the first "0" to the decimal point
  int dec_places = 0;      // digit places after the decimal point
  int min_decimals = 0;    // up to the last "0" after the decimal point
  bool thousands = false;
  bool exponent = false;
  int exponent_digits = 0;

  explicit Picture(StringView s) {
    bool after_point = false;
    int first_zero = -1;
    for (size_t i = 0; i < s.size();) {
      const char16_t c = s[i];
      if (IsQuote(c)) {
        i = SkipQuoted(s, i);
        continue;
      }
      if (IsExponentAt(s, i)) {
        exponent = true;
        for (i += 2; i < s.size() && s[i] == u'0' && exponent_digits < 4; ++i) ++exponent_digits;
        break;  // placeholders after the exponent are its digits
      }
      if (c == u'0' || c == u'#') {
        if (after_point) {
          ++dec_places;
          if (c == u'0') min_decimals = dec_places;
        } else {
          if (c == u'0' && first_zero < 0) first_zero = int_places;
          ++int_places;
        }
      } else if (c == u'.') {
        after_point = true;
      } else if (c == u',' && !after_point) {
        thousands = true;
      }
      ++i;
    }
    min_int_digits = first_zero < 0 ? 0 : int_places - first_zero;
  }
};

class SectionWriter {
 public:
  SectionWriter(StringView section, double magnitude, const FormatSettings& fs)
      : section_(section), picture_(section), fs_(fs) {
    Decimal d = ToDecimal(magnitude);
    if (picture_.exponent) {
      RoundToSignificant(d, picture_.int_places + picture_.dec_places);
      exponent_ = d.IsZero() ? 0 : d.exponent - picture_.int_places;
      if (!d.IsZero()) d.exponent = picture_.int_places;
    } else {
      RoundToDecimals(d, picture_.dec_places);
    }
    zero_ = d.IsZero();
    if (d.exponent > 0) int_digits_ = IntegerPartText(d);
    if (static_cast<int>(int_digits_.size()) < picture_.min_int_digits) {
      int_digits_.insert(0, picture_.min_int_digits - int_digits_.size(), '0');
    }
    decimals_ = FractionText(d, picture_.dec_places);
    while (static_cast<int>(decimals_.size()) > picture_.min_decimals && decimals_.back() == '0') {
      decimals_.pop_back();
    }
  }

  bool RoundsToZero() const { return zero_; }

  String Write(bool minus) {
    if (minus) out_.push_back(u'-');
    bool after_point = false;
    int int_seen = 0, dec_seen = 0;
    for (size_t i = 0; i < section_.size();) {
      const char16_t c = section_[i];
      if (IsQuote(c)) {
        const size_t close = section_.find(c, i + 1);
        const size_t stop = close == StringView::npos ? section_.size() : close;
        out_.append(section_.substr(i + 1, stop - i - 1));
        i = SkipQuoted(section_, i);
        continue;
      }
      if (IsExponentAt(section_, i)) {
        WriteExponent(c, section_[i + 1]);
        for (i += 2; i < section_.size() && section_[i] == u'0'; ++i) {}
        continue;
      }
      if ((c == u'0' || c == u'#') && !after_point) {
        WriteIntegerPlace(int_seen++);
      } else if (c == u'0' || c == u'#') {
        if (dec_seen < static_cast<int>(decimals_.size())) out_.push_back(decimals_[dec_seen]);
        ++dec_seen;
      } else if (c == u'.' && !after_point) {
        after_point = true;
        if (picture_.int_places == 0) WriteIntegerDigits(0, int_digits_.size());
        if (!decimals_.empty()) out_.push_back(fs_.decimal_separator);
      } else if (c != u',') {
        out_.push_back(c);
      }
      ++i;
    }
    return std::move(out_);
  }

 private:
  void WriteIntegerDigits(size_t from, size_t to) {
    for (size_t j = from; j < to; ++j) {
      out_.push_back(static_cast<char16_t>(int_digits_[j]));
      const size_t remaining = int_digits_.size() - j - 1;
      if (picture_.thousands && remaining > 0 && remaining % 3 == 0) {
        out_.push_back(fs_.thousand_separator);
      }
    }
  }

  // The k-th integer place prints its digit; the first also prints the digits that have no place.
  void WriteIntegerPlace(int k) {
    const int n = static_cast<int>(int_digits_.size());
    const int excess = n - picture_.int_places;
    if (k == 0 && excess > 0) WriteIntegerDigits(0, excess);
    const int index = n - (picture_.int_places - k);
    if (index >= 0) WriteIntegerDigits(index, index + 1);
  }

  void WriteExponent(char16_t letter, char16_t sign) {
    out_.push_back(letter);
    if (exponent_ < 0) {
      out_.push_back(u'-');
    } else if (sign == u'+') {
      out_.push_back(u'+');
    }
    String digits = IntToStr(exponent_ < 0 ? -exponent_ : exponent_);
    if (static_cast<int>(digits.size()) < picture_.exponent_digits) {
      out_.append(picture_.exponent_digits - digits.size(), u'0');
    }
    out_.append(digits);
  }

  StringView section_;
  Picture picture_;
  const FormatSettings& fs_;
  std::string int_digits_;
  std::string decimals_;
  int exponent_ = 0;
  bool zero_ = false;
  String out_;
};

}  // namespace

String FormatFloat(StringView format, double value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const std::vector<StringView> sections = SplitSections(format);
  if (format.empty()) return FloatToStr(value, fs);
  const bool has_negative = sections.size() > 1 && !sections[1].empty();
  const bool has_zero = sections.size() > 2 && !sections[2].empty();
  if (value == 0 && has_zero) return SectionWriter(sections[2], 0, fs).Write(false);
  const bool use_negative = value < 0 && has_negative;
  SectionWriter writer(use_negative ? sections[1] : sections[0], std::fabs(value), fs);
  if (writer.RoundsToZero() && has_zero) return SectionWriter(sections[2], 0, fs).Write(false);
  return writer.Write(value < 0 && !use_negative && !writer.RoundsToZero());
}

}  // namespace zavrik
