// The Firebird engine finds the ICU libraries by trying a long list of versioned names
// (libicuuc.so.52, libicuuc.so.4_19, ...) until one loads. Every miss of a bare name makes the
// dynamic loader map and unmap its cache, and with the client library's threads already running
// each unmap interrupts the other CPUs for a TLB flush; even a miss at a full path goes through
// the loader's error path and the engine's handling of its message. dlopen is interposed here: a
// bare ICU name that no library directory holds fails at once, with the loader's wording kept for
// dlerror (interposed too). A name that is held is opened at the first directory holding it, in
// the loader's order. Other names go to the loader unchanged. Linked into the zavrik program only.
#include "driver/icu_probe_filter.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "driver/library_directories.h"

namespace zavrik::driver {
namespace {

using DlOpen = void* (*)(const char*, int);
using DlError = char* (*)();

constexpr std::string_view kIcuPrefix = "libicu";

bool IsIcuName(const char* file) {
  return file && !std::strchr(file, '/') &&
         std::strncmp(file, kIcuPrefix.data(), kIcuPrefix.size()) == 0;
}

// The loader's count of objects loaded so far: the directories need a new look when it moves.
unsigned long long LoadedObjectCount() {
  unsigned long long adds = 0;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t size, void* data) {
        if (size >= offsetof(dl_phdr_info, dlpi_adds) + sizeof(info->dlpi_adds))
          *static_cast<unsigned long long*>(data) = info->dlpi_adds;
        return 1;
      },
      &adds);
  return adds;
}

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

class IcuProbeAnswers {
 public:
  static IcuProbeAnswers& Get() {
    static IcuProbeAnswers answers;
    return answers;
  }

  // The full path to open for `file`, empty for a miss; nothing when no ICU library is known at
  // all, so that the loader answers with its own reasons.
  std::optional<std::string> PathFor(const char* file) {
    std::lock_guard lock(mutex_);
    Refresh();
    if (!usable_) return std::nullopt;
    return directories_.Locate(file);
  }

  void Prepare() {
    std::lock_guard lock(mutex_);
    Refresh();
  }

 private:
  IcuProbeAnswers() {
    const char* path = std::getenv("LD_LIBRARY_PATH");
    directories_ = LibraryDirectories::Scan(path ? path : "", "/etc/ld.so.conf", {});
    directories_.List(kIcuPrefix);
  }

  void Refresh() {
    const unsigned long long loaded = LoadedObjectCount();
    if (loaded == loaded_) return;
    loaded_ = loaded;
    directories_.AddObjectDirectories(LoadedObjectDirectories(), kIcuPrefix);
    usable_ = directories_.HoldsAnyStartingWith("libicuuc.so.");
  }

  std::mutex mutex_;
  LibraryDirectories directories_;
  unsigned long long loaded_ = 0;
  bool usable_ = false;
};

struct LoaderFunctions {
  DlOpen open;
  DlError error;
};

const LoaderFunctions& Loader() {
  static const LoaderFunctions loader{reinterpret_cast<DlOpen>(dlsym(RTLD_NEXT, "dlopen")),
                                      reinterpret_cast<DlError>(dlsym(RTLD_NEXT, "dlerror"))};
  return loader;
}

// Looked up at start-up: a lookup clears the loader's pending reason, so it must not happen
// between a failure and the dlerror that reads it.
[[maybe_unused]] const LoaderFunctions& g_loader_at_start = Loader();

// The reason for the last miss answered here on this thread, until dlerror reads it. Plain
// storage: dlerror may be asked while the thread's objects are being destroyed.
thread_local char t_miss[320];
thread_local bool t_miss_unread = false;

}  // namespace

void PrepareIcuProbeAnswers() { IcuProbeAnswers::Get().Prepare(); }

}  // namespace zavrik::driver

extern "C" void* dlopen(const char* file, int mode) {
  using namespace zavrik::driver;
  t_miss_unread = false;
  if (IsIcuName(file)) {
    std::optional<std::string> path;
    try {
      path = IcuProbeAnswers::Get().PathFor(file);
    } catch (...) {
      // Without answers the loader searches itself.
    }
    if (path && !path->empty()) return Loader().open(path->c_str(), mode);
    if (path) {
      std::snprintf(t_miss, sizeof t_miss,
                    "%s: cannot open shared object file: No such file or directory", file);
      t_miss_unread = true;
      return nullptr;
    }
  }
  return Loader().open(file, mode);
}

extern "C" char* dlerror() {
  using namespace zavrik::driver;
  char* loader = Loader().error();  // read either way: a reason is given once
  if (!t_miss_unread) return loader;
  t_miss_unread = false;
  return t_miss;
}
