// The grammar / syntax-tree XML layer on arbitrary bytes: load, read attributes, write back.
// Only the ordinary error kind may escape it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "script/qs_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  try {
    TqsXMLDocument document;
    document.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
    document.Root().GetProp(u"text");
    // Compact: indentation grows with the depth, so indented output of deep inputs is quadratic.
    document.SaveToString();
  } catch (const Error&) {
  }
  return 0;
}
