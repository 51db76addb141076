// Lines, shapes, check boxes and pictures end to end: templates over real tables, run by the
// built zavrik, checked in the decompressed page content and the image objects of the PDF.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "e2e/process.h"
#include "pdf/pdf_test_support.h"
#include "platform/emf_recorder.h"
#include "support/pdf_tools.h"
#include "support/test_db.h"
#include "support/test_helpers.h"

namespace zavrik::test {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/images/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) out += digits[c >> 4], out += digits[c & 15];
  return out;
}

std::string U32(size_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// The Picture.PropData attribute of a picture: the "Data" property holding the class name and
// the class's own form of the image.
std::string PictureAttribute(const std::string& class_name, const std::string& file) {
  std::string data = std::string(1, static_cast<char>(class_name.size())) + class_name;
  if (class_name == "TBitmap" || class_name == "TJPEGImage") data += U32(file.size());
  if (class_name == "TMetafile") data += U32(file.size() + 4);
  data += file;
  const std::string stream = std::string("\x04" "Data\x0A", 6) + U32(data.size()) + data;
  return " Picture.PropData=\"" + Hex(stream) + "\"";
}

// A template: an A4 page without margins; `data` declares the query "Items" over ITEMS.
std::string Template(const std::string& bands, bool items = false) {
  std::string t = "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport Version=\"6.7\" ScriptLanguage=\"PascalScript\">";
  if (items) {
    t += "<Datasets><item DataSet=\"Items\" DataSetName=\"Items\"/></Datasets>"
         "<TqbxDataPage Name=\"Data\" Height=\"1000\" Left=\"0\" Top=\"0\" Width=\"1000\">"
         "<TqbxIBXQuery Name=\"Items\" UserName=\"Items\" SQL.Text=\"SELECT ID, NAME, PAID, PIC FROM ITEMS ORDER BY ID\"/>"
         "</TqbxDataPage>";
  }
  return t + "<TqbxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\">" + bands +
         "</TqbxReportPage></TqbxReport>";
}

// A stamp drawn as vectors: a clip, a filled and outlined circle, and its text.
std::string Stamp() {
  zavrik::EmfRecorder r(120, 60);
  r.IntersectClip({2, 2, 118, 58});
  r.SetPen({.color = 0x800000, .width = 3});
  r.SetBrush({.color = 0xE0E0FF, .style = BrushStyle::kSolid});
  r.Ellipse({4, 4, 116, 56});
  DeviceFont font;
  font.font.name = u"Arial";
  font.font.color = 0x800000;
  font.pixel_height = 16;
  r.SetFont(font);
  r.TextOut(20, 20, u"ОПЛАЧЕНО", {}, nullptr);
  const std::vector<uint8_t> bytes = r.Finish();
  return {bytes.begin(), bytes.end()};
}

std::string RowBand(const std::string& views) {
  return "<TqbxMasterData Name=\"Rows\" DataSet=\"Items\" Height=\"40\" Left=\"0\" Top=\"300\" Width=\"700\">" + views +
         "<TqbxMemoView Name=\"RowName\" Left=\"500\" Top=\"0\" Width=\"150\" Height=\"20\" Text=\"[Items.&#34;NAME&#34;]\"/>"
         "</TqbxMasterData>";
}

class ViewsEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("views.fdb");
    const std::string png = Fixture("red_blue.png"), jpeg = Fixture("page.jpg"), bmp = Fixture("red_blue.bmp");
    const std::string lines = Template(
        "<TqbxReportTitle Name=\"Title\" Height=\"280\" Left=\"0\" Top=\"0\" Width=\"700\">"
        "<TqbxLineView Name=\"Plain\" Left=\"10\" Top=\"10\" Width=\"200\" Height=\"0\" Frame.Typ=\"4\"/>"
        "<TqbxLineView Name=\"Dashed\" Left=\"300\" Top=\"10\" Width=\"0\" Height=\"100\" Frame.Typ=\"1\" "
        "Frame.Style=\"fsDash\" Frame.Width=\"2\"/>"
        "<TqbxLineView Name=\"Twin\" Left=\"10\" Top=\"40\" Width=\"200\" Height=\"0\" Frame.Typ=\"4\" Frame.Style=\"fsDouble\"/>"
        "<TqbxLineView Name=\"Dotted\" Left=\"10\" Top=\"60\" Width=\"200\" Height=\"0\" Frame.Typ=\"4\" Frame.Style=\"fsDot\" Frame.Color=\"8421504\"/>"
        "<TqbxLineView Name=\"Arrow\" Left=\"400\" Top=\"10\" Width=\"100\" Height=\"100\" Diagonal=\"True\" "
        "ArrowEnd=\"True\" ArrowSolid=\"True\" Frame.Color=\"255\"/>"
        "<TqbxLineView Name=\"Open\" Left=\"600\" Top=\"10\" Width=\"0\" Height=\"100\" Frame.Typ=\"1\" ArrowStart=\"True\"/>"
        "<TqbxShapeView Name=\"Rect\" Left=\"10\" Top=\"150\" Width=\"60\" Height=\"40\" Fill.BackColor=\"255\"/>"
        "<TqbxShapeView Name=\"Round\" Left=\"90\" Top=\"150\" Width=\"60\" Height=\"40\" Shape=\"skRoundRectangle\" Curve=\"1\"/>"
        "<TqbxShapeView Name=\"Ellipse\" Left=\"170\" Top=\"150\" Width=\"60\" Height=\"40\" Shape=\"skEllipse\"/>"
        "<TqbxShapeView Name=\"Triangle\" Left=\"250\" Top=\"150\" Width=\"60\" Height=\"40\" Shape=\"skTriangle\"/>"
        "<TqbxShapeView Name=\"Diamond\" Left=\"330\" Top=\"150\" Width=\"60\" Height=\"40\" Shape=\"skDiamond\" Frame.Style=\"fsDash\"/>"
        "<TqbxShapeView Name=\"Diag1\" Left=\"410\" Top=\"150\" Width=\"60\" Height=\"40\" Shape=\"skDiagonal1\"/>"
        "<TqbxShapeView Name=\"Diag2\" Left=\"490\" Top=\"150\" Width=\"60\" Height=\"40\" Shape=\"skDiagonal2\"/>"
        "</TqbxReportTitle>");
    const std::string checks = Template(
        RowBand("<TqbxCheckBoxView Name=\"Paid\" Left=\"10\" Top=\"0\" Width=\"20\" Height=\"20\" DataSet=\"Items\" "
                "DataField=\"PAID\" CheckStyle=\"csCheck\" UncheckStyle=\"usMinus\" Frame.Typ=\"15\"/>"
                "<TqbxCheckBoxView Name=\"Late\" Left=\"40\" Top=\"0\" Width=\"24\" Height=\"24\" "
                "Expression=\"&lt;Items.&#34;ID&#34;&gt; &gt; 2\" CheckStyle=\"csLineCross\"/>"),
        true);
    const std::string pictures = Template(
        "<TqbxReportTitle Name=\"Title\" Height=\"100\" Left=\"0\" Top=\"0\" Width=\"700\">"
        "<TqbxPictureView Name=\"Png\" Left=\"10\" Top=\"10\" Width=\"80\" Height=\"40\"" +
            PictureAttribute("TPngImage", png) + "/>"
        "<TqbxPictureView Name=\"Jpeg\" Left=\"110\" Top=\"10\" Width=\"60\" Height=\"40\"" +
            PictureAttribute("TJPEGImage", jpeg) + "/>"
        "<TqbxPictureView Name=\"Bmp\" Left=\"190\" Top=\"10\" Width=\"40\" Height=\"20\" Frame.Typ=\"15\"" +
            PictureAttribute("TBitmap", bmp) + "/>"
        "</TqbxReportTitle>" +
        RowBand("<TqbxPictureView Name=\"Logo\" Left=\"10\" Top=\"0\" Width=\"80\" Height=\"40\"" +
                PictureAttribute("TPngImage", png) + "/>"),
        true);
    const std::string blobs = Template(
        RowBand("<TqbxPictureView Name=\"Pic\" Left=\"10\" Top=\"0\" Width=\"80\" Height=\"40\" Frame.Typ=\"15\" "
                "DataSet=\"Items\" DataField=\"PIC\"/>"),
        true);
    const std::string vectors = Template(
        "<TqbxReportTitle Name=\"Title\" Height=\"300\" Left=\"0\" Top=\"0\" Width=\"700\">"
        "<TqbxMemoView Name=\"Up\" Left=\"10\" Top=\"10\" Width=\"30\" Height=\"150\" Rotation=\"90\" "
        "Text=\"Поворот\"/>"
        "<TqbxMemoView Name=\"Marked\" Left=\"60\" Top=\"10\" Width=\"500\" Height=\"20\" AllowHTMLTags=\"True\" "
        "Text=\"Итого &lt;b&gt;жирно&lt;/b&gt; и &lt;i&gt;наклонно&lt;/i&gt; &lt;font color=&#34;#0000FF&#34;&gt;синим&lt;/font&gt;\"/>"
        "<TqbxMemoView Name=\"Spaced\" Left=\"60\" Top=\"40\" Width=\"500\" Height=\"20\" CharSpacing=\"4\" "
        "Text=\"Разрядка слов\"/>"
        "<TqbxCheckBoxView Name=\"Tick\" Left=\"60\" Top=\"70\" Width=\"20\" Height=\"20\" CheckStyle=\"csCheck\" "
        "CheckColor=\"32768\" Frame.Typ=\"15\"/>"
        "<TqbxPictureView Name=\"StampPic\" Left=\"60\" Top=\"100\" Width=\"240\" Height=\"120\"" +
            PictureAttribute("TMetafile", Stamp()) + "/>"
        "</TqbxReportTitle>");
    // The stamp announcing palette entries, its end-of-file record cut off.
    std::string bad_stamp = Stamp();
    bad_stamp[68] = 4;
    bad_stamp.resize(bad_stamp.size() - 20);
    const std::string bad_vectors = Template(
        "<TqbxReportTitle Name=\"Title\" Height=\"300\" Left=\"0\" Top=\"0\" Width=\"700\">"
        "<TqbxPictureView Name=\"BadStamp\" Left=\"60\" Top=\"10\" Width=\"240\" Height=\"120\" Frame.Typ=\"15\"" +
            PictureAttribute("TMetafile", bad_stamp) + "/>"
        "<TqbxMemoView Name=\"After\" Left=\"60\" Top=\"200\" Width=\"200\" Height=\"20\" Text=\"после\"/>"
        "</TqbxReportTitle>");
    const std::string broken_png = png.substr(0, 60);
    CreateReportDatabase(
        db_, {{"lines", lines}, {"checks", checks}, {"pictures", pictures}, {"blobs", blobs}, {"vectors", vectors},
             {"bad_vectors", bad_vectors}},
        {"CREATE TABLE ITEMS (ID INTEGER NOT NULL, NAME VARCHAR(40), PAID BOOLEAN, PIC BLOB SUB_TYPE 0)",
         "INSERT INTO ITEMS VALUES (1, 'first', TRUE, x'" + Hex(png) + "')",
         "INSERT INTO ITEMS VALUES (2, 'garbage', FALSE, x'" + Hex("not a picture at all") + "')",
         "INSERT INTO ITEMS VALUES (3, 'nothing', NULL, NULL)",
         "INSERT INTO ITEMS VALUES (4, 'photo', TRUE, x'" + Hex(jpeg) + "')",
         "INSERT INTO ITEMS VALUES (5, 'broken', FALSE, x'" + Hex(broken_png) + "')",
         "INSERT INTO ITEMS VALUES (6, 'last', TRUE, x'" + Hex(png) + "')"});
  }
  static void TearDownTestSuite() { delete dir_; }

  // Runs a template; the PDF and the standard error text.
  static std::string Run(const std::string& name, std::string* err = nullptr) {
    const ProcessResult r = RunProcess(ZAVRIK_BINARY, {db_, name, "1"});
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    if (err) *err = r.err;
    else EXPECT_EQ(r.err, "");
    const std::string pdf = DecodeBase64(r.out);
    EXPECT_EQ(QpdfCheck(pdf), 0);
    return pdf;
  }
  // The first page's content stream.
  static std::string Content(const std::string& pdf) {
    for (const std::string& s : pdf::test::Streams(pdf))
      if (s.find(" re\r\n") != std::string::npos || s.find(" Do\r\n") != std::string::npos ||
          s.find(" m\r\n") != std::string::npos)
        return s;
    return {};
  }
  // The image resource names drawn, in order.
  static std::vector<std::string> DrawnImages(const std::string& content) {
    std::vector<std::string> names;
    const std::regex image("/(Im\\d+) Do");
    for (auto it = std::sregex_iterator(content.begin(), content.end(), image); it != std::sregex_iterator(); ++it)
      names.push_back((*it)[1]);
    return names;
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  static TempDir* dir_;
  static std::string db_;
};

TempDir* ViewsEndToEnd::dir_ = nullptr;
std::string ViewsEndToEnd::db_;

TEST_F(ViewsEndToEnd, LinesOfEveryKind) {
  const std::string content = Content(Run("lines"));
  auto has = [&](const std::string& part) { EXPECT_NE(content.find(part), std::string::npos) << part << "\n" << content; };
  has("q\r\n[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n7.50 834.75 m\r\n157.50 834.75 l\r\nS\r\nQ\r\n");
  has("[12.00 ] 0 d\r\n0 0 0 RG\r\n1.50 w\r\n225.00 834.75 m\r\n225.00 759.75 l\r\nS\r\n");
  has("7.50 813.25 m\r\n157.50 813.25 l\r\nS\r\n0 0 0 RG\r\n0.75 w\r\n7.50 811.25 m\r\n157.50 811.25 l\r\nS\r\n");
  has("[2.00 6.00 ] 0 d\r\n0.50 0.50 0.50 RG\r\n0.75 w\r\n7.50 797.25 m\r\n157.50 797.25 l\r\nS\r\n");
  // The diagonal with a solid head at its end, in the frame's colour.
  has("[] 0 d\r\n1.00 0.00 0.00 RG\r\n0.75 w\r\n300.00 834.75 m\r\n375.00 759.75 l\r\nS\r\n");
  has("1 j\r\n1.00 0.00 0.00 rg\r\nb\r\nQ\r\n");
  // An open head at the top of a vertical line: wings 5 pixels to either side, 20 below the tip.
  has("[] 0 d\r\n446.25 819.75 m\r\n450.00 834.75 l\r\n453.75 819.75 l\r\nS\r\nQ\r\n");
}

TEST_F(ViewsEndToEnd, ShapesOfEveryKind) {
  const std::string content = Content(Run("lines"));
  auto has = [&](const std::string& part) { EXPECT_NE(content.find(part), std::string::npos) << part << "\n" << content; };
  // Rectangle: filled red, outlined black along the same rectangle.
  has("q\r\n1 0 0 rg\r\n7.5 729.75 45 -30 re\r\nf\r\nQ\r\nq\r\n[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n7.5 729.75 45 -30 re\r\nS\r\nQ\r\n");
  // Rounded rectangle (Curve 1: radius 3.74 pixels), ellipse, triangle and dashed diamond.
  has("70.305 699.75 m\r\n");
  has("172.5 714.75 m\r\n172.5 ");
  has("210 729.75 m\r\n232.5 699.75 l\r\n187.5 699.75 l\r\n210 729.75 l\r\nS\r\n");
  has("[6.00 ] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n270 729.75 m\r\n292.5 714.75 l\r\n270 699.75 l\r\n247.5 714.75 l\r\n270 729.75 l\r\nS\r\n");
  has("0.75 w\r\n307.50 699.75 m\r\n352.50 729.75 l\r\nS\r\n");
  has("0.75 w\r\n367.50 729.75 m\r\n412.50 699.75 l\r\nS\r\n");
  EXPECT_EQ(Count(content, " c\r\n"), 8);  // four corners and four quarters
}

TEST_F(ViewsEndToEnd, CheckBoxesOverBooleansNullsAndAnExpression) {
  const std::string pdf = Run("checks");
  const std::string content = Content(pdf);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  // Each check box is played into its rectangle (clipped to it: 15 and 18 points square, after
  // the view before it); what follows up to the next one is its mark: a filled check mark, or
  // stroked lines.
  const std::regex start("Q\r\nq\r\n[0-9.]+ [0-9.]+ (15 15|18 18) re\r\nW\\*");
  std::vector<std::pair<std::string, size_t>> boxes;
  for (auto it = std::sregex_iterator(content.begin(), content.end(), start); it != std::sregex_iterator(); ++it)
    boxes.push_back({(*it)[1], static_cast<size_t>(it->position())});
  const auto marks = [&](const std::string& size) {
    std::vector<std::string> kinds;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].first != size) continue;
      const size_t end = i + 1 < boxes.size() ? boxes[i + 1].second : content.size();
      const std::string block = content.substr(boxes[i].second, end - boxes[i].second);
      kinds.push_back(block.find("h\r\nf*\r\n") != std::string::npos ? "check"
                      : block.find(" l\r\nS\r\n") != std::string::npos ? "lines" : "none");
    }
    return kinds;
  };
  // Bound to PAID (true, false, Null, true, false, true): Null looks like false, drawn as a minus.
  EXPECT_EQ(marks("15 15"), (std::vector<std::string>{"check", "lines", "lines", "check", "lines", "check"}))
      << content;
  // The expression ID > 2: false, false, then a line cross on the four rows after.
  EXPECT_EQ(marks("18 18"), (std::vector<std::string>{"none", "none", "lines", "lines", "lines", "lines"}));
}

TEST_F(ViewsEndToEnd, PngJpegAndBitmapPicturesShareTheirImages) {
  const std::string pdf = Run("pictures");
  const std::string content = Content(pdf);
  // Three pictures of the title, and the PNG logo on six rows stored once.
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 3);
  EXPECT_EQ(Count(pdf, "/Filter /DCTDecode"), 3);
  const std::vector<std::string> drawn = DrawnImages(content);
  ASSERT_EQ(drawn.size(), 9u);
  for (size_t i = 3; i < drawn.size(); ++i) EXPECT_EQ(drawn[i], drawn[0]);
  EXPECT_NE(drawn[1], drawn[0]);
  EXPECT_NE(drawn[2], drawn[0]);
  // Placement: the view's size in points at its corner, the bottom-left one in PDF terms.
  EXPECT_NE(content.find("q\r\n60.00 0.00 0.00 30.00 7.50 804.75 cm\r\n/" + drawn[0] + " Do\r\nQ\r\n"),
            std::string::npos) << content;
  EXPECT_NE(content.find("q\r\n45.00 0.00 0.00 30.00 82.50 804.75 cm\r\n/" + drawn[1] + " Do\r\nQ\r\n"),
            std::string::npos);
  // The bitmap's frame follows its image.
  EXPECT_NE(content.find("/" + drawn[2] + " Do\r\nQ\r\nq\r\n[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n142.50 819.75 m"),
            std::string::npos);
  std::string list;
  ASSERT_EQ(RunOnFile(pdf, "pdfimages -list {}", &list), 0);
  EXPECT_EQ(Count(list, " jpeg "), 9) << list;  // every placement, of the three objects
}

TEST_F(ViewsEndToEnd, PicturesFromABlobColumn) {
  std::string err;
  const std::string pdf = Run("blobs", &err);
  // The broken picture is reported once, by name; garbage and Null stay silent.
  EXPECT_NE(err.find("Pic: damaged image data"), std::string::npos) << err;
  EXPECT_EQ(Count(err, "Pic:"), 1) << err;
  const std::string content = Content(pdf);
  // Rows 1 and 6 show the same PNG (one image), row 4 the JPEG; the others only their frames.
  const std::vector<std::string> drawn = DrawnImages(content);
  ASSERT_EQ(drawn.size(), 3u) << content;
  EXPECT_EQ(drawn[0], drawn[2]);
  EXPECT_NE(drawn[0], drawn[1]);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 2);
  // Every row printed, also those after the broken picture; each picture view drew its frame.
  std::string text;
  ASSERT_EQ(RunOnFile(pdf, "pdftotext -layout {} -", &text), 0);
  for (const char* name : {"first", "garbage", "nothing", "photo", "broken", "last"})
    EXPECT_NE(text.find(name), std::string::npos) << name << text;
  EXPECT_EQ(Count(content, "2 J\r\n"), 6 * 4);
}

TEST_F(ViewsEndToEnd, VectorViewsAreTextAndPaths) {
  const std::string pdf = Run("vectors");
  const std::string content = PdfPageContent(pdf, 1);
  // Nothing is a picture: the texts are text, the check mark and the stamp are paths.
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  std::string text;
  ASSERT_EQ(RunOnFile(pdf, "pdftotext -layout {} -", &text), 0);
  for (const char* word : {"Поворот", "Итого", "жирно", "наклонно", "синим", "Разрядка", "слов", "ОПЛАЧЕНО"})
    EXPECT_NE(text.find(word), std::string::npos) << word << text;
  std::string fonts;
  ASSERT_EQ(RunOnFile(pdf, "pdffonts {}", &fonts), 0);
  EXPECT_NE(fonts.find("Arial,Bold"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("Arial,Italic"), std::string::npos) << fonts;
  // The rotation, the blue run, the green check mark filled, the stamp's clip, fill and outline.
  EXPECT_NE(content.find("0.0000 1.0000 -1.0000 0.0000 0 0 cm\n"), std::string::npos) << content;
  EXPECT_NE(content.find("0 0 1 rg\n"), std::string::npos) << content;
  EXPECT_NE(content.find("0 0.502 0 rg\n"), std::string::npos) << content;
  // The stamp's circle: its fill and its outline of 3 units (about 4.5 points at twice the size).
  EXPECT_TRUE(std::regex_search(content, std::regex("1 0.878 0.878 rg\n\\[\\] 0 d\n0 0 0.502 RG\n4.4\\d* w\n")))
      << content;
  EXPECT_EQ(Count(content, " c\n"), 4) << content;  // the circle
}

TEST_F(ViewsEndToEnd, RefusedMetafileIsReportedAndTheRunGoesOn) {
  std::string err;
  const std::string pdf = Run("bad_vectors", &err);
  EXPECT_NE(err.find("BadStamp: EMR_EoF not found"), std::string::npos) << err;
  std::string text;
  ASSERT_EQ(RunOnFile(pdf, "pdftotext -layout {} -", &text), 0);
  EXPECT_NE(text.find("после"), std::string::npos) << text;
  // The view keeps its frame; nothing of the refused drawing is left.
  const std::string content = "\n" + PdfPageContent(pdf, 1);
  EXPECT_EQ(Count(content, "\nq\n"), Count(content, "\nQ\n")) << content;
  EXPECT_EQ(Count(content, "2 J\n"), 4) << content;
}

}  // namespace
}  // namespace zavrik::test
