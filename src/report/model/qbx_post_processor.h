// TqbxPostProcessor: the dictionary of deferred object values, owned by the prepared pages. A memo
// that is settled later (Processing.ProcessAt) or hides repeated values (Duplicates) records its
// text here and keeps only the index of its value; the engine's events evaluate waiting entries
// again, and rebuilt pages take the values back (hiding, clearing or merging repeats).
#pragma once

#include "core/rtti.h"

#include <map>
#include <memory>
#include <vector>

#include "core/ustring.h"
#include "report/model/views/qbx_memo_format.h"
#include "report/model/qbx_value_dictionary.h"

namespace zavrik {

class TqbxBand;
class TqbxComponent;
class TqbxCustomMemoView;
class TqbxReport;
class TqbxView;

struct TqbxDeferredValue {
  String Text;
  // Set when the text is final (printed values, and deferred ones once their event came).
  bool Final = false;
};

// One memo name's values.
struct TqbxMacrosItem {
  std::vector<TqbxDeferredValue> Items;
  // The value last placed on the page being rebuilt, and the object that showed it.
  int LastIndex = -1;
  TqbxComponent* Component = nullptr;
  // The engine-side memo whose prints feed the entry (valid while the report runs).
  TqbxCustomMemoView* BaseComponent = nullptr;
  String BandName;
  // The next recording starts a new value even when the text repeats.
  bool NeedReset = false;
  TqbxProcessAtMode ProcessAt = paDefault;
  int GroupLevel = 0;
  int DataLevel = 0;
};

// Scripts reach it through `Engine.GetPostProcessor`.
class TqbxPostProcessor : public Object, public TqbxValueDictionary {
 public:
  TqbxPostProcessor();
  ~TqbxPostProcessor() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // --- recording (the prepared pages, when a view is recorded)
  void SaveContent(TqbxView& view);
  int Add(const String& band_name, const String& name, const String& content,
          TqbxProcessAtMode process_at, TqbxComponent* component, bool suppressed) override;

  // --- the engine's events
  void EnterGroup() { ++GroupLevel; }
  void LeaveGroup();
  void EnterData() { ++DataLevel; }
  void LeaveData();
  // Evaluates again the waiting entries that `mode` settles (at the end of `band`).
  void ProcessExpressions(TqbxReport& report, TqbxBand* band, TqbxProcessAtMode mode);
  // Settles the first waiting entry of the memo (paCustom, from scripts).
  void ProcessObject(TqbxReport& report, TqbxComponent& component);
  // The first recording after a data band restarts begins a new run of values (all entries when
  // the band name is empty).
  void ResetDuplicates(const String& band_name);
  // A new pass: nothing waits any more and the levels start again; recorded values stay.
  void BeginPass();

  // --- rebuilding (the prepared pages, for every rebuilt object and after every page)
  // True when the object was consumed (a repeated value hidden or merged into the one above).
  // `top_on_page` is the object's top on its page (it is not yet attached to its band).
  bool LoadValue(TqbxComponent& component, double top_on_page);
  void ResetSuppressed();

  // The values recorded for a memo name, as texts (scripts).
  std::vector<String> GetMacroList(const String& name) const;
  const TqbxMacrosItem* Find(const String& name) const;
  bool IsProcessing() const { return Processing; }
  void Clear();

  int GroupLevel = 0;
  int DataLevel = 0;
  bool Processing = false;

 private:
  // Settles `entry` through its memo.
  void ProcessEntry(TqbxReport& report, TqbxMacrosItem& entry);

  struct NameLess {
    bool operator()(const String& a, const String& b) const;
  };
  std::map<String, std::unique_ptr<TqbxMacrosItem>, NameLess> FMacroses;
  std::vector<TqbxMacrosItem*> FProcessList;
};

}  // namespace zavrik
