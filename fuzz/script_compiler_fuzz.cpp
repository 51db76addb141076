// The compiler on arbitrary text: the first byte chooses the language, the rest is the script
// (UTF-8), compiled below the global unit with the standard library. Programs are not run (their
// own loops may be endless). Compile errors are returned; nothing may escape but our error kind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "script/qs_iinterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  if (size == 0) return 0;
  static const char16_t* const kLanguages[] = {u"PascalScript", u"C++Script", u"BasicScript", u"JScript"};
  TqsScript script(&qsGlobalUnit());
  script.OnGetUnit = [](const String& unit_name, String& unit_text) { unit_text = unit_name; };
  script.FSyntaxType = kLanguages[data[0] % 4];
  try {
    script.SetText(Utf8ToString(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)));
    script.Compile();
  } catch (const Error&) {
  }
  return 0;
}
