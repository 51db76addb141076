// The Firebird engine finds the ICU libraries by trying a long list of versioned names
// (libicuuc.so.52, libicuuc.so.4_19, ...) until one loads. Every miss of a bare name makes the
// dynamic loader map and unmap its cache, and with the client library's threads already running
// each unmap interrupts the other CPUs for a TLB flush: the misses cost more than a small report.
// dlopen is interposed here: a bare ICU name that no library directory holds is opened at a full
// path in one of them instead, which fails at once with the loader's own message. A name that is
// held is opened at the first directory holding it, in the loader's order. Other names go to the
// loader unchanged. Linked into the zavrik program only.
#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/library_directories.h"

namespace {

using DlOpen = void* (*)(const char*, int);

constexpr std::string_view kIcuPrefix = "libicu";

std::vector<std::string> LoadedObjectDirectories() {
  std::vector<std::string> directories;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto& out = *static_cast<std::vector<std::string>*>(data);
        const std::string_view name = info->dlpi_name ? info->dlpi_name : "";
        const size_t slash = name.rfind('/');
        if (slash != std::string_view::npos && slash > 0) {
          const std::string directory(name.substr(0, slash));
          out.push_back(directory);
          out.push_back(directory + "/../lib");  // a plugin's $ORIGIN/../lib
        }
        return 0;
      },
      &directories);
  return directories;
}

struct IcuLibraries {
  zavrik::driver::LibraryDirectories directories;
  bool usable = false;  // some ICU library was found: misses can be answered early
};

const IcuLibraries& Icu() {
  static const IcuLibraries icu = [] {
    IcuLibraries found;
    const char* path = std::getenv("LD_LIBRARY_PATH");
    found.directories = zavrik::driver::LibraryDirectories::Scan(path ? path : "", "/etc/ld.so.conf",
                                                                 LoadedObjectDirectories());
    found.directories.List(kIcuPrefix);
    found.usable = found.directories.HoldsAnyStartingWith("libicuuc.so.");
    return found;
  }();
  return icu;
}

DlOpen RealDlOpen() {
  static const DlOpen real = reinterpret_cast<DlOpen>(dlsym(RTLD_NEXT, "dlopen"));
  return real;
}

}  // namespace

extern "C" void* dlopen(const char* file, int mode) {
  const DlOpen real = RealDlOpen();
  if (file && !std::strchr(file, '/') && std::strncmp(file, kIcuPrefix.data(), kIcuPrefix.size()) == 0) {
    const IcuLibraries& icu = Icu();
    if (icu.usable) {
      const std::string held = icu.directories.Locate(file);
      const std::string path = held.empty() ? icu.directories.Directories().front() + "/" + file : held;
      return real(path.c_str(), mode);
    }
  }
  return real(file, mode);
}
