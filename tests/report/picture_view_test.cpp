// The picture view: loading by format probe and storage header, the template form of pictures,
// files named by FileLink, fitting the image into the view, and the difference text.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/raster_canvas.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_page.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_report.h"
#include "platform/byte_reader.h"
#include "report/document/qbx_prop_stream.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik::test {
namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/images/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A 24-bit BMP file of one colour ($00BBGGRR).
std::vector<uint8_t> SolidBmp(int width, int height, uint32_t color) {
  const int stride = (width * 3 + 3) / 4 * 4;
  ByteWriter w;
  w.U8('B'), w.U8('M');
  w.U32(54 + stride * height), w.U32(0), w.U32(54);
  w.U32(40), w.I32(width), w.I32(height), w.U16(1), w.U16(24), w.U32(0), w.U32(stride * height);
  w.U32(2835), w.U32(2835), w.U32(0), w.U32(0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) w.U8(BlueOf(color)), w.U8(GreenOf(color)), w.U8(RedOf(color));
    for (int i = width * 3; i < stride; ++i) w.U8(0);
  }
  return w.Bytes();
}

// A temporary folder removed with its files.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zavrik-pictures-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes, size_t count) const {
    std::ofstream(File(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(std::min(count, bytes.size())));
  }

 private:
  std::string path_;
};

struct ReportWithPicture {
  ReportWithPicture() {
    RegisterReportClasses();
    auto& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
    auto& band = TqbxComponent::CreateIn<TqbxMasterData>(page);
    view = &TqbxComponent::CreateIn<TqbxPictureView>(band);
    view->SetName(u"Logo");
    view->SetBounds(0, 0, 100, 100);
  }
  TqbxReport report;
  TqbxPictureView* view;
};

TEST(PictureView, Defaults) {
  TqbxPictureView view;
  EXPECT_TRUE(view.Stretched());
  EXPECT_TRUE(view.KeepAspectRatio());
  EXPECT_FALSE(view.Center());
  EXPECT_FALSE(view.AutoSize());
  EXPECT_EQ(view.TransparentColor(), 16777215);
  EXPECT_FALSE(view.ComponentStyle() & csDefaultDiff);
  EXPECT_TRUE(view.Picture()->Empty());
}

TEST(PictureView, StorageHeaderInFrontOfAPicture) {
  const std::vector<uint8_t> png = Fixture("red_blue.png");
  ByteWriter w;
  w.U16(1), w.U16(256), w.U32(static_cast<uint32_t>(png.size()));
  w.Append(png);
  TqbxPictureView view;
  EXPECT_EQ(view.LoadPictureFromStream(w.Bytes()), 0u);
  EXPECT_EQ(view.Picture()->Format(), ImageFormat::kPng);
  EXPECT_EQ(view.Picture()->Width(), 8);
  EXPECT_TRUE(view.PictureChanged());
  // A wrong length: the header is taken as data and nothing is recognised.
  w.PatchU32(4, static_cast<uint32_t>(png.size() + 1));
  EXPECT_EQ(view.LoadPictureFromStream(w.Bytes()), E_INVALIDARG);
  EXPECT_TRUE(view.Picture()->Empty());
  // Bytes in no known format are silent; damaged bytes of a known one raise.
  const std::vector<uint8_t> text{'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
  EXPECT_EQ(view.LoadPictureFromStream(text), E_INVALIDARG);
  const std::vector<uint8_t> broken(png.begin(), png.begin() + 30);
  EXPECT_THROW(view.LoadPictureFromStream(broken), ImageDataError);
  EXPECT_TRUE(view.Picture()->Empty());
}

TEST(PictureView, AutoSizeFollowsThePicture) {
  TqbxPictureView view;
  view.SetBounds(0, 0, 50, 50);
  view.SetAutoSize(true);
  EXPECT_EQ(view.Width(), 50);
  view.LoadPictureFromStream(Fixture("red_blue.bmp"));
  EXPECT_EQ(view.Width(), 8);
  EXPECT_EQ(view.Height(), 4);
}

TEST(PictureView, TemplateFormOfEveryClass) {
  for (const char* name : {"red_blue.png", "red_blue.bmp", "page.jpg", "red_blue.ico", "red_blue.tif",
                           "red_blue.wmf"}) {
    TqbxPictureView view;
    view.SetName(u"P");
    ASSERT_EQ(view.LoadPictureFromStream(Fixture(name)), 0u) << name;
    TqbxXMLSerializer writer;
    const String text = writer.WriteComponentStr(view);
    EXPECT_NE(text.find(u"Picture.PropData=\"0444617461"), String::npos) << name;  // "Data"
    TqbxXMLSerializer reader;
    std::unique_ptr<TqbxComponent> back = reader.ReadDetachedComponentStr(text);
    auto& copy = dynamic_cast<TqbxPictureView&>(*back);
    EXPECT_EQ(copy.Picture()->Format(), view.Picture()->Format()) << name;
    EXPECT_EQ(copy.Picture()->Bytes(), view.Picture()->Bytes()) << name;
    EXPECT_TRUE(reader.Errors.Empty()) << name;
  }
}

TEST(PictureView, TemplateDataOfOtherClassesAndDamagedData) {
  TqbxXMLSerializer serializer;
  TqbxPictureView view;
  view.SetName(u"Logo");
  auto read = [&](const std::string& data) {
    TqbxPropWriter w;
    w.WritePropName(u"Data");
    w.WriteBinary(data);
    serializer.XMLToObj(u"Picture.PropData=\"" + BytesToHex(w.Bytes()) + u"\"", view);
  };
  const std::vector<uint8_t> png = Fixture("red_blue.png");
  read(std::string("\x0ATPNGObject") + std::string(png.begin(), png.end()) + "tail");
  EXPECT_EQ(view.Picture()->Format(), ImageFormat::kPng);
  read(std::string("\x09TGIFImage") + "GIF89a");
  EXPECT_TRUE(view.Picture()->Empty());
  EXPECT_TRUE(serializer.Errors.Empty());
  read(std::string("\x09TMetafile") + std::string("\x04\x00\x00\x00", 4));
  EXPECT_TRUE(view.Picture()->Empty());
  read(std::string("\x09TPngImage") + std::string(png.begin(), png.begin() + 40));
  EXPECT_TRUE(view.Picture()->Empty());
  ASSERT_EQ(serializer.Errors.Count(), 1);
  EXPECT_EQ(serializer.Errors[0], u"Logo: damaged image data");
}

TEST(PictureView, StretchedKeepingTheAspectRatio) {
  TqbxPictureView view;
  view.SetBounds(0, 0, 100, 100);
  view.LoadPictureFromStream(SolidBmp(200, 100, clRed));
  RasterCanvas canvas(100, 100);
  view.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(50, 10), clRed);
  EXPECT_EQ(canvas.Pixel(50, 49), clRed);
  EXPECT_EQ(canvas.Pixel(50, 51), clWhite);
  view.SetCenter(true);
  RasterCanvas centred(100, 100);
  view.Draw(centred, 1, 1, 0, 0);
  EXPECT_EQ(centred.Pixel(50, 24), clWhite);
  EXPECT_EQ(centred.Pixel(50, 26), clRed);
  EXPECT_EQ(centred.Pixel(50, 74), clRed);
  EXPECT_EQ(centred.Pixel(50, 76), clWhite);
  // Not stretched: its own size, clipped to the view.
  view.SetStretched(false);
  view.SetCenter(false);
  RasterCanvas natural(300, 300);
  view.Draw(natural, 1, 1, 0, 0);
  EXPECT_EQ(natural.Pixel(99, 99), clRed);
  EXPECT_EQ(natural.Pixel(150, 50), clWhite);
}

TEST(PictureView, TransparentColourIsLeftOut) {
  TqbxPictureView view;
  view.SetBounds(0, 0, 20, 20);
  view.LoadPictureFromStream(SolidBmp(2, 2, clWhite));
  view.SetColor(clRed);
  view.SetTransparent(true);
  RasterCanvas canvas(20, 20, RgbColor(0, 0, 255));
  view.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(10, 10), clRed);  // the fill shows through
}

TEST(PictureView, FileLinks) {
  TempFolder dir;
  ReportWithPicture r;
  const std::vector<uint8_t> png = Fixture("red_blue.png");
  dir.Write("logo.PNG", png, png.size());
  dir.Write("broken.png", png, 50);
  dir.Write("logo.gif", {'G', 'I', 'F', '8', '9', 'a'}, 6);
  dir.Write("png_named.jpg", png, png.size());
  auto load = [&](const std::string& name) {
    r.view->SetFileLink(Utf8ToString(dir.File(name)));
    r.view->GetData();
  };
  load("logo.PNG");
  EXPECT_EQ(r.view->Picture()->Width(), 8);
  load("missing.png");
  EXPECT_TRUE(r.view->Picture()->Empty());
  load("");  // the folder itself
  EXPECT_TRUE(r.view->Picture()->Empty());
  EXPECT_TRUE(r.report.Errors.Empty());
  load("broken.png");
  EXPECT_TRUE(r.view->Picture()->Empty());
  load("logo.gif");
  load("png_named.jpg");  // a PNG named as a JPEG: the JPEG decoder refuses it
  const std::vector<String>& errors = r.report.Errors.Items();
  ASSERT_EQ(errors.size(), 2u) << StringToUtf8(r.report.Errors.Text());
  EXPECT_NE(std::find(errors.begin(), errors.end(), u"Logo: Unknown picture file extension (.gif)"), errors.end());
  EXPECT_NE(std::find(errors.begin(), errors.end(), u"Logo: damaged image data"), errors.end());
}

TEST(PictureView, DiffAlwaysCarriesTheImageIndex) {
  TqbxPictureView view, source;
  view.LoadPictureFromStream(Fixture("red_blue.png"));
  String diff = view.Diff(&source);
  EXPECT_NE(diff.find(u" ImageIndex=\"0\""), String::npos);
  EXPECT_EQ(diff.find(u"Transparent"), String::npos);
  EXPECT_EQ(diff.find(u"Picture"), String::npos);
  view.SetTransparent(true);
  view.SetTransparentColor(255);
  diff = view.Diff(&source);
  EXPECT_NE(diff.find(u" Transparent=\"True\" TransparentColor=\"255\""), String::npos) << StringToUtf8(diff);
}

}  // namespace
}  // namespace zavrik::test
