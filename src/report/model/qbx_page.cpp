#include "report/model/qbx_page.h"

#include <utility>

#include "core/float_text.h"
#include "core/numeric.h"
#include "core/rtti_props.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_data_set_list.h"

namespace zavrik {
namespace {

double RoundTo8Places(double value) { return RoundHalfEven(value * 1e8) / 1e8; }

const EnumType& MirrorModeSet() {
  static const EnumType type{u"mcmRTLBands", u"mcmRTLObjects", u"mcmRTLAppearance", u"mcmRTLContent",
                             u"mcmRTLSpecial", u"mcmBTTBands", u"mcmBTTObjects", u"mcmBTTAppearance",
                             u"mcmBTTContent", u"mcmBTTSpecial", u"mcmOnlyAllowed"};
  return type;
}

// Bands that span the page width even in a page with columns.
bool SpansPageWidth(const TqbxBand& band) {
  return band.IsNullBand() || dynamic_cast<const TqbxReportSummary*>(&band) || dynamic_cast<const TqbxPageHeader*>(&band) ||
         dynamic_cast<const TqbxPageFooter*>(&band) || dynamic_cast<const TqbxReportTitle*>(&band) ||
         dynamic_cast<const TqbxOverlay*>(&band);
}

}  // namespace

TqbxPage::TqbxPage() { SetComponentStyle(ComponentStyle() | csAcceptsQbxComponents); }

const ClassInfo& TqbxPage::StaticClass() {
  using C = TqbxPage;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxPage", &TqbxComponent::StaticClass(), nullptr, JoinProps({
      FontProps(),
      {Prop(u"Visible", &C::Visible, &C::SetVisible).Default(1)},
  })); });
  return info;
}

TqbxReportPage::TqbxReportPage() { UpdateDimensions(); }

const ClassInfo& TqbxReportPage::StaticClass() {
  using C = TqbxReportPage;
  static const EnumType orientations{u"poPortrait", u"poLandscape"};
  static const EnumType duplex{u"dmNone", u"dmVertical", u"dmHorizontal", u"dmSimplex"};
  // Paper width and height come before the paper number, and the columns before their widths
  // and positions, so that explicit values replace computed ones on reading.
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxReportPage", &TqbxPage::StaticClass(), &New<TqbxReportPage>, {
      Prop(u"Orientation", &C::Orientation, &C::SetOrientation).Enum(orientations).Default(poPortrait),
      Prop(u"PaperWidth", &C::PaperWidth, &C::SetPaperWidth),
      Prop(u"PaperHeight", &C::PaperHeight, &C::SetPaperHeight),
      Prop(u"PaperSize", &C::PaperSize, &C::SetPaperSize),
      Prop(u"LeftMargin", &C::LeftMargin, &C::SetLeftMargin),
      Prop(u"RightMargin", &C::RightMargin, &C::SetRightMargin),
      Prop(u"TopMargin", &C::TopMargin, &C::SetTopMargin),
      Prop(u"BottomMargin", &C::BottomMargin, &C::SetBottomMargin),
      Field(u"MirrorMargins", &C::FMirrorMargins).Default(0),
      Prop(u"Columns", &C::Columns, &C::SetColumns).Default(0),
      Prop(u"ColumnWidth", &C::ColumnWidth, &C::SetColumnWidth),
      Prop(u"ColumnPositions", &C::ColumnPositions),
      Field(u"Bin", &C::FBin).Default(7),
      Field(u"BinOtherPages", &C::FBinOtherPages).Default(7),
      Field(u"Duplex", &C::FDuplex).Enum(duplex).Default(dmNone),
      Field(u"BackPictureVisible", &C::FBackPictureVisible).Default(1),
      Field(u"BackPicturePrintable", &C::FBackPicturePrintable).Default(1),
      Field(u"BackPictureStretched", &C::FBackPictureStretched).Default(1),
      Prop(u"BackPicture", &C::BackPicture).Stored(&C::IsBackPictureStored),
      Prop(u"Color", &C::Color, &C::SetColor).Default(0x1FFFFFFF),
      Prop(u"Frame", &C::Frame),
      Prop(u"PageCount", &C::PageCount, &C::SetPageCount).Default(1),
      Prop(u"DataSet", &C::DataSet, &C::SetDataSet).Reference(),
      Prop(u"DataSetName", &C::DataSetName, &C::SetDataSetName),
      Field(u"EndlessHeight", &C::FEndlessHeight).Default(0),
      Field(u"EndlessWidth", &C::FEndlessWidth).Default(0),
      Field(u"LargeDesignHeight", &C::FLargeDesignHeight).Default(0),
      Field(u"MirrorMode", &C::FMirrorMode).SetOf(MirrorModeSet()).Default(0),
      Field(u"OutlineText", &C::FOutlineText),
      Field(u"PrintIfEmpty", &C::FPrintIfEmpty).Default(1),
      Field(u"PrintOnPreviousPage", &C::FPrintOnPreviousPage).Default(0),
      Field(u"ShowTitleOnPreviousPage", &C::FShowTitleOnPreviousPage).Default(1),
      Field(u"ResetPageNumbers", &C::FResetPageNumbers).Default(0),
      Field(u"TitleBeforeHeader", &C::FTitleBeforeHeader).Default(1),
      Prop(u"HGuides", &C::HGuides),
      Prop(u"VGuides", &C::VGuides),
      Field(u"OnBeforePrint", &C::FOnBeforePrint),
      Field(u"OnAfterPrint", &C::FOnAfterPrint),
      Field(u"OnManualBuild", &C::FOnManualBuild),
  }); });
  return info;
}

void TqbxReportPage::UpdateDimensions() {
  SetWidth(RoundHalfEven(FPaperWidth * kPixelsPerMm));
  SetHeight(RoundHalfEven(FPaperHeight * kPixelsPerMm));
}

void TqbxReportPage::SetOrientation(TqbxPrinterOrientation value) {
  if (value == FOrientation) return;
  FOrientation = value;
  std::swap(FPaperWidth, FPaperHeight);
  const double left = FLeftMargin, right = FRightMargin, top = FTopMargin, bottom = FBottomMargin;
  if (value == poLandscape) {
    FLeftMargin = top, FRightMargin = bottom, FTopMargin = right, FBottomMargin = left;
  } else {
    FLeftMargin = bottom, FRightMargin = top, FTopMargin = left, FBottomMargin = right;
  }
  UpdateDimensions();
}

void TqbxReportPage::SetPaperWidth(double value) {
  FPaperWidth = RoundTo8Places(value);
  FPaperSize = kCustomPaperSize;
  UpdateDimensions();
}

void TqbxReportPage::SetPaperHeight(double value) {
  FPaperHeight = RoundTo8Places(value);
  FPaperSize = kCustomPaperSize;
  UpdateDimensions();
}

void TqbxReportPage::SetPaperSize(int32_t value) {
  FPaperSize = value;
  int32_t width = 0, height = 0;
  if (value < kCustomPaperSize && FindPaperSize(value, width, height)) {
    FPaperWidth = width / 10.0;
    FPaperHeight = height / 10.0;
    if (FOrientation == poLandscape) std::swap(FPaperWidth, FPaperHeight);
  }
  UpdateDimensions();
}

void TqbxReportPage::SetColumns(int32_t value) {
  FColumns = value;
  FColumnPositions->Clear();
  if (value <= 0) return;
  FColumnWidth = (FPaperWidth - FLeftMargin - FRightMargin) / value;
  for (int32_t i = 0; i < value && i < 10000; ++i) FColumnPositions->Add(FloatToStr(i * FColumnWidth));
}


TqbxBand* TqbxReportPage::FindBand(const ClassInfo& band_class) const {
  for (const auto& child : Objects()) {
    if (child->IsBand() && child->ClassType().InheritsFrom(band_class)) return static_cast<TqbxBand*>(child.get());
  }
  return nullptr;
}

void TqbxReportPage::AlignChildren(bool ignore_invisible, int32_t mirror_modes) {
  SetWidth((FPaperWidth - FLeftMargin - FRightMargin) * kPixelsPerMm);
  SetHeight((FPaperHeight - FTopMargin - FBottomMargin) * kPixelsPerMm);
  TqbxPage::AlignChildren(ignore_invisible, mirror_modes);
  for (const auto& child : Objects()) {
    auto* band = ComponentAs<TqbxBand>(child.get());
    if (!band) continue;
    if (band->Vertical()) band->SetHeight(Height() - band->Top());
    else if (FColumns > 1 && !SpansPageWidth(*band)) band->SetWidth(FColumnWidth * kPixelsPerMm);
    else band->SetWidth(Width() - band->Left());
    band->MirrorPlacement(mirror_modes);
    band->AlignChildren(ignore_invisible, mirror_modes);
  }
  UpdateDimensions();
}

TqbxDataPage::TqbxDataPage() { SetBounds(0, 0, 1000, 1000); }

const ClassInfo& TqbxDataPage::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDataPage", &TqbxPage::StaticClass(), &New<TqbxDataPage>, GeometryProps()); });
  return info;
}

const ClassInfo& TqbxDialogPage::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDialogPage", &TqbxPage::StaticClass(), &New<TqbxDialogPage>, GeometryProps()); });
  return info;
}

}  // namespace zavrik
