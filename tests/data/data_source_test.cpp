// Report data sources loaded from templates and run against a real embedded database: iteration,
// ranges, expression parameters, master-detail, field values and texts, and their errors.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/error.h"
#include "core/variant_convert.h"
#include "data/ibx_components.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/document/qbx_prop_stream.h"
#include "report/model/qbx_report.h"
#include "script/qs_ihost.h"
#include "support/test_db.h"
#include "support/test_helpers.h"

namespace zavrik::data {
namespace {

using test::ErrorMessage;

class DataSourceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    path_ = dir_->File("sources.fdb");
    std::vector<std::string> statements = {
        "CREATE TABLE NUMS (N INTEGER NOT NULL PRIMARY KEY)",
        "CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), "
        "AMOUNT NUMERIC(15,2), BIG BIGINT, BORN DATE, SEEN TIMESTAMP, FLAG BOOLEAN, "
        "NOTE BLOB SUB_TYPE TEXT, BIN BLOB SUB_TYPE 0)",
        "INSERT INTO CUSTOMERS VALUES (1, 'Иванов', 1234.50, 9000000000, '2026-12-09', "
        "'2026-12-09 13:45:30', TRUE, 'Первая строка', x'0102')",
        "INSERT INTO CUSTOMERS (ID, NAME) VALUES (2, 'Петров')",
        "INSERT INTO CUSTOMERS (ID, NAME) VALUES (3, 'Сидоров')",
        "CREATE TABLE ORDERS (ID INTEGER NOT NULL PRIMARY KEY, CUSTOMER_ID INTEGER, TITLE "
        "VARCHAR(20))",
        "INSERT INTO ORDERS VALUES (1, 1, 'a1')",
        "INSERT INTO ORDERS VALUES (2, 1, 'a2')",
        "INSERT INTO ORDERS VALUES (3, 3, 'c1')",
    };
    for (int n = 1; n <= 10; ++n)
      statements.push_back("INSERT INTO NUMS VALUES (" + std::to_string(n) + ")");
    test::CreateDatabase(path_, statements);
  }
  static void TearDownTestSuite() { delete dir_; }

  void SetUp() override {
    test::ConnectAsTheProgram(db_, tr_, path_);
    registry_.SetDefaultDatabase(&db_);
    RegisterReportClasses();
    // The test evaluator: expressions are looked up in a table.
    report_.OnCalc = [this](StringView expression) {
      calc_self_ = report_.SelfValue ? report_.SelfValue->Name() : u"";
      auto it = values_.find(String(expression));
      if (it == values_.end()) throw Error(u"Unknown expression " + String(expression));
      return it->second;
    };
  }

  // Loads a report whose data page holds `sources`; `datasets` names the listed sources.
  void Load(const std::string& sources, const std::vector<std::string>& datasets) {
    std::string list;
    for (const std::string& name : datasets) list += "<item DataSet=\"" + name + "\"/>";
    std::istringstream in(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport><TqbxDataPage Name=\"Data\">" +
        sources + "</TqbxDataPage><Datasets>" + list + "</Datasets></TqbxReport>");
    report_.LoadFromStream(in);
  }

  TqbxIBXQuery& Query(StringView name) {
    auto* query = dynamic_cast<TqbxIBXQuery*>(report_.FindObject(name));
    if (!query) throw Error(u"no query " + String(name));
    return *query;
  }

  // The field's values over the data set's range, as texts.
  static std::vector<String> Collect(TqbxDataSet& data_set, StringView field) {
    std::vector<String> values;
    data_set.First();
    while (!data_set.Eof() && values.size() < 100) {
      values.push_back(VarToStr(data_set.Value(field)));
      data_set.Next();
    }
    return values;
  }

  static std::string ParametersPropData(const std::vector<String>& items) {
    TqbxPropWriter writer;
    writer.WritePropName(u"Parameters");
    writer.WriteValueType(vaList);
    for (const String& item : items) {
      writer.WriteValueType(vaList);
      writer.WriteString(item);
      writer.WriteValueType(vaNull);
    }
    writer.WriteValueType(vaNull);
    return StringToUtf8(BytesToHex(writer.Bytes()));
  }

  static test::TempDir* dir_;
  static std::string path_;
  Connection db_;
  Transaction tr_;
  TqbxIBXComponents registry_;
  TqbxReport report_;
  std::map<String, Variant> values_;
  String calc_self_;
};

test::TempDir* DataSourceTest::dir_ = nullptr;
std::string DataSourceTest::path_;

TEST_F(DataSourceTest, TemplateQueryIteratesItsRowsOverTheDefaultDatabase) {
  Load("<TqbxIBXQuery Name=\"Q\" UserName=\"Nums\" SQL.Text=\"SELECT N FROM NUMS ORDER BY N\"/>",
       {"Q"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  TqbxIBXQuery& q = Query(u"Q");
  EXPECT_EQ(q.UserName(), u"Nums");
  EXPECT_TRUE(q.CloseDataSource);
  EXPECT_EQ(q.GetQuery().Database(), &db_);
  EXPECT_EQ(q.GetQuery().GetTransaction(), &tr_);
  EXPECT_EQ(report_.GetDataset(u"nums"), &q);
  EXPECT_EQ(TqbxGlobalDataSets::Find(u"NUMS", &report_), &q);

  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(q, u"n"),
            (std::vector<String>{u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}));
  EXPECT_EQ(q.RecordCount(), 10);
  EXPECT_TRUE(q.HasField(u"N"));
  EXPECT_TRUE(q.Active());
  report_.DataSets().Finalize();
  EXPECT_FALSE(q.Active());
  EXPECT_FALSE(q.Initialized);

  // A second run opens the query again.
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(q, u"N").size(), 10u);
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, FieldListsOfQueriesNotYetOpenComeFromTheirDescription) {
  Load(
      "<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT N, N * 2 AS M FROM NUMS WHERE N &gt; :P\"/>"
      "<TqbxIBXTable Name=\"T\" TableName=\"orders\"/>"
      "<TqbxIBXQuery Name=\"Bad\" SQL.Text=\"SELECT NOPE FROM NUMS\"/>",
      {"Q", "T", "Bad"});
  EXPECT_TRUE(Query(u"Q").HasField(u"m"));
  EXPECT_EQ(Query(u"Q").FieldsCount(), 2);
  EXPECT_FALSE(Query(u"Q").Active());
  auto* table = dynamic_cast<TqbxIBXTable*>(report_.FindObject(u"T"));
  ASSERT_NE(table, nullptr);
  std::vector<String> fields;
  table->GetFieldList(fields);
  EXPECT_EQ(fields, (std::vector<String>{u"ID", u"CUSTOMER_ID", u"TITLE"}));
  EXPECT_NE(ErrorMessage([&] { Query(u"Bad").HasField(u"NOPE"); }).find(u"NOPE"), String::npos);
}

TEST_F(DataSourceTest, RangesLimitTheRecords) {
  Load(
      "<TqbxIBXQuery Name=\"Q\" RangeEnd=\"reCount\" RangeEndCount=\"3\" "
      "SQL.Text=\"SELECT N FROM NUMS ORDER BY N\"/>"
      "<TqbxIBXQuery Name=\"Two\" RangeEnd=\"reCount\" RangeEndCount=\"3\" "
      "SQL.Text=\"SELECT N FROM NUMS WHERE N &lt;= 2 ORDER BY N\"/>"
      "<TqbxIBXQuery Name=\"Cur\" RangeBegin=\"rbCurrent\" RangeEnd=\"reCurrent\" "
      "SQL.Text=\"SELECT N FROM NUMS ORDER BY N\"/>"
      "<TqbxIBXQuery Name=\"UpTo\" RangeEnd=\"reCurrent\" SQL.Text=\"SELECT N FROM NUMS ORDER BY "
      "N\"/>",
      {"Q", "Two", "Cur", "UpTo"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(Query(u"Q"), u"N"), (std::vector<String>{u"1", u"2", u"3"}));
  EXPECT_EQ(Query(u"Q").RecNo, 2);
  EXPECT_EQ(Collect(Query(u"Two"), u"N"), (std::vector<String>{u"1", u"2"}));

  // The current record is the one the query stands on when the data set opens.
  for (TqbxIBXQuery* q : {&Query(u"Cur"), &Query(u"UpTo")}) {
    q->GetQuery().Open();
    q->GetQuery().Next();
    q->GetQuery().Next();
  }
  EXPECT_EQ(Collect(Query(u"Cur"), u"N"), (std::vector<String>{u"3"}));
  EXPECT_EQ(Collect(Query(u"UpTo"), u"N"), (std::vector<String>{u"1", u"2", u"3"}));
  // Finalize returns to the remembered record before closing.
  Query(u"UpTo").CloseDataSource = false;
  Query(u"UpTo").GetQuery().Next();
  report_.DataSets().Finalize();
  EXPECT_EQ(VarToStr(Query(u"UpTo").GetQuery().FieldByName(u"N").Value()), u"3");
}

TEST_F(DataSourceTest, ParametersTakeTheirValuesFromExpressions) {
  const std::string params = ParametersPropData({
      u"Name=\"LO\" DataType=\"ftInteger\" Expression=\"LoExpr\"",
      u"Name=\"HI\" DataType=\"ftInteger\" Expression=\"HiExpr\"",
  });
  Load(
      "<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT N FROM NUMS WHERE N &gt; :LO AND N &lt;= :hi AND "
      "N &lt;&gt; :lo + 1 "
      "ORDER BY N\" PropData=\"" +
          params + "\"/>",
      {"Q"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  TqbxIBXQuery& q = Query(u"Q");
  // One item per occurrence of a name; the stored settings reach both "LO" items' first match.
  ASSERT_EQ(q.Params().Count(), 3);
  EXPECT_EQ(q.ParamByName(u"hi").DataType, FieldType::ftInteger);
  EXPECT_EQ(q.ParamByName(u"hi").Expression, u"HiExpr");
  EXPECT_EQ(ErrorMessage([&] { q.ParamByName(u"missing"); }), u"Parameter \"missing\" not found");

  values_[u"LoExpr"] = Variant(u"6");  // text, bound through its text form
  values_[u"HiExpr"] = Variant(int32_t{10});
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(q, u"N"), (std::vector<String>{u"8", u"9", u"10"}));
  EXPECT_EQ(calc_self_, u"Q");
  EXPECT_EQ(report_.SelfValue, nullptr);
  report_.DataSets().Finalize();

  // A value that is no integer fails with a conversion error when the query opens.
  values_[u"LoExpr"] = Variant(u"abc");
  report_.DataSets().Initialize(&report_);
  EXPECT_NE(ErrorMessage([&] { q.First(); }), u"<no error>");
  report_.DataSets().Finalize();

  // Saved and read again, the parameters keep their settings.
  std::ostringstream out;
  report_.SaveToStream(out);
  TqbxReport copy;
  std::istringstream in(out.str());
  copy.LoadFromStream(in);
  auto* reread = dynamic_cast<TqbxIBXQuery*>(copy.FindObject(u"Q"));
  ASSERT_NE(reread, nullptr);
  ASSERT_EQ(reread->Params().Count(), 3);
  EXPECT_EQ(reread->ParamByName(u"LO").Expression, u"LoExpr");
  EXPECT_EQ(reread->ParamByName(u"LO").DataType, FieldType::ftInteger);
}

TEST_F(DataSourceTest, UntypedParametersAreBoundAsTheirValuesCame) {
  const std::string params = ParametersPropData({
      u"Name=\"LO\" Expression=\"Lo\"",
      u"Name=\"D\" Expression=\"Day\"",
      u"Name=\"T\" Expression=\"Name\"",
  });
  Load("<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT ID FROM CUSTOMERS WHERE ID &gt;= :LO AND "
       "(BORN = :D OR NAME = :T) ORDER BY ID\" PropData=\"" + params + "\"/>",
       {"Q"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  EXPECT_EQ(Query(u"Q").ParamByName(u"LO").DataType, FieldType::ftUnknown);
  values_[u"Lo"] = Variant(u"1");                   // text, converted by the server
  values_[u"Day"] = Variant(DateTime{46365.0});     // 2026-12-09, a date
  values_[u"Name"] = Variant(u"Сидоров");
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(Query(u"Q"), u"ID"), (std::vector<String>{u"1", u"3"}));
  report_.DataSets().Finalize();
  values_[u"Lo"] = Variant(int32_t{2});
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(Query(u"Q"), u"ID"), (std::vector<String>{u"3"}));
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, FilteredDataSetsSkipRefusedRecordsEverywhere) {
  Load("<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT N FROM NUMS ORDER BY N\" Filter=\"Third\" "
       "Filtered=\"True\"/>",
       {"Q"});
  TqbxIBXQuery& q = Query(u"Q");
  report_.OnCalc = [&q](StringView expression) {
    if (expression != u"Third") throw Error(u"Unknown expression " + String(expression));
    return Variant(VarToInteger(q.Value(u"N")) % 3 == 0);
  };
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(q, u"N"), (std::vector<String>{u"3", u"6", u"9"}));
  EXPECT_EQ(q.RecordCount(), 3);
  q.First();
  q.Next();
  EXPECT_EQ(q.RecNo, 1);
  q.Next();
  q.Prior();
  EXPECT_EQ(VarToStr(q.Value(u"N")), u"6");
  EXPECT_EQ(q.RecNo, 1);
  q.Filtered = false;
  EXPECT_EQ(q.RecordCount(), 10);
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, ParameterValuesKeepDatesAndTreatEmptyTextAsNull) {
  const std::string params = ParametersPropData({
      u"Name=\"D\" DataType=\"ftDate\" Expression=\"Day\"",
      u"Name=\"P\" DataType=\"ftInteger\" Value=\"\"",
  });
  Load(
      "<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT ID, (SELECT COUNT(*) FROM NUMS WHERE N = :P) AS "
      "C "
      "FROM CUSTOMERS WHERE BORN = :D\" PropData=\"" +
          params + "\"/>",
      {"Q"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  values_[u"Day"] = Variant(DateTime{46365.0});  // 2026-12-09
  report_.DataSets().Initialize(&report_);
  TqbxIBXQuery& q = Query(u"Q");
  EXPECT_EQ(Collect(q, u"ID"), (std::vector<String>{u"1"}));
  EXPECT_EQ(VarToStr(q.Value(u"C")), u"0");
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, ScriptsReachTheQueryAsADataSet) {
  Load(
      "<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT N, N * 2 AS TWICE FROM NUMS WHERE N &lt; 3 ORDER "
      "BY N\"/>",
      {"Q"});
  TqsDataSetSource& data = *Query(u"Q").ScriptQuery();
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.FieldCount(), 0);
  EXPECT_EQ(data.FindField(u"N"), nullptr);
  data.Open();
  ASSERT_EQ(data.FieldCount(), 2);
  auto* twice = dynamic_cast<TqsFieldSource*>(data.FindField(u"twice"));
  ASSERT_NE(twice, nullptr);
  EXPECT_EQ(data.Field(1), data.FindField(u"TWICE"));
  EXPECT_EQ(data.Field(2), nullptr);
  EXPECT_EQ(twice->FieldName(), u"TWICE");
  EXPECT_EQ(VarToStr(twice->FieldValue()), u"2");
  data.Next();
  EXPECT_EQ(twice->FieldText(), u"4");
  data.Next();
  EXPECT_TRUE(data.Eof());
  EXPECT_EQ(data.RecordCount(), 2);
  data.Close();
  EXPECT_TRUE(twice->FieldValue().IsNull());
}

TEST_F(DataSourceTest, SqlChangesRebuildTheParametersKeepingKnownItems) {
  TqbxIBXQuery q;
  q.SQL()->SetText(u"SELECT N FROM NUMS WHERE N = :A OR N = :B OR N = :a");
  ASSERT_EQ(q.Params().Count(), 3);
  q.ParamByName(u"B").Expression = u"Bx";
  q.ParamByName(u"B").DataType = FieldType::ftInteger;
  q.SetIgnoreDupParams(true);
  EXPECT_EQ(q.Params().Count(), 2);
  q.SQL()->SetText(u"SELECT N FROM NUMS WHERE N = :b");
  ASSERT_EQ(q.Params().Count(), 1);
  EXPECT_EQ(q.Params().Item(0).Name, u"b");
  EXPECT_EQ(q.Params().Item(0).Expression, u"Bx");
  EXPECT_EQ(q.Params().Item(0).DataType, FieldType::ftInteger);
  q.SQL()->SetText(u"SELECT ':x' FROM NUMS WHERE N = :");
  EXPECT_EQ(ErrorMessage([&] { q.Params(); }), u"SQL Parse Error:\r\n\r\nParameter name expected");
}

TEST_F(DataSourceTest, DetailQueryFollowsItsMaster) {
  Load(
      "<TqbxIBXQuery Name=\"Orders\" Master=\"Customers\" "
      "SQL.Text=\"SELECT TITLE FROM ORDERS WHERE CUSTOMER_ID = :ID ORDER BY ID\"/>"
      "<TqbxIBXQuery Name=\"Customers\" SQL.Text=\"SELECT ID, NAME FROM CUSTOMERS ORDER BY ID\"/>",
      {"Customers", "Orders"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  TqbxIBXQuery& customers = Query(u"Customers");
  TqbxIBXQuery& orders = Query(u"Orders");
  EXPECT_TRUE(orders.IsHasMaster());
  report_.DataSets().Initialize(&report_);
  std::vector<String> lines;
  customers.First();
  while (!customers.Eof()) {
    String line = VarToStr(customers.Value(u"ID")) + u":";
    for (const String& title : Collect(orders, u"TITLE")) line += u" " + title;
    lines.push_back(line);
    customers.Next();
  }
  EXPECT_EQ(lines, (std::vector<String>{u"1: a1 a2", u"2:", u"3: c1"}));
  report_.DataSets().Finalize();

  // A master chain back to the data set itself is refused.
  EXPECT_EQ(ErrorMessage([&] { customers.SetMaster(&orders); }),
            u"Circular datalinks are not allowed");
  EXPECT_EQ(ErrorMessage([&] { orders.SetMaster(&orders); }),
            u"Circular datalinks are not allowed");
}

TEST_F(DataSourceTest, DetailOutsideTheListStillSeesEachMasterRecord) {
  Load(
      "<TqbxIBXQuery Name=\"Customers\" SQL.Text=\"SELECT ID FROM CUSTOMERS ORDER BY ID\"/>"
      "<TqbxIBXQuery Name=\"Orders\" Master=\"Customers\" "
      "SQL.Text=\"SELECT TITLE FROM ORDERS WHERE CUSTOMER_ID = :ID ORDER BY ID\"/>",
      {"Customers"});
  report_.DataSets().Initialize(&report_);
  TqbxIBXQuery& customers = Query(u"Customers");
  TqbxIBXQuery& orders = Query(u"Orders");
  std::vector<String> titles;
  for (customers.First(); !customers.Eof(); customers.Next())
    for (const String& title : Collect(orders, u"TITLE")) titles.push_back(title);
  EXPECT_EQ(titles, (std::vector<String>{u"a1", u"a2", u"c1"}));
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, DataSetsSharingAQueryLeaveItUsableWhenDestroyed) {
  Load("<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT N FROM NUMS WHERE N &lt; 3 ORDER BY N\"/>",
       {"Q"});
  data::Query& shared = Query(u"Q").GetQuery();
  auto other = std::make_unique<TqbxIBXQuery>();
  other->SetDataSet(&shared);
  other->Initialize();
  EXPECT_EQ(Collect(*other, u"N"), (std::vector<String>{u"1", u"2"}));
  other.reset();  // without Finalize: the query's notifications go back to their owner
  shared.Close();
  shared.Open();
  EXPECT_EQ(shared.RecordCount(), 1);
}

TEST_F(DataSourceTest, FieldValuesAndDisplayTexts) {
  Load(
      "<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT * FROM CUSTOMERS ORDER BY ID\"/>"
      "<TqbxIBXQuery Name=\"Cur\" BCDToCurrency=\"True\" SQL.Text=\"SELECT AMOUNT, CAST('13:45:30' "
      "AS TIME) AS T, "
      "CAST(12.125 AS NUMERIC(18,6)) AS R, CAST(7 AS SMALLINT) AS S FROM CUSTOMERS WHERE ID = "
      "1\"/>",
      {"Q", "Cur"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  TqbxIBXQuery& q = Query(u"Q");
  EXPECT_EQ(q.DisplayText(u"NAME"), u"Q.\"NAME\"");  // not open yet: the reference itself
  report_.DataSets().Initialize(&report_);
  q.First();

  const Variant amount = q.Value(u"amount");
  EXPECT_EQ(amount.Kind(), VarKind::Double);
  EXPECT_DOUBLE_EQ(amount.DoubleValue(), 1234.5);
  EXPECT_EQ(q.DisplayText(u"AMOUNT"), u"1234,5");
  EXPECT_EQ(q.Value(u"BIG").Kind(), VarKind::Int64);
  EXPECT_EQ(q.Value(u"SEEN").Kind(), VarKind::Date);
  EXPECT_EQ(q.DisplayText(u"BORN"), u"09.12.2026");
  EXPECT_EQ(q.DisplayText(u"SEEN"), u"09.12.2026 13:45:30");
  EXPECT_EQ(q.DisplayText(u"FLAG"), u"True");
  EXPECT_EQ(q.DisplayText(u"Name"), u"Иванов");
  EXPECT_EQ(q.Value(u"NOTE").StringValue(), u"Первая строка");
  EXPECT_EQ(q.DisplayText(u"NOTE"), u"(MEMO)");
  EXPECT_EQ(q.DisplayText(u"BIN"), u"(BLOB)");
  EXPECT_TRUE(q.IsBlobField(u"NOTE"));
  EXPECT_FALSE(q.IsBlobField(u"NAME"));
  EXPECT_EQ(q.BlobText(u"NOTE"), u"Первая строка");
  EXPECT_EQ(q.FieldType(u"NAME"), fftString);
  EXPECT_EQ(q.FieldType(u"NOTE"), fftString);
  EXPECT_EQ(q.FieldType(u"FLAG"), fftBoolean);
  EXPECT_EQ(q.FieldType(u"BORN"), fftDateTime);
  EXPECT_EQ(q.FieldType(u"AMOUNT"), fftNumeric);
  EXPECT_EQ(q.FieldType(u"NOPE"), fftNumeric);
  EXPECT_EQ(q.DisplayWidth(u"NAME"), 40);
  EXPECT_EQ(q.DisplayWidth(u"NOPE"), 10);

  q.Next();  // a row of nulls
  EXPECT_TRUE(q.Value(u"AMOUNT").IsNull());
  EXPECT_TRUE(q.Value(u"NOTE").IsNull());
  EXPECT_EQ(q.DisplayText(u"AMOUNT"), u"");
  EXPECT_EQ(q.DisplayText(u"NOTE"), u"");
  EXPECT_EQ(q.BlobText(u"NOTE"), u"");

  TqbxIBXQuery& cur = Query(u"Cur");
  cur.First();
  EXPECT_EQ(cur.Value(u"AMOUNT").Kind(), VarKind::Currency);
  EXPECT_EQ(cur.DisplayText(u"T"), u"13:45:30");
  EXPECT_EQ(cur.FieldType(u"T"), fftDateTime);
  EXPECT_EQ(cur.Value(u"R").Kind(), VarKind::Currency);  // arbitrary precision, BCDToCurrency
  EXPECT_EQ(cur.DisplayText(u"R"), u"12,125");
  EXPECT_EQ(cur.Value(u"S").Kind(), VarKind::SmallInt);
  EXPECT_EQ(cur.DisplayWidth(u"S"), 6);
  EXPECT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, DataMemosShowFieldsOfTheCurrentRecord) {
  Load(
      "<TqbxIBXQuery Name=\"Q\" UserName=\"People\" SQL.Text=\"SELECT NAME, NOTE FROM CUSTOMERS "
      "ORDER BY ID\"/>"
      "</TqbxDataPage><TqbxReportPage Name=\"Page1\"><TqbxMasterData Name=\"Band\" "
      "DataSetName=\"People\">"
      "<TqbxMemoView Name=\"Name\" DataSetName=\"People\" DataField=\"NAME\"/>"
      "<TqbxMemoView Name=\"Note\" DataSet=\"Q\" "
      "DataField=\"NOTE\"/></TqbxMasterData></TqbxReportPage>"
      "<TqbxDataPage Name=\"More\">",
      {"Q"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  auto* name = dynamic_cast<TqbxMemoView*>(report_.FindObject(u"Name"));
  auto* note = dynamic_cast<TqbxMemoView*>(report_.FindObject(u"Note"));
  auto* band = dynamic_cast<TqbxDataBand*>(report_.FindObject(u"Band"));
  ASSERT_TRUE(name && note && band);
  EXPECT_EQ(band->DataSet(), &Query(u"Q"));
  EXPECT_EQ(name->DataSet(), &Query(u"Q"));
  EXPECT_EQ(note->DataSetName(), u"People");
  report_.DataSets().Initialize(&report_);
  Query(u"Q").First();
  for (TqbxMemoView* memo : {name, note}) {
    memo->BeforePrint();
    memo->GetData();
  }
  EXPECT_EQ(name->Text(), u"Иванов");
  EXPECT_EQ(note->Text(), u"Первая строка");
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, FieldAliasesRenameAndHideFields) {
  Load(
      "<TqbxIBXQuery Name=\"Q\" UserName=\"People\" "
      "FieldAliases.Text=\"-ID=ID&#13;&#10;NAME=Surname\" "
      "SQL.Text=\"SELECT ID, NAME FROM CUSTOMERS ORDER BY ID\"/>",
      {"Q"});
  TqbxIBXQuery& q = Query(u"Q");
  std::vector<String> fields;
  q.GetFieldList(fields);
  EXPECT_EQ(fields, (std::vector<String>{u"Surname"}));
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(q, u"surname"), (std::vector<String>{u"Иванов", u"Петров", u"Сидоров"}));
  EXPECT_TRUE(report_.Errors.Empty());
  q.First();
  EXPECT_TRUE(q.Value(u"NAME").IsNull());
  EXPECT_EQ(q.DisplayText(u"ID"), u"Поле не найдено: People.\"ID\"");
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, UnknownFieldsAreReportedOnceAndGiveNull) {
  Load("<TqbxIBXQuery Name=\"Q\" UserName=\"Nums\" SQL.Text=\"SELECT N FROM NUMS\"/>", {"Q"});
  TqbxIBXQuery& q = Query(u"Q");
  report_.DataSets().Initialize(&report_);
  q.First();
  EXPECT_TRUE(q.Value(u"NOPE").IsNull());
  EXPECT_TRUE(q.Value(u"NOPE").IsNull());
  EXPECT_EQ(report_.Errors.Items(), (std::vector<String>{u"Q: Поле не найдено: Nums.\"NOPE\""}));
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, BadSqlFailsWithClearErrors) {
  Load(
      "<TqbxIBXQuery Name=\"Syntax\" SQL.Text=\"SELEC N FROM NUMS\"/>"
      "<TqbxIBXQuery Name=\"Literal\" SQL.Text=\"SELECT 'open FROM NUMS\"/>"
      "<TqbxIBXQuery Name=\"Table\" SQL.Text=\"SELECT * FROM NO_SUCH_TABLE\"/>"
      "<TqbxIBXQuery Name=\"Delete\" SQL.Text=\"DELETE FROM NUMS\"/>"
      "<TqbxIBXQuery Name=\"Empty\"/>"
      "<TqbxIBXQuery Name=\"Hostile\" SQL.Text=\"SELECT N FROM NUMS; DROP TABLE NUMS\"/>",
      {"Syntax", "Literal", "Table", "Delete", "Empty", "Hostile"});
  report_.DataSets().Initialize(&report_);
  EXPECT_NE(ErrorMessage([&] { Query(u"Syntax").First(); }).find(u"Token unknown"), String::npos);
  EXPECT_EQ(ErrorMessage([&] { Query(u"Literal").First(); }),
            u"SQL Parse Error:\r\n\r\nEOF in string detected");
  EXPECT_NE(ErrorMessage([&] { Query(u"Table").First(); }).find(u"NO_SUCH_TABLE"), String::npos);
  EXPECT_EQ(ErrorMessage([&] { Query(u"Delete").First(); }),
            u"Cannot \"open\" a non-select statement. Use ExecQuery");
  EXPECT_EQ(ErrorMessage([&] { Query(u"Empty").Eof(); }), u"Empty query");
  EXPECT_NE(ErrorMessage([&] { Query(u"Hostile").First(); }), u"<no error>");
  // The failed data sets stay closed and usable.
  EXPECT_FALSE(Query(u"Syntax").Active());
  Query(u"Syntax").SQL()->SetText(u"SELECT N FROM NUMS WHERE N = 4");
  EXPECT_EQ(Collect(Query(u"Syntax"), u"N"), (std::vector<String>{u"4"}));
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, QueriesWithoutAConnectionSayWhy) {
  registry_.SetDefaultDatabase(nullptr);
  Load("<TqbxIBXQuery Name=\"Q\" SQL.Text=\"SELECT N FROM NUMS\"/>", {"Q"});
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(ErrorMessage([&] { Query(u"Q").First(); }), u"Database not assigned");
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, TemplateTableReadsByNameAndFollowsItsMaster) {
  Load(
      "<TqbxIBXQuery Name=\"Customers\" SQL.Text=\"SELECT ID AS CID FROM CUSTOMERS ORDER BY ID\"/>"
      "<TqbxIBXTable Name=\"Orders\" TableName=\"ORDERS\" Master=\"Customers\" "
      "MasterFields=\"CUSTOMER_ID=CID\" IndexFieldNames=\"ID\"/>",
      {"Customers", "Orders"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  auto* orders = dynamic_cast<TqbxIBXTable*>(report_.FindObject(u"Orders"));
  ASSERT_NE(orders, nullptr);
  report_.DataSets().Initialize(&report_);
  TqbxIBXQuery& customers = Query(u"Customers");
  customers.First();
  EXPECT_EQ(Collect(*orders, u"TITLE"), (std::vector<String>{u"a1", u"a2"}));
  customers.Next();
  customers.Next();
  EXPECT_EQ(Collect(*orders, u"TITLE"), (std::vector<String>{u"c1"}));
  report_.DataSets().Finalize();

  orders->TableName = u"ORDERS\" WHERE 1=1; --";
  report_.DataSets().Initialize(&report_);
  EXPECT_NE(ErrorMessage([&] { orders->First(); }), u"<no error>");
  report_.DataSets().Finalize();
}

TEST_F(DataSourceTest, TemplateDatabaseComponentServesItsQueries) {
  const std::string params = "user_name=SYSDBA&#13;&#10;password=plovertin&#13;&#10;lc_ctype=UTF8";
  Load("<TqbxIBXDatabase Name=\"Db\" LoginPrompt=\"False\" DatabaseName=\"" + path_ +
           "\" Params.Text=\"" + params +
           "\" Connected=\"True\"/>"
           "<TqbxIBXQuery Name=\"Q\" Database=\"Db\" SQL.Text=\"SELECT COUNT(*) AS C FROM NUMS\"/>",
       {"Q"});
  ASSERT_TRUE(report_.Errors.Empty()) << StringToUtf8(report_.Errors.Text());
  auto* database = dynamic_cast<TqbxIBXDatabase*>(report_.FindObject(u"Db"));
  ASSERT_NE(database, nullptr);
  EXPECT_TRUE(database->Connected());
  TqbxIBXQuery& q = Query(u"Q");
  EXPECT_EQ(q.GetQuery().Database(), &database->GetConnection());
  report_.DataSets().Initialize(&report_);
  EXPECT_EQ(Collect(q, u"C"), (std::vector<String>{u"10"}));
  report_.DataSets().Finalize();
  // Destroying the database component leaves its queries on the default database.
  report_.Clear();
}

TEST_F(DataSourceTest, RegistryDefaultDatabaseFollowsTheConnectionsLife) {
  EXPECT_EQ(TqbxIBXComponents::Current(), &registry_);
  {
    TqbxIBXComponents inner;
    EXPECT_EQ(TqbxIBXComponents::Current(), &inner);
    auto connection = std::make_unique<Connection>();
    inner.SetDefaultDatabase(connection.get());
    connection.reset();
    EXPECT_EQ(inner.DefaultDatabase(), nullptr);
  }
  EXPECT_EQ(TqbxIBXComponents::Current(), &registry_);
  EXPECT_EQ(registry_.DefaultDatabase(), &db_);

  // A registry destroyed out of order leaves the chain intact.
  auto middle = std::make_unique<TqbxIBXComponents>();
  auto top = std::make_unique<TqbxIBXComponents>();
  middle.reset();
  EXPECT_EQ(TqbxIBXComponents::Current(), top.get());
  top.reset();
  EXPECT_EQ(TqbxIBXComponents::Current(), &registry_);
}

}  // namespace
}  // namespace zavrik::data
