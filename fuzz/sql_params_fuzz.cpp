// Fuzz target: the named-parameter scan of SQL text. Only the program's Error may escape.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "data/sql_params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const zavrik::String sql =
      zavrik::Utf8ToString(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    const auto parsed = zavrik::data::ParseSqlParams(sql);
    // Every marker written stands for one recorded name.
    size_t markers = 0;
    for (char16_t c : parsed.text) markers += c == u'?';
    if (markers < parsed.names.size()) __builtin_trap();
  } catch (const zavrik::Error&) {
  }
  return 0;
}
