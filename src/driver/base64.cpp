#include "driver/base64.h"

#include <algorithm>

namespace zavrik::driver {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kChunk = 510;  // a multiple of 3: no group spans two chunks

class Encoder {
 public:
  explicit Encoder(std::string& out) : out_(out) {}

  void Chunk(const unsigned char* p, size_t n) {
    for (size_t i = 0; i < n; i += 3) Group(p + i, std::min<size_t>(3, n - i));
  }

 private:
  void Group(const unsigned char* p, size_t n) {
    const unsigned v = (p[0] << 16) | (n > 1 ? p[1] << 8 : 0) | (n > 2 ? p[2] : 0);
    out_ += kAlphabet[(v >> 18) & 63];
    out_ += kAlphabet[(v >> 12) & 63];
    out_ += n > 1 ? kAlphabet[(v >> 6) & 63] : '=';
    out_ += n > 2 ? kAlphabet[v & 63] : '=';
    line_ += 4;
    if (line_ > 75) {
      out_ += "\r\n";
      line_ = 0;
    }
  }

  std::string& out_;
  int line_ = 0;
};

}  // namespace

std::string EncodeBase64(std::string_view data) {
  std::string out;
  out.reserve(data.size() / 57 * 78 + 80);
  Encoder encoder(out);
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  for (size_t pos = 0; pos < data.size(); pos += kChunk)
    encoder.Chunk(bytes + pos, std::min(kChunk, data.size() - pos));
  return out;
}

}  // namespace zavrik::driver
