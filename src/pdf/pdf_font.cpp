#include "pdf/pdf_font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "core/error.h"
#include "core/numeric.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_font_program.h"
#include "pdf/pdf_font_tables.h"
#include "pdf/pdf_truetype.h"
#include "platform/message_window.h"
#include "platform/shaping.h"

namespace zavrik {
namespace {

// 1000 pixels per em at 96 pixels per inch: advances come out in thousandths of an em.
constexpr int kEmPixels = 1000;
// A glyph of Windows' Arial that shaping inserts without a character of its own; it is left out
// of the drawn glyphs (its width still counts).
constexpr uint16_t kArialHiddenGlyph = 667;

bool IsSpaceChar(char16_t ch) { return ch == 0x20 || ch == 0xA0 || ch == 0x202F || ch == 0x2060; }

bool HasDevanagari(StringView text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x900 && c <= 0x97F; });
}

// The length of the code point at i: 2 for a surrogate pair, else 1.
size_t PointLength(StringView text, size_t i) {
  const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 &&
                    text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
  return pair ? 2 : 1;
}

size_t CountPoints(StringView text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += PointLength(text, i)) ++count;
  return count;
}

std::string Hex4(unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
  return buffer;
}

std::string Int(double value) {
  return std::to_string(static_cast<long long>(RoundHalfEven(value)));
}

String StyleKey(const FontRequest& font) {
  return font.name + u'\0' + static_cast<char16_t>(u'0' + font.style);
}

}  // namespace

TqbxPDFFont::TqbxPDFFont(const FontRequest& font)
    : FFont(font), FArial(pdf::IsArialFamily(font.name)) {
  FFont.size = 750;  // points: 1000 pixels per em at 96 pixels per inch
  FFace = FaceFor(FFont.name, FFont.style & (kFontBold | kFontItalic));
  FMetrics = FFace->Metrics(kEmPixels);
  if (const uint32_t space = FFace->GlyphIndex(U' '); space != 0)
    FSpaceGlyph = static_cast<uint16_t>(space);
}

TqbxPDFFont::ShapedLine TqbxPDFFont::Shape(StringView text, bool rtl) const {
  ShapeOptions options;
  options.rtl_reading = rtl;
  options.units_per_em = kEmPixels;
  options.full_shaping = FFullConversion;
  ShapedLine line;
  std::vector<uint32_t> clusters, seen;
  const std::vector<ShapedRun> runs = ShapeText(*FFace, text, options);
  size_t count = 0;
  for (const ShapedRun& run : runs) count += run.glyphs.size();
  line.glyphs.reserve(count);
  line.widths.reserve(count);
  line.texts.reserve(count);
  for (const ShapedRun& run : runs) {
    clusters.clear();
    seen.clear();
    clusters.reserve(run.glyphs.size());
    seen.reserve(run.glyphs.size());
    for (const ShapedGlyph& g : run.glyphs) clusters.push_back(g.cluster);
    std::sort(clusters.begin(), clusters.end());
    const size_t run_end = std::min(text.size(), run.start + run.length);
    for (const ShapedGlyph& g : run.glyphs) {
      // A glyph placed on the previous one (a mark) widens it and takes no width of its own.
      int width = g.advance;
      if (!line.glyphs.empty() && (g.x_offset > 0 || g.diacritic)) {
        auto base =
            std::find_if(line.widths.rbegin(), line.widths.rend(), [](int w) { return w != -1; });
        if (base != line.widths.rend()) *base = std::max(*base, g.x_offset + g.advance);
        width = -1;
      }
      StringView chars;
      if (std::find(seen.begin(), seen.end(), g.cluster) == seen.end() && g.cluster < run_end) {
        seen.push_back(g.cluster);
        const auto next = std::upper_bound(clusters.begin(), clusters.end(), g.cluster);
        const size_t end = next == clusters.end() ? run_end : std::min<size_t>(*next, run_end);
        chars = text.substr(g.cluster, end - g.cluster);
      }
      line.glyphs.push_back(static_cast<uint16_t>(g.index));
      line.widths.push_back(width);
      line.texts.push_back(chars);
    }
  }
  return line;
}

void TqbxPDFFont::Register(uint16_t glyph, int width, StringView unicode) {
  if (glyph < FUsedIndex.size() && FUsedIndex[glyph] >= 0) return;
  if (glyph >= FUsedIndex.size()) FUsedIndex.resize(glyph + size_t{1}, -1);
  FUsedIndex[glyph] = static_cast<int32_t>(FUsed.size());
  FUsed.push_back({glyph, width, unicode.empty() ? String(1, FMetrics.default_char) : String(unicode)});
}

PdfGlyphRun TqbxPDFFont::Convert(StringView text, bool rtl) {
  PdfGlyphRun run;
  const ShapedLine shaped = Shape(text, rtl);
  run.ligatures = shaped.glyphs.size() < CountPoints(text);
  const bool arial = FArial;
  run.glyphs.reserve(shaped.glyphs.size());
  run.widths.reserve(shaped.glyphs.size());
  for (size_t i = 0; i < shaped.glyphs.size(); ++i) {
    const uint16_t glyph = shaped.glyphs[i];
    const int width = shaped.widths[i];
    if (width != -1) run.width += width;
    if (arial && glyph == kArialHiddenGlyph && FFace->CharacterOfGlyph(glyph) == 0) continue;
    run.glyphs.push_back(glyph);
    run.widths.push_back(width);
    if (glyph == FSpaceGlyph) ++run.spaces;
    Register(glyph, width, shaped.texts[i]);
  }
  return run;
}

const PdfGlyphRun& TqbxPDFFont::SoftRemapString(StringView text, bool rtl) {
  static const PdfGlyphRun kEmpty;
  if (text.empty()) return kEmpty;
  if (!rtl && !FFullConversion && RemapPlainly(text, FPlainRun)) return FPlainRun;
  auto& runs = FRuns[rtl ? 1 : 0];
  if (const auto it = runs.find(text); it != runs.end()) return it->second;
  constexpr size_t kRunsKept = 16384;
  if (runs.size() >= kRunsKept) runs.clear();
  return runs.emplace(String(text), RemapString(text, rtl)).first->second;
}

void TqbxPDFFont::FillPlainUnits(unsigned page_index, LazyPages<PlainUnit>::Page& page) const {
  ShapeOptions options;
  options.units_per_em = kEmPixels;
  ShapedGlyph glyph;
  for (unsigned k = 0; k < page.size(); ++k) {
    const char16_t unit = static_cast<char16_t>(page_index << 8 | k);
    PlainUnit& entry = page[k];
    entry = {};
    if (!ShapePlainCharacter(*FFace, unit, options, glyph)) continue;
    // Arial's hidden glyph is left to Convert, which decides whether to draw it.
    if (glyph.index == 0 || glyph.index > 0xFFFF || glyph.index == kArialHiddenGlyph) continue;
    entry = {static_cast<uint16_t>(glyph.index), true, glyph.advance};
  }
}

const TqbxPDFFont::PlainUnit& TqbxPDFFont::PlainUnitOf(char16_t unit) {
  return FPlainUnits.At(unit, [this](unsigned index, LazyPages<PlainUnit>::Page& page) {
    FillPlainUnits(index, page);
  });
}

bool TqbxPDFFont::RemapPlainly(StringView text, PdfGlyphRun& run) {
  const size_t n = text.size();
  run.glyphs.resize(n);
  run.widths.resize(n);
  run.width = 0;
  run.spaces = 0;
  // The glyphs first: a unit that is not plain leaves the run unfinished and nothing registered.
  for (size_t i = 0; i < n; ++i) {
    const PlainUnit& plain = PlainUnitOf(text[i]);
    if (!plain.plain) return false;
    run.glyphs[i] = plain.glyph;
    run.widths[i] = plain.width;
    if (plain.width != -1) run.width += plain.width;
    if (plain.glyph == FSpaceGlyph) ++run.spaces;
  }
  run.ligatures = false;
  run.average_spacing = FArial;
  run.space_chars.clear();
  if (FArial) run.space_chars.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const char16_t unit = text[i];
    const uint16_t glyph = run.glyphs[i];
    // Arial registers each character converted on its own before the line; the line's own
    // registration of the same glyph then changes nothing.
    if (FArial && !FSingleUnits[unit]) {
      FSingleUnits[unit] = true;
      Register(glyph, run.widths[i], text.substr(i, 1));
    }
    if (glyph >= FUsedIndex.size() || FUsedIndex[glyph] < 0) Register(glyph, run.widths[i], text.substr(i, 1));
    if (FArial) run.space_chars[i] = IsSpaceChar(unit);
  }
  return true;
}

bool TqbxPDFFont::FirstSingle(StringView point) {
  if (point.size() == 1) {
    if (FSingleUnits[point[0]]) return false;
    FSingleUnits[point[0]] = true;
    return true;
  }
  if (FSinglePairs.find(point) != FSinglePairs.end()) return false;
  FSinglePairs.emplace(point);
  return true;
}

PdfGlyphRun TqbxPDFFont::RemapString(StringView text, bool rtl) {
  const bool arial = FArial;
  if (arial && !HasDevanagari(text)) {
    for (size_t i = 0; i < text.size(); i += PointLength(text, i)) {
      const StringView point = text.substr(i, PointLength(text, i));
      if (FirstSingle(point)) Convert(point, rtl);
    }
  }
  PdfGlyphRun run = Convert(text, rtl);
  if (run.ligatures && pdf::IsLigatureFree(FFont.name)) {
    PdfGlyphRun joined;
    for (size_t i = 0; i < text.size(); i += PointLength(text, i)) {
      const PdfGlyphRun single = Convert(text.substr(i, PointLength(text, i)), rtl);
      joined.glyphs.insert(joined.glyphs.end(), single.glyphs.begin(), single.glyphs.end());
      joined.widths.insert(joined.widths.end(), single.widths.begin(), single.widths.end());
      joined.width += single.width;
      joined.spaces += single.spaces;
    }
    joined.ligatures = true;
    run = std::move(joined);
  }
  if (arial) {
    run.average_spacing = true;
    run.space_chars.reserve(text.size());
    for (char16_t ch : text) run.space_chars.push_back(IsSpaceChar(ch));
  }
  return run;
}

std::string TqbxPDFFont::FontName() const {
  const bool ascii =
      std::all_of(FFont.name.begin(), FFont.name.end(), [](char16_t c) { return c < 128; });
  std::string name = ascii ? StringToUtf8(FFont.name) : FFace->PostScriptName();
  if (name.empty()) name = StringToUtf8(FFont.name);
  std::string suffix;
  if (FFont.style & kFontBold) suffix += "Bold";
  if (FFont.style & kFontItalic) suffix += "Italic";
  return pdf::EscapeFontName(suffix.empty() ? name : name + "," + suffix);
}

std::string TqbxPDFFont::ToUnicodeMap() const {
  std::string map;
  auto line = [&map](const std::string& text) { map += text + "\r\n"; };
  line("/CIDInit /ProcSet findresource begin");
  line("12 dict begin");
  line("begincmap");
  line("/CIDSystemInfo");
  line("<< /Registry (Adobe)");
  line("/Ordering (UCS)");
  line("/Ordering (Identity)");
  line("/Supplement 0");
  line(">> def");
  std::string cmap_name = FontName();
  std::replace(cmap_name.begin(), cmap_name.end(), ',', '+');
  line("/CMapName /" + cmap_name + " def");
  line("/CMapType 2 def");
  line("1 begincodespacerange");
  line("<0000> <FFFF>");
  line("endcodespacerange");
  line(std::to_string(FUsed.size()) + " beginbfchar");
  for (const PdfUsedGlyph& used : FUsed) {
    std::string unicode;
    for (char16_t unit : used.unicode) unicode += Hex4(unit);
    line("<" + Hex4(used.glyph) + "> <" + unicode + ">");
  }
  line("endbfchar");
  line("endcmap");
  line("CMapName currentdict /CMap defineresource pop");
  line("end");
  line("end");
  return map;
}

std::string TqbxPDFFont::WidthsLine() const {
  std::string line = "/W [ ";
  for (const PdfUsedGlyph& used : FUsed)
    line += std::to_string(used.glyph) + " [" + std::to_string(std::max(used.width, 0)) + "] ";
  return line + "]";
}

TqbxPDFFont::Program TqbxPDFFont::EmbeddedProgram() {
  const pdf::FontProgram& program = pdf::FontProgramOf(*FFace);
  const pdf::TrueTypeFont* font = program.font.get();
  if (!font) {
    // CFF outlines: a single OpenType file goes whole; a collection's face cannot be cut out.
    if (pdf::IsCompactFontProgram(program.bytes)) return {program.bytes, true};
    return {};
  }
  if (!SameTextAscii(FFont.name, u"EanGniv?") && !SameTextAscii(FFont.name, u"Roboto Cn"))
    for (const std::string& error : program.checksum_errors)
      ShowMessage(u"Font table checksum error", Utf8ToString(error));
  std::set<uint16_t> glyphs;
  for (const PdfUsedGlyph& used : FUsed) glyphs.insert(used.glyph);
  std::vector<uint8_t> packed = font->Pack(std::move(glyphs));
  // The embedded program's own advances become the widths.
  for (PdfUsedGlyph& used : FUsed) {
    if (used.width == -1 || used.unicode == u" " || used.unicode == u"\u00A0") continue;
    used.width = static_cast<int>(
        RoundHalfEven(FFace->DesignAdvance(used.glyph) * 1000.0 / FFace->UnitsPerEm()));
  }
  return {std::move(packed), false};
}

void TqbxPDFFont::Write(pdf::PdfDocumentWriter& w, int object,
                        const pdf::PdfFontWriteOptions& options) {
  const std::string name = FontName();
  int program = 0;
  bool compact = false;
  if (options.embedded || IsStandIn()) {
    const Program embedded = EmbeddedProgram();
    compact = embedded.compact;
    if (!embedded.bytes.empty()) {
      program = w.ReserveObject();
      w.BeginObject(program);
      w.Raw(compact ? "<</Subtype /OpenType" : "<<");
      w.StreamObject(program,
                     std::string_view(reinterpret_cast<const char*>(embedded.bytes.data()),
                                      embedded.bytes.size()),
                     options.compressed, true);
    }
  }
  const OutlineMetrics& m = FMetrics;
  const int descriptor = w.ReserveObject();
  w.BeginObject(descriptor);
  w.Line("<<");
  w.Line("/Type /FontDescriptor");
  w.Line("/FontName /" + name);
  w.Line("/Flags 32");
  w.Line("/FontBBox [" + std::to_string(m.bbox_left) + " " + std::to_string(m.bbox_bottom) + " " +
         std::to_string(m.bbox_right) + " " + std::to_string(m.bbox_top) + " ]");
  w.Line("/ItalicAngle " + Int(m.italic_angle));
  w.Line("/Ascent " + std::to_string(m.ascent));
  w.Line("/Descent " + std::to_string(-m.descent));
  w.Line("/Leading " + std::to_string(m.internal_leading));
  w.Line("/CapHeight " + std::to_string(m.cell_height));
  w.Line("/StemV " + Int(std::pow(m.weight / 65.0, 2) + 50));
  w.Line("/AvgWidth " + std::to_string(m.avg_char_width));
  w.Line("/MaxWidth " + std::to_string(m.max_char_width));
  w.Line("/MissingWidth " + std::to_string(m.avg_char_width));
  if (program) w.Line((compact ? "/FontFile3 " : "/FontFile2 ") + pdf::Ref(program));
  w.Line(">>");
  w.EndObject();

  const int to_unicode = w.NewStreamObject(ToUnicodeMap(), options.compressed);

  const int system_info = w.ReserveObject();
  w.BeginObject(system_info);
  w.Line("<<");
  w.Line("/Registry (Adobe) /Ordering (Identity) /Supplement 0");
  w.Line(">>");
  w.EndObject();

  const int descendant = w.ReserveObject();
  WriteDescendant(w, descendant, name, compact, system_info, descriptor);

  w.BeginObject(object);
  w.Line("<<");
  w.Line("/Type /Font");
  w.Line("/Subtype /Type0");
  w.Line("/BaseFont /" + name);
  w.Line("/Encoding /Identity-H");
  w.Line("/DescendantFonts [" + pdf::Ref(descendant) + "]");
  w.Line("/ToUnicode " + pdf::Ref(to_unicode));
  w.Line(">>");
  w.EndObject();
}

void TqbxPDFFont::WriteDescendant(pdf::PdfDocumentWriter& w, int object, const std::string& name,
                                  bool compact, int system_info, int descriptor) const {
  w.BeginObject(object);
  w.Line("<<");
  w.Line("/Type /Font");
  // CFF outlines select glyphs by CID directly (CID = glyph index of a name-keyed font).
  w.Line(compact ? "/Subtype /CIDFontType0" : "/Subtype /CIDFontType2");
  w.Line("/BaseFont /" + name);
  if (!compact) w.Line("/CIDToGIDMap /Identity");
  w.Line("/CIDSystemInfo " + pdf::Ref(system_info));
  w.Line("/FontDescriptor " + pdf::Ref(descriptor));
  w.Line(WidthsLine());
  w.Line(">>");
  w.EndObject();
}

namespace pdf {

int RegisterFont(PdfFontList& fonts, const FontRequest& font) {
  FontRequest key = font;
  key.style = font.style & ~SimulatedStyles(font.name, font.style);
  const String text = StyleKey(key);
  const int found = fonts.Find(text);
  if (found >= 0) return found;
  return fonts.Add(std::make_unique<TqbxPDFFont>(key), text);
}

TqbxPDFFont& FontAt(PdfFontList& fonts, int index) {
  auto* font = dynamic_cast<TqbxPDFFont*>(&fonts.At(index));
  if (!font) throw Error(u"The PDF font list entry is not a text font");
  return *font;
}

std::string EscapeFontName(const std::string& utf8) {
  static const std::string kSpecial = " ()%<>[]{}/#";
  std::string out;
  for (unsigned char c : utf8) {
    if (c > 127 || kSpecial.find(static_cast<char>(c)) != std::string::npos) {
      char buffer[4];
      std::snprintf(buffer, sizeof buffer, "#%02X", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace pdf
}  // namespace zavrik
