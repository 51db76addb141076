#include "core/shared_library.h"

#include <dlfcn.h>

#include "core/error.h"

namespace zavrik {

void* OpenSharedLibrary(const char* name) { return dlopen(name, RTLD_NOW | RTLD_GLOBAL); }

std::string SharedLibraryError() {
  const char* reason = dlerror();
  return reason ? reason : "";
}

void* OpenLibraryFor(const std::string& needed_by, const char* library) {
  void* handle = OpenSharedLibrary(library);
  if (!handle)
    throw Error(needed_by + " the library " + library + ": " + SharedLibraryError());
  return handle;
}

void* OptionalLibrarySymbol(void* library, const char* symbol) { return dlsym(library, symbol); }

void* LibrarySymbol(void* library, const char* library_name, const char* symbol) {
  void* p = dlsym(library, symbol);
  if (!p) throw Error(std::string(library_name) + " lacks the entry point " + symbol);
  return p;
}

}  // namespace zavrik
