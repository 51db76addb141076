// TqbxCustomEngine: the state of a report run that the prepared pages, expressions and scripts
// read while the engine fills the pages (the engine proper derives from it).
#pragma once

#include "core/rtti.h"
#include "core/variant.h"

namespace zavrik {

class TqbxComponent;
class TqbxPostProcessor;
class TqbxReportPage;

// Reports scripts see it as `Engine`: the run state below is published, and the operations scripts
// may call are virtual (the engine proper implements them; while no run is in progress they raise
// "Engine is not running").
class TqbxCustomEngine : public Object {
 public:
  ~TqbxCustomEngine() override = default;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Runs the report (all its report pages, or `page` only); false when nothing was prepared
  // because of errors found before printing.
  virtual bool Run(bool run_dialogs, bool clear_last, TqbxReportPage* page) { return false; }

  // True between the start and the end of a run.
  bool Running = false;
  // True in the final pass of a double-pass run (and in a single pass).
  bool FinalPass = false;
  // The current output position on the page, in report units.
  double CurX = 0;
  double CurY = 0;
  // Page count of the first pass (double pass), for total-page numbers.
  int TotalPages = 0;
  // Current page column and vertical-band column (from 1).
  int CurColumn = 1;
  int CurVColumn = 0;
  // Row of the band being printed: `Line` (restarted by groups) and `Line#`.
  int CurLine = 0;
  int CurLineThrough = 0;
  // Printable size of the current page.
  double PageHeight = 0;
  double PageWidth = 0;
  // Date and time taken at the start of the run (whole days, fraction of a day).
  double StartDate = 0;
  double StartTime = 0;
  // True while a band is evaluated a second time.
  bool SecondScriptCall = false;
  // Table object counters; the engine does not change them.
  int CurTableRow = 0;
  int CurTableColumn = 0;

  // --- operations scripts call
  virtual void NewPage() { NotRunning(); }
  virtual void NewColumn() { NotRunning(); }
  // Shows a band (none: nothing) on the current page.
  virtual void ShowBandObject(TqbxComponent* band) { NotRunning(); }
  virtual void ShowBandByName(StringView band_name) { NotRunning(); }
  virtual void StopReport() { NotRunning(); }
  virtual double FreeSpace() { return NotRunning(), 0; }
  virtual void AddAnchor(const String& text) { NotRunning(); }
  virtual int GetAnchorPage(const String& text) { return NotRunning(), 0; }
  virtual void ProcessObject(TqbxComponent* object) { NotRunning(); }
  virtual bool DoublePass() const { return false; }
  // The prepared pages' post-processor; none without prepared pages.
  virtual TqbxPostProcessor* PostProcessorOfPages() { return nullptr; }

  // Before a preparation: forgets the objects that asked to be notified in the last run.
  virtual void ClearNotifications() {}
  // The aggregate `name` (SUM, AVG, MIN, MAX, COUNT) of `expression` over `band`; none by default.
  virtual Variant GetAggregateValue(const String& name, const String& expression, TqbxComponent* band,
                                    int flags) {
    return Variant::Null();
  }

 protected:
  // Raises "Engine is not running".
  [[noreturn]] static void NotRunning();
};

}  // namespace zavrik
