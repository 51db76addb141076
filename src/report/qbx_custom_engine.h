// TqbxCustomEngine: the state of a report run that the prepared pages read while the engine fills
// them (the engine proper derives from it).
#pragma once

namespace zavrik {

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
};

}  // namespace zavrik
