#include "report/qbx_preview_pages.h"

namespace zavrik {
namespace {

TqbxPreviewPagesFactory& Factory() {
  static TqbxPreviewPagesFactory factory;
  return factory;
}

}  // namespace

void RegisterPreviewPagesFactory(TqbxPreviewPagesFactory factory) {
  Factory() = std::move(factory);
}

std::unique_ptr<TqbxCustomPreviewPages> CreatePreviewPages(TqbxReport& report) {
  return Factory() ? Factory()(report) : nullptr;
}

}  // namespace zavrik
