// Query parameters: one entry per occurrence of a name in the SQL text.
#pragma once

#include <string>
#include <vector>

#include "core/variant.h"
#include "data/field_type.h"

namespace zavrik::data {

struct Param {
  String Name;
  FieldType DataType = FieldType::ftUnknown;
  Variant Value;      // Empty or Null binds SQL NULL
  std::string Bytes;  // the value of byte and BLOB data types

  bool IsNull() const { return Value.IsNull() || Value.IsEmpty(); }
  void Clear() {
    Value = Variant::Null();
    Bytes.clear();
  }
  void SetAsString(String text) {
    DataType = FieldType::ftString;
    Value = Variant(std::move(text));
  }
  void SetAsBytes(std::string bytes) {
    DataType = FieldType::ftBlob;
    Bytes = std::move(bytes);
    Value = Variant(int32_t{0});  // not null
  }
};

class ParamList {
 public:
  size_t Count() const { return items_.size(); }
  Param& operator[](size_t i) { return items_[i]; }
  const Param& operator[](size_t i) const { return items_[i]; }
  // The first entry of the name, compared without regard to case; nullptr when absent.
  Param* Find(StringView name);
  // As Find, but raises "Parameter \"%s\" not found" when absent.
  Param& ByName(StringView name);
  void Rebuild(const std::vector<String>& names);

 private:
  std::vector<Param> items_;
};

}  // namespace zavrik::data
