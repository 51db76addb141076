// TqbxCustomPreviewPages: the store of prepared pages between the engine and the export, as the
// report layer sees it. The implementation lives in the engine library, which installs it through
// RegisterPreviewPagesFactory; every report created afterwards owns one.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/rtti.h"
#include "core/ustring.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_post_processor.h"

namespace zavrik {

class TqbxBand;
class TqbxCustomExportFilter;
class TqbxReport;
class TqbxXMLItem;

enum TqbxAddPageAction : int32_t { apWriteOver, apAdd };

struct TqbxPageSize {
  int X = 0, Y = 0;
};

// Where a named anchor lies: a 0-based prepared page and the top in report pixels.
struct TqbxAnchorPosition {
  int Page = 0;
  int Top = 0;
};

// The document outline: nested items (text, page, top) below a current item. Scripts see it as
// `Outline` (AddItem, LevelRoot, LevelUp).
class TqbxCustomOutline : public Object {
 public:
  ~TqbxCustomOutline() override = default;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Children of the current item.
  virtual int Count() const = 0;
  // Appends an item under the current one and makes it current.
  virtual void AddItem(const String& text, int top) = 0;
  // Destroys the siblings after `from`.
  virtual void DeleteItems(TqbxXMLItem* from) = 0;
  virtual void LevelDown(int index) = 0;
  virtual void LevelRoot() = 0;
  virtual void LevelUp() = 0;
  virtual void GetItem(int index, String& text, int& page, int& top) const = 0;
  // Moves the sibling after `from` and its descendants to the next page, `new_top` being its top.
  virtual void ShiftItems(TqbxXMLItem* from, int new_top) = 0;
  // The current item's last child, or none.
  virtual TqbxXMLItem* GetCurPosition() const = 0;
};

// Scripts see it as `PreviewPages` (Count, CurPage, Page[Index]).
class TqbxCustomPreviewPages : public Object {
 public:
  explicit TqbxCustomPreviewPages(TqbxReport& report) : Report(report) {}
  ~TqbxCustomPreviewPages() override = default;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxCustomPreviewPages(const TqbxCustomPreviewPages&) = delete;
  TqbxCustomPreviewPages& operator=(const TqbxCustomPreviewPages&) = delete;

  TqbxAddPageAction AddPageAction = apAdd;
  int CurPage = -1;
  int CurPreviewPage = 0;
  int FirstPage = 0;
  TqbxReport& Report;
  TqbxCustomEngine* Engine = nullptr;
  int PrintCopyNo = 0;
  double PrintScale = 1;

  virtual TqbxCustomOutline& Outline() = 0;
  TqbxPostProcessor& PostProcessor() { return *FPostProcessor; }
  void SetPostProcessor(std::unique_ptr<TqbxPostProcessor> value) {
    FPostProcessor = std::move(value);
  }

  // --- pages
  virtual int Count() = 0;
  // The page rebuilt into objects, owned by the store; none when there are no pages.
  virtual TqbxReportPage* GetPage(int index) = 0;
  // Stores the page as it now is (its objects included) in place of prepared page `index`.
  virtual void ModifyPage(int index, const TqbxReportPage& page) = 0;
  // Stores the prepared page an object of a page from GetPage belongs to, with its changes.
  virtual void ModifyObject(TqbxComponent& object) = 0;
  // Page size in report units; (0, 0) outside the list.
  virtual TqbxPageSize GetPageSize(int index) = 0;
  virtual void Clear() = 0;
  virtual void Initialize() = 0;
  virtual void Finish() = 0;
  virtual void AddSourcePage(TqbxReportPage& page) = 0;
  virtual void AddToSourcePage(TqbxComponent& object) = 0;
  virtual void AddPage(TqbxReportPage& page) = 0;
  virtual void AddObject(TqbxComponent& object) = 0;
  virtual void BeginPass() = 0;
  virtual void ClearFirstPassPages() = 0;

  // --- bookkeeping of the current page
  virtual int GetCurPosition() = 0;
  virtual void CutObjects(int position) = 0;
  virtual void PasteObjects(double x, double y) = 0;
  virtual void DeleteObjects(int position) = 0;
  virtual double GetLastY(double column_position = 0) = 0;
  virtual bool BandExists(const TqbxBand& band) = 0;
  // Page element `index` gets a custom paper of `width` × `height` report units.
  virtual void UpdatePageDimension(int index, double width, double height,
                                   TqbxPrinterOrientation orientation) = 0;
  // The source page of `page` gets a custom paper of `width` × `height` report units.
  virtual void UpdatePageDimensions(TqbxReportPage& page, double width, double height) = 0;
  virtual void UpdatePageLastColumn(int column, double column_pos, bool reset) = 0;
  virtual void GetLastColumnPos(int& column, double& column_pos) = 0;

  // --- anchors and logical page numbers
  virtual void AddAnchor(const String& text) = 0;
  virtual int GetAnchorPage(const String& text) = 0;
  // The anchor GetAnchorPage finds, or none when no anchor has that name.
  virtual std::optional<TqbxAnchorPosition> AnchorPosition(const String& text) = 0;
  virtual int GetAnchorCurPosition() = 0;
  virtual void DeleteAnchors(int from) = 0;
  virtual void ShiftAnchors(int from, int new_top) = 0;
  virtual void IncLogicalPageNumber() = 0;
  virtual void ResetLogicalPageNumber() = 0;
  virtual int GetLogicalPageNo() = 0;
  virtual int GetLogicalTotalPages() = 0;

  // --- pictures of printed picture views: the bytes in, the image index out (1-based; 0 for
  // none), and back (empty for an index outside the store)
  virtual int AddPicture(const std::vector<uint8_t>& bytes) = 0;
  virtual std::vector<uint8_t> GetPicture(int image_index) const = 0;

  // --- page cache and export
  virtual void LockPage() = 0;
  virtual void UnlockPage() = 0;
  virtual void ClearCache() = 0;
  // Drives the filter over the selected pages; false when the export failed or did not start.
  virtual bool Export(TqbxCustomExportFilter& filter) = 0;

 private:
  std::unique_ptr<TqbxPostProcessor> FPostProcessor = std::make_unique<TqbxPostProcessor>();
};

using TqbxPreviewPagesFactory = std::function<std::unique_ptr<TqbxCustomPreviewPages>(TqbxReport&)>;
// Reports created afterwards get their prepared pages from `factory`.
void RegisterPreviewPagesFactory(TqbxPreviewPagesFactory factory);
std::unique_ptr<TqbxCustomPreviewPages> CreatePreviewPages(TqbxReport& report);

}  // namespace zavrik
