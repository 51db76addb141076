// What the report's script members share: the instance of the expected class, object results and
// text arguments.
#pragma once

#include <vector>

#include "core/error.h"
#include "core/rtti.h"
#include "core/variant_convert.h"

namespace zavrik {

// The instance as a T; "<class> expected" otherwise.
template <class T>
T& ScriptSelf(Object* instance) {
  auto* self = dynamic_cast<T*>(instance);
  if (!self) throw Error(T::StaticClass().Name() + u" expected");
  return *self;
}

// An object result: nil for none.
inline Variant ObjectOrNil(Object* object) { return object ? Variant(object) : Variant(int32_t{0}); }

// Argument `index` as text; empty when absent.
inline String TextArgument(const std::vector<Variant>& p, size_t index = 0) {
  return index < p.size() ? VarToString(p[index]) : String();
}

}  // namespace zavrik
