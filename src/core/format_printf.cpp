#include "core/format_printf.h"

#include <algorithm>

#include "core/error.h"
#include "core/float_text.h"
#include "core/numeric.h"
#include "core/variant_access.h"
#include "core/variant_convert.h"

namespace zavrik {
namespace {

constexpr int kMaxWidth = 4096;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsFloatKind(VarKind k) {
  return k == VarKind::Single || k == VarKind::Double || k == VarKind::Currency ||
         k == VarKind::Date;
}

// Kinds that travel as plain Variants and are converted by the directive.
bool IsLooseKind(VarKind k) {
  return k == VarKind::Empty || k == VarKind::Null || k == VarKind::Array;
}

class Formatter {
 public:
  Formatter(StringView format, std::span<const Variant> args, const FormatSettings& fs)
      : format_(format), args_(args), fs_(fs) {}

  String Run() {
    while (pos_ < format_.size()) {
      const char16_t c = format_[pos_++];
      if (c != u'%') {
        out_.push_back(c);
      } else if (pos_ < format_.size() && format_[pos_] == u'%') {
        out_.push_back(u'%');
        ++pos_;
      } else {
        Directive(pos_ - 1);
      }
    }
    return std::move(out_);
  }

 private:
  [[noreturn]] void Invalid() const {
    String message = u"Format '";
    message.append(directive_);
    message.append(u"' invalid or incompatible with argument");
    throw Error(std::move(message));
  }

  const Variant& NextArg() {
    if (next_arg_ >= args_.size()) {
      String message = u"No argument for format '";
      message.append(directive_);
      message.append(u"'");
      throw Error(std::move(message));
    }
    return args_[next_arg_++];
  }

  // Digits or "*"; -1 when neither is present.
  int Count() {
    if (pos_ < format_.size() && format_[pos_] == u'*') {
      ++pos_;
      const Variant& arg = NextArg();
      if (!IsIntegerKind(arg.Kind())) Invalid();
      return static_cast<int>(std::clamp<Wide>(IntegerValue(arg), -1, kMaxWidth));
    }
    if (pos_ >= format_.size() || !IsDigit(format_[pos_])) return -1;
    int n = 0;
    while (pos_ < format_.size() && IsDigit(format_[pos_])) {
      n = std::min(n * 10 + (format_[pos_++] - u'0'), kMaxWidth);
    }
    return n;
  }

  void Directive(size_t start) {
    // The directive's text, for messages: up to and including its type letter.
    size_t end = start + 1;
    while (end < format_.size() && !IsAsciiLetter(format_[end])) ++end;
    directive_ = format_.substr(start, std::min(end + 1, format_.size()) - start);

    int n = Count();
    if (pos_ < format_.size() && format_[pos_] == u':') {
      ++pos_;
      if (n < 0) Invalid();
      next_arg_ = static_cast<size_t>(n);
      n = -1;
    }
    bool left = false;
    if (n < 0 && pos_ < format_.size() && format_[pos_] == u'-') {
      left = true;
      ++pos_;
    }
    const int width = n >= 0 ? n : Count();
    int precision = -1;
    if (pos_ < format_.size() && format_[pos_] == u'.') {
      ++pos_;
      precision = std::max(Count(), 0);
    }
    if (pos_ >= format_.size()) Invalid();
    const char16_t type = format_[pos_++];
    const String text = Convert(type, NextArg(), precision);
    const size_t pad = width > static_cast<int>(text.size()) ? width - text.size() : 0;
    if (!left) out_.append(pad, u' ');
    out_.append(text);
    if (left) out_.append(pad, u' ');
  }

  int64_t IntegerArg(const Variant& arg) {
    if (IsIntegerKind(arg.Kind())) return static_cast<int64_t>(IntegerValue(arg));
    if (IsLooseKind(arg.Kind())) return VarToInt64(arg, fs_);
    Invalid();
  }

  double FloatArg(const Variant& arg) {
    if (IsFloatKind(arg.Kind()) || IsLooseKind(arg.Kind())) return VarToDouble(arg, fs_);
    Invalid();
  }

  // Unsigned bits of an integer in its own width (32 bits for the Int class).
  uint64_t UnsignedArg(const Variant& arg) {
    const int64_t v = IntegerArg(arg);
    const bool wide = arg.Kind() == VarKind::Int64 || arg.Kind() == VarKind::UInt64 ||
                      arg.Kind() == VarKind::Object || v < INT32_MIN || v > UINT32_MAX;
    return wide ? static_cast<uint64_t>(v) : static_cast<uint32_t>(v);
  }

  static String MinDigits(String digits, int precision) {
    const bool negative = !digits.empty() && digits[0] == u'-';
    const size_t have = digits.size() - (negative ? 1 : 0);
    if (precision > static_cast<int>(have)) digits.insert(negative ? 1 : 0, precision - have, u'0');
    return digits;
  }

  String Convert(char16_t type, const Variant& arg, int precision) {
    switch (type >= u'a' && type <= u'z' ? type - 32 : type) {
      case u'D':
        if (arg.Kind() == VarKind::UInt64) return MinDigits(UIntToStr(arg.UnsignedValue()), precision);
        return MinDigits(IntToStr(IntegerArg(arg)), precision);
      case u'U': return MinDigits(UIntToStr(UnsignedArg(arg)), precision);
      case u'X': return IntToHex(UnsignedArg(arg), precision);
      case u'P': return IntToHex(static_cast<uint64_t>(IntegerArg(arg)), 16);
      case u'E': return FloatToStrExponent(FloatArg(arg), precision < 0 ? 15 : precision, fs_);
      case u'F': return FloatToStrFixed(FloatArg(arg), precision < 0 ? 2 : precision, false, fs_);
      case u'N': return FloatToStrFixed(FloatArg(arg), precision < 0 ? 2 : precision, true, fs_);
      case u'G': return FloatToStrGeneral(FloatArg(arg), precision < 0 ? 15 : precision, fs_);
      case u'M':
        return FloatToStrCurrency(FloatArg(arg), precision < 0 ? fs_.currency_decimals : precision,
                                  fs_);
      case u'S': {
        String s = VarToStr(arg, fs_);
        if (precision >= 0 && static_cast<size_t>(precision) < s.size()) s.resize(precision);
        return s;
      }
      default: Invalid();
    }
  }

  StringView format_;
  std::span<const Variant> args_;
  const FormatSettings& fs_;
  size_t pos_ = 0;
  size_t next_arg_ = 0;
  StringView directive_;
  String out_;
};

}  // namespace

String Format(StringView format, std::span<const Variant> args, const FormatSettings& fs) {
  return Formatter(format, args, fs).Run();
}

}  // namespace zavrik
