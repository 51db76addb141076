// Named SQL parameters (":name", "?name", ':"quoted name"') rewritten to positional "?" markers.
#pragma once

#include <vector>

#include "core/ustring.h"

namespace zavrik::data {

struct ParsedSql {
  String text;                // the SQL with every parameter replaced by "?"
  std::vector<String> names;  // parameter names in order of appearance, one per occurrence
};

// Scans the SQL text. Failures raise "SQL Parse Error:" CR LF CR LF followed by
// "EOF in comment detected", "EOF in string detected" or "Parameter name expected".
ParsedSql ParseSqlParams(StringView sql);

}  // namespace zavrik::data
