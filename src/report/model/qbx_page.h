// Pages: report pages (paper, margins, columns, the bands), the data page holding the data
// sources and dialog pages (loaded, never shown).
#pragma once

#include <memory>

#include "report/model/views/qbx_frame.h"
#include "report/model/views/qbx_picture.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_report_component.h"
#include "report/model/qbx_strings.h"

namespace zavrik {

class TqbxBand;

enum TqbxPrinterOrientation : int32_t { poPortrait, poLandscape };
enum TqbxDuplexMode : int32_t { dmNone, dmVertical, dmHorizontal, dmSimplex };

inline constexpr double kPixelsPerMm = 3.77953;
inline constexpr int32_t kCustomPaperSize = 256;

// The paper of a Windows paper-size number in tenths of a millimetre (portrait); false when unknown.
bool FindPaperSize(int32_t number, int32_t& width, int32_t& height);

class TqbxPage : public TqbxComponent {
 public:
  TqbxPage();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsPage() const override { return true; }
};

class TqbxReportPage : public TqbxPage {
 public:
  TqbxReportPage();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxPrinterOrientation Orientation() const { return FOrientation; }
  // Swaps the paper and rotates the margins.
  void SetOrientation(TqbxPrinterOrientation value);
  double PaperWidth() const { return FPaperWidth; }
  void SetPaperWidth(double value);
  double PaperHeight() const { return FPaperHeight; }
  void SetPaperHeight(double value);
  int32_t PaperSize() const { return FPaperSize; }
  // A known number takes the table's size (swapped in landscape); 256 is a custom size.
  void SetPaperSize(int32_t value);
  double LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(double v) { FLeftMargin = v; }
  double RightMargin() const { return FRightMargin; }
  void SetRightMargin(double v) { FRightMargin = v; }
  double TopMargin() const { return FTopMargin; }
  void SetTopMargin(double v) { FTopMargin = v; }
  double BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(double v) { FBottomMargin = v; }
  int32_t Columns() const { return FColumns; }
  // N > 0 divides the printable width into N columns and fills ColumnPositions.
  void SetColumns(int32_t value);
  double ColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(double v) { FColumnWidth = v; }
  TStrings* ColumnPositions() const { return FColumnPositions.get(); }
  int32_t PageCount() const { return FPageCount; }
  // Values of 0 or less are ignored.
  void SetPageCount(int32_t value) { if (value > 0) FPageCount = value; }
  int32_t Color() const { return FColor; }
  void SetColor(int32_t v) { FColor = v; }
  TqbxFrame* Frame() const { return FFrame.get(); }
  TqbxReportComponent* DataSet() const { return FDataSet.DataSet(); }
  void SetDataSet(TqbxReportComponent* v) { FDataSet.SetDataSet(v); }
  String DataSetName() const { return FDataSet.Name(); }
  // Stores the name and looks the data source up by it.
  void SetDataSetName(const String& v) { FDataSet.SetName(*this, v); }
  bool MirrorMargins() const { return FMirrorMargins; }
  bool BackPictureVisible() const { return FBackPictureVisible; }
  bool BackPicturePrintable() const { return FBackPicturePrintable; }
  bool BackPictureStretched() const { return FBackPictureStretched; }
  // The page background image, drawn by the page's background picture view.
  TqbxPicture* BackPicture() const { return FBackPicture.get(); }
  bool IsBackPictureStored() const { return !FBackPicture->Empty(); }
  bool EndlessHeight() const { return FEndlessHeight; }
  bool EndlessWidth() const { return FEndlessWidth; }
  int32_t MirrorMode() const { return FMirrorMode; }
  bool PrintIfEmpty() const { return FPrintIfEmpty; }
  bool PrintOnPreviousPage() const { return FPrintOnPreviousPage; }
  bool ShowTitleOnPreviousPage() const { return FShowTitleOnPreviousPage; }
  bool ResetPageNumbers() const { return FResetPageNumbers; }
  bool TitleBeforeHeader() const { return FTitleBeforeHeader; }
  const String& OutlineText() const { return FOutlineText; }
  const String& OnManualBuild() const { return FOnManualBuild; }
  const String& OnBeforePrint() const { return FOnBeforePrint; }
  const String& OnAfterPrint() const { return FOnAfterPrint; }
  TStrings* HGuides() const { return FHGuides.get(); }
  TStrings* VGuides() const { return FVGuides.get(); }

  // The first child band of `band_class` (subclasses included), or none.
  TqbxBand* FindBand(const ClassInfo& band_class) const;
  // Aligns the bands within the printable area, then restores the page size.
  void AlignChildren(bool ignore_invisible, int32_t mirror_modes) override;

 private:
  // Width and Height from the paper size, rounded.
  void UpdateDimensions();

  TqbxPrinterOrientation FOrientation = poPortrait;
  double FPaperWidth = 210, FPaperHeight = 297;
  int32_t FPaperSize = 9;
  double FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;
  bool FMirrorMargins = false;
  int32_t FColumns = 0;
  double FColumnWidth = 0;
  std::unique_ptr<TStrings> FColumnPositions = std::make_unique<TStrings>();
  int32_t FBin = 7, FBinOtherPages = 7;
  TqbxDuplexMode FDuplex = dmNone;
  bool FBackPictureVisible = true, FBackPicturePrintable = true, FBackPictureStretched = true;
  int32_t FColor = 0x1FFFFFFF;
  std::unique_ptr<TqbxPicture> FBackPicture = std::make_unique<TqbxPicture>();
  std::unique_ptr<TqbxFrame> FFrame = std::make_unique<TqbxFrame>();
  int32_t FPageCount = 1;
  TqbxDataSetLink FDataSet;
  bool FEndlessHeight = false, FEndlessWidth = false, FLargeDesignHeight = false;
  int32_t FMirrorMode = 0;
  String FOutlineText;
  bool FPrintIfEmpty = true, FPrintOnPreviousPage = false, FShowTitleOnPreviousPage = true;
  bool FResetPageNumbers = false, FTitleBeforeHeader = true;
  std::unique_ptr<TStrings> FHGuides = std::make_unique<TStrings>();
  std::unique_ptr<TStrings> FVGuides = std::make_unique<TStrings>();
  String FOnBeforePrint, FOnAfterPrint, FOnManualBuild;
};

// Holds the report's data sources.
class TqbxDataPage : public TqbxPage {
 public:
  TqbxDataPage();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

// A dialog form of an interactive run: loaded with its controls' attributes, never shown.
class TqbxDialogPage : public TqbxPage {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool IsDialogPage() const override { return true; }
};

}  // namespace zavrik
