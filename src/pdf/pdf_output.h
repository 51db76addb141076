// The bytes of a PDF document in the order they are given, written by a thread of its own: stream
// bodies are compressed there, object offsets recorded and the MD5 kept as the bytes pass, while
// the exporting thread goes on with the next page. Without a thread (none could be started, or
// after Finish) every call writes at once.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "core/md5.h"

namespace zavrik::pdf {

// zlib at level 1.
std::string Deflate(std::string_view data);

class PdfOutput {
 public:
  explicit PdfOutput(std::ostream& out) : out_(out) {}
  ~PdfOutput();
  PdfOutput(const PdfOutput&) = delete;
  PdfOutput& operator=(const PdfOutput&) = delete;

  // Starts a document at offset 0; with `digest` the MD5 of the bytes is kept. `background`
  // false writes everything at once.
  void Start(bool digest, bool background = true);

  void Append(std::string_view bytes);
  // Object `number` starts at the current point (the cross-reference list grows to hold it).
  void MarkObject(int number);
  // "/Length n" (with "/Filter/FlateDecode" when compressed) ">>", "stream", the data, "endstream".
  void AppendStream(std::string data, bool compress);

  // Waits until every byte is written and goes on without the thread; raises the first error the
  // writing met (a failing stream: Error; memory: std::bad_alloc). While it waits, the calling
  // thread compresses the streams the writing thread has not reached yet.
  void Finish();

  // After Finish:
  size_t Position() const { return position_; }
  // Flushes the stream; raises Error when it failed.
  void Flush();
  const std::vector<size_t>& Offsets() const { return offsets_; }
  // The digest of the bytes so far (empty without one); the digest is not kept afterwards.
  std::optional<Md5::Digest> TakeDigest();

 private:
  // A run of bytes with the objects starting inside it, then perhaps a stream.
  struct Chunk {
    std::string bytes;
    std::vector<std::pair<int, size_t>> marks;  // object number, offset in bytes
    bool has_stream = false;
    bool compress = false;
    bool compressed = false;  // `stream` already holds the compressed data
    bool taken = false;       // being compressed by the caller; the writing thread waits for it
    std::string stream;
  };

  void Push();
  void CompressAhead();
  void Write(const Chunk& chunk);
  void WriteBytes(std::string_view bytes);
  void SetOffset(int number);
  void Run();
  void Stop();

  std::ostream& out_;
  size_t position_ = 0;
  std::vector<size_t> offsets_;
  std::optional<Md5> digest_;

  Chunk pending_;  // the caller's side

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Chunk> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace zavrik::pdf
