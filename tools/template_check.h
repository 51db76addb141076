// zavrik-tool check: what would go wrong or be lost when a template runs, found without running
// it. Each check adds findings (object, category, detail); the command prints them in order.
#pragma once

#include <string>
#include <vector>

#include "core/ustring.h"

namespace zavrik {
class TqbxReport;
}

namespace zavrik::tool {

struct CheckFinding {
  String object, category, detail;
};

class CheckFindings {
 public:
  // Adds a finding unless the same one is already there.
  void Add(const String& object, const String& category, const String& message);
  const std::vector<CheckFinding>& Items() const { return FItems; }
  // Messages of the template reader already stated by a finding (not repeated among its
  // remaining messages).
  std::vector<String> Explained;

 private:
  std::vector<CheckFinding> FItems;
};

// Element by element: unknown classes and attributes, values the reader refuses, references that
// name nothing (the loaded `report` shows what was kept).
void CheckElements(const std::string& template_bytes, TqbxReport& report, CheckFindings& findings);
// The report script, memo expressions, highlights, group conditions, aggregates and variables.
void CheckExpressions(TqbxReport& report, CheckFindings& findings);
// Data-source list entries naming nothing, data bands without records; with a database, queries
// that do not prepare against it.
void CheckData(TqbxReport& report, bool with_database, CheckFindings& findings);
// Objects outside their band or page, fonts that are not installed, texts that do not fit.
void CheckLayout(TqbxReport& report, CheckFindings& findings);

}  // namespace zavrik::tool
