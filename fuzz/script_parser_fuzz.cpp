// The grammar-driven parser on arbitrary text: the first byte chooses the language, the rest is
// the script (UTF-8). Included units get their own name as text, so inputs can nest units.
// Only the ordinary error kind may escape the parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "script/qs_iilparser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  if (size == 0) return 0;
  static const char16_t* const kLanguages[] = {u"PascalScript", u"C++Script", u"BasicScript", u"JScript"};
  TqsParserOwner owner;
  owner.OnGetUnit = [](const String& unit_name, String& unit_text) { unit_text = unit_name; };
  try {
    TqsILParser parser(owner);
    parser.SelectLanguage(kLanguages[data[0] % 4]);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (parser.MakeILScript(Utf8ToString(text))) {
      parser.ILScript().SetAutoIndent(true);
      parser.ILScript().SaveToString();
    }
  } catch (const Error&) {
  }
  return 0;
}
