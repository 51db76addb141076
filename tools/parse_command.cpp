// zavrik-tool parse [--lang NAME] FILE: prints the syntax tree of a script file, or its first
// syntax error as "line:column: message" ("unit: line:column: message" inside an included unit).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "commands.h"
#include "core/error.h"
#include "script/qs_iilparser.h"

namespace zavrik::tool {

int ParseCommand(int argc, char** argv) {
  std::string language = "PascalScript";
  std::string file;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
      language = argv[++i];
    } else {
      file = argv[i];
    }
  }
  if (file.empty()) {
    std::fputs("Usage: zavrik-tool parse [--lang NAME] FILE\n", stderr);
    return 1;
  }
  try {
    TqsParserOwner owner;
    owner.IncludePath = {Utf8ToString(std::filesystem::path(file).parent_path().string())};
    TqsILParser parser(owner);
    parser.SelectLanguage(Utf8ToString(language));
    if (!parser.MakeILScript(qsReadScriptFile(file))) {
      std::string message = StringToUtf8(owner.ErrorPos) + ": " + StringToUtf8(owner.ErrorMsg);
      if (!owner.ErrorUnit.empty()) message = StringToUtf8(owner.ErrorUnit) + ": " + message;
      std::fprintf(stderr, "%s\n", message.c_str());
      return 1;
    }
    parser.ILScript().SetAutoIndent(true);
    parser.ILScript().SaveToStream(std::cout);
    std::cout.flush();
    return 0;
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

}  // namespace zavrik::tool
