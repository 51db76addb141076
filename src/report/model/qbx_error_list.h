// The messages of a load or preparation: sorted alphabetically (ignoring letter case), each
// distinct message once.
#pragma once

#include <vector>

#include "core/ustring.h"

namespace zavrik {

class TqbxErrorList {
 public:
  void Add(const String& message);
  void AddAll(const TqbxErrorList& other);
  void Clear() { FItems.clear(); }
  bool Empty() const { return FItems.empty(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  const String& operator[](int index) const { return FItems.at(static_cast<size_t>(index)); }
  const std::vector<String>& Items() const { return FItems; }
  // The messages, one per line (CR LF between them).
  String Text() const;

 private:
  std::vector<String> FItems;
};

}  // namespace zavrik
