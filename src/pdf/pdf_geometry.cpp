#include "pdf/pdf_geometry.h"

#include <utility>

#include "report/model/qbx_page.h"

namespace zavrik::pdf {

PdfPageGeometry PageGeometry(const TqbxReportPage& page) {
  PdfPageGeometry g;
  g.width = page.Width() * kPointsPerPixel;
  g.height = page.Height() * kPointsPerPixel;
  g.left_offset = page.LeftMargin() * 0.05;
  g.top_offset = page.TopMargin() * 0.05;
  return g;
}

PdfRect PageRectangle(const TqbxReportPage& page, const PdfPageGeometry& geometry, int index) {
  double left = page.LeftMargin(), right = page.RightMargin();
  if (page.MirrorMargins() && index % 2 == 1) std::swap(left, right);
  PdfRect r;
  r.left = left * kPointsPerMm + 0.5;
  r.top = geometry.height - page.TopMargin() * kPointsPerMm;
  r.right = geometry.width - right * kPointsPerMm + 0.5;
  r.bottom = page.BottomMargin() * kPointsPerMm;
  return r;
}

}  // namespace zavrik::pdf
