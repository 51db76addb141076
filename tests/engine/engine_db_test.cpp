// The engine over template queries run against a real embedded database.
#include <gtest/gtest.h>

#include "data/connection.h"
#include "data/ibx_components.h"
#include "data/transaction.h"
#include "engine/engine_fixture.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

class EngineDbTest : public EngineTest {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    path_ = dir_->File("engine.fdb");
    std::vector<std::string> statements = {"CREATE TABLE NUMS (N INTEGER NOT NULL PRIMARY KEY)"};
    for (int n = 1; n <= 60; ++n)
      statements.push_back("INSERT INTO NUMS VALUES (" + std::to_string(n) + ")");
    CreateDatabase(path_, statements);
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    ConnectAsTheProgram(db_, tr_, path_);
    registry_.SetDefaultDatabase(&db_);
  }
  // The report's queries go before the connection they run on.
  void TearDown() override { report_.reset(); }

  static std::string Query(const std::string& name, const std::string& sql,
                           const std::string& attributes = "") {
    return "<TqbxIBXQuery Name=\"" + name + "\" " + attributes + " SQL.Text=\"" + sql + "\"/>";
  }

  static TempDir* dir_;
  static std::string path_;
  data::Connection db_;
  data::Transaction tr_;
  data::TqbxIBXComponents registry_;
};

TempDir* EngineDbTest::dir_ = nullptr;
std::string EngineDbTest::path_;

const char* kRowBand =
    "<TqbxMasterData Name=\"Master\" Left=\"0\" Top=\"60\" Width=\"700\" Height=\"20\" "
    "DataSet=\"Q\">"
    "<TqbxMemoView Name=\"N\" Left=\"0\" Top=\"0\" Width=\"100\" Height=\"20\" DataSet=\"Q\" "
    "DataField=\"N\"/>"
    "</TqbxMasterData>";

TEST_F(EngineDbTest, QueryRowsFillThePagesInOrder) {
  Load("<TqbxPageHeader Name=\"PageHeader\" Left=\"0\" Top=\"0\" Width=\"700\" Height=\"40\"/>" +
           std::string(kRowBand),
       Query("Q", "SELECT N FROM NUMS ORDER BY N"), {"Q"}, "PaperHeight=\"148\"");
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  // A5 height without margins: 559.37 units; 25 rows below a 40-unit header per page.
  ASSERT_EQ(Pages().Count(), 3);
  std::vector<std::string> values;
  for (int page = 0; page < Pages().Count(); ++page) {
    EXPECT_EQ(Bands(page).front(), "PageHeader@0");
    for (const std::string& text : Texts(page, u"N")) values.push_back(text);
  }
  ASSERT_EQ(values.size(), 60u);
  EXPECT_EQ(values.front(), "1");
  EXPECT_EQ(values[25], "26");
  EXPECT_EQ(values.back(), "60");
}

TEST_F(EngineDbTest, RangeEndCountLimitsTheQueryRows) {
  Load(kRowBand,
       Query("Q", "SELECT N FROM NUMS ORDER BY N", "RangeEnd=\"reCount\" RangeEndCount=\"4\""),
       {"Q"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Texts(0, u"N"), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(Bands(0),
            (std::vector<std::string>{"Master@0", "Master@20", "Master@40", "Master@60"}));
}

TEST_F(EngineDbTest, AnEmptyQueryPrintsNoRows) {
  Load(kRowBand, Query("Q", "SELECT N FROM NUMS WHERE N &gt; 1000"), {"Q"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Bands(0), std::vector<std::string>{});
}

TEST_F(EngineDbTest, ExpressionFieldsFollowTheQueryWhenItsColumnsChange) {
  report_->OnCalc = nullptr;  // the report's own lookup of data fields
  Load("<TqbxMasterData Name=\"Master\" Left=\"0\" Top=\"0\" Width=\"700\" Height=\"20\" "
       "DataSet=\"Q\"><TqbxMemoView Name=\"E\" Left=\"0\" Top=\"0\" Width=\"300\" Height=\"20\" "
       "Text=\"[Q.&#34;N&#34;]/[Q.&#34;M&#34; #n%2.1f]\"/></TqbxMasterData>",
       Query("Q", "SELECT N, N * 2 AS M FROM NUMS WHERE N &lt; 3 ORDER BY N"), {"Q"});
  Prepare();
  EXPECT_EQ(Texts(0, u"E"), (std::vector<std::string>{"1/2.0", "2/4.0"}));
  // The same names now stand for other columns, in another order.
  auto* query = dynamic_cast<data::TqbxIBXQuery*>(report_->FindObject(u"Q"));
  ASSERT_NE(query, nullptr);
  query->SQL()->SetText(u"SELECT N * 10 AS M, N + 100 AS N FROM NUMS WHERE N < 3 ORDER BY N");
  Prepare();
  EXPECT_EQ(Texts(0, u"E"), (std::vector<std::string>{"101/10.0", "102/20.0"}));
}

}  // namespace
}  // namespace zavrik::test
