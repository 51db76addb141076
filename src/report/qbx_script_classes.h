// The report's classes and constants as scripts see them (registered in every report's script).
#pragma once

namespace zavrik {

class TqsScript;

// The registered report classes with their published properties (ancestors first), the members
// the report adds for scripts (`Report.Calc`, `Report.GetDataset`) and the report constants.
void AddReportScriptClasses(TqsScript& script);

}  // namespace zavrik
