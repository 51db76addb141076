#include "driver/base64.h"

#include <gtest/gtest.h>

namespace zavrik::driver {
namespace {

// Decodes the program's Base64 text (CR LF ignored).
std::string Decode(const std::string& text) {
  static const std::string alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    const size_t v = alphabet.find(c);
    if (v == std::string::npos) continue;
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return out;
}

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

TEST(Base64, ChunkBoundariesKeepTheLineCounter) {
  for (size_t n : {509u, 510u, 511u, 1020u, 1021u, 4000u}) {
    const std::string data = Bytes(n);
    const std::string text = EncodeBase64(data);
    EXPECT_EQ(Decode(text), data) << n;
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
