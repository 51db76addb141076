// The rectangles of a view on the PDF page, in points: the object rectangle (frames, lines, link
// annotations) and the clip rectangle (text clipping and fills), which reaches half a frame line
// beyond the sides that have one.
#pragma once

#include <string>

#include "pdf/pdf_geometry.h"

namespace zavrik {
class TqbxView;
}

namespace zavrik::pdf {

PdfRect ObjectRect(const TqbxView& view, const PdfPageGeometry& geometry);
PdfRect ClipRect(const TqbxView& view, const PdfPageGeometry& geometry);

}  // namespace zavrik::pdf
