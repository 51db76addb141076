// Recording: the lifecycle of the store, source pages and their aliases, page elements and the
// elements of printed objects, and the memory limit.
#include "engine/pages/qbx_preview_pages.h"

#include <algorithm>

#include "core/error.h"
#include "core/float_text.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {
namespace {

constexpr int64_t kBytesPerMegabyte = 1048576;
constexpr int64_t kElementOverhead = 16;

// A new object of `original`'s class with its stored properties and name, without parent.
std::unique_ptr<TqbxComponent> CopyOf(const TqbxComponent& original) {
  std::unique_ptr<Object> created = original.ClassType().Create();
  auto* copy = dynamic_cast<TqbxComponent*>(created.get());
  if (!copy) throw Error(u"Cannot copy the object " + original.Name());
  created.release();
  std::unique_ptr<TqbxComponent> result(copy);
  result->Assign(original);
  result->SetName(original.Name());
  return result;
}

// Removes one leading space: element texts start with their first attribute.
String ElementText(String text) {
  if (!text.empty() && text.front() == u' ') text.erase(0, 1);
  return text;
}

}  // namespace

TqbxPreviewPages::TqbxPreviewPages(TqbxReport& report)
    : TqbxCustomPreviewPages(report),
      FOutline([this]() -> TqbxXMLItem& { return RootChild(u"outline"); },
               [this]() { return CurPage; }) {
  XMLDoc.Root().SetName(u"preparedreport");
}

TqbxPreviewPages::~TqbxPreviewPages() { FPageCache.clear(); }

TqbxXMLItem& TqbxPreviewPages::PagesItem() {
  if (!FPagesItem) FPagesItem = &RootChild(u"previewpages");
  return *FPagesItem;
}

TqbxXMLItem& TqbxPreviewPages::PageItem(int index) {
  TqbxXMLItem& pages = PagesItem();
  if (index < 0 || index >= pages.Count())
    throw Error(u"Prepared page " + IntToStr(index) + u" does not exist");
  return pages.Items(index);
}

TqbxXMLItem& TqbxPreviewPages::LoadedPageItem(int index) {
  TqbxXMLItem& item = PageItem(index);
  if (!item.Loaded) XMLDoc.LoadItem(item);
  item.ForgetPackedCopy();  // the caller changes the objects
  return item;
}

// The engine goes back to earlier pages (columns, side-by-side subreports, scripts); their objects
// come back before it records more.
TqbxXMLItem& TqbxPreviewPages::CurrentPageItem() { return LoadedPageItem(CurPage); }

int TqbxPreviewPages::Count() { return PagesItem().Count(); }

bool TqbxPreviewPages::IsFirstOfTwoPasses() const {
  return Report.EngineOptions()->DoublePass && !(Engine && Engine->FinalPass);
}

bool TqbxPreviewPages::IsFinalOfTwoPasses() const {
  return Report.EngineOptions()->DoublePass && Engine && Engine->FinalPass;
}

bool TqbxPreviewPages::UseFileCache() const { return Report.EngineOptions()->UseFileCache; }

void TqbxPreviewPages::Clear() {
  FLockedPage = nullptr;
  FPageCache.clear();
  FSourcePages.clear();
  FCompiledSources.clear();
  FOutline.Reset();
  FPagesItem = nullptr;
  XMLDoc.Clear();
  XMLDoc.Root().SetName(u"preparedreport");
  Dictionary.Clear();
  PostProcessor().Clear();
  PictureCache.Clear();
  CurPage = -1;
  XMLSize = 0;
  LogicalPageN = 0;
  FirstPageIndex = -1;
  FirstObjectIndex = FirstOutlineIndex = 0;
  FirstPage = 0;
}

void TqbxPreviewPages::Initialize() {
  PictureCache.SetUseFileCache(Report.PreviewOptions()->PictureCacheInFile);
  PictureCache.SetTempDir(Report.EngineOptions()->TempDir);
  XMLDoc.TempDir = Report.EngineOptions()->TempDir;
  // No progress window exists in this program.
}

void TqbxPreviewPages::Finish() {
  FLockedPage = nullptr;
  FPageCache.clear();
  // The template objects do not outlive the run; no copy keeps a link to them.
  for (const auto& page : FSourcePages) {
    page->OriginalComponent = nullptr;
    for (TqbxComponent* object : page->AllObjects()) object->OriginalComponent = nullptr;
  }
}

// --- source pages

// The latest copy of `page`: a page used twice in a run has one copy per use.
int TqbxPreviewPages::SourcePageIndex(const TqbxComponent& page) const {
  for (size_t i = FSourcePages.size(); i-- > 0;) {
    if (FSourcePages[i]->OriginalComponent == &page || FSourcePages[i].get() == &page)
      return static_cast<int>(i);
  }
  return -1;
}

void TqbxPreviewPages::RegisterSourceObject(TqbxComponent& original, TqbxComponent& copy,
                                            int page_index, bool class_name_only) {
  original.OriginalComponent = &copy;
  copy.OriginalComponent = &original;
  const String base = copy.IsBand() ? String(u"b") : AsciiLower(copy.BaseName().substr(0, 1));
  const String alias =
      Dictionary.AddUnique(base, u"Page" + IntToStr(page_index) + u"." + copy.Name(), &copy);
  if (auto* memo = ComponentAs<TqbxCustomMemoView>(&copy)) {
    memo->SetDataSet(nullptr);
    memo->SetDataField(String());
  }
  // Printed pictures come from the picture cache.
  if (auto* picture = ComponentAs<TqbxPictureView>(&copy)) {
    picture->Picture()->Clear();
    picture->SetPictureStored(false);
  }
  TqbxXMLSerializer serializer;
  copy.SetBaseName(class_name_only ? String(copy.ClassType().Name())
                                   : serializer.WriteComponentStr(copy));
  copy.SetAliasName(alias);
  original.SetAliasName(alias);
}

void TqbxPreviewPages::AddSourcePage(TqbxReportPage& page) {
  std::unique_ptr<TqbxComponent> copied = CopyOf(page);
  auto* page_copy = dynamic_cast<TqbxReportPage*>(copied.get());
  if (!page_copy) throw Error(u"Cannot copy the page " + page.Name());
  copied.release();
  FSourcePages.emplace_back(page_copy);
  page_copy->OriginalComponent = &page;
  const int page_index = static_cast<int>(FSourcePages.size()) - 1;

  // Template objects and their copies in visiting order; none for objects without csPreviewVisible.
  struct Visit {
    TqbxComponent* Original;
    TqbxComponent* Copy;
  };
  std::vector<Visit> visits;
  std::vector<Visit> pending{{&page, page_copy}};
  while (!pending.empty()) {
    const Visit next = pending.back();
    pending.pop_back();
    visits.push_back(next);
    if (!next.Copy) continue;
    const size_t first = pending.size();
    for (const auto& child : next.Original->Objects()) {
      TqbxComponent* copy = nullptr;
      if (child->ComponentStyle() & csPreviewVisible) copy = &next.Copy->AddChild(CopyOf(*child));
      pending.push_back({child.get(), copy});
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
  }
  for (size_t i = 1; i < visits.size(); ++i) {
    if (visits[i].Copy) {
      RegisterSourceObject(*visits[i].Original, *visits[i].Copy, page_index, false);
    } else {
      visits[i].Original->AddSourceObjects();
    }
  }
}

void TqbxPreviewPages::AddToSourcePage(TqbxComponent& object) {
  if (FSourcePages.empty()) throw Error(u"No source page to add " + object.Name() + u" to");
  TqbxReportPage& page = *FSourcePages.back();
  std::unique_ptr<Object> created = object.ClassType().Create();
  auto* copy = dynamic_cast<TqbxComponent*>(created.get());
  if (!copy) throw Error(u"Cannot copy the object " + object.Name());
  created.release();
  TqbxComponent& added = page.AddChild(std::unique_ptr<TqbxComponent>(copy));
  added.Assign(object);
  added.CreateUniqueName();
  RegisterSourceObject(object, added, static_cast<int>(FSourcePages.size()) - 1,
                       (added.ComponentStyle() & csDefaultDiff) != 0);
}

// --- pages and objects

// Without the file cache every finished page is packed in memory; with it, pages go to the swap
// file once the recorded size exceeds the limit.
void TqbxPreviewPages::ApplyMemoryLimit() {
  XMLDoc.SwapInMemory = !UseFileCache();
  if (!XMLDoc.SwapInMemory &&
      XMLSize <= int64_t{Report.EngineOptions()->MaxMemSize} * kBytesPerMegabyte)
    return;
  TqbxXMLItem& pages = PagesItem();
  for (int i = pages.Count() - 2; i >= 0; --i) {
    TqbxXMLItem& item = pages.Items(i);
    if (!item.Loaded) break;
    XMLDoc.UnloadItem(item);
  }
  XMLSize = 0;
}

void TqbxPreviewPages::AddPage(TqbxReportPage& page) {
  ApplyMemoryLimit();
  ++CurPage;
  if (CurPage < Count() && AddPageAction == apWriteOver) return;
  TqbxXMLItem& item = PagesItem().Add(u"page" + IntToStr(SourcePageIndex(page)));
  if (Count() > 2) item.Unloadable = true;
  AddPageAction = apWriteOver;
  CurPage = Count() - 1;
  IncLogicalPageNumber();
}

void TqbxPreviewPages::RecordObject(TqbxComponent& root, TqbxXMLItem& root_parent, bool full_form) {
  // Depth first without recursion: templates may nest objects thousands of levels deep.
  std::vector<std::pair<TqbxComponent*, TqbxXMLItem*>> pending{{&root, &root_parent}};
  while (!pending.empty()) {
    TqbxComponent& object = *pending.back().first;
    TqbxXMLItem& parent = *pending.back().second;
    pending.pop_back();
    if (!object.Visible() || !(object.ComponentStyle() & csPreviewVisible)) continue;
    if (auto* view = ComponentAs<TqbxView>(&object); view && view->IsPostProcessAllowed()) {
      PostProcessor().SaveContent(*view);
    }
    TqbxXMLItem& item = parent.Add();
    const TqbxComponent* source = object.OriginalComponent;
    if (!source || full_form) {
      item.SetName(object.ClassType().Name());
      item.SetText(ElementText(object.AllDiff(nullptr)));
    } else {
      item.SetName(object.AliasName());
      if (IsFirstOfTwoPasses()) {
        item.SetText(ElementText(object.TqbxComponent::Diff(source)));
      } else if (object.ComponentStyle() & csDefaultDiff) {
        item.SetText(ElementText(object.AllDiff(source)));
      } else {
        item.SetText(ElementText(object.Diff(source)));
      }
    }
    XMLSize += static_cast<int64_t>(item.Name().size() + item.Text().size() + sizeof(TqbxXMLItem)) +
               kElementOverhead;
    const auto& children = object.Objects();
    for (auto child = children.rbegin(); child != children.rend(); ++child)
      pending.emplace_back(child->get(), &item);
  }
}

void TqbxPreviewPages::AddObject(TqbxComponent& object) {
  TqbxXMLItem& page = CurrentPageItem();
  RecordObject(object, page, page.Name() == u"TqbxReportPage");
}

void RegisterEnginePreviewPages() {
  RegisterPreviewPagesFactory(
      [](TqbxReport& report) { return std::make_unique<TqbxPreviewPages>(report); });
}

}  // namespace zavrik
