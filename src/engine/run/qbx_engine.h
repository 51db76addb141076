// TqbxEngine: turns the report's pages, bands and data sources into prepared pages. One run:
// Initialize (band links, data-source checks), the report pages (page start, title, page header,
// data bands record by record with their headers and footers, summary, page footer), Finalize.
#pragma once

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/ustring.h"
#include "engine/run/qbx_aggregate.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_page.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {

class TqbxCustomPreviewPages;
class TqbxEngineDataSource;
class TqbxPostProcessor;
class TqbxReport;
class TqbxXMLItem;

// Links of a band (or page) built for each run: its detail data bands and, for a data band, its
// header, footer and the group header of its groups.
struct TqbxBandLinks {
  std::vector<TqbxDataBand*> SubBands;
  TqbxBand* Header = nullptr;
  TqbxBand* Footer = nullptr;
  TqbxGroupHeader* Group = nullptr;
  // A group header: the chain of nested group headers starting with itself.
  std::vector<TqbxGroupHeader*> GroupChain;
  // Run-time counters of a data band: `Line` and `Line#` of the next row.
  int LineN = 1;
  int LineThrough = 1;
  double StretchedHeight = 0;
  // A data band with band columns: where the current row began (y and page element), the lowest
  // y it reached, and whether it holds a record not yet completed.
  double RowStartY = 0;
  int RowPosition = 0;
  double MaxY = 0;
  bool RowOpen = false;
  // Where the band's header began (y, page element, page) while its first row is open.
  double HeaderY = 0;
  int HeaderPosition = 0;
  int HeaderPage = -1;
  bool HeaderBeforeRow = false;
  // A group header: the condition's value for the open group, and whether its outline item is open.
  Variant LastValue;
  bool Outlined = false;
  // A horizontal band some of whose objects lie in vertical bands (cells).
  bool HasVBands = false;
  // A page: its top-level vertical data bands.
  std::vector<TqbxDataBand*> VSubBands;
};

// An object moved from a horizontal band into a vertical band for the run, and where it came from.
struct TqbxVerticalCell {
  TqbxComponent* Object = nullptr;
  TqbxBand* OriginalBand = nullptr;
  int OriginalIndex = 0;
  double VerticalLeft = 0;
  bool ParentFont = false;
};


// Where the footers of a data band with a child row band began: the page count, page element,
// outline item and anchor before them.
struct TqbxChildRowsMark {
  int PageCount = 0;
  int Position = 0;
  TqbxXMLItem* Outline = nullptr;
  int Anchor = 0;
};

// A band reprinted at the top of each new page (report title once, page header, reprinted headers).
struct TqbxHeaderListItem {
  TqbxBand* Band = nullptr;
  // The x where it was printed.
  double Left = 0;
  // Added while bands were being kept together.
  bool IsInKeepList = false;
};

class TqbxEngine : public TqbxCustomEngine {
 public:
  explicit TqbxEngine(TqbxReport& report);
  ~TqbxEngine() override;
  TqbxEngine(const TqbxEngine&) = delete;
  TqbxEngine& operator=(const TqbxEngine&) = delete;

  bool Run(bool run_dialogs, bool clear_last, TqbxReportPage* page) override;
  bool Initialize();
  void Finalize();
  // Subreports without a page, or whose page leads back to their own, get a message and never
  // run (qbx_engine_subreports.cpp).
  void CheckSubreports();
  bool IsSubreportPage(const TqbxReportPage& page) const;

  // --- page flow (a band being kept together moves with the break)
  void NewPage() override;
  // Ends the page and enters the next page to the right (re-entered when it exists), without
  // reprinting data headers (vertical bands).
  void NewPageToRight();
  void NewColumn() override;
  void EndPage();
  // --- keeping bands together: one run at a time; the first band of a page run starts none
  void StartKeep(TqbxBand* band, int position = 0);
  void EndKeep(const TqbxBand* band);
  void BreakAllKeep();
  // Room left above the footers on the current page.
  double FreeSpace() override;
  // The page height; on an endless page, the footers below the current position.
  double GetPageHeight();
  double HeaderHeight(bool add_reprinted);
  double FooterHeight();

  // --- bands
  // Outputs the band and its ordinary child chain; a child band with a row count is returned for
  // the caller to print.
  TqbxBand* ShowBand(TqbxBand* band);
  // The first band of that class on the current page.
  void ShowBand(const ClassInfo& band_class);
  void ShowBandObject(TqbxComponent* band) override;
  void ShowBandByName(StringView band_name) override;
  void StopReport() override;
  // Anchors of the prepared pages, for scripts.
  void AddAnchor(const String& text) override;
  int GetAnchorPage(const String& text) override;
  TqbxPostProcessor& GetPostProcessor();
  TqbxPostProcessor* PostProcessorOfPages() override { return &GetPostProcessor(); }
  // Settles a view deferred to paCustom now (scripts); any other object is left alone.
  void ProcessObject(TqbxComponent* object) override;
  bool DoublePass() const override;
  Variant GetAggregateValue(const String& name, const String& expression, TqbxComponent* band,
                            int flags) override;
  // Evaluates a container's objects, stretches and shifts them (`UnStretch` restores them).
  void Stretch(TqbxComponent& container);
  void UnStretch(TqbxComponent& container);

  TqbxReport& Report;
  TqbxReportPage* Page = nullptr;
  TqbxBand* CurBand = nullptr;
  std::vector<TqbxHeaderListItem> HeaderList;
  bool FirstReportPage = false;
  bool IsFirstBand = false, IsFirstPage = false, IsLastPage = false, TitlePrinted = false;
  double FirstColumnY = 0;
  double PageCurX = 0;
  double PrevFooterHeight = 0;
  bool CallFromAddPage = false, CallFromEndPage = false, CallFromPHeader = false;
  // The chain of data bands currently iterating, outermost first, with their row numbers.
  std::vector<std::pair<String, int>> HBandNamesTree;
  TqbxBand* LastBandOnPage = nullptr;
  TqbxBand* StartNewPageBand = nullptr;
  TqbxAggregateList Aggregates;
  // Keep state: the band that started the keep, where it started (y, page element, outline item,
  // anchor), and whether it began with a data band's header or moves a data band's footer.
  bool Keeping = false;
  TqbxBand* KeepBand = nullptr;
  double KeepCurY = 0;
  int KeepPosition = 0;
  TqbxXMLItem* KeepOutline = nullptr;
  int KeepAnchor = 0;
  bool KeepHeader = false;
  bool KeepFooter = false;
  // Suppresses the reprinting of headers.
  bool DontShowHeaders = false;
  // Suspends the end-of-band step (deferred values and aggregate resets).
  bool LockResetAggregates = false;
  // Where the last kept run was pasted.
  int SubSavePageN = 0;
  double SubSaveCurY = 0;
  // Vertical bands: the horizontal band being laid out across the page, the vertical headers
  // printed again at the left of each page to the right, and the master band's object counts at
  // which each page to the right begins (with the final count last).
  TqbxBand* VMasterBand = nullptr;
  std::vector<TqbxBand*> VHeaderList;
  std::vector<int> VPageList;
  // Collects the bands of subreports printed on their parent band (none otherwise).
  TqbxBand* OutputTo = nullptr;

  // Run-time links of a band or page (created on first use).
  TqbxBandLinks& Links(const TqbxComponent& band_or_page) { return FLinks[&band_or_page]; }

 private:
  TqbxCustomPreviewPages& Pages() const;
  // Outline items: the page's (at its top) and a printed data row's (one level deeper until its
  // details are done; true when added).
  void AddPageOutline();
  bool AddBandOutline(TqbxBand& band);
  // --- run structure (qbx_engine.cpp)
  void RunReportPages(TqbxReportPage* given_page);
  void RunReportPage(TqbxReportPage& page);
  void RunPageOnce(TqbxReportPage& page);
  // --- page flow (qbx_engine_pages.cpp)
  void StartFirstPage();
  void ShowPageObjects();
  void ShowFixedBand(TqbxBand* band);
  // An endless page gets the size of its content: its page element, and at the end of a page run
  // also its source page.
  void UpdateEndlessPage(bool source_page_too);
  // --- page and column breaks (qbx_engine_breaks.cpp)
  void PageStart();
  void ShowColumnFooter();
  // Evaluates the band and, when it is visible, records it at (x, CurY) (with its background
  // when asked) and moves CurY below it; the band is restored afterwards. True when visible.
  bool PrintBandAt(TqbxBand& band, double x, bool with_fill);
  void StartNextColumn();
  // Whether a band in the header list is printed again at a page start.
  bool ReprintsAtPageStart(const TqbxHeaderListItem& item);
  // Moves the bands kept since the keep started to (x, y) of the current page.
  void PasteKeptBands(double x, double y);
  // Memos that suppress repeated values forget the last one; true when the band has such memos.
  bool ResetSuppressedMemos(TqbxBand& band);
  // The band is evaluated again (before it moves to a new page or column) so that the first row
  // there shows values its memos suppress as repeated.
  void ReevaluateSuppressed(TqbxBand& band);
  // --- groups (qbx_engine_groups.cpp)
  void InitGroups(TqbxDataBand& band, size_t from, bool all);
  void CheckGroups(TqbxDataBand& band, TqbxEngineDataSource& records);
  void ShowGroupFooters(TqbxDataBand& band, size_t from);
  void ApplyDrillDown(TqbxDataBand& band);
  const std::vector<TqbxGroupHeader*>& GroupChain(const TqbxDataBand& band);
  // --- aggregates: the bands of a page scanned for calls
  void AddAggregateItems(TqbxReportPage& page);
  // The end-of-band step after a band is shown (or at a processing event without a band).
  void EndOfBand(TqbxBand* band, TqbxProcessAtMode mode = paDefault);
  // --- band links (qbx_engine_links.cpp)
  // Links of the page's horizontal or vertical bands.
  void PrepareBands(TqbxReportPage& page, bool vertical);
  void CheckDataSources();
  // --- data bands (qbx_engine_data.cpp)
  void RunDataBands(const TqbxComponent& container);
  void RunDataBand(TqbxDataBand& band);
  // The data band's footer, moved together with the last record when the band keeps its footer.
  void ShowFooter(TqbxDataBand& band, int record_position, int record_page);
  bool HasData(const TqbxComponent& container, bool force);
  // --- band columns of data bands (qbx_engine_band_columns.cpp)
  void StartBandColumnRow(TqbxDataBand& band);
  // Before the header of a data band with band columns: the first row may take it along.
  void MarkBandColumnHeader(TqbxDataBand& band);
  // After a printed record: the next column of the row, or the row completed (moved whole to the
  // next column or page when it reaches the bottom).
  void AdvanceBandColumn(TqbxDataBand& band);
  // Completes the last row after the record loop.
  void CloseBandColumns(TqbxDataBand& band);
  // --- child bands with a row count (qbx_engine_child_rows.cpp)
  TqbxChildRowsMark MarkChildRows();
  // Prints the child rows of `band` between its last record and its footers.
  void ShowChildRows(TqbxDataBand& band, const TqbxChildRowsMark& mark);
  // --- band output (qbx_engine_output.cpp)
  void OutputBand(TqbxBand& band);
  // Places the evaluated band at the current position and records it.
  void RecordBand(TqbxBand& band, bool multi_column);
  // --- band splitting (qbx_engine_split.cpp)
  // Whether a band that does not fit the rest of the page is printed in parts.
  bool NeedsSplit(const TqbxBand& band);
  void SplitBand(TqbxBand& band);
  void AddHeader(TqbxBand* band);
  void RemoveHeader(const TqbxBand* band);
  // --- vertical bands (qbx_engine_vertical.cpp)
  // Moves the objects of horizontal bands lying within a vertical band into it (cells); `Finalize`
  // moves them back.
  void MoveCellsToVerticalBands(TqbxReportPage& page);
  void RestoreVerticalCells();
  // A horizontal band with cells: the vertical bands run across it, and it is recorded once per
  // page to the right.
  void OutputVMasterBand(TqbxBand& band);
  void RunVDataBands(const TqbxComponent& container);
  void RunVDataBand(TqbxDataBand& band);
  void OutputVBand(TqbxBand& band);
  // Copies the vertical band's cells of the master band into it at CurX.
  void CopyVerticalCells(TqbxBand& vertical_band);
  // Records the master band on its page and each page to the right, one range of cells on each.
  void RecordVMasterBand(TqbxBand& band);
  // --- subreports (qbx_engine_subreports.cpp)
  // Runs the pages of the band's subreports from where the band was recorded; the run goes on
  // below the longest of them.
  void RunSubreports(TqbxBand& band, int band_page, double band_top);
  // Runs the pages of the container's PrintOnParent subreports into it: their bands' objects
  // become objects of the container (removed again by UnStretch).
  void RunSubreportsOnParent(TqbxComponent& container);
  // Records a copy of the band with its objects into OutputTo at the current position.
  void CopyToOutput(TqbxBand& band);
  // The left edge of a page column (from 1), relative to the page's left.
  double ColumnLeft(int column) const;
  // --- shifting (qbx_engine_shift.cpp)
  void ShiftObjects(TqbxComponent& container, const std::vector<double>& shift_amounts);

  std::unordered_map<const TqbxComponent*, TqbxBandLinks> FLinks;
  // The master band's own objects; the cell copies follow them.
  int FVMasterOwnObjects = 0;
  std::vector<TqbxVerticalCell> FVerticalCells;
  std::unordered_map<const TqbxComponent*, TqbxBand*> FOriginalBands;
  // Messages about layouts printed otherwise than designed; they do not stop the run.
  std::vector<String> FLayoutMessages;
  bool FEndingLastPage = false;
  // An endless page's height: its content and footers, settled when the page ends.
  double FEndlessBottom = 0;
  std::unordered_set<const TqbxReportPage*> FSubreportPages;
  std::unordered_set<const TqbxComponent*> FBrokenSubreports;
  // Containers holding subreports printed on them.
  std::unordered_set<const TqbxComponent*> FSubreportParents;
  // Set when a child band that fills the page no longer fits (child rows).
  bool FBreakShowBandTree = false;
  bool FInPageStart = false;
  // CurY right after the current page (or column) started: bands above it are page headers.
  double FPageBodyTop = 0;
};

// A copy of an evaluated object with its children, linked to the same template objects (so the
// prepared pages record it as the source), keeping its font and without script events.
std::unique_ptr<TqbxComponent> PrintedCopyOf(const TqbxComponent& source);

// Gives `report` a TqbxEngine, which PrepareReport then runs (directly, or from the script
// binding's Run hook through `Report.Engine`).
void InstallEngine(TqbxReport& report);

}  // namespace zavrik
