#include "core/md5.h"

#include <algorithm>
#include <cstring>

namespace zavrik {
namespace {

constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                             5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                             4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                             6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

inline uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline uint32_t LittleEndianWord(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

void Md5::Block(const uint8_t* block) {
  uint32_t words[16];
  for (int i = 0; i < 16; ++i) words[i] = LittleEndianWord(block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (int i = 0; i < 64; ++i) {
    uint32_t f;
    int g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) & 15;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) & 15;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) & 15;
    }
    const uint32_t next = b + RotateLeft(a + f + kSines[i] + words[g], kShifts[i]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::Update(std::string_view bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t size = bytes.size();
  total_ += size;
  if (pending_size_ > 0) {
    const size_t take = std::min(size, pending_.size() - pending_size_);
    std::memcpy(pending_.data() + pending_size_, p, take);
    pending_size_ += take;
    p += take;
    size -= take;
    if (pending_size_ < pending_.size()) return;
    Block(pending_.data());
    pending_size_ = 0;
  }
  for (; size >= 64; p += 64, size -= 64) Block(p);
  std::memcpy(pending_.data(), p, size);
  pending_size_ = size;
}

Md5::Digest Md5::Finish() {
  const uint64_t bits = total_ * 8;
  uint8_t tail[72] = {0x80};
  const size_t padding = (pending_size_ < 56 ? 56 : 120) - pending_size_;
  for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<uint8_t>(bits >> (8 * i));
  Update(std::string_view(reinterpret_cast<const char*>(tail), padding + 8));
  Digest digest;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state_[i] >> (8 * j));
  *this = Md5();
  return digest;
}

std::string HexDigest(const Md5::Digest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex(2 * digest.size(), '0');
  for (size_t i = 0; i < digest.size(); ++i) {
    hex[2 * i] = kHex[digest[i] >> 4];
    hex[2 * i + 1] = kHex[digest[i] & 15];
  }
  return hex;
}

std::string Md5Hex(std::string_view bytes) {
  Md5 md5;
  md5.Update(bytes);
  return HexDigest(md5.Finish());
}

}  // namespace zavrik
