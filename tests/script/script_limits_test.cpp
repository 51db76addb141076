// Untrusted scripts cannot exhaust the host's stack: long operator chains are refused at compile
// time, and deep recursion ends in a run-time error even when every level evaluates a deep tree.
#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isysrtti.h"

namespace zavrik {
namespace {

std::string Sum(int terms) {
  std::string text = "1";
  for (int i = 1; i < terms; ++i) text += " + 1";
  return text;
}

TEST(ScriptLimits, ExpressionsHoldABoundedNumberOfOperators) {
  TqsScript script(&qsGlobalUnit());
  script.SetText(Utf8ToString("var x: Integer; begin x := " + Sum(1002) + "; end."));
  EXPECT_FALSE(script.Compile());
  EXPECT_EQ(script.ErrorMsg, u"Expression too complex");
  script.Clear();
  script.SetText(Utf8ToString("var x: Integer; begin x := " + Sum(1001) + "; end."));
  ASSERT_TRUE(script.Compile()) << StringToUtf8(script.ErrorMsg);
  script.Execute();
  EXPECT_EQ(script.Find(u"x")->Value().SignedValue(), 1001);
}

TEST(ScriptLimits, RecursionThroughDeepExpressionsEndsInAnError) {
  for (const char* shape : {"Down(n + 1) + %s", "%s + Down(n + 1)"}) {
    std::string body = shape;
    body.replace(body.find("%s"), 2, Sum(999));
    TqsScript script(&qsGlobalUnit());
    script.SetText(Utf8ToString("function Down(n: Integer): Integer; begin Result := " + body +
                                "; end; begin Down(0); end."));
    ASSERT_TRUE(script.Compile()) << StringToUtf8(script.ErrorMsg);
    try {
      script.Execute();
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), u"Too many nested calls (stack overflow) in 'Down'");
    }
  }
}

TEST(ScriptLimits, TheCallBoundHoldsAcrossEvaluate) {
  // A host function that evaluates an expression calling back into the script.
  TqsScript script(&qsGlobalUnit());
  script.AddMethod(u"function Again(n: Integer): Integer",
                   [&script](Object*, const ClassInfo*, const String&, std::vector<Variant>&) {
                     return script.Evaluate(u"Loop(1)");
                   });
  script.SetText(u"function Loop(n: Integer): Integer; begin Result := Again(n); end; begin Loop(0); end.");
  ASSERT_TRUE(script.Compile());
  EXPECT_THROW(script.Execute(), Error);
}

}  // namespace
}  // namespace zavrik
