#include "script/qs_istreams.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/error.h"

namespace zavrik {
namespace {

[[noreturn]] void CannotOpen(const std::string& path) {
  throw Error(u"Cannot open file \"" + Utf8ToString(path) + u"\"");
}

int64_t Clamp(int64_t position, int64_t size) { return std::clamp<int64_t>(position, 0, size); }

}  // namespace

const ClassInfo& TqsStream::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TStream", &Object::StaticClass(), nullptr, {}); });
  return info;
}

const ClassInfo& TqsMemoryStream::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TMemoryStream", &TqsStream::StaticClass(), &New<TqsMemoryStream>, {}); });
  return info;
}

const ClassInfo& TqsFileStream::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TFileStream", &TqsStream::StaticClass(), nullptr, {}); });
  return info;
}

int64_t TqsStream::CopyFrom(TqsStream& source, int64_t count) {
  if (count <= 0) {
    source.Seek(0, soFromBeginning);
    count = source.Size();
  }
  char buffer[8192];
  int64_t copied = 0;
  while (copied < count) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(count - copied, sizeof buffer));
    const size_t got = source.Read(buffer, want);
    if (got == 0) break;
    Write(buffer, got);
    copied += static_cast<int64_t>(got);
  }
  return copied;
}

std::string TqsStream::ReadAll() {
  std::string bytes;
  char buffer[8192];
  for (size_t got; (got = Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
  return bytes;
}

size_t TqsMemoryStream::Read(void* buffer, size_t count) {
  const size_t n = FPosition < FData.size() ? std::min(count, FData.size() - FPosition) : 0;
  if (n) std::memcpy(buffer, FData.data() + FPosition, n);
  FPosition += n;
  return n;
}

size_t TqsMemoryStream::Write(const void* buffer, size_t count) {
  if (FPosition + count > FData.size()) FData.resize(FPosition + count);
  if (count) std::memcpy(FData.data() + FPosition, buffer, count);
  FPosition += count;
  return count;
}

int64_t TqsMemoryStream::Seek(int64_t offset, int origin) {
  const int64_t size = Size();
  const int64_t base = origin == soFromBeginning ? 0 : origin == soFromEnd ? size : static_cast<int64_t>(FPosition);
  FPosition = static_cast<size_t>(Clamp(base + offset, size));
  return static_cast<int64_t>(FPosition);
}

void TqsMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TqsMemoryStream::LoadFromFile(const std::string& path) {
  FData = qsReadFileBytes(path);
  FPosition = 0;
}

void TqsMemoryStream::SaveToFile(const std::string& path) const { qsWriteFileBytes(path, FData); }

TqsFileStream::TqsFileStream(const std::string& path, int mode) {
  const char* how = (mode & 0xFF00) == 0xFF00 ? "wb+" : (mode & 3) == 0 ? "rb" : "rb+";
  FFile = std::fopen(path.c_str(), how);
  if (!FFile) CannotOpen(path);
}

TqsFileStream::~TqsFileStream() { Close(); }

void TqsFileStream::Close() {
  if (FFile) std::fclose(FFile);
  FFile = nullptr;
}

size_t TqsFileStream::Read(void* buffer, size_t count) {
  return FFile ? std::fread(buffer, 1, count, FFile) : 0;
}

size_t TqsFileStream::Write(const void* buffer, size_t count) {
  if (!FFile || std::fwrite(buffer, 1, count, FFile) != count) throw Error(u"Stream write error");
  return count;
}

int64_t TqsFileStream::Seek(int64_t offset, int origin) {
  if (!FFile) return 0;
  const int64_t size = Size();
  const int64_t base = origin == soFromBeginning ? 0 : origin == soFromEnd ? size : std::ftell(FFile);
  std::fseek(FFile, static_cast<long>(Clamp(base + offset, size)), SEEK_SET);
  return std::ftell(FFile);
}

int64_t TqsFileStream::Size() {
  if (!FFile) return 0;
  const long here = std::ftell(FFile);
  std::fseek(FFile, 0, SEEK_END);
  const long size = std::ftell(FFile);
  std::fseek(FFile, here, SEEK_SET);
  return size;
}

std::string qsReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) CannotOpen(path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void qsWriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) CannotOpen(path);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw Error(u"Stream write error");
}

}  // namespace zavrik
