// The Base64 output from arbitrary bytes: chunking and line breaks must round-trip, every line
// holds at most 76 characters, writing in pieces gives the same text, and a stream that fails
// part-way is always reported.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>

#include "driver/base64.h"
#include "driver/driver.h"

namespace {

// Accepts `room` bytes, then fails every write.
class FailingBuffer : public std::streambuf {
 public:
  explicit FailingBuffer(size_t room) : room_(room) {}

 protected:
  int_type overflow(int_type c) override {
    if (room_ == 0) return traits_type::eof();
    --room_;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(room_));
    room_ -= static_cast<size_t>(taken);
    return taken;
  }

 private:
  size_t room_;
};

int Value(char c) {
  static const std::string alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  return static_cast<int>(alphabet.find(c));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik::driver;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = EncodeBase64(bytes);

  std::string decoded;
  unsigned bits = 0;
  int count = 0;
  size_t line = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n' || line != 76) std::abort();
      line = 0;
      ++i;
      continue;
    }
    if (++line > 76) std::abort();
    if (text[i] == '=') continue;
    const int v = Value(text[i]);
    if (v < 0) std::abort();
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      decoded.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  if (decoded != bytes) std::abort();
  if (text.size() != (size + 2) / 3 * 4 + (size + 2) / 3 / 19 * 2) std::abort();

  // Written in pieces whose sizes the input picks, the text is the same as encoded whole.
  Base64Buffer pieces;
  for (size_t pos = 0; pos < size;) {
    const size_t piece = std::min<size_t>(size - pos, 1 + data[pos] % 7);
    pieces.sputn(reinterpret_cast<const char*>(data) + pos, static_cast<std::streamsize>(piece));
    pos += piece;
  }
  if (pieces.Finish() != text) std::abort();

  // A stream with room for part of the line fails the write; with room for all of it, succeeds.
  const size_t room = size ? data[0] * 3 : 0;
  FailingBuffer buffer(room);
  std::ostream out(&buffer);
  const bool fits = room >= text.size() + 2;
  if ((WriteLine(out, text) == 0) != fits) std::abort();
  return 0;
}
