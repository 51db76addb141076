// zavrik-tool xml FILE: loads a template into a report as the program does and writes it back,
// indented, to standard output. Load messages go to standard error; a document that cannot be
// read ends with exit code 1, other messages (such as unknown classes) with 0.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "commands.h"
#include "data/ibx_components.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_report.h"

namespace zavrik::tool {

int XmlCommand(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    std::fprintf(stderr, "Cannot open file \"%s\"\n", file.c_str());
    return 1;
  }
  RegisterReportClasses();
  data::RegisterDataClasses();
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  report.LoadFromStream(in);
  for (const String& message : report.Errors.Items()) std::fprintf(stderr, "%s\n", StringToUtf8(message).c_str());
  const auto& errors = report.Errors.Items();
  if (std::find(errors.begin(), errors.end(), u"Invalid file format") != errors.end()) return 1;
  report.EngineOptions()->NewSilentMode = simMessageBoxes;
  report.SaveToStream(std::cout);
  std::cout.flush();
  return 0;
}

}  // namespace zavrik::tool
