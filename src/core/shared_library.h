// Libraries opened at run time, when a feature first needs them.
#pragma once

#include <string>

namespace zavrik {

// The library's handle (RTLD_NOW | RTLD_GLOBAL), or null when it cannot be opened.
void* OpenSharedLibrary(const char* name);

// The loader's reason for the last failure ("" when it gave none).
std::string SharedLibraryError();

// The handle of `library`; when it cannot be opened, raises Error "<needed_by> the library
// <library>: <the loader's reason>", `needed_by` saying what needs it ("TIFF pictures need").
void* OpenLibraryFor(const std::string& needed_by, const char* library);

// The entry point `symbol` of `library`; raises Error naming both when it is missing.
void* LibrarySymbol(void* library, const char* library_name, const char* symbol);

// The entry point `symbol` of `library`, or null when it has none.
void* OptionalLibrarySymbol(void* library, const char* symbol);

template <typename Fn>
void ResolveSymbol(void* library, const char* library_name, const char* symbol, Fn& target) {
  target = reinterpret_cast<Fn>(LibrarySymbol(library, library_name, symbol));
}

}  // namespace zavrik
