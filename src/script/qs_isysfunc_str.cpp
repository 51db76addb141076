// The library's string, maths and other functions.
#include <chrono>
#include <cmath>
#include <random>

#include "core/datetime_format.h"
#include "core/datetime_parse.h"
#include "core/error.h"
#include "core/number_parse.h"
#include "core/numeric.h"
#include "core/variant_convert.h"
#include "core/variant_ops.h"
#include "script/qs_ihelpers.h"
#include "script/qs_isysrtti.h"

namespace zavrik {

char16_t qsUpperChar(char16_t ch) {
  if (ch >= u'a' && ch <= u'z') return static_cast<char16_t>(ch - 32);
  if ((ch >= 0xE0 && ch <= 0xFE && ch != 0xF7)) return static_cast<char16_t>(ch - 32);
  if (ch >= 0x0430 && ch <= 0x044F) return static_cast<char16_t>(ch - 0x20);
  if (ch >= 0x0450 && ch <= 0x045F) return static_cast<char16_t>(ch - 0x50);
  return ch;
}

char16_t qsLowerChar(char16_t ch) {
  if (ch >= u'A' && ch <= u'Z') return static_cast<char16_t>(ch + 32);
  if ((ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) return static_cast<char16_t>(ch + 32);
  if (ch >= 0x0410 && ch <= 0x042F) return static_cast<char16_t>(ch + 0x20);
  if (ch >= 0x0400 && ch <= 0x040F) return static_cast<char16_t>(ch + 0x50);
  return ch;
}

namespace {

String Str(TqsMethodHelper& c, int i) { return VarToString(c.ParamValue(i)); }
double Float(TqsMethodHelper& c, int i) { return VarToDouble(c.ParamValue(i)) * 1.0; }
int Int(TqsMethodHelper& c, int i) { return VarToInteger(c.ParamValue(i)); }

String MapCase(String s, char16_t (*map)(char16_t)) {
  for (char16_t& ch : s) ch = map(ch);
  return s;
}

// Copy with the system's clamping: a start before 1 counts from 1, counts past the end stop there.
String CopyText(const String& s, int from, int count) {
  if (from < 1) from = 1;
  if (count <= 0 || static_cast<size_t>(from) > s.size()) return String();
  return s.substr(static_cast<size_t>(from) - 1, static_cast<size_t>(count));
}

String DeleteText(String s, int from, int count) {
  if (from < 1 || count <= 0 || static_cast<size_t>(from) > s.size()) return s;
  s.erase(static_cast<size_t>(from) - 1, static_cast<size_t>(count));
  return s;
}

std::mt19937_64& Generator() {
  static std::mt19937_64 generator(5489u);
  return generator;
}

// Longer texts and arrays than this fail instead of exhausting memory in one step.
constexpr int kMaxSetLength = 1 << 28;

Variant SetLength(const Variant& value, int length) {
  if (length < 0) length = 0;
  if (length > kMaxSetLength) throw Error(u"Out of memory");
  if (auto array = value.ArrayValue()) {
    const int low = array->bounds.empty() ? 0 : array->bounds[0].low;
    Variant resized = Variant::CreateArray({ArrayBound{low, low + length - 1}}, array->element_kind);
    auto target = resized.ArrayValue();
    for (size_t i = 0; i < target->items.size() && i < array->items.size(); ++i) {
      target->items[i] = array->items[i];
    }
    return resized;
  }
  String s = VarToStr(value);
  s.resize(static_cast<size_t>(length), u' ');
  return Variant(std::move(s));
}

Variant VarArrayCreate(const Variant& bounds, int type_code) {
  auto array = bounds.ArrayValue();
  if (!array || array->items.size() % 2 != 0 || array->items.empty()) {
    throw Error(u"Range check error");
  }
  std::vector<ArrayBound> dims;
  for (size_t i = 0; i + 1 < array->items.size(); i += 2) {
    dims.push_back({VarToInteger(array->items[i]), VarToInteger(array->items[i + 1])});
  }
  return Variant::CreateArray(std::move(dims), ArrayElementKindOfTypeCode(type_code));
}

}  // namespace

Variant qsCallStrFunction(const String& name, TqsMethodHelper& c) {
  if (name == u"LENGTH") {
    const Variant v = c.ParamValue(0);
    if (auto array = v.ArrayValue()) {
      return Variant(array->bounds.empty() ? int32_t{0} : int32_t{array->bounds[0].Count()});
    }
    return Variant(static_cast<int32_t>(VarToStr(v).size()));
  }
  if (name == u"COPY") return Variant(CopyText(Str(c, 0), Int(c, 1), Int(c, 2)));
  if (name == u"POS") {
    const String sub = Str(c, 0), s = Str(c, 1);
    if (sub.empty()) return Variant(int32_t{0});
    const size_t at = s.find(sub);
    return Variant(at == String::npos ? int32_t{0} : static_cast<int32_t>(at + 1));
  }
  if (name == u"DELETE" || name == u"DELETESTR") {
    c.SetParamValue(0, Variant(DeleteText(Str(c, 0), Int(c, 1), Int(c, 2))));
    return Variant::Null();
  }
  if (name == u"INSERT") {
    String target = Str(c, 1);
    int pos = Int(c, 2);
    if (pos < 1) pos = 1;
    if (static_cast<size_t>(pos) > target.size() + 1) pos = static_cast<int>(target.size()) + 1;
    target.insert(static_cast<size_t>(pos) - 1, Str(c, 0));
    c.SetParamValue(1, Variant(std::move(target)));
    return Variant::Null();
  }
  if (name == u"UPPERCASE") return Variant(MapCase(Str(c, 0), qsUpperChar));
  if (name == u"LOWERCASE") return Variant(MapCase(Str(c, 0), qsLowerChar));
  if (name == u"TRIM") return Variant(Trim(Str(c, 0)));
  if (name == u"NAMECASE") {
    String s = MapCase(Str(c, 0), qsLowerChar);
    for (size_t i = 0; i < s.size(); ++i) {
      if (i == 0 || s[i - 1] == u' ') s[i] = qsUpperChar(s[i]);
    }
    return Variant(std::move(s));
  }
  if (name == u"COMPARETEXT") {
    const String a = MapCase(Str(c, 0), qsUpperChar), b = MapCase(Str(c, 1), qsUpperChar);
    return Variant(static_cast<int32_t>(a.compare(b) < 0 ? -1 : a == b ? 0 : 1));
  }
  if (name == u"CHR") return Variant(String(1, static_cast<char16_t>(Int(c, 0) & 0xFFFF)));
  if (name == u"ORD") {
    const Variant v = c.ParamValue(0);
    if (!v.IsString()) return Variant(VarToInteger(v));
    const String& s = v.StringValue();
    if (s.empty()) throw Error(u"Range check error");
    return Variant(static_cast<int32_t>(s[0]));
  }
  if (name == u"SETLENGTH") {
    c.SetParamValue(0, SetLength(c.ParamValue(0), Int(c, 1)));
    return Variant::Null();
  }
  return Variant::Null();
}

Variant qsCallMathFunction(const String& name, TqsMethodHelper& c) {
  if (name == u"PI") return Variant(3.1415926535897932385);
  const double x = Float(c, 0);
  if (name == u"ROUND") return Variant(RoundToInt32(x));
  if (name == u"TRUNC") {
    if (!(std::trunc(x) >= INT32_MIN && std::trunc(x) <= INT32_MAX)) throw Error(kRangeCheckError);
    return Variant(static_cast<int32_t>(std::trunc(x)));
  }
  if (name == u"INT") return Variant(std::trunc(x));
  if (name == u"FRAC") return Variant(x - std::trunc(x));
  if (name == u"SQRT") {
    if (x < 0) throw Error(kInvalidFloatOperation);
    return Variant(std::sqrt(x));
  }
  if (name == u"ABS") return Variant(std::fabs(x));
  if (name == u"SIN") return Variant(std::sin(x));
  if (name == u"COS") return Variant(std::cos(x));
  if (name == u"ARCTAN") return Variant(std::atan(x));
  if (name == u"TAN") return Variant(DivideFloat(std::sin(x), std::cos(x)));
  if (name == u"EXP") return Variant(std::exp(x));
  if (name == u"LN") {
    if (x <= 0) throw Error(kInvalidFloatOperation);
    return Variant(std::log(x));
  }
  return Variant::Null();
}

Variant qsCallOtherFunction(const String& name, TqsMethodHelper& c) {
  if (name == u"INC") {
    c.SetParamValue(0, VarAdd(c.ParamValue(0), c.ParamValue(1)));
    return Variant::Null();
  }
  if (name == u"DEC") {
    c.SetParamValue(0, VarSub(c.ParamValue(0), c.ParamValue(1)));
    return Variant::Null();
  }
  if (name == u"RAISEEXCEPTION") throw Error(Str(c, 0));
  if (name == u"SHOWMESSAGE") {
    qsShowMessage(VarToStr(c.ParamValue(0)));
    return Variant::Null();
  }
  if (name == u"RANDOMIZE") {
    Generator().seed(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return Variant::Null();
  }
  if (name == u"RANDOM") return Variant(std::uniform_real_distribution<double>(0.0, 1.0)(Generator()));
  if (name == u"VALIDINT") return Variant(ParseInt32(Str(c, 0)).has_value());
  if (name == u"VALIDFLOAT") return Variant(ParseFloat(Str(c, 0)).has_value());
  if (name == u"VALIDDATE") {
    const Variant v = c.ParamValue(0);
    const String text = v.Kind() == VarKind::Date ? DateToStr(v.DateValue().days) : VarToStr(v);
    return Variant(ParseDate(text).has_value());
  }
  if (name == u"EXTRACTFILEPATH") {
    const String path = Str(c, 0);
    const size_t at = path.find_last_of(u"\\/:");
    return Variant(at == String::npos ? String() : path.substr(0, at + 1));
  }
  if (name == u"CREATEOLEOBJECT") {
    throw Error(u"CreateOleObject: OLE automation is not available (class '" + Str(c, 0) + u"')");
  }
  if (name == u"VARARRAYCREATE") return VarArrayCreate(c.ParamValue(0), Int(c, 1));
  if (name == u"VARTYPE") return Variant(static_cast<int32_t>(VarTypeCode(c.ParamValue(0))));
  return Variant::Null();
}

}  // namespace zavrik
