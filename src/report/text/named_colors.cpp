#include "report/text/named_colors.h"

#include <array>

namespace zavrik {
namespace {

struct NamedColor {
  const char16_t* name;
  Color color;
};

constexpr Color System(uint32_t index) { return 0xFF000000u | index; }

constexpr std::array<NamedColor, 52> kNamedColors = {{
    {u"clBlack", 0},
    {u"clMaroon", 128},
    {u"clGreen", 32768},
    {u"clOlive", 32896},
    {u"clNavy", 8388608},
    {u"clPurple", 8388736},
    {u"clTeal", 8421376},
    {u"clGray", 8421504},
    {u"clSilver", 12632256},
    {u"clRed", 255},
    {u"clLime", 65280},
    {u"clYellow", 65535},
    {u"clBlue", 16711680},
    {u"clFuchsia", 16711935},
    {u"clAqua", 16776960},
    {u"clWhite", 16777215},
    {u"clMoneyGreen", 12639424},
    {u"clSkyBlue", 15780518},
    {u"clCream", 15793151},
    {u"clMedGray", 10789024},
    {u"clNone", 536870911},
    {u"clDefault", 536870912},
    {u"clScrollBar", System(0)},
    {u"clBackground", System(1)},
    {u"clActiveCaption", System(2)},
    {u"clInactiveCaption", System(3)},
    {u"clMenu", System(4)},
    {u"clWindow", System(5)},
    {u"clWindowFrame", System(6)},
    {u"clMenuText", System(7)},
    {u"clWindowText", System(8)},
    {u"clCaptionText", System(9)},
    {u"clActiveBorder", System(10)},
    {u"clInactiveBorder", System(11)},
    {u"clAppWorkSpace", System(12)},
    {u"clHighlight", System(13)},
    {u"clHighlightText", System(14)},
    {u"clBtnFace", System(15)},
    {u"clBtnShadow", System(16)},
    {u"clGrayText", System(17)},
    {u"clBtnText", System(18)},
    {u"clInactiveCaptionText", System(19)},
    {u"clBtnHighlight", System(20)},
    {u"cl3DDkShadow", System(21)},
    {u"cl3DLight", System(22)},
    {u"clInfoText", System(23)},
    {u"clInfoBk", System(24)},
    {u"clHotLight", System(26)},
    {u"clGradientActiveCaption", System(27)},
    {u"clGradientInactiveCaption", System(28)},
    {u"clMenuHighlight", System(29)},
    {u"clMenuBar", System(30)},
}};

}  // namespace

std::optional<Color> FindNamedColor(StringView name) {
  for (const NamedColor& entry : kNamedColors) {
    if (SameTextAscii(name, entry.name)) return entry.color;
  }
  return std::nullopt;
}

void ForEachNamedColor(const std::function<void(StringView name, Color color)>& visit) {
  for (const NamedColor& entry : kNamedColors) visit(entry.name, entry.color);
}

}  // namespace zavrik
