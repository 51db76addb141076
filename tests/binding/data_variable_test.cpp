// A variable whose text is data (the program's ID): read as a literal, never run as an expression.
#include "binding/binding_fixture.h"

namespace zavrik::test {
namespace {

using DataVariableTest = BindingTest;

TEST(VariableDataValue, LiteralsGiveTheirValues) {
  EXPECT_EQ(VariableDataValue(u"00123").Kind(), VarKind::Integer);
  EXPECT_EQ(VarToInteger(VariableDataValue(u"00123")), 123);
  EXPECT_EQ(VarToInteger(VariableDataValue(u"-7")), -7);
  EXPECT_EQ(VarToInteger(VariableDataValue(u" +42 ")), 42);
  EXPECT_EQ(VariableDataValue(u"3000000000").Kind(), VarKind::Int64);
  EXPECT_EQ(VariableDataValue(u"3000000000").SignedValue(), 3000000000);
  EXPECT_DOUBLE_EQ(VarToDouble(VariableDataValue(u"12.50")), 12.5);
  EXPECT_DOUBLE_EQ(VarToDouble(VariableDataValue(u"-0.5")), -0.5);
  EXPECT_EQ(VarToString(VariableDataValue(u"'it''s'")), u"it's");
  EXPECT_EQ(VarToString(VariableDataValue(u"\"A-1\"")), u"A-1");
  EXPECT_EQ(VarToString(VariableDataValue(u"''")), u"");
}

TEST(VariableDataValue, AnythingElseIsTheTextItself) {
  for (const char16_t* text :
       {u"TFileStream.Create('x.out', 65280)", u"A-1", u"1+1", u"1e5", u"12.", u".5", u"$FF",
        u"99999999999999999999", u"'unclosed", u"'a'b'", u"'", u"", u"  ", u"12,5", u"- 1"}) {
    const Variant value = VariableDataValue(text);
    EXPECT_TRUE(value.IsString()) << StringToUtf8(text);
    EXPECT_EQ(VarToString(value), text);
  }
}

TEST_F(DataVariableTest, CodeInTheTextIsNeverCompiled) {
  ASSERT_TRUE(Prepare(u"var Touched: Integer;\r\nfunction Touch: Integer;\r\nbegin\r\n"
                      u"Touched := 1; Result := 5;\r\nend;\r\nbegin\r\nend."));
  report_->SetDataVariable(u"ID", u"Touch");
  EXPECT_EQ(CalcText(u"ID"), u"Touch");
  EXPECT_EQ(CalcText(u"<ID>"), u"Touch");
  EXPECT_EQ(CalcText(u"Touched"), u"0");
  EXPECT_TRUE(report_->Errors.Empty()) << StringToUtf8(Errors());
}

TEST_F(DataVariableTest, NumbersReadAsNumbers) {
  report_->SetDataVariable(u"ID", u"00123");
  EXPECT_EQ(VarToInteger(report_->Calc(u"ID")), 123);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<ID> + 1")), 124);
  // The variable keeps the text as given.
  EXPECT_EQ(VarToString(report_->Variables().Get(u"ID")), u"00123");
}

TEST_F(DataVariableTest, TheTemplateMayAssignItsOwnExpression) {
  report_->SetDataVariable(u"ID", u"1+1");
  EXPECT_EQ(CalcText(u"ID"), u"1+1");
  report_->Variables().Set(u"ID", Variant(String(u"2+3")));
  EXPECT_EQ(VarToInteger(report_->Calc(u"ID")), 5);
  // Other variables keep being evaluated.
  report_->Variables().Set(u"Other", Variant(String(u"2*3")));
  EXPECT_EQ(VarToInteger(report_->Calc(u"Other")), 6);
}

}  // namespace
}  // namespace zavrik::test
