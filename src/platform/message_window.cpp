#include "platform/message_window.h"

#include <string>

namespace zavrik {

void ShowMessage(StringView title, StringView text, std::FILE* out) {
  std::string block = StringToUtf8(title) + ": " + StringToUtf8(text);
  if (block.empty() || block.back() != '\n') block += '\n';
  std::fwrite(block.data(), 1, block.size(), out);
  std::fflush(out);
}

}  // namespace zavrik
