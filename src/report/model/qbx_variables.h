// Report variables: an ordered list of names and values. An item whose name begins with a space is
// a category header (" Params" opens category Params); the variables after it belong to it.
#pragma once

#include <memory>
#include <vector>

#include "core/rtti.h"

namespace zavrik {

class TqbxVariable : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  const String& Name() const { return FName; }
  void SetName(const String& v) { FName = v; }
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& v) { FValue = v; }
  bool IsCategory() const { return !FName.empty() && FName[0] == u' '; }

 private:
  String FName;
  Variant FValue;
};

// An Object so that scripts reach it (`Report.Variables['Name']`).
class TqbxVariables : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TqbxVariable& Item(int index) const { return *FItems.at(static_cast<size_t>(index)); }
  TqbxVariable& Add();
  void Clear() { FItems.clear(); }
  // The first item of that name (case-insensitive), or -1.
  int IndexOf(StringView name) const;
  // The value of the first such item; null when there is none.
  Variant Get(StringView name) const;
  // Replaces that item's value, or appends a new item at the end, outside every category.
  void Set(StringView name, const Variant& value);
  // Nothing without the category header; replaces the value of an existing variable; otherwise
  // inserts after the category's last variable.
  void AddVariable(StringView category, StringView name, const Variant& value);
  void DeleteVariable(StringView name);
  // Removes the header and its variables.
  void DeleteCategory(StringView name);
  // Header names without the leading space.
  void GetCategoriesList(std::vector<String>& list, bool clear_list = true) const;
  // The variables of a category; with an empty category, those before the first header.
  void GetVariablesList(StringView category, std::vector<String>& list) const;

 private:
  // The header's index, or -1; `end` gets the index after the category's last variable.
  int FindCategory(StringView category, int& end) const;

  std::vector<std::unique_ptr<TqbxVariable>> FItems;
};

// The value of a text that is data, not an expression: an integer (sign and leading zeros allowed,
// "00123" is 123; 32 bits, else 64), a decimal number ("-12.50"), or a string literal in single
// or double quotes (the quote doubled inside) gives that value; any other text is itself.
Variant VariableDataValue(StringView text);

// The process-wide variable list (qbxGlobalVariables to scripts; CopyName0 for CopyName#).
TqbxVariables& qbxGlobalVariables();

}  // namespace zavrik
