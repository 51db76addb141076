#include "core/error.h"

namespace zavrik {

Error::Error(String message) : message_(std::move(message)), utf8_(StringToUtf8(message_)) {}

Error::Error(std::string_view utf8_message)
    : message_(Utf8ToString(utf8_message)), utf8_(utf8_message) {}

}  // namespace zavrik
