#include "platform/canvas.h"

#include <array>

#include "core/numeric.h"

namespace zavrik {
namespace {

struct UnitPoint {
  double x, y;
};

// The marks in a unit box (x right, y down); the box is 0.6 of the cell height, centred in the
// cell and resting 0.15 above its bottom.
constexpr double kArm = 0.12;
constexpr std::array<UnitPoint, 12> kCross = {{{0, kArm}, {kArm, 0}, {0.5, 0.5 - kArm}, {1 - kArm, 0},
                                               {1, kArm}, {0.5 + kArm, 0.5}, {1, 1 - kArm}, {1 - kArm, 1},
                                               {0.5, 0.5 + kArm}, {kArm, 1}, {0, 1 - kArm}, {0.5 - kArm, 0.5}}};
constexpr std::array<UnitPoint, 6> kCheck = {{{0, 0.55}, {0.15, 0.42}, {0.38, 0.68}, {0.85, 0.02}, {1, 0.14},
                                              {0.4, 0.98}}};

}  // namespace

int Canvas::SymbolWidth(char16_t symbol, int height) {
  return static_cast<int>(RoundHalfEven(height * 0.75));
}

void Canvas::DrawSymbol(char16_t symbol, int x, int y, int height, Color color) {
  std::span<const UnitPoint> shape;
  if (symbol == kSymbolCross) shape = kCross;
  else if (symbol == kSymbolCheck) shape = kCheck;
  else return;
  const double box = height * 0.6;
  const double left = x + (SymbolWidth(symbol, height) - box) / 2;
  const double top = y + height * 0.25;
  std::vector<Point> points;
  for (const UnitPoint& p : shape) {
    points.push_back({static_cast<int>(RoundHalfEven(left + p.x * box)),
                      static_cast<int>(RoundHalfEven(top + p.y * box))});
  }
  Save();
  SetPen({.color = color, .style = PenStyle::kClear});
  SetBrush({.color = color, .style = BrushStyle::kSolid});
  Polygon(points);
  Restore();
}

}  // namespace zavrik
