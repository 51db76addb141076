// Loading arbitrary bytes as a report template into the report classes, then aligning the pages,
// taking every view's difference text and writing the report back. Only the ordinary error kind
// may escape, and nothing may crash or hang.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/error.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/views/qbx_view.h"
#include "report/document/qbx_xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  RegisterReportClasses();
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  report.LoadFromStream(in);
  try {
    for (TqbxComponent* object : report.AllObjects()) {
      if (auto* page = dynamic_cast<TqbxReportPage*>(object)) page->AlignChildren(false, 0);
      if (auto* view = dynamic_cast<TqbxView*>(object)) view->Diff(nullptr);
    }
    // Compact: indentation grows with the depth, so indented output of deep inputs is quadratic.
    TqbxXMLDocument document;
    TqbxXMLSerializer writer(&report);
    writer.WriteRootComponent(report, true, document.Root());
    document.SaveToString();
  } catch (const Error&) {
  }
  return 0;
}
