#include "driver/report_pipeline.h"

#include <sstream>

#include "driver/data_module.h"
#include "engine/run/qbx_engine.h"
#include "engine/pages/qbx_preview_pages.h"
#include "extensions/script_extensions.h"
#include "pdf/pdf_export.h"
#include "pdf/pdf_font_program.h"
#include "platform/raster_canvas.h"
#include "report/model/qbx_classes.h"
#include "report/binding/qbx_report_script.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_languages.h"

namespace zavrik::driver {

std::unique_ptr<TqbxReport> CreateReport() {
  RegisterReportClasses();
  RegisterEnginePreviewPages();
  auto report = std::make_unique<TqbxReport>();
  InstallEngine(*report);
  return report;
}

void PreloadReportParts(const String& script_language,
                        const std::vector<std::shared_ptr<const FontFace>>& faces) noexcept {
  try {
    qsGetGrammar(script_language);
  } catch (...) {
  }
  pdf::PreloadFontPrograms(faces);
  try {
    LoadRasterLibrary();
  } catch (...) {
  }
}

void LoadReport(TqbxReport& report, const std::string& template_bytes, Tdm& dm, const String& id) {
  std::istringstream stream(template_bytes);
  report.LoadFromStream(stream);
  extensions::RegisterScriptExtensions(qsGlobalUnit(), &dm);
  ReportScriptOf(report).Script().SetParent(&qsGlobalUnit());
  report.SetDataVariable(u"ID", id);
}

std::string PrepareAndExport(TqbxReport& report, std::optional<int64_t> source_date_epoch) {
  std::ostringstream pdf;
  PrepareAndExport(report, source_date_epoch, pdf);
  return std::move(pdf).str();
}

void PrepareAndExport(TqbxReport& report, std::optional<int64_t> source_date_epoch,
                      std::ostream& pdf, const std::function<void()>& prepared) {
  TqbxPDFExport filter;
  filter.SourceDateEpoch = source_date_epoch;
  filter.Stream = &pdf;
  filter.ShowDialog = false;
  filter.ShowProgress = false;
  report.ShowProgress = false;
  report.PrepareReport(true);
  if (prepared) prepared();
  report.Export(filter);
}

}  // namespace zavrik::driver
