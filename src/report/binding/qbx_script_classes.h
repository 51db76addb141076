// The report's classes and constants as scripts see them (registered in every report's script).
#pragma once

namespace zavrik {

class ClassInfo;
class TqsClassVariable;
class TqsScript;

// The registered report classes with their published properties (ancestors first) and the
// elements of their enumerations, the members added for scripts (`Report.Calc`,
// `Report.GetDataset`, `Report.Terminated`, `Report.Variables`, `FindObject`, `SetBounds`,
// `Parent`, `Page`, `AbsLeft`, `AbsTop`, `TagStr`, `CalcHeight`, `AlignChildren`, the memo's `Text`,
// `Value`, `CalcWidth`, the data sets' navigation and fields), the report constants, DayOf,
// MonthOf, YearOf and qbxGlobalVariables.
void AddReportScriptClasses(TqsScript& script);

// The class with its ancestors (reused when already known in this scope).
TqsClassVariable* AddScriptClassChain(TqsScript& script, const ClassInfo& info);

// Enumeration and set types by name, TFont with TFontStyles, the colour constants, and the
// classes that are not components with their published properties.
void AddReportScriptTypes(TqsScript& script);

// Creating objects on an owner, the component tree as lists, streams, geometry, data-set field
// details, memo lines, pictures from files, dialog pages, the report's files and the fill casts.
void AddReportScriptMembers(TqsScript& script);

// TqbxStyles (Report.Styles) and TqbxArray.
void AddReportScriptCollections(TqsScript& script);

// `Engine`'s class (the run state; NewPage, NewColumn, ShowBand, ShowBandByName, StopReport,
// FreeSpace, AddAnchor, GetAnchorPage, ProcessObject), the prepared pages' (Count, CurPage,
// Page[Index]) and the outline's (AddItem, LevelRoot, LevelUp).
void AddRunScriptClasses(TqsScript& script);

}  // namespace zavrik
