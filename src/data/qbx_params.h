// Query parameters of report data sources: one item per parameter name of the SQL text, with the
// data type, the expression that gives its value when the query opens, and the value.
#pragma once

#include <memory>
#include <vector>

#include "core/rtti.h"
#include "data/field_type.h"

namespace zavrik {
class TqbxEvaluator;
class TqbxPropReader;
class TqbxPropWriter;
class TqbxXMLSerializer;
}  // namespace zavrik

namespace zavrik::data {

class ParamList;

// The element names of FieldType ("ftUnknown", "ftString", ...).
const EnumType& FieldTypeNames();

class TqbxParamItem : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  String Name;
  FieldType DataType = FieldType::ftUnknown;
  String Expression;
  Variant Value;
};

class TqbxParams {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TqbxParamItem& Item(int index) const { return *FItems.at(static_cast<size_t>(index)); }
  TqbxParamItem& Add();
  void Clear() { FItems.clear(); }
  // The item of that name (case-insensitive), or none.
  TqbxParamItem* Find(StringView name) const;
  // Raises "Parameter "name" not found".
  TqbxParamItem& ParamByName(StringView name) const;
  // One item per name in order (one per distinct name with `ignore_duplicates`); an existing item
  // of the same name keeps its data type, value and expression.
  void Rebuild(const std::vector<String>& names, bool ignore_duplicates);
  // Reads items stored as the defined property "Parameters"; an item named like an existing one
  // replaces its settings.
  void ReadStored(TqbxPropReader& reader, TqbxXMLSerializer& serializer);
  void WriteStored(TqbxPropWriter& writer) const;

 private:
  std::vector<std::unique_ptr<TqbxParamItem>> FItems;
};

// Binds the items to the query's parameters of the same names (every entry of a name): cleared,
// typed, and given the item's value, which `evaluator` first computes from a non-blank
// Expression. Date and time values are assigned as they are, others by their text.
void BindParams(const TqbxParams& items, ParamList& params, TqbxEvaluator* evaluator);

}  // namespace zavrik::data
