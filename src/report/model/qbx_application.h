// Components that live for the whole process outside any report, such as the data module `dm`.
// Templates reach their parts with dotted names ("dm.Base").
#pragma once

#include <functional>

#include "core/rtti.h"

namespace zavrik {

struct TqbxApplicationComponent {
  String Name;
  // The object at a path below the component ("Base", "A.B"), or none.
  std::function<Object*(StringView path)> Find;
  // The path of an object below the component, or '' when it is not one of its parts.
  std::function<String(const Object& object)> PathOf;
};

void RegisterApplicationComponent(TqbxApplicationComponent component);
void UnregisterApplicationComponent(StringView name);
// "A.B" or "A.B.C": the component A (case-insensitive), then the path inside it.
Object* FindApplicationObject(StringView dotted_name);
// "A.path" for a part of an application component, '' otherwise.
String ApplicationObjectName(const Object& object);

}  // namespace zavrik
