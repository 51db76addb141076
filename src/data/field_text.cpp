#include "data/field_text.h"

#include "core/datetime_format.h"
#include "core/variant_convert.h"
#include "data/query.h"

namespace zavrik::data {

String FieldDisplayText(const Field& field) {
  if (field.IsNull()) return String();
  if (field.IsBlob()) return field.DataType() == FieldType::ftMemo ? u"(MEMO)" : u"(BLOB)";
  const Variant value = field.Value();
  switch (field.DataType()) {
    case FieldType::ftDate:
      return DateToStr(VarToDate(value));
    case FieldType::ftTime:
      return TimeToStr(VarToDate(value));
    case FieldType::ftDateTime:
      return DateTimeToStr(VarToDate(value));
    case FieldType::ftBoolean:
      return VarToBoolean(value) ? u"True" : u"False";
    default:
      return VarToStr(value);
  }
}

int FieldDisplayWidth(const Field& field) {
  switch (field.DataType()) {
    case FieldType::ftString:
    case FieldType::ftFixedChar:
    case FieldType::ftWideString:
    case FieldType::ftFixedWideChar:
      return field.Size();
    case FieldType::ftSmallint:
      return 6;
    case FieldType::ftInteger:
      return 11;
    case FieldType::ftLargeint:
      return 15;
    case FieldType::ftBoolean:
      return 5;
    case FieldType::ftDateTime:
      return 18;
    default:
      return 10;
  }
}

}  // namespace zavrik::data
