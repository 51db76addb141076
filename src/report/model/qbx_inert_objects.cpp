#include "report/model/qbx_inert_objects.h"

#include "core/rtti_props.h"

namespace zavrik {

const ClassInfo& TqbxInertComponent::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxInertComponent", &TqbxReportComponent::StaticClass(), nullptr,
                              JoinProps({GeometryProps(), FontProps(), PlacementProps()})); });
  return info;
}

#define ZAVRIK_INERT_TABLE(Name)                                                                     \
  const ClassInfo& Name::StaticClass() {                                                             \
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"" #Name, &TqbxInertComponent::StaticClass(), &New<Name>, PropList{}); }); \
    return info;                                                                                     \
  }

ZAVRIK_INERT_TABLE(TqbxDBLookupComboBox)
ZAVRIK_INERT_TABLE(TqbxDMPMemoView)
ZAVRIK_INERT_TABLE(TqbxDMPLineView)
ZAVRIK_INERT_TABLE(TqbxDMPCommand)
#undef ZAVRIK_INERT_TABLE

const ClassInfo& TqbxDMPPage::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDMPPage", &TqbxPage::StaticClass(), &New<TqbxDMPPage>, GeometryProps()); });
  return info;
}

}  // namespace zavrik
