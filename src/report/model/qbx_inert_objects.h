// Objects that templates may contain but that never print here: the controls of dialog pages and
// the dot-matrix printing objects. They load with their geometry, font and events; every other
// attribute of theirs is ignored.
#pragma once

#include "report/model/qbx_page.h"
#include "report/model/qbx_report_component.h"

namespace zavrik {

// The base of objects that only load.
class TqbxInertComponent : public TqbxReportComponent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

#define ZAVRIK_INERT_CLASS(Name, Base)                                     \
  class Name : public Base {                                               \
   public:                                                                 \
    static const ClassInfo& StaticClass();                                 \
    const ClassInfo& ClassType() const override { return StaticClass(); }  \
  };

// A dialog control.
ZAVRIK_INERT_CLASS(TqbxDBLookupComboBox, TqbxInertComponent)
// Dot-matrix printing: a page of its own kind (not a report page, so the engine never runs it)
// and its objects.
ZAVRIK_INERT_CLASS(TqbxDMPPage, TqbxPage)
ZAVRIK_INERT_CLASS(TqbxDMPMemoView, TqbxInertComponent)
ZAVRIK_INERT_CLASS(TqbxDMPLineView, TqbxInertComponent)
ZAVRIK_INERT_CLASS(TqbxDMPCommand, TqbxInertComponent)
#undef ZAVRIK_INERT_CLASS

}  // namespace zavrik
