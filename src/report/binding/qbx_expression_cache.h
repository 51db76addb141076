// TqbxExpressionCache: report expressions compiled once each, as wrapper functions in a script of
// their own below the report's script, and called again for every record.
#pragma once

#include <memory>
#include <unordered_map>

#include "core/variant.h"

namespace zavrik {

class TqsProcVariable;
class TqsScript;

class TqbxExpressionCache {
 public:
  TqbxExpressionCache();
  ~TqbxExpressionCache();
  TqbxExpressionCache(const TqbxExpressionCache&) = delete;
  TqbxExpressionCache& operator=(const TqbxExpressionCache&) = delete;

  // The script language of the wrapper functions ("PascalScript", "C++Script", "BasicScript",
  // "JScript").
  void SetLanguage(const String& language);
  // The value of `expression` evaluated below `script`. A compile or run failure gives the null
  // value and its message in `error` (empty on success).
  Variant Calc(StringView expression, TqsScript& script, String& error);
  // Compiles `expression` below `script` as Calc would, without running it (template checks);
  // false with the message in `error` when it does not compile.
  bool Compiles(StringView expression, TqsScript& script, String& error);
  // Forgets every compiled expression.
  void Clear();
  int Count() const { return static_cast<int>(FFunctions.size()); }

 private:
  // The text of wrapper function `name` returning `expression`; empty for an unknown language.
  String WrapperText(const String& name, StringView expression) const;
  TqsProcVariable* Compile(StringView expression, String& error);
  // The compiled function of `expression` below `script`, compiled on first use; none on failure.
  TqsProcVariable* Find(StringView expression, TqsScript& script, String& error);

  std::unique_ptr<TqsScript> FScript;
  String FLanguage = u"PascalScript";
  // Keyed by the expression text exactly as written (prefixed by the running program's name).
  std::unordered_map<String, TqsProcVariable*> FFunctions;
};

}  // namespace zavrik
