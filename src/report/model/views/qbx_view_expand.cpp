// Expressions in view strings: bracket matching, [expression] expansion and the view's GetData.
#include <algorithm>

#include "core/ustring.h"
#include "core/variant_convert.h"
#include "report/model/qbx_evaluator.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {
namespace {

std::vector<String> SplitAt(const String& text, char16_t separator) {
  std::vector<String> parts;
  size_t from = 0;
  for (size_t at = text.find(separator); at != String::npos; at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  parts.push_back(text.substr(from));
  return parts;
}

String Join(const std::vector<String>& parts, char16_t separator) {
  String out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += separator;
    out += parts[i];
  }
  return out;
}

// A string value as a literal of the script language.
String QuoteForLanguage(const String& value, const String& language) {
  const bool pascal = SameTextAscii(language, u"PascalScript");
  const char16_t quote = pascal ? u'\'' : u'"';
  String out(1, quote);
  for (char16_t c : value) {
    if (c == quote) out += pascal ? u'\'' : u'\\';
    out += c;
  }
  out += quote;
  return out;
}

}  // namespace

TqbxEvaluator* EvaluatorOf(const TqbxComponent& component) {
  TqbxComponent* report = component.Report();
  return report ? report->AsEvaluator() : nullptr;
}

StringView MatchBrackets(StringView text, StringView open, StringView close, size_t start, size_t& end) {
  end = start;
  if (open.empty() || close.empty() || start >= text.size() || text.substr(start, open.size()) != open) return {};
  // The first characters are compared before the whole delimiters.
  const char16_t open_first = open.front(), close_first = close.front();
  int depth = 0;
  bool in_double = false, in_single = false;
  size_t expr_start = start + open.size();
  size_t pos = start;
  for (; pos < text.size(); ++pos) {
    const char16_t c = text[pos];
    if (!in_double && !in_single) {
      if (c == open_first && text.substr(pos, open.size()) == open) {
        if (depth == 0) expr_start = pos + open.size();
        ++depth;
      } else if (c == close_first && text.substr(pos, close.size()) == close) {
        --depth;
      }
    }
    if (c == u'"' && !in_single) in_double = !in_double;
    else if (c == u'\'' && !in_double) in_single = !in_single;
    if (depth == 0) break;
  }
  // Unbalanced: the walk ends on the last character, which the expression leaves out.
  if (pos >= text.size()) pos = text.size() - 1;
  end = std::min(pos + close.size() - 1, text.size() - 1);
  return expr_start <= pos ? text.substr(expr_start, pos - expr_start) : StringView();
}

String TqbxView::ExpandBracketed(const String& text) {
  TqbxEvaluator* evaluator = EvaluatorOf(*this);
  if (!evaluator) return text;
  String s = text;
  for (size_t pos = s.find(u'['); pos != String::npos; pos = s.find(u'[', pos)) {
    size_t end = pos;
    const String expression(MatchBrackets(s, u"[", u"]", pos, end));
    const String value = VarToString(evaluator->Calc(expression));
    s.replace(pos, end - pos + 1, value);
    pos += value.size();
  }
  return s;
}

void TqbxView::GetData() {
  TqbxEvaluator* evaluator = EvaluatorOf(*this);
  if (!evaluator) return;
  evaluator->SetSelfValue(this);
  if (FTagStr.find(u'[') != String::npos) FTagStr = ExpandBracketed(FTagStr);
  TqbxHyperlink& link = *FHyperlink;
  const char16_t separator = link.Separator();
  if (link.Value().find(u'[') != String::npos) {
    std::vector<String> parts = SplitAt(link.Value(), separator);
    for (String& part : parts) part = ExpandBracketed(part);
    link.SetValue(Join(parts, separator));
  }
  if (!link.Expression().empty()) {
    std::vector<String> values;
    for (const String& part : SplitAt(link.Expression(), separator)) {
      const Variant value = evaluator->Calc(part);
      String text = VarToString(value);
      if (value.Kind() == VarKind::String && link.Kind() != hkURL) text = QuoteForLanguage(text, evaluator->ScriptLanguage());
      values.push_back(std::move(text));
    }
    link.SetValue(Join(values, separator));
  }
}

}  // namespace zavrik
