#include "driver/library_directories.h"

#include <dirent.h>
#include <glob.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace zavrik::driver {
namespace {

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

LibraryDirectories LibraryDirectories::Scan(std::string_view library_path,
                                            const std::string& conf_file,
                                            const std::vector<std::string>& extra) {
  LibraryDirectories dirs;
  size_t start = 0;
  while (start <= library_path.size()) {
    size_t end = library_path.find_first_of(":;", start);
    if (end == std::string_view::npos) end = library_path.size();
    dirs.Add(std::string(library_path.substr(start, end - start)));
    start = end + 1;
  }
  for (const std::string& directory : extra) dirs.Add(directory);
  dirs.object_directories_end_ = dirs.directories_.size();
  dirs.ReadConf(conf_file, 0);
  for (const char* fixed : {"/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu", "/lib64",
                            "/usr/lib64", "/lib", "/usr/lib"})
    dirs.Add(fixed);
  return dirs;
}

bool LibraryDirectories::Add(std::string directory, size_t at) {
  directory = Trimmed(directory);
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  if (directory.empty() || directory.front() != '/') return false;
  if (std::find(directories_.begin(), directories_.end(), directory) != directories_.end())
    return false;
  directories_.insert(directories_.begin() + static_cast<std::ptrdiff_t>(at), std::move(directory));
  return true;
}

void LibraryDirectories::AddObjectDirectories(const std::vector<std::string>& directories,
                                              std::string_view prefix) {
  for (const std::string& directory : directories) {
    if (!Add(directory, object_directories_end_)) continue;
    ListDirectory(directories_[object_directories_end_++], prefix);
  }
}

void LibraryDirectories::ReadConf(const std::string& file, int depth) {
  if (depth > 8) return;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.rfind("include", 0) == 0 && line.size() > 7 && (line[7] == ' ' || line[7] == '\t')) {
      std::string pattern = Trimmed(std::string_view(line).substr(8));
      if (!pattern.empty() && pattern.front() != '/')
        pattern = std::filesystem::path(file).parent_path().string() + "/" + pattern;
      glob_t found{};
      if (glob(pattern.c_str(), 0, nullptr, &found) == 0)
        for (size_t i = 0; i < found.gl_pathc; ++i) ReadConf(found.gl_pathv[i], depth + 1);
      globfree(&found);
    } else if (line.rfind("hwcap", 0) != 0) {
      Add(line);
    }
  }
}

void LibraryDirectories::List(std::string_view prefix) {
  for (const std::string& directory : directories_) ListDirectory(directory, prefix);
}

void LibraryDirectories::ListDirectory(const std::string& directory, std::string_view prefix) {
  struct stat info {};
  if (stat(directory.c_str(), &info) != 0 || !listed_.insert({info.st_dev, info.st_ino}).second)
    return;
  DIR* dir = opendir(directory.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir))
    if (std::strncmp(entry->d_name, prefix.data(), prefix.size()) == 0)
      files_.insert(entry->d_name);
  closedir(dir);
}

std::string LibraryDirectories::Locate(std::string_view file_name) const {
  if (!Holds(file_name)) return {};
  for (const std::string& directory : directories_) {
    std::string path = directory + "/" + std::string(file_name);
    std::error_code error;
    if (std::filesystem::exists(path, error)) return path;
  }
  return {};
}

bool LibraryDirectories::HoldsAnyStartingWith(std::string_view prefix) const {
  return std::any_of(files_.begin(), files_.end(), [prefix](const std::string& name) {
    return name.compare(0, prefix.size(), prefix) == 0;
  });
}

}  // namespace zavrik::driver
