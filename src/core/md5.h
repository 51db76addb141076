#pragma once
// MD5 message digest (RFC 1321): file identifiers and image keys, not security.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zavrik {

class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  void Update(std::string_view bytes);
  // The digest of everything given; the object starts over afterwards.
  Digest Finish();

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 4> state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
  std::array<uint8_t, 64> pending_{};
  size_t pending_size_ = 0;
  uint64_t total_ = 0;
};

// The digest as 32 lower-case hex digits.
std::string HexDigest(const Md5::Digest& digest);
std::string Md5Hex(std::string_view bytes);

}  // namespace zavrik
