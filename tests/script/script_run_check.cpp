// script_run_check LANGUAGE FILE: compiles and runs an annotated script file.
//   "expect: TEXT"                 the next ShowMessage text (in order; all must appear)
//   "expect error: L:C: MESSAGE"   compilation fails with this position and message
//   "expect runtime error: TEXT"   the run fails with this message (after the expected texts)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/error.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isysrtti.h"

namespace {

struct Expectations {
  std::vector<std::string> texts;
  std::string compile_error;
  std::string runtime_error;
};

Expectations ReadExpectations(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  Expectations e;
  std::string line;
  auto after = [&line](const std::string& marker, std::string& out) {
    const size_t at = line.find(marker);
    if (at == std::string::npos) return false;
    out = line.substr(at + marker.size());
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n')) out.pop_back();
    return true;
  };
  while (std::getline(in, line)) {
    std::string text;
    if (after("expect runtime error: ", text)) e.runtime_error = text;
    else if (after("expect error: ", text)) e.compile_error = text;
    else if (after("expect: ", text)) e.texts.push_back(text);
  }
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zavrik;
  if (argc != 3) {
    std::fputs("Usage: script_run_check LANGUAGE FILE\n", stderr);
    return 2;
  }
  const std::filesystem::path file = argv[2];
  const Expectations expected = ReadExpectations(file);
  std::vector<std::string> shown;
  qsSetShowMessageHandler([&shown](const String& text) { shown.push_back(StringToUtf8(text)); });
  TqsScript script(&qsGlobalUnit());
  script.IncludePath = {Utf8ToString(file.parent_path().string())};
  script.FSyntaxType = Utf8ToString(argv[1]);
  script.SetText(qsReadScriptFile(file.string()));
  int failures = 0;
  if (!script.Compile()) {
    const std::string error = StringToUtf8(script.ErrorPos) + ": " + StringToUtf8(script.ErrorMsg);
    if (error == expected.compile_error) return 0;
    std::cerr << "compile error: " << error << "\nexpected:      "
              << (expected.compile_error.empty() ? "none" : expected.compile_error) << "\n";
    return 1;
  }
  if (!expected.compile_error.empty()) {
    std::cerr << "compiled, but expected the error " << expected.compile_error << "\n";
    return 1;
  }
  std::string runtime_error;
  try {
    script.Execute();
  } catch (const std::exception& e) {
    runtime_error = e.what();
  }
  if (runtime_error != expected.runtime_error) {
    std::cerr << "run-time error: " << (runtime_error.empty() ? "none" : runtime_error)
              << "\nexpected:       " << (expected.runtime_error.empty() ? "none" : expected.runtime_error) << "\n";
    ++failures;
  }
  for (size_t i = 0; i < std::max(shown.size(), expected.texts.size()); ++i) {
    const std::string got = i < shown.size() ? shown[i] : "<nothing>";
    const std::string want = i < expected.texts.size() ? expected.texts[i] : "<nothing>";
    if (got != want) {
      std::cerr << "message " << i + 1 << ": " << got << "\nexpected:   " << want << "\n";
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
