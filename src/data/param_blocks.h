// The attach (DPB) and transaction (TPB) parameter blocks built from "name=value" parameter lines.
#pragma once

#include <string>
#include <string_view>

#include "core/string_list.h"

namespace zavrik::data {

struct AttachParameters {
  std::string bytes;  // the parameter block
  String charset;     // the lc_ctype value when one was given, else empty
};

AttachParameters BuildDpb(const StringList& params);
// Adds a text item to a built parameter block; a value longer than 255 bytes is left out.
void AppendDpbText(std::string& dpb, int code, std::string_view value);
std::string BuildTpb(const StringList& params);

}  // namespace zavrik::data
