// What views read from the data source they are bound to; data sources implement it.
#pragma once

#include "core/variant.h"

namespace zavrik {

class TqbxFieldSource {
 public:
  virtual ~TqbxFieldSource() = default;
  virtual Variant FieldValue(StringView field) = 0;
  virtual String FieldDisplayText(StringView field) = 0;
  virtual bool IsBlobField(StringView field) = 0;
  // The content of a blob field as text.
  virtual String BlobText(StringView field) = 0;
};

}  // namespace zavrik
