// Loading a template from arbitrary bytes into components, then writing it back. Only the
// ordinary error kind may escape.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "../tests/report/test_classes.h"
#include "core/error.h"
#include "report/document/qbx_xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  test::RegisterTestClasses();
  test::TtstReport report;
  try {
    TqbxXMLSerializer reader(&report);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    reader.ReadRootComponent(report, in);
  } catch (const Error&) {
  }
  try {
    // Compact: indentation grows with the depth, so indented output of deep inputs is quadratic.
    TqbxXMLDocument document;
    TqbxXMLSerializer writer(&report);
    writer.WriteRootComponent(report, true, document.Root());
    document.SaveToString();
  } catch (const Error&) {
  }
  return 0;
}
