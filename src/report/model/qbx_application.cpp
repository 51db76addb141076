#include "report/model/qbx_application.h"

#include <mutex>
#include <vector>

namespace zavrik {
namespace {

struct Registry {
  std::mutex lock;
  std::vector<TqbxApplicationComponent> components;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterApplicationComponent(TqbxApplicationComponent component) {
  UnregisterApplicationComponent(component.Name);
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.components.push_back(std::move(component));
}

void UnregisterApplicationComponent(StringView name) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  std::erase_if(r.components, [name](const auto& c) { return SameTextAscii(c.Name, name); });
}

Object* FindApplicationObject(StringView dotted_name) {
  const size_t dot = dotted_name.find(u'.');
  if (dot == StringView::npos) return nullptr;
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  for (const auto& c : r.components) {
    if (SameTextAscii(c.Name, dotted_name.substr(0, dot)) && c.Find) return c.Find(dotted_name.substr(dot + 1));
  }
  return nullptr;
}

String ApplicationObjectName(const Object& object) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  for (const auto& c : r.components) {
    if (!c.PathOf) continue;
    if (String path = c.PathOf(object); !path.empty()) return c.Name + u"." + path;
  }
  return String();
}

}  // namespace zavrik
