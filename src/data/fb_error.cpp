#include "data/fb_error.h"

#include <cstring>
#include <vector>

#include "data/charset.h"
#include "data/fb_api.h"

namespace zavrik::data {

String StatusText(const ISC_STATUS* status) {
  const FbApi& fb = Fb();
  std::vector<char> buffer(20480);
  const ISC_STATUS* cursor = status;
  String text;
  while (true) {
    buffer[0] = '\0';
    if (fb.interpret(buffer.data(), static_cast<unsigned>(buffer.size()), &cursor) <= 0) break;
    const String piece = DecodeSystemText(std::string_view(buffer.data(), strlen(buffer.data())));
    if (!text.empty() && text.back() != u'\n') text += u"\r\n";
    text += piece;
  }
  if (!text.empty() && text.back() == u'.') text.pop_back();
  return text;
}

void RaiseStatus(const ISC_STATUS* status) {
  const long sql_code = Fb().sqlcode(status);
  const long error_code = status[1];
  String message = StatusText(status);
  if (sql_code == -551) throw DatabaseRoleError(std::move(message), sql_code, error_code);
  throw DatabaseError(std::move(message), sql_code, error_code);
}

}  // namespace zavrik::data
