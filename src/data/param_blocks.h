// The attach (DPB) and transaction (TPB) parameter blocks built from "name=value" parameter lines.
#pragma once

#include <string>

#include "core/string_list.h"

namespace zavrik::data {

struct AttachParameters {
  std::string bytes;  // the parameter block
  String charset;     // the lc_ctype value when one was given, else empty
};

AttachParameters BuildDpb(const StringList& params);
std::string BuildTpb(const StringList& params);

}  // namespace zavrik::data
