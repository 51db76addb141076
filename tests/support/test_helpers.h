// Small helpers shared by the tests.
#pragma once

#include <functional>
#include <string>

#include "core/error.h"

namespace zavrik::test {

// The message of the Error that f raises, or "<no error>".
inline String ErrorMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.Message();
  }
  return u"<no error>";
}

// Decodes Base64 text, skipping line breaks and padding.
inline std::string DecodeBase64(const std::string& text) {
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

}  // namespace zavrik::test
