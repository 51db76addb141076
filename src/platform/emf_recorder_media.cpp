// The EMF recorder's text and bitmap records.
#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "platform/emf_format.h"
#include "platform/emf_recorder.h"
#include "platform/font_face.h"

namespace zavrik {
namespace {

int Round(double value) { return static_cast<int>(RoundHalfEven(value)); }

}  // namespace

// Recorded with baseline alignment: the reference point lies on the baseline, so players need no
// guess about the font's ascent.
void EmfRecorder::TextOut(int x, int y, StringView text, std::span<const int> advances, const Rect* clip) {
  if (text.empty()) return;
  SelectFont();
  const auto face = FaceFor(font_.font.name, font_.font.style);
  const OutlineMetrics metrics = face->Metrics(std::max(1, font_.pixel_height));
  std::vector<int32_t> dx(text.size());
  face->Advances(std::max(1, font_.pixel_height)).Measure(text, dx.data());
  long length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i < advances.size()) dx[i] = advances[i];
    length += dx[i];
  }
  const double angle = font_.escapement * M_PI / 1800;
  const double ux = std::cos(angle), uy = -std::sin(angle), vx = std::sin(angle), vy = std::cos(angle);
  const Point reference{x + Round(metrics.ascent * vx), y + Round(metrics.ascent * vy)};
  const Point corners[4] = {{x, y},
                            {x + Round(length * ux), y + Round(length * uy)},
                            {x + Round(metrics.cell_height * vx), y + Round(metrics.cell_height * vy)},
                            {x + Round(length * ux + metrics.cell_height * vx),
                             y + Round(length * uy + metrics.cell_height * vy)}};
  Rect box = PointsBounds(corners);
  if (clip) {
    box = {std::max(box.left, clip->left), std::max(box.top, clip->top), std::min(box.right, clip->right),
           std::min(box.bottom, clip->bottom)};
  }

  const uint32_t chars = static_cast<uint32_t>(text.size());
  const uint32_t string_offset = 76;
  const uint32_t dx_offset = string_offset + ((chars * 2 + 3) & ~3u);
  Begin(EMR_EXTTEXTOUTW);
  WriteRect(box);
  out_.U32(1);     // compatible graphics mode
  out_.F32(0);
  out_.F32(0);
  out_.I32(reference.x);
  out_.I32(reference.y);
  out_.U32(chars);
  out_.U32(string_offset);
  out_.U32(clip ? kTextClipped : 0);
  WriteRect(clip ? *clip : box);
  out_.U32(dx_offset);
  for (char16_t ch : text) out_.U16(ch);
  out_.PadTo4();
  for (int32_t d : dx) out_.I32(d);
  End();
  if (!box.IsEmpty()) Touch(box);
}

void EmfRecorder::StretchDraw(const Rect& dest, const Image& image, std::optional<Color> transparent_color,
                              bool smooth) {
  if (dest.IsEmpty() || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() < static_cast<size_t>(image.width) * image.height) {
    return;
  }
  const uint32_t mode = smooth ? kStretchHalftone : 3;
  if (selected_.stretch_mode != mode) {
    Record(EMR_SETSTRETCHBLTMODE, {static_cast<int32_t>(mode)});
    selected_.stretch_mode = mode;
  }
  // Transparent pixels travel as alpha 0 in a 32-bit bitmap; opaque pictures as 24-bit rows.
  const bool alpha = transparent_color.has_value();
  const uint32_t key = alpha ? ColorToRgb(*transparent_color) : 0;
  const uint32_t row_bytes = alpha ? image.width * 4 : (image.width * 3 + 3) & ~3u;
  const uint32_t bits_size = row_bytes * image.height;
  Begin(EMR_STRETCHDIBITS);
  WriteRect({dest.left, dest.top, dest.right - 1, dest.bottom - 1});
  for (int v : {dest.left, dest.top, 0, 0, image.width, image.height}) out_.I32(v);
  out_.U32(80);
  out_.U32(40);
  out_.U32(120);
  out_.U32(bits_size);
  out_.U32(0);  // colours are RGB values
  out_.U32(kSrcCopy);
  out_.I32(dest.Width());
  out_.I32(dest.Height());
  out_.U32(40);
  out_.I32(image.width);
  out_.I32(image.height);  // bottom-up rows
  out_.U16(1);
  out_.U16(alpha ? 32 : 24);
  for (int i = 0; i < 6; ++i) out_.U32(i == 1 ? bits_size : 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t row_start = out_.Size();
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = image.At(x, y);
      const uint8_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      out_.U8(b);
      out_.U8(g);
      out_.U8(r);
      if (alpha) out_.U8(RgbColor(r, g, b) == key ? 0 : 255);
    }
    while (out_.Size() - row_start < row_bytes) out_.U8(0);
  }
  End();
  Touch(dest);
}

}  // namespace zavrik
