// Lays out a text with markup under options taken from the input's first bytes, splits it and
// draws it into a recording: nothing may crash or hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "platform/emf_recorder.h"
#include "report/text/draw_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  using namespace zavrik;
  try {
    TqbxDrawText layout;
    const Rect rect{0, 0, data[0], data[1]};
    FontRequest font;
    font.size = 1 + data[2] % 40;
    font.style = data[3] & 15;
    layout.SetFont(font);
    layout.SetOptions(data[4] & 1, data[4] & 2, data[4] & 4, data[4] & 8, data[4] & 16, data[4] & 32,
                      (data[5] % 8) * 45);
    layout.SetGaps(data[4] & 64 ? 5 : 0, data[4] & 128 ? 1.5 : 0, static_cast<int8_t>(data[5]) / 16.0);
    layout.SetDimensions(1, 1, 1, rect, rect);
    layout.SetText(Utf8ToString(std::string_view(reinterpret_cast<const char*>(data + 6), size - 6)));
    layout.CalcHeight();
    layout.CalcWidth();
    layout.UnusedSpace();
    EmfRecorder recorder(rect.Width(), rect.Height());
    layout.DrawText(recorder, static_cast<TqbxHAlign>(data[3] >> 6), static_cast<TqbxVAlign>((data[3] >> 4) % 3),
                    static_cast<TqbxUnderlinesTextMode>(data[2] >> 6));
    bool para_break = false;
    const String rest = layout.GetOutBoundsText(para_break);
    layout.SetText(rest, para_break);
  } catch (const Error&) {
  }
  return 0;
}
