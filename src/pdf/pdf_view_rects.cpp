#include "pdf/pdf_view_rects.h"

#include "report/model/views/qbx_view.h"

namespace zavrik::pdf {
namespace {

// How far the clip reaches beyond a side: half its frame line, more for a double line.
double Extent(const TqbxFrame& frame, TqbxFrameType side) {
  if (!(frame.Typ() & side)) return 0;
  const TqbxFrameLine& line = frame.Line(side);
  return line.Style() == fsDouble ? line.Width() / 2 + 0.3 + line.Width() : line.Width() / 2;
}

}  // namespace

PdfRect ObjectRect(const TqbxView& view, const PdfPageGeometry& g) {
  const double s = view.ShadowSize();
  return {g.X(view.AbsLeft()), g.Y(view.AbsTop()), g.X(view.AbsLeft() + view.Width() - s),
          g.Y(view.AbsTop() + view.Height() - s)};
}

PdfRect ClipRect(const TqbxView& view, const PdfPageGeometry& g) {
  const TqbxFrame& f = *view.Frame();
  const double s = view.ShadowSize();
  return {g.X(view.AbsLeft() - Extent(f, ftLeft)), g.Y(view.AbsTop() - Extent(f, ftTop)),
          g.X(view.AbsLeft() + view.Width() + Extent(f, ftRight) - s),
          g.Y(view.AbsTop() + view.Height() + Extent(f, ftBottom) - s)};
}

}  // namespace zavrik::pdf
