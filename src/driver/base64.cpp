#include "driver/base64.h"

namespace zavrik::driver {
namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

void Base64Buffer::Group(unsigned char a, unsigned char b, unsigned char c, size_t n) {
  const unsigned v = (unsigned{a} << 16) | (unsigned{b} << 8) | c;
  const char group[4] = {kAlphabet[(v >> 18) & 63], kAlphabet[(v >> 12) & 63],
                         n > 1 ? kAlphabet[(v >> 6) & 63] : '=', n > 2 ? kAlphabet[v & 63] : '='};
  out_.append(group, 4);
  line_ += 4;
  if (line_ > 75) {
    out_ += "\r\n";
    line_ = 0;
  }
}

std::streamsize Base64Buffer::xsputn(const char* data, std::streamsize size) {
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  const auto* end = p + size;
  while (pending_count_ > 0 && pending_count_ < 3 && p < end) pending_[pending_count_++] = *p++;
  if (pending_count_ == 3) {
    Group(pending_[0], pending_[1], pending_[2], 3);
    pending_count_ = 0;
  }
  for (; end - p >= 3; p += 3) Group(p[0], p[1], p[2], 3);
  while (p < end) pending_[pending_count_++] = *p++;
  return size;
}

Base64Buffer::int_type Base64Buffer::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  const char byte = traits_type::to_char_type(ch);
  xsputn(&byte, 1);
  return ch;
}

std::string Base64Buffer::Finish() {
  if (pending_count_ > 0)
    Group(pending_[0], pending_count_ > 1 ? pending_[1] : 0, 0, pending_count_);
  pending_count_ = 0;
  line_ = 0;
  return std::move(out_);
}

std::string EncodeBase64(std::string_view data) {
  Base64Buffer buffer;
  buffer.sputn(data.data(), static_cast<std::streamsize>(data.size()));
  return buffer.Finish();
}

}  // namespace zavrik::driver
