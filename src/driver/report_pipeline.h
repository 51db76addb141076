// From template bytes to PDF bytes: the steps the program and zavrik-tool share.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/ustring.h"
#include "platform/font_face.h"
#include "report/model/qbx_report.h"

namespace zavrik::driver {

class Tdm;

// A new report whose classes and prepared pages are ready (registers them once per process).
std::unique_ptr<TqbxReport> CreateReport();

// Reads ahead, for a report not yet loaded, the grammar of `script_language`, the files of `faces`
// that its PDF would embed and the library that draws pictures. Failures are left for the run to
// meet.
void PreloadReportParts(const String& script_language,
                        const std::vector<std::shared_ptr<const FontFace>>& faces) noexcept;

// Loads the template into `report`, adds MoneyToString and Dm to the global script scope and sets
// the report variable ID (its text is data, never evaluated). Load errors go through the
// report's error handler.
void LoadReport(TqbxReport& report, const std::string& template_bytes, Tdm& dm, const String& id);

// Prepares the report (clearing an earlier result) and exports its pages as PDF bytes. With
// `source_date_epoch` the PDF's dates are that time and its identifier follows its content.
std::string PrepareAndExport(TqbxReport& report,
                             std::optional<int64_t> source_date_epoch = std::nullopt);
// The same, written to `pdf` as the export goes; `prepared` is called between preparation and
// export.
void PrepareAndExport(TqbxReport& report, std::optional<int64_t> source_date_epoch,
                      std::ostream& pdf, const std::function<void()>& prepared = {});

}  // namespace zavrik::driver
