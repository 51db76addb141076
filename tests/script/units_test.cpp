// Included units: the OnGetUnit hook, unit files, each unit once, errors inside units.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/error.h"
#include "parse_helpers.h"

namespace zavrik {
namespace {

using testing::ParseWith;

TqsParserOwner OwnerWithUnits(const std::map<String, String>& units, std::vector<String>* requested) {
  TqsParserOwner owner;
  owner.OnGetUnit = [units, requested](const String& name, String& text) {
    requested->push_back(name);
    auto found = units.find(AsciiLower(name));
    if (found != units.end()) text = found->second;
  };
  return owner;
}

TEST(Units, EachUnitOnceInReverseOrder) {
  std::vector<String> requested;
  const std::map<String, String> units = {
      {u"a", u"uses 'b'; var A1: Integer; begin end."},
      {u"b", u"var B1: Integer; begin end."},
      {u"c", u"begin end."},
  };
  auto result = ParseWith(u"PascalScript", u"uses 'a', 'c', 'A'; begin end.", OwnerWithUnits(units, &requested));
  ASSERT_TRUE(result.ok) << result.error;
  // The leaves are taken from the last to the first; 'A' names the unit 'a' again.
  EXPECT_EQ(requested, (std::vector<String>{u"A", u"b", u"c"}));
  EXPECT_EQ(result.tree.find("<uses unit=\"A\"><program><uses unit=\"b\">"), 9u) << result.tree;
  EXPECT_NE(result.tree.find("</uses><uses unit=\"c\">"), std::string::npos);
}

TEST(Units, ErrorInsideAUnitNamesTheUnitAndCannotBeCleared) {
  std::vector<String> requested;
  TqsParserOwner owner = OwnerWithUnits({{u"bad", u"begin\r\n  x := \r\nend."}}, &requested);
  // The main text's case statement clears trailing errors of its own loop, not the unit's.
  auto result = ParseWith(u"PascalScript", u"uses 'bad'; begin case x of 1: a; end end.", owner);
  EXPECT_EQ(result.error, "bad: 3:1: Expression expected");
}

TEST(Units, FilesFromTheIncludePath) {
  const auto directory = std::filesystem::temp_directory_path() / "zavrik_units_test";
  std::filesystem::create_directories(directory / "second");
  std::ofstream(directory / "second" / "u.pas", std::ios::binary) << "\xEF\xBB\xBFvar \xD0\xA1: Integer;\rbegin end.";
  TqsParserOwner owner;
  owner.IncludePath = {Utf8ToString((directory / "first").string()), Utf8ToString((directory / "second").string())};
  auto result = ParseWith(u"PascalScript", u"uses 'u.pas'; begin end.", owner);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_NE(result.tree.find("<ident text=\"С\" pos=\"1:6\"/>"), std::string::npos) << result.tree;
  EXPECT_NE(result.tree.find("<compoundstmt pos=\"2:1\"/>"), std::string::npos) << result.tree;
  try {
    ParseWith(u"PascalScript", u"uses 'none.pas'; begin end.", owner);
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.Message().find(u"Cannot open file"), String::npos);
  }
  std::filesystem::remove_all(directory);
}

TEST(ScriptFiles, LinesAreJoinedWithCrLf) {
  EXPECT_EQ(qsScriptTextFromUtf8("a\nb\r\nc\rd"), u"a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(qsScriptTextFromUtf8("\xEF\xBB\xBFx\n\n"), u"x\r\n\r\n");
  EXPECT_EQ(qsScriptTextFromUtf8(""), u"");
}

}  // namespace
}  // namespace zavrik
