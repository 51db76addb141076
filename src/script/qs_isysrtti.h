// The standard library: modules that register names in a scope when it receives the library
// (TqsScript::AddRTTI). TqsSysFunctions comes first; the host class modules follow.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "script/qs_itypes.h"

namespace zavrik {

class TqsMethodHelper;
class TqsScript;

class TqsRTTIModule {
 public:
  explicit TqsRTTIModule(TqsScript& script) : FScript(script) {}
  virtual ~TqsRTTIModule() = default;

 protected:
  TqsScript& FScript;
};

using TqsRTTIModuleFactory = std::function<std::unique_ptr<TqsRTTIModule>(TqsScript&)>;

// The process-wide module list, created on first use with the built-in modules.
const std::vector<TqsRTTIModuleFactory>& qsRTTIModules();
// Appends a module (hosts add theirs at start-up, before scripts receive the library).
void qsAddRTTIModule(TqsRTTIModuleFactory factory);

// The system module: type names, constants, variables and the function library.
class TqsSysFunctions : public TqsRTTIModule {
 public:
  explicit TqsSysFunctions(TqsScript& script);

  const String FCatConv = u"ctConv";
  const String FCatDate = u"ctDate";
  const String FCatFormat = u"ctFormat";
  const String FCatMath = u"ctMath";
  const String FCatOther = u"ctOther";
  const String FCatStr = u"ctString";

 private:
  void AddTypes();
  void AddConstants();
  void AddFunctions();
};

// Where ShowMessage writes: standard error by default (a console program shows no windows).
void qsSetShowMessageHandler(std::function<void(const String& text)> handler);
void qsShowMessage(const String& text);

// The category dispatchers: the upper-cased function name, the arguments through the helper.
Variant qsCallConvFunction(const String& name, TqsMethodHelper& caller);
Variant qsCallFormatFunction(const String& name, TqsMethodHelper& caller);
Variant qsCallDateFunction(const String& name, TqsMethodHelper& caller);
Variant qsCallStrFunction(const String& name, TqsMethodHelper& caller);
Variant qsCallMathFunction(const String& name, TqsMethodHelper& caller);
Variant qsCallOtherFunction(const String& name, TqsMethodHelper& caller);

// The library's case mapping of one character (Latin, Latin-1 and Cyrillic letters).
char16_t qsUpperChar(char16_t ch);
char16_t qsLowerChar(char16_t ch);

// The host class modules (classes, graphics, forms, dialogs, ini files, controls, data sets,
// data-aware controls, database components).
std::unique_ptr<TqsRTTIModule> qsMakeClassesModule(TqsScript& script);
std::unique_ptr<TqsRTTIModule> qsMakeNamedClassModules(TqsScript& script);

}  // namespace zavrik
