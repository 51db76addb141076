// Text records of a view's vector canvas written as PDF text objects: each record starts 1.2 font
// sizes below its position, in the view's font, clipped to the view when the record was clipped,
// and spread over the record's length when it holds spaces.
#pragma once

#include <vector>

#include "pdf/pdf_memo_text.h"
#include "platform/text_record_canvas.h"

namespace zavrik {
class TqbxFont;
class TqbxView;
}  // namespace zavrik

namespace zavrik::pdf {

// Appends the records' text objects, between "q" and "Q", for `view` drawn in `font`.
void WriteVectorTexts(PdfPageContent& page, const TqbxView& view, const TqbxFont& font,
                      const std::vector<VectorTextRecord>& records);

}  // namespace zavrik::pdf
