#include "report/model/qbx_data_set_list.h"

#include <algorithm>

#include "core/case_fold.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_report.h"

namespace zavrik {
namespace {

std::mutex& ListLock() {
  static std::mutex lock;
  return lock;
}

std::vector<TqbxReportComponent*>& List() {
  static std::vector<TqbxReportComponent*> list;
  return list;
}

}  // namespace

void TqbxGlobalDataSets::Add(TqbxReportComponent* data_set) {
  std::lock_guard guard(ListLock());
  List().push_back(data_set);
}

void TqbxGlobalDataSets::Remove(TqbxReportComponent* data_set) {
  std::lock_guard guard(ListLock());
  std::erase(List(), data_set);
}

TqbxReportComponent* TqbxGlobalDataSets::Find(StringView name, const TqbxComponent* report) {
  std::lock_guard guard(ListLock());
  for (TqbxReportComponent* data_set : List()) {
    const TqbxComponent* owner = data_set->Report();
    if ((!owner || owner == report) && SameText(DataSetUserName(data_set), name)) return data_set;
  }
  return nullptr;
}

std::vector<TqbxReportComponent*> TqbxGlobalDataSets::All() {
  std::lock_guard guard(ListLock());
  return List();
}

TqbxReportComponent* FindDataSet(const TqbxComponent& component, TqbxReportComponent* current, StringView name) {
  if (name.empty()) return nullptr;
  auto* report = dynamic_cast<TqbxReport*>(component.Report());
  TqbxReportComponent* found = nullptr;
  if (!report || report->EngineOptions()->UseGlobalDataSetList) {
    found = TqbxGlobalDataSets::Find(name, component.Report());
  } else if (TqbxDataSetItem* item = report->EnabledDataSets().Find(name)) {
    found = item->DataSet();
  }
  return found ? found : current;
}

String DataSetUserName(const TqbxComponent* data_set) {
  if (!data_set) return String();
  if (const auto* source = data_set->AsReportDataSource()) return source->UserName();
  return data_set->Name();
}

void TqbxDataSetLink::SetDataSet(TqbxReportComponent* value) {
  FDataSet = value;
  if (value) FName = DataSetUserName(value);
}

String TqbxDataSetLink::Name() const { return FDataSet ? DataSetUserName(FDataSet) : FName; }

void TqbxDataSetLink::SetName(const TqbxComponent& owner, const String& value) {
  FName = value;
  FDataSet = FindDataSet(owner, FDataSet, value);
}

void TqbxDataSetLink::Clear() {
  FDataSet = nullptr;
  FName.clear();
}

}  // namespace zavrik
