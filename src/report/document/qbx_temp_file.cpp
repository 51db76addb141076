#include "report/document/qbx_temp_file.h"

#include <unistd.h>

#include <cstdlib>

#include "core/error.h"

namespace zavrik {

TqbxTempFile::TqbxTempFile(const String& dir, const char* prefix) {
  std::error_code error;
  std::filesystem::path folder = dir.empty() ? std::filesystem::path() : std::filesystem::path(StringToUtf8(dir));
  if (folder.empty() || !std::filesystem::is_directory(folder, error)) folder = std::filesystem::temp_directory_path();
  std::string name = (folder / (std::string(prefix) + "XXXXXX")).string();
  const int fd = mkstemp(name.data());
  if (fd < 0) throw Error("Cannot create file \"" + name + "\"");
  ::close(fd);
  FPath = name;
  open(name, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
  if (!is_open()) {
    std::filesystem::remove(FPath, error);
    throw Error("Cannot create file \"" + name + "\"");
  }
}

TqbxTempFile::~TqbxTempFile() {
  close();
  std::error_code ignored;
  std::filesystem::remove(FPath, ignored);
}

}  // namespace zavrik
