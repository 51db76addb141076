// The subreport view: a placeholder on a band for another report page, which the engine runs in
// its place. It never prints itself.
#pragma once

#include "report/model/qbx_page.h"
#include "report/model/qbx_ref.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {

class TqbxSubreport : public TqbxView {
 public:
  TqbxSubreport();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxReportPage* Page() const { return FPage; }
  void SetPage(TqbxReportPage* value) { FPage = value; }
  bool PrintOnParent() const { return FPrintOnParent; }
  void SetPrintOnParent(bool value) { FPrintOnParent = value; }

 private:
  TqbxRef<TqbxReportPage> FPage;
  bool FPrintOnParent = false;
};

}  // namespace zavrik
