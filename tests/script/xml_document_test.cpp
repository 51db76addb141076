// The grammar / syntax-tree XML document: loading, writing, items and attributes.
#include <gtest/gtest.h>

#include "core/xml_text.h"
#include "script/qs_xml.h"

namespace zavrik {
namespace {

TEST(TqsXMLDocument, LoadsAndWritesIndented) {
  TqsXMLDocument document;
  document.LoadFromString(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<program>"
      "<string text=\"'&#1057;&#10;&quot;'\" pos=\"1:2\"/><types></types></program>");
  const TqsXMLItem& root = document.Root();
  EXPECT_EQ(root.Name(), u"program");
  ASSERT_EQ(root.Count(), 2);
  EXPECT_EQ(root.Items(0).GetProp(u"TEXT"), u"'С\n\"'");
  EXPECT_EQ(root.Items(0).GetProp(u"pos"), u"1:2");
  EXPECT_EQ(root.Items(1).Parent(), &root);
  document.SetAutoIndent(true);
  EXPECT_EQ(document.SaveToString(),
            "<?xml version=\"1.0\"?>\r\n<program>\r\n"
            "  <string text=\"'&#1057;&#10;&quot;'\" pos=\"1:2\"/>\r\n  <types/>\r\n</program>\r\n");
  document.SetAutoIndent(false);
  EXPECT_EQ(document.SaveToString(),
            "<?xml version=\"1.0\"?><program><string text=\"'&#1057;&#10;&quot;'\" pos=\"1:2\"/><types/></program>");
}

TEST(TqsXMLDocument, HeaderAndMalformedInput) {
  TqsXMLDocument document;
  EXPECT_THROW(document.LoadFromString("<program/>"), XmlFormatError);
  EXPECT_THROW(document.LoadFromString("<?xml?><a><b></a>"), XmlFormatError);
  EXPECT_THROW(document.LoadFromString("<?xml?><a <b>"), XmlFormatError);
  document.LoadFromString("<?xmlfoo?><a x=\"\xC3\x28\"><b y=\"\xD0\xB0\"/></a>");
  EXPECT_EQ(document.Root().Text(), u"");  // undecodable attribute text
  EXPECT_EQ(document.Root().Items(0).GetProp(u"y"), u"а");
}

TEST(TqsXMLItem, TreeOperations) {
  TqsXMLItem root(u"root");
  root.Add(u"a");
  TqsXMLItem& b = root.Add(u"B");
  b.Add(u"c").SetProp(u"text", u"<1>");
  EXPECT_EQ(root.Find(u"b"), 1);
  EXPECT_EQ(root.Find(u"x"), -1);
  TqsXMLItem& added = root.FindItem(u"x");
  EXPECT_EQ(&added, &root.Items(2));
  EXPECT_EQ(&root.FindItem(u"X"), &added);
  EXPECT_EQ(&b.Items(0).Root(), &root);
  EXPECT_EQ(b.Items(0).Text(), u"text=\"&#60;1&#62;\"");
  auto copy = root.Clone();
  EXPECT_EQ(copy->Items(1).Items(0).GetProp(u"text"), u"<1>");
  EXPECT_EQ(copy->Parent(), nullptr);
  auto taken = root.Release(0);
  EXPECT_EQ(taken->Name(), u"a");
  root.InsertItem(0, std::move(taken));
  EXPECT_EQ(root.IndexOf(&b), 1);
  b.DeleteProp(u"none");
  root.Clear();
  EXPECT_EQ(root.Count(), 0);
}

TEST(TqsXMLItem, DeepTreesAreFreedWrittenAndCopiedWithoutRecursion) {
  TqsXMLDocument document;
  TqsXMLItem* item = &document.Root();
  item->SetName(u"a");
  for (int i = 0; i < 300000; ++i) item = &item->Add(u"a");
  auto copy = document.Root().Clone();
  EXPECT_EQ(document.SaveToString().size(), 21u + 300000u * 7 + 4);
}

}  // namespace
}  // namespace zavrik
