// TqbxView: the base of printable objects on bands — frame, fill, hyperlink, visibility, the tag
// and hyperlink expressions, device drawing and the difference text of prepared pages.
// TqbxStretcheable adds stretching and splitting across pages.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/canvas.h"
#include "platform/text_record_canvas.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_frame.h"
#include "report/model/views/qbx_hyperlink.h"
#include "report/model/views/qbx_memo_format.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_report_component.h"

namespace zavrik {

enum TqbxShiftMode : int32_t { smDontShift, smAlways, smWhenOverlapped };
enum TqbxVisibilityType : int32_t { vsPreview = 1, vsExport = 2, vsPrint = 4 };
enum TqbxStretchMode : int32_t { smDontStretch, smActualHeight, smMaxHeight };

class TqbxValueDictionary;

class TqbxView : public TqbxReportComponent {
 public:
  TqbxView();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // FillType then Fill, for the views that have a background.
  static PropList FillProps();

  bool IsView() const override { return true; }
  TqbxAlign Align() const override { return FAlign; }
  void SetAlign(TqbxAlign v) { FAlign = v; }
  bool AllowVectorExport() const { return FAllowVectorExport; }
  void SetAllowVectorExport(bool v) { FAllowVectorExport = v; }
  TqbxShiftMode ShiftMode() const { return FShiftMode; }
  void SetShiftMode(TqbxShiftMode v) { FShiftMode = v; }
  int32_t Visibility() const { return FVisibility; }
  void SetVisibility(int32_t v) { FVisibility = v & 7; }
  bool Printable() const { return FVisibility & vsPrint; }
  void SetPrintable(bool v) { SetVisibility(v ? FVisibility | vsPrint : FVisibility & ~vsPrint); }

  TqbxFrame* Frame() const { return FFrame.get(); }
  TqbxFillType FillType() const { return FFill.FillType(); }
  void SetFillType(TqbxFillType v) { FFill.SetFillType(v); }
  TqbxCustomFill* Fill() const { return FFill.Fill(); }
  void SetFill(const TqbxCustomFill* v) { FFill.SetFill(v); }
  // Views of the fill: brush BackColor, gradient's representative colour, glass Color.
  int32_t Color() const;
  void SetColor(int32_t v);
  TqbxBrushStyle BrushStyle() const;
  void SetBrushStyle(TqbxBrushStyle v);

  TqbxHyperlink* Hyperlink() const { return FHyperlink.get(); }
  // "@n" a page number, "#name" an anchor, anything else a URL; empty does nothing.
  String URL() const { return FHyperlink->Value(); }
  void SetURL(const String& v);
  const String& TagStr() const { return FTagStr; }
  void SetTagStr(const String& v) { FTagStr = v; }

  TqbxReportComponent* DataSet() const { return FDataSet.DataSet(); }
  void SetDataSet(TqbxReportComponent* v) { FDataSet.SetDataSet(v); }
  String DataSetName() const { return FDataSet.Name(); }
  // Stores the name and looks the data source up by it.
  void SetDataSetName(const String& v) { FDataSet.SetName(*this, v); }
  const String& DataField() const { return FDataField; }
  void SetDataField(const String& v) { FDataField = v; }
  bool IsDataField() const { return DataSet() && !FDataField.empty(); }

  const String& Hint() const { return FHint; }
  void SetHint(const String& v) { FHint = v; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }
  int32_t Cursor() const { return FCursor; }
  void SetCursor(int32_t v) { FCursor = v; }

  double ShadowSize() const { return FFrame->ShadowSize(); }
  // When and where deferred values are settled.
  TqbxObjectProcessing* Processing() const { return FProcessing.get(); }
  virtual bool IsPostProcessAllowed() const { return FProcessing->ProcessAt != paDefault; }
  // Moves the printed content into the dictionary of deferred values, before the view is recorded
  // on a prepared page; only memos record anything.
  virtual void SaveContentToDictionary(TqbxValueDictionary&) {}

  // --- print cycle
  void BeforePrint() override;
  void GetData() override;
  void AfterPrint() override;
  // Replaces every [expression] by its value; inserted text is not scanned again.
  String ExpandBracketed(const String& text);

  // --- drawing on a device whose pixels are report pixels * scale, shifted by the offsets
  virtual void Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y);
  virtual void CalcDeviceRect(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y);
  virtual void PaintBackground();
  virtual void PaintFrame();
  virtual bool IsEMFExportable() const { return FAllowVectorExport; }
  // An EMF recording of the view (never its frame; its fill only with `draw_fill`).
  virtual std::vector<uint8_t> GetVectorGraphic(bool draw_fill);
  // The texts the view draws (never its fill or frame), positions relative to its top-left corner.
  virtual std::vector<VectorTextRecord> GetVectorCanvas();
  virtual TqbxRect GetExportBounds() const;
  // Draws `w` one-pixel lines side by side (w = 0 counts as 1).
  void StrokeWideLine(int x, int y, int x1, int y1, int w);
  Rect DeviceRect() const;

  void MirrorContent(int32_t mirror_modes) override;
  // The base difference, then the attributes in which this view differs from `other` (a view of
  // the same class).
  String Diff(const TqbxComponent* other) const override;

 protected:
  // The device rectangle of the last drawing.
  int FX = 0, FY = 0, FX1 = 0, FY1 = 0, FDX = 0, FDY = 0, FFrameWidth = 0;
  double FScaleX = 1, FScaleY = 1, FOffsetX = 0, FOffsetY = 0;
  Canvas* FCanvas = nullptr;
  bool FObjAsMetafile = false;
  bool FDrawFillOnMetaFile = false;
  bool FDrawAsMask = false;  // text in black only

 private:
  TqbxAlign FAlign = baNone;
  bool FAllowVectorExport = true;
  TqbxShiftMode FShiftMode = smAlways;
  int32_t FVisibility = vsPreview | vsExport | vsPrint;
  std::unique_ptr<TqbxFrame> FFrame = std::make_unique<TqbxFrame>();
  TqbxFillHolder FFill;
  std::unique_ptr<TqbxHyperlink> FHyperlink = std::make_unique<TqbxHyperlink>();
  String FTagStr;
  TqbxDataSetLink FDataSet;
  String FDataField, FHint;
  bool FShowHint = false;
  int32_t FCursor = 0;
  String FSavedTagStr, FSavedHyperlinkValue;
  // Viewer-only events, kept and never run.
  String FOnMouseEnter, FOnMouseLeave, FOnMouseDown, FOnMouseMove, FOnMouseUp;
  std::unique_ptr<TqbxObjectProcessing> FProcessing = std::make_unique<TqbxObjectProcessing>();
};

// A view that may grow to its content and split across pages.
class TqbxStretcheable : public TqbxView {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxStretcheable* AsStretcheable() override { return this; }
  static PropList StretchProps();  // CanShrink, StretchMode

  TqbxStretchMode StretchMode() const { return FStretchMode; }
  void SetStretchMode(TqbxStretchMode v) { FStretchMode = v; }
  bool CanShrink() const { return FCanShrink; }
  void SetCanShrink(bool v) { FCanShrink = v; }
  virtual double CalcHeight() { return Height(); }
  // Draws the next part into the height available; the height left over.
  virtual double DrawPart() { return 0; }
  virtual void InitPart() {}
  virtual bool HasNextDataPart(double free_space) const { return free_space < Top() + SaveHeight; }

  double SaveHeight = 0;
  double SavedTop = 0;

 private:
  TqbxStretchMode FStretchMode = smDontStretch;
  bool FCanShrink = false;
};

// The text between an opening delimiter at `start` and its balancing closing one; quoted texts
// ('...' and "...") are skipped. `end` receives the position of the closing delimiter's last
// character (`start` when no opening delimiter stands there). The result views `text`.
StringView MatchBrackets(StringView text, StringView open, StringView close, size_t start, size_t& end);

}  // namespace zavrik
