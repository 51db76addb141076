// Parsing a generated 20,000-line PascalScript program (procedures, loops, expressions) to a
// syntax tree.
#include <benchmark/benchmark.h>

#include <string>

#include "script/qs_iilparser.h"

namespace {

using namespace zavrik;

// Blocks of 20 lines: a procedure with a loop, a condition and arithmetic.
String GeneratedProgram(int lines) {
  std::string text = "var Total: Integer;\r\n";
  int count = 1;
  for (int n = 0; count + 20 <= lines - 3; ++n, count += 20) {
    const std::string p = std::to_string(n);
    text += "procedure Step" + p + "(var A: Integer; B: Extended);\r\n"
            "var\r\n"
            "  I, J: Integer;\r\n"
            "  S: String;\r\n"
            "begin\r\n"
            "  for I := 0 to 10 do\r\n"
            "  begin\r\n"
            "    J := (I * 3 + A) div 2 - Round(B * 1.5e2);\r\n"
            "    if (J > 100) and not (I in [1, 3..5]) then\r\n"
            "      A := A + J mod 7\r\n"
            "    else\r\n"
            "      S := S + IntToStr(J) + 'x' + #13#10;\r\n"
            "  end;\r\n"
            "  while A > 1000 do\r\n"
            "    A := A shr 1;\r\n"
            "  case A of 1: Inc(A); 2, 3: Dec(A) else A := 0 end;\r\n"
            "  Memo" + p + ".Lines.Text := S;\r\n"
            "  Total := Total + A\r\n"
            "end;\r\n"
            "\r\n";
  }
  text += "begin\r\n  Total := 0;\r\nend.\r\n";
  return Utf8ToString(text);
}

void BM_ParsePascal20000Lines(benchmark::State& state) {
  const String text = GeneratedProgram(20000);
  for (auto _ : state) {
    TqsParserOwner owner;
    TqsILParser parser(owner);
    parser.SelectLanguage(u"PascalScript");
    if (!parser.MakeILScript(text)) state.SkipWithError(StringToUtf8(owner.ErrorPos + u" " + owner.ErrorMsg).c_str());
    benchmark::DoNotOptimize(parser.ILScript().Root().Count());
  }
}
BENCHMARK(BM_ParsePascal20000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
