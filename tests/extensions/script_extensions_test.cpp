#include "extensions/script_extensions.h"

#include <gtest/gtest.h>

#include "core/variant_convert.h"
#include "extensions/money_to_str.h"
#include "script/qs_iinterpreter.h"

namespace zavrik::extensions {
namespace {

// Stands for the program's data module: a class the script engine does not know.
class Tdm : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"Tdm", &Object::StaticClass(), nullptr, {});
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

// A scope between the global unit and the report's script, as the driver builds it.
struct ExtendedScope {
  Tdm dm;
  TqsScript global{&qsGlobalUnit()};
  TqsScript script{&global};
  ExtendedScope() { RegisterScriptExtensions(global, &dm); }

  String Run(StringView text) {
    script.SetText(text);
    if (!script.Compile()) return u"compile error: " + script.ErrorMsg + u" at " + script.ErrorPos;
    script.Execute();
    return u"";
  }
};

TEST(MoneyToStringFunction, RendersAmountsFromExpressionsAndScripts) {
  ExtendedScope scope;
  EXPECT_EQ(VarToString(scope.script.Evaluate(u"MoneyToString(1234.56)")),
            u"Одна тысяча двести тридцать четыре рубля  56 копеек ");

  // A value held as text (a data field, a report variable) is converted to a number first.
  EXPECT_EQ(scope.Run(u"var S: Variant; R: String;\r\n"
                      u"begin S := '2,5'; R := MoneyToString(S);\r\n"
                      u"if R <> 'Два рубля  50 копеек ' then RaiseException(R); end."),
            u"");
  EXPECT_EQ(VarToString(scope.script.Evaluate(u"MoneyToString(0)")),
            VarToString(Variant(MoneyToStr(0, true))));
}

TEST(MoneyToStringFunction, OtherNamesKeepTheSuppliedResult) {
  TRSScript handler;
  std::vector<Variant> params{Variant(1.0)};
  EXPECT_EQ(VarToString(handler.CallMethod(nullptr, nullptr, u"OTHER", params, Variant(u"kept"))),
            u"kept");
  EXPECT_EQ(VarToString(handler.CallMethod(nullptr, nullptr, u"MONEYTOSTRING", params)),
            u"Один рубль  00 копеек ");
}

TEST(DmObject, CanBePassedOnButItsMembersAreUnknown) {
  ExtendedScope scope;
  EXPECT_EQ(scope.Run(u"function Same(X: Variant): Boolean; begin Result := X = Dm; end;\r\n"
                      u"begin if not Same(Dm) then RaiseException('lost'); end."),
            u"");
  const String failure = scope.Run(u"begin Dm.Base; end.");
  EXPECT_NE(failure.find(u"Unknown type: 'Tdm'"), String::npos) << StringToUtf8(failure);
}

}  // namespace
}  // namespace zavrik::extensions
