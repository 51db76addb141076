#include "script/qs_isysrtti.h"

#include <cstdio>
#include <mutex>

#include "script/qs_ihelpers.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {
namespace {

std::mutex& ModulesLock() {
  static std::mutex lock;
  return lock;
}

std::vector<TqsRTTIModuleFactory>& Modules() {
  static std::vector<TqsRTTIModuleFactory> modules = {
      [](TqsScript& s) { return std::make_unique<TqsSysFunctions>(s); },
      qsMakeClassesModule,
      qsMakeNamedClassModules,
  };
  return modules;
}

std::function<void(const String&)>& ShowMessageHandler() {
  static std::function<void(const String&)> handler;
  return handler;
}

}  // namespace

const std::vector<TqsRTTIModuleFactory>& qsRTTIModules() {
  std::lock_guard guard(ModulesLock());
  return Modules();
}

void qsAddRTTIModule(TqsRTTIModuleFactory factory) {
  std::lock_guard guard(ModulesLock());
  Modules().push_back(std::move(factory));
}

void qsSetShowMessageHandler(std::function<void(const String& text)> handler) {
  ShowMessageHandler() = std::move(handler);
}

void qsShowMessage(const String& text) {
  if (ShowMessageHandler()) {
    ShowMessageHandler()(text);
    return;
  }
  const std::string utf8 = StringToUtf8(text) + "\n";
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

TqsSysFunctions::TqsSysFunctions(TqsScript& script) : TqsRTTIModule(script) {
  AddTypes();
  AddConstants();
  AddFunctions();
}

void TqsSysFunctions::AddTypes() {
  static const std::pair<const char16_t*, TqsVarType> kTypes[] = {
      {u"Byte", fvtInt},       {u"Word", fvtInt},        {u"Integer", fvtInt},
      {u"Longint", fvtInt},    {u"Cardinal", fvtInt},    {u"TColor", fvtInt},
      {u"TAlphaColor", fvtInt}, {u"Int64", fvtInt64},    {u"Boolean", fvtBool},
      {u"Real", fvtFloat},     {u"Single", fvtFloat},    {u"Double", fvtFloat},
      {u"Extended", fvtFloat}, {u"Currency", fvtFloat},  {u"TDate", fvtFloat},
      {u"TTime", fvtFloat},    {u"TDateTime", fvtFloat}, {u"Char", fvtChar},
      {u"String", fvtString},  {u"Variant", fvtVariant}, {u"Pointer", fvtVariant},
      {u"Array", fvtArray},    {u"Constructor", fvtConstructor},
  };
  for (const auto& [name, typ] : kTypes) FScript.AddType(name, typ);
}

void TqsSysFunctions::AddConstants() {
  FScript.AddConst(u"True", u"Boolean", Variant(true));
  FScript.AddConst(u"False", u"Boolean", Variant(false));
  FScript.AddConst(u"nil", u"Variant", Variant(int32_t{0}));
  FScript.AddConst(u"Null", u"Variant", Variant::Null());
  static const std::pair<const char16_t*, int32_t> kVarCodes[] = {
      {u"varEmpty", 0},      {u"varNull", 1},      {u"varSmallint", 2}, {u"varInteger", 3},
      {u"varSingle", 4},     {u"varDouble", 5},    {u"varCurrency", 6}, {u"varDate", 7},
      {u"varOleStr", 8},     {u"varDispatch", 9},  {u"varError", 10},   {u"varBoolean", 11},
      {u"varVariant", 12},   {u"varUnknown", 13},  {u"varShortInt", 16}, {u"varByte", 17},
      {u"varWord", 18},      {u"varLongWord", 19}, {u"varInt64", 20},   {u"varStrArg", 72},
      {u"varString", 256},   {u"varAny", 257},     {u"varTypeMask", 4095}, {u"varArray", 8192},
      {u"varByRef", 16384},
  };
  for (const auto& [name, code] : kVarCodes) FScript.AddConst(name, u"Integer", Variant(code));
  FScript.AddVariable(u"ExceptionClassName", u"String", Variant(String()));
  FScript.AddVariable(u"ExceptionMessage", u"String", Variant(String()));
  if (!FScript.Find(u"__StringHelper")) FScript.Add(std::make_unique<TqsStringHelper>(u"__StringHelper"));
  if (!FScript.Find(u"__ArrayHelper")) {
    FScript.Add(std::make_unique<TqsArrayHelper>(u"__ArrayHelper", fvtVariant, 3));
  }
}

void TqsSysFunctions::AddFunctions() {
  struct Category {
    const String* name;
    Variant (*dispatch)(const String&, TqsMethodHelper&);
    std::vector<const char16_t*> syntaxes;
  };
  const Category categories[] = {
      {&FCatConv, qsCallConvFunction,
       {u"function IntToStr(i: Integer): String", u"function FloatToStr(e: Extended): String",
        u"function DateToStr(e: Extended): String", u"function TimeToStr(e: Extended): String",
        u"function DateTimeToStr(e: Extended): String", u"function BoolToStr(B: Boolean): string;",
        u"function VarToStr(v: Variant): String", u"function StrToInt(s: String): Integer",
        u"function StrToInt64(s: String): Int64", u"function StrToFloat(s: String): Extended",
        u"function StrToDate(s: String): Extended", u"function StrToTime(s: String): Extended",
        u"function StrToDateTime(s: String): Extended",
        u"function StrToBool(const S: string): Boolean;"}},
      {&FCatFormat, qsCallFormatFunction,
       {u"function Format(Fmt: String; Args: array): String",
        u"function FormatFloat(Fmt: String; Value: Extended): String",
        u"function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
        u"function FormatMaskText(EditMask: string; Value: string): string"}},
      {&FCatDate, qsCallDateFunction,
       {u"function EncodeDate(Year, Month, Day: Word): TDateTime",
        u"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
        u"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
        u"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
        u"function Date: TDateTime", u"function Time: TDateTime", u"function Now: TDateTime",
        u"function DayOfWeek(aDate: TDateTime): Integer", u"function IsLeapYear(Year: Word): Boolean",
        u"function DaysInMonth(nYear, nMonth: Integer): Integer"}},
      {&FCatStr, qsCallStrFunction,
       {u"function Length(s: Variant): Integer",
        u"function Copy(s: String; from, count: Integer): String",
        u"function Pos(substr, s: String): Integer",
        u"procedure Delete(var s: String; from, count: Integer)",
        u"procedure DeleteStr(var s: String; from, count: Integer)",
        u"procedure Insert(s: String; var s2: String; pos: Integer)",
        u"function Uppercase(s: String): String", u"function Lowercase(s: String): String",
        u"function Trim(s: String): String", u"function NameCase(s: String): String",
        u"function CompareText(s, s1: String): Integer", u"function Chr(i: Integer): Char",
        u"function Ord(ch: Char): Integer", u"procedure SetLength(var S: Variant; L: Integer)"}},
      {&FCatMath, qsCallMathFunction,
       {u"function Round(e: Extended): Integer", u"function Trunc(e: Extended): Integer",
        u"function Int(e: Extended): Integer", u"function Frac(X: Extended): Extended",
        u"function Sqrt(e: Extended): Extended", u"function Abs(e: Extended): Extended",
        u"function Sin(e: Extended): Extended", u"function Cos(e: Extended): Extended",
        u"function ArcTan(X: Extended): Extended", u"function Tan(X: Extended): Extended",
        u"function Exp(X: Extended): Extended", u"function Ln(X: Extended): Extended",
        u"function Pi: Extended"}},
      {&FCatOther, qsCallOtherFunction,
       {u"procedure Inc(var i: Integer; incr: Integer = 1)",
        u"procedure Dec(var i: Integer; decr: Integer = 1)",
        u"procedure RaiseException(Param: String)", u"procedure ShowMessage(Msg: Variant)",
        u"procedure Randomize", u"function Random: Extended",
        u"function ValidInt(cInt: String): Boolean", u"function ValidFloat(cFlt: String): Boolean",
        u"function ValidDate(cDate: String): Boolean",
        u"function ExtractFilePath(const FileName: string): string;",
        u"function CreateOleObject(ClassName: String): Variant",
        u"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant",
        u"function VarType(V: Variant): Integer"}},
  };
  for (const Category& c : categories) {
    auto dispatch = c.dispatch;
    TqsCallMethodNewEvent handler = [dispatch](Object*, const ClassInfo*, const String& name,
                                               TqsMethodHelper& caller) {
      return dispatch(name, caller);
    };
    for (const char16_t* syntax : c.syntaxes) FScript.AddMethod(syntax, handler, *c.name);
  }
}

TqsScript& qsGlobalUnit() {
  static TqsScript* unit = [] {
    auto* script = new TqsScript();
    script->AddRTTI();
    return script;
  }();
  return *unit;
}

}  // namespace zavrik
