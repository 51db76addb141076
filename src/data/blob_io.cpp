#include "data/blob_io.h"

#include <algorithm>

#include "core/error.h"
#include "data/connection.h"
#include "data/fb_api.h"
#include "data/fb_error.h"
#include "data/transaction.h"

namespace zavrik::data {
namespace {

class BlobHandle {
 public:
  ~BlobHandle() {
    if (handle) {
      ISC_STATUS_ARRAY status;
      Fb().close_blob(status, &handle);
    }
  }
  void Close() {
    ISC_STATUS_ARRAY status;
    if (Fb().close_blob(status, &handle)) RaiseStatus(status);
    handle = 0;
  }
  isc_blob_handle handle = 0;
};

int64_t TotalLength(isc_blob_handle* handle) {
  const char items[] = {isc_info_blob_total_length};
  char buffer[32] = {};
  ISC_STATUS_ARRAY status;
  if (Fb().blob_info(status, handle, sizeof items, items, sizeof buffer, buffer))
    RaiseStatus(status);
  if (buffer[0] != isc_info_blob_total_length) return -1;
  const short len = static_cast<short>(Fb().vax_integer(buffer + 1, 2));
  if (len < 1 || len > 8) return -1;
  return Fb().vax_integer(buffer + 3, len);
}

}  // namespace

std::string ReadBlob(Connection& db, Transaction& tr, ISC_QUAD id) {
  db.CheckConnected();
  tr.CheckActive();
  BlobHandle blob;
  ISC_STATUS_ARRAY status;
  if (Fb().open_blob2(status, db.Handle(), tr.Handle(), &blob.handle, &id, 0, nullptr))
    RaiseStatus(status);
  const int64_t total = TotalLength(&blob.handle);
  std::string bytes;
  if (total > 0) bytes.reserve(static_cast<size_t>(total));
  char segment[32768];
  // Reads until the stated length is in, or the BLOB ends (whichever comes first).
  while (total < 0 || static_cast<int64_t>(bytes.size()) < total) {
    unsigned short got = 0;
    const ISC_STATUS rc = Fb().get_segment(status, &blob.handle, &got, sizeof segment, segment);
    if (rc == 0 || status[1] == isc_segment) {
      bytes.append(segment, got);
      continue;
    }
    if (status[1] == isc_segstr_eof) break;
    RaiseStatus(status);
  }
  blob.Close();
  return bytes;
}

ISC_QUAD WriteBlob(Connection& db, Transaction& tr, std::string_view bytes) {
  db.CheckConnected();
  tr.CheckActive();
  BlobHandle blob;
  ISC_QUAD id{};
  ISC_STATUS_ARRAY status;
  if (Fb().create_blob2(status, db.Handle(), tr.Handle(), &blob.handle, &id, 0, nullptr))
    RaiseStatus(status);
  constexpr size_t kSegment = 32768;
  for (size_t pos = 0; pos < bytes.size(); pos += kSegment) {
    const auto len = static_cast<unsigned short>(std::min(kSegment, bytes.size() - pos));
    if (Fb().put_segment(status, &blob.handle, len, bytes.data() + pos)) RaiseStatus(status);
  }
  blob.Close();
  return id;
}

}  // namespace zavrik::data
