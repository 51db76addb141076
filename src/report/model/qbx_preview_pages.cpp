#include "report/model/qbx_preview_pages.h"

namespace zavrik {
namespace {

TqbxPreviewPagesFactory& Factory() {
  static TqbxPreviewPagesFactory factory;
  return factory;
}

}  // namespace

const ClassInfo& TqbxCustomOutline::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomOutline", &Object::StaticClass(), nullptr, {}); });
  return info;
}

const ClassInfo& TqbxCustomPreviewPages::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomPreviewPages", &Object::StaticClass(), nullptr, {}); });
  return info;
}

void RegisterPreviewPagesFactory(TqbxPreviewPagesFactory factory) {
  Factory() = std::move(factory);
}

std::unique_ptr<TqbxCustomPreviewPages> CreatePreviewPages(TqbxReport& report) {
  return Factory() ? Factory()(report) : nullptr;
}

}  // namespace zavrik
