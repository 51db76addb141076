#include "report/binding/qbx_expression_cache.h"

#include <new>

#include "core/error.h"
#include "core/float_text.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"

namespace zavrik {

TqbxExpressionCache::TqbxExpressionCache() : FScript(std::make_unique<TqsScript>()) {
  FScript->ExtendedCharset = true;
}

TqbxExpressionCache::~TqbxExpressionCache() = default;

void TqbxExpressionCache::SetLanguage(const String& language) { FLanguage = language; }

void TqbxExpressionCache::Clear() {
  FFunctions.clear();
  FScript->Clear();
}

String TqbxExpressionCache::WrapperText(const String& name, StringView expression) const {
  const String e(expression);
  if (qsSameName(FLanguage, u"PascalScript"))
    return u"function " + name + u": Variant; begin Result := " + e + u" end; begin end.";
  if (qsSameName(FLanguage, u"C++Script"))
    return u"Variant " + name + u"() { return " + e + u"; } {}";
  if (qsSameName(FLanguage, u"BasicScript"))
    return u"function " + name + u"\r\nreturn " + e + u"\r\nend function";
  if (qsSameName(FLanguage, u"JScript")) return u"function " + name + u"() { return " + e + u"; }";
  return String();
}

TqsProcVariable* TqbxExpressionCache::Compile(StringView expression, String& error) {
  const String name = u"qb3f" + IntToStr(static_cast<int64_t>(FFunctions.size()));
  const String text = WrapperText(name, expression);
  String message;
  if (text.empty()) {
    message = u"Unknown script language '" + FLanguage + u"'";
  } else {
    FScript->FSyntaxType = FLanguage;
    FScript->SetText(text);
    if (FScript->Compile()) {
      if (auto* function = dynamic_cast<TqsProcVariable*>(FScript->FindLocal(name)))
        return function;
      message = u"'" + name + u"' expected";
    } else {
      message = FScript->ErrorMsg;
    }
  }
  // A half-built function does not stay behind.
  if (TqsCustomVariable* half_built = FScript->FindLocal(name)) FScript->Remove(half_built);
  error = u"Ошибка в выражении '" + String(expression) + u"': " + message;
  return nullptr;
}

TqsProcVariable* TqbxExpressionCache::Find(StringView expression, TqsScript& script, String& error) {
  error.clear();
  FScript->SetParent(&script);
  String key(expression);
  if (!script.ProgName().empty()) key = script.ProgName() + u"." + key;
  if (auto it = FFunctions.find(key); it != FFunctions.end()) return it->second;
  TqsProcVariable* function = Compile(expression, error);
  if (function) FFunctions.emplace(std::move(key), function);
  return function;
}

bool TqbxExpressionCache::Compiles(StringView expression, TqsScript& script, String& error) {
  return Find(expression, script, error) != nullptr;
}

Variant TqbxExpressionCache::Calc(StringView expression, TqsScript& script, String& error) {
  TqsProcVariable* function = Find(expression, script, error);
  if (!function) return Variant::Null();
  // The main program's flag is off while the wrapper runs.
  struct MainFlag {
    TqsScript& program;
    bool saved;
    ~MainFlag() { program.FMainProg = saved; }
  } flag{script, script.FMainProg};
  script.FMainProg = false;
  try {
    return function->Call({});
  } catch (const Error& e) {
    error = e.Message();
  } catch (const std::bad_alloc&) {
    throw;  // the memory limit ends the run; it is not an expression error
  } catch (const std::exception& e) {
    error = Utf8ToString(e.what());
  }
  return Variant::Null();
}

}  // namespace zavrik
