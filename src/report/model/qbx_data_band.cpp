#include "core/rtti_props.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_data_set_list.h"

namespace zavrik {

const ClassInfo& TqbxDataBand::StaticClass() {
  using C = TqbxDataBand;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDataBand", &TqbxBand::StaticClass(), nullptr, JoinProps({
      Pick({u"AllowSplit", u"Child"}),
      {
          Field(u"Columns", &C::FColumns).Default(0),
          Field(u"ColumnWidth", &C::FColumnWidth),
          Field(u"ColumnGap", &C::FColumnGap),
          Prop(u"DataSet", &C::DataSet, &C::SetDataSet).Reference(),
          Prop(u"DataSetName", &C::DataSetName, &C::SetDataSetName),
          Field(u"FooterAfterEach", &C::FFooterAfterEach).Default(0),
          Field(u"Filter", &C::FFilter),
      },
      Pick({u"KeepChild"}),
      {
          Field(u"KeepFooter", &C::FKeepFooter).Default(0),
          Field(u"KeepHeader", &C::FKeepHeader).Default(0),
      },
      Pick({u"KeepTogether", u"OutlineText", u"PrintChildIfInvisible"}),
      {
          Field(u"PrintIfDetailEmpty", &C::FPrintIfDetailEmpty).Default(0),
          Prop(u"RowCount", &C::RowCount, &C::SetRowCount).Default(0),
      },
      Pick({u"StartNewPage", u"Stretched", u"ShiftEngine"}),
      {Field(u"OnMasterDetail", &C::FOnMasterDetail)},
  })); });
  return info;
}

#define ZAVRIK_DATA_BAND_TABLE(Name)                                                              \
  const ClassInfo& Name::StaticClass() {                                                          \
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"" #Name, &TqbxDataBand::StaticClass(), &New<Name>, PropList{}); }); \
    return info;                                                                                  \
  }

ZAVRIK_DATA_BAND_TABLE(TqbxMasterData)
ZAVRIK_DATA_BAND_TABLE(TqbxDetailData)
ZAVRIK_DATA_BAND_TABLE(TqbxSubdetailData)
ZAVRIK_DATA_BAND_TABLE(TqbxDataBand4)
ZAVRIK_DATA_BAND_TABLE(TqbxDataBand5)
ZAVRIK_DATA_BAND_TABLE(TqbxDataBand6)
#undef ZAVRIK_DATA_BAND_TABLE


void TqbxDataBand::SetCurColumn(int32_t value) {
  if (value > FColumns) value = 1;
  FCurColumn = value;
  SetLeft((value - 1) * (FColumnWidth + FColumnGap));
}

}  // namespace zavrik
