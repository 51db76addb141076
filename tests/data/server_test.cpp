// The query layer through a Firebird server on localhost.
#include <gtest/gtest.h>

#include "core/error.h"
#include "data/connection.h"
#include "data/fb_error.h"
#include "data/query.h"
#include "data/transaction.h"
#include "support/test_db.h"

namespace zavrik::data {
namespace {

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::ServerTestsEnabled()) GTEST_SKIP() << "set ZAVRIK_SERVER=1 with a server running";
  }
  test::TempDir dir_;
};

TEST_F(ServerTest, RoundTripsCyrillicTextAndBlobs) {
  const std::string name = "localhost:" + dir_.File("server.fdb");
  test::CreateDatabase(name, {"CREATE TABLE R (NAME VARCHAR(20), MEMO BLOB SUB_TYPE TEXT, "
                              "AMOUNT NUMERIC(15,2))",
                              "INSERT INTO R VALUES ('Отчёт', 'Текст BLOB', 1234.50)"});
  Connection db;
  db.DatabaseName = Utf8ToString(name);
  db.Params = {u"user_name=SYSDBA", u"password=plovertin", u"lc_ctype=UTF8"};
  db.Connect();
  Transaction tr;
  tr.SetDefaultDatabase(&db);
  tr.Params = {u"read", u"read_committed", u"rec_version", u"nowait"};
  tr.StartTransaction();
  Query q(&db, &tr);
  q.SetSQL(u"SELECT * FROM R WHERE NAME = :n");
  q.ParamByName(u"N").SetAsString(u"Отчёт");
  q.Open();
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldByName(u"MEMO").Value().StringValue(), u"Текст BLOB");
  EXPECT_EQ(q.FieldByName(u"AMOUNT").Value().CurrencyValue().scaled, 12345000);
  q.Next();
  EXPECT_TRUE(q.Eof());
}

TEST_F(ServerTest, WrongPasswordGivesTheServerTextWithoutPeriod) {
  const std::string name = "localhost:" + dir_.File("auth.fdb");
  test::CreateDatabase(name);
  Connection db;
  db.DatabaseName = Utf8ToString(name);
  db.Params = {u"user_name=SYSDBA", u"password=wrong", u"lc_ctype=UTF8"};
  try {
    db.Connect();
    FAIL() << "connected with a wrong password";
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.Message(),
              u"Your user name and password are not defined. Ask your database administrator to "
              u"set up a Firebird login");
    EXPECT_EQ(e.SqlCode(), -902);
    EXPECT_EQ(e.ErrorCode(), 335544472);
  }
  EXPECT_FALSE(db.Connected());
}

}  // namespace
}  // namespace zavrik::data
