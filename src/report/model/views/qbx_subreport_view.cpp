#include "report/model/views/qbx_subreport_view.h"

#include "core/rtti_props.h"
#include "report/model/views/qbx_font.h"
#include "report/model/views/qbx_frame.h"

namespace zavrik {

namespace {

constexpr int32_t kSilver = 12632256;

}  // namespace

TqbxSubreport::TqbxSubreport() {
  SetComponentStyle(ComponentStyle() & ~csPreviewVisible);
  Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
  Font()->SetName(u"Tahoma");
  Font()->SetSize(8);
  SetColor(kSilver);
}

const ClassInfo& TqbxSubreport::StaticClass() {
  using C = TqbxSubreport;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxSubreport", &TqbxView::StaticClass(), &New<TqbxSubreport>,
                              JoinProps({
                                  FontProps(),
                                  {
                                      Prop(u"Page", &C::Page, &C::SetPage).Reference(),
                                      Prop(u"PrintOnParent", &C::PrintOnParent, &C::SetPrintOnParent)
                                          .Default(0),
                                  },
                              })); });
  return info;
}

}  // namespace zavrik
