#include "core/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace zavrik {
namespace {

TEST(Md5, KnownDigests) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  std::string digits;
  for (int i = 0; i < 8; ++i) digits += "1234567890";
  EXPECT_EQ(Md5Hex(digits), "57edf4a22be3c955ac49da2e2107b67a");
}

// Lengths around the 56-byte padding limit and the 64-byte block.
TEST(Md5, PaddingBoundaries) {
  const std::pair<size_t, const char*> cases[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"},  {56, "3b0c8ac703f828b04c6c197006d17218"},
      {63, "b06521f39153d618550606be297466d5"},  {64, "014842d480b571495a4a0363793f7367"},
      {65, "c743a45e0d2e6a95cb859adae0248435"},  {119, "8a7bd0732ed6a28ce75f6dabc90e1613"},
      {120, "5f61c0ccad4cac44c75ff505e1f1e537"}, {128, "e510683b3f5ffe4093d021808bc6ff70"}};
  for (const auto& [size, digest] : cases) EXPECT_EQ(Md5Hex(std::string(size, 'a')), digest) << size;
}

// Pieces of any size give the digest of the whole; a finished digest starts over.
TEST(Md5, PiecesAndReuse) {
  std::string data;
  for (int i = 0; i < 1000; ++i) data += static_cast<char>((i * 7 + 3 * (i >> 3)) & 255);
  const std::string expected = "25cf7303cfb9903d6165d9fee53d680a";
  ASSERT_EQ(Md5Hex(data), expected);
  Md5 md5;
  for (size_t piece : {1u, 3u, 63u, 64u, 65u, 127u, 200u}) {
    for (size_t at = 0; at < data.size(); at += piece)
      md5.Update(std::string_view(data).substr(at, piece));
    EXPECT_EQ(HexDigest(md5.Finish()), expected) << piece;
  }
}

}  // namespace
}  // namespace zavrik
