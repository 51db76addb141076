#include "platform/cairo_api.h"

#include <string>

#include "core/error.h"
#include "core/shared_library.h"

namespace zavrik {
namespace {

CairoApi LoadCairo() {
  void* library = OpenSharedLibrary(ZAVRIK_CAIRO_LIBRARY);
  if (!library) {
    throw Error("Drawing pictures needs the library " + std::string(ZAVRIK_CAIRO_LIBRARY) + ": " +
                SharedLibraryError());
  }
  CairoApi api{};
#define ZAVRIK_CAIRO_RESOLVE(name) \
  ResolveSymbol(library, ZAVRIK_CAIRO_LIBRARY, "cairo_" #name, api.name);
  ZAVRIK_CAIRO_FUNCTIONS(ZAVRIK_CAIRO_RESOLVE)
#undef ZAVRIK_CAIRO_RESOLVE
  return api;
}

}  // namespace

const CairoApi& Cairo() {
  static const CairoApi api = LoadCairo();  // a throwing load leaves it for the next call
  return api;
}

}  // namespace zavrik
