#include "pdf/pdf_output.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <system_error>

#include "core/error.h"

namespace zavrik::pdf {
namespace {

// Bytes gathered before they go to the writing thread as one piece.
constexpr size_t kChunkSize = 64 * 1024;
// Pieces waiting for the writing thread before the caller waits: bounds the memory they hold.
constexpr size_t kMaxQueued = 8;

// One compressor per thread, reset between streams: the bytes of compress2 at level 1 without
// allocating and clearing the compressor's tables for every stream.
class Deflater {
 public:
  Deflater() {
    if (deflateInit(&stream_, 1) != Z_OK) throw Error("Compression failed");
  }
  ~Deflater() { deflateEnd(&stream_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  std::string Compress(std::string_view data) {
    if (deflateReset(&stream_) != Z_OK) throw Error("Compression failed");
    std::string out(deflateBound(&stream_, static_cast<uLong>(data.size())), '\0');
    constexpr size_t kMaxPiece = std::numeric_limits<uInt>::max();
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream_.avail_in = 0;
    size_t input_left = data.size(), produced = 0;
    int status = Z_OK;
    while (status == Z_OK) {
      if (stream_.avail_in == 0) {
        stream_.avail_in = static_cast<uInt>(std::min(input_left, kMaxPiece));
        input_left -= stream_.avail_in;
      }
      const uInt room = static_cast<uInt>(std::min(out.size() - produced, kMaxPiece));
      stream_.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
      stream_.avail_out = room;
      status = deflate(&stream_, input_left ? Z_NO_FLUSH : Z_FINISH);
      produced += room - stream_.avail_out;
    }
    if (status != Z_STREAM_END) throw Error("Compression failed");
    out.resize(produced);
    return out;
  }

 private:
  z_stream stream_{};
};

}  // namespace

std::string Deflate(std::string_view data) {
  thread_local Deflater deflater;
  return deflater.Compress(data);
}

PdfOutput::~PdfOutput() { Stop(); }

void PdfOutput::Start(bool digest, bool background) {
  Stop();
  position_ = 0;
  offsets_.clear();
  digest_.reset();
  if (digest) digest_.emplace();
  pending_ = Chunk{};
  error_ = nullptr;
  if (!out_) throw Error(u"Cannot write the PDF document");  // a failed stream is refused at once
  if (!background) return;
  try {
    stopping_ = false;
    thread_ = std::thread(&PdfOutput::Run, this);
  } catch (const std::system_error&) {
    // No thread: the bytes are written as they come.
  }
}

void PdfOutput::Append(std::string_view bytes) {
  if (!thread_.joinable()) return WriteBytes(bytes);
  pending_.bytes.append(bytes);
  if (pending_.bytes.size() >= kChunkSize) Push();
}

void PdfOutput::MarkObject(int number) {
  if (!thread_.joinable()) return SetOffset(number);
  pending_.marks.emplace_back(number, pending_.bytes.size());
}

void PdfOutput::AppendStream(std::string data, bool compress) {
  pending_.has_stream = true;
  pending_.compress = compress;
  pending_.stream = std::move(data);
  Push();
}

void PdfOutput::Push() {
  if (!thread_.joinable()) {
    Chunk chunk = std::move(pending_);
    pending_ = Chunk{};
    return Write(chunk);
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < kMaxQueued || error_; });
  if (error_) std::rethrow_exception(error_);
  queue_.push_back(std::move(pending_));
  pending_ = Chunk{};
  changed_.notify_all();
}

void PdfOutput::Finish() {
  if (!thread_.joinable()) return;
  if (!pending_.bytes.empty() || !pending_.marks.empty()) Push();
  CompressAhead();
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || error_; });
  }
  Stop();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

// The last waiting stream first, away from the one the writing thread takes next. Only this
// thread adds to or clears the queue, and the writing thread leaves a taken chunk in place, so the
// chunk stays where it is while it is compressed without the lock.
void PdfOutput::CompressAhead() {
  for (;;) {
    Chunk* chunk = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (error_) return;
      for (auto it = queue_.rbegin(); it != queue_.rend() && !chunk; ++it)
        if (it->has_stream && it->compress && !it->compressed) chunk = &*it;
      if (!chunk) return;
      chunk->taken = true;
    }
    std::string compressed;
    std::exception_ptr failure;
    try {
      compressed = Deflate(chunk->stream);
    } catch (...) {
      failure = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      if (failure) {
        if (!error_) error_ = failure;
      } else {
        chunk->stream = std::move(compressed);
        chunk->compressed = true;
      }
      chunk->taken = false;
    }
    changed_.notify_all();
  }
}

void PdfOutput::Flush() {
  out_.flush();
  if (!out_) throw Error(u"Cannot write the PDF document");
}

std::optional<Md5::Digest> PdfOutput::TakeDigest() {
  if (!digest_) return std::nullopt;
  const Md5::Digest digest = digest_->Finish();
  digest_.reset();
  return digest;
}

void PdfOutput::Write(const Chunk& chunk) {
  const std::string_view bytes = chunk.bytes;
  size_t at = 0;
  for (const auto& [number, offset] : chunk.marks) {
    WriteBytes(bytes.substr(at, offset - at));
    at = offset;
    SetOffset(number);
  }
  WriteBytes(bytes.substr(at));
  if (!chunk.has_stream) return;
  std::string compressed;
  std::string_view data = chunk.stream;
  if (chunk.compress) {
    if (!chunk.compressed) {
      compressed = Deflate(data);
      data = compressed;
    }
    WriteBytes("/Length " + std::to_string(data.size()) + "/Filter/FlateDecode");
  } else {
    WriteBytes("/Length " + std::to_string(data.size()));
  }
  WriteBytes(">>\r\nstream\r\n");
  WriteBytes(data);
  WriteBytes("\nendstream\r\n");
}

void PdfOutput::WriteBytes(std::string_view bytes) {
  if (bytes.empty()) return;
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw Error(u"Cannot write the PDF document");
  position_ += bytes.size();
  if (digest_) digest_->Update(bytes);
}

void PdfOutput::SetOffset(int number) {
  const size_t index = static_cast<size_t>(number) - 1;
  if (offsets_.size() <= index) offsets_.resize(index + 1);
  offsets_[index] = position_;
}

void PdfOutput::Run() {
  for (;;) {
    Chunk chunk;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock,
                    [this] { return stopping_ || (!queue_.empty() && !queue_.front().taken); });
      if (queue_.empty()) return;
      chunk = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
    }
    changed_.notify_all();  // room in the queue
    try {
      if (!error_) Write(chunk);
    } catch (...) {
      std::lock_guard lock(mutex_);
      error_ = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      busy_ = false;
    }
    changed_.notify_all();
  }
}

void PdfOutput::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    queue_.clear();  // an abandoned document's bytes are not written
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

}  // namespace zavrik::pdf
