#include "pdf/pdf_vector_text.h"

#include "pdf/pdf_format.h"
#include "pdf/pdf_graphics.h"
#include "pdf/pdf_text_style.h"
#include "pdf/pdf_view_rects.h"
#include "report/model/views/qbx_font.h"
#include "report/model/views/qbx_view.h"

namespace zavrik::pdf {
namespace {

// The start point lies this many font sizes (in pixels) below the record's top.
constexpr double kBaselineDrop = 1.2;

void WriteRecord(PdfPageContent& page, const TqbxView& view, const TqbxFont& font,
                 const VectorTextRecord& record) {
  std::string& out = page.out;
  Op(out, "%--Vector Begin");
  Op(out, "q");
  if (record.clipped) {
    Op(out, RectPath(ClipRect(view, page.geometry)));
    Op(out, "W");
    Op(out, "n");
  }
  const PdfTextStyle style = page.styles.Of(font);
  const double x = page.geometry.X(view.AbsLeft() + record.x);
  const double y = page.geometry.Y(view.AbsTop() + record.y + style.points * kBaselineDrop);
  Op(out, "BT");
  Op(out, style.resource + " " + style.size + " Tf");
  Op(out, ColorA(style.color) + " rg");
  Op(out, F3t(x) + " " + F3t(y) + " Td");
  const PdfGlyphRun run = style.font->SoftRemapString(record.text, record.rtl);
  if (style.italic_simulated) Op(out, "1 0 0.25 1 " + F3t(x) + " " + F3t(y) + " Tm");
  if (style.bold_simulated)
    Op(out, "2 Tr " + F2(style.points / 35.0) + " w " + ColorB(style.color) + " RG");
  const double length = record.length * kPointsPerPixel;
  if (run.glyphs.size() < 2 || run.spaces == 0 || style.points <= 0) {
    Op(out, "<" + GlyphHex(run.glyphs, 0, run.glyphs.size()) + "> Tj");
  } else {
    const double j = (run.width - length * 1000 / style.points) / run.spaces;
    Op(out, JustifiedGlyphs(run, style.font->SpaceGlyph(), j));
  }
  Op(out, "ET");
  if (style.bold_simulated) Op(out, "0 Tr");
  if (style.underline || style.strike_out) {
    Op(out, "[] 0 d");
    Op(out, ColorA(style.color) + " RG");
  }
  const auto rule = [&](double width, double at) {
    Op(out, F2(width) + " w");
    Op(out, F2(x) + " " + F2(at) + " m");
    Op(out, F2(x + length) + " " + F2(at) + " l");
    Op(out, "S");
  };
  if (style.underline) rule(style.size_value * 0.12, y - 0.175 * style.size_value);
  if (style.strike_out) rule(style.size_value * 0.06, y + 0.24 * style.size_value);
  Op(out, "Q");
  Op(out, "%--Vector End");
}

}  // namespace

void WriteVectorTexts(PdfPageContent& page, const TqbxView& view, const TqbxFont& font,
                      const std::vector<VectorTextRecord>& records) {
  Op(page.out, "q");
  for (const VectorTextRecord& record : records)
    if (!record.text.empty()) WriteRecord(page, view, font, record);
  Op(page.out, "Q");
}

}  // namespace zavrik::pdf
