// The export-filter protocol shared by every export filter: the prepared pages drive a filter page
// by page (Start, StartPage, ExportObject for each offered object, FinishPage, Finish).
#pragma once

#include <functional>
#include <ostream>

#include "core/ustring.h"

namespace zavrik {

class TqbxComponent;
class TqbxReport;
class TqbxReportPage;

class TqbxCustomExportFilter {
 public:
  virtual ~TqbxCustomExportFilter() = default;

  // Set by the export walk.
  TqbxReport* Report = nullptr;
  // Destination; when set, no file is opened and FileName is not used.
  std::ostream* Stream = nullptr;
  String FileName;
  bool ShowDialog = true;
  bool ShowProgress = true;
  bool UseFileCache = true;
  bool OverwritePrompt = false;
  // Page selection ("1,3-5", "4-"); empty selects every page.
  String PageNumbers;
  // Only the current preview page ("1" without a preview).
  bool CurPage = false;
  bool ExportNotPrintable = false;
  bool SuppressPageHeadersFooters = false;
  bool DataOnly = false;
  // Date value (days since 1899-12-30, local time), set when the export starts.
  double CreationTime = 0;

  // Events of the walk.
  std::function<void(TqbxCustomExportFilter&)> OnBeforeExport;
  std::function<void(TqbxCustomExportFilter&)> OnBeginExport;

  // False stops the export before any page (no Finish).
  virtual bool Start() = 0;
  virtual void Finish() = 0;
  virtual void AfterFinish() {}
  virtual void BeforeStart() {}
  virtual String GetDescription() const = 0;
  // The filter's dialog; false cancels the export (only asked when ShowDialog is set).
  virtual bool ShowModal() { return true; }
  virtual void ExportObject(TqbxComponent& object) = 0;
  virtual void StartPage(TqbxReportPage& page, int index) = 0;
  virtual void FinishPage(TqbxReportPage& page, int index) = 0;
  // True when the filter draws the object itself as part of its parent.
  virtual bool IsProcessInternal(const TqbxComponent&) const { return false; }
};

}  // namespace zavrik
