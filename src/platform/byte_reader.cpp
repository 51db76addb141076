#include "platform/byte_reader.h"

#include <string_view>

#include "core/error.h"

namespace zavrik {
namespace {

[[noreturn]] void EndOfData() { throw Error(std::string_view("Unexpected end of data")); }

}  // namespace

size_t ByteReader::Checked(size_t count) const {
  if (count > Remaining()) EndOfData();
  return position_;
}

void ByteReader::Seek(size_t position) {
  if (position > bytes_.size()) EndOfData();
  position_ = position;
}

ByteReader ByteReader::Slice(size_t offset, size_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) EndOfData();
  return ByteReader(bytes_.subspan(offset, count));
}

}  // namespace zavrik
