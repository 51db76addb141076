// Picture decoders: recognising formats by their first bytes, decoding the fixture pictures (an
// 8 x 4 picture: red left half, blue right half, green bottom row), and refusing damaged or
// oversized data without reading past it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include <zlib.h>

#include "platform/emf_format.h"
#include "platform/image_decode.h"
#include "platform/raster_canvas.h"
#include "platform/wmf_player.h"

namespace zavrik {
namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
  std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/images/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Red, green and blue of a pixel, alpha left out.
uint32_t Rgb(uint32_t argb) { return argb & 0xFFFFFF; }

void ExpectRedBlue(const Image& image, int tolerance = 0) {
  ASSERT_EQ(image.width, 8);
  ASSERT_EQ(image.height, 4);
  auto near = [tolerance](uint32_t got, uint32_t want) {
    for (int shift : {0, 8, 16})
      if (std::abs(static_cast<int>((got >> shift) & 255) - static_cast<int>((want >> shift) & 255)) > tolerance)
        return false;
    return true;
  };
  EXPECT_TRUE(near(Rgb(image.At(1, 0)), 0xDC0000)) << std::hex << image.At(1, 0);
  EXPECT_TRUE(near(Rgb(image.At(6, 1)), 0x0000C8)) << std::hex << image.At(6, 1);
  EXPECT_TRUE(near(Rgb(image.At(3, 3)), 0x00A000)) << std::hex << image.At(3, 3);
  EXPECT_EQ(image.At(6, 1) >> 24, 255u);
}

TEST(ImageProbe, FormatsInTheirOrder) {
  EXPECT_EQ(ProbeImageFormat(Fixture("red_blue.bmp")), ImageFormat::kBitmap);
  EXPECT_EQ(ProbeImageFormat(Fixture("page.jpg")), ImageFormat::kJpeg);
  EXPECT_EQ(ProbeImageFormat(Fixture("red_blue.png")), ImageFormat::kPng);
  EXPECT_EQ(ProbeImageFormat(Fixture("red_blue.wmf")), ImageFormat::kWmf);
  EXPECT_EQ(ProbeImageFormat(Fixture("red_blue.ico")), ImageFormat::kIcon);
  EXPECT_EQ(ProbeImageFormat(Fixture("red_blue.tif")), ImageFormat::kTiff);
  // "BM" needs 14 bytes; fewer fall through to the later tests.
  const std::vector<uint8_t> short_bm{'B', 'M', 1, 1, 0, 0};
  EXPECT_EQ(ProbeImageFormat(short_bm), ImageFormat::kNone);
  const std::string text = "plain text, no picture";
  EXPECT_EQ(ProbeImageFormat({reinterpret_cast<const uint8_t*>(text.data()), text.size()}), ImageFormat::kNone);
  EXPECT_EQ(ProbeImageFormat({}), ImageFormat::kNone);
}

TEST(ImageDecode, FixturePictures) {
  ExpectRedBlue(DecodePng(Fixture("red_blue.png")));
  ExpectRedBlue(DecodeBmp(Fixture("red_blue.bmp")));
  ExpectRedBlue(DecodeBmp(Fixture("rle8.bmp")));
  ExpectRedBlue(DecodeIcon(Fixture("red_blue.ico")));
  ExpectRedBlue(DecodeTiff(Fixture("red_blue.tif")));
  const Image alpha = DecodePng(Fixture("alpha.png"));
  EXPECT_EQ(alpha.At(0, 0) >> 24, 0u);
  EXPECT_EQ(alpha.At(1, 0) >> 24, 255u);
  const Image jpeg = DecodeJpeg(Fixture("page.jpg"));
  EXPECT_GT(jpeg.width, 0);
  const Image cmyk = DecodeJpeg(Fixture("cmyk.jpg"));
  EXPECT_EQ(cmyk.width, jpeg.width);
  EXPECT_EQ(cmyk.height, jpeg.height);
}

TEST(ImageDecode, PngLengthStopsAtTheEndChunk) {
  std::vector<uint8_t> png = Fixture("red_blue.png");
  const size_t length = png.size();
  png.insert(png.end(), {'t', 'r', 'a', 'i', 'l'});
  EXPECT_EQ(PngLength(png), length);
  png.resize(length - 3);
  EXPECT_THROW(PngLength(png), ImageDataError);
}

TEST(ImageDecode, DamagedAndOversizedPictures) {
  auto expect_error = [](auto decode, std::vector<uint8_t> bytes, const std::string& message) {
    try {
      decode(bytes);
      ADD_FAILURE() << "no error for " << message;
    } catch (const ImageDataError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  };
  // A PNG header of 100000 x 100000 pixels: refused before anything is allocated.
  std::vector<uint8_t> huge = Fixture("red_blue.png");
  huge[16] = 0, huge[17] = 1, huge[18] = 0x86, huge[19] = 0xA0;
  huge[20] = 0, huge[21] = 1, huge[22] = 0x86, huge[23] = 0xA0;
  const uLong crc = crc32(0, huge.data() + 12, 17);
  for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  expect_error(DecodePng, huge, "image too large (100000 x 100000)");
  huge[30] ^= 1;  // a wrong checksum
  expect_error(DecodePng, huge, "damaged image data");
  std::vector<uint8_t> bmp = Fixture("red_blue.bmp");
  bmp[18] = 0xA0, bmp[19] = 0x86, bmp[20] = 1;  // width 100000
  bmp[22] = 0xA0, bmp[23] = 0x86, bmp[24] = 1;  // height 100000
  expect_error(DecodeBmp, bmp, "image too large (100000 x 100000)");
  const std::vector<uint8_t> full = Fixture("red_blue.bmp");
  expect_error(DecodeBmp, {full.begin(), full.begin() + 70}, "damaged image data");
  const std::vector<uint8_t> jpeg = Fixture("page.jpg");
  expect_error(DecodeJpeg, {jpeg.begin(), jpeg.begin() + 20}, "damaged image data");
  const std::vector<uint8_t> tiff = Fixture("red_blue.tif");
  expect_error(DecodeTiff, {tiff.begin(), tiff.begin() + 40}, "damaged image data");
  expect_error(DecodeIcon, {0, 0, 1, 0, 1, 0, 8, 4, 0, 0, 1, 0, 24, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0},
               "damaged image data");
  expect_error(DecodePng, {0x89, 'P', 'N', 'G'}, "damaged image data");
}

TEST(WindowsMetafile, ConvertedToAnEnhancedMetafile) {
  const std::vector<uint8_t> wmf = Fixture("red_blue.wmf");
  const WmfPicture picture = ConvertWmfToEmf(wmf);
  // 800 × 400 units at 1000 per inch.
  EXPECT_EQ(picture.width, 77);
  EXPECT_EQ(picture.height, 38);
  EXPECT_EQ(picture.length, wmf.size());
  EXPECT_NO_THROW(ReadEmfRecords(picture.emf));
  RasterCanvas canvas(77, 38);
  PlayWmf(wmf, canvas, 77, 38);
  EXPECT_EQ(canvas.Pixel(10, 10), RgbColor(220, 0, 0));
  EXPECT_EQ(canvas.Pixel(60, 20), RgbColor(0, 0, 200));
  std::vector<uint8_t> broken = wmf;
  broken[40] = 0xFF, broken[41] = 0xFF;  // a record longer than the file
  EXPECT_THROW(ConvertWmfToEmf(broken), ImageDataError);
}

}  // namespace
}  // namespace zavrik
