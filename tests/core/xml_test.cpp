// The shared XML layer: tag reader states, element tree, header, escaping, attribute access,
// writer.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "core/xml_tag_reader.h"
#include "core/xml_text.h"
#include "core/xml_writer.h"

namespace zavrik {
namespace {

// Records the element stream as text: "name[attrs]{children}".
class Recorder : public XmlElementSink {
 public:
  void BeginElement(std::string_view name, std::string_view attributes, uint64_t offset) override {
    text += std::string(name);
    if (!attributes.empty()) text += "[" + std::string(attributes) + "]";
    text += "{";
    offsets.push_back(offset);
  }
  void EndElement() override { text += "}"; }
  std::string text;
  std::vector<uint64_t> offsets;
};

std::string ReadTree(const std::string& bytes) {
  std::istringstream in(bytes);
  XmlTagReader reader(in);
  Recorder recorder;
  ReadXmlElements(reader, recorder);
  return recorder.text;
}

TEST(XmlTagReader, CommentsTextAndEmptyElements) {
  EXPECT_EQ(ReadTree("<A><!-- x --><B/></A>"), "A{B{}}");
  EXPECT_EQ(ReadTree("<A><!-- x ---><B/>--></A>"), "A{}");
  EXPECT_EQ(ReadTree("<A>text</A>"), "A{}");
  EXPECT_EQ(ReadTree("<A x=\"1\"/><B/>"), "A[x=\"1\"]{}");
  EXPECT_EQ(ReadTree("<A x=\"1\" /><B/>"), "A[x=\"1\" ]{}");
  EXPECT_EQ(ReadTree("<a><B/></A >"), "a{B{}}");
  EXPECT_EQ(ReadTree("\xEF\xBB\xBF  <A\tb=\"1\">"), "A\tb=\"1\"{}");
}

TEST(XmlTagReader, QuotesDoNotProtectTheTagEnd) {
  EXPECT_EQ(ReadTree("<A x=\"1 > 2\"/>"), "A[x=\"1]{}");  // one trailing space dropped
}

TEST(XmlTagReader, MissingEndTagsAtTheEndAreAccepted) {
  EXPECT_EQ(ReadTree("<A><B/>"), "A{B{}}");
  EXPECT_EQ(ReadTree(""), "{}");
  EXPECT_EQ(ReadTree("</A>"), "/A{}");
}

TEST(XmlTagReader, MalformedInputFails) {
  EXPECT_THROW(ReadTree("<A><B></A>"), XmlFormatError);
  EXPECT_THROW(ReadTree("<A <B/>"), XmlFormatError);
  EXPECT_THROW(ReadTree("<A><B"), XmlFormatError);
  try {
    ReadTree("<A");
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Invalid file format");
  }
}

TEST(XmlTagReader, DeepNestingNeedsNoStack) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  EXPECT_EQ(ReadTree(deep).size(), 200000u * 3);
}

TEST(XmlTagReader, LongTagsAndPositions) {
  const std::string value(10000, 'v');
  std::istringstream in("<?xml version=\"1.0\"?>\n<A x=\"" + value + "\"/>tail");
  {
    XmlTagReader reader(in);
    EXPECT_TRUE(ReadXmlHeader(reader));
    Recorder recorder;
    ReadXmlElements(reader, recorder);
    EXPECT_EQ(recorder.offsets, std::vector<uint64_t>{21});
    EXPECT_EQ(reader.Position(), 21u + 1 + 10009u);  // line feed, then the tag
  }
  // The reader gave back what it buffered but did not consume.
  std::string rest;
  in >> rest;
  EXPECT_EQ(rest, "tail");
}

TEST(XmlHeader, DeclarationRequiredAndOldFormatDetected) {
  auto header = [](const std::string& bytes) {
    std::istringstream in(bytes);
    XmlTagReader reader(in);
    return ReadXmlHeader(reader);
  };
  EXPECT_TRUE(header("<?xml version=\"1.0\"?>"));
  EXPECT_FALSE(header("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"));
  EXPECT_FALSE(header(" <?xml version=\"1.1\"?>"));
  EXPECT_FALSE(header("<?xml version=?>"));
  EXPECT_THROW(header("<A/>"), XmlFormatError);
}

TEST(XmlEscaping, SyntaxTreeDialect) {
  const XmlDialect tree = XmlDialect::kSyntaxTree;
  EXPECT_EQ(XmlEscape(u"a<b>&\"\r\n'", tree), u"a&#60;b&#62;&#38;&#34;&#13;&#10;'");
  EXPECT_EQ(XmlUnescape(u"&#1092;&quot;&amp;&lt;&#;&#12x;&#99", tree), u"ф\"&amp;&lt;&#;&#12x;&#99");
  EXPECT_EQ(XmlUnescape(u"&#65601;", tree), u"A");  // low 16 bits
  EXPECT_EQ(XmlUnescape(u"&#38;lt;", tree), u"&lt;");  // never decoded twice
}

TEST(XmlEscaping, TemplateDialect) {
  const XmlDialect tmpl = XmlDialect::kTemplate;
  EXPECT_EQ(XmlEscape(u"a\r\nb", tmpl), u"a&#13;&#10;b");
  EXPECT_EQ(XmlEscape(u"&quot;", tmpl), u"&#34;");
  EXPECT_EQ(XmlEscape(String(u"a\0b", 3), tmpl), u"a&#0;b");
  EXPECT_EQ(XmlEscape(String(u"a\0", 2) + String(40, u'x'), tmpl), u"a " + String(40, u'x'));
  EXPECT_EQ(XmlUnescape(u"a&b &amp;lt; &gt;&apos;", tmpl), u"a&b &lt; >&apos;");
  EXPECT_THROW(XmlUnescape(u"&#1x;", tmpl), Error);
}

TEST(XmlEscaping, AppendedAfterTheTextThere) {
  const XmlDialect tmpl = XmlDialect::kTemplate;
  String out = u"u=\"";
  AppendXmlEscaped(out, u"a&quot;b<\"c\r\n&", tmpl);
  EXPECT_EQ(out, u"u=\"a&#34;b&#60;&#34;c&#13;&#10;&#38;");
  // The NUL rule looks at the length of the appended text, not of what it is appended to.
  out = String(40, u'x');
  AppendXmlEscaped(out, String(u"a\0", 2), tmpl);
  EXPECT_EQ(out, String(40, u'x') + u"a&#0;");
  out.clear();
  AppendXmlEscaped(out, String(u"\0", 1) + String(40, u'y'), tmpl);
  EXPECT_EQ(out, u" " + String(40, u'y'));
  AppendXmlEscaped(out, u"", tmpl);
  AppendXmlEscaped(out, u"plain", XmlDialect::kSyntaxTree);
  EXPECT_EQ(out, u" " + String(40, u'y') + u"plain");
}

TEST(XmlAttributes, GetSetDelete) {
  String text = u"Name=\"Memo1\" Left=\"10\"";
  EXPECT_EQ(XmlGetProp(text, u"name", XmlDialect::kSyntaxTree), u"Memo1");
  EXPECT_FALSE(XmlPropExists(text, u"Nam"));
  EXPECT_FALSE(XmlPropExists(text, u"eft"));
  XmlSetProp(text, u"Name", u"a\"b", XmlDialect::kSyntaxTree);
  EXPECT_EQ(text, u"Name=\"a&#34;b\" Left=\"10\"");
  XmlSetProp(text, u"Top", u"5", XmlDialect::kSyntaxTree);
  EXPECT_EQ(text, u"Name=\"a&#34;b\" Left=\"10\" Top=\"5\"");
  XmlDeleteProp(text, u"Left");
  EXPECT_EQ(text, u"Name=\"a&#34;b\" Top=\"5\"");
  String empty;
  XmlSetProp(empty, u"x", u"1", XmlDialect::kSyntaxTree);
  EXPECT_EQ(empty, u"x=\"1\"");
}

TEST(XmlText, StrictUtf8) {
  EXPECT_TRUE(IsValidUtf8("abc \xD0\xB0 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_FALSE(IsValidUtf8("\xD0"));
  EXPECT_FALSE(IsValidUtf8("\xFF"));
}

TEST(XmlWriter, IndentedAndCompact) {
  std::ostringstream indented;
  XmlWriter writer(indented, true);
  writer.WriteElementHead(0, "A", "x=\"1\"", true);
  writer.WriteElementHead(2, "B", "", false);
  writer.WriteElementHead(2, "C", " y=\"2\"", false, "v");
  writer.WriteElementEnd(0, "A");
  writer.Flush();
  EXPECT_EQ(indented.str(), "<A x=\"1\">\r\n  <B/>\r\n  <C y=\"2\">v</C>\r\n</A>\r\n");
  std::ostringstream compact;
  XmlWriter flat(compact, false);
  flat.WriteElementHead(4, "A", "", true);
  flat.WriteElementHead(6, "B", "", false);
  flat.WriteElementEnd(4, "A");
  flat.Flush();
  EXPECT_EQ(compact.str(), "<A><B/></A>");
}

}  // namespace
}  // namespace zavrik
