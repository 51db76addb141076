// TqbxPreviewPages: the prepared pages. Each report page of a run is copied once into a source
// page whose objects get short aliases; every printed object is recorded as one element of the
// prepared document that names its alias and carries only its differences from the source copy.
// Pages are rebuilt into objects on request and kept in a small most-recently-used cache.
#pragma once

#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/pages/qbx_dictionary.h"
#include "engine/pages/qbx_outline.h"
#include "engine/pages/qbx_picture_cache.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {

class PageElements;

class TqbxXMLSerializer;

class TqbxPreviewPages : public TqbxCustomPreviewPages {
 public:
  explicit TqbxPreviewPages(TqbxReport& report);
  ~TqbxPreviewPages() override;

  TqbxCustomOutline& Outline() override { return FOutline; }

  // --- recording (qbx_preview_pages.cpp)
  int Count() override;
  void Clear() override;
  void Initialize() override;
  void Finish() override;
  void AddSourcePage(TqbxReportPage& page) override;
  void AddToSourcePage(TqbxComponent& object) override;
  void AddPage(TqbxReportPage& page) override;
  void AddObject(TqbxComponent& object) override;

  // --- rebuilding (qbx_preview_pages_rebuild.cpp)
  TqbxReportPage* GetPage(int index) override;
  void ModifyPage(int index, const TqbxReportPage& page) override;
  void ModifyObject(TqbxComponent& object) override;
  TqbxPageSize GetPageSize(int index) override;
  void LockPage() override;
  void UnlockPage() override;
  void ClearCache() override;
  int CachedPageCount() const { return static_cast<int>(FPageCache.size()); }

  // --- bookkeeping (qbx_preview_pages_marks.cpp)
  int GetCurPosition() override;
  void CutObjects(int position) override;
  void PasteObjects(double x, double y) override;
  void DeleteObjects(int position) override;
  double GetLastY(double column_position = 0) override;
  bool BandExists(const TqbxBand& band) override;
  void UpdatePageDimension(int index, double width, double height,
                           TqbxPrinterOrientation orientation) override;
  void UpdatePageDimensions(TqbxReportPage& page, double width, double height) override;
  void UpdatePageLastColumn(int column, double column_pos, bool reset) override;
  void GetLastColumnPos(int& column, double& column_pos) override;
  void BeginPass() override;
  void ClearFirstPassPages() override;

  // --- anchors and logical page numbers (qbx_preview_pages_anchors.cpp)
  void AddAnchor(const String& text) override;
  // The last anchor called `text` (case-insensitive), or none.
  TqbxXMLItem* FindAnchor(const String& text);
  int GetAnchorPage(const String& text) override;
  std::optional<TqbxAnchorPosition> AnchorPosition(const String& text) override;
  int GetAnchorCurPosition() override;
  void DeleteAnchors(int from) override;
  void ShiftAnchors(int from, int new_top) override;
  void IncLogicalPageNumber() override;
  void ResetLogicalPageNumber() override;
  int GetLogicalPageNo() override;
  int GetLogicalTotalPages() override;

  // --- export (qbx_export_walk.cpp)
  bool Export(TqbxCustomExportFilter& filter) override;

  // --- pictures: the view's bytes in, its image index out (0 for none), and back
  int AddPicture(const std::vector<uint8_t>& bytes) override { return PictureCache.AddPicture(bytes); }
  std::vector<uint8_t> GetPicture(int image_index) const override {
    return PictureCache.GetPicture(image_index);
  }

  TqbxDictionary Dictionary;
  TqbxPictureCache PictureCache;
  TqbxXMLDocument XMLDoc;
  int FirstObjectIndex = 0, FirstPageIndex = -1, FirstOutlineIndex = 0;
  int LogicalPageN = 0;
  int64_t XMLSize = 0;
  const std::vector<std::unique_ptr<TqbxReportPage>>& SourcePages() const { return FSourcePages; }
  // The "previewpages" element and its page elements.
  TqbxXMLItem& PagesItem();
  TqbxXMLItem& PageItem(int index);
  TqbxReportPage* LockedPage() const { return FLockedPage; }

 private:
  struct CachedPage {
    String Key;
    std::unique_ptr<TqbxReportPage> Page;
  };

  TqbxXMLItem& RootChild(StringView name) { return XMLDoc.Root().FindItem(name); }
  TqbxXMLItem& CurrentPageItem();
  // The page element with its objects, reloaded when it was unloaded.
  TqbxXMLItem& LoadedPageItem(int index);
  // Unloads the page that left the cache: to the swap file with the file cache, packed without.
  void UnloadUncachedPage(const String& key);
  bool IsFirstOfTwoPasses() const;
  bool IsFinalOfTwoPasses() const;
  bool UseFileCache() const;
  void ApplyMemoryLimit();
  void RecordObject(TqbxComponent& object, TqbxXMLItem& parent, bool full_form);
  void RegisterSourceObject(TqbxComponent& original, TqbxComponent& copy, int page_index,
                            bool class_name_only);
  int SourcePageIndex(const TqbxComponent& page) const;
  std::unique_ptr<TqbxReportPage> BuildPage(TqbxXMLItem& item);
  // Rebuilds the objects of the page's elements under `parent`; references stay unresolved.
  // `parent_top` is the parent's AbsTop, carried down because every added object makes the cached
  // positions stale.
  void RebuildObjects(const PageElements& elements, TqbxComponent& parent, double parent_top,
                      TqbxXMLSerializer& serializer);
  // The source object's base text without its name (set from the source), compiled on first use.
  const TqbxCompiledComponent& CompiledSource(const TqbxComponent& source, TqbxXMLSerializer& serializer);
  void PutInCache(const String& key, std::unique_ptr<TqbxReportPage> page);
  void TrimCache();

  TqbxOutline FOutline;
  std::vector<std::unique_ptr<TqbxReportPage>> FSourcePages;
  std::unordered_map<const TqbxComponent*, TqbxCompiledComponent> FCompiledSources;
  std::list<CachedPage> FPageCache;
  TqbxReportPage* FLockedPage = nullptr;
  TqbxXMLItem* FPagesItem = nullptr;
};

// Makes every report created from now on own a TqbxPreviewPages.
void RegisterEnginePreviewPages();

}  // namespace zavrik
