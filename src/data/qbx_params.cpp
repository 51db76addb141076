#include "data/qbx_params.h"

#include "core/case_fold.h"
#include "core/error.h"
#include "core/rtti_props.h"
#include "core/variant_convert.h"
#include "data/param.h"
#include "report/model/qbx_evaluator.h"
#include "report/document/qbx_prop_stream.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik::data {

const EnumType& FieldTypeNames() {
  static const EnumType type{
      u"ftUnknown",  u"ftString",      u"ftSmallint", u"ftInteger",       u"ftWord",
      u"ftBoolean",  u"ftFloat",       u"ftCurrency", u"ftBCD",           u"ftDate",
      u"ftTime",     u"ftDateTime",    u"ftBytes",    u"ftVarBytes",      u"ftAutoInc",
      u"ftBlob",     u"ftMemo",        u"ftGraphic",  u"ftFmtMemo",       u"ftParadoxOle",
      u"ftDBaseOle", u"ftTypedBinary", u"ftCursor",   u"ftFixedChar",     u"ftWideString",
      u"ftLargeint", u"ftADT",         u"ftArray",    u"ftReference",     u"ftDataSet",
      u"ftOraBlob",  u"ftOraClob",     u"ftVariant",  u"ftInterface",     u"ftIDispatch",
      u"ftGuid",     u"ftTimeStamp",   u"ftFMTBcd",   u"ftFixedWideChar", u"ftWideMemo"};
  return type;
}

const ClassInfo& TqbxParamItem::StaticClass() {
  using C = TqbxParamItem;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(
      u"TqbxParamItem", &Object::StaticClass(), &New<C>,
      {
          zavrik::Field(u"Name", &C::Name),
          zavrik::Field(u"DataType", &C::DataType).Enum(FieldTypeNames()).Default(0),
          zavrik::Field(u"Expression", &C::Expression),
          zavrik::Field(u"Value", &C::Value),
      }); });
  return info;
}

TqbxParamItem& TqbxParams::Add() { return *FItems.emplace_back(std::make_unique<TqbxParamItem>()); }

TqbxParamItem* TqbxParams::Find(StringView name) const {
  for (const auto& item : FItems)
    if (SameText(item->Name, name)) return item.get();
  return nullptr;
}

TqbxParamItem& TqbxParams::ParamByName(StringView name) const {
  if (TqbxParamItem* item = Find(name)) return *item;
  throw Error(u"Parameter \"" + String(name) + u"\" not found");
}

void TqbxParams::Rebuild(const std::vector<String>& names, bool ignore_duplicates) {
  std::vector<std::unique_ptr<TqbxParamItem>> items;
  for (const String& name : names) {
    auto same_name = [&name](const auto& item) { return SameText(item->Name, name); };
    if (ignore_duplicates && std::any_of(items.begin(), items.end(), same_name)) continue;
    auto item = std::make_unique<TqbxParamItem>();
    item->Name = name;
    if (const TqbxParamItem* old = Find(name)) {
      item->DataType = old->DataType;
      item->Expression = old->Expression;
      item->Value = old->Value;
    }
    items.push_back(std::move(item));
  }
  FItems = std::move(items);
}

void TqbxParams::ReadStored(TqbxPropReader& reader, TqbxXMLSerializer& serializer) {
  TqbxParams stored;
  serializer.ReadCollectionData(reader, [&stored]() -> Object& { return stored.Add(); });
  // The k-th stored item of a name goes to the k-th item of that name.
  std::vector<bool> taken(FItems.size());
  for (auto& item : stored.FItems) {
    size_t i = 0;
    while (i < FItems.size() && (taken[i] || !SameText(FItems[i]->Name, item->Name))) ++i;
    if (i == FItems.size()) {
      FItems.push_back(std::move(item));
      taken.push_back(true);
      continue;
    }
    taken[i] = true;
    FItems[i]->DataType = item->DataType;
    FItems[i]->Expression = item->Expression;
    FItems[i]->Value = item->Value;
  }
}

void TqbxParams::WriteStored(TqbxPropWriter& writer) const {
  if (FItems.empty()) return;
  TqbxXMLSerializer serializer;
  writer.WritePropName(u"Parameters");
  writer.WriteValueType(vaList);
  for (const auto& item : FItems) {
    writer.WriteValueType(vaList);
    writer.WriteString(Trim(StringView(serializer.ObjToXML(*item))));
    writer.WriteValueType(vaNull);
  }
  writer.WriteValueType(vaNull);
}

namespace {

bool IsTextType(FieldType type) {
  return type == FieldType::ftString || type == FieldType::ftFixedChar ||
         type == FieldType::ftWideString || type == FieldType::ftFixedWideChar ||
         type == FieldType::ftMemo || type == FieldType::ftFmtMemo || type == FieldType::ftWideMemo;
}

bool IsDateTimeType(FieldType type) {
  return type == FieldType::ftDate || type == FieldType::ftTime || type == FieldType::ftDateTime ||
         type == FieldType::ftTimeStamp;
}

}  // namespace

void BindParams(const TqbxParams& items, ParamList& params, TqbxEvaluator* evaluator) {
  for (size_t i = 0; i < params.Count(); ++i) {
    Param& param = params[i];
    TqbxParamItem* item = items.Find(param.Name);
    if (!item) continue;
    param.Clear();
    param.DataType = item->DataType;
    if (evaluator && !Trim(StringView(item->Expression)).empty())
      item->Value = evaluator->Calc(item->Expression);
    if (item->Value.IsEmpty() || item->Value.IsNull()) continue;
    const Variant value =
        IsDateTimeType(item->DataType) ? item->Value : Variant(VarToString(item->Value));
    // An empty text is no number, date or flag: such parameters stay null.
    if (value.IsString() && value.StringValue().empty() && !IsTextType(item->DataType)) continue;
    param.Value = value;
  }
}

}  // namespace zavrik::data
