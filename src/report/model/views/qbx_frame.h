// Frames: four lines (left, top, right, bottom) with colour, style and width, the set of sides
// drawn and an optional drop shadow. Shared by views, bands, pages and highlights.
#pragma once

#include <memory>

#include "core/rtti.h"

namespace zavrik {

enum TqbxFrameStyle : int32_t { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
// Bits of TqbxFrame::Typ.
enum TqbxFrameType : int32_t { ftLeft = 1, ftRight = 2, ftTop = 4, ftBottom = 8 };

const EnumType& FrameStyleType();
const EnumType& FrameTypeSet();

class TqbxFrame;

class TqbxFrameLine : public Object {
 public:
  explicit TqbxFrameLine(const TqbxFrame* frame = nullptr) : FFrame(frame) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  int32_t Color() const { return FColor; }
  void SetColor(int32_t v) { FColor = v; }
  TqbxFrameStyle Style() const { return FStyle; }
  void SetStyle(TqbxFrameStyle v) { FStyle = v; }
  double Width() const { return FWidth; }
  void SetWidth(double v) { FWidth = v; }
  void Assign(const TqbxFrameLine& source);
  bool SameAs(const TqbxFrameLine& other) const;

  // A line's property is written only when it differs from the frame's.
  bool IsColorStored() const;
  bool IsStyleStored() const;
  bool IsWidthStored() const;

 private:
  const TqbxFrame* FFrame;
  int32_t FColor = 0;
  TqbxFrameStyle FStyle = fsSolid;
  double FWidth = 1;
};

class TqbxFrame : public Object {
 public:
  TqbxFrame();
  TqbxFrame(const TqbxFrame&) = delete;
  TqbxFrame& operator=(const TqbxFrame&) = delete;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The frame-level setters also set all four lines.
  int32_t Color() const { return FColor; }
  void SetColor(int32_t v);
  TqbxFrameStyle Style() const { return FStyle; }
  void SetStyle(TqbxFrameStyle v);
  double Width() const { return FWidth; }
  void SetWidth(double v);
  int32_t Typ() const { return FTyp; }
  void SetTyp(int32_t v) { FTyp = v & 15; }
  bool DropShadow() const { return FDropShadow; }
  void SetDropShadow(bool v) { FDropShadow = v; }
  int32_t ShadowColor() const { return FShadowColor; }
  void SetShadowColor(int32_t v) { FShadowColor = v; }
  double ShadowWidth() const { return FShadowWidth; }
  void SetShadowWidth(double v) { FShadowWidth = v; }
  bool IsShadowWidthStored() const { return FShadowWidth != 4; }
  bool IsWidthStored() const { return FWidth != 1; }

  TqbxFrameLine* LeftLine() const { return &FLeftLine; }
  TqbxFrameLine* TopLine() const { return &FTopLine; }
  TqbxFrameLine* RightLine() const { return &FRightLine; }
  TqbxFrameLine* BottomLine() const { return &FBottomLine; }
  // The line of one side (ftLeft, ftRight, ftTop or ftBottom).
  TqbxFrameLine& Line(TqbxFrameType side) const;

  void Assign(const TqbxFrame& source);
  bool SameAs(const TqbxFrame& other) const;
  // No side is drawn.
  bool IsEmpty() const { return FTyp == 0; }
  // The shadow's width when there is one, else 0.
  double ShadowSize() const { return FDropShadow ? FShadowWidth : 0; }
  // Exchanges two sides' lines and their bits in Typ.
  void SwapSides(TqbxFrameType a, TqbxFrameType b);
  // The difference text against `other` (names prefixed "Frame.").
  String Diff(const TqbxFrame& other) const;

 private:
  int32_t FColor = 0;
  TqbxFrameStyle FStyle = fsSolid;
  double FWidth = 1;
  int32_t FTyp = 0;
  bool FDropShadow = false;
  int32_t FShadowColor = 0;
  double FShadowWidth = 4;
  // Owned sub-objects published through pointers; they point back at this frame, so the frame is
  // neither copied nor moved.
  mutable TqbxFrameLine FLeftLine{this}, FTopLine{this}, FRightLine{this}, FBottomLine{this};
};

}  // namespace zavrik
