// The memo's part in deferred values and duplicate handling: its content goes into the
// prepared pages' dictionary when it is recorded.
#include "core/float_text.h"
#include "core/variant_convert.h"
#include "report/qbx_evaluator.h"
#include "report/qbx_memo.h"
#include "report/qbx_value_dictionary.h"

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

}  // namespace zavrik
