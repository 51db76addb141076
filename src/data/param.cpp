#include "data/param.h"

#include "core/case_fold.h"
#include "core/error.h"

namespace zavrik::data {

Param* ParamList::Find(StringView name) {
  for (Param& p : items_)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

Param& ParamList::ByName(StringView name) {
  if (Param* p = Find(name)) return *p;
  throw Error(u"Parameter \"" + String(name) + u"\" not found");
}

void ParamList::Rebuild(const std::vector<String>& names) {
  std::vector<Param> items;
  items.reserve(names.size());
  for (const String& name : names) {
    Param p;
    p.Name = name;
    p.Value = Variant::Null();
    items.push_back(std::move(p));
  }
  items_ = std::move(items);
}

}  // namespace zavrik::data
