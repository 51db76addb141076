// Bands: the horizontal strips of a report page that hold the printable objects. TqbxBand holds
// every band flag; each band class publishes the ones it uses.
#pragma once

#include <memory>

#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_frame.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_ref.h"
#include "report/model/qbx_report_component.h"

namespace zavrik {

class TqbxChild;
class TqbxMemoView;

enum TqbxShiftEngine : int32_t { seLinear, seTree, seDontShift };
enum TqbxRowsMode : int32_t { rmCount, rmAddToCount, rmTillPageEnds };

// The inset of a band's background.
class TqbxFillGaps : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int32_t Top = 0, Left = 0, Bottom = 0, Right = 0;
};

class TqbxBand : public TqbxReportComponent {
 public:
  TqbxBand();
  ~TqbxBand() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsBand() const override { return true; }
  // The band's kind: 0 report title ... 17 overlay (0 for the null band).
  virtual int BandNumber() const = 0;
  virtual bool IsDataBand() const { return false; }
  virtual bool IsNullBand() const { return false; }

  bool Vertical() const { return FVertical; }
  void SetVertical(bool v) { FVertical = v; }
  TqbxFillType FillType() const { return FFill.FillType(); }
  void SetFillType(TqbxFillType v) { FFill.SetFillType(v); }
  TqbxCustomFill* Fill() const { return FFill.Fill(); }
  void SetFill(const TqbxCustomFill* v) { FFill.SetFill(v); }
  TqbxFillGaps* FillGap() const { return FFillGap.get(); }
  TqbxFrame* Frame() const { return FFrame.get(); }
  const String& OnAfterCalcHeight() const { return FOnAfterCalcHeight; }
  void SetOnAfterCalcHeight(const String& v) { FOnAfterCalcHeight = v; }

  // "Circular child reference is not allowed" when the chain of the new child leads back here.
  TqbxChild* Child() const;
  void SetChild(TqbxChild* value);

  bool AllowSplit() const { return FAllowSplit; }
  bool KeepChild() const { return FKeepChild; }
  bool PrintChildIfInvisible() const { return FPrintChildIfInvisible; }
  bool StartNewPage() const { return FStartNewPage; }
  bool Stretched() const { return FStretched; }
  TqbxShiftEngine ShiftEngine() const { return FShiftEngine; }
  bool ReprintOnNewPage() const { return FReprintOnNewPage; }
  bool KeepTogether() const { return FKeepTogether; }
  bool PrintOnFirstPage() const { return FPrintOnFirstPage; }
  bool PrintOnLastPage() const { return FPrintOnLastPage; }
  bool PrintOnSinglePage() const { return FPrintOnSinglePage; }
  bool PrintAtBottom() const { return FPrintAtBottom; }
  bool PrintOnTop() const { return FPrintOnTop; }
  const String& OutlineText() const { return FOutlineText; }

  // The background memo: none for a null band or a band without fill and frame lines; otherwise
  // created once as the first child (aligned baHidden, so alignment leaves it alone) and reused.
  TqbxMemoView* CreateFillMemo();
  void DisposeFillMemo();

  // True while the band is printed again at the top of a new page or column.
  bool Overflow = false;

 protected:
  // The published band flags of those names (each band class publishes its own selection).
  static PropList Pick(std::initializer_list<const char16_t*> names);

  bool FAllowSplit = false, FKeepChild = false, FPrintChildIfInvisible = false, FStartNewPage = false;
  bool FStretched = false, FReprintOnNewPage = false, FKeepTogether = false;
  bool FPrintOnFirstPage = true, FPrintOnLastPage = true, FPrintOnSinglePage = false;
  bool FPrintAtBottom = false, FPrintOnTop = false;
  TqbxShiftEngine FShiftEngine = seTree;
  String FOutlineText;

 private:
  bool FVertical = false;
  TqbxFillHolder FFill;
  std::unique_ptr<TqbxFillGaps> FFillGap = std::make_unique<TqbxFillGaps>();
  std::unique_ptr<TqbxFrame> FFrame = std::make_unique<TqbxFrame>();
  String FOnAfterCalcHeight;
  TqbxRef<TqbxChild> FChild;
  TqbxRef<TqbxMemoView> FFillMemo;
};

// One class per band kind; the number is the band's kind.
#define ZAVRIK_BAND_CLASS(Name, Number)                                      \
  class Name : public TqbxBand {                                             \
   public:                                                                   \
    static const ClassInfo& StaticClass();                                   \
    const ClassInfo& ClassType() const override { return StaticClass(); }    \
    int BandNumber() const override { return Number; }                       \
  };

ZAVRIK_BAND_CLASS(TqbxReportTitle, 0)
ZAVRIK_BAND_CLASS(TqbxReportSummary, 1)
ZAVRIK_BAND_CLASS(TqbxPageHeader, 2)
ZAVRIK_BAND_CLASS(TqbxPageFooter, 3)
ZAVRIK_BAND_CLASS(TqbxHeader, 4)
ZAVRIK_BAND_CLASS(TqbxFooter, 5)
ZAVRIK_BAND_CLASS(TqbxColumnHeader, 15)
ZAVRIK_BAND_CLASS(TqbxColumnFooter, 16)
ZAVRIK_BAND_CLASS(TqbxOverlay, 17)
#undef ZAVRIK_BAND_CLASS

class TqbxGroupHeader : public TqbxBand {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int BandNumber() const override { return 12; }
  const String& Condition() const { return FCondition; }
  bool DrillDown() const { return FDrillDown; }
  bool ExpandDrillDown() const { return FExpandDrillDown; }
  bool ShowFooterIfDrillDown() const { return FShowFooterIfDrillDown; }
  bool ShowChildIfDrillDown() const { return FShowChildIfDrillDown; }
  const String& DrillName() const { return FDrillName; }
  void SetDrillName(const String& v) { FDrillName = v; }
  bool ResetPageNumbers() const { return FResetPageNumbers; }

 private:
  String FCondition, FDrillName;
  bool FDrillDown = false, FExpandDrillDown = false, FResetPageNumbers = false;
  bool FShowFooterIfDrillDown = false, FShowChildIfDrillDown = false;
};

class TqbxGroupFooter : public TqbxBand {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int BandNumber() const override { return 13; }
  bool HideIfSingleDataRecord() const { return FHideIfSingleDataRecord; }

 private:
  bool FHideIfSingleDataRecord = false;
};

class TqbxChild : public TqbxBand {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int BandNumber() const override { return 14; }
  int32_t ToNRows() const { return FToNRows; }
  TqbxRowsMode ToNRowsMode() const { return FToNRowsMode; }

 private:
  int32_t FToNRows = 0;
  TqbxRowsMode FToNRowsMode = rmCount;
};

class TqbxNullBand : public TqbxBand {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int BandNumber() const override { return 0; }
  bool IsNullBand() const override { return true; }
};

// The records of a data band without data source: RowCount empty records.
class TqbxBandRecords {
 public:
  int32_t RowCount = 0;
  void First() { FRecNo = 0; }
  void Next() { ++FRecNo; }
  void Prior() {
    if (FRecNo > 0) --FRecNo;
  }
  bool Eof() const { return FRecNo >= RowCount; }
  int32_t RecNo() const { return FRecNo; }

 private:
  int32_t FRecNo = 0;
};

class TqbxDataBand : public TqbxBand {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsDataBand() const override { return true; }
  // Nesting level 1 (master) to 6.
  virtual int Level() const = 0;
  int BandNumber() const override { return 5 + Level(); }

  int32_t Columns() const { return FColumns; }
  double ColumnWidth() const { return FColumnWidth; }
  double ColumnGap() const { return FColumnGap; }
  int32_t RowCount() const { return FRecords.RowCount; }
  void SetRowCount(int32_t v) { FRecords.RowCount = v; }
  TqbxBandRecords& Records() { return FRecords; }
  TqbxReportComponent* DataSet() const { return FDataSet.DataSet(); }
  void SetDataSet(TqbxReportComponent* v) { FDataSet.SetDataSet(v); }
  String DataSetName() const { return FDataSet.Name(); }
  void SetDataSetName(const String& v) { FDataSet.SetName(*this, v); }
  const String& Filter() const { return FFilter; }
  bool FooterAfterEach() const { return FFooterAfterEach; }
  bool KeepFooter() const { return FKeepFooter; }
  bool KeepHeader() const { return FKeepHeader; }
  bool PrintIfDetailEmpty() const { return FPrintIfDetailEmpty; }
  const String& OnMasterDetail() const { return FOnMasterDetail; }
  // The current column (from 1) places the band: above Columns it becomes 1.
  int32_t CurColumn() const { return FCurColumn; }
  void SetCurColumn(int32_t value);

 private:
  int32_t FColumns = 0;
  double FColumnWidth = 0, FColumnGap = 0;
  TqbxDataSetLink FDataSet;
  String FFilter, FOnMasterDetail;
  bool FFooterAfterEach = false, FKeepFooter = false, FKeepHeader = false, FPrintIfDetailEmpty = false;
  int32_t FCurColumn = 1;
  TqbxBandRecords FRecords;
};

#define ZAVRIK_DATA_BAND_CLASS(Name, Lvl)                                    \
  class Name : public TqbxDataBand {                                         \
   public:                                                                   \
    static const ClassInfo& StaticClass();                                   \
    const ClassInfo& ClassType() const override { return StaticClass(); }    \
    int Level() const override { return Lvl; }                               \
  };

ZAVRIK_DATA_BAND_CLASS(TqbxMasterData, 1)
ZAVRIK_DATA_BAND_CLASS(TqbxDetailData, 2)
ZAVRIK_DATA_BAND_CLASS(TqbxSubdetailData, 3)
ZAVRIK_DATA_BAND_CLASS(TqbxDataBand4, 4)
ZAVRIK_DATA_BAND_CLASS(TqbxDataBand5, 5)
ZAVRIK_DATA_BAND_CLASS(TqbxDataBand6, 6)
#undef ZAVRIK_DATA_BAND_CLASS

}  // namespace zavrik
