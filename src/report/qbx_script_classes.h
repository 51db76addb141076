// The report's classes and constants as scripts see them (registered in every report's script).
#pragma once

namespace zavrik {

class TqsScript;

// The registered report classes with their published properties (ancestors first) and the
// elements of their enumerations, the members added for scripts (`Report.Calc`,
// `Report.GetDataset`, `Report.Terminated`, `FindObject`, `SetBounds`, `Parent`, `Page`,
// `AbsLeft`, `AbsTop`, the memo's `Text`), the report constants and DayOf, MonthOf, YearOf.
void AddReportScriptClasses(TqsScript& script);

}  // namespace zavrik
