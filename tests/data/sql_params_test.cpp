#include "data/sql_params.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace zavrik::data {
namespace {

using Names = std::vector<String>;

String ParseError(StringView sql) {
  try {
    ParseSqlParams(sql);
  } catch (const Error& e) {
    return e.Message();
  }
  return u"<no error>";
}

TEST(SqlParams, NamedParametersBecomeMarkers) {
  const ParsedSql p = ParseSqlParams(u"SELECT DATA FROM IDE_REPORTS WHERE name = :param\r\n");
  EXPECT_EQ(p.text, u"SELECT DATA FROM IDE_REPORTS WHERE name = ?\r\n");
  EXPECT_EQ(p.names, Names{u"param"});
}

TEST(SqlParams, EveryOccurrenceIsAnEntryAndBothMarkersWork) {
  const ParsedSql p = ParseSqlParams(u"a=:x or b=?y$1 or c=:x\r\n");
  EXPECT_EQ(p.text, u"a=? or b=? or c=?\r\n");
  EXPECT_EQ(p.names, (Names{u"x", u"y$1", u"x"}));
}

TEST(SqlParams, LiteralsAndCommentsAreCopied) {
  const ParsedSql p =
      ParseSqlParams(u"select ':x', \"a:b\", 'it''s :y' /* :z */ from t where q = :p\r\n");
  EXPECT_EQ(p.text, u"select ':x', \"a:b\", 'it''s :y' /* :z */ from t where q = ?\r\n");
  EXPECT_EQ(p.names, Names{u"p"});
}

TEST(SqlParams, LineCommentsAreNotRecognised) {
  const ParsedSql p = ParseSqlParams(u"select 1 -- :note\r\nfrom t\r\n");
  EXPECT_EQ(p.names, Names{u"note"});
}

TEST(SqlParams, QuotedNames) {
  const ParsedSql p = ParseSqlParams(u"where a = :\"Имя поля\" and b = :\"x\"'\r\n");
  // The character after a name is copied uninterpreted: the quote does not open a literal.
  EXPECT_EQ(p.text, u"where a = ? and b = ?'\r\n");
  EXPECT_EQ(p.names, (Names{u"Имя поля", u"x"}));
}

TEST(SqlParams, CharacterEndingANameIsNotInterpreted) {
  const ParsedSql p = ParseSqlParams(u"(:a:b)\r\n");
  EXPECT_EQ(p.text, u"(?:b)\r\n");
  EXPECT_EQ(p.names, Names{u"a"});
}

TEST(SqlParams, Errors) {
  const String prefix = u"SQL Parse Error:\r\n\r\n";
  EXPECT_EQ(ParseError(u"select ? from t\r\n"), prefix + u"Parameter name expected");
  EXPECT_EQ(ParseError(u"select 1 from t where a = ?"), prefix + u"Parameter name expected");
  EXPECT_EQ(ParseError(u"select 'abc from t\r\n"), prefix + u"EOF in string detected");
  EXPECT_EQ(ParseError(u"select 1 /* open\r\n"), prefix + u"EOF in comment detected");
}

}  // namespace
}  // namespace zavrik::data
