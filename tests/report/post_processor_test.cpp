// The dictionary of deferred values: recording, settling at events, and taking values back into
// rebuilt memos with repeats hidden, cleared or merged.
#include "report/model/qbx_post_processor.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/float_text.h"
#include "core/number_parse.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {
namespace {

class PostProcessorTest : public ::testing::Test {
 protected:
  PostProcessorTest() {
    RegisterReportClasses();
    std::istringstream in(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport><TqbxReportPage Name=\"Page1\">"
        "<TqbxGroupHeader Name=\"G\" Height=\"20\">"
        "<TqbxMemoView Name=\"Total\" Height=\"20\" Processing.ProcessAt=\"paGroupFinished\" "
        "Text=\"Sum [x]\"/></TqbxGroupHeader></TqbxReportPage></TqbxReport>");
    report_.LoadFromStream(in);
    report_.OnCalc = [this](StringView) { return Variant(value_); };
    total_ = dynamic_cast<TqbxMemoView*>(report_.FindObject(u"Total"));
  }

  // Records the memo as the prepared pages do; the index it keeps.
  int Record(TqbxMemoView& memo) {
    const String text = memo.MemoText();
    dictionary_.SaveContent(memo);
    const int index = StrToInt(Trim(memo.MemoText()));
    memo.SetMemoText(text);
    return index;
  }

  // A rebuilt memo holding `index`, placed at `top`; whether the dictionary consumed it.
  bool Rebuild(TqbxMemoView& rebuilt, int index, double top, TqbxDuplicateMerge mode) {
    rebuilt.SetName(u"Row");
    rebuilt.Duplicates = mode;
    rebuilt.SetBounds(0, top, 100, 20);
    rebuilt.SetMemoText(IntToStr(index));
    return dictionary_.LoadValue(rebuilt, top);
  }

  TqbxReport report_;
  TqbxMemoView* total_ = nullptr;
  TqbxPostProcessor dictionary_;
  int32_t value_ = 0;
};

TEST_F(PostProcessorTest, RepeatsOfASuppressedValueShareItsIndexUntilAReset) {
  EXPECT_EQ(dictionary_.Add(u"B", u"Row", u"a", paDefault, nullptr, true), 0);
  EXPECT_EQ(dictionary_.Add(u"B", u"Row", u"a", paDefault, nullptr, true), 0);
  EXPECT_EQ(dictionary_.Add(u"B", u"row", u"b", paDefault, nullptr, true), 1);  // names ignore case
  EXPECT_EQ(dictionary_.Add(u"B", u"Row", u"b", paDefault, nullptr, false), 2);
  dictionary_.ResetDuplicates(u"Other");
  EXPECT_EQ(dictionary_.Add(u"B", u"Row", u"b", paDefault, nullptr, true), 2);
  dictionary_.ResetDuplicates(u"B");
  EXPECT_EQ(dictionary_.Add(u"B", u"Row", u"b", paDefault, nullptr, true), 3);
  EXPECT_EQ(dictionary_.GetMacroList(u"ROW"), (std::vector<String>{u"a", u"b", u"b", u"b"}));
  EXPECT_TRUE(dictionary_.Find(u"Row")->Items.back().Final);
}

TEST_F(PostProcessorTest, AWaitingValueIsSettledByItsEventAtItsGroupLevel) {
  dictionary_.EnterGroup();
  value_ = 5;
  const int first = Record(*total_);
  EXPECT_FALSE(dictionary_.Find(u"Total")->Items[first].Final);
  // Another mode, or the end of an inner group, leaves it waiting.
  dictionary_.ProcessExpressions(report_, nullptr, paPageFinished);
  dictionary_.EnterGroup();
  dictionary_.ProcessExpressions(report_, nullptr, paGroupFinished);
  EXPECT_FALSE(dictionary_.Find(u"Total")->Items[first].Final);
  EXPECT_EQ(dictionary_.GroupLevel, 1);
  value_ = 42;
  dictionary_.ProcessExpressions(report_, nullptr, paGroupFinished);
  const TqbxDeferredValue& settled = dictionary_.Find(u"Total")->Items[first];
  EXPECT_TRUE(settled.Final);
  EXPECT_EQ(settled.Text, u"Sum 42");
  EXPECT_EQ(dictionary_.GroupLevel, 0);
  EXPECT_EQ(total_->MemoText(), u"Sum [x]\r\n");  // the memo itself is left as it was
  // The next group's print is a value of its own.
  dictionary_.EnterGroup();
  EXPECT_EQ(Record(*total_), first + 1);
}

TEST_F(PostProcessorTest, ANewPassForgetsWhatWaitedAndTheLevels) {
  dictionary_.EnterGroup();
  dictionary_.EnterGroup();
  Record(*total_);
  dictionary_.BeginPass();
  EXPECT_EQ(dictionary_.GroupLevel, 0);
  dictionary_.ProcessExpressions(report_, nullptr, paGroupFinished);
  EXPECT_FALSE(dictionary_.Find(u"Total")->Items.back().Final);
  EXPECT_EQ(dictionary_.GroupLevel, 0);  // never below 0
}

TEST_F(PostProcessorTest, RebuiltMemosTakeTheirValuesBackAndHideRepeats) {
  for (const char16_t* text : {u"a", u"a", u"a", u"b"})
    dictionary_.Add(u"B", u"Row", text, paDefault, nullptr, true);
  TqbxMemoView first, second, third, fourth;
  EXPECT_FALSE(Rebuild(first, 0, 0, dmHide));
  EXPECT_TRUE(Rebuild(second, 0, 20, dmHide));
  EXPECT_TRUE(Rebuild(third, 0, 40, dmHide));
  EXPECT_FALSE(Rebuild(fourth, 1, 60, dmHide));
  EXPECT_EQ(first.MemoText(), u"a\r\n");
  EXPECT_EQ(fourth.MemoText(), u"b\r\n");
  // A memo is loaded once per rebuild.
  EXPECT_FALSE(dictionary_.LoadValue(first, 0));
}

TEST_F(PostProcessorTest, ClearedRepeatsStayEmptyAndMergedOnesStretchTheFirst) {
  dictionary_.Add(u"B", u"Row", u"a", paDefault, nullptr, true);
  TqbxMemoView first, second;
  EXPECT_FALSE(Rebuild(first, 0, 100, dmClear));
  EXPECT_FALSE(Rebuild(second, 0, 120, dmClear));
  EXPECT_EQ(second.MemoText(), u"");

  dictionary_.ResetSuppressed();  // a new page
  TqbxMemoView top, middle, bottom;
  EXPECT_FALSE(Rebuild(top, 0, 100, dmMerge));
  EXPECT_TRUE(Rebuild(middle, 0, 120, dmMerge));
  EXPECT_TRUE(Rebuild(bottom, 0, 140, dmMerge));
  EXPECT_DOUBLE_EQ(top.Height(), 60);
  EXPECT_EQ(top.MemoText(), u"a\r\n");
}

TEST_F(PostProcessorTest, AValueWithoutItsEventOrIndexIsEmpty) {
  dictionary_.Add(u"B", u"Row", u"[x]", paReportFinished, nullptr, true);
  TqbxMemoView waiting, beyond, words;
  EXPECT_FALSE(Rebuild(waiting, 0, 0, dmShow));
  EXPECT_EQ(waiting.MemoText(), u"");
  EXPECT_FALSE(Rebuild(beyond, 7, 20, dmShow));
  EXPECT_EQ(beyond.MemoText(), u"");
  words.SetName(u"Row");
  words.SetMemoText(u"not an index");
  EXPECT_FALSE(dictionary_.LoadValue(words, 40));
  EXPECT_EQ(words.MemoText(), u"not an index\r\n");
}

}  // namespace
}  // namespace zavrik::test
