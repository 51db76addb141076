#include "platform/cairo_api.h"

#include "core/shared_library.h"

namespace zavrik {
namespace {

CairoApi LoadCairo() {
  void* library = OpenLibraryFor("Drawing pictures needs", ZAVRIK_CAIRO_LIBRARY);
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
