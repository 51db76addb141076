// Views written through the vector conversion: rotated, marked-up and character-spaced texts as
// real text, check boxes and metafile pictures as paths, and metafiles the player refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>

#include "pdf/emf_builder.h"
#include "pdf/pdf_page_fixture.h"
#include "platform/emf_recorder.h"
#include "report/model/views/qbx_check_box_view.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_report.h"

namespace zavrik::pdf::test {
namespace {

std::string PageContent(const std::string& pdf) {
  for (const std::string& stream : Streams(pdf))
    if (stream.rfind("q\r\n", 0) == 0) return stream;
  return {};
}

std::string Fonts(const std::string& pdf) {
  std::string list;
  EXPECT_EQ(RunOnFile(pdf, "pdffonts {}", &list), 0);
  return list;
}

TEST(PdfVector, RotatedTextsAreRealText) {
  Page p;
  TqbxMemoView& up = p.Memo(u"Вверх", 10, 0, 30, 100);
  up.SetRotation(90);
  TqbxMemoView& slope = p.Memo(u"Наклон", 100, 0, 100, 100);
  slope.SetRotation(45);
  const std::string pdf = ExportUncompressed({&p});
  const std::string content = PageContent(pdf);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  EXPECT_TRUE(Contains(content, "0.0000 1.0000 -1.0000 0.0000 0 0 cm\r\n")) << content;
  EXPECT_TRUE(Contains(content, "0.7071 0.7071 -0.7071 0.7071 0 0 cm\r\n")) << content;
  EXPECT_EQ(Count(content, "BT\r\n"), 2);
  const std::string text = ExtractedText(pdf);
  EXPECT_TRUE(Contains(text, "Вверх")) << text;
  // The sloped word comes out letter by letter on its own lines, in order.
  std::string letters;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) letters += c;
  EXPECT_TRUE(Contains(letters, "Наклон")) << text;
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfVector, MarkupRunsKeepTheirFacesAndColours) {
  Page p;
  TqbxMemoView& memo = p.Memo(u"обычный <b>жирный</b> <i>курсив</i> <font color=\"#FF0000\">красный</font>", 10, 0,
                              500, 20);
  memo.AllowHTMLTags = true;
  const std::string pdf = ExportUncompressed({&p});
  const std::string content = PageContent(pdf);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  EXPECT_TRUE(Contains(content, "1 0 0 rg\r\n")) << content;
  const std::string fonts = Fonts(pdf);
  EXPECT_TRUE(Contains(fonts, "Arial,Bold")) << fonts;
  EXPECT_TRUE(Contains(fonts, "Arial,Italic")) << fonts;
  const std::string text = ExtractedText(pdf);
  for (const char* word : {"обычный", "жирный", "курсив", "красный"}) EXPECT_TRUE(Contains(text, word)) << text;
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfVector, CharacterSpacingPositionsEachGlyph) {
  Page p;
  TqbxMemoView& memo = p.Memo(u"Разрядка текста", 10, 0, 400, 20);
  memo.CharSpacing = 3;
  const std::string pdf = ExportUncompressed({&p});
  const std::string content = PageContent(pdf);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  // Every glyph is moved by the spacing: negative adjustments between the glyphs.
  EXPECT_TRUE(std::regex_search(content, std::regex("\\[<[0-9A-F]{4}>-\\d+<[0-9A-F]{4}>-\\d+<"))) << content;
  const std::string text = ExtractedText(pdf);
  EXPECT_TRUE(Contains(text, "Разрядка")) << text;
  EXPECT_TRUE(Contains(text, "текста")) << text;
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfVector, CheckBoxesArePaths) {
  Page p;
  auto& checked = TqbxComponent::CreateIn<TqbxCheckBoxView>(*p.band);
  checked.SetBounds(10, 0, 20, 20);
  checked.SetCheckColor(0x0000FF);
  auto& crossed = TqbxComponent::CreateIn<TqbxCheckBoxView>(*p.band);
  crossed.SetBounds(40, 0, 20, 20);
  crossed.SetChecked(false);
  crossed.SetUncheckStyle(usCross);
  const std::string pdf = ExportUncompressed({&p});
  const std::string content = PageContent(pdf);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  // The marks are filled outlines in their colour, inside the views.
  EXPECT_TRUE(Contains(content, "1 0 0 rg\r\n")) << content;
  EXPECT_GE(Count(content, "f*\r\n") + Count(content, "f\r\n"), 2) << content;
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

// A small picture: clipped, a blue rectangle outlined in green, and a red text.
std::vector<uint8_t> RecordedPicture() {
  EmfRecorder r(100, 50);
  r.IntersectClip({5, 5, 95, 45});
  r.SetPen({.color = 0x00FF00, .width = 2});
  r.SetBrush({.color = 0xFF0000, .style = BrushStyle::kSolid});
  r.Rectangle({10, 10, 60, 40});
  DeviceFont font;
  font.font.name = u"Arial";
  font.font.color = 0x0000FF;
  font.pixel_height = 13;
  r.SetFont(font);
  r.TextOut(62, 10, u"Печать", {}, nullptr);
  return r.Finish();
}

TEST(PdfVector, MetafilePicturesPlayTheirOwnRecords) {
  Page p;
  auto& picture = TqbxComponent::CreateIn<TqbxPictureView>(*p.band);
  picture.SetBounds(10, 0, 200, 100);
  const std::vector<uint8_t> emf = RecordedPicture();
  ASSERT_TRUE(picture.Picture()->LoadFromBytes(emf));
  const std::string pdf = ExportUncompressed({&p});
  const std::string content = PageContent(pdf);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  // The picture (101 × 51 pixels: its frame is inclusive) fitted into the view keeping its
  // aspect: 198 × 100 pixels, 148.5 × 75 points, for a frame of 100 × 50 units. Inside the view's
  // clip and its own: the clip rectangle (5, 5) to (95, 45), the blue fill and the green outline.
  EXPECT_TRUE(Contains(content, "q\r\n7.5 767.25 150 -75 re\r\nW\r\nn\r\nq\r\n7.5 692.25 148.5 75 re\r\nW*\r\n"))
      << content;
  EXPECT_TRUE(Contains(content, "14.925 699.75 133.65 60 re\r\nW*\r\nn\r\n")) << content;
  EXPECT_TRUE(Contains(content, "0 0 1 rg\r\n[] 0 d\r\n0 1 0 RG\r\n2.985 w\r\n")) << content;
  EXPECT_TRUE(Contains(content, "1 0 0 rg\r\n")) << content;
  EXPECT_TRUE(Contains(ExtractedText(pdf), "Печать"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

// A metafile picture holding one alpha-blended bitmap at half opacity.
std::string ExportAlphaPicture(bool transparency) {
  Page p;
  auto& picture = TqbxComponent::CreateIn<TqbxPictureView>(*p.band);
  picture.SetBounds(10, 0, 200, 100);
  EmfBitmap bitmap;
  bitmap.type = 114;
  bitmap.rop = 0x01FF0000;
  bitmap.bits = 32;
  bitmap.pixels = {0x80800000, 0x80008000};
  Emf emf;
  emf.Bitmap(bitmap).Eof();
  EXPECT_TRUE(picture.Picture()->LoadFromBytes(emf.Bytes()));
  TqbxPDFExport filter;
  filter.Transparency = transparency;
  return Export(filter, {&p});
}

TEST(PdfVector, AlphaBlendedBitmapsKeepTheirAlphaAsASoftMask) {
  const std::string pdf = ExportAlphaPicture(true);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 1);
  EXPECT_EQ(Count(pdf, "/Subtype/Image/ColorSpace/DeviceGray"), 1);
  EXPECT_TRUE(Contains(pdf, "/SMask ")) << pdf;
  EXPECT_TRUE(Contains(pdf, "/Group << /Type /Group /S /Transparency"));
  // The mask, compressed like every stream, holds the alpha of both pixels.
  const std::vector<std::string> streams = Streams(pdf);
  EXPECT_NE(std::find(streams.begin(), streams.end(), std::string(2, '\x80')), streams.end());
  EXPECT_EQ(QpdfCheck(pdf), 0);

  const std::string opaque = ExportAlphaPicture(false);
  EXPECT_EQ(Count(opaque, "/Subtype /Image"), 1);
  EXPECT_FALSE(Contains(opaque, "/SMask"));
  EXPECT_EQ(QpdfCheck(opaque), 0);
}

TEST(PdfVector, RecordsNotDrawnAreReported) {
  TqbxReport report;
  Page p;
  auto& picture = TqbxComponent::CreateIn<TqbxPictureView>(*p.band);
  picture.SetName(u"Logo");
  picture.SetBounds(10, 0, 200, 100);
  Emf emf;
  emf.Record(43, {0, 0, 100, 50});                // a rectangle, drawn
  emf.Record(118, {0, 0, 10, 10, 0, 0, 0}).Eof();  // a gradient fill, not drawn
  ASSERT_TRUE(picture.Picture()->LoadFromBytes(emf.Bytes()));
  TqbxPDFExport filter;
  filter.Compressed = false;
  filter.Report = &report;
  const std::string pdf = Export(filter, {&p});
  EXPECT_TRUE(Contains(StringToUtf8(report.Errors.Text()), "Logo: не выведены записи метафайла: EMR_GRADIENTFILL"))
      << StringToUtf8(report.Errors.Text());
  EXPECT_TRUE(Contains(PageContent(pdf), " re\r\n"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfVector, RefusedMetafileIsReportedAndThePageCompletes) {
  TqbxReport report;
  Page p;
  auto& picture = TqbxComponent::CreateIn<TqbxPictureView>(*p.band);
  picture.SetName(u"Logo");
  picture.SetBounds(10, 0, 200, 100);
  std::vector<uint8_t> emf = RecordedPicture();
  emf[68] = 4;  // the header announces palette entries, and the end-of-file record is cut off
  emf.resize(emf.size() - 20);
  ASSERT_TRUE(picture.Picture()->LoadFromBytes(emf));
  p.Memo(u"после", 10, 120, 100, 20);
  TqbxPDFExport filter;
  filter.Compressed = false;
  filter.Report = &report;
  const std::string pdf = Export(filter, {&p});
  EXPECT_TRUE(Contains(StringToUtf8(report.Errors.Text()), "Logo: EMR_EoF not found"))
      << StringToUtf8(report.Errors.Text());
  EXPECT_TRUE(Contains(ExtractedText(pdf), "после"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

}  // namespace
}  // namespace zavrik::pdf::test
