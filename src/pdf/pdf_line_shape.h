// Line and shape views as PDF paths: strokes with the frame's colour, width and dash pattern,
// arrow heads, and shapes filled with the view's fill clipped to their outline.
#pragma once

#include <string>

#include "pdf/pdf_geometry.h"

namespace zavrik {
class TqbxCustomLineView;
class TqbxShapeView;
}  // namespace zavrik

namespace zavrik::pdf {

// The line straightened first when it is not diagonal (as drawing it does).
void WriteLineView(std::string& out, TqbxCustomLineView& line, const PdfPageGeometry& geometry);
void WriteShapeView(std::string& out, const TqbxShapeView& shape, const PdfPageGeometry& geometry);
// The outline of a closed shape as path operators (no final line end).
std::string ShapePath(const TqbxShapeView& shape, const PdfPageGeometry& geometry);

}  // namespace zavrik::pdf
