// Streams that scripts create (TMemoryStream, TFileStream) and hosts read and write: a host
// method receiving a TStream argument works on this interface.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/rtti.h"
#include "script/qs_ihost.h"

namespace zavrik {

// soFromBeginning, soFromCurrent, soFromEnd.
enum TqsSeekOrigin : int { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TqsStream : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // The new position; positions are clamped to 0 .. Size.
  virtual int64_t Seek(int64_t offset, int origin) = 0;
  virtual int64_t Size() = 0;
  int64_t Position() { return Seek(0, soFromCurrent); }
  // Copies `count` bytes from `source`'s position (all of it from its start when 0).
  int64_t CopyFrom(TqsStream& source, int64_t count);
  std::string ReadAll();
};

class TqsMemoryStream : public TqsStream {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, int origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void Clear();
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  std::string FData;
  size_t FPosition = 0;
};

class TqsFileStream : public TqsStream, public TqsScriptFreed {
 public:
  // Mode: fmCreate ($FF00) creates or truncates; fmOpenRead (0), fmOpenWrite (1) and
  // fmOpenReadWrite (2) open an existing file. Fails with "Cannot open file "<path>"".
  TqsFileStream(const std::string& path, int mode);
  TqsFileStream() = default;
  ~TqsFileStream() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, int origin) override;
  int64_t Size() override;
  void Close();
  void ScriptFreed() override { Close(); }

 private:
  std::FILE* FFile = nullptr;
};

// Whole files as bytes; "Cannot open file "<path>"" when they cannot be read or written.
std::string qsReadFileBytes(const std::string& path);
void qsWriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace zavrik
