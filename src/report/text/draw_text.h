// TqbxDrawText: the process-wide text layout. It measures on a 600 dpi reference surface, wraps
// text (with markup and Russian hyphenation), answers heights and widths, splits text at a page
// end and draws the wrapped lines on a device canvas.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "core/ustring.h"
#include "platform/canvas.h"
#include "platform/font_face.h"
#include "platform/font_request.h"
#include "report/text/html_tags.h"

namespace zavrik {

enum TqbxHAlign : uint8_t { haLeft, haRight, haCenter, haBlock };
enum TqbxVAlign : uint8_t { vaTop, vaBottom, vaCenter };
enum TqbxUnderlinesTextMode : uint8_t {
  ulmNone, ulmUnderlinesAll, ulmUnderlinesText, ulmUnderlinesTextAndEmptyLines
};

inline constexpr uint8_t kFirstLineOfParagraph = 1;
inline constexpr uint8_t kLastLineOfParagraph = 2;

struct TqbxWrappedLine {
  String Text;
  uint8_t Flags = 0;  // kFirstLineOfParagraph | kLastLineOfParagraph
};

// SpreadIncrements: count unit steps of sign step spread over the range (see the .cpp).
void SpreadIncrements(std::span<int> range, int count, int step);

class TqbxDrawText {
 public:
  TqbxDrawText();
  // The one instance of the process.
  static TqbxDrawText& Global();

  void Lock() { mutex_.lock(); }
  void Unlock() { mutex_.unlock(); }

  void SetFont(const FontRequest& font);
  void SetOptions(bool word_wrap, bool html_tags, bool rtl_reading, bool word_break, bool clipped, bool wysiwyg,
                  int rotation);
  void SetGaps(double paragraph_gap, double char_spacing, double line_spacing);
  void SetDimensions(double scale_x, double scale_y, double print_scale, const Rect& original_rect,
                     const Rect& scaled_rect);
  void SetText(StringView text, bool first_para_break = false);
  // The same for splitting at the rectangle's end: only the lines within it and the first one
  // after it that has a character are wrapped; the rest stays in PlainText as it is. Afterwards
  // only SetParaBreaks, GetOutBoundsText, GetInBoundsText and UnusedSpace answer as after SetText.
  void SetTextToSplit(StringView text, bool first_para_break = false);
  void SetParaBreaks(bool first_para_break, bool last_para_break);

  double LineHeight() const;
  double TextHeight() const;
  double CalcHeight() const;
  double CalcWidth();
  double UnusedSpace() const;
  String GetWrappedText() const;
  String GetInBoundsText() const { return PlainText; }
  String GetOutBoundsText(bool& para_break);

  void DrawText(Canvas& canvas, TqbxHAlign h_align, TqbxVAlign v_align, TqbxUnderlinesTextMode underlines);

  const std::vector<TqbxWrappedLine>& Text() const { return Text_; }
  const TqbxHTMLTagsList& HTMLTags() const { return HTMLTags_; }
  int FontHeight() const { return fh_; }  // the reference em height in pixels

  static constexpr int DefPPI = 600;
  static constexpr int ScrPPI = 96;
  static constexpr double k = static_cast<double>(DefPPI) / ScrPPI;

  int FontSize = 10;
  double CharSpacing = 0, LineSpacing = 0, ParagraphGap = 0;
  int Options = 0;
  Rect OriginalRect, ScaledRect;
  double ScaleX = 1, ScaleY = 1, PrintScale = 1;
  int Rotation = 0;
  bool RTLReading = false, WordBreak = false, WordWrap = false;
  bool Wysiwyg = true;
  bool MonoFont = false;
  bool UseDefaultCharset = false;
  bool UseOldLineHeight = true;
  String PlainText;

 private:
  // The reference advances of a line's characters in their markup styles, spacing added.
  void MeasureLine(StringView line, const TqbxHTMLTags& tags, int spacing, std::vector<int>& advances);
  const AdvanceTable& ReferenceAdvances(FontStyles style);
  // Wraps `line` (its markup expanded in place) onto the wrapped lines.
  void WrapLine(String& line, int first_width, int spacing, int width);
  void AddLine(StringView text, TqbxHTMLTags tags);
  int CellHeight() const;
  // Lays `text` out, stopping after the source line that gives more than `line_limit` wrapped
  // lines with a character among those past the limit.
  void LayOut(StringView text, bool first_para_break, size_t line_limit);
  // How many wrapped lines the rectangle holds; none is the limit when lines have no height.
  size_t LinesInBounds() const;
  bool DroppedLineHasCharacter(size_t line_limit) const;

  // Device drawing (draw_text_device.cpp).
  struct DeviceLine;
  void DrawLine(Canvas& canvas, size_t index, double x, double y, int width, TqbxHAlign align, double angle);
  DeviceFont DeviceFontOf(const TqbxHTMLTag& tag) const;

  FontRequest font_;
  int fh_ = 83;
  std::array<const AdvanceTable*, 4> reference_tables_{};  // by bold and italic bits
  std::vector<TqbxWrappedLine> Text_;
  TqbxHTMLTagsList HTMLTags_;
  std::vector<int> advances_, cumulative_;  // kept between calls, only grown
  String line_;                             // the source line being wrapped
  std::mutex mutex_;
};

// Holds the process-wide layout (locked) for one measuring or drawing.
class TqbxLayoutLock {
 public:
  TqbxLayoutLock() : layout_(TqbxDrawText::Global()) { layout_.Lock(); }
  ~TqbxLayoutLock() { layout_.Unlock(); }
  TqbxLayoutLock(const TqbxLayoutLock&) = delete;
  TqbxLayoutLock& operator=(const TqbxLayoutLock&) = delete;
  TqbxDrawText& operator*() { return layout_; }
  TqbxDrawText* operator->() { return &layout_; }

 private:
  TqbxDrawText& layout_;
};

}  // namespace zavrik
