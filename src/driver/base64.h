// The program's Base64 output format: CR LF after every 76 characters, input taken in 510-byte
// chunks with the line counter carried across chunks.
#pragma once

#include <string>
#include <string_view>

namespace zavrik::driver {

std::string EncodeBase64(std::string_view data);

}  // namespace zavrik::driver
