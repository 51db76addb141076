#include "platform/font_catalog.h"

#include <fontconfig/fontconfig.h>
// After fontconfig.h, which it needs.
#include <fontconfig/fcfreetype.h>

#include <array>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>

#include "core/error.h"

namespace zavrik {
namespace {

struct Substitute {
  const char16_t* report;
  const char16_t* installed;
};

constexpr std::array<Substitute, 5> kSubstitutes = {{
    {u"Arial", u"Liberation Sans"},
    {u"Times New Roman", u"Liberation Serif"},
    {u"Courier New", u"Liberation Mono"},
    {u"Calibri", u"Carlito"},
    {u"Tahoma", u"Tahoma"},
}};

// Wine ships Tahoma, Wingdings and Symbol outside fontconfig's directories; they join as
// application fonts the first time one of their families is asked for (reading them costs more
// than a small report's text, and the other families' matches prefer installed fonts anyway).
constexpr std::array<const char*, 4> kExtraFontFiles = {
    "/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/wine/fonts/wingding.ttf", "/usr/share/wine/fonts/symbol.ttf"};
constexpr std::array<const char*, 3> kExtraFontFamilies = {"Tahoma", "Wingdings", "Symbol"};

bool IsExtraFamily(const std::string& family) {
  for (const char* extra : kExtraFontFamilies) {
    if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(family.c_str()),
                           reinterpret_cast<const FcChar8*>(extra)) == 0)
      return true;
  }
  return false;
}

// Wine's fonts stand in for the Windows fonts of the same names: same metrics, other glyphs.
bool IsStandInFile(const std::string& path) {
  for (const char* file : kExtraFontFiles)
    if (path == file) return true;
  return false;
}

// The configuration and the font lists, as FcInitLoadConfigAndFonts makes them, without its last
// step: parsing every template of fontconfig's conf.avail folder for descriptions nobody reads
// here (most of the time fontconfig takes to start).
bool HasCacheDirectory(FcConfig* config) {
  FcStrList* dirs = FcConfigGetCacheDirs(config);
  const bool any = dirs && FcStrListNext(dirs);
  if (dirs) FcStrListDone(dirs);
  return any;
}

FcConfig* LoadConfigAndFonts() {
  FcConfig* config = FcConfigCreate();
  if (config && FcConfigParseAndLoad(config, nullptr, FcTrue) && HasCacheDirectory(config) &&
      FcConfigBuildFonts(config))
    return config;
  if (config) FcConfigDestroy(config);
  // fontconfig's own fallbacks for a missing configuration or cache directory
  return FcInitLoadConfigAndFonts();
}

class Catalog {
 public:
  Catalog() : config_(LoadConfigAndFonts()) {
    if (!config_) throw Error(std::string_view("fontconfig could not be initialised"));
  }
  ~Catalog() { FcConfigDestroy(config_); }

  // The named family when it is installed, otherwise its stand-in's best match.
  FontLocation Locate(const std::string& family, const std::string& stand_in, FontStyles style) {
    std::lock_guard lock(mutex_);
    const auto key = std::make_pair(family, style & (kFontBold | kFontItalic));
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
    if (IsExtraFamily(family) || IsExtraFamily(stand_in)) AddExtraFonts();
    FontLocation found = Match(family, style);
    if (!found.exact && stand_in != family) {
      found = Match(stand_in, style);
      found.exact = false;
    }
    cache_.emplace(key, found);
    return found;
  }

 private:
  void AddExtraFonts() {
    if (extra_fonts_added_) return;
    extra_fonts_added_ = true;
    for (const char* file : kExtraFontFiles) {
      std::error_code ec;
      if (std::filesystem::exists(file, ec)) {
        FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(file));
      }
    }
  }

  // The weight and slant of the face itself, from the font sets fontconfig already read.
  bool OwnStyle(const std::string& path, int index, int& weight, int& slant) {
    for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
      const FcFontSet* fonts = FcConfigGetFonts(config_, set);
      for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* file = nullptr;
        int face = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch ||
            path != reinterpret_cast<const char*>(file))
          continue;
        if (FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &face) != FcResultMatch ||
            face != index)
          continue;
        return FcPatternGetInteger(fonts->fonts[i], FC_WEIGHT, 0, &weight) == FcResultMatch &&
               FcPatternGetInteger(fonts->fonts[i], FC_SLANT, 0, &slant) == FcResultMatch;
      }
    }
    return false;
  }

  FontLocation Match(const std::string& family, FontStyles style) {
    const bool bold = style & kFontBold, italic = style & kFontItalic;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) throw Error("No font found for \"" + family + "\"");

    FontLocation location;
    FcChar8* text = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &text) == FcResultMatch) {
      location.path = reinterpret_cast<const char*>(text);
    }
    if (FcPatternGetString(match, FC_FAMILY, 0, &text) == FcResultMatch) {
      location.family = reinterpret_cast<const char*>(text);
    }
    // A font may carry its family under several names (localised ones among them).
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &text) == FcResultMatch; ++i) {
      if (FcStrCmpIgnoreCase(text, reinterpret_cast<const FcChar8*>(family.c_str())) == 0)
        location.exact = !IsStandInFile(location.path);
    }
    int value = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &value) == FcResultMatch) location.index = value;
    FcPatternDestroy(match);
    // The file's own weight and slant: the matched pattern already carries fontconfig's synthesis.
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN, count = 0;
    if (!OwnStyle(location.path, location.index, weight, slant)) {
      weight = FC_WEIGHT_REGULAR;
      slant = FC_SLANT_ROMAN;
      if (FcPattern* own = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(location.path.c_str()),
                                           location.index, nullptr, &count)) {
        FcPatternGetInteger(own, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(own, FC_SLANT, 0, &slant);
        FcPatternDestroy(own);
      }
    }
    location.simulate_bold = bold && weight < FC_WEIGHT_DEMIBOLD;
    location.simulate_italic = italic && slant == FC_SLANT_ROMAN;
    if (location.path.empty()) throw Error("No font file found for \"" + family + "\"");
    return location;
  }

  FcConfig* config_;
  bool extra_fonts_added_ = false;
  std::mutex mutex_;
  std::map<std::pair<std::string, int>, FontLocation> cache_;
};

Catalog& TheCatalog() {
  static Catalog catalog;
  return catalog;
}

}  // namespace

String SubstituteFamily(StringView family) {
  for (const Substitute& s : kSubstitutes) {
    if (SameTextAscii(family, s.report)) return s.installed;
  }
  return String(family);
}

FontLocation LocateFont(StringView family, FontStyles style) {
  return TheCatalog().Locate(StringToUtf8(family), StringToUtf8(SubstituteFamily(family)), style);
}

}  // namespace zavrik
