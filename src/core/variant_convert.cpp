#include "core/variant_convert.h"

#include "core/datetime_format.h"
#include "core/datetime_parse.h"
#include "core/error.h"
#include "core/float_text.h"
#include "core/number_parse.h"
#include "core/numeric.h"
#include "core/variant_access.h"

namespace zavrik {
namespace {

constexpr const char16_t* kIntegerName = u"Integer";
constexpr const char16_t* kInt64Name = u"Int64";

// A String read as an integer: the number, or a Boolean word (True 1, False 0).
std::optional<int64_t> StringToInteger(const String& s, bool& out_of_range) {
  out_of_range = false;
  if (std::optional<int64_t> v = ParseInt64(s)) return v;
  if (SameTextAscii(s, u"True")) return 1;
  if (SameTextAscii(s, u"False")) return 0;
  // Digits that merely overflow are a range error rather than a conversion error.
  const size_t first = s.find_first_not_of(u" -+");
  out_of_range = first != String::npos && s.find_first_not_of(u"0123456789", first) == String::npos;
  return std::nullopt;
}

Wide WideInteger(const Variant& v, const char16_t* target) {
  switch (v.Kind()) {
    case VarKind::Empty:
      return 0;
    case VarKind::Single:
      if (std::optional<int64_t> r = RoundToInt64(v.SingleValue())) return *r;
      ThrowError(kRangeCheckError);
    case VarKind::Double:
    case VarKind::Date:
      if (std::optional<int64_t> r = RoundToInt64(v.DoubleValue())) return *r;
      ThrowError(kRangeCheckError);
    case VarKind::Currency:
      return CurrencyToInteger(v.CurrencyValue());
    case VarKind::String: {
      bool out_of_range = false;
      if (std::optional<int64_t> r = StringToInteger(v.StringValue(), out_of_range)) return *r;
      if (out_of_range) ThrowError(kRangeCheckError);
      ThrowConversionError(VarKind::String, target);
    }
    case VarKind::Null:
    case VarKind::Array:
      ThrowConversionError(v.Kind(), target);
    default:
      return IntegerValue(v);
  }
}

}  // namespace

void ThrowConversionError(VarKind from, const char16_t* to_name) {
  String message = u"Could not convert variant of type (";
  message.append(KindName(from));
  message.append(u") into type (");
  message.append(to_name);
  message.append(u")");
  throw Error(std::move(message));
}

int32_t VarToInteger(const Variant& v, const FormatSettings& fs) {
  if (v.Kind() == VarKind::Integer) return static_cast<int32_t>(v.SignedValue());
  if (v.IsString()) {
    // Hexadecimal texts fill 32 bits ("$FFFFFFFF" is -1).
    if (std::optional<int32_t> r = ParseInt32(v.StringValue())) return *r;
  }
  const Wide r = WideInteger(v, kIntegerName);
  if (r < INT32_MIN || r > INT32_MAX) ThrowError(kRangeCheckError);
  return static_cast<int32_t>(r);
}

int64_t VarToInt64(const Variant& v, const FormatSettings& fs) {
  const Wide r = WideInteger(v, kInt64Name);
  if (r < INT64_MIN || r > INT64_MAX) ThrowError(kRangeCheckError);
  return static_cast<int64_t>(r);
}

double VarToDouble(const Variant& v, const FormatSettings& fs) {
  switch (v.Kind()) {
    case VarKind::Double:
    case VarKind::Date:
      return v.DoubleValue();
    case VarKind::Single:
      return v.SingleValue();
    case VarKind::Currency:
      return CurrencyToDouble(v.CurrencyValue());
    case VarKind::String:
      if (std::optional<double> r = ParseFloat(v.StringValue(), fs)) return *r;
      ThrowConversionError(VarKind::String, u"Double");
    case VarKind::Null:
    case VarKind::Array:
      ThrowConversionError(v.Kind(), u"Double");
    default:
      return static_cast<double>(IntegerValue(v));
  }
}

bool VarToBoolean(const Variant& v, const FormatSettings& fs) {
  switch (v.Kind()) {
    case VarKind::Boolean:
      return v.BoolValue();
    case VarKind::Double:
    case VarKind::Date:
      return v.DoubleValue() != 0;
    case VarKind::Single:
      return v.SingleValue() != 0;
    case VarKind::Currency:
      return v.CurrencyValue().scaled != 0;
    case VarKind::String:
      if (std::optional<bool> r = ParseBool(v.StringValue(), fs)) return *r;
      ThrowConversionError(VarKind::String, u"Boolean");
    case VarKind::Null:
    case VarKind::Array:
      ThrowConversionError(v.Kind(), u"Boolean");
    default:
      return IntegerValue(v) != 0;
  }
}

Currency VarToCurrency(const Variant& v, const FormatSettings& fs) {
  switch (v.Kind()) {
    case VarKind::Currency:
      return v.CurrencyValue();
    case VarKind::Double:
    case VarKind::Date:
    case VarKind::Single:
    case VarKind::String:
      if (v.IsString() && !ParseFloat(v.StringValue(), fs)) {
        ThrowConversionError(VarKind::String, u"Currency");
      }
      return CurrencyFromDouble(VarToDouble(v, fs));
    case VarKind::Null:
    case VarKind::Array:
      ThrowConversionError(v.Kind(), u"Currency");
    default: {
      const Wide r = IntegerValue(v);
      if (r > INT64_MAX) ThrowError(kInvalidFloatOperation);
      return CurrencyFromInt(static_cast<int64_t>(r));
    }
  }
}

double VarToDate(const Variant& v, const FormatSettings& fs) {
  if (v.IsString()) {
    if (std::optional<double> r = ParseDateTime(v.StringValue(), fs)) return *r;
    if (std::optional<double> r = ParseFloat(v.StringValue(), fs)) return *r;
    ThrowConversionError(VarKind::String, u"Date");
  }
  if (v.IsNull() || v.IsArray()) ThrowConversionError(v.Kind(), u"Date");
  return VarToDouble(v, fs);
}

String VarToString(const Variant& v, const FormatSettings& fs) {
  switch (v.Kind()) {
    case VarKind::Empty:
      return String();
    case VarKind::String:
      return v.StringValue();
    case VarKind::Boolean:
      return v.BoolValue() ? u"True" : u"False";
    case VarKind::Single:
      return SingleToStr(v.SingleValue(), fs);
    case VarKind::Double:
      return FloatToStr(v.DoubleValue(), fs);
    case VarKind::Currency:
      return CurrToStr(v.CurrencyValue(), fs);
    case VarKind::Date:
      return DateTimeToStr(v.DoubleValue(), fs);
    case VarKind::Null:
    case VarKind::Array:
      ThrowConversionError(v.Kind(), u"UnicodeString");
    case VarKind::UInt64:
      return UIntToStr(v.UnsignedValue());
    default:
      return IntToStr(static_cast<int64_t>(IntegerValue(v)));
  }
}

String VarToStr(const Variant& v, const FormatSettings& fs) {
  return v.IsNull() ? String() : VarToString(v, fs);
}

}  // namespace zavrik
