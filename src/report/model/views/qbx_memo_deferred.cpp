// The memo's part in deferred values and duplicate handling: its content goes into the
// prepared pages' dictionary when it is recorded, is evaluated again at the event that settles
// it, and comes back from the dictionary when a page is rebuilt.
#include "core/float_text.h"
#include "core/variant_convert.h"
#include "report/model/qbx_evaluator.h"
#include "core/number_parse.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_post_processor.h"
#include "report/model/qbx_report.h"
#include "report/model/qbx_value_dictionary.h"

namespace zavrik {

bool TqbxCustomMemoView::IsPostProcessAllowed() const {
  return TqbxStretcheable::IsPostProcessAllowed() || Duplicates != dmShow;
}

void TqbxCustomMemoView::SaveContentToDictionary(TqbxValueDictionary& dictionary) {
  const String band_name = Parent() ? Parent()->Name() : String();
  String content;
  if (IsDataField()) {
    TqbxEvaluator* report = EvaluatorOf(*this);
    if (report) content = VarToString(report->Calc(DataSetName() + u".\"" + DataField() + u"\""));
  } else {
    content = MemoText();
  }
  if (content.ends_with(u"\r\n")) content.resize(content.size() - 2);
  const TqbxProcessAtMode process_at = Processing()->ProcessAt;
  const bool suppressed = (process_at != paDefault || Duplicates != dmShow) && !band_name.empty();
  const int index = dictionary.Add(band_name, Name(), content, process_at, this, suppressed);
  SetMemoText(IntToStr(index));
}

bool TqbxCustomMemoView::LoadContentFromDictionary(TqbxMacrosItem& item, bool processing,
                                                   double top_on_page) {
  if (FLoadedFromDictionary) return false;
  const String first_line = FMemo->Count() > 0 ? FMemo->Lines().front() : String();
  const std::optional<int32_t> parsed = ParseInt32(first_line);
  if (!parsed) return false;
  FLoadedFromDictionary = true;
  const int index = *parsed;
  const bool repeats = item.LastIndex == index;
  const bool known = index >= 0 && index < static_cast<int>(item.Items.size());
  String text;
  if (known && !(Duplicates == dmClear && repeats)) {
    const TqbxDeferredValue& value = item.Items[static_cast<size_t>(index)];
    if (value.Final || processing) text = value.Text;
  }
  SetMemoText(text);
  if (Duplicates != dmShow && repeats) {
    if (Duplicates == dmMerge && item.Component) {
      // The first memo of the run reaches down over this one.
      TqbxComponent& first = *item.Component;
      first.SetHeight(top_on_page - first.AbsTop() + Height());
    }
    if (Duplicates == dmHide || Duplicates == dmMerge) return true;
  }
  if (!repeats) item.Component = this;
  item.LastIndex = index;
  return false;
}

void TqbxCustomMemoView::ProcessDictionary(TqbxMacrosItem& item, TqbxReport& report) {
  TqbxComponent* const saved_self = report.SelfValue;
  // BeforePrint and AfterPrint keep the memo as it was (text, highlight, size).
  BeforePrint();
  try {
    report.SetSelfValue(this);
    GetData();
    report.DoNotifyEvent(this, OnAfterData());
    String text = MemoText();
    if (text.ends_with(u"\r\n")) text.resize(text.size() - 2);
    item.Items.back() = {text, true};
  } catch (...) {
    AfterPrint();
    report.SetSelfValue(saved_self);
    throw;
  }
  AfterPrint();
  report.SetSelfValue(saved_self);
}

}  // namespace zavrik
