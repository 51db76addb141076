// The memo's wrapped text with paragraph flags, its hand-over to the dictionary of deferred
// values, and templates with dialog pages and dot-matrix objects.
#include <gtest/gtest.h>

#include "core/float_text.h"
#include "report/model/qbx_inert_objects.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_value_dictionary.h"
#include "view_helpers.h"

namespace zavrik::test {
namespace {

TEST(MemoWrap, WrappedLinesCarryTheirParagraphFlags) {
  TqbxMemoView memo;
  memo.SetBounds(0, 0, 60, 100);
  memo.SetMemoText(u"one two three four\r\n<b>x</b>");
  memo.AllowHTMLTags = true;
  std::vector<TqbxWrappedLine> lines;
  const String wrapped = memo.WrapText(true, &lines);
  ASSERT_GE(lines.size(), 3u);
  String joined;
  for (size_t i = 0; i < lines.size(); ++i) joined += (i ? u"\r\n" : u"") + lines[i].Text;
  EXPECT_EQ(joined, wrapped);
  EXPECT_EQ(lines.front().Flags, kFirstLineOfParagraph);
  EXPECT_EQ(lines.back().Flags, kFirstLineOfParagraph | kLastLineOfParagraph);  // "x": a paragraph of its own
  EXPECT_EQ(lines[lines.size() - 2].Flags & kFirstLineOfParagraph, 0);
  EXPECT_EQ(lines.back().Text, u"x");

  // Unwrapped: the text without markup; its two lines do not match the wrapped ones, so no flags.
  EXPECT_EQ(memo.WrapText(false, &lines), u"one two three four\r\nx");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Flags, 0);
  EXPECT_EQ(lines[1].Text, u"x");

  memo.SetMemoText(u"");
  EXPECT_EQ(memo.WrapText(true, &lines), u"");
  EXPECT_TRUE(lines.empty());
}

// Records what a memo hands over and answers as a dictionary would: a repeated suppressed value
// keeps its index.
class TtstDictionary : public TqbxValueDictionary {
 public:
  int Add(const String& band_name, const String& name, const String& content, TqbxProcessAtMode process_at,
          TqbxComponent* component, bool suppressed) override {
    Calls.push_back(band_name + u"|" + name + u"|" + content + u"|" + IntToStr(process_at) + u"|" +
                    (suppressed ? u"S" : u"-"));
    Component = component;
    if (suppressed && !Values.empty() && Values.back() == content) return static_cast<int>(Values.size()) - 1;
    Values.push_back(content);
    return static_cast<int>(Values.size()) - 1;
  }
  std::vector<String> Calls, Values;
  TqbxComponent* Component = nullptr;
};

TEST(MemoDeferred, TakingPartAndHandingTheContentOver) {
  auto report = LoadEvalReport(
      "<TqbxMasterData Name=\"Band\"><TqbxMemoView Name=\"Total\" Processing.ProcessAt=\"paGroupFinished\"/>"
      "<TqbxMemoView Name=\"Customer\" Duplicates=\"dmMerge\"/><TqbxMemoView Name=\"Plain\"/></TqbxMasterData>"
      "<TqbxMemoView Name=\"Loose\" Duplicates=\"dmHide\"/>");
  auto& total = Find<TqbxMemoView>(*report, u"Total");
  auto& customer = Find<TqbxMemoView>(*report, u"Customer");
  auto& loose = Find<TqbxMemoView>(*report, u"Loose");
  EXPECT_TRUE(total.IsPostProcessAllowed());
  EXPECT_TRUE(customer.IsPostProcessAllowed());
  EXPECT_FALSE(Find<TqbxMemoView>(*report, u"Plain").IsPostProcessAllowed());

  TtstDictionary dictionary;
  total.SetMemoText(u"12,50\r\n");
  total.SaveContentToDictionary(dictionary);
  EXPECT_EQ(total.MemoText(), u"0\r\n");  // the text is now the value's index
  EXPECT_EQ(dictionary.Component, &total);
  customer.SetMemoText(u"Иванов\r\nИ.\r\n");  // only the final line break goes
  customer.SaveContentToDictionary(dictionary);
  customer.SetMemoText(u"Иванов\r\nИ.\r\n");
  customer.SaveContentToDictionary(dictionary);
  EXPECT_EQ(customer.Text(), u"1");
  loose.SetMemoText(u"x");
  loose.SaveContentToDictionary(dictionary);  // without a band nothing is suppressed
  EXPECT_EQ(dictionary.Calls, (std::vector<String>{u"Band|Total|12,50|6|S", u"Band|Customer|Иванов\r\nИ.|0|S",
                                                   u"Band|Customer|Иванов\r\nИ.|0|S", u"|Loose|x|0|-"}));
}

TEST(MemoDeferred, ADataFieldHandsOverItsValueThroughTheReport) {
  auto report = LoadEvalReport("<TqbxMasterData Name=\"Band\"><TqbxMemoView Name=\"M\" DataField=\"NAME\"/></TqbxMasterData>");
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  auto& source = TqbxComponent::CreateIn<TtstView>(*report);  // any report component serves as the data source
  source.SetName(u"Query1");
  memo.SetDataSet(&source);
  report->Values[u"Query1.\"NAME\""] = Variant(String(u"ООО Ромашка"));
  TtstDictionary dictionary;
  memo.SaveContentToDictionary(dictionary);
  EXPECT_EQ(dictionary.Values, (std::vector<String>{u"ООО Ромашка"}));
}

TEST(InertObjects, DialogPagesAndDotMatrixObjectsLoadWithoutMessages) {
  std::vector<String> errors;
  auto report = LoadEvalReport(
      "<TqbxDialogPage Name=\"Dialog1\" Left=\"10\" Width=\"300\" Caption=\"Выбор\">"
      "<TqbxDBLookupComboBox Name=\"Combo\" Left=\"8\" Top=\"12\" Width=\"145\" Height=\"21\" ListField=\"NAME\""
      " Font.Name=\"Tahoma\"/></TqbxDialogPage>"
      "<TqbxDMPPage Name=\"Dot\"><TqbxDMPMemoView Name=\"DM\" Left=\"1\"/><TqbxDMPLineView Name=\"DL\"/>"
      "<TqbxDMPCommand Name=\"DC\"/></TqbxDMPPage>",
      &errors);
  EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : StringToUtf8(errors.front()));
  auto& combo = Find<TqbxDBLookupComboBox>(*report, u"Combo");
  EXPECT_EQ(combo.Width(), 145);
  EXPECT_EQ(combo.Font()->Name(), u"Tahoma");
  EXPECT_EQ(combo.AbsLeft(), 8);  // dialog controls are placed relative to their form
  EXPECT_TRUE(combo.Parent()->IsDialogPage());
  EXPECT_EQ(Find<TqbxDMPMemoView>(*report, u"DM").Left(), 1);
  EXPECT_NE(dynamic_cast<TqbxDMPPage*>(report->FindObject(u"Dot")), nullptr);
}

}  // namespace
}  // namespace zavrik::test
