// Content-stream operators for fills and frames, appended to a page's content buffer. Each
// operator line ends with CR LF. Rectangles are in points (see pdf_geometry.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/pdf_geometry.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_frame.h"

namespace zavrik::pdf {

// Appends one operator line.
void Op(std::string& out, std::string_view line);

// The dash-pattern operator of a frame or line style at a width in pixels ("[] 0 d",
// "[6.00 ] 0 d", …).
std::string DashPattern(TqbxFrameStyle style, double width);

// The rectangle as a path: left, top, width and height (negative, y runs up) "re".
std::string RectPath(const PdfRect& rect);

// The frame around a rectangle: drop shadow, then the bottom, left, top and right lines that the
// frame has, inside "q" … "Q".
void WriteFrame(std::string& out, const TqbxFrame& frame, const PdfRect& rect);

// A fill (brush, gradient or glass) of a rectangle, inside "q" … "Q"; nothing when it paints
// nothing.
void WriteFill(std::string& out, const TqbxCustomFill& fill, const PdfRect& rect);
// The same fill of a path (the operator lines that build it, without the last line end); `rect`
// bounds the path and places hatch lines, gradient steps and glass halves.
void WriteFill(std::string& out, const TqbxCustomFill& fill, const PdfRect& rect, const std::string& path);

// The page background: the rectangle filled with a colour given in the page colour form.
void WritePageBackground(std::string& out, int32_t color, const PdfRect& rect);

}  // namespace zavrik::pdf
