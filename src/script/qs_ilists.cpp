#include "script/qs_ilists.h"

#include <algorithm>
#include <numeric>

#include "core/error.h"
#include "script/qs_iclass.h"
#include "script/qs_ievents.h"
#include "script/qs_ihelpers.h"

namespace zavrik {

const ClassInfo& qsPersistentClass() { return qsNamedClass(u"TPersistent", &Object::StaticClass()); }
const ClassInfo& qsStringsClass() { return qsNamedClass(u"TStrings", &qsPersistentClass()); }

const ClassInfo& TqsList::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TList", &Object::StaticClass(), &New<TqsList>, {}); });
  return info;
}

const ClassInfo& TqsStringList::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TStringList", &qsStringsClass(), &New<TqsStringList>, {}); });
  return info;
}

const ClassInfo& TqsWideStrings::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TWideStrings", &qsStringsClass(), &New<TqsWideStrings>, {}); });
  return info;
}

TqsStringList::~TqsStringList() { qsUnbindInstance(this); }

String TqsStringList::Text() const {
  String text;
  for (const String& s : FStrings) text += s + u"\r\n";
  return text;
}

void TqsStringList::SetText(StringView text) {
  FStrings.clear();
  String line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      FStrings.push_back(std::move(line));
      line.clear();
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) FStrings.push_back(std::move(line));
  FObjects.assign(FStrings.size(), Variant(int32_t{0}));
  if (FSorted) Sort();
}

namespace {

bool IsBlank(char16_t ch) { return ch >= 1 && ch <= u' '; }

}  // namespace

String TqsStringList::CommaText() const {
  if (FStrings.size() == 1 && FStrings[0].empty()) return u"\"\"";
  String text;
  for (size_t i = 0; i < FStrings.size(); ++i) {
    const String& item = FStrings[i];
    if (i > 0) text += u',';
    const bool quoted = std::any_of(item.begin(), item.end(), [](char16_t ch) {
      return ch <= u' ' || ch == u'"' || ch == u',';
    });
    if (!quoted) {
      text += item;
      continue;
    }
    text += u'"';
    for (char16_t ch : item) {
      if (ch == u'"') text += u'"';
      text += ch;
    }
    text += u'"';
  }
  return text;
}

void TqsStringList::SetCommaText(StringView text) {
  FStrings.clear();
  size_t i = 0;
  const auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip_blanks();
  while (i < text.size()) {
    String item;
    if (text[i] == u'"') {
      for (++i; i < text.size(); ++i) {
        if (text[i] == u'"') {
          if (i + 1 < text.size() && text[i + 1] == u'"') ++i;
          else break;
        }
        item += text[i];
      }
      if (i < text.size()) ++i;  // the closing quote
      while (i < text.size() && text[i] > u' ' && text[i] != u',') item += text[i++];
    } else {
      while (i < text.size() && text[i] > u' ' && text[i] != u',') item += text[i++];
    }
    FStrings.push_back(std::move(item));
    skip_blanks();
    if (i < text.size() && text[i] == u',') {
      if (i + 1 == text.size()) FStrings.emplace_back();
      ++i;
      skip_blanks();
    }
  }
  FObjects.assign(FStrings.size(), Variant(int32_t{0}));
  if (FSorted) Sort();
}

void TqsStringList::SetSorted(bool sorted) {
  if (sorted && !FSorted) {
    FSorted = true;
    Sort();
  }
  FSorted = sorted;
}

void TqsStringList::Sort() {
  std::vector<size_t> order(FStrings.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::vector<String> keys;
  keys.reserve(FStrings.size());
  for (const String& s : FStrings) keys.push_back(qsUpperName(s));
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
  std::vector<String> strings;
  std::vector<Variant> objects;
  for (size_t i : order) {
    strings.push_back(std::move(FStrings[i]));
    objects.push_back(std::move(FObjects[i]));
  }
  FStrings = std::move(strings);
  FObjects = std::move(objects);
}

void TqsStringList::Changing() {
  if (auto* event = qsFindEvent<TqsNotifyEvent>(this, u"OnChanging")) event->Notify(this);
}

void TqsStringList::Changed() {
  if (auto* event = qsFindEvent<TqsNotifyEvent>(this, u"OnChange")) event->Notify(this);
}

void TqsStringList::RequireUnsorted() const {
  if (FSorted) throw Error(u"Operation not allowed on sorted list");
}

int TqsStringList::IndexOf(StringView s) const {
  for (size_t i = 0; i < FStrings.size(); ++i) {
    if (qsSameName(FStrings[i], s)) return static_cast<int>(i);
  }
  return -1;
}

int TqsStringList::Add(String s, Variant object) {
  size_t at = FStrings.size();
  if (FSorted) {
    at = 0;
    while (at < FStrings.size() && qsUpperName(FStrings[at]) <= qsUpperName(s)) ++at;
  }
  FStrings.insert(FStrings.begin() + static_cast<ptrdiff_t>(at), std::move(s));
  FObjects.insert(FObjects.begin() + static_cast<ptrdiff_t>(at), std::move(object));
  return static_cast<int>(at);
}

}  // namespace zavrik
