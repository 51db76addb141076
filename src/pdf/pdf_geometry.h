// Page geometry of the PDF output: report pixels (96 per inch) become points (0.75 per pixel),
// with y running up from the bottom of the page.
#pragma once

namespace zavrik {
class TqbxReportPage;
}

namespace zavrik::pdf {

inline constexpr double kPointsPerPixel = 0.75;
inline constexpr double kPointsPerMm = 2.8346456692913384;

// A rectangle in points; top lies above bottom (top > bottom).
struct PdfRect {
  double left = 0, top = 0, right = 0, bottom = 0;
};

struct PdfPageGeometry {
  double width = 0, height = 0;            // points
  double left_offset = 0, top_offset = 0;  // points

  double X(double x) const { return x * kPointsPerPixel + left_offset; }
  double Y(double y) const { return height - top_offset - y * kPointsPerPixel; }
};

// Size and margin offsets of a page (the offsets are the margins in millimetres × 0.05).
PdfPageGeometry PageGeometry(const TqbxReportPage& page);
// The area inside the margins, for the page background and frame; page `index` (0-based) of a
// page with mirror margins swaps the left and right margins when it is odd.
PdfRect PageRectangle(const TqbxReportPage& page, const PdfPageGeometry& geometry, int index);

}  // namespace zavrik::pdf
