// Bounds-checked little-endian reading of untrusted bytes and the matching writer. A read past
// the end raises Error("Unexpected end of data"), the only failure the reader produces.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace zavrik {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Size() const { return bytes_.size(); }
  size_t Position() const { return position_; }
  size_t Remaining() const { return bytes_.size() - position_; }
  bool CanRead(size_t count) const { return count <= Remaining(); }
  void Seek(size_t position);
  void Skip(size_t count) { Seek(Checked(count) + count); }

  uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
  int16_t I16() { return static_cast<int16_t>(Little(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
  int32_t I32() { return static_cast<int32_t>(Little(4)); }
  float F32() {
    const uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::span<const uint8_t> Bytes(size_t count) {
    const size_t at = Checked(count);
    position_ += count;
    return bytes_.subspan(at, count);
  }
  // A reader over count bytes at offset (relative to the start), checked against the size.
  ByteReader Slice(size_t offset, size_t count) const;

 private:
  size_t Checked(size_t count) const;
  uint64_t Little(size_t count) {
    const size_t at = Checked(count);
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) value |= uint64_t{bytes_[at + i]} << (8 * i);
    position_ += count;
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
};

class ByteWriter {
 public:
  size_t Size() const { return bytes_.size(); }
  void U8(uint8_t value) { bytes_.push_back(value); }
  void U16(uint16_t value) { Little(value, 2); }
  void U32(uint32_t value) { Little(value, 4); }
  void I32(int32_t value) { Little(static_cast<uint32_t>(value), 4); }
  void F32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  void Append(std::span<const uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  void PadTo4() { while (bytes_.size() % 4) bytes_.push_back(0); }
  void PatchU32(size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  void Little(uint64_t value, size_t count) {
    for (size_t i = 0; i < count; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> bytes_;
};

}  // namespace zavrik
