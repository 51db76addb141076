// The fetched rows of a query as packed bytes in fixed-size blocks: growing never copies what is
// already stored, and a row costs its bytes plus one index entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace zavrik::data {

class RowStore {
 public:
  void Append(std::string_view row);
  std::string_view Row(size_t index) const;
  size_t Size() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  void Clear();

 private:
  struct Place {
    const char* data;
    uint32_t size;
  };
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0;  // bytes taken in the last block
  size_t capacity_ = 0;  // bytes of the last block
  std::vector<Place> rows_;
};

}  // namespace zavrik::data
