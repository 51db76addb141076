#include "pdf/pdf_graphics.h"

#include "pdf/pdf_format.h"
#include "platform/color.h"

namespace zavrik::pdf {
namespace {

struct Point {
  double x, y;
};

std::string PointF2(Point p) { return F2(p.x) + " " + F2(p.y); }

// How the start and end points of a double line's side move per unit of offset.
struct DoubleShift {
  double start_x, start_y, end_x, end_y;
};

DoubleShift DoubleShiftOf(TqbxFrameType side) {
  switch (side) {
    case ftLeft: return {-1, -1, -1, 1};
    case ftRight: return {1, -1, 1, 1};
    case ftTop: return {-1, 1, 1, 1};
    default: return {-1, -1, 1, -1};
  }
}

void FrameLineStroke(std::string& out, const TqbxFrameLine& line, Point start, Point end) {
  Op(out, DashPattern(line.Style(), line.Width()));
  Op(out, F2(line.Width() * kPointsPerPixel) + " w");
  Op(out, "2 J");
  Op(out, ColorC(ColorToRgb(static_cast<uint32_t>(line.Color()))) + " RG");
  Op(out, PointF2(start) + " m");
  Op(out, PointF2(end) + " l");
  Op(out, "S");
}

void FrameSide(std::string& out, const TqbxFrame& frame, TqbxFrameType side, const PdfRect& r) {
  if (!(frame.Typ() & side)) return;
  const TqbxFrameLine& line = frame.Line(side);
  if (static_cast<uint32_t>(line.Color()) == kNoColor || line.Width() < 0.01) return;
  Point start{r.left, r.bottom}, end{r.right, r.bottom};
  if (side == ftLeft) end = {r.left, r.top};
  if (side == ftTop) start = {r.left, r.top}, end = {r.right, r.top};
  if (side == ftRight) start = {r.right, r.bottom}, end = {r.right, r.top};
  if (line.Style() != fsDouble) {
    FrameLineStroke(out, line, start, end);
    return;
  }
  const DoubleShift d = DoubleShiftOf(side);
  for (double o : {-line.Width() / 2, line.Width()}) {
    FrameLineStroke(out, line, {start.x + d.start_x * o, start.y + d.start_y * o},
                    {end.x + d.end_x * o, end.y + d.end_y * o});
  }
}

void DropShadow(std::string& out, const TqbxFrame& frame, const PdfRect& r) {
  const double s = frame.ShadowWidth();
  const std::string color = ColorA(ColorToRgb(static_cast<uint32_t>(frame.ShadowColor())));
  Op(out, "0.75 w");
  Op(out, color + " rg");
  Op(out, color + " RG");
  auto strip = [&out](double x, double y, double w, double h) {
    Op(out, F2(x) + " " + F2(y) + " " + F2(w) + " " + F2(h) + " re");
    Op(out, "B");
  };
  strip(r.right + 0.75, r.top - s * 0.75, (s - 1) * 0.75, r.bottom - r.top);
  strip(r.left + s * 0.75, r.bottom - 0.75 - (s - 1) * 0.75, r.right - r.left, (s - 1) * 0.75);
}

}  // namespace

void Op(std::string& out, std::string_view line) {
  out.append(line);
  out.push_back('\r');
  out.push_back('\n');
}

std::string DashPattern(TqbxFrameStyle style, double width) {
  if (width < 0.01) return "[] 0 d";
  const std::string d = F2(width * 6) + " ", g = F2(width * 2) + " ";
  switch (style) {
    case fsDash: return "[" + d + "] 0 d";
    case fsDot: return "[" + g + d + "] 0 d";
    case fsDashDot: return "[" + d + d + g + d + "] 0 d";
    case fsDashDotDot: return "[" + d + d + g + d + g + d + "] 0 d";
    case fsAltDot: return "[" + g + "] 0 d";
    case fsSquare: return "[" + g + g + "] 0 d";
    default: return "[] 0 d";
  }
}

std::string RectPath(const PdfRect& r) {
  std::string path;
  path.reserve(48);
  for (const double value : {r.left, r.top, r.right - r.left, r.bottom - r.top}) {
    AppendF3t(path, value);
    path += ' ';
  }
  path += "re";
  return path;
}

void WriteFrame(std::string& out, const TqbxFrame& frame, const PdfRect& rect) {
  Op(out, "q");
  if (frame.DropShadow()) DropShadow(out, frame, rect);
  for (TqbxFrameType side : {ftBottom, ftLeft, ftTop, ftRight}) FrameSide(out, frame, side, rect);
  Op(out, "Q");
}

void WritePageBackground(std::string& out, int32_t color, const PdfRect& r) {
  Op(out, "q");
  Op(out, ColorC(ColorToRgb(static_cast<uint32_t>(color))) + " rg");
  Op(out, F2(r.left) + " " + F2(r.bottom) + " " + F2(r.right - r.left) + " " +
              F2(r.top - r.bottom) + " re");
  Op(out, "f");
  Op(out, "Q");
}

}  // namespace zavrik::pdf
