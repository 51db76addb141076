#include "data/sql_params.h"

#include "core/error.h"

namespace zavrik::data {
namespace {

bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'$';
}

[[noreturn]] void Fail(const char16_t* what) {
  throw Error(String(u"SQL Parse Error:\r\n\r\n") + what);
}

enum class State { Plain, Literal, Comment };

}  // namespace

ParsedSql ParseSqlParams(StringView sql) {
  ParsedSql out;
  out.text.reserve(sql.size());
  State state = State::Plain;
  char16_t quote = 0;
  const size_t n = sql.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = sql[i];
    switch (state) {
      case State::Plain:
        if (c == u'\'' || c == u'"') {
          state = State::Literal;
          quote = c;
          out.text += c;
          ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
          state = State::Comment;
          out.text += u"/*";
          i += 2;
        } else if (c == u':' || c == u'?') {
          out.text += u'?';
          ++i;
          String name;
          if (i < n && sql[i] == u'"') {
            // Quoted name: everything up to the next double quote.
            const size_t close = sql.find(u'"', i + 1);
            const size_t end = close == StringView::npos ? n : close;
            name = String(sql.substr(i + 1, end - i - 1));
            i = close == StringView::npos ? n : close + 1;
          } else {
            const size_t start = i;
            while (i < n && IsNameChar(sql[i])) ++i;
            if (i == start) Fail(u"Parameter name expected");
            name = String(sql.substr(start, i - start));
          }
          out.names.push_back(std::move(name));
          // The character that ended the name is copied as it stands.
          if (i < n) out.text += sql[i++];
        } else {
          out.text += c;
          ++i;
        }
        break;
      case State::Literal:
        out.text += c;
        ++i;
        if (c == quote) {
          if (i < n && sql[i] == quote) {
            out.text += sql[i++];
          } else {
            state = State::Plain;
          }
        }
        break;
      case State::Comment:
        if (c == u'*' && i + 1 < n && sql[i + 1] == u'/') {
          out.text += u"*/";
          i += 2;
          state = State::Plain;
        } else {
          out.text += c;
          ++i;
        }
        break;
    }
  }
  if (state == State::Literal) Fail(u"EOF in string detected");
  if (state == State::Comment) Fail(u"EOF in comment detected");
  return out;
}

}  // namespace zavrik::data
