// Hand-built enhanced metafiles for the tests of the metafile player: a header, records of 32-bit
// values, records that lie about their sizes, and bitmap records.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/byte_reader.h"

namespace zavrik::pdf::test {

// A bitmap record: its destination, its source rectangle and a bitmap of 24 or 32 bits per pixel.
struct EmfBitmap {
  uint32_t type = 77;  // stretch-block transfer
  uint32_t rop = 0x00CC0020;
  std::array<int32_t, 4> dest{0, 0, 20, 10};  // x, y, cx, cy
  std::array<int32_t, 4> source{0, 0, 2, 1};  // x, y, cx, cy
  int width = 2, height = 1;                  // a negative height: rows top first
  int bits = 24;
  int header_width = 0;  // the width the bitmap header claims, when not 0
  std::vector<uint32_t> pixels{0xFFFF0000, 0xFF0000FF};  // 0xAARRGGBB, top row first
  // Set-DIB-bits-to-device: the rows present, counted from the first row stored.
  uint32_t start_scan = 0, scans = 0;
};

// A metafile: a header whose frame is width × height device units (4 units per millimetre), then
// records.
class Emf {
 public:
  Emf(int width = 200, int height = 100, uint16_t handles = 8, uint32_t palette = 0) {
    w_.U32(1);
    w_.U32(108);
    for (int v : {0, 0, width - 1, height - 1}) w_.I32(v);
    for (int v : {0, 0, width * 25, height * 25}) w_.I32(v);
    w_.U32(0x464D4520);
    w_.U32(0x10000);
    w_.U32(0);
    w_.U32(0);
    w_.U16(handles);
    w_.U16(0);
    w_.U32(0);
    w_.U32(0);
    w_.U32(palette);
    for (int v : {4096, 3072, 1024, 768}) w_.I32(v);
    for (int i = 0; i < 5; ++i) w_.U32(0);
  }
  Emf& Record(uint32_t type, std::vector<int32_t> values) {
    w_.U32(type);
    w_.U32(static_cast<uint32_t>(8 + 4 * values.size()));
    for (int32_t v : values) w_.I32(v);
    return *this;
  }
  // A record whose size field says `size` whatever it holds.
  Emf& Raw(uint32_t type, uint32_t size, std::vector<int32_t> values) {
    w_.U32(type);
    w_.U32(size);
    for (int32_t v : values) w_.I32(v);
    return *this;
  }
  Emf& Bitmap(const EmfBitmap& b) {
    const int rows = std::abs(b.height);
    const uint32_t row_bytes = b.bits == 32 ? b.width * 4 : (b.width * 3 + 3) & ~3u;
    const uint32_t stored = b.scans ? b.scans : rows;
    const uint32_t bits_size = row_bytes * stored;
    const uint32_t header = b.type == 81 ? 80 : b.type == 80 ? 76 : 108;
    w_.U32(b.type);
    w_.U32(header + 40 + bits_size);
    for (int v : {0, 0, 10, 10}) w_.I32(v);
    const auto info = [&] {
      for (uint32_t v : {header, 40u, header + 40, bits_size}) w_.U32(v);
    };
    const auto [x, y, cx, cy] = b.dest;
    const auto [sx, sy, scx, scy] = b.source;
    if (b.type == 81 || b.type == 80) {
      for (int32_t v : {x, y, sx, sy, scx, scy}) w_.I32(v);
      info();
      w_.U32(0);  // colour usage
      if (b.type == 81) {
        for (int32_t v : {static_cast<int32_t>(b.rop), cx, cy}) w_.I32(v);
      } else {
        w_.U32(b.start_scan);
        w_.U32(b.scans ? b.scans : rows);
      }
    } else {
      for (int32_t v : {x, y, cx, cy, static_cast<int32_t>(b.rop), sx, sy}) w_.I32(v);
      for (float v : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f}) w_.F32(v);  // source transform
      w_.U32(0);  // background colour
      w_.U32(0);  // colour usage
      info();
      w_.I32(scx);
      w_.I32(scy);
    }
    for (int32_t v : {40, b.header_width ? b.header_width : b.width, b.height}) w_.I32(v);
    w_.U16(1);
    w_.U16(static_cast<uint16_t>(b.bits));
    for (int i = 0; i < 6; ++i) w_.U32(0);
    // Bottom-up bitmaps store their last row first.
    for (uint32_t r = b.start_scan; r < b.start_scan + stored; ++r) {
      const int row = b.height > 0 ? rows - 1 - static_cast<int>(r) : static_cast<int>(r);
      const size_t start = w_.Size();
      for (int col = 0; col < b.width; ++col) {
        const uint32_t p = b.pixels.at(static_cast<size_t>(row) * b.width + col);
        for (int shift : {0, 8, 16}) w_.U8(static_cast<uint8_t>(p >> shift));
        if (b.bits == 32) w_.U8(static_cast<uint8_t>(p >> 24));
      }
      while (w_.Size() - start < row_bytes) w_.U8(0);
    }
    return *this;
  }
  Emf& Eof() { return Record(14, {0, 16, 20}); }
  std::vector<uint8_t>& Bytes() { return w_.Bytes(); }
  ByteWriter& Writer() { return w_; }

 private:
  ByteWriter w_;
};

}  // namespace zavrik::pdf::test
