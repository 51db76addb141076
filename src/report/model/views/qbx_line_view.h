// Line views: straight (vertical or horizontal) or diagonal lines drawn with the frame's colour,
// style and width, with optional arrow heads.
#pragma once

#include "report/model/views/qbx_view.h"

namespace zavrik {

// An arrow head: its base on the line at the arrow's length from the tip, its wings at the
// arrow's width to either side of the line. Report pixels (or device pixels).
struct TqbxArrowHead {
  double base_x = 0, base_y = 0;
  double wing1_x = 0, wing1_y = 0, wing2_x = 0, wing2_y = 0;
};
TqbxArrowHead ArrowHeadOf(double tip_x, double tip_y, double other_x, double other_y, double length, double width);

class TqbxCustomLineView : public TqbxStretcheable {
 public:
  TqbxCustomLineView();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool Diagonal() const { return FDiagonal; }
  void SetDiagonal(bool v) { FDiagonal = v; }
  bool ArrowStart() const { return FArrowStart; }
  void SetArrowStart(bool v) { FArrowStart = v; }
  bool ArrowEnd() const { return FArrowEnd; }
  void SetArrowEnd(bool v) { FArrowEnd = v; }
  int32_t ArrowLength() const { return FArrowLength; }
  void SetArrowLength(int32_t v) { FArrowLength = v; }
  int32_t ArrowWidth() const { return FArrowWidth; }
  void SetArrowWidth(int32_t v) { FArrowWidth = v; }
  bool ArrowSolid() const { return FArrowSolid; }
  void SetArrowSolid(bool v) { FArrowSolid = v; }
  // Carried only: lines are drawn in the frame's colour.
  int32_t LineColor() const { return FColor; }
  void SetLineColor(int32_t v) { FColor = v; }

  // A line that is not diagonal becomes vertical (Width 0, frame [ftLeft]) when it is not wider
  // than high, else horizontal (Height 0, frame [ftTop]); for good.
  void MakeStraight();
  void Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) override;
  std::vector<uint8_t> GetVectorGraphic(bool draw_fill) override;
  String Diff(const TqbxComponent* other) const override;

 private:
  void DrawArrowHead(int tip_x, int tip_y, int other_x, int other_y);

  bool FDiagonal = false, FArrowStart = false, FArrowEnd = false, FArrowSolid = false;
  int32_t FArrowLength = 20, FArrowWidth = 5;
  int32_t FColor = 0x1FFFFFFF;
};

class TqbxLineView : public TqbxCustomLineView {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

}  // namespace zavrik
