// The query layer against a real embedded database.
#include "data/query.h"

#include <gtest/gtest.h>

#include "support/test_helpers.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "core/error.h"
#include "core/variant_convert.h"
#include "data/connection.h"
#include "data/database_admin.h"
#include "data/fb_api.h"
#include "data/fb_error.h"
#include "data/transaction.h"
#include "support/test_db.h"

namespace zavrik::data {
namespace {

class QueryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    path_ = dir_->File("query.fdb");
    test::CreateDatabase(
        path_,
        {
            "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), CODE CHAR(4), "
            "AMOUNT NUMERIC(15,2), RATE NUMERIC(18,6), SMALL NUMERIC(4,1), I16 SMALLINT, BIG "
            "BIGINT, "
            "F FLOAT, D DOUBLE PRECISION, DT DATE, TM TIME, TS TIMESTAMP, B BOOLEAN, "
            "MEMO BLOB SUB_TYPE TEXT, BIN BLOB SUB_TYPE 0)",
            "INSERT INTO T VALUES (1, 'Счёт № 1', 'АБ', 1234.50, 1.234567, 12.3, -5, "
            "9000000000000000000, 1.5, 2.25, '2026-12-09', '13:45:30', '2026-12-09 13:45:30.5', "
            "TRUE, 'Памятка', x'00FF10')",
            "INSERT INTO T (ID, BIN) VALUES (2, '')",
            "INSERT INTO T (ID, NAME) VALUES (3, 'third')",
            "INSERT INTO T (ID, DT) VALUES (4, '1899-12-29')",
        });
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    test::ConnectAsTheProgram(db_, tr_, path_);
  }

  std::unique_ptr<Query> Open(StringView sql) {
    auto q = std::make_unique<Query>(&db_, &tr_);
    q->SetSQL(sql);
    q->Open();
    return q;
  }

  // A read-write transaction on db_, started.
  std::unique_ptr<Transaction> StartWriting() {
    auto write = std::make_unique<Transaction>();
    write->SetDefaultDatabase(&db_);
    write->Params = {u"write", u"concurrency", u"wait"};
    write->StartTransaction();
    return write;
  }

  static test::TempDir* dir_;
  static std::string path_;
  Connection db_;
  Transaction tr_;
};

test::TempDir* QueryTest::dir_ = nullptr;
std::string QueryTest::path_;

TEST_F(QueryTest, ColumnTypesGiveTheirValueKinds) {
  auto q = Open(u"SELECT * FROM T WHERE ID = 1");
  ASSERT_FALSE(q->Eof());
  EXPECT_EQ(q->FieldByName(u"id").Value().Kind(), VarKind::Integer);
  EXPECT_EQ(q->FieldByName(u"NAME").Value().StringValue(), u"Счёт № 1");
  EXPECT_EQ(q->FieldByName(u"NAME").Size(), 40);
  EXPECT_EQ(q->FieldByName(u"CODE").Value().StringValue(), u"АБ  ");
  EXPECT_EQ(q->FieldByName(u"CODE").Size(), 4);
  const Variant amount = q->FieldByName(u"AMOUNT").Value();
  EXPECT_EQ(amount.Kind(), VarKind::Currency);
  EXPECT_EQ(amount.CurrencyValue().scaled, 12345000);
  EXPECT_EQ(q->FieldByName(u"AMOUNT").DataType(), FieldType::ftBCD);
  EXPECT_EQ(q->FieldByName(u"RATE").DataType(), FieldType::ftFMTBcd);
  EXPECT_DOUBLE_EQ(q->FieldByName(u"RATE").Value().DoubleValue(), 1.234567);
  EXPECT_EQ(q->FieldByName(u"RATE").ExactDecimal(), "1.234567");
  EXPECT_EQ(q->FieldByName(u"SMALL").Value().CurrencyValue().scaled, 123000);
  EXPECT_EQ(q->FieldByName(u"I16").Value().Kind(), VarKind::SmallInt);
  EXPECT_EQ(q->FieldByName(u"I16").Value().SignedValue(), -5);
  EXPECT_EQ(q->FieldByName(u"BIG").Value().SignedValue(), 9000000000000000000LL);
  EXPECT_EQ(q->FieldByName(u"F").Value().DoubleValue(), 1.5);
  EXPECT_EQ(q->FieldByName(u"D").Value().DoubleValue(), 2.25);
  EXPECT_EQ(q->FieldByName(u"DT").Value().Kind(), VarKind::Date);
  EXPECT_EQ(q->FieldByName(u"DT").Value().DoubleValue(), 46365.0);  // 2026-12-09
  EXPECT_NEAR(q->FieldByName(u"TM").Value().DoubleValue(), (13 * 3600 + 45 * 60 + 30) / 86400.0,
              1e-9);
  EXPECT_NEAR(q->FieldByName(u"TS").Value().DoubleValue(),
              46365.0 + (13 * 3600 + 45 * 60 + 30.5) / 86400.0, 1e-9);
  EXPECT_EQ(q->FieldByName(u"B").Value().Kind(), VarKind::Boolean);
  EXPECT_TRUE(q->FieldByName(u"B").Value().BoolValue());
  EXPECT_EQ(q->FieldByName(u"MEMO").DataType(), FieldType::ftMemo);
  EXPECT_EQ(q->FieldByName(u"MEMO").Value().StringValue(), u"Памятка");
  EXPECT_EQ(q->FieldByName(u"BIN").DataType(), FieldType::ftBlob);
  EXPECT_EQ(q->FieldByName(u"BIN").AsBytes(), std::string("\x00\xFF\x10", 3));
}

TEST_F(QueryTest, DatesBeforeTheEpochKeepTheirDay) {
  auto q = Open(u"SELECT DT FROM T WHERE ID = 4");
  EXPECT_EQ(q->FieldByName(u"DT").Value().DoubleValue(), -1.0);
}

TEST_F(QueryTest, NullsAndEmptyBlobs) {
  auto q = Open(u"SELECT NAME, AMOUNT, DT, MEMO, BIN FROM T WHERE ID = 2");
  EXPECT_TRUE(q->FieldByName(u"NAME").IsNull());
  EXPECT_TRUE(q->FieldByName(u"AMOUNT").Value().IsNull());
  EXPECT_TRUE(q->FieldByName(u"MEMO").Value().IsNull());
  EXPECT_FALSE(q->FieldByName(u"BIN").IsNull());
  EXPECT_EQ(q->FieldByName(u"BIN").AsBytes(), "");
}

TEST_F(QueryTest, NoRowsIsAtEofAtOnce) {
  auto q = Open(u"SELECT * FROM T WHERE ID = -1");
  EXPECT_TRUE(q->Eof());
  EXPECT_EQ(q->RecNo(), 0);
}

TEST_F(QueryTest, MovesForwardsAndBackOverFetchedRows) {
  auto q = Open(u"SELECT ID FROM T ORDER BY ID");
  std::vector<int64_t> ids;
  for (; !q->Eof(); q->Next()) ids.push_back(q->FieldByName(u"ID").Value().SignedValue());
  EXPECT_EQ(ids, (std::vector<int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(q->FieldByName(u"ID").Value().SignedValue(), 4);  // stays on the last row
  q->Prior();
  EXPECT_EQ(q->FieldByName(u"ID").Value().SignedValue(), 3);
  q->First();
  EXPECT_FALSE(q->Eof());
  EXPECT_EQ(q->FieldByName(u"ID").Value().SignedValue(), 1);
  q->Prior();
  EXPECT_TRUE(q->Bof());
  q->Next();
  EXPECT_EQ(q->FieldByName(u"ID").Value().SignedValue(), 2);
}

// Rows are kept packed and decoded again when the cursor comes back: every column of every row
// must read the same after the later rows were fetched over the same buffers.
TEST_F(QueryTest, RowsReadTheSameWhenTheCursorComesBack) {
  auto q = Open(u"SELECT * FROM T ORDER BY ID");
  auto row_text = [&] {
    String text;
    for (int i = 0; i < q->FieldCount(); ++i) {
      const Variant value = q->Fields(i).Value();
      text += value.IsNull() ? String(u"<null>") : VarToStr(value);
      text += u'|' + String(q->Fields(i).ExactDecimal().begin(), q->Fields(i).ExactDecimal().end()) +
              u';';
    }
    return text;
  };
  std::vector<String> forward;
  std::vector<int> marks;
  for (; !q->Eof(); q->Next()) {
    forward.push_back(row_text());
    marks.push_back(q->Bookmark());
  }
  ASSERT_EQ(forward.size(), 4u);
  EXPECT_NE(forward[0].find(u"Счёт № 1"), String::npos);
  EXPECT_NE(forward[0].find(u"АБ  "), String::npos);
  EXPECT_NE(forward[0].find(u"Памятка"), String::npos);
  for (size_t i = forward.size(); i-- > 0;) {
    q->GotoBookmark(marks[i]);
    EXPECT_EQ(row_text(), forward[i]) << "row " << i;
  }
  q->First();
  EXPECT_EQ(row_text(), forward[0]);
  EXPECT_EQ(q->FieldByName(u"BIN").AsBytes(), std::string("\x00\xFF\x10", 3));
  EXPECT_EQ(q->RecordCount(), 4);
}

TEST_F(QueryTest, ParametersBindByMarkerType) {
  Query q(&db_, &tr_);
  q.SetSQL(u"SELECT ID FROM T WHERE NAME = :Name OR AMOUNT = :amt OR DT = :d OR ID = :id");
  ASSERT_EQ(q.Params().Count(), 4u);
  q.ParamByName(u"NAME").SetAsString(u"third");
  q.ParamByName(u"amt").SetAsString(u"");  // empty text to a non-text marker is NULL
  q.ParamByName(u"d").SetAsString(u"29.12.1899");
  q.ParamByName(u"id").DataType = FieldType::ftInteger;
  q.ParamByName(u"id").Value = Variant(String(u"1"));  // integer bound through its text form
  q.Open();
  std::vector<int64_t> ids;
  for (; !q.Eof(); q.Next()) ids.push_back(q.FieldByName(u"ID").Value().SignedValue());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (std::vector<int64_t>{1, 3, 4}));
}

// A decimal parameter given its text form in the locale's format ("1234,50") reaches the server
// as that number, with every digit.
TEST_F(QueryTest, ADecimalParameterReadsItsTextWithTheLocaleSeparator) {
  Query q(&db_, &tr_);
  q.SetSQL(u"SELECT ID FROM T WHERE AMOUNT = :amt AND RATE = :rate");
  q.ParamByName(u"amt").DataType = FieldType::ftFMTBcd;
  q.ParamByName(u"amt").Value = Variant(String(u"1234,50"));
  q.ParamByName(u"rate").DataType = FieldType::ftFMTBcd;
  q.ParamByName(u"rate").Value = Variant(String(u"1.234567"));
  q.Open();
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldByName(u"ID").Value().SignedValue(), 1);
}

TEST_F(QueryTest, TextAndBytesBindToBlobMarkers) {
  const std::unique_ptr<Transaction> write = StartWriting();
  Query ins(&db_, write.get());
  ins.SetSQL(u"INSERT INTO T (ID, MEMO, BIN) VALUES (:id, :memo, :bin)");
  ins.ParamByName(u"id").SetAsString(u"100");
  ins.ParamByName(u"memo").SetAsString(u"Кириллица в BLOB");
  ins.ParamByName(u"bin").SetAsBytes(std::string("\x01\x00\x02", 3));
  ins.ExecQuery();
  Query sel(&db_, write.get());
  sel.SetSQL(u"SELECT MEMO, BIN FROM T WHERE ID = 100");
  sel.Open();
  EXPECT_EQ(sel.FieldByName(u"MEMO").Value().StringValue(), u"Кириллица в BLOB");
  EXPECT_EQ(sel.FieldByName(u"BIN").AsBytes(), std::string("\x01\x00\x02", 3));
  write->Rollback();
}

TEST_F(QueryTest, FailuresOfTheLayer) {
  EXPECT_EQ(test::ErrorMessage([&] { Query(nullptr, &tr_).Open(); }), u"Database not assigned");
  EXPECT_EQ(test::ErrorMessage([&] { Query(&db_, nullptr).Open(); }), u"Transaction not assigned");
  EXPECT_EQ(test::ErrorMessage([&] { Open(u"  "); }), u"Empty query");
  EXPECT_EQ(test::ErrorMessage([&] { Open(u"COMMIT"); }), u"Not permitted");
  EXPECT_EQ(test::ErrorMessage([&] { Open(u"UPDATE T SET NAME = NAME WHERE 1 = 0"); }),
            u"Cannot \"open\" a non-select statement. Use ExecQuery");
  EXPECT_EQ(test::ErrorMessage([&] { tr_.StartTransaction(); }), u"Transaction is active");
  EXPECT_EQ(test::ErrorMessage([&] { db_.Connect(); }),
            u"Cannot perform operation -- DB is currently open");
  tr_.Commit();
  EXPECT_EQ(test::ErrorMessage([&] { Open(u"SELECT 1 FROM RDB$DATABASE"); }),
            u"Transaction is not active");
  db_.Disconnect();
  EXPECT_EQ(test::ErrorMessage([&] { Open(u"SELECT 1 FROM RDB$DATABASE"); }),
            u"Cannot perform operation -- DB is not open");
}

TEST_F(QueryTest, ServerErrorsCarryTheInterpretedText) {
  try {
    Open(u"SELECT NOPE FROM T");
    FAIL() << "no error";
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.SqlCode(), -206);
    EXPECT_NE(e.Message().find(u"Column unknown\r\nNOPE"), String::npos)
        << StringToUtf8(e.Message());
    EXPECT_NE(e.Message().back(), u'.');
  }
}

TEST_F(QueryTest, DisconnectEndsTheTransaction) {
  db_.Disconnect();
  EXPECT_FALSE(tr_.Active());
  EXPECT_FALSE(db_.Connected());
}

// Disconnect keeps the open transactions' work; RollbackAndDisconnect drops it, as the end of the
// process would. Either way the connection no longer counts as attached.
TEST_F(QueryTest, TheWayOfDisconnectingDecidesTheOpenWork) {
  auto run_and_leave_open = [&](const String& sql) {
    std::unique_ptr<Transaction> write = StartWriting();
    Query statement(&db_, write.get());
    statement.SetSQL(sql);
    statement.ExecQuery();
    return write;
  };
  auto count_rows = [&](int id) {
    test::ConnectAsTheProgram(db_, tr_, path_);
    auto q = Open(u"SELECT COUNT(*) AS N FROM T WHERE ID = " + Utf8ToString(std::to_string(id)));
    return q->FieldByName(u"N").Value().SignedValue();
  };
  EXPECT_TRUE(Connection::AnyAttached());
  auto dropped = run_and_leave_open(u"INSERT INTO T (ID) VALUES (200)");
  db_.RollbackAndDisconnect();
  EXPECT_FALSE(dropped->Active());
  EXPECT_FALSE(tr_.Active());
  EXPECT_FALSE(Connection::AnyAttached());
  EXPECT_EQ(count_rows(200), 0);

  auto kept = run_and_leave_open(u"INSERT INTO T (ID) VALUES (201)");
  db_.Disconnect();
  EXPECT_FALSE(kept->Active());
  EXPECT_FALSE(Connection::AnyAttached());
  EXPECT_EQ(count_rows(201), 1);
  run_and_leave_open(u"DELETE FROM T WHERE ID = 201")->Commit();
}

TEST(Connection, EmptyDatabaseNameFailsBeforeAttaching) {
  Connection db;
  EXPECT_EQ(test::ErrorMessage([&] { db.Connect(); }), u"Database name is missing");
}

TEST(Connection, MissingFileGivesTheClientText) {
  test::TempDir dir;
  Connection db;
  db.DatabaseName = Utf8ToString(dir.File("missing.fdb"));
  db.Params = {u"user_name=SYSDBA", u"password=plovertin", u"lc_ctype=UTF8"};
  const String expected = u"I/O error during \"open\" operation for file \"" +
                          Utf8ToString(dir.File("missing.fdb")) +
                          u"\"\r\nError while trying to open file\r\nNo such file or directory";
  EXPECT_EQ(test::ErrorMessage([&] { db.Connect(); }), expected);
  EXPECT_FALSE(db.Connected());
}

TEST(Connection, DialectIsLoweredToTheDatabases) {
  test::TempDir dir;
  const std::string path = dir.File("d1.fdb");
  test::CreateDatabase(path);
  {
    Connection db;
    db.DatabaseName = Utf8ToString(path);
    db.Params = {u"user_name=SYSDBA", u"password=plovertin"};
    db.Connect();
    EXPECT_EQ(db.SQLDialect(), 3);
    EXPECT_EQ(db.CharSetName(), u"NONE");
    EXPECT_EQ(db.CodePage(), 1252);
  }
}

TEST(FbClient, MissingLibraryIsReportedByName) {
  try {
    OpenFbClient("libfbclient-missing.so.9");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("libfbclient-missing.so.9"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("libfbclient"), std::string::npos);
  }
}

}  // namespace
}  // namespace zavrik::data
