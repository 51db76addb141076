// Finding aggregate calls in expression texts: words, quoted strings and brackets are walked the
// way the accumulators are created before a page runs.
#include <algorithm>
#include <set>

#include "engine/run/qbx_aggregate.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {
namespace {

// Characters passed over between words.
bool IsSkipped(char16_t c) {
  if (c >= 1 && c <= 32) return true;
  if (c >= u'0' && c <= u'9') return true;
  return StringView(u"!#$%&*+,-./=[]^|").find(c) != StringView::npos;
}

// Characters that end a word: the skipped ones without the digits, and "(".
bool EndsWord(char16_t c) {
  if (c >= u'0' && c <= u'9') return false;
  return c == u'(' || IsSkipped(c);
}

bool IsAggregateWord(StringView word) {
  const String upper = AsciiUpper(word);
  return upper == u"SUM" || upper == u"MIN" || upper == u"MAX" || upper == u"AVG" ||
         upper == u"COUNT";
}

// The position after the quoted string that starts at `pos` (the end when it does not close).
size_t SkipQuoted(StringView text, size_t pos) {
  const size_t close = text.find(text[pos], pos + 1);
  return close == StringView::npos ? text.size() : close + 1;
}

// The position of the bracket closing the one at `pos` (quoted strings do not count), or the
// end of the text.
size_t MatchingClose(StringView text, size_t pos, char16_t open, char16_t close) {
  int depth = 0;
  for (size_t i = pos; i < text.size();) {
    const char16_t c = text[i];
    if (c == u'"' || c == u'\'') {
      i = SkipQuoted(text, i);
      continue;
    }
    if (c == open) ++depth;
    if (c == close && --depth == 0) return i;
    ++i;
  }
  return text.size();
}

// The arguments between the parenthesis at `open` and `close`: split at commas of depth 1.
std::vector<String> SplitArguments(StringView text, size_t open, size_t close) {
  std::vector<String> arguments;
  int depth = 0;
  size_t start = open + 1;
  for (size_t i = open; i < close;) {
    const char16_t c = text[i];
    if (c == u'"' || c == u'\'') {
      i = std::min(SkipQuoted(text, i), close);
      continue;
    }
    if (c == u'(') ++depth;
    if (c == u')') --depth;
    if (c == u',' && depth == 1) {
      arguments.push_back(Trim(text.substr(start, i - start)));
      start = i + 1;
    }
    ++i;
  }
  if (close > start || !arguments.empty())
    arguments.push_back(Trim(text.substr(start, close - start)));
  if (arguments.size() > 3) arguments.resize(3);
  return arguments;
}

class CallFinder {
 public:
  CallFinder(const std::function<bool(StringView, String&)>& variable_text,
             const std::function<bool(StringView)>& is_field)
      : FVariableText(variable_text), FIsField(is_field) {}

  void Analyse(StringView text) {
    // Brackets nested this deep hold no calls worth finding.
    if (FDepth > 64) return;
    ++FDepth;
    if (!IsVariable(text) && !FIsField(Trim(text))) Scan(text);
    --FDepth;
  }

  std::vector<TqbxAggregateCall> Calls;

 private:
  void Scan(StringView text) {
    size_t i = 0;
    while (i < text.size()) {
      const char16_t c = text[i];
      if (IsSkipped(c) || c == 0) {
        ++i;
      } else if (c == u'"' || c == u'\'') {
        i = SkipQuoted(text, i);
      } else if (c == u'(' || c == u'<') {
        const size_t close = MatchingClose(text, i, c, c == u'(' ? u')' : u'>');
        Analyse(text.substr(i + 1, std::min(close, text.size()) - i - 1));
        i = close + 1;
      } else {
        size_t end = i;
        while (end < text.size() && !EndsWord(text[end])) ++end;
        if (end == i) ++end;
        const StringView word = text.substr(i, end - i);
        if (!IsAggregateWord(word)) {
          IsVariable(word);
          i = end;
        } else if (end < text.size() && text[end] == u'(') {
          const size_t close = MatchingClose(text, end, u'(', u')');
          TqbxAggregateCall call;
          call.Word = String(word);
          call.Text = Trim(text.substr(i, std::min(close + 1, text.size()) - i));
          call.Arguments = SplitArguments(text, end, std::min(close, text.size()));
          Calls.push_back(std::move(call));
          i = close + 1;
        } else {
          i = end;
        }
      }
    }
  }

  // True when `name` is a report variable. Its text is searched the first time only: variables
  // that name each other (or themselves) several times would otherwise be searched without end.
  bool IsVariable(StringView name) {
    const String key = AsciiUpper(Trim(name));
    String value;
    if (key.empty() || !FVariableText(key, value)) return false;
    if (FVisited.insert(key).second) Analyse(value);
    return true;
  }

  const std::function<bool(StringView, String&)>& FVariableText;
  const std::function<bool(StringView)>& FIsField;
  int FDepth = 0;
  std::set<String> FVisited;
};

}  // namespace

TqbxAggregateFunction AggregateFunctionOf(StringView name) {
  const String upper = AsciiUpper(Trim(name));
  if (upper == u"SUM") return agSum;
  if (upper == u"AVG") return agAvg;
  if (upper == u"MIN") return agMin;
  if (upper == u"MAX") return agMax;
  return agCount;
}

std::vector<TqbxAggregateCall> FindAggregateCalls(
    StringView expression, const std::function<bool(StringView, String&)>& variable_text,
    const std::function<bool(StringView)>& is_field) {
  CallFinder finder(variable_text, is_field);
  finder.Analyse(expression);
  return std::move(finder.Calls);
}

std::vector<String> ExpressionsOf(const String& text, const String& delimiters) {
  std::vector<String> result;
  const size_t comma = delimiters.find(u',');
  if (comma == String::npos) return result;
  const String open = delimiters.substr(0, comma);
  const String close = delimiters.substr(comma + 1);
  if (open.empty() || close.empty()) return result;
  for (size_t pos = text.find(open); pos != String::npos; pos = text.find(open, pos)) {
    size_t end = pos;
    String expression(MatchBrackets(text, open, close, pos, end));
    if (end == pos) break;
    result.push_back(std::move(expression));
    pos = end + 1;
  }
  return result;
}

}  // namespace zavrik
