// The memo: the text view. TqbxCustomMemoView holds the behaviour; TqbxMemoView publishes every
// property, TqbxSysMemoView a smaller set.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "report/text/draw_text.h"
#include "report/model/views/qbx_memo_format.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/qbx_strings.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {

class TqbxReport;
struct TqbxMacrosItem;

enum TqbxDuplicateMerge : int32_t { dmShow, dmHide, dmClear, dmMerge };

class TqbxCustomMemoView : public TqbxStretcheable, public TqbxMemoText, public TqbxDefinedProperties {
 public:
  TqbxCustomMemoView();
  ~TqbxCustomMemoView() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxMemoText* AsMemoText() override { return this; }

  // --- text
  TStrings* Memo() const { return FMemo.get(); }
  String MemoText() const override { return FMemo->Text(); }
  void SetMemoText(const String& text) override { FMemo->SetText(text); }
  // The text without its final line break.
  String Text() const;
  // The same text, viewed in place when the memo has one line, else joined into `buffer`.
  StringView TextIn(String& buffer) const;
  String GetComponentText() const override;

  // --- formats and highlights
  std::vector<std::unique_ptr<TqbxFormat>>& Formats() { return FFormats; }
  std::vector<std::unique_ptr<TqbxHighlight>>& Highlights() { return FHighlights; }
  // The first items, created on first access.
  TqbxFormat* DisplayFormat() const;
  TqbxHighlight* Highlight() const;
  bool IsDisplayFormatStored() const { return FFormats.size() == 1; }
  bool IsHighlightStored() const;
  bool ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) override;
  bool WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const override;
  bool ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) override;
  void WriteDefinedProperties(TqbxPropWriter&) const override {}

  // --- properties with behaviour
  int32_t Rotation() const { return FRotation; }
  void SetRotation(int32_t v) { FRotation = v % 360; }
  int32_t ReducedAngle() const { return FRotation < 0 ? FRotation % 360 + 360 : FRotation % 360; }
  TqbxUnderlinesTextMode UnderlinesTextMode() const { return FUnderlinesTextMode; }
  void SetUnderlinesTextMode(TqbxUnderlinesTextMode v) { FUnderlinesTextMode = v; }
  bool Underlines() const { return FUnderlinesTextMode != ulmNone; }
  void SetUnderlines(bool v);
  const String& Style() const { return FStyle; }
  // Applies the report's style of that name, if any.
  void SetStyle(const String& v);
  TqbxCustomMemoView* FlowTo() const { return FFlowTo; }
  void SetFlowTo(TqbxCustomMemoView* v) { FFlowTo = v != this ? v : nullptr; }

  // --- layout (qbx_memo_layout.cpp)
  // The text rectangle for a scale and offset: the view less frame lines, shadow and gaps.
  Rect ComputeTextRect(double scale_x, double scale_y, double offset_x, double offset_y) const;
  void CalcDeviceRect(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) override;
  void Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) override;
  // The view's text records, marked right-to-left with RTLReading.
  std::vector<VectorTextRecord> GetVectorCanvas() override;
  // Whole pixels the text needs, gaps and frame included.
  double CalcHeight() override;
  double CalcWidth();
  // The width the text needs (keeping the right edge or centre for haRight and haCenter); the
  // parent then re-aligns its children.
  void ApplyAutoWidth();
  void InitPart() override;
  double DrawPart() override;
  // The text laid out at scale 1: the wrapped lines joined by CR LF with `wrap_words`, else the
  // text without markup. `para_text` receives its lines, with the layout's paragraph flags when
  // the line counts agree.
  String WrapText(bool wrap_words, std::vector<TqbxWrappedLine>* para_text = nullptr);
  Rect TextRect, ScaledRect;

  // --- print cycle
  void BeforePrint() override;
  void GetData() override;
  void AfterPrint() override;
  // The text of one expression with a format (inline formats, page macros, HideZeros).
  String EvaluateExpression(StringView expression, const TqbxFormat& format);
  String FormatData(const Variant& value, const TqbxFormat* format = nullptr) const;
  // Replaces [TOTALPAGES#] by TotalPages and [COPYNAME#] by the process-wide variable named
  // "CopyName" + CopyNo (empty when there is none).
  void ExtractMacros();
  void ApplyHighlight(const TqbxHighlight& highlight);
  void ResetSuppress() { FLastValue = Variant(String()); }
  // Deferred values (ProcessAt) and duplicate handling (Duplicates) both use the dictionary.
  bool IsPostProcessAllowed() const override;
  // The data field's value or the text, less one trailing line break, goes to the dictionary;
  // the text becomes the index of the value.
  void SaveContentToDictionary(TqbxValueDictionary& dictionary) override;
  // On a rebuilt page: the text becomes the recorded value its index names (empty while that
  // value waits for its event). A repeat of the value above it is cleared, hidden or merged into
  // that one; true when this memo is to be dropped. `top_on_page` is the memo's top on its page.
  bool LoadContentFromDictionary(TqbxMacrosItem& item, bool processing, double top_on_page);
  // At the event that settles it: evaluates the memo again and stores its text as the entry's
  // last value, now final. The memo itself is left as it was.
  void ProcessDictionary(TqbxMacrosItem& item, TqbxReport& report);
  void MirrorContent(int32_t mirror_modes) override;
  // Carries FirstParaBreak and LastParaBreak while the split part is recorded.
  String Diff(const TqbxComponent* other) const override;
  // After a part is recorded: the next part continues where this one ended.
  void HandOverParaBreaks() {
    FirstParaBreak = LastParaBreak;
    LastParaBreak = false;
  }

  Variant Value;
  int32_t TotalPages = 0;
  int32_t CopyNo = 0;
  String PartMemo;

  bool AllowExpressions = true;
  String ExpressionDelimiters = u"[,]";
  bool AllowHTMLTags = false, AutoWidth = false, Clipped = true;
  double CharSpacing = 0, GapX = 2, GapY = 1, LineSpacing = 2, ParagraphGap = 0;
  TqbxHAlign HAlign = haLeft;
  TqbxVAlign VAlign = vaTop;
  bool RTLReading = false, WordWrap = true, WordBreak = false, Wysiwyg = true, UseDefaultCharset = false;
  bool HideZeros = false, SuppressRepeated = false;
  TqbxDuplicateMerge Duplicates = dmShow;
  bool FirstParaBreak = false, LastParaBreak = false;
  bool IsCharSpacingStored() const { return CharSpacing != 0; }
  bool IsGapXStored() const { return GapX != 2; }
  bool IsGapYStored() const { return GapY != 1; }
  bool IsLineSpacingStored() const { return LineSpacing != 2; }
  bool IsParagraphGapStored() const { return ParagraphGap != 0; }
  bool IsDelimitersStored() const { return ExpressionDelimiters != u"[,]"; }

 protected:
  // The published memo properties of those names (the two memo classes publish different sets).
  static PropList Pick(std::initializer_list<const char16_t*> names);

 private:
  // Expands the expressions between the delimiters, one format per expression.
  void ExpandExpressions();
  // The parsed inline format of a text after " #", kept for the next rows.
  std::shared_ptr<const TqbxFormat> InlineFormat(StringView text);
  void RestoreHighlighted();
  void SetUpLayout(TqbxDrawText& layout) const;
  double VerticalExtra() const;
  double HorizontalExtra() const;
  // The layout's width and height of the text on a 10000 x 10000 rectangle.
  void MeasureUnbounded(double& width, double& height) const;

  std::unique_ptr<TStrings> FMemo = std::make_unique<TStrings>();
  mutable std::vector<std::unique_ptr<TqbxFormat>> FFormats;
  mutable std::vector<std::unique_ptr<TqbxHighlight>> FHighlights;
  std::vector<std::pair<String, std::shared_ptr<const TqbxFormat>>> FInlineFormats;
  int32_t FRotation = 0;
  TqbxUnderlinesTextMode FUnderlinesTextMode = ulmNone;
  String FStyle;
  TqbxRef<TqbxCustomMemoView> FFlowTo;
  Variant FLastValue = Variant::Null();
  std::vector<String> FSavedLines;  // the text before printing, restored after
  bool FLoadedFromDictionary = false;
  // The appearance kept while a highlight is applied.
  struct Kept {
    std::unique_ptr<TqbxCustomFill> fill;
    TqbxFont font;
    bool parent_font = true, own_font_implied = false;
    TqbxFrame frame;
    bool visible = true;
  };
  std::unique_ptr<Kept> FKept;
};

class TqbxMemoView : public TqbxCustomMemoView {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

class TqbxSysMemoView : public TqbxCustomMemoView {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

}  // namespace zavrik
