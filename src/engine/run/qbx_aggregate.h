// Aggregates: one accumulator per SUM/AVG/MIN/MAX/COUNT call found in the memos of footers and
// summaries. Data bands feed them record by record; the footer's own call reads the total back;
// the band that holds the call resets it after it is shown.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/ustring.h"
#include "core/variant.h"

namespace zavrik {

class TqbxBand;
class TqbxComponent;
class TqbxCustomMemoView;
class TqbxReport;

enum TqbxAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

// The function named by an aggregate word (case-insensitive); any other word is COUNT.
TqbxAggregateFunction AggregateFunctionOf(StringView name);

// An aggregate call as written in an expression: `SUM(<Q."X">, Master, 2)`.
struct TqbxAggregateCall {
  String Text;                    // from the word to the closing parenthesis
  String Word;                    // SUM, AVG, MIN, MAX or COUNT as written
  std::vector<String> Arguments;  // trimmed, at most three
};

// Finds the aggregate calls of an expression text. `variable_text` answers whether a word is a
// report variable (and gives its value as text, which is searched in turn); `is_field` whether a
// whole text is a data field reference (which holds no calls).
std::vector<TqbxAggregateCall> FindAggregateCalls(
    StringView expression, const std::function<bool(StringView, String&)>& variable_text,
    const std::function<bool(StringView)>& is_field);

// The expressions between a memo text's delimiters ("[,]" style; nested delimiters match).
std::vector<String> ExpressionsOf(const String& text, const String& delimiters);

class TqbxAggregateItem {
 public:
  TqbxAggregateFunction AggregateFunction = agSum;
  TqbxBand* Band = nullptr;
  bool CountInvisibleBands = false;
  bool DontReset = false;
  String Expression;
  bool IsPageFooter = false;
  Variant ItemsValue = Variant::Null();
  int ItemsCount = 0;
  Variant LastValue = Variant::Null();
  int LastCount = 0;
  Variant TempItemsValue = Variant::Null();
  int TempItemsCount = 0;
  bool Keeping = false;
  // Per vertical column (1..1000); empty until a column is first accumulated.
  std::vector<Variant> ItemsArray;
  std::vector<int> ItemsCountArray;
  int VColumn = 0;
  Variant SavedValue = Variant::Null();
  int SavedCount = 0;
  String MemoName;
  TqbxComponent* Memo = nullptr;
  String OriginalName;
  TqbxBand* ParentBand = nullptr;
  TqbxReport* Report = nullptr;

  int Flags() const { return (CountInvisibleBands ? 1 : 0) | (DontReset ? 2 : 0); }
  // Evaluates the expression for the current record and accumulates it.
  void Calc();
  // The total: AVG divides, COUNT counts; nothing accumulated gives 0.
  Variant Value() const;
  void Reset();
  void Clear();
  void DeleteValue();
  void SaveValue();
  void RestoreValue();
  void StartKeep();
  void EndKeep();

  // Combines `value` into an accumulator (value, count) by this item's function.
  void Combine(Variant& total, int& count, const Variant& value) const;
  // The value part of Combine: a null total takes the value; SUM and AVG add, MIN and MAX compare.
  void MergeValue(Variant& total, const Variant& value) const;
};

class TqbxAggregateList {
 public:
  explicit TqbxAggregateList(TqbxReport& report) : FReport(report) {}

  int Count() const { return static_cast<int>(FList.size()); }
  TqbxAggregateItem& Items(int index) const { return *FList.at(static_cast<size_t>(index)); }

  // A band whose memos are scanned for calls, with the data band its calls total by default.
  struct Visit {
    TqbxBand* Band;
    TqbxBand* DefaultBand;
  };
  // Creates an item for every call in the memos of the visited bands (and their child chains).
  void AddItems(const std::vector<Visit>& visits);
  void AddValue(const TqbxBand* band, int vcolumn);
  void DeleteValue(const TqbxBand* band);
  Variant GetValue(const TqbxBand* parent_band, int vcolumn, StringView name,
                   StringView expression, const TqbxComponent* band, int flags);
  Variant GetValue(const TqbxBand* parent_band, StringView complex_name, int vcolumn);
  void Reset(const TqbxBand* parent_band);
  void SaveValue(const TqbxBand* band);
  void RestoreValue(const TqbxBand* band);
  void StartKeep();
  void EndKeep();
  // Resets every item, running totals too (between the passes of a double-pass run).
  void ClearValues();
  void Clear() { FList.clear(); }

  // Objects moved from horizontal bands into vertical bands, with the band each came from: a call
  // in such an object that came from a footer or summary belongs to that band.
  const std::unordered_map<const TqbxComponent*, TqbxBand*>* OriginalBands = nullptr;

 private:
  // Adds the calls of every memo below `band` and along its child chain.
  void ScanBand(TqbxBand& band, TqbxBand* default_band);
  void AddCall(TqbxCustomMemoView& memo, const TqbxAggregateCall& call, TqbxBand* default_band);

  TqbxReport& FReport;
  std::vector<std::unique_ptr<TqbxAggregateItem>> FList;
};

}  // namespace zavrik
