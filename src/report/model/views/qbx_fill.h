// Fills: the background of views, bands and highlights. An owner holds exactly one fill object;
// its kind (FillType) decides the class.
#pragma once

#include <memory>

#include "core/rtti.h"

namespace zavrik {

class Canvas;

enum TqbxFillType : int32_t { ftBrush, ftGradient, ftGlass };
enum TqbxBrushStyle : int32_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TqbxGradientStyle : int32_t { gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter };
enum TqbxFillOrientation : int32_t { foVertical, foHorizontal, foVerticalMirror, foHorizontalMirror };

const EnumType& FillTypeType();
const EnumType& BrushStyleType();

class TqbxCustomFill : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  virtual TqbxFillType Kind() const = 0;
  // Copies a fill of the same class; other classes are ignored.
  virtual void Assign(const TqbxCustomFill& source) = 0;
  // Paints (x, y)-(x1, y1) of a device canvas.
  virtual void Draw(Canvas& canvas, int x, int y, int x1, int y1, double scale_x, double scale_y) const = 0;
  // The difference against `other` with names prefixed by `prefix` + "."; every property when
  // `other` is of another class.
  virtual String Diff(const TqbxCustomFill* other, StringView prefix) const = 0;
  virtual std::unique_ptr<TqbxCustomFill> Clone() const = 0;
};

class TqbxBrushFill : public TqbxCustomFill {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxFillType Kind() const override { return ftBrush; }
  void Assign(const TqbxCustomFill& source) override;
  void Draw(Canvas& canvas, int x, int y, int x1, int y1, double scale_x, double scale_y) const override;
  String Diff(const TqbxCustomFill* other, StringView prefix) const override;
  std::unique_ptr<TqbxCustomFill> Clone() const override;

  int32_t BackColor() const { return FBackColor; }
  void SetBackColor(int32_t v) { FBackColor = v; }
  int32_t ForeColor() const { return FForeColor; }
  void SetForeColor(int32_t v) { FForeColor = v; }
  TqbxBrushStyle Style() const { return FStyle; }
  void SetStyle(TqbxBrushStyle v) { FStyle = v; }
  // No background, black foreground, solid: draws nothing.
  bool IsDefault() const;

 private:
  int32_t FBackColor = 0x1FFFFFFF;
  int32_t FForeColor = 0;
  TqbxBrushStyle FStyle = bsSolid;
};

class TqbxGradientFill : public TqbxCustomFill {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxFillType Kind() const override { return ftGradient; }
  void Assign(const TqbxCustomFill& source) override;
  void Draw(Canvas& canvas, int x, int y, int x1, int y1, double scale_x, double scale_y) const override;
  String Diff(const TqbxCustomFill* other, StringView prefix) const override;
  std::unique_ptr<TqbxCustomFill> Clone() const override;

  int32_t StartColor() const { return FStartColor; }
  void SetStartColor(int32_t v) { FStartColor = v; }
  int32_t EndColor() const { return FEndColor; }
  void SetEndColor(int32_t v) { FEndColor = v; }
  TqbxGradientStyle GradientStyle() const { return FGradientStyle; }
  void SetGradientStyle(TqbxGradientStyle v) { FGradientStyle = v; }
  // The representative colour: each component start + (end - start) * 127 / 255.
  int32_t GetColor() const;
  // The colour of step `i` of `steps`: start + (end - start) * i / steps per component.
  int32_t StepColor(int i, int steps) const;

 private:
  int32_t FStartColor = 16777215;
  int32_t FEndColor = 0;
  TqbxGradientStyle FGradientStyle = gsHorizontal;
};

class TqbxGlassFill : public TqbxCustomFill {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxFillType Kind() const override { return ftGlass; }
  void Assign(const TqbxCustomFill& source) override;
  void Draw(Canvas& canvas, int x, int y, int x1, int y1, double scale_x, double scale_y) const override;
  String Diff(const TqbxCustomFill* other, StringView prefix) const override;
  std::unique_ptr<TqbxCustomFill> Clone() const override;

  int32_t Color() const { return FColor; }
  void SetColor(int32_t v) { FColor = v; }
  double Blend() const { return FBlend; }
  void SetBlend(double v) { FBlend = v; }
  bool Hatch() const { return FHatch; }
  void SetHatch(bool v) { FHatch = v; }
  TqbxFillOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TqbxFillOrientation v) { FOrientation = v; }
  // Each component c of Color moved towards white: min(255, c + round((255 - c) * Blend)).
  int32_t BlendColor() const;
  // BlendColor less $060606 as a plain integer.
  int32_t HatchColor() const { return BlendColor() - 394758; }

 private:
  int32_t FColor = 8421504;
  double FBlend = 0.5;
  bool FHatch = false;
  TqbxFillOrientation FOrientation = foHorizontal;
};

// A fresh fill of a kind with its defaults.
std::unique_ptr<TqbxCustomFill> CreateFill(TqbxFillType kind);

// The FillType/Fill pair of an owner: changing the kind replaces the fill by a fresh one; setting
// a fill takes its kind first, then copies it.
class TqbxFillHolder {
 public:
  TqbxFillHolder() : FFill(CreateFill(ftBrush)) {}
  TqbxFillType FillType() const { return FFill->Kind(); }
  void SetFillType(TqbxFillType kind);
  TqbxCustomFill* Fill() const { return FFill.get(); }
  void SetFill(const TqbxCustomFill* source);

 private:
  std::unique_ptr<TqbxCustomFill> FFill;
};

}  // namespace zavrik
