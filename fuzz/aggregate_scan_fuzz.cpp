// Fuzz target: finding aggregate calls in memo texts. The first line of the input is the memo
// text; every further line is a report variable "name=value", so variables that refer to each
// other are explored too. Nothing may escape.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>

#include "engine/run/qbx_aggregate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using zavrik::String;
  using zavrik::StringView;
  const String input =
      zavrik::Utf8ToString(std::string_view(reinterpret_cast<const char*>(data), size));
  const size_t line_end = input.find(u'\n');
  const String text = input.substr(0, line_end);
  std::map<String, String> variables;
  for (size_t start = line_end; start != String::npos && start < input.size();) {
    const size_t end = input.find(u'\n', start + 1);
    const String line = input.substr(start + 1, end == String::npos ? String::npos : end - start - 1);
    const size_t equals = line.find(u'=');
    if (equals != String::npos) variables[zavrik::AsciiUpper(line.substr(0, equals))] = line.substr(equals + 1);
    start = end;
  }
  const auto variable_text = [&](StringView name, String& value) {
    const auto found = variables.find(zavrik::AsciiUpper(zavrik::Trim(name)));
    if (found == variables.end()) return false;
    value = found->second;
    return true;
  };
  const auto is_field = [](StringView text) { return text.find(u".\"") == 1; };
  for (const String& expression : zavrik::ExpressionsOf(text, u"[,]")) {
    for (const auto& call : zavrik::FindAggregateCalls(expression, variable_text, is_field)) {
      // A call's text starts at its word and holds its arguments.
      if (call.Text.size() < call.Word.size() || call.Arguments.size() > 3) __builtin_trap();
      zavrik::AggregateFunctionOf(call.Word);
    }
  }
  return 0;
}
