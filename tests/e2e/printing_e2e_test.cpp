// Printing as a reader sees it: the zavrik program run on templates in a real database, its PDF
// decompressed by qpdf and read by poppler. Fonts drawn with stand-in files are embedded, so a
// reader with other fonts renders the same glyphs; highlights, styles and own fonts survive the
// rebuild of prepared pages; anchored objects keep their template size on later rows; page links
// keep their rectangle; [COPYNAME#]; memos with negative gaps stay text.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/process.h"
#include "e2e/e2e_checks.h"
#include "support/pdf_tools.h"
#include "support/test_db.h"
#include "support/test_helpers.h"

namespace zavrik::test {
namespace {

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"
    "<TqbxReport Version=\"6.7\" ScriptLanguage=\"PascalScript\"";
const std::string kPage =
    "<TqbxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\" "
    "LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\">";

// A report whose only page holds `bands`; `script` is the main block's statements.
std::string Report(const std::string& bands, const std::string& script = "",
                   const std::string& styles = "") {
  return kHead + " ScriptText.Text=\"begin " + script + " end.\">" + styles + kPage + bands +
         "</TqbxReportPage></TqbxReport>";
}

// A report title holding `memos`, in the band font `font_attributes`.
std::string Title(const std::string& memos, const std::string& font_attributes = "",
                  const std::string& styles = "") {
  return Report("<TqbxReportTitle Name=\"Title1\" Left=\"0\" Top=\"0\" Width=\"718\" "
                "Height=\"300\" " +
                    font_attributes + ">" + memos + "</TqbxReportTitle>",
                "", styles);
}

std::string Memo(const std::string& name, int top, const std::string& attributes) {
  return "<TqbxMemoView Name=\"" + name + "\" Left=\"0\" Top=\"" + std::to_string(top) +
         "\" Width=\"300\" Height=\"20\" " + attributes + "/>";
}

class PrintingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("printing.fdb");
    std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/templates/invoice.xml", std::ios::binary);
    std::stringstream invoice;
    invoice << in.rdbuf();
    const std::string highlight =
        "<TqbxMemoView Name=\"Lit\" Left=\"0\" Top=\"0\" Width=\"300\" Height=\"20\" "
        "Highlight.Condition=\"1 = 1\" Highlight.Font.Color=\"255\" Text=\"Подсветка\"/>";
    const std::string styles =
        "<Styles><item Name=\"Red\" Font.Name=\"Courier New\" Font.Color=\"255\" "
        "ApplyFill=\"False\" ApplyFrame=\"False\"/></Styles>";
    const std::string growing =
        "[IIF(&lt;Line&gt; = 1, 'раз два три четыре пять шесть семь восемь девять десять "
        "одиннадцать двенадцать тринадцать четырнадцать', 'коротко')]";
    CreateReportDatabase(
        db_,
        {{"invoice", invoice.str()},
         {"fonts",
          Title(highlight + "<TqbxMemoView Name=\"Styled\" Left=\"0\" Top=\"30\" Width=\"300\" "
                            "Height=\"20\" Style=\"Red\" Text=\"Стиль\"/>" +
                Memo("Own", 60, "Font.Color=\"16711680\" Text=\"Свой\"") +
                Memo("Plain", 90, "Text=\"Обычный\""),
                "Font.Name=\"Courier New\"", styles)},
         {"anchored",
          Report("<TqbxMasterData Name=\"Rows\" Left=\"0\" Top=\"0\" Width=\"718\" Height=\"20\" "
                 "RowCount=\"3\" Stretched=\"True\">"
                 "<TqbxMemoView Name=\"Grow\" Left=\"0\" Top=\"0\" Width=\"200\" Height=\"20\" "
                 "StretchMode=\"smActualHeight\" Text=\"" +
                 growing +
                 "\"/>"
                 "<TqbxMemoView Name=\"Anchored\" Left=\"300\" Top=\"0\" Width=\"123\" "
                 "Height=\"20\" Anchors=\"11\" Text=\"[Line]\"/>"
                 "</TqbxMasterData>")},
         {"links", Title(Memo("Zero", 0, "URL=\"@0\" Text=\"ноль\"") +
                         Memo("Word", 30, "URL=\"@abc\" Text=\"слово\"") +
                         Memo("First", 60, "URL=\"@1\" Text=\"первая\"") +
                         Memo("Unknown", 90, "URL=\"#Nowhere\" Text=\"нет якоря\""))},
         {"copyname", Title(Memo("Copy", 0, "Text=\"Экземпляр: [COPYNAME#]!\""))},
         {"copyname_set",
          Report("<TqbxReportTitle Name=\"Title1\" Left=\"0\" Top=\"0\" Width=\"718\" "
                 "Height=\"30\">" +
                     Memo("Copy", 0, "Text=\"Экземпляр: [COPYNAME#]!\"") + "</TqbxReportTitle>",
                 "qbxGlobalVariables['CopyName1'] := 'покупателя';")},
         {"gaps", Title(Memo("Tight", 0,
                             "GapX=\"-2\" GapY=\"-1\" Fill.BackColor=\"15790320\" "
                             "Text=\"Отрицательные отступы\""))}});
  }
  static void TearDownTestSuite() { delete dir_; }

  // The PDF of a successful run of the named template.
  static std::string Pdf(const std::string& report) {
    const ProcessResult r = RunProcess(ZAVRIK_BINARY, {db_, report, "1"});
    EXPECT_EQ(r.err, "") << report;
    return PdfOf(r);
  }
  // The file with every stream decompressed, contents as written.
  static std::string Decompressed(const std::string& pdf) {
    std::string qdf;
    EXPECT_EQ(RunOnFile(pdf, "qpdf --stream-data=uncompress --object-streams=disable {} -", &qdf), 0);
    return qdf;
  }
  static std::string Text(const std::string& pdf) {
    std::string text;
    EXPECT_EQ(RunOnFile(pdf, "pdftotext -enc UTF-8 -layout {} -", &text), 0);
    return text;
  }
  // The MD5 of page 1 rendered by pdftoppm with the fontconfig configuration `fonts_conf`
  // (the reader's own when empty).
  static std::string Rendered(const std::string& pdf, const std::string& fonts_conf) {
    const std::string root = dir_->File("page");
    const std::string env = fonts_conf.empty() ? "" : "FONTCONFIG_FILE=" + fonts_conf + " ";
    std::string digest;
    EXPECT_EQ(RunOnFile(pdf,
                        env + "pdftoppm -r 60 -f 1 -l 1 -singlefile {} " + root +
                            " && md5sum < " + root + ".ppm",
                        &digest),
              0);
    return digest;
  }

  static TempDir* dir_;
  static std::string db_;
};

TempDir* PrintingTest::dir_ = nullptr;
std::string PrintingTest::db_;

std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it)
    found.push_back(it->size() > 1 ? (*it)[1].str() : it->str());
  return found;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(PrintingTest, StandInFontsAreEmbeddedAndRenderTheSameForAnyReader) {
  const std::string pdf = Pdf("invoice");
  // Arial is drawn with Liberation Sans here: its subset travels with the document.
  std::string fonts;
  ASSERT_EQ(RunOnFile(pdf, "pdffonts {}", &fonts), 0);
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nArial +CID TrueType +Identity-H +yes")))
      << fonts;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nArial,Bold +CID TrueType +Identity-H +yes")))
      << fonts;
  EXPECT_FALSE(std::regex_search(fonts, std::regex("Identity-H +no"))) << fonts;  // all embedded
  EXPECT_EQ(Count(pdf, "/FontFile2 "), Count(pdf, "/Type /FontDescriptor"));
  EXPECT_NE(Text(pdf).find("Наименование"), std::string::npos);

  // A reader whose fontconfig takes "Arial" for a serif family renders the same pixels.
  const std::string conf = dir_->File("fonts.conf");
  WriteFile(conf,
            "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
            "<dir>/usr/share/fonts</dir><cachedir>" +
                dir_->File("fc-cache") +
                "</cachedir>"
                "<match target=\"pattern\"><test name=\"family\" qual=\"any\"><string>Arial"
                "</string></test><edit name=\"family\" mode=\"assign\" binding=\"strong\">"
                "<string>DejaVu Serif</string></edit></match></fontconfig>");
  const std::string own = Rendered(pdf, ""), other = Rendered(pdf, conf);
  EXPECT_EQ(own.size(), 36u) << own;
  EXPECT_EQ(own, other);
}

// The colour operators of the text objects of a decompressed file, in order.
std::vector<std::string> TextColours(const std::string& qdf) {
  return Matches(qdf, "BT\r\n/F\\d+ [0-9.]+ Tf\r\n\\[\\] 0 d\r\n([0-9. ]+) rg\r\n");
}

TEST_F(PrintingTest, HighlightStyleAndOwnFontsSurviveTheRebuiltPage) {
  const std::string pdf = Pdf("fonts");
  const std::string qdf = Decompressed(pdf);
  // Highlight red, style red, own font blue, the band's font black.
  EXPECT_EQ(TextColours(qdf), (std::vector<std::string>{"1.00 0.00 0.00", "1.00 0.00 0.00", "0.00 0.00 1.00", "0 0 0"}))
      << qdf;
  // The highlight's own family (Arial) beside the band's Courier New.
  EXPECT_NE(pdf.find("/BaseFont /Arial\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/BaseFont /Courier#20New\r\n"), std::string::npos);
  const std::string text = Text(pdf);
  for (const char* word : {"Подсветка", "Стиль", "Свой", "Обычный"})
    EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST_F(PrintingTest, AnchoredMemoKeepsItsTemplateHeightAfterAStretchedRow) {
  const std::string qdf = Decompressed(Pdf("anchored"));
  // The clip rectangles of the anchored memo (123 pixels wide), one per row: row 1 grew with the
  // band, rows 2 and 3 have the template height of 20 pixels.
  const std::vector<std::string> heights = Matches(qdf, "\n\\S+ \\S+ 92\\.25 (\\S+) re\r\nW\r\n");
  ASSERT_EQ(heights.size(), 3u) << qdf;
  EXPECT_LT(std::stod(heights[0]), -15.5);
  EXPECT_EQ(heights[1], "-15");
  EXPECT_EQ(heights[2], "-15");
}

TEST_F(PrintingTest, PageLinksKeepTheirRectangleAndUnknownAnchorsLinkNowhere) {
  // Annotation dictionaries are written uncompressed.
  const std::string pdf = Pdf("links");
  EXPECT_EQ(Count(pdf, "/Subtype /Link"), 3u) << pdf;  // "@0", "@abc" and "@1"
  EXPECT_EQ(Count(pdf, "/Border [16 16 0]"), 1u);
  EXPECT_EQ(Count(pdf, "/Dest ["), 1u);
  EXPECT_EQ(Matches(pdf, "/Rect \\[[0-9. ]+\\]\r\n>>").size(), 2u);
}

TEST_F(PrintingTest, CopyNameIsTheProcessVariableOfTheCopy) {
  EXPECT_NE(Text(Pdf("copyname")).find("Экземпляр: !"), std::string::npos);
  const std::string set = Text(Pdf("copyname_set"));
  EXPECT_NE(set.find("Экземпляр: покупателя!"), std::string::npos) << set;
}

TEST_F(PrintingTest, NegativeGapsGiveRealText) {
  const std::string pdf = Pdf("gaps");
  EXPECT_NE(Text(pdf).find("Отрицательные отступы"), std::string::npos);
  const std::string qdf = Decompressed(pdf);
  EXPECT_EQ(qdf.find("/Subtype /Image"), std::string::npos);
  EXPECT_NE(qdf.find("%--Vector Begin\r\nq\r\n"), std::string::npos);
  EXPECT_NE(qdf.find("0.941 0.941 0.941 rg"), std::string::npos);  // the background stays
}

}  // namespace
}  // namespace zavrik::test
