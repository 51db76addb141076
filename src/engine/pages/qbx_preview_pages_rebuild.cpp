// Rebuilding: page elements back into report pages (source copy + recorded differences), the
// page cache, and page sizes.
#include <cmath>
#include <optional>
#include <utility>

#include "core/error.h"
#include "core/float_text.h"
#include "core/number_parse.h"
#include "core/restore.h"
#include "engine/pages/qbx_page_elements.h"
#include "engine/pages/qbx_preview_pages.h"
#include "engine/pages/qbx_xml_props.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {
namespace {

constexpr StringView kFullFormPage = u"TqbxReportPage";
// Page-level attribute texts shorter than this hold no page properties.
constexpr size_t kPagePropsMinLength = 10;

int RoundToInt(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

std::unique_ptr<TqbxReportPage> TqbxPreviewPages::BuildPage(TqbxXMLItem& item) {
  auto page = std::make_unique<TqbxReportPage>();
  const PageElements elements(item);
  if (item.Name() == kFullFormPage) {
    // Object by object, as objects without a source copy: repeated bands share their names, and
    // reading by name would merge them into one.
    TqbxXMLSerializer serializer;
    serializer.XMLToObj(item.Text(), *page);
    RebuildObjects(elements, *page, page->AbsTop(), serializer);
    return page;
  }
  const std::optional<int32_t> index = item.Name().starts_with(u"page")
                                           ? ParseInt32(StringView(item.Name()).substr(4))
                                           : std::nullopt;
  if (!index || *index < 0 || *index >= static_cast<int>(FSourcePages.size())) {
    throw Error(u"Prepared page element " + item.Name() + u" has no source page");
  }
  const TqbxReportPage& source = *FSourcePages[static_cast<size_t>(*index)];
  page->Assign(source);
  page->SetName(source.Name());
  if (item.Text().size() > kPagePropsMinLength) {
    TqbxXMLSerializer serializer;
    serializer.XMLToObj(item.Text(), *page);
  }
  TqbxXMLSerializer serializer;
  RebuildObjects(elements, *page, page->AbsTop(), serializer);
  return page;
}

void TqbxPreviewPages::RebuildObjects(const PageElements& elements, TqbxComponent& parent, double parent_top,
                                      TqbxXMLSerializer& serializer) {
  // Depth first without recursion: objects may nest thousands of levels deep.
  struct Level {
    TqbxComponent* Parent;
    double Top;
    size_t Left;  // child elements still to read
  };
  std::vector<Level> levels{{&parent, parent_top, elements.Roots()}};
  parent.ReserveChildren(elements.Roots());
  const std::vector<PageElement>& list = elements.Elements();
  size_t next = 0;
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.Left == 0) {
      TqbxComponent* finished = level.Parent;
      levels.pop_back();
      if (!levels.empty()) finished->UpdateBounds();  // the caller's parent is not one of ours
      continue;
    }
    --level.Left;
    if (next >= list.size()) throw Error(u"The prepared page's objects are incomplete");
    const size_t at = next;
    const PageElement& element = list[next++];
    const TqbxComponent* source = Dictionary.GetObject(element.name);
    std::unique_ptr<TqbxComponent> object =
        source ? serializer.ReadDetachedComponent(CompiledSource(*source, serializer), element.text)
               : serializer.ReadDetachedComponentStr(String(element.name) + u" " + String(element.text));
    if (source) object->SetName(source->Name());
    if (auto* picture = ComponentAs<TqbxPictureView>(object.get()); picture && picture->Picture()->Empty())
      picture->LoadFromCache(GetPicture(picture->ImageIndex()));
    // Memo views take their preview highlight here, once highlights in previews exist.
    if (PostProcessor().LoadValue(*object, level.Top + object->Top())) {
      next = elements.AfterSubtree(at);
      continue;
    }
    TqbxComponent& placed = level.Parent->AddChild(std::move(object));
    placed.SerializedItem = element.item;
    placed.ReserveChildren(element.children);
    const double top = level.Top + placed.Top();
    levels.push_back({&placed, top, element.children});
  }
}

const TqbxCompiledComponent& TqbxPreviewPages::CompiledSource(const TqbxComponent& source,
                                                              TqbxXMLSerializer& serializer) {
  const auto found = FCompiledSources.find(&source);
  if (found != FCompiledSources.end()) return found->second;
  // Rebuilt objects take the source's name afterwards (RebuildObjects): the name is not compiled.
  const Restore<bool> ignore_name(serializer.IgnoreName, true);
  return FCompiledSources.emplace(&source, serializer.CompileComponentStr(source.BaseName())).first->second;
}

void TqbxPreviewPages::PutInCache(const String& key, std::unique_ptr<TqbxReportPage> page) {
  for (auto it = FPageCache.begin(); it != FPageCache.end(); ++it) {
    if (it->Key == key && it->Page.get() != FLockedPage) {
      FPageCache.erase(it);
      break;
    }
  }
  auto at = FPageCache.begin();
  if (FLockedPage && at != FPageCache.end()) ++at;
  FPageCache.insert(at, CachedPage{key, std::move(page)});
}

void TqbxPreviewPages::TrimCache() {
  const int limit = Report.PreviewOptions()->PagesInCache;
  if (FPageCache.size() <= 1 || static_cast<int>(FPageCache.size()) <= limit) return;
  const String key = FPageCache.back().Key;
  if (FPageCache.back().Page.get() == FLockedPage) return;
  FPageCache.pop_back();
  UnloadUncachedPage(key);
}

void TqbxPreviewPages::UnloadUncachedPage(const String& key) {
  const std::optional<int32_t> index = ParseInt32(key);
  if (!index || *index >= Count()) return;
  TqbxXMLItem& item = PagesItem().Items(*index);
  if (item.Unloadable && (UseFileCache() || XMLDoc.SwapInMemory)) XMLDoc.UnloadItem(item);
}

TqbxReportPage* TqbxPreviewPages::GetPage(int index) {
  if (Count() == 0) return nullptr;
  TqbxXMLItem& item = PageItem(index);
  const String key = IntToStr(index);
  if (!(Engine && Engine->Running)) {
    for (auto it = FPageCache.begin(); it != FPageCache.end(); ++it) {
      if (it->Key != key) continue;
      TqbxReportPage* page = it->Page.get();
      if (page != FLockedPage) {
        auto at = FPageCache.begin();
        if (FLockedPage) ++at;
        FPageCache.splice(at, FPageCache, it);
      }
      return page;
    }
  }
  // A packed page is read from its bytes and stays packed; one in the swap file comes back.
  if (!item.Loaded && !item.Packed()) XMLDoc.LoadItem(item, true);
  std::unique_ptr<TqbxReportPage> built = BuildPage(item);
  TqbxReportPage* page = built.get();
  page->AlignChildren(false, page->MirrorMode());
  PutInCache(key, std::move(built));
  PostProcessor().ResetSuppressed();
  TrimCache();
  return page;
}

// The page element keeps its identity (the engine and the swap file refer to it); its content
// becomes the page's full form.
void TqbxPreviewPages::ModifyPage(int index, const TqbxReportPage& page) {
  if (index < 0 || index >= Count()) throw Error(u"Page index out of range");
  if (Engine && Engine->Running && index == Count() - 1)
    throw Error(u"The page being prepared cannot be modified");
  TqbxXMLItem full;
  TqbxXMLSerializer serializer;
  serializer.WriteRootComponent(page, true, full);
  TqbxXMLItem& item = LoadedPageItem(index);
  item.Clear();
  item.SetName(String(kFullFormPage));
  item.SetText(full.Text());
  while (full.Count() > 0) item.AddItem(full.Items(0).Release());
  item.Loaded = true;  // the new objects are the page's; none are to be read back
  const String key = IntToStr(index);
  for (auto it = FPageCache.begin(); it != FPageCache.end(); ++it) {
    if (it->Key == key && it->Page.get() != &page && it->Page.get() != FLockedPage) {
      FPageCache.erase(it);
      break;
    }
  }
}

void TqbxPreviewPages::ModifyObject(TqbxComponent& object) {
  const TqbxComponent* page = object.Page();
  for (const CachedPage& cached : FPageCache) {
    if (cached.Page.get() != page) continue;
    const std::optional<int32_t> index = ParseInt32(cached.Key);
    if (index) return ModifyPage(*index, *cached.Page);
  }
  throw Error(u"The object is not on a prepared page");
}

TqbxPageSize TqbxPreviewPages::GetPageSize(int index) {
  if (index < 0 || index >= Count()) return {};
  TqbxXMLItem& item = PagesItem().Items(index);
  const TqbxReportPage* page = nullptr;
  if (item.Name() == kFullFormPage) {
    page = GetPage(index);
  } else {
    const std::optional<int32_t> source = ParseInt32(StringView(item.Name()).substr(4));
    if (source && *source >= 0 && *source < static_cast<int>(FSourcePages.size())) {
      page = FSourcePages[static_cast<size_t>(*source)].get();
    }
  }
  TqbxPageSize size;
  if (page) size = {RoundToInt(page->Width()), RoundToInt(page->Height())};
  if (item.Text().size() > kPagePropsMinLength) {
    if (item.PropExists(u"PaperWidth"))
      size.X = RoundToInt(FloatProp(item, u"PaperWidth") * kPixelsPerMm);
    if (item.PropExists(u"PaperHeight"))
      size.Y = RoundToInt(FloatProp(item, u"PaperHeight") * kPixelsPerMm);
  }
  return size;
}

void TqbxPreviewPages::LockPage() {
  FLockedPage = FPageCache.empty() ? nullptr : FPageCache.front().Page.get();
}

void TqbxPreviewPages::UnlockPage() { FLockedPage = nullptr; }

void TqbxPreviewPages::ClearCache() {
  for (auto it = FPageCache.begin(); it != FPageCache.end();) {
    if (it->Page.get() == FLockedPage) {
      ++it;
      continue;
    }
    const String key = it->Key;
    it = FPageCache.erase(it);
    if (!UseFileCache()) UnloadUncachedPage(key);
  }
}

}  // namespace zavrik
