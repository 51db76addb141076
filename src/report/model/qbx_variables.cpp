#include "report/model/qbx_variables.h"

#include "core/case_fold.h"
#include "core/number_parse.h"
#include "core/rtti_props.h"

namespace zavrik {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Digits after an optional sign; with `point`, also one "." between digits.
bool IsNumberText(StringView text, bool point) {
  size_t i = !text.empty() && (text[0] == u'+' || text[0] == u'-') ? 1 : 0;
  const size_t start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == start) return false;
  if (point) {
    if (i == text.size() || text[i] != u'.') return false;
    const size_t fraction = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == fraction) return false;
  }
  return i == text.size();
}

// The content of a string literal in `quote`, the quote doubled inside; none for other texts.
std::optional<String> StringLiteral(StringView text, char16_t quote) {
  if (text.size() < 2 || text.front() != quote || text.back() != quote) return std::nullopt;
  String content;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == quote) {
      if (i + 2 >= text.size() || text[i + 1] != quote) return std::nullopt;
      ++i;
    }
    content += text[i];
  }
  return content;
}

}  // namespace

Variant VariableDataValue(StringView text) {
  StringView number = text;
  while (!number.empty() && (number.front() == u' ' || number.front() == u'\t')) number.remove_prefix(1);
  while (!number.empty() && (number.back() == u' ' || number.back() == u'\t')) number.remove_suffix(1);
  if (IsNumberText(number, false)) {
    if (const auto v = ParseInt32(number)) return Variant(*v);
    if (const auto v = ParseInt64(number)) return Variant(*v);
  } else if (IsNumberText(number, true)) {
    FormatSettings fs;
    fs.decimal_separator = u'.';
    if (const auto v = ParseFloat(number, fs)) return Variant(*v);
  }
  for (const char16_t quote : {u'\'', u'"'}) {
    if (auto literal = StringLiteral(text, quote)) return Variant(std::move(*literal));
  }
  return Variant(String(text));
}

const ClassInfo& TqbxVariable::StaticClass() {
  using C = TqbxVariable;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxVariable", &Object::StaticClass(), &New<TqbxVariable>, {
      Prop(u"Name", &C::Name, &C::SetName),
      Prop(u"Value", &C::Value, &C::SetValue),
  }); });
  return info;
}

const ClassInfo& TqbxVariables::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxVariables", &Object::StaticClass(), nullptr, {}); });
  return info;
}

TqbxVariable& TqbxVariables::Add() { return *FItems.emplace_back(std::make_unique<TqbxVariable>()); }

int TqbxVariables::IndexOf(StringView name) const {
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (SameText(FItems[i]->Name(), name)) return static_cast<int>(i);
  }
  return -1;
}

Variant TqbxVariables::Get(StringView name) const {
  const int index = IndexOf(name);
  return index < 0 ? Variant::Null() : FItems[static_cast<size_t>(index)]->Value();
}

void TqbxVariables::Set(StringView name, const Variant& value) {
  const int index = IndexOf(name);
  TqbxVariable& item = index < 0 ? Add() : Item(index);
  if (index < 0) item.SetName(String(name));
  item.SetValue(value);
}

int TqbxVariables::FindCategory(StringView category, int& end) const {
  const int header = IndexOf(u" " + String(category));
  end = header + 1;
  if (header < 0) return -1;
  while (end < Count() && !FItems[static_cast<size_t>(end)]->IsCategory()) ++end;
  return header;
}

void TqbxVariables::AddVariable(StringView category, StringView name, const Variant& value) {
  int end = 0;
  if (FindCategory(category, end) < 0) return;
  if (const int index = IndexOf(name); index >= 0) return Item(index).SetValue(value);
  auto item = std::make_unique<TqbxVariable>();
  item->SetName(String(name));
  item->SetValue(value);
  FItems.insert(FItems.begin() + end, std::move(item));
}

void TqbxVariables::DeleteVariable(StringView name) {
  if (const int index = IndexOf(name); index >= 0) FItems.erase(FItems.begin() + index);
}

void TqbxVariables::DeleteCategory(StringView name) {
  int end = 0;
  const int header = FindCategory(name, end);
  if (header >= 0) FItems.erase(FItems.begin() + header, FItems.begin() + end);
}

void TqbxVariables::GetCategoriesList(std::vector<String>& list, bool clear_list) const {
  if (clear_list) list.clear();
  for (const auto& item : FItems) {
    if (item->IsCategory()) list.push_back(item->Name().substr(1));
  }
}

void TqbxVariables::GetVariablesList(StringView category, std::vector<String>& list) const {
  list.clear();
  int begin = 0, end = 0;
  if (category.empty()) {
    while (end < Count() && !FItems[static_cast<size_t>(end)]->IsCategory()) ++end;
  } else {
    const int header = FindCategory(category, end);
    if (header < 0) return;
    begin = header + 1;
  }
  for (int i = begin; i < end; ++i) list.push_back(FItems[static_cast<size_t>(i)]->Name());
}

TqbxVariables& qbxGlobalVariables() {
  static TqbxVariables variables;
  return variables;
}

}  // namespace zavrik
