// A temporary file open for reading and writing; it is deleted when the object goes.
#pragma once

#include <filesystem>
#include <fstream>

#include "core/ustring.h"

namespace zavrik {

class TqbxTempFile : public std::fstream {
 public:
  // Creates an empty file named `prefix` + six random characters in `dir`, or in the system's
  // temporary folder when `dir` is empty or not a folder; "Cannot create file" when that fails.
  TqbxTempFile(const String& dir, const char* prefix);
  ~TqbxTempFile() override;
  TqbxTempFile(const TqbxTempFile&) = delete;
  TqbxTempFile& operator=(const TqbxTempFile&) = delete;
  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

}  // namespace zavrik
