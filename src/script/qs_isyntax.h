// The declaration syntax of host methods, constructors and indexed properties, whatever the
// script language: "function Name(p1, p2: T1; var p3: T2; p4: T3 = Default): Result" or
// "procedure Name(...)"; a first word "macro..." marks a routine that receives source texts.
#pragma once

#include <memory>
#include <vector>

#include "script/qs_ivariables.h"

namespace zavrik {

class TqsMethodHelper;
class TqsScript;

struct TqsDeclParam {
  String Name;
  String TypeName;
  bool IsVar = false;
  bool IsOptional = false;
  Variant Default = Variant::Null();
};

struct TqsDeclaration {
  bool IsMacro = false;
  bool IsFunc = false;
  String Name;
  String ResultType;
  std::vector<TqsDeclParam> Params;
};

// Defaults that name an identifier take its current value in `scope`'s chain (Null if unknown).
TqsDeclaration qsParseDeclaration(StringView syntax, const TqsScript& scope);
// A method helper for the declaration, its parameters typed through `scope`.
std::unique_ptr<TqsMethodHelper> qsMakeMethodHelper(StringView syntax, const TqsScript& scope);

}  // namespace zavrik
