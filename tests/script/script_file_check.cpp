// script_file_check LANGUAGE FILE: parses an annotated script file. A line containing
// "expect error: TEXT" makes TEXT ("[unit: ]line:column: message") the expected outcome;
// otherwise the syntax tree must equal the golden file next to it (same name, extension .xml).
// With ZAVRIK_UPDATE_GOLDEN=1 the golden file is written instead.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/error.h"
#include "script/qs_iilparser.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string ExpectedError(const std::string& source) {
  const std::string marker = "expect error: ";
  const size_t at = source.find(marker);
  if (at == std::string::npos) return std::string();
  const size_t begin = at + marker.size();
  return source.substr(begin, source.find_first_of("\r\n", begin) - begin);
}

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zavrik;
  if (argc != 3) {
    std::fputs("Usage: script_file_check LANGUAGE FILE\n", stderr);
    return 2;
  }
  const std::filesystem::path file = argv[2];
  const std::string expected_error = ExpectedError(ReadBytes(file));
  try {
    TqsParserOwner owner;
    owner.IncludePath = {Utf8ToString(file.parent_path().string())};
    TqsILParser parser(owner);
    parser.SelectLanguage(Utf8ToString(argv[1]));
    if (!parser.MakeILScript(qsReadScriptFile(file.string()))) {
      std::string error = StringToUtf8(owner.ErrorPos) + ": " + StringToUtf8(owner.ErrorMsg);
      if (!owner.ErrorUnit.empty()) error = StringToUtf8(owner.ErrorUnit) + ": " + error;
      if (error == expected_error) return 0;
      std::cerr << "error:    " << error << "\nexpected: " << (expected_error.empty() ? "a tree" : expected_error) << "\n";
      return 1;
    }
    if (!expected_error.empty()) {
      std::cerr << "parsed, but expected the error " << expected_error << "\n";
      return 1;
    }
    parser.ILScript().SetAutoIndent(true);
    const std::string tree = WithoutCarriageReturns(parser.ILScript().SaveToString());
    const std::filesystem::path golden = std::filesystem::path(file).replace_extension(".xml");
    const char* update = std::getenv("ZAVRIK_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
      std::ofstream(golden, std::ios::binary) << tree;
      return 0;
    }
    if (!std::filesystem::exists(golden)) {
      std::cerr << "no golden file " << golden << "; the tree is:\n" << tree;
      return 1;
    }
    if (WithoutCarriageReturns(ReadBytes(golden)) == tree) return 0;
    std::cerr << "the tree differs from " << golden << "; it is:\n" << tree;
    return 1;
  } catch (const std::exception& e) {
    if (e.what() == expected_error) return 0;
    std::cerr << "failure: " << e.what() << "\n";
    return 1;
  }
}
