// zavrik-tool xml FILE: loads a template through the serializer and writes it back, indented, to
// standard output. Load messages go to standard error; a document that cannot be read ends with
// exit code 1, non-fatal messages (such as unknown classes) with 0.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "commands.h"
#include "core/error.h"
#include "core/rtti.h"
#include "provisional_report.h"
#include "report/qbx_serializer.h"

namespace zavrik::tool {

int XmlCommand(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    std::fprintf(stderr, "Cannot open file \"%s\"\n", file.c_str());
    return 1;
  }
  RegisterClass(ProvisionalReport::StaticClass());
  ProvisionalReport report;
  TqbxXMLSerializer serializer(&report);
  try {
    serializer.ReadRootComponent(report, in);
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  for (const String& message : serializer.Errors.Items()) std::fprintf(stderr, "%s\n", StringToUtf8(message).c_str());
  report.SaveToStream(std::cout);
  std::cout.flush();
  return 0;
}

}  // namespace zavrik::tool
