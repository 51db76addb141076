// zavrik-tool check TEMPLATE.xml [--db PATH]: loads a template as the program does and lists,
// one line each ("object: category: detail"), what would go wrong or be lost when it runs.
// Exit code 0 when nothing was found, 1 when something was, 2 when the template could not be
// checked.
#include <algorithm>
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/error.h"
#include "data/fb_api.h"
#include "driver/data_module.h"
#include "driver/report_pipeline.h"
#include "template_check.h"
#include "tool_files.h"

namespace zavrik::tool {

void CheckFindings::Add(const String& object, const String& category, const String& message) {
  // One line per finding: the lines of a message (database errors have several) joined.
  String detail;
  for (char16_t c : message) {
    if (c == u'\r') continue;
    if (c == u'\n') detail += u"; ";
    else detail += c;
  }
  const bool known = std::any_of(FItems.begin(), FItems.end(), [&](const CheckFinding& f) {
    return f.object == object && f.category == category && f.detail == detail;
  });
  if (!known) FItems.push_back({object, category, detail});
}

namespace {

CheckFindings CheckTemplate(const std::string& template_bytes, const std::string& database) {
  CheckFindings findings;
  driver::Tdm dm;
  if (!database.empty()) dm.Connect(Utf8ToString(database));
  auto report = driver::CreateReport();
  report->EngineOptions()->NewSilentMode = simSilent;
  driver::LoadReport(*report, template_bytes, dm, u"1");
  const std::vector<String> load_errors = report->Errors.Items();
  CheckElements(template_bytes, *report, findings);
  CheckExpressions(*report, findings);
  CheckData(*report, !database.empty(), findings);
  CheckLayout(*report, findings);
  // What the reader reported that no finding above has stated.
  for (const String& message : load_errors) {
    const auto& explained = findings.Explained;
    if (std::find(explained.begin(), explained.end(), message) == explained.end())
      findings.Add(u"Report", u"load", message);
  }
  return findings;
}

}  // namespace

int CheckCommand(int argc, char** argv) {
  std::string template_file, database;
  bool usage_error = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--db" && i + 1 < argc && database.empty()) database = argv[++i];
    else if (template_file.empty() && !arg.empty() && arg[0] != '-') template_file = arg;
    else usage_error = true;
  }
  if (usage_error || template_file.empty()) {
    std::fputs("Usage: zavrik-tool check TEMPLATE.xml [--db PATH]\n", stderr);
    return 2;
  }
  // A template that cannot be checked (no file, no database) is neither clean nor faulty: 2.
  CheckFindings findings;
  try {
    findings = CheckTemplate(ReadFile(template_file), database);
  } catch (const Error& e) {
    data::ShutdownFbClient();
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  data::ShutdownFbClient();
  for (const CheckFinding& f : findings.Items())
    std::printf("%s\n", StringToUtf8(f.object + u": " + f.category + u": " + f.detail).c_str());
  return findings.Items().empty() ? 0 : 1;
}

}  // namespace zavrik::tool
