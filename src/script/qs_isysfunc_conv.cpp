// The library's conversion, formatting and date functions.
#include "core/datetime.h"
#include "core/datetime_format.h"
#include "core/datetime_parse.h"
#include "core/error.h"
#include "core/format_float.h"
#include "core/format_printf.h"
#include "core/number_parse.h"
#include "core/variant_convert.h"
#include "script/qs_ihelpers.h"
#include "script/qs_isysrtti.h"

namespace zavrik {
namespace {

String Str(TqsMethodHelper& c, int i) { return VarToString(c.ParamValue(i)); }
double Float(TqsMethodHelper& c, int i) { return VarToDouble(c.ParamValue(i)); }
int Int(TqsMethodHelper& c, int i) { return VarToInteger(c.ParamValue(i)); }
double DateArg(TqsMethodHelper& c, int i) { return VarToDate(c.ParamValue(i)); }

// The text laid into an edit mask "mask;saved;blank": "0", "9", "#", "L", "l", "A", "a", "C", "c"
// take the next character of the value; ">" upper-cases the characters after it, "<" lower-cases
// them, "<>" stops either; "\" quotes the next character; other mask characters are literals.
// With literals saved ("1" in the second section), a value character equal to the literal at its
// place is the literal itself. A missing value character leaves a space; "!" is passed over.
String FormatMaskText(StringView edit_mask, StringView value) {
  StringView mask = edit_mask;
  bool literals_saved = false;
  if (const size_t options = mask.find(u';'); options != StringView::npos) {
    const StringView rest = mask.substr(options + 1);
    literals_saved = !rest.empty() && rest.front() == u'1';
    mask = mask.substr(0, options);
  }
  constexpr StringView kTakes = u"09#LlAaCc";
  String result;
  size_t v = 0;
  char16_t (*map_case)(char16_t) = nullptr;
  for (size_t i = 0; i < mask.size(); ++i) {
    const char16_t m = mask[i];
    if (m == u'<' && i + 1 < mask.size() && mask[i + 1] == u'>') {
      map_case = nullptr;
      ++i;
    } else if (m == u'>') {
      map_case = qsUpperChar;
    } else if (m == u'<') {
      map_case = qsLowerChar;
    } else if (m == u'!') {
      continue;
    } else if (kTakes.find(m) != StringView::npos) {
      const char16_t ch = v < value.size() ? value[v++] : u' ';
      result += map_case ? map_case(ch) : ch;
    } else {
      const char16_t literal = m == u'\\' && i + 1 < mask.size() ? mask[++i] : m;
      if (literals_saved && v < value.size() && value[v] == literal) ++v;
      result += literal;
    }
  }
  return result;
}

}  // namespace

Variant qsCallConvFunction(const String& name, TqsMethodHelper& c) {
  if (name == u"INTTOSTR") return Variant(Utf8ToString(std::to_string(VarToInt64(c.ParamValue(0)))));
  if (name == u"FLOATTOSTR") return Variant(VarToString(Variant(Float(c, 0))));
  if (name == u"DATETOSTR") return Variant(DateToStr(DateArg(c, 0)));
  if (name == u"TIMETOSTR") return Variant(TimeToStr(DateArg(c, 0)));
  if (name == u"DATETIMETOSTR") return Variant(DateTimeToStr(DateArg(c, 0)));
  if (name == u"BOOLTOSTR") return Variant(String(VarToBoolean(c.ParamValue(0)) ? u"-1" : u"0"));
  if (name == u"VARTOSTR") return Variant(VarToStr(c.ParamValue(0)));
  if (name == u"STRTOINT") return Variant(StrToInt(Str(c, 0)));
  if (name == u"STRTOINT64") return Variant(StrToInt64(Str(c, 0)));
  if (name == u"STRTOFLOAT") return Variant(StrToFloat(Str(c, 0)));
  if (name == u"STRTODATE") return Variant(DateTime{StrToDate(Str(c, 0))});
  if (name == u"STRTOTIME") return Variant(DateTime{StrToTime(Str(c, 0))});
  if (name == u"STRTODATETIME") return Variant(DateTime{StrToDateTime(Str(c, 0))});
  if (name == u"STRTOBOOL") return Variant(StrToBool(Str(c, 0)));
  return Variant::Null();
}

Variant qsCallFormatFunction(const String& name, TqsMethodHelper& c) {
  if (name == u"FORMAT") {
    const Variant args = c.ParamValue(1);
    if (auto array = args.ArrayValue()) return Variant(Format(Str(c, 0), array->items));
    if (args.IsNull() || args.IsEmpty()) return Variant(Format(Str(c, 0), {}));
    return Variant(Format(Str(c, 0), std::span<const Variant>(&args, 1)));
  }
  if (name == u"FORMATFLOAT") return Variant(FormatFloat(Str(c, 0), Float(c, 1) * 1.0));
  if (name == u"FORMATDATETIME") return Variant(FormatDateTime(Str(c, 0), DateArg(c, 1)));
  if (name == u"FORMATMASKTEXT") return Variant(FormatMaskText(Str(c, 0), Str(c, 1)));
  return Variant::Null();
}

Variant qsCallDateFunction(const String& name, TqsMethodHelper& c) {
  if (name == u"ENCODEDATE") return Variant(DateTime{EncodeDate(Int(c, 0), Int(c, 1), Int(c, 2))});
  if (name == u"ENCODETIME") {
    return Variant(DateTime{EncodeTime(Int(c, 0), Int(c, 1), Int(c, 2), Int(c, 3))});
  }
  if (name == u"DECODEDATE") {
    const DateParts d = DecodeDate(DateArg(c, 0));
    c.SetParamValue(1, Variant(int32_t{d.year}));
    c.SetParamValue(2, Variant(int32_t{d.month}));
    c.SetParamValue(3, Variant(int32_t{d.day}));
    return Variant::Null();
  }
  if (name == u"DECODETIME") {
    const TimeParts t = DecodeTime(DateArg(c, 0));
    c.SetParamValue(1, Variant(int32_t{t.hour}));
    c.SetParamValue(2, Variant(int32_t{t.minute}));
    c.SetParamValue(3, Variant(int32_t{t.second}));
    c.SetParamValue(4, Variant(int32_t{t.millisecond}));
    return Variant::Null();
  }
  const double now = CurrentDateTime();
  if (name == u"DATE") return Variant(DateTime{static_cast<double>(static_cast<int64_t>(now))});
  if (name == u"TIME") return Variant(DateTime{now - static_cast<double>(static_cast<int64_t>(now))});
  if (name == u"NOW") return Variant(DateTime{now});
  if (name == u"DAYOFWEEK") return Variant(int32_t{DayOfWeek(DateArg(c, 0))});
  if (name == u"ISLEAPYEAR") return Variant(IsLeapYear(Int(c, 0)));
  if (name == u"DAYSINMONTH") {
    const int month = Int(c, 1);
    if (month < 1 || month > 12) throw Error(u"Range check error");
    return Variant(int32_t{DaysInMonth(Int(c, 0), month)});
  }
  return Variant::Null();
}

}  // namespace zavrik
