// The metafile player's text records: real PDF text in the document's fonts, placed by the
// record's reference point, alignment, escapement and character advances.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/codepage.h"
#include "core/numeric.h"
#include "pdf/emf_pdf_export.h"
#include "pdf/pdf_font.h"
#include "pdf/pdf_font_tables.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_text_style.h"
#include "platform/font_face.h"

namespace zavrik::pdf {
namespace {

constexpr uint32_t kOpaque = 2, kClipped = 4, kGlyphIndex = 16, kRtlReading = 128, kPairs = 0x2000;

std::string Fixed4(double v) {
  if (!std::isfinite(v)) v = 0;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", v);
  std::string text = buffer;
  if (text == "-0.0000") text = "0.0000";
  return text;
}

struct TextRecord {
  TEmfRect bounds;
  TEmfPoint reference;
  uint32_t options = 0;
  TEmfRect rcl;
  String text;
  std::vector<double> dx;  // per character; empty without an advance array
};

constexpr uint32_t kExtTextOutA = 83;

// The code page of an 8-bit text in a font of the character set (the default set is Russian).
int CodePageOf(uint8_t charset) { return charset == 204 || charset == 1 ? kCodePage1251 : kCodePage1252; }

// The record's fields; the string and advances only when they lie inside the record. The 8-bit
// text record holds bytes of `code_page` where the wide one holds UTF-16 units.
bool ReadTextRecord(const TEnhMetaObj& record, int code_page, TextRecord& t) {
  ByteReader in = record.Body();
  auto rect = [&](TEmfRect& r) {
    r.left = in.I32();
    r.top = in.I32();
    r.right = in.I32();
    r.bottom = in.I32();
  };
  rect(t.bounds);
  in.Skip(12);
  t.reference.x = in.I32();
  t.reference.y = in.I32();
  const uint32_t chars = in.U32(), offset = in.U32();
  t.options = in.U32();
  rect(t.rcl);
  const uint32_t dx_offset = in.U32();
  const size_t size = record.nSize();
  const size_t unit = record.iType == kExtTextOutA ? 1 : 2;
  if (offset > size || chars > (size - offset) / unit) return false;
  const std::span<const uint8_t> bytes = record.bytes.subspan(offset, chars * unit);
  if (unit == 1) {
    t.text = DecodeCodePage({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, code_page);
  } else {
    ByteReader text(bytes);
    t.text.resize(chars);
    for (char16_t& ch : t.text) ch = text.U16();
  }
  const size_t step = t.options & kPairs ? 8 : 4;
  if (dx_offset != 0 && dx_offset <= size && chars <= (size - dx_offset) / step) {
    ByteReader dx(record.bytes.subspan(dx_offset, chars * step));
    t.dx.resize(chars);
    for (double& d : t.dx) {
      d = dx.I32();
      if (step == 8) dx.I32();
    }
  }
  return true;
}

}  // namespace

void TEMFtoPDFExport::DoExtTextOutW(const TEnhMetaObj& record) {
  Push();
  ExtTextOut(record);
  Pop();
}

void TEMFtoPDFExport::ExtTextOut(const TEnhMetaObj& record) {
  TextRecord t;
  if (!ReadTextRecord(record, CodePageOf(FontInfo().charset), t)) return;
  const TDeviceContextData& dc = DC();
  if (t.options & kOpaque) {
    FPathExists = true;
    WriteLine(RectText(MapRect({t.rcl.left, t.rcl.top}, {t.rcl.right, t.rcl.bottom})) + " re");
    Paint(20);
  }
  if (dc.BkMode == 2) {
    TEmfRect b{t.bounds.left - dc.DeviceTopLeft.x, t.bounds.top - dc.DeviceTopLeft.y,
               t.bounds.right - dc.DeviceTopLeft.x, t.bounds.bottom - dc.DeviceTopLeft.y};
    if (!dc.XForm.IsIdentity() && dc.XForm.eM11 != 0 && dc.XForm.eM22 != 0) {
      b = {b.left / dc.XForm.eM11, b.top / dc.XForm.eM22, b.right / dc.XForm.eM11, b.bottom / dc.XForm.eM22};
    }
    FPathExists = true;
    WriteLine(RectText(MapRect({std::floor(b.left), std::floor(b.top)}, {std::ceil(b.right), std::ceil(b.bottom)})) +
              " re");
    Paint(4);
  }
  const TEmfFontInfo info = FontInfo();
  const bool rtl_reading = (t.options & kRtlReading) || (dc.TextAlignmentMode & 256) || (dc.Layout & 1);
  const bool rtl = rtl_reading && (info.charset == 177 || info.charset == 178);
  FontRequest font;
  font.name = info.family.empty() ? String(u"Arial") : info.family;
  font.style = (info.weight > 550 ? kFontBold : 0) | (info.italic ? kFontItalic : 0) |
               (info.underline ? kFontUnderline : 0) | (info.strike_out ? kFontStrikeOut : 0);
  font.charset = info.charset;
  font.color = dc.TextColor;
  const double size = RoundHalfEven(MapLength(info.size));
  font.size = size;
  // Glyph indices become the characters the font maps to them, so that the text stays text.
  if ((t.options & kGlyphIndex) && !t.text.empty()) {
    const auto face = FaceFor(font.name, font.style);
    for (char16_t& ch : t.text) {
      const char32_t c = face->CharacterOfGlyph(ch);
      ch = c > 0 && c < 0x10000 ? static_cast<char16_t>(c) : u'?';
    }
  }
  if (rtl) std::reverse(t.text.begin(), t.text.end());
  if (t.text.empty() || size == 0) return;
  if (t.options & kClipped) {
    FPathExists = true;
    WriteLine(RectText(MapRect({t.rcl.left, t.rcl.top}, {t.rcl.right, t.rcl.bottom})) + " re");
    WriteLine(Clip());
    Paint(0);
  }
  // The start point: the reference point moved by the alignment along and across the baseline.
  const double theta = info.Angle(), S = info.size;
  double L = 0;
  for (double d : t.dx)
    if (d > 0) L += d;
  const int ha = HorizontalAlign(), va = VerticalAlign();
  const double h = ha == 1 ? -1 : ha == 2 ? -0.5 : 0;
  const double v = va == 0 ? 0.92 : va == 1 ? -0.23 : 0;
  TEmfPoint start = MapPoint({t.reference.x + L * h * std::cos(theta) + S * v * std::sin(theta),
                              t.reference.y + S * v * std::cos(theta) - L * h * std::sin(theta)});
  const double c = std::cos(theta), s = std::sin(theta);
  if (info.escapement != 0) {
    WriteLine(Fixed4(c) + " " + Fixed4(s) + " " + Fixed4(-s) + " " + Fixed4(c) + " 0 0 cm");
    start = {start.x * c + start.y * s, -start.x * s + start.y * c};
  }
  if (FPathExists || !FPath.empty()) Paint(0);
  const int index = RegisterFont(FFonts, font);
  TqbxPDFFont& entry = FontAt(FFonts, index);
  WriteLine("BT");
  WriteLine("/F" + std::to_string(index) + " " + F2(size) + " Tf");
  WriteLine("[] 0 d");
  WriteLine(ColorB(dc.TextColor) + " rg");
  WriteLine(PointText(start) + " Td");
  PdfGlyphRun run = entry.SoftRemapString(t.text, rtl);
  const int rounded = static_cast<int>(size);
  if (!(rounded >= 2 && rounded <= 20 && rounded % 2 == 0)) run.average_spacing = false;
  const FontStyles simulated = SimulatedStyles(font.name, font.style);
  if (simulated & kFontItalic) WriteLine("1 0 0.25 1 " + PointText(start) + " Tm");
  const bool bold = simulated & kFontBold;
  if (bold) WriteLine("2 Tr " + F2(size / 35) + " w " + ColorB(dc.TextColor) + " RG");
  bool wide = false;
  for (int w : run.widths) wide = wide || w >= 65535;
  const bool positioned = !rtl_reading && !wide && !run.ligatures && run.glyphs.size() == t.text.size() &&
                          run.widths.size() == run.glyphs.size() && t.dx.size() == t.text.size();
  if (!positioned) {
    WriteLine("<" + GlyphHex(run.glyphs, 0, run.glyphs.size()) + "> Tj");
  } else {
    const size_t n = run.glyphs.size();
    std::vector<double> d(n);
    for (size_t i = 0; i < n; ++i) d[i] = std::max(run.widths[i], 0) - MapLengthX(t.dx[i]) * 1000 / size;
    const auto is_space = [&](size_t i) { return i < run.space_chars.size() && run.space_chars[i]; };
    size_t others = 0;
    double sum = 0;
    for (size_t i = 0; i < n; ++i)
      if (!is_space(i)) ++others, sum += d[i];
    if (run.average_spacing && others >= 2)
      for (size_t i = 0; i < n; ++i)
        if (!is_space(i)) d[i] = sum / static_cast<double>(others);
    std::string line = "[<";
    double carried = 0;
    for (size_t i = 0; i < n; ++i) {
      line += GlyphHex(run.glyphs, i, i + 1);
      if (i + 1 == n) break;
      const double di = std::isfinite(d[i]) ? std::clamp(d[i], -1e9, 1e9) : 0;
      long long adjust = static_cast<long long>(std::trunc(di));
      carried += di - std::trunc(di);
      if (carried > 0.5) ++adjust, carried -= 1;
      else if (carried < -0.5) --adjust, carried += 1;
      if (adjust != 0) line += ">" + std::to_string(adjust) + "<";
    }
    WriteLine(line + ">] TJ");
  }
  WriteLine("ET");
  if (bold) WriteLine("0 Tr");
  if (info.underline || info.strike_out) {
    WriteLine("[] 0 d");
    WriteLine(ColorB(dc.TextColor) + " RG");
    const double width = MapLength(L);
    const auto rule = [&](double at, double line_width) {
      WriteLine(F3t(line_width) + " w");
      WriteLine(PointText({start.x, at}) + " m");
      WriteLine(PointText({start.x + width, at}) + " l");
      WriteLine("S");
    };
    if (info.underline) rule(start.y - 0.125 * size, size * 0.07125);
    if (info.strike_out) rule(start.y + 0.29 * size, size * 0.035625);
  }
}

}  // namespace zavrik::pdf
