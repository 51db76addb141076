#include "report/model/qbx_post_processor.h"

#include <algorithm>

#include "report/model/qbx_band.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"
#include "script/qs_itypes.h"

namespace zavrik {

bool TqbxPostProcessor::NameLess::operator()(const String& a, const String& b) const {
  return qsUpperName(a) < qsUpperName(b);
}

TqbxPostProcessor::TqbxPostProcessor() = default;

const ClassInfo& TqbxPostProcessor::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxPostProcessor", &Object::StaticClass(), nullptr, {}); });
  return info;
}

TqbxPostProcessor::~TqbxPostProcessor() = default;

void TqbxPostProcessor::SaveContent(TqbxView& view) { view.SaveContentToDictionary(*this); }

int TqbxPostProcessor::Add(const String& band_name, const String& name, const String& content,
                           TqbxProcessAtMode process_at, TqbxComponent* component,
                           bool suppressed) {
  std::unique_ptr<TqbxMacrosItem>& slot = FMacroses[name];
  if (!slot) {
    slot = std::make_unique<TqbxMacrosItem>();
    slot->ProcessAt = process_at;
    slot->BaseComponent = dynamic_cast<TqbxCustomMemoView*>(component);
    slot->GroupLevel = GroupLevel;
    slot->DataLevel = DataLevel;
  }
  TqbxMacrosItem& entry = *slot;
  if (!band_name.empty() && entry.BandName.empty()) entry.BandName = band_name;
  if (suppressed && !entry.Items.empty() && !entry.NeedReset && entry.Items.back().Text == content)
    return static_cast<int>(entry.Items.size()) - 1;
  entry.Items.push_back({content, entry.ProcessAt == paDefault});
  entry.NeedReset = false;
  if (entry.ProcessAt != paDefault && (FProcessList.empty() || FProcessList.back() != &entry))
    FProcessList.push_back(&entry);
  return static_cast<int>(entry.Items.size()) - 1;
}

void TqbxPostProcessor::LeaveGroup() {
  if (GroupLevel > 0) --GroupLevel;
}

void TqbxPostProcessor::LeaveData() {
  if (DataLevel > 0) --DataLevel;
}

void TqbxPostProcessor::ProcessEntry(TqbxReport& report, TqbxMacrosItem& entry) {
  if (entry.BaseComponent && !entry.Items.empty())
    entry.BaseComponent->ProcessDictionary(entry, report);
}

void TqbxPostProcessor::ProcessExpressions(TqbxReport& report, TqbxBand*,
                                           TqbxProcessAtMode mode) {
  struct Flag {
    bool& value;
    ~Flag() { value = false; }
  } processing{Processing};
  Processing = true;
  // Entries are taken off the list before they are handled: handling may record new values.
  std::vector<TqbxMacrosItem*> due;
  for (auto it = FProcessList.begin(); it != FProcessList.end();) {
    TqbxMacrosItem* entry = *it;
    bool handled = entry->ProcessAt == mode;
    if (handled && mode == paDataFinished) handled = entry->DataLevel == DataLevel;
    if (handled && mode == paGroupFinished) {
      const int wanted =
          entry->BaseComponent ? entry->BaseComponent->Processing()->GroupLevel : 0;
      handled = wanted == GroupLevel || (wanted == 0 && entry->GroupLevel == GroupLevel);
    }
    if (handled) {
      due.push_back(entry);
      it = FProcessList.erase(it);
    } else {
      ++it;
    }
  }
  for (TqbxMacrosItem* entry : due) ProcessEntry(report, *entry);
  if (mode == paGroupFinished) LeaveGroup();
}

void TqbxPostProcessor::ProcessObject(TqbxReport& report, TqbxComponent& component) {
  const auto found = std::find_if(FProcessList.begin(), FProcessList.end(), [&](auto* entry) {
    return entry->ProcessAt != paDefault && entry->BaseComponent == &component;
  });
  if (found == FProcessList.end()) return;
  TqbxMacrosItem* entry = *found;
  FProcessList.erase(found);
  struct Flag {
    bool& value;
    ~Flag() { value = false; }
  } processing{Processing};
  Processing = true;
  ProcessEntry(report, *entry);
}

void TqbxPostProcessor::ResetDuplicates(const String& band_name) {
  for (auto& [name, entry] : FMacroses)
    if (band_name.empty() || qsSameName(entry->BandName, band_name)) entry->NeedReset = true;
}

void TqbxPostProcessor::BeginPass() {
  FProcessList.clear();
  GroupLevel = 0;
  DataLevel = 0;
  for (auto& [name, entry] : FMacroses) entry->NeedReset = true;
}

bool TqbxPostProcessor::LoadValue(TqbxComponent& component, double top_on_page) {
  if (FMacroses.empty() || component.Name().empty()) return false;
  auto* memo = ComponentAs<TqbxCustomMemoView>(&component);
  if (!memo) return false;
  const auto found = FMacroses.find(component.Name());
  if (found == FMacroses.end()) return false;
  return memo->LoadContentFromDictionary(*found->second, Processing, top_on_page);
}

void TqbxPostProcessor::ResetSuppressed() {
  for (auto& [name, entry] : FMacroses) {
    entry->LastIndex = -1;
    entry->Component = nullptr;
  }
}

std::vector<String> TqbxPostProcessor::GetMacroList(const String& name) const {
  std::vector<String> list;
  if (const TqbxMacrosItem* entry = Find(name))
    for (const TqbxDeferredValue& value : entry->Items) list.push_back(value.Text);
  return list;
}

const TqbxMacrosItem* TqbxPostProcessor::Find(const String& name) const {
  const auto found = FMacroses.find(name);
  return found == FMacroses.end() ? nullptr : found->second.get();
}

void TqbxPostProcessor::Clear() {
  FMacroses.clear();
  FProcessList.clear();
  GroupLevel = 0;
  DataLevel = 0;
  Processing = false;
}

}  // namespace zavrik
