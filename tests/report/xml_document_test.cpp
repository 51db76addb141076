// The template document layer: header and old format, the tag reader's states, end tags,
// partial loading with the swap file, attribute access, escaping, the writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "report/document/qbx_xml_document.h"

namespace zavrik {
namespace {

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";

// "Name[Text](children)" of an item tree.
std::string Shape(const TqbxXMLItem& item) {
  std::string text = StringToUtf8(item.Name());
  if (!item.Text().empty()) text += "[" + StringToUtf8(item.Text()) + "]";
  if (item.Count() == 0) return text;
  text += "(";
  for (int i = 0; i < item.Count(); ++i) text += (i ? " " : "") + Shape(item.Items(i));
  return text + ")";
}

std::string Load(const std::string& bytes) {
  TqbxXMLDocument document;
  document.LoadFromString(bytes);
  return Shape(document.Root());
}

TEST(TemplateDocument, HeaderDecidesTheAttributeEncoding) {
  TqbxXMLDocument old_doc;
  old_doc.LoadFromString("<?xml version=\"1.0\"?><A t=\"\xD4\"/>");  // Windows-1251 "Ф"
  EXPECT_TRUE(old_doc.OldVersion);
  EXPECT_EQ(old_doc.Root().Text(), u"t=\"Ф\"");

  TqbxXMLDocument utf8;
  utf8.LoadFromString(kHeader + "<A t=\"\xD0\xA4\xF0\x9F\x98\x80\xFF\"/>");
  EXPECT_FALSE(utf8.OldVersion);
  EXPECT_EQ(utf8.Root().Text(), u"t=\"Ф\U0001F600\uFFFD\"");

  EXPECT_EQ(Load("\xEF\xBB\xBF \r\n" + kHeader + "<A/>"), "A");
  EXPECT_THROW(Load("<A/>"), TqbxInvalidXMLException);
  EXPECT_THROW(Load(""), TqbxInvalidXMLException);
  try {
    Load("PK\x03\x04 compressed");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Invalid file format");
  }
}

TEST(TemplateDocument, TagReaderStates) {
  EXPECT_EQ(Load(kHeader + "<A><!-- x --><B/></A>"), "A(B)");
  EXPECT_EQ(Load(kHeader + "<A><!-- x ---><B/>--></A>"), "A");
  EXPECT_EQ(Load(kHeader + "<A>text</A>"), "A");
  EXPECT_EQ(Load(kHeader + "<A x=\"1 > 2\"/>"), "A[x=\"1]");
  EXPECT_EQ(Load(kHeader + "<A\tx=\"1\" />"), "A\tx=\"1\"");  // only byte 32 separates the name
  EXPECT_EQ(Load(kHeader + "<A  x=\"1\"  />"), "A[ x=\"1\"  ]");  // the tag ends with "/", not a space
  EXPECT_EQ(Load(kHeader + "<A><B/>"), "A(B)");
  EXPECT_EQ(Load(kHeader + "<a><B/></A>trailing <junk"), "a(B)");
  EXPECT_THROW(Load(kHeader + "<A><B></A>"), TqbxInvalidXMLException);
  EXPECT_THROW(Load(kHeader + "<A <B/>"), TqbxInvalidXMLException);
  EXPECT_THROW(Load(kHeader + "<A><B x=\"1\""), TqbxInvalidXMLException);
  // Tags grow past the 4096-byte buffer.
  const std::string long_value(10000, 'v');
  EXPECT_EQ(Load(kHeader + "<A x=\"" + long_value + "\"/>"), "A[x=\"" + long_value + "\"]");
}

TEST(TemplateDocument, DeepNestingLoadsWritesAndFreesWithoutRecursion) {
  constexpr int kDepth = 100000;
  std::string bytes = kHeader;
  for (int i = 0; i < kDepth; ++i) bytes += "<A>";  // end tags missing at the end of the stream
  TqbxXMLDocument document;
  document.LoadFromString(bytes);
  int depth = 1;
  for (TqbxXMLItem* item = &document.Root(); item->Count() > 0; item = &item->Items(0)) ++depth;
  EXPECT_EQ(depth, kDepth);
  EXPECT_EQ(document.SaveToString().size(), kHeader.size() + 7u * (kDepth - 1) + 4u);
}

TEST(TemplateDocument, AttributeAccess) {
  TqbxXMLItem item;
  item.SetText(u"Name=\"Memo1\" Left=\"10\" Text=\"a&#38;b&amp;lt;\"");
  EXPECT_EQ(item.GetProp(u"name"), u"Memo1");
  EXPECT_EQ(item.GetProp(u"Nam"), u"");
  EXPECT_FALSE(item.PropExists(u"ame"));
  EXPECT_EQ(item.GetProp(u"Text"), u"a&b&lt;");
  item.SetProp(u"Left", u"<5>");
  EXPECT_EQ(item.Text(), u"Name=\"Memo1\" Left=\"&#60;5&#62;\" Text=\"a&#38;b&amp;lt;\"");
  item.SetProp(u"Top", u"7");
  item.DeleteProp(u"left");
  EXPECT_EQ(item.Text(), u"Name=\"Memo1\" Text=\"a&#38;b&amp;lt;\" Top=\"7\"");
  item.DeleteProp(u"Top");
  EXPECT_EQ(item.Text(), u"Name=\"Memo1\" Text=\"a&#38;b&amp;lt;\" ");
}

TEST(TemplateDocument, EscapingAndValueTexts) {
  EXPECT_EQ(XmlEscape(u"a\r\nb\"<&>"), u"a&#13;&#10;b&#34;&#60;&#38;&#62;");
  EXPECT_EQ(XmlEscape(u"say &quot;hi&quot;\tФ"), u"say &#34;hi&#34;\tФ");
  EXPECT_EQ(XmlUnescape(u"&#1092;"), u"ф");
  EXPECT_EQ(XmlUnescape(u"a&b &amp;lt; &apos; &#38;#38;"), u"a&b &lt; &apos; &#38;");
  EXPECT_EQ(XmlUnescape(u"tail &#12"), u"tail &#12");  // no ';': kept literally
  EXPECT_EQ(XmlUnescape(u"&#65601;"), u"A");          // the low 16 bits
  for (const char16_t* bad : {u"&#x41;", u"&#$41;", u"&#;", u"&#-5;", u"&#99999999999;"}) {
    EXPECT_THROW(XmlUnescape(bad), Error) << StringToUtf8(bad);
  }
  try {
    XmlUnescape(u"&#x41;");
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"'x41' is not a valid integer value");
  }
  EXPECT_EQ(XmlValueText(Variant(int32_t(-5))), u"-5");
  EXPECT_EQ(XmlValueText(Variant(int64_t(1) << 40)), u"1099511627776");
  EXPECT_EQ(XmlValueText(Variant(2.5)), u"2,5");
  EXPECT_EQ(XmlValueText(Variant(true)), u"1");
  EXPECT_EQ(XmlValueText(Variant(DateTime{45000})), u"15.03.2023");
  EXPECT_EQ(XmlValueText(Variant(String(u"a\"b"))), u"a&#34;b");
  EXPECT_EQ(XmlValueText(Variant::Null()), u"");
}

TEST(TemplateDocument, WriterIndentsAndBuffers) {
  TqbxXMLDocument document;
  document.Root().SetName(u"TqbxReport");
  document.Root().SetText(u"Version=\"6.7\"");
  TqbxXMLItem& page = document.Root().Add(u"Page");
  page.Add(u"Memo").SetText(u" Text=\"Ф\"");
  page.Add(u"V").SetValue(u"content");
  document.AutoIndent = true;
  EXPECT_EQ(document.SaveToString(),
            kHeader + "\r\n<TqbxReport Version=\"6.7\">\r\n  <Page>\r\n    <Memo Text=\"\xD0\xA4\"/>\r\n"
                      "    <V>content</V>\r\n  </Page>\r\n</TqbxReport>\r\n");
  document.AutoIndent = false;
  EXPECT_EQ(document.SaveToString(), kHeader + "<TqbxReport Version=\"6.7\"><Page><Memo Text=\"\xD0\xA4\"/><V>content</V></Page></TqbxReport>");

  // Output larger than the buffer arrives whole.
  TqbxXMLDocument big;
  big.Root().SetName(u"R");
  for (int i = 0; i < 2000; ++i) big.Root().Add(u"Item").SetText(u"n=\"" + String(i % 50, u'x') + u"\"");
  TqbxXMLDocument again;
  again.LoadFromString(big.SaveToString());
  ASSERT_EQ(again.Root().Count(), 2000);
  EXPECT_EQ(again.Root().Items(1999).Text(), big.Root().Items(1999).Text());
}

TEST(TemplateDocument, PartialLoadingAndTheSwapFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("zavrik_swap_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "pages.xml";
  {
    std::ofstream out(file, std::ios::binary);
    out << kHeader << "<P><Page N=\"1\" LD=\"0\"><M a=\"1\"/></Page><Page N=\"2\"><M/></Page></P>";
  }
  {
    TqbxXMLDocument document;
    document.TempDir = Utf8ToString(dir.string());
    document.LoadFromFile(file);
    TqbxXMLItem& first = document.Root().Items(0);
    EXPECT_TRUE(first.Unloadable);
    EXPECT_FALSE(first.Loaded);
    EXPECT_EQ(first.Count(), 0);
    EXPECT_EQ(first.Text(), u"N=\"1\"");
    EXPECT_EQ(document.Root().Items(1).Count(), 1);
    // Writing fetches the unloaded page and drops it again.
    EXPECT_NE(document.SaveToString().find("<Page N=\"1\" ld=\"0\"><M a=\"1\"/></Page>"), std::string::npos);
    EXPECT_EQ(first.Count(), 0);
    document.LoadItem(first);
    ASSERT_EQ(first.Count(), 1);
    EXPECT_EQ(first.Items(0).Text(), u"a=\"1\"");
    // Saving replaces the file through "<name>.tmp" and reads it again, partially.
    first.Unloadable = false;
    document.Root().Items(1).SetProp(u"N", u"two");
    document.SaveToFile(file);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));
    EXPECT_EQ(Shape(document.Root()), "P(Page[N=\"1\"](M[a=\"1\"]) Page[N=\"two\"](M))");
  }
  {
    // A document of its own: unloading goes to a "qb" swap file in TempDir, deleted at the end.
    TqbxXMLDocument document;
    document.TempDir = Utf8ToString(dir.string());
    document.LoadFromString(kHeader + "<P><Page><M b=\"2\"/></Page></P>");
    TqbxXMLItem& page = document.Root().Items(0);
    page.Unloadable = true;
    document.UnloadItem(page);
    EXPECT_EQ(page.Count(), 0);
    int swap_files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) swap_files += entry.path().filename().string().starts_with("qb");
    EXPECT_EQ(swap_files, 1);
    document.LoadItem(page);
    ASSERT_EQ(page.Count(), 1);
    EXPECT_EQ(page.Items(0).Text(), u"b=\"2\"");
  }
  int left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) left += entry.path().filename().string().starts_with("qb");
  EXPECT_EQ(left, 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zavrik
