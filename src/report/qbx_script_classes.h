// The report's classes and constants as scripts see them (registered in every report's script).
#pragma once

namespace zavrik {

class TqsScript;

// The registered report classes with their published properties (ancestors first) and the
// elements of their enumerations, the members added for scripts (`Report.Calc`,
// `Report.GetDataset`, `Report.Terminated`, `Report.Variables`, `FindObject`, `SetBounds`,
// `Parent`, `Page`, `AbsLeft`, `AbsTop`, `TagStr`, `CalcHeight`, `AlignChildren`, the memo's `Text`,
// `Value`, `CalcWidth`, the data sets' navigation and fields), the report constants, DayOf,
// MonthOf, YearOf and qbxGlobalVariables.
void AddReportScriptClasses(TqsScript& script);

// `Engine`'s class (the run state; NewPage, NewColumn, ShowBand, ShowBandByName, StopReport,
// FreeSpace, AddAnchor, GetAnchorPage, ProcessObject), the prepared pages' (Count, CurPage,
// Page[Index]) and the outline's (AddItem, LevelRoot, LevelUp).
void AddRunScriptClasses(TqsScript& script);

}  // namespace zavrik
