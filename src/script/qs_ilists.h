// The script library's lists: TList (objects) and TStringList (strings with objects); TWideStrings
// behaves as a string list. Host code fills them for scripts and reads what scripts put in.
#pragma once

#include <vector>

#include "core/rtti.h"
#include "core/ustring.h"
#include "core/variant.h"

namespace zavrik {

const ClassInfo& qsPersistentClass();
const ClassInfo& qsStringsClass();

class TqsList : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  std::vector<Variant> FItems;
};

class TqsStringList : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  ~TqsStringList() override;
  std::vector<String> FStrings;
  std::vector<Variant> FObjects;
  bool FSorted = false;

  String Text() const;
  void SetText(StringView text);
  // The strings separated by commas, each in double quotes (doubled inside) when it holds a
  // space, a control character, a comma or a quote; a single empty string is "".
  String CommaText() const;
  // Items separated by commas or by spaces and control characters outside double quotes; a comma
  // at the very end adds an empty string.
  void SetCommaText(StringView text);
  void SetSorted(bool sorted);
  // Orders the strings (case-insensitively, equal ones keeping their order) with their objects.
  void Sort();
  // OnChanging before and OnChange after every change of the strings or objects.
  virtual void Changing();
  virtual void Changed();
  // Positions are the sort's in a sorted list: strings go in through Add only.
  void RequireUnsorted() const;
  int IndexOf(StringView s) const;
  int Add(String s, Variant object = Variant(int32_t{0}));
};

class TqsWideStrings : public TqsStringList {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

}  // namespace zavrik
