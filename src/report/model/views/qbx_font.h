// The font of report objects: family, size in points (stored as the pixel height at 96 per inch),
// colour, style, character set. Owners hear every change through OnChange.
#pragma once

#include <functional>

#include "core/rtti.h"
#include "platform/color.h"
#include "platform/font_request.h"

namespace zavrik {

enum TFontStyle : int32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };  // bits of Style
enum TFontPitch : int32_t { fpDefault, fpVariable, fpFixed };
enum TFontQuality : int32_t {
  fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural
};


class TqbxFont : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Copies every field and signals one change.
  void Assign(const TqbxFont& source);
  bool SameAs(const TqbxFont& other) const;
  // The font as the text layout and canvases take it.
  FontRequest ToFontRequest() const;

  const String& Name() const { return FName; }
  void SetName(const String& value);
  // Points: minus the height converted from 96 to 72 per inch, rounded.
  int32_t Size() const;
  void SetSize(int32_t value);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t value);
  int32_t Color() const { return FColor; }
  void SetColor(int32_t value);
  int32_t Style() const { return FStyle; }  // set of TFontStyle bits
  void SetStyle(int32_t value);
  int32_t Charset() const { return FCharset; }
  void SetCharset(int32_t value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch value);
  int32_t Orientation() const { return FOrientation; }
  void SetOrientation(int32_t value);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality value);

  std::function<void()> OnChange;

 private:
  void Changed();

  String FName = u"Arial";
  int32_t FHeight = -13;
  int32_t FColor = clBlack;
  int32_t FStyle = 0;
  int32_t FCharset = 1;
  TFontPitch FPitch = fpDefault;
  int32_t FOrientation = 0;
  TFontQuality FQuality = fqDefault;
};

}  // namespace zavrik
