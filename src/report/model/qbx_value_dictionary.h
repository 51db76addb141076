// Where views record deferred and duplicate-checked texts: the prepared pages' dictionary of
// deferred values implements it.
#pragma once

#include "core/ustring.h"
#include "report/model/views/qbx_memo_format.h"

namespace zavrik {

class TqbxComponent;

class TqbxValueDictionary {
 public:
  virtual ~TqbxValueDictionary() = default;
  // Records `content` as the next value of the object `name` printed on `band_name`; the index of
  // the value, which is the previous one's when `suppressed` and the text repeats.
  virtual int Add(const String& band_name, const String& name, const String& content,
                  TqbxProcessAtMode process_at, TqbxComponent* component, bool suppressed) = 0;
};

}  // namespace zavrik
