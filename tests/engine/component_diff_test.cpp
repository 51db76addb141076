// Difference texts of components: the base part shared by every class, the view and memo parts
// appended to it, and the difference over every published property.
#include <gtest/gtest.h>

#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik::test {
namespace {

TEST(ComponentDiff, BasePartCoversGeometryVisibilityFontAndTag) {
  TqbxMasterData source, printed;
  EXPECT_EQ(printed.Diff(&source), u"");
  printed.SetBounds(1.5, 2, 3, 4);
  printed.SetVisible(false);
  TqbxFont font;
  font.SetName(u"Courier New");
  font.SetStyle(1);
  printed.SetFont(&font);
  printed.SetTag(7);
  EXPECT_EQ(printed.Diff(&source),
            u" l=\"1.5\" t=\"2\" w=\"3\" h=\"4\" Visible=\"False\" Font.Name=\"Courier New\" "
            u"Font.Style=\"1\""
            u" ParentFont=\"False\" Tag=\"7\"");
  // Against the class defaults when there is no source.
  EXPECT_EQ(printed.Diff(nullptr), printed.Diff(&source));
}

TEST(ComponentDiff, ViewsAndMemosAppendToTheBasePart) {
  TqbxMemoView source, printed;
  printed.SetTop(12);
  printed.SetMemoText(u"x");
  printed.SetTagStr(u"t");
  EXPECT_EQ(printed.Diff(&source), u" t=\"12\" TagStr=\"t\" u=\"x\"");
}

TEST(ComponentDiff, AllDiffListsEveryDifferingPropertyAndReadsBack) {
  RegisterReportClasses();
  TqbxMemoView source, printed;
  source.SetMemoText(u"same");
  printed.SetMemoText(u"same");
  EXPECT_EQ(printed.AllDiff(&source), u"");
  printed.SetLeft(30);
  printed.SetMemoText(u"other");
  printed.AutoWidth = true;
  const String diff = printed.AllDiff(&source);
  EXPECT_NE(diff.find(u" Left=\"30\""), String::npos);
  EXPECT_NE(diff.find(u" AutoWidth=\"True\""), String::npos);
  EXPECT_NE(diff.find(u" Text=\"other\""), String::npos);
  EXPECT_EQ(diff.find(u"Top="), String::npos);

  // Against the class defaults the text rebuilds the object.
  TqbxXMLSerializer serializer;
  std::unique_ptr<TqbxComponent> rebuilt =
      serializer.ReadDetachedComponentStr(u"TqbxMemoView" + printed.AllDiff(nullptr));
  EXPECT_EQ(serializer.WriteComponentStr(*rebuilt), serializer.WriteComponentStr(printed));
}

}  // namespace
}  // namespace zavrik::test
