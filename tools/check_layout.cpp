// Layout: objects reaching outside their band or the printable part of their page, fonts that are
// not installed (not even as a metric-compatible stand-in), and fixed memos too small for their
// text.
#include <cmath>
#include <set>

#include "engine/run/qbx_aggregate.h"
#include "platform/font_catalog.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_font.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/views/qbx_view.h"
#include "template_check.h"

namespace zavrik::tool {
namespace {

// Half a pixel: rounding of designed positions is no finding.
constexpr double kTolerance = 0.5;

String Size(double width, double height) { return FloatText(width) + u" x " + FloatText(height); }

String Rectangle(const TqbxComponent& object) {
  return u"(" + FloatText(object.Left()) + u", " + FloatText(object.Top()) + u", " +
         Size(object.Width(), object.Height()) + u")";
}

bool Outside(const TqbxComponent& object, double width, double height) {
  return object.Left() < -kTolerance || object.Top() < -kTolerance ||
         object.Left() + object.Width() > width + kTolerance || object.Top() + object.Height() > height + kTolerance;
}

void CheckInBand(const TqbxComponent& object, const TqbxBand& band, CheckFindings& findings) {
  if (!Outside(object, band.Width(), band.Height())) return;
  findings.Add(object.Name(), u"outside band",
               Rectangle(object) + u" reaches outside band " + band.Name() + u" (" +
                   Size(band.Width(), band.Height()) + u")");
}

void CheckOnPage(const TqbxComponent& object, const TqbxReportPage& page, CheckFindings& findings) {
  const double width = (page.PaperWidth() - page.LeftMargin() - page.RightMargin()) * kPixelsPerMm;
  const double height = (page.PaperHeight() - page.TopMargin() - page.BottomMargin()) * kPixelsPerMm;
  const bool band = dynamic_cast<const TqbxBand*>(&object) != nullptr;
  // Bands are stacked by the engine: only their width is theirs to exceed.
  const bool outside = band ? object.Left() + object.Width() > width + kTolerance && !page.EndlessWidth()
                            : (object.Left() + object.Width() > width + kTolerance && !page.EndlessWidth()) ||
                                  (object.Top() + object.Height() > height + kTolerance && !page.EndlessHeight()) ||
                                  object.Left() < -kTolerance || object.Top() < -kTolerance;
  if (!outside) return;
  findings.Add(object.Name(), u"outside page",
               Rectangle(object) + u" reaches outside the printable area of page " + page.Name() + u" (" +
                   Size(std::round(width * 100) / 100, std::round(height * 100) / 100) + u")");
}

// A font is fine when it is installed as itself or as the metric-compatible family that stands
// for it; fontconfig's best match is a finding.
class FontChecker {
 public:
  void Check(const TqbxComponent& object, CheckFindings& findings) {
    const TqbxFont* font = object.Font();
    if (!font || font->Name().empty() || !dynamic_cast<const TqbxView*>(&object)) return;
    const FontStyles style = static_cast<FontStyles>(font->Style() & (kFontBold | kFontItalic));
    if (!FSeen.insert(AsciiUpper(font->Name())).second) return;
    const FontLocation location = LocateFont(font->Name(), style);
    const String family = Utf8ToString(location.family);
    if (location.exact || SameTextAscii(family, SubstituteFamily(font->Name()))) return;
    findings.Add(object.Name(), u"font",
                 u"font " + font->Name() + u" is not installed: it prints as " + family);
  }

 private:
  std::set<String> FSeen;
};

// A memo that neither stretches nor flows on, with a text fixed in the template, loses what does
// not fit.
void CheckOverflow(TqbxComponent& object, CheckFindings& findings) {
  auto* memo = dynamic_cast<TqbxCustomMemoView*>(&object);
  if (!memo || !memo->Visible() || memo->StretchMode() != smDontStretch || memo->FlowTo() || memo->AutoWidth) return;
  const String text = memo->MemoText();
  if (text.empty() || (memo->AllowExpressions && !ExpressionsOf(text, memo->ExpressionDelimiters).empty())) return;
  const double needed = memo->CalcHeight();
  if (needed <= memo->Height() + kTolerance) return;
  findings.Add(memo->Name(), u"overflow",
               u"the text needs " + FloatText(needed) + u" px, the memo is " + FloatText(memo->Height()) +
                   u" px high and does not stretch: the rest is cut off");
}

}  // namespace

void CheckLayout(TqbxReport& report, CheckFindings& findings) {
  FontChecker fonts;
  for (TqbxComponent* object : report.AllObjects()) {
    TqbxComponent* parent = object->Parent();
    if (auto* band = dynamic_cast<TqbxBand*>(parent)) CheckInBand(*object, *band, findings);
    if (auto* page = dynamic_cast<TqbxReportPage*>(parent)) CheckOnPage(*object, *page, findings);
    fonts.Check(*object, findings);
    CheckOverflow(*object, findings);
  }
}

}  // namespace zavrik::tool
