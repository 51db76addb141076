// TqbxCustomEngine: the state of a report run that the prepared pages and the expression binding
// read while the engine fills them (the engine proper derives from it).
#pragma once

#include "core/variant.h"

namespace zavrik {

class TqbxComponent;

class TqbxCustomEngine {
 public:
  virtual ~TqbxCustomEngine() = default;

  // True between the start and the end of a run.
  bool Running = false;
  // True in the final pass of a double-pass run (and in a single pass).
  bool FinalPass = false;
  // The vertical position on the current page, in report units.
  double CurY = 0;
  // Page count of the first pass (double pass), for total-page numbers.
  int TotalPages = 0;
  // Date and time taken at the start of the run (the variables Date and Time).
  double StartDate = 0, StartTime = 0;
  // Row number within the current run of the data band (Line) and through it (Line#).
  int CurLine = 0, CurLineThrough = 0;
  // Table object counters (TableRow, TableColumn).
  int CurTableRow = 0, CurTableColumn = 0;

  // Before a preparation: forgets the objects that asked to be notified in the last run.
  virtual void ClearNotifications() {}
  // The aggregate `name` (SUM, AVG, MIN, MAX, COUNT) of `expression` over `band`; none by default.
  virtual Variant GetAggregateValue(const String& name, const String& expression, TqbxComponent* band,
                                    int flags) {
    return Variant::Null();
  }
};

}  // namespace zavrik
