// zavrik-tool draw TEMPLATE PAGE OUT.png: draws the objects of one report page of a template,
// unevaluated, onto the raster canvas (a quick look at geometry, frames and fills). PAGE is the
// page's name or its number among the report pages, from 1.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "commands.h"
#include "core/numeric.h"
#include "platform/raster_canvas.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"

namespace zavrik::tool {
namespace {

TqbxReportPage* FindPage(const TqbxReport& report, const std::string& wanted) {
  int number = 0;
  for (const auto& child : report.Objects()) {
    auto* page = dynamic_cast<TqbxReportPage*>(child.get());
    if (!page) continue;
    ++number;
    if (StringToUtf8(page->Name()) == wanted || std::to_string(number) == wanted) return page;
  }
  return nullptr;
}

int Pixels(double value) { return static_cast<int>(std::clamp(RoundHalfEven(value), 1.0, 10000.0)); }

}  // namespace

int DrawCommand(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("Usage: zavrik-tool draw TEMPLATE PAGE OUT.png\n", stderr);
    return 1;
  }
  std::ifstream in(argv[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "Cannot open file \"%s\"\n", argv[0]);
    return 1;
  }
  RegisterReportClasses();
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  report.LoadFromStream(in);
  for (const String& message : report.Errors.Items()) std::fprintf(stderr, "%s\n", StringToUtf8(message).c_str());
  TqbxReportPage* page = FindPage(report, argv[1]);
  if (!page) {
    std::fprintf(stderr, "No report page \"%s\"\n", argv[1]);
    return 1;
  }
  page->AlignChildren(false, 0);
  RasterCanvas canvas(Pixels(page->Width()), Pixels(page->Height()));
  const double offset_x = page->LeftMargin() * kPixelsPerMm, offset_y = page->TopMargin() * kPixelsPerMm;
  for (const auto& child : page->Objects()) {
    if (auto* band = dynamic_cast<TqbxBand*>(child.get())) band->CreateFillMemo();
  }
  for (TqbxComponent* object : page->AllObjects()) {
    if (auto* view = dynamic_cast<TqbxView*>(object); view && view->Visible()) {
      view->Draw(canvas, 1, 1, offset_x, offset_y);
    }
  }
  if (!canvas.WritePng(argv[2])) {
    std::fprintf(stderr, "Cannot write file \"%s\"\n", argv[2]);
    return 1;
  }
  return 0;
}

}  // namespace zavrik::tool
