#include "report/model/qbx_classes.h"

#include <mutex>
#include <vector>

#include "core/rtti.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_check_box_view.h"
#include "report/model/qbx_inert_objects.h"
#include "report/model/views/qbx_line_view.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_report.h"
#include "report/model/views/qbx_shape_view.h"
#include "report/model/views/qbx_subreport_view.h"

namespace zavrik {

void RegisterReportClasses() {
  // The creatable classes, one entry each. Classes not yet implemented report
  // "Не удалось найти класс" for their elements.
  static const std::vector<const ClassInfo*> kClasses = {
      &TqbxReport::StaticClass(),
      &TqbxReportPage::StaticClass(),   &TqbxDataPage::StaticClass(),      &TqbxDialogPage::StaticClass(),
      &TqbxReportTitle::StaticClass(),  &TqbxReportSummary::StaticClass(), &TqbxPageHeader::StaticClass(),
      &TqbxPageFooter::StaticClass(),   &TqbxHeader::StaticClass(),        &TqbxFooter::StaticClass(),
      &TqbxMasterData::StaticClass(),   &TqbxDetailData::StaticClass(),    &TqbxSubdetailData::StaticClass(),
      &TqbxDataBand4::StaticClass(),    &TqbxDataBand5::StaticClass(),     &TqbxDataBand6::StaticClass(),
      &TqbxGroupHeader::StaticClass(),  &TqbxGroupFooter::StaticClass(),   &TqbxChild::StaticClass(),
      &TqbxColumnHeader::StaticClass(), &TqbxColumnFooter::StaticClass(),  &TqbxOverlay::StaticClass(),
      &TqbxNullBand::StaticClass(),     &TqbxMemoView::StaticClass(),      &TqbxSysMemoView::StaticClass(),
      &TqbxCustomMemoView::StaticClass(),
      &TqbxPictureView::StaticClass(),  &TqbxLineView::StaticClass(),      &TqbxCustomLineView::StaticClass(),
      &TqbxShapeView::StaticClass(),    &TqbxCheckBoxView::StaticClass(),  &TqbxSubreport::StaticClass(),
      &TqbxDBLookupComboBox::StaticClass(), &TqbxDMPPage::StaticClass(),   &TqbxDMPMemoView::StaticClass(),
      &TqbxDMPLineView::StaticClass(),  &TqbxDMPCommand::StaticClass(),
  };
  static std::once_flag once;
  std::call_once(once, [] {
    for (const ClassInfo* info : kClasses) RegisterClass(*info);
  });
}

}  // namespace zavrik
