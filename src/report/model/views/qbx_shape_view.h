// Shape views: rectangle, rounded rectangle, ellipse, triangle, diamond and the two diagonals,
// outlined with the frame's colour, style and width and filled with the view's fill.
#pragma once

#include "report/model/views/qbx_view.h"

namespace zavrik {

enum TqbxShapeKind : int32_t {
  skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2
};
const EnumType& ShapeKindType();

class TqbxShapeView : public TqbxView {
 public:
  TqbxShapeView();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxShapeKind Shape() const { return FShape; }
  void SetShape(TqbxShapeKind v) { FShape = v; }
  int32_t Curve() const { return FCurve; }
  void SetCurve(int32_t v) { FCurve = v; }
  bool IsClosedShape() const { return FShape != skDiagonal1 && FShape != skDiagonal2; }

  void Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) override;
  String Diff(const TqbxComponent* other) const override;

 private:
  void DrawShape(double scale_x, double scale_y, double offset_x, double offset_y);
  // The shape's outline on the device rectangle, with the canvas's pen and brush.
  void Outline();

  TqbxShapeKind FShape = skRectangle;
  int32_t FCurve = 0;
};

}  // namespace zavrik
