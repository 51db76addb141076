// Text views written as PDF text: the fill, the text clipped to the view, each wrapped line in the
// view's PDF font with its alignment, justification, simulated styles, underline and strike-out,
// then the frame.
#pragma once

#include <string>

#include "pdf/pdf_font_list.h"
#include "pdf/pdf_geometry.h"

namespace zavrik {
class TqbxCustomMemoView;
}

namespace zavrik::pdf {

class PdfTextStyles;

// Where view drawing writes: the page's content buffer, its geometry, the document's fonts and
// their text styles.
struct PdfPageContent {
  std::string& out;
  const PdfPageGeometry& geometry;
  PdfFontList& fonts;
  PdfTextStyles& styles;
};

// Texts without markup, rotation and character spacing are written as PDF text; the others go
// through the vector conversion.
bool IsPlainText(const TqbxCustomMemoView& memo);

// A memo with a negative GapX or GapY is written from its vector canvas's text records.
void WriteMemoText(PdfPageContent& page, TqbxCustomMemoView& memo);

}  // namespace zavrik::pdf
