#include "engine/run/qbx_aggregate.h"

#include <algorithm>

#include "core/number_parse.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "core/variant_ops.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"
#include "script/qs_itypes.h"

namespace zavrik {

namespace {

constexpr int kColumnSlots = 1001;

TqbxBand* NearestBand(TqbxComponent& object) {
  for (TqbxComponent* parent = object.Parent(); parent; parent = parent->Parent())
    if (auto* band = dynamic_cast<TqbxBand*>(parent)) return band;
  return nullptr;
}

}  // namespace

// --- item

void TqbxAggregateItem::Combine(Variant& total, int& count, const Variant& value) const {
  if (AggregateFunction != agAvg || !value.IsNull()) ++count;
  MergeValue(total, value);
}

void TqbxAggregateItem::MergeValue(Variant& total, const Variant& value) const {
  if (total.IsNull()) {
    total = value;
    return;
  }
  if (value.IsNull()) return;
  switch (AggregateFunction) {
    case agSum:
    case agAvg:
      total = VarAdd(total, value);
      break;
    case agMin:
      if (VarLess(value, total)) total = value;
      break;
    case agMax:
      if (VarGreater(value, total)) total = value;
      break;
    case agCount:  // counts only; its value stays null
      break;
  }
}

void TqbxAggregateItem::Calc() {
  if (!Band || (!Band->Visible() && !CountInvisibleBands)) return;
  Variant value = Variant::Null();
  if (AggregateFunction != agCount) {
    Report->SetSelfValue(Memo);
    value = Report->Calc(Expression);
    if (value.Kind() == VarKind::Boolean && VarToBoolean(value)) value = Variant(int32_t{1});
  }
  if (VColumn >= 1) {
    // Columns past the usual slots get their own entries too rather than joining the total.
    const size_t slots = std::max<size_t>(kColumnSlots, static_cast<size_t>(VColumn) + 1);
    if (ItemsArray.size() < slots) {
      ItemsArray.resize(slots, Variant::Null());
      ItemsCountArray.resize(slots, 0);
    }
    Combine(ItemsArray[VColumn], ItemsCountArray[VColumn], value);
  } else if (Keeping) {
    Combine(TempItemsValue, TempItemsCount, value);
  } else {
    LastValue = ItemsValue;
    LastCount = ItemsCount;
    Combine(ItemsValue, ItemsCount, value);
  }
}

Variant TqbxAggregateItem::Value() const {
  const bool by_column = !ItemsArray.empty() && VColumn >= 1;
  const bool in_slots = by_column && static_cast<size_t>(VColumn) < ItemsArray.size();
  static const Variant kNothing = Variant::Null();
  const Variant& total = in_slots ? ItemsArray[VColumn] : by_column ? kNothing : ItemsValue;
  const int count = in_slots ? ItemsCountArray[VColumn] : by_column ? 0 : ItemsCount;
  Variant result;
  if (AggregateFunction == agCount)
    result = Variant(int32_t{count});
  else if (AggregateFunction == agAvg)
    result = total.IsNull() || count == 0 ? Variant::Null() : VarDivFloat(total, Variant(count));
  else
    result = total;
  return result.IsNull() ? Variant(int32_t{0}) : result;
}

void TqbxAggregateItem::Reset() {
  if (DontReset && ItemsCount != 0) return;
  Clear();
}

void TqbxAggregateItem::Clear() {
  ItemsCount = 0;
  ItemsValue = Variant::Null();
  ItemsArray.clear();
  ItemsCountArray.clear();
}

void TqbxAggregateItem::DeleteValue() {
  ItemsValue = LastValue;
  ItemsCount = LastCount;
}

void TqbxAggregateItem::SaveValue() {
  SavedValue = ItemsValue;
  SavedCount = ItemsCount;
}

void TqbxAggregateItem::RestoreValue() {
  ItemsValue = SavedValue;
  ItemsCount = SavedCount;
}

void TqbxAggregateItem::StartKeep() {
  if (!IsPageFooter || Keeping) return;
  Keeping = true;
  TempItemsCount = 0;
  TempItemsValue = Variant::Null();
}

void TqbxAggregateItem::EndKeep() {
  if (!IsPageFooter || !Keeping) return;
  Keeping = false;
  ItemsCount += TempItemsCount;
  MergeValue(ItemsValue, TempItemsValue);
}

// --- list

void TqbxAggregateList::AddItems(const std::vector<Visit>& visits) {
  for (const Visit& visit : visits) {
    if (visit.Band) ScanBand(*visit.Band, visit.DefaultBand);
  }
}

void TqbxAggregateList::ScanBand(TqbxBand& band, TqbxBand* default_band) {
  const auto variable_text = [this](StringView name, String& value) {
    const int index = FReport.Variables().IndexOf(name);
    if (index < 0) return false;
    value = VarToStr(FReport.Variables().Item(index).Value());
    return true;
  };
  const auto is_field = [this](StringView text) {
    String field;
    return FReport.GetDatasetAndField(text, field) != nullptr && !field.empty();
  };
  // A child chain cannot close on itself (the Child setter refuses it); the count bounds it anyway.
  int guard = 0;
  for (TqbxBand* current = &band; current && guard < 10000; current = current->Child(), ++guard) {
    for (TqbxComponent* object : current->AllObjects()) {
      auto* memo = dynamic_cast<TqbxCustomMemoView*>(object);
      if (!memo || !memo->AllowExpressions) continue;
      for (const String& expression : ExpressionsOf(memo->MemoText(), memo->ExpressionDelimiters))
        for (const TqbxAggregateCall& call : FindAggregateCalls(expression, variable_text, is_field))
          AddCall(*memo, call, default_band);
    }
  }
}

void TqbxAggregateList::AddCall(TqbxCustomMemoView& memo, const TqbxAggregateCall& call,
                                TqbxBand* default_band) {
  auto item = std::make_unique<TqbxAggregateItem>();
  item->AggregateFunction = AggregateFunctionOf(call.Word);
  const bool is_count = item->AggregateFunction == agCount;
  const auto argument = [&](size_t index) {
    return index < call.Arguments.size() ? call.Arguments[index] : String();
  };
  if (!is_count) item->Expression = argument(0);
  const String band_name = argument(is_count ? 0 : 1);
  const String flags_text = argument(is_count ? 1 : 2);
  item->Band = band_name.empty() ? default_band
                                 : dynamic_cast<TqbxBand*>(FReport.FindObject(band_name));
  const int flags = flags_text.empty() ? 0 : ParseInt32(flags_text).value_or(0);
  item->CountInvisibleBands = (flags & 1) != 0;
  item->DontReset = (flags & 2) != 0;
  item->ParentBand = NearestBand(memo);
  if (item->ParentBand && item->ParentBand->Vertical() && OriginalBands) {
    // The object directly in the vertical band (the memo or a container holding it).
    const TqbxComponent* cell = &memo;
    while (cell->Parent() && cell->Parent() != item->ParentBand) cell = cell->Parent();
    const auto it = OriginalBands->find(cell);
    TqbxBand* original = it == OriginalBands->end() ? nullptr : it->second;
    if (dynamic_cast<TqbxReportSummary*>(original) || dynamic_cast<TqbxPageFooter*>(original) ||
        dynamic_cast<TqbxFooter*>(original) || dynamic_cast<TqbxGroupFooter*>(original))
      item->ParentBand = original;
  }
  item->IsPageFooter = dynamic_cast<TqbxPageFooter*>(item->ParentBand) != nullptr;
  item->OriginalName = call.Text;
  item->MemoName = memo.Name();
  item->Memo = &memo;
  item->Report = &FReport;
  FList.push_back(std::move(item));
}

void TqbxAggregateList::AddValue(const TqbxBand* band, int vcolumn) {
  for (const auto& item : FList) {
    if (item->Band != band) continue;
    item->VColumn = vcolumn;
    item->Calc();
  }
}

void TqbxAggregateList::DeleteValue(const TqbxBand* band) {
  for (const auto& item : FList)
    if (item->Band == band) item->DeleteValue();
}

Variant TqbxAggregateList::GetValue(const TqbxBand* parent_band, int vcolumn, StringView name,
                                    StringView expression, const TqbxComponent* band, int flags) {
  const TqbxAggregateFunction function = AggregateFunctionOf(name);
  const String wanted = Trim(expression);
  for (const auto& item : FList) {
    if (item->ParentBand != parent_band || item->AggregateFunction != function) continue;
    if (!qsSameName(item->Expression, wanted)) continue;
    if (band && item->Band != band) continue;
    if (item->Flags() != flags) continue;
    item->VColumn = vcolumn;
    return item->Value();
  }
  return Variant::Null();
}

Variant TqbxAggregateList::GetValue(const TqbxBand* parent_band, StringView complex_name,
                                    int vcolumn) {
  const String wanted = Trim(complex_name);
  for (const auto& item : FList) {
    if (item->ParentBand != parent_band || !qsSameName(item->OriginalName, wanted)) continue;
    item->VColumn = vcolumn;
    return item->Value();
  }
  return Variant::Null();
}

void TqbxAggregateList::Reset(const TqbxBand* parent_band) {
  for (const auto& item : FList)
    if (item->ParentBand == parent_band) item->Reset();
}

void TqbxAggregateList::SaveValue(const TqbxBand* band) {
  for (const auto& item : FList)
    if (item->Band == band) item->SaveValue();
}

void TqbxAggregateList::RestoreValue(const TqbxBand* band) {
  for (const auto& item : FList)
    if (item->Band == band) item->RestoreValue();
}

void TqbxAggregateList::StartKeep() {
  for (const auto& item : FList) item->StartKeep();
}

void TqbxAggregateList::EndKeep() {
  for (const auto& item : FList) item->EndKeep();
}

void TqbxAggregateList::ClearValues() {
  for (const auto& item : FList) {
    item->Clear();
    item->Keeping = false;
  }
}

}  // namespace zavrik
