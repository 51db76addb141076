// A report template from arbitrary bytes through the program's whole path: load, prepare (the
// engine over its bands and data sources) and PDF export into memory. The template's script is
// replaced by an empty program (endless loops are the time limit's business, not a fault), and
// the rows of data bands and user data sets are capped to a few, so that every input runs
// quickly; the seeds read a small user data set. Only the ordinary error kind may escape.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/error.h"
#include "data/ibx_components.h"
#include "data/qbx_data_set.h"
#include "driver/report_pipeline.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"

namespace {

constexpr int32_t kMaxRows = 4;

void CapRows(zavrik::TqbxReport& report) {
  using namespace zavrik;
  for (TqbxComponent* object : report.AllObjects()) {
    if (auto* band = dynamic_cast<TqbxDataBand*>(object))
      band->SetRowCount(std::clamp(band->RowCount(), 0, kMaxRows));
    if (auto* set = dynamic_cast<data::TqbxDataSet*>(object)) {
      set->RangeEnd = data::reCount;
      set->RangeEndCount = std::clamp(set->RangeEndCount, 0, kMaxRows);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  data::RegisterDataClasses();
  auto report = driver::CreateReport();
  report->EngineOptions()->NewSilentMode = simSilent;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  report->LoadFromStream(in);
  report->EngineOptions()->NewSilentMode = simSilent;
  report->ScriptText()->SetText(u"begin end.");
  CapRows(*report);
  report->SetDataVariable(u"ID", u"42");
  try {
    driver::PrepareAndExport(*report, 0);
  } catch (const Error&) {
  }
  return 0;
}
