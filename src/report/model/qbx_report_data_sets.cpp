// The report's data-source list and the lookups of data sources by alias.
#include <exception>

#include "core/rtti_props.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_report.h"

namespace zavrik {
namespace {

TqbxReportDataSource* RunSource(const TqbxDataSetItem& item) {
  return dynamic_cast<TqbxReportDataSource*>(item.DataSet());
}

}  // namespace

const ClassInfo& TqbxDataSetItem::StaticClass() {
  using C = TqbxDataSetItem;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDataSetItem", &Object::StaticClass(), &New<TqbxDataSetItem>, {
      Prop(u"DataSet", &C::DataSet, &C::SetDataSet).Reference(),
      Prop(u"DataSetName", &C::DataSetName, &C::SetDataSetName),
  }); });
  return info;
}

void TqbxDataSetItem::SetDataSet(TqbxReportComponent* v) {
  FDataSet = v;
  if (v) FDataSetName = DataSetUserName(v);
}

TqbxDataSetItem& TqbxReportDataSets::Add(TqbxReportComponent* data_set) {
  TqbxDataSetItem& item = *FItems.emplace_back(std::make_unique<TqbxDataSetItem>());
  item.SetDataSet(data_set);
  return item;
}

TqbxDataSetItem* TqbxReportDataSets::Find(const TqbxReportComponent* data_set) const {
  for (const auto& item : FItems) {
    if (item->DataSet() == data_set) return item.get();
  }
  return nullptr;
}

TqbxDataSetItem* TqbxReportDataSets::Find(StringView name) const {
  for (const auto& item : FItems) {
    const TqbxReportComponent* data_set = item->DataSet();
    if (data_set && (SameTextAscii(DataSetUserName(data_set), name) || SameTextAscii(data_set->Name(), name))) {
      return item.get();
    }
  }
  return nullptr;
}

void TqbxReportDataSets::Delete(StringView name) {
  if (TqbxDataSetItem* item = Find(name)) {
    std::erase_if(FItems, [item](const auto& p) { return p.get() == item; });
  }
}

std::vector<const Object*> TqbxReportDataSets::Objects() const {
  std::vector<const Object*> list;
  for (const auto& item : FItems) list.push_back(item.get());
  return list;
}

void TqbxReportDataSets::Initialize(TqbxComponent* report) const {
  for (const auto& item : FItems) {
    if (TqbxReportDataSource* source = RunSource(*item)) {
      source->SetReportRef(report);
      source->Initialize();
    }
  }
}

void TqbxReportDataSets::Finalize() const {
  std::exception_ptr first_failure;
  for (const auto& item : FItems) {
    TqbxReportDataSource* source = RunSource(*item);
    if (!source) continue;
    try {
      source->Finalize();
    } catch (...) {
      if (!first_failure) first_failure = std::current_exception();
    }
  }
  if (first_failure) std::rethrow_exception(first_failure);
}

TqbxReportComponent* TqbxReport::GetDataset(StringView alias) const {
  TqbxDataSetItem* item = FDataSets.Find(alias);
  return item ? item->DataSet() : nullptr;
}

String TqbxReport::GetAlias(const TqbxReportComponent* data_set) const {
  if (!data_set) return String();
  if (!FDataSets.Find(data_set)) return u"(компонент не включен в Report.DataSets)";
  return DataSetUserName(data_set);
}

TqbxReportComponent* TqbxReport::GetDatasetAndField(StringView name, String& field) const {
  field.clear();
  const size_t pair = name.find(u".\"");
  if (pair == StringView::npos) return nullptr;
  // The field runs from after the quote to the last character, the closing quote, dropped.
  const size_t from = pair + 2;
  if (name.size() > from) field = String(name.substr(from, name.size() - from - 1));
  return GetDataset(name.substr(0, pair));
}

}  // namespace zavrik
