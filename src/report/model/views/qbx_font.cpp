#include "report/model/views/qbx_font.h"

#include "core/numeric.h"
#include "core/rtti_props.h"

namespace zavrik {

const ClassInfo& TqbxFont::StaticClass() {
  static const EnumType kStyles{u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};
  static const EnumType kPitches{u"fpDefault", u"fpVariable", u"fpFixed"};
  static const EnumType kQualities{u"fqDefault", u"fqDraft", u"fqProof", u"fqNonAntialiased",
                                   u"fqAntialiased", u"fqClearType", u"fqClearTypeNatural"};
  using F = TqbxFont;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TFont", &Object::StaticClass(), &New<TqbxFont>, {
      Prop(u"Charset", &F::Charset, &F::SetCharset).Default(1),
      Prop(u"Color", &F::Color, &F::SetColor).Default(clBlack),
      Prop(u"Height", &F::Height, &F::SetHeight),
      Prop(u"Name", &F::Name, &F::SetName),
      Prop(u"Orientation", &F::Orientation, &F::SetOrientation).Default(0),
      Prop(u"Pitch", &F::Pitch, &F::SetPitch).Enum(kPitches).Default(fpDefault),
      Prop(u"Size", &F::Size, &F::SetSize).NotStored(),
      Prop(u"Style", &F::Style, &F::SetStyle).SetOf(kStyles).Default(0),
      Prop(u"Quality", &F::Quality, &F::SetQuality).Enum(kQualities).Default(fqDefault),
  }); });
  return info;
}

void TqbxFont::Assign(const TqbxFont& source) {
  if (&source == this) return;
  FName = source.FName;
  FHeight = source.FHeight;
  FColor = source.FColor;
  FStyle = source.FStyle;
  FCharset = source.FCharset;
  FPitch = source.FPitch;
  FOrientation = source.FOrientation;
  FQuality = source.FQuality;
  Changed();
}

bool TqbxFont::SameAs(const TqbxFont& o) const {
  return FName == o.FName && FHeight == o.FHeight && FColor == o.FColor && FStyle == o.FStyle &&
         FCharset == o.FCharset && FPitch == o.FPitch && FOrientation == o.FOrientation && FQuality == o.FQuality;
}

void TqbxFont::Changed() {
  if (OnChange) OnChange();
}

int32_t TqbxFont::Size() const { return -RoundToInt32(FHeight * 72.0 / 96.0); }
void TqbxFont::SetSize(int32_t value) { SetHeight(-RoundToInt32(value * 96.0 / 72.0)); }

void TqbxFont::SetName(const String& value) { FName = value; Changed(); }
void TqbxFont::SetHeight(int32_t value) { FHeight = value; Changed(); }
void TqbxFont::SetColor(int32_t value) { FColor = value; Changed(); }
void TqbxFont::SetStyle(int32_t value) { FStyle = value & 15; Changed(); }
void TqbxFont::SetCharset(int32_t value) { FCharset = value & 0xFF; Changed(); }
void TqbxFont::SetPitch(TFontPitch value) { FPitch = value; Changed(); }
void TqbxFont::SetOrientation(int32_t value) { FOrientation = value; Changed(); }
void TqbxFont::SetQuality(TFontQuality value) { FQuality = value; Changed(); }

FontRequest TqbxFont::ToFontRequest() const {
  return FontRequest{.name = FName,
                     .size = static_cast<double>(Size()),
                     .style = static_cast<FontStyles>(FStyle & 15),
                     .color = ColorToRgb(static_cast<zavrik::Color>(FColor)),
                     .charset = static_cast<uint8_t>(FCharset)};
}

}  // namespace zavrik
