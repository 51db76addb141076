#include "platform/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ot.h>
#include <hb.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "core/error.h"
#include "core/numeric.h"
#include "platform/plain_glyphs.h"

namespace zavrik {
namespace {

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw Error(std::string_view("FreeType could not be initialised"));
    return lib;
  }();
  return library;
}

std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

FontFace::FontFace(const FontLocation& location) : location_(location) {
  {
    std::lock_guard lock(LibraryMutex());
    if (FT_New_Face(Library(), location.path.c_str(), location.index, &ft_face_) != 0) {
      throw Error("Cannot open font file \"" + location.path + "\"");
    }
  }
  units_per_em_ = ft_face_->units_per_EM > 0 ? ft_face_->units_per_EM : 2048;
  face_count_ = ft_face_->num_faces;
  hb_blob_t* blob = hb_blob_create_from_file(location.path.c_str());
  hb_face_t* hb_face = hb_face_create(blob, location.index);
  hb_blob_destroy(blob);
  hb_font_ = hb_font_create(hb_face);
  hb_face_destroy(hb_face);
  hb_font_set_scale(hb_font_, units_per_em_, units_per_em_);
}

FontFace::~FontFace() {
  delete plain_.load();
  hb_font_destroy(hb_font_);
  std::lock_guard lock(LibraryMutex());
  FT_Done_Face(ft_face_);
}

uint32_t FontFace::GlyphIndex(char32_t ch) const {
  std::lock_guard lock(mutex_);
  uint32_t glyph = FT_Get_Char_Index(ft_face_, ch);
  // Symbol fonts map their characters into the private area at U+F000.
  if (glyph == 0 && ch < 0x100 && ft_face_->charmap && ft_face_->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
    glyph = FT_Get_Char_Index(ft_face_, 0xF000 + ch);
  }
  return glyph;
}

char32_t FontFace::CharacterOfGlyph(uint32_t glyph) const {
  std::lock_guard lock(mutex_);
  if (glyph_chars_.empty()) {
    FT_UInt index = 0;
    FT_ULong ch = FT_Get_First_Char(ft_face_, &index);
    while (index != 0) {
      glyph_chars_.emplace(index, static_cast<char32_t>(ch));  // keeps the lowest character
      ch = FT_Get_Next_Char(ft_face_, ch, &index);
    }
  }
  auto it = glyph_chars_.find(glyph);
  return it == glyph_chars_.end() ? 0 : it->second;
}

int FontFace::DesignAdvance(uint32_t glyph) const {
  std::lock_guard lock(mutex_);
  FT_Fixed advance = 0;
  if (FT_Get_Advance(ft_face_, glyph, FT_LOAD_NO_SCALE, &advance) != 0) return 0;
  return static_cast<int>(advance);
}

const PlainGlyphs& FontFace::Plain() const {
  if (const PlainGlyphs* plain = plain_.load(std::memory_order_acquire)) return *plain;
  std::lock_guard lock(mutex_);
  if (const PlainGlyphs* plain = plain_.load()) return *plain;
  auto plain = std::make_unique<PlainGlyphs>(hb_font_);
  plain_.store(plain.get(), std::memory_order_release);
  return *plain.release();
}

int FontFace::Scale(long font_units, int em_height) const {
  return static_cast<int>(RoundHalfEven(static_cast<double>(font_units) * em_height / units_per_em_));
}

OutlineMetrics FontFace::Metrics(int em_height) const {
  std::lock_guard lock(mutex_);
  OutlineMetrics m;
  m.em_height = em_height;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft_face_, FT_SFNT_OS2));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(ft_face_, FT_SFNT_POST));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(ft_face_, FT_SFNT_HHEA));
  if (os2 && os2->version != 0xFFFF && (os2->usWinAscent | os2->usWinDescent) != 0) {
    m.ascent = Scale(os2->usWinAscent, em_height);
    m.descent = Scale(os2->usWinDescent, em_height);
  } else {
    m.ascent = Scale(ft_face_->ascender, em_height);
    m.descent = Scale(-ft_face_->descender, em_height);
  }
  m.cell_height = m.ascent + m.descent;
  m.internal_leading = m.cell_height - em_height;
  m.bbox_left = Scale(ft_face_->bbox.xMin, em_height);
  m.bbox_bottom = Scale(ft_face_->bbox.yMin, em_height);
  m.bbox_right = Scale(ft_face_->bbox.xMax, em_height);
  m.bbox_top = Scale(ft_face_->bbox.yMax, em_height);
  m.cap_height = m.bbox_top;
  m.x_height = Scale(units_per_em_ / 2, em_height);
  if (os2 && os2->version != 0xFFFF) {
    m.weight = os2->usWeightClass;
    m.avg_char_width = Scale(os2->xAvgCharWidth, em_height);
    m.strikeout_position = Scale(os2->yStrikeoutPosition, em_height);
    m.strikeout_thickness = std::max(1, Scale(os2->yStrikeoutSize, em_height));
    if (os2->version >= 2) {
      m.cap_height = Scale(os2->sCapHeight, em_height);
      m.x_height = Scale(os2->sxHeight, em_height);
      m.default_char = static_cast<char16_t>(os2->usDefaultChar);
    }
  }
  if (location_.simulate_bold) m.weight = 700;
  if (hhea) m.max_char_width = Scale(hhea->advance_Width_Max, em_height);
  if (post) m.italic_angle = static_cast<double>(post->italicAngle) / 65536.0;
  if (location_.simulate_italic && m.italic_angle == 0) m.italic_angle = -12;
  m.underline_position = Scale(-ft_face_->underline_position, em_height);
  m.underline_thickness = std::max(1, Scale(ft_face_->underline_thickness, em_height));
  if (m.strikeout_position == 0) m.strikeout_position = Scale(units_per_em_ * 26 / 100, em_height);
  return m;
}

const AdvanceTable& FontFace::Advances(int em_height) const {
  std::lock_guard lock(mutex_);
  auto& table = advance_tables_[em_height];
  if (!table) table = std::make_unique<AdvanceTable>(*this, em_height);
  return *table;
}

std::vector<uint8_t> FontFace::FileBytes() const {
  std::ifstream in(location_.path, std::ios::binary | std::ios::ate);
  if (!in) throw Error("Cannot open font file \"" + location_.path + "\"");
  const std::streamoff size = in.tellg();
  std::vector<uint8_t> bytes(size > 0 ? static_cast<size_t>(size) : 0);
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw Error("Cannot read font file \"" + location_.path + "\"");
  return bytes;
}

std::string FontFace::PostScriptName() const {
  std::lock_guard lock(mutex_);
  const char* name = FT_Get_Postscript_Name(ft_face_);
  return name ? std::string(name) : std::string();
}

AdvanceTable::AdvanceTable(const FontFace& face, int em_height) : face_(face), em_height_(em_height) {}

void AdvanceTable::Fill(unsigned page_index, LazyPages<int32_t>::Page& page) const {
  const double scale = static_cast<double>(em_height_) / face_.UnitsPerEm();
  for (unsigned low = 0; low < 256; ++low) {
    const char32_t ch = (page_index << 8) | low;
    const int design = face_.DesignAdvance(face_.GlyphIndex(ch));
    page[low] = static_cast<int32_t>(RoundHalfEven(design * scale));
  }
}

int AdvanceTable::Advance(char16_t ch) const {
  return pages_.At(ch, [this](unsigned index, LazyPages<int32_t>::Page& page) { Fill(index, page); });
}

void AdvanceTable::Measure(StringView text, int32_t* advances) const {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      const char32_t cp = 0x10000 + ((char32_t{ch} - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      const double design = face_.DesignAdvance(face_.GlyphIndex(cp));
      advances[i] = static_cast<int32_t>(RoundHalfEven(design * em_height_ / face_.UnitsPerEm()));
      advances[++i] = 0;
    } else {
      advances[i] = Advance(ch);
    }
  }
}

int EmHeightAt(double size, int dpi) { return static_cast<int>(RoundHalfEven(size * dpi / 72)); }

void MeasureRun(const DeviceFont& font, StringView text, int32_t* advances) {
  FaceFor(font.font.name, font.font.style)->Advances(font.pixel_height).Measure(text, advances);
}

std::shared_ptr<const FontFace> FaceFor(StringView family, FontStyles style) {
  static std::mutex mutex;
  static std::map<FontLocation, std::shared_ptr<const FontFace>, bool (*)(const FontLocation&, const FontLocation&)>
      faces([](const FontLocation& a, const FontLocation& b) {
        return std::tie(a.path, a.index, a.simulate_bold, a.simulate_italic, a.exact) <
               std::tie(b.path, b.index, b.simulate_bold, b.simulate_italic, b.exact);
      });
  // The catalog's answer for a family and style does not change during the run.
  static std::map<String, std::shared_ptr<const FontFace>> requested;  // family + the style unit
  String key(family);
  key.push_back(static_cast<char16_t>(style));
  std::lock_guard lock(mutex);
  if (const auto known = requested.find(key); known != requested.end()) return known->second;
  const FontLocation location = LocateFont(family, style);
  auto& face = faces[location];
  if (!face) face = std::make_shared<FontFace>(location);
  requested.emplace(std::move(key), face);
  return face;
}

std::vector<std::shared_ptr<const FontFace>> PreloadDefaultFaces() noexcept {
  std::vector<std::shared_ptr<const FontFace>> faces;
  try {
    const FontRequest defaults;
    for (const FontStyles style : {FontStyles{0}, FontStyles{kFontBold}}) {
      faces.push_back(FaceFor(defaults.name, style));
      faces.back()->Plain();
    }
  } catch (...) {
  }
  return faces;
}

}  // namespace zavrik
