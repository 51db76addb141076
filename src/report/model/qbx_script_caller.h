// How the report calls script procedures by name; the script binding implements it.
#pragma once

#include <vector>

#include "core/variant.h"

namespace zavrik {

class TqbxScriptCaller {
 public:
  virtual ~TqbxScriptCaller() = default;
  virtual Variant CallFunction(StringView name, const std::vector<Variant>& params) = 0;
};

}  // namespace zavrik
