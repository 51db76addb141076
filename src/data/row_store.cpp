#include "data/row_store.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace zavrik::data {
namespace {
constexpr size_t kBlockBytes = 64 * 1024;
}

void RowStore::Append(std::string_view row) {
  if (row.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("row too long");
  if (blocks_.empty() || capacity_ - used_ < row.size()) {
    capacity_ = std::max(kBlockBytes, row.size());
    blocks_.push_back(std::make_unique<char[]>(capacity_));
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  if (!row.empty()) std::memcpy(at, row.data(), row.size());
  used_ += row.size();
  rows_.push_back({at, static_cast<uint32_t>(row.size())});
}

std::string_view RowStore::Row(size_t index) const {
  const Place& place = rows_.at(index);
  return {place.data, place.size};
}

void RowStore::Clear() {
  blocks_.clear();
  rows_.clear();
  used_ = capacity_ = 0;
}

}  // namespace zavrik::data
