// Packed element trees: every item comes back identical (name, attribute text, value, flags,
// children), whatever its characters or its depth; the document writes packed items as loaded ones.
#include <gtest/gtest.h>

#include "core/float_text.h"
#include "report/document/qbx_item_pack.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {
namespace {

// Everything packing keeps, escaped so that any code unit shows.
std::string Dump(const TqbxXMLItem& item) {
  std::string text;
  const auto units = [&](const String& s) {
    for (char16_t c : s) text += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "\\" + std::to_string(c);
    text += '|';
  };
  units(item.Name());
  units(item.Text());
  units(item.Value());
  text += std::to_string(item.Unloadable) + std::to_string(item.Modified) + "(";
  for (int i = 0; i < item.Count(); ++i) text += Dump(item.Items(i));
  return text + ")";
}

// A page element with objects whose texts hold what XML text would not keep as it is.
std::unique_ptr<TqbxXMLItem> SamplePage() {
  auto page = std::make_unique<TqbxXMLItem>(u"page0");
  page->Unloadable = true;
  page->SetText(u"c=\"1\"");
  TqbxXMLItem& band = page->Add(u"b1");
  band.SetText(u" leading space, trailing /");
  TqbxXMLItem& memo = band.Add(u"m1");
  memo.SetText(u"u=\"Строка &#34;1&#34;\" x=\"<raw> & \U0001F600\"");
  memo.SetValue(u"value\r\n\t");
  memo.Modified = true;
  TqbxXMLItem& odd = band.Add(u"Имя\u0100");
  odd.SetText(String(u"lone \xD800 high, lone \xDC00 low, nul ") + u'\0' + u" end");
  odd.Unloadable = true;
  band.Add(u"");  // no name, no text
  page->Add(u"b2").Add(u"TqbxMemoView").SetText(String(300, u'ж'));
  return page;
}

TEST(ItemPack, UnpackingGivesTheIdenticalItems) {
  const auto page = SamplePage();
  const std::string before = Dump(*page);
  const std::string packed = PackItems(*page);
  EXPECT_EQ(packed.size(), packed.capacity());
  TqbxXMLItem copy(u"page0");
  copy.Unloadable = true;
  copy.SetText(u"c=\"1\"");
  UnpackItems(packed, copy);
  EXPECT_EQ(Dump(copy), before);
  // UTF-8: a Latin letter takes one byte, half of its UTF-16 code unit.
  TqbxXMLItem latin;
  latin.Add(u"m1").SetText(String(1000, u'a'));
  EXPECT_LT(PackItems(latin).size(), 1010u);
}

TEST(ItemPack, PackAndUnpackKeepTheElementItselfAndItsChildren) {
  const auto page = SamplePage();
  const std::string before = Dump(*page);
  page->Pack();
  EXPECT_TRUE(page->Packed());
  EXPECT_FALSE(page->Loaded);
  EXPECT_EQ(page->Count(), 0);
  EXPECT_EQ(page->Text(), u"c=\"1\"");
  page->Unpack();
  EXPECT_FALSE(page->Packed());
  EXPECT_TRUE(page->Loaded);
  EXPECT_EQ(Dump(*page), before);

  // A copy holds the packed children as loaded ones.
  page->Pack();
  EXPECT_EQ(Dump(*page->Clone()), "page0|c=\"1\"||00(" + before.substr(before.find('(') + 1));
  page->Unpack();
  // Clearing drops the packed children with the loaded ones.
  page->Pack();
  page->Clear();
  EXPECT_FALSE(page->Packed());
  // An element that may not be unloaded stays as it is.
  TqbxXMLItem fixed(u"page1");
  fixed.Add(u"b1");
  fixed.Pack();
  EXPECT_FALSE(fixed.Packed());
  EXPECT_EQ(fixed.Count(), 1);
}

TEST(ItemPack, UnpackedToReadThePackedFormIsKeptUntilTheChildrenChange) {
  const auto page = SamplePage();
  const std::string before = Dump(*page);
  page->Pack();
  page->Unpack(true);
  EXPECT_TRUE(page->Loaded);
  EXPECT_FALSE(page->Packed());
  page->Pack();  // the kept form again
  page->Unpack(true);
  EXPECT_EQ(Dump(*page), before);
  // Changed after ForgetPackedCopy: packing writes the new children.
  page->ForgetPackedCopy();
  page->Items(0).Add(u"m9").SetText(u"added");
  page->Pack();
  page->Unpack();
  ASSERT_EQ(page->Items(0).Count(), 4);
  EXPECT_EQ(page->Items(0).Items(3).Text(), u"added");
  // Clearing drops the kept form too.
  page->Pack();
  page->Unpack(true);
  page->Clear();
  page->Loaded = true;
  page->Add(u"b7");
  page->Pack();
  page->Unpack();
  ASSERT_EQ(page->Count(), 1);
  EXPECT_EQ(page->Items(0).Name(), u"b7");
}

// Elements read from the bytes: the names and texts of the items in preorder, with child counts.
TEST(ItemPack, PackedElementsListTheItemsInPreorderWithoutBuildingThem) {
  const auto page = SamplePage();
  const std::string packed = PackItems(*page);
  const PackedElements elements(packed);
  EXPECT_EQ(elements.Roots(), 2u);
  std::vector<const TqbxXMLItem*> expected;
  std::vector<const TqbxXMLItem*> pending{page.get()};
  while (!pending.empty()) {
    const TqbxXMLItem* item = pending.back();
    pending.pop_back();
    if (item != page.get()) expected.push_back(item);
    for (int i = item->Count() - 1; i >= 0; --i) pending.push_back(&item->Items(i));
  }
  ASSERT_EQ(elements.Elements().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const PackedElement& element = elements.Elements()[i];
    EXPECT_EQ(String(element.name), expected[i]->Name()) << i;
    EXPECT_EQ(String(element.text), expected[i]->Text()) << i;
    EXPECT_EQ(element.children, static_cast<size_t>(expected[i]->Count())) << i;
  }
  for (const size_t cut : {size_t{1}, packed.size() / 2, packed.size() - 1})
    EXPECT_THROW(PackedElements(std::string_view(packed).substr(0, cut)), Error) << cut;
  EXPECT_THROW(PackedElements(packed + "x"), Error);
}

TEST(ItemPack, NestingThousandsDeepPacksWithoutRecursion) {
  TqbxXMLItem root(u"page0");
  root.Unloadable = true;
  TqbxXMLItem* item = &root;
  for (int i = 0; i < 100000; ++i) item = &item->Add(u"b" + IntToStr(i % 7));
  root.Pack();
  root.Unpack();
  int depth = 0;
  for (item = &root; item->Count() > 0; item = &item->Items(0)) ++depth;
  EXPECT_EQ(depth, 100000);
  EXPECT_EQ(item->Name(), u"b" + IntToStr(99999 % 7));
}

TEST(ItemPack, DamagedBytesAreAnErrorNotACrash) {
  const auto page = SamplePage();
  const std::string packed = PackItems(*page);
  for (const size_t cut : {size_t{1}, size_t{5}, packed.size() / 2, packed.size() - 1}) {
    TqbxXMLItem copy;
    EXPECT_THROW(UnpackItems(std::string_view(packed).substr(0, cut), copy), Error) << cut;
  }
  TqbxXMLItem copy;
  EXPECT_THROW(UnpackItems(packed + "x", copy), Error);
  // A name of two bytes, both continuation bytes: more characters than its bytes allow.
  TqbxXMLItem stray;
  EXPECT_THROW(UnpackItems(std::string("\x01\x02\x80\x80\x00\x00\x00\x00", 8), stray), Error);
}

TEST(ItemPack, TheDocumentUnloadsIntoMemoryAndWritesPackedPagesInFull) {
  TqbxXMLDocument loaded, packed;
  for (TqbxXMLDocument* document : {&loaded, &packed}) {
    document->Root().SetName(u"preparedreport");
    TqbxXMLItem& pages = document->Root().Add(u"previewpages");
    for (int i = 0; i < 3; ++i) {
      TqbxXMLItem& page = pages.Add(u"page0");
      page.Unloadable = i > 0;
      page.Add(u"b1").SetText(u"t=\"" + IntToStr(i * 20) + u"\"");
    }
  }
  packed.SwapInMemory = true;
  TqbxXMLItem& page = packed.Root().Items(0).Items(2);
  packed.UnloadItem(page);
  EXPECT_TRUE(page.Packed());
  EXPECT_EQ(packed.SaveToString(), loaded.SaveToString());
  EXPECT_TRUE(page.Packed());  // packed again after writing
  packed.LoadItem(page);
  EXPECT_TRUE(page.Loaded);
  EXPECT_EQ(page.Items(0).Text(), u"t=\"40\"");
}

}  // namespace
}  // namespace zavrik
