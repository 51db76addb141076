#include "driver/base64.h"

#include <gtest/gtest.h>

#include "support/test_helpers.h"

namespace zavrik::driver {
namespace {

std::string Bytes(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 3);
  return s;
}

TEST(Base64, KnownValuesAndPadding) {
  EXPECT_EQ(EncodeBase64(""), "");
  EXPECT_EQ(EncodeBase64("M"), "TQ==");
  EXPECT_EQ(EncodeBase64("Ma"), "TWE=");
  EXPECT_EQ(EncodeBase64("Man"), "TWFu");
  EXPECT_EQ(EncodeBase64("\xFF\xFE\xFD"), "//79");
}

TEST(Base64, LineBreakAfterEvery76CharactersIncludingTheLast) {
  const std::string text57 = EncodeBase64(Bytes(57));
  ASSERT_EQ(text57.size(), 78u);
  EXPECT_EQ(text57.substr(76), "\r\n");
  const std::string text58 = EncodeBase64(Bytes(58));
  ASSERT_EQ(text58.size(), 82u);
  EXPECT_EQ(text58.substr(76, 2), "\r\n");
  EXPECT_EQ(text58.substr(80), "==");
}

// The document is encoded as the export writes it: pieces of any size, single characters
// included, give the text of the whole.
TEST(Base64, WritingInPiecesGivesTheTextOfTheWhole) {
  const std::string data = Bytes(5000);
  for (size_t piece : {1u, 2u, 4u, 5u, 76u, 509u, 1021u}) {
    Base64Buffer buffer;
    std::ostream out(&buffer);
    for (size_t pos = 0; pos < data.size(); pos += piece) {
      if (piece == 1) out.put(data[pos]);
      else out.write(data.data() + pos, static_cast<std::streamsize>(std::min(piece, data.size() - pos)));
    }
    out.flush();
    EXPECT_EQ(buffer.Finish(), EncodeBase64(data)) << piece;
    EXPECT_EQ(buffer.Finish(), "");  // finishing empties it
  }
}

TEST(Base64, ChunkBoundariesKeepTheLineCounter) {
  for (size_t n : {509u, 510u, 511u, 1020u, 1021u, 4000u}) {
    const std::string data = Bytes(n);
    const std::string text = EncodeBase64(data);
    EXPECT_EQ(test::DecodeBase64(text), data) << n;
    // Every line but the last holds exactly 76 characters.
    size_t start = 0;
    while (true) {
      const size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        EXPECT_LE(text.size() - start, 76u) << n;
        break;
      }
      EXPECT_EQ(end - start, 76u) << n;
      start = end + 2;
    }
  }
}

}  // namespace
}  // namespace zavrik::driver
