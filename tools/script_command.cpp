// zavrik-tool script [--lang NAME] FILE: compiles and runs a script file; ShowMessage texts go to
// standard output. A compile error prints "line:column: message" (exit 1), a run-time error its
// message (exit 2).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "commands.h"
#include "core/error.h"
#include "core/variant_convert.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isysrtti.h"

namespace zavrik::tool {
namespace {

void PrintLine(FILE* out, const String& text) {
  const std::string utf8 = StringToUtf8(text) + "\n";
  std::fwrite(utf8.data(), 1, utf8.size(), out);
}

// --lang NAME and one operand.
bool ReadArguments(int argc, char** argv, std::string& language, std::string& operand) {
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) language = argv[++i];
    else operand = argv[i];
  }
  return !operand.empty();
}

}  // namespace

int ScriptCommand(int argc, char** argv) {
  std::string language = "PascalScript", file;
  if (!ReadArguments(argc, argv, language, file)) {
    std::fputs("Usage: zavrik-tool script [--lang NAME] FILE\n", stderr);
    return 1;
  }
  qsSetShowMessageHandler([](const String& text) {
    PrintLine(stdout, text);
    std::fflush(stdout);
  });
  TqsScript script(&qsGlobalUnit());
  script.IncludePath = {Utf8ToString(std::filesystem::path(file).parent_path().string())};
  script.FSyntaxType = Utf8ToString(language);
  try {
    script.SetText(qsReadScriptFile(file));
    if (!script.Compile()) {
      String message = script.ErrorPos + u": " + script.ErrorMsg;
      if (!script.ErrorUnit.empty()) message = script.ErrorUnit + u": " + message;
      PrintLine(stderr, message);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  try {
    script.Execute();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  return 0;
}

int EvalCommand(int argc, char** argv) {
  std::string language = "PascalScript", expression;
  if (!ReadArguments(argc, argv, language, expression)) {
    std::fputs("Usage: zavrik-tool eval [--lang NAME] EXPR\n", stderr);
    return 1;
  }
  TqsScript script(&qsGlobalUnit());
  script.FSyntaxType = Utf8ToString(language);
  try {
    const Variant value = script.Evaluate(Utf8ToString(expression));
    if (script.FEvaluteRiseError) {
      PrintLine(stderr, VarToStr(value));
      return 1;
    }
    PrintLine(stdout, value.IsNull() ? String(u"Null") : VarToString(value));
    PrintLine(stdout, KindName(value.Kind()));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
}

}  // namespace zavrik::tool
