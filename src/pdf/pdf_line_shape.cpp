#include "pdf/pdf_line_shape.h"

#include <cmath>

#include "pdf/pdf_format.h"
#include "pdf/pdf_graphics.h"
#include "pdf/pdf_view_rects.h"
#include "platform/color.h"
#include "report/model/views/qbx_line_view.h"
#include "report/model/views/qbx_shape_view.h"

namespace zavrik::pdf {
namespace {

constexpr double kBezier = 0.5522847498;

bool IsNone(int32_t color) { return static_cast<uint32_t>(color) == kNoColor; }
uint32_t Rgb(int32_t color) { return ColorToRgb(static_cast<uint32_t>(color)); }

// Path points in report pixels, written through the page geometry in F3t.
class PathWriter {
 public:
  explicit PathWriter(const PdfPageGeometry& g) : g_(g) {}
  void MoveTo(double x, double y) { Add(Point(x, y) + " m"); }
  void LineTo(double x, double y) { Add(Point(x, y) + " l"); }
  void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    Add(Point(x1, y1) + " " + Point(x2, y2) + " " + Point(x3, y3) + " c");
  }
  std::string Text() const { return text_; }

 private:
  std::string Point(double x, double y) const { return F3t(g_.X(x)) + " " + F3t(g_.Y(y)); }
  void Add(const std::string& line) {
    if (!text_.empty()) text_ += "\r\n";
    text_ += line;
  }
  const PdfPageGeometry& g_;
  std::string text_;
};

std::string PointF2(double x, double y) { return F2(x) + " " + F2(y); }

void Stroke(std::string& out, const std::string& color, double width, const std::string& from,
            const std::string& to) {
  Op(out, color + " RG");
  Op(out, F2(width * kPointsPerPixel) + " w");
  Op(out, from + " m");
  Op(out, to + " l");
  Op(out, "S");
}

// The head on the line itself: the base `length` from the tip towards the other end, the wings
// `width` to either side, perpendicular to the line. The device drawing's rule gives that except
// for a line within 8 pixels of vertical, which it takes as vertical.
TqbxArrowHead PageArrowHead(double tip_x, double tip_y, double other_x, double other_y, double length,
                            double width) {
  const double dx = other_x - tip_x, dy = other_y - tip_y;
  if (dx == 0 || std::abs(dx) > 8) return ArrowHeadOf(tip_x, tip_y, other_x, other_y, length, width);
  const double extent = std::hypot(dx, dy), ux = dx / extent, uy = dy / extent;
  // The first wing on the left, as for a vertical line.
  const double nx = uy > 0 ? -uy : uy, ny = uy > 0 ? ux : -ux;
  TqbxArrowHead a;
  a.base_x = tip_x + length * ux, a.base_y = tip_y + length * uy;
  a.wing1_x = a.base_x + width * nx, a.wing1_y = a.base_y + width * ny;
  a.wing2_x = a.base_x - width * nx, a.wing2_y = a.base_y - width * ny;
  return a;
}

void ArrowHead(std::string& out, const TqbxCustomLineView& line, const PdfPageGeometry& g, double tip_x,
               double tip_y, double other_x, double other_y) {
  const TqbxArrowHead a = PageArrowHead(tip_x, tip_y, other_x, other_y, line.ArrowLength(), line.ArrowWidth());
  const TqbxFrame& frame = *line.Frame();
  Op(out, line.Diagonal() ? "[] 0 d" : DashPattern(frame.Style(), frame.Width()));
  Op(out, PointF2(g.X(a.wing1_x), g.Y(a.wing1_y)) + " m");
  Op(out, PointF2(g.X(tip_x), g.Y(tip_y)) + " l");
  Op(out, PointF2(g.X(a.wing2_x), g.Y(a.wing2_y)) + " l");
  if (line.ArrowSolid()) {
    Op(out, "1 j");
    Op(out, ColorA(Rgb(frame.Color())) + " rg");
    Op(out, "b");
  } else {
    Op(out, "S");
  }
}

}  // namespace

void WriteLineView(std::string& out, TqbxCustomLineView& line, const PdfPageGeometry& g) {
  line.MakeStraight();
  const TqbxFrame& frame = *line.Frame();
  if (IsNone(frame.Color()) || frame.Width() == 0) return;
  const PdfRect r = ObjectRect(line, g);
  const std::string left = F2(r.left), top = F2(r.top), right = F2(r.right), bottom = F2(r.bottom);
  const std::string color = ColorA(Rgb(frame.Color()));
  Op(out, "q");
  Op(out, line.Diagonal() ? "[] 0 d" : DashPattern(frame.Style(), frame.Width()));
  if (frame.Style() == fsDouble) {
    // Two lines, a point to either side.
    if (line.Height() == 0) {
      for (double d : {1.0, -1.0})
        Stroke(out, color, frame.Width(), left + " " + F2(r.top + d), right + " " + F2(r.top + d));
    } else if (line.Width() == 0) {
      for (double d : {1.0, -1.0})
        Stroke(out, color, frame.Width(), F2(r.left + d) + " " + top, F2(r.left + d) + " " + bottom);
    }
  } else {
    Stroke(out, color, frame.Width(), left + " " + top, right + " " + bottom);
  }
  const double x0 = line.AbsLeft(), y0 = line.AbsTop();
  const double x1 = x0 + line.Width() - line.ShadowSize(), y1 = y0 + line.Height() - line.ShadowSize();
  if (line.ArrowStart()) ArrowHead(out, line, g, x0, y0, x1, y1);
  if (line.ArrowEnd()) ArrowHead(out, line, g, x1, y1, x0, y0);
  Op(out, "Q");
}

std::string ShapePath(const TqbxShapeView& shape, const PdfPageGeometry& g) {
  const double x0 = shape.AbsLeft(), y0 = shape.AbsTop();
  const double w = shape.Width() - shape.ShadowSize(), h = shape.Height() - shape.ShadowSize();
  const double x1 = x0 + w, y1 = y0 + h;
  PathWriter p(g);
  switch (shape.Shape()) {
    case skRoundRectangle: {
      const double r = (shape.Curve() == 0 ? 2 : shape.Curve()) * 3.74;
      p.MoveTo(x0 + r, y1);
      p.LineTo(x1 - r, y1);
      p.CurveTo(x1 - r / 2, y1, x1, y1 - r / 2, x1, y1 - r);
      p.LineTo(x1, y0 + r);
      p.CurveTo(x1, y0 + r / 2, x1 - r / 2, y0, x1 - r, y0);
      p.LineTo(x0 + r, y0);
      p.CurveTo(x0 + r / 2, y0, x0, y0 + r / 2, x0, y0 + r);
      p.LineTo(x0, y1 - r);
      p.CurveTo(x0, y1 - r / 2, x0 + r / 2, y1, x0 + r, y1);
      break;
    }
    case skEllipse: {
      const double rx = w / 2, ry = h / 2, far = 1 + kBezier, near = 1 - kBezier;
      p.MoveTo(x1, y0 + ry);
      p.CurveTo(x1, y0 + ry * far, x0 + rx * far, y1, x0 + rx, y1);
      p.CurveTo(x0 + rx * near, y1, x0, y0 + ry * far, x0, y0 + ry);
      p.CurveTo(x0, y0 + ry * near, x0 + rx * near, y0, x0 + rx, y0);
      p.CurveTo(x0 + rx * far, y0, x1, y0 + ry * near, x1, y0 + ry);
      break;
    }
    case skTriangle:
      p.MoveTo(x0 + w / 2, y0);
      p.LineTo(x1, y1);
      p.LineTo(x0, y1);
      p.LineTo(x0 + w / 2, y0);
      break;
    case skDiamond:
      p.MoveTo(x0 + w / 2, y0);
      p.LineTo(x1, y0 + h / 2);
      p.LineTo(x0 + w / 2, y1);
      p.LineTo(x0, y0 + h / 2);
      p.LineTo(x0 + w / 2, y0);
      break;
    default:
      return RectPath(ClipRect(shape, g));
  }
  return p.Text();
}

void WriteShapeView(std::string& out, const TqbxShapeView& shape, const PdfPageGeometry& g) {
  const TqbxFrame& frame = *shape.Frame();
  if (!shape.IsClosedShape()) {
    if (IsNone(frame.Color())) return;
    const PdfRect r = ObjectRect(shape, g);
    Op(out, "q");
    Op(out, DashPattern(frame.Style(), frame.Width()));
    const bool first = shape.Shape() == skDiagonal1;
    Stroke(out, ColorA(Rgb(frame.Color())), frame.Width(), F2(r.left) + " " + F2(first ? r.bottom : r.top),
           F2(r.right) + " " + F2(first ? r.top : r.bottom));
    Op(out, "Q");
    return;
  }
  const std::string path = ShapePath(shape, g);
  WriteFill(out, *shape.Fill(), ClipRect(shape, g), path);
  if (IsNone(frame.Color())) return;
  Op(out, "q");
  Op(out, DashPattern(frame.Style(), frame.Width()));
  Op(out, ColorB(Rgb(frame.Color())) + " RG");
  Op(out, F3t(frame.Width() * kPointsPerPixel) + " w");
  Op(out, path);
  Op(out, "S");
  Op(out, "Q");
}

}  // namespace zavrik::pdf
