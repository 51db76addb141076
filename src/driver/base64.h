// The program's Base64 output format: CR LF after every 76 characters, the bytes taken in groups
// of three as they come (the same text as encoding the whole input at once).
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace zavrik::driver {

// Encodes the bytes written through it; the document need not be kept whole before encoding.
class Base64Buffer : public std::streambuf {
 public:
  // The text so far with the last group padded; the buffer is then empty again.
  std::string Finish();

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;

 private:
  void Group(unsigned char a, unsigned char b, unsigned char c, size_t n);

  std::string out_;
  unsigned char pending_[3] = {};
  size_t pending_count_ = 0;
  int line_ = 0;
};

std::string EncodeBase64(std::string_view data);

}  // namespace zavrik::driver
