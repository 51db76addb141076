#include "platform/emf_format.h"

#include <string_view>

#include "core/error.h"
#include "core/numeric.h"
#include "platform/byte_reader.h"

namespace zavrik {
namespace {

Rect ReadRect(ByteReader& in) {
  Rect r;
  r.left = in.I32();
  r.top = in.I32();
  r.right = in.I32();
  r.bottom = in.I32();
  return r;
}

[[noreturn]] void Invalid(const char* what) { throw Error("Invalid enhanced metafile: " + std::string(what)); }

}  // namespace

EmfHeader ReadEmfHeader(std::span<const uint8_t> stream) {
  ByteReader in(stream);
  if (in.U32() != EMR_HEADER) Invalid("no header record");
  const uint32_t size = in.U32();
  if (size < 88 || size > stream.size()) Invalid("bad header size");
  EmfHeader h;
  h.bounds = ReadRect(in);
  h.frame = ReadRect(in);
  if (in.U32() != kEmfSignature) Invalid("no signature");
  in.U32();  // version
  h.bytes = in.U32();
  h.records = in.U32();
  h.handles = in.U16();
  in.U16();
  in.U32();  // description length
  in.U32();  // description offset
  h.palette_entries = in.U32();
  h.device_width = in.I32();
  h.device_height = in.I32();
  h.millimetres_width = in.I32();
  h.millimetres_height = in.I32();
  return h;
}

std::vector<EmfRecord> ReadEmfRecords(std::span<const uint8_t> stream) {
  ReadEmfHeader(stream);
  std::vector<EmfRecord> records;
  ByteReader in(stream);
  while (in.Remaining() >= 8) {
    const size_t at = in.Position();
    const uint32_t type = in.U32();
    const uint32_t size = in.U32();
    if (size < 8 || size % 4 != 0) Invalid("bad record size");
    if (size > stream.size() - at) break;  // a truncated last record is dropped
    records.push_back({type, stream.subspan(at, size)});
    in.Seek(at + size);
    if (type == EMR_EOF) break;
  }
  return records;
}

Rect EmfFrameInPixels(std::span<const uint8_t> stream) {
  const EmfHeader h = ReadEmfHeader(stream);
  if (h.millimetres_width <= 0 || h.millimetres_height <= 0) Invalid("bad reference device");
  const double sx = static_cast<double>(h.device_width) / h.millimetres_width / 100;
  const double sy = static_cast<double>(h.device_height) / h.millimetres_height / 100;
  const auto px = [](double v) {
    const double r = RoundHalfEven(v);
    return static_cast<int>(r < -1e6 ? -1e6 : r > 1e6 ? 1e6 : r);
  };
  return Rect{px(h.frame.left * sx), px(h.frame.top * sy), px(h.frame.right * sx), px(h.frame.bottom * sy)};
}

}  // namespace zavrik
