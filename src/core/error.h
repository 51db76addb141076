// The ordinary error kind: every failure the program handles is an Error carrying a message.
#pragma once

#include <exception>
#include <string>

#include "core/ustring.h"

namespace zavrik {

class Error : public std::exception {
 public:
  explicit Error(String message);
  explicit Error(std::string_view utf8_message);
  const String& Message() const { return message_; }
  // The message as UTF-8.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  String message_;
  std::string utf8_;
};

}  // namespace zavrik
