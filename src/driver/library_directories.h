// The directories the dynamic loader searches for a library named without a path, and whether
// one of them holds a file of a given name.
#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace zavrik::driver {

class LibraryDirectories {
 public:
  // In the loader's order: LD_LIBRARY_PATH's entries, `extra` (the directories of the loaded
  // objects, standing for their run paths), the directories of ld.so.conf (its includes
  // followed), the loader's default directories.
  static LibraryDirectories Scan(std::string_view library_path, const std::string& conf_file,
                                 const std::vector<std::string>& extra);

  // Only file names that start with `prefix` are listed.
  void List(std::string_view prefix);
  // Directories of objects loaded since the scan, placed after the earlier ones of their kind
  // (before ld.so.conf's); the new ones are listed for `prefix`.
  void AddObjectDirectories(const std::vector<std::string>& directories, std::string_view prefix);
  bool Holds(std::string_view file_name) const { return files_.count(std::string(file_name)) > 0; }
  // The full path of the listed file in the first directory that holds it; empty when none does.
  std::string Locate(std::string_view file_name) const;
  // Any listed file name starts with `prefix`.
  bool HoldsAnyStartingWith(std::string_view prefix) const;
  const std::vector<std::string>& Directories() const { return directories_; }

 private:
  // Adds `directory` at `at` unless it is there already; true when added.
  bool Add(std::string directory, size_t at);
  bool Add(std::string directory) { return Add(std::move(directory), directories_.size()); }
  void ReadConf(const std::string& file, int depth);
  void ListDirectory(const std::string& directory, std::string_view prefix);

  std::vector<std::string> directories_;
  size_t object_directories_end_ = 0;
  std::set<std::pair<dev_t, ino_t>>
      listed_;  // a directory reached twice (/lib is /usr/lib) is read once
  std::unordered_set<std::string> files_;
};

}  // namespace zavrik::driver
