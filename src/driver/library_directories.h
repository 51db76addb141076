// The directories the dynamic loader searches for a library named without a path, and whether
// one of them holds a file of a given name.
#pragma once

#include <string>
#include <unordered_map>
#include <string_view>
#include <unordered_set>
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
  bool Holds(std::string_view file_name) const { return files_.count(std::string(file_name)) > 0; }
  // The full path of the listed file in the first directory that holds it; empty when none does.
  std::string Locate(std::string_view file_name) const;
  // Any listed file name starts with `prefix`.
  bool HoldsAnyStartingWith(std::string_view prefix) const;
  const std::vector<std::string>& Directories() const { return directories_; }

 private:
  void Add(std::string directory);
  void ReadConf(const std::string& file, int depth);

  std::vector<std::string> directories_;
  std::unordered_set<std::string> files_;
};

}  // namespace zavrik::driver
