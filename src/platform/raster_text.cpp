// Text output of the raster canvas: glyphs of the FreeType face placed at explicit advances.
#include <cmath>
#include <map>
#include <mutex>

#include "platform/cairo_api.h"
#include "platform/font_face.h"
#include "platform/raster_canvas.h"

namespace zavrik {
namespace {

cairo_font_face_t* CairoFace(const FontFace& face) {
  static std::mutex mutex;
  static std::map<const FontFace*, cairo_font_face_t*> faces;  // faces live for the process
  std::lock_guard lock(mutex);
  cairo_font_face_t*& cached = faces[&face];
  if (!cached) {
    cached = Cairo().ft_font_face_create_for_ft_face(face.FreeTypeFace(), FT_LOAD_NO_HINTING);
    unsigned synthesize = 0;
    if (face.Location().simulate_bold) synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
    if (face.Location().simulate_italic) synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
    Cairo().ft_font_face_set_synthesize(cached, synthesize);
  }
  return cached;
}

}  // namespace

void RasterCanvas::TextOut(int x, int y, StringView text, std::span<const int> advances, const Rect* clip) {
  if (text.empty() || font_.pixel_height <= 0) return;
  const auto face = FaceFor(font_.font.name, font_.font.style);
  const OutlineMetrics metrics = face->Metrics(font_.pixel_height);
  std::vector<int32_t> own(text.size());
  face->Advances(font_.pixel_height).Measure(text, own.data());

  std::vector<cairo_glyph_t> glyphs;
  double pen_x = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    const size_t at = i;
    if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    glyphs.push_back({face->GlyphIndex(ch), pen_x, static_cast<double>(metrics.ascent)});
    for (size_t k = at; k <= i; ++k) pen_x += k < advances.size() ? advances[k] : own[k];
  }

  Cairo().save(cr_);
  if (clip) {
    Cairo().rectangle(cr_, clip->left, clip->top, clip->Width(), clip->Height());
    Cairo().clip(cr_);
  }
  Cairo().translate(cr_, x, y);
  if (font_.escapement != 0) Cairo().rotate(cr_, -font_.escapement * M_PI / 1800.0);
  const Color rgb = ColorToRgb(font_.font.color);
  Cairo().set_source_rgb(cr_, RedOf(rgb) / 255.0, GreenOf(rgb) / 255.0, BlueOf(rgb) / 255.0);
  Cairo().set_font_face(cr_, CairoFace(*face));
  Cairo().set_font_size(cr_, font_.pixel_height);
  cairo_font_options_t* options = Cairo().font_options_create();
  Cairo().font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  Cairo().font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  Cairo().set_font_options(cr_, options);
  Cairo().font_options_destroy(options);
  {
    std::lock_guard lock(face->FaceMutex());
    Cairo().show_glyphs(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
  }
  if (font_.font.style & kFontUnderline) {
    Cairo().rectangle(cr_, 0, metrics.ascent + metrics.underline_position - metrics.underline_thickness / 2.0, pen_x,
                    metrics.underline_thickness);
    Cairo().fill(cr_);
  }
  if (font_.font.style & kFontStrikeOut) {
    Cairo().rectangle(cr_, 0, metrics.ascent - metrics.strikeout_position - metrics.strikeout_thickness / 2.0, pen_x,
                    metrics.strikeout_thickness);
    Cairo().fill(cr_);
  }
  Cairo().restore(cr_);
}

}  // namespace zavrik
