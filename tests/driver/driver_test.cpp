// The driver's run against real report databases, with its output captured.
#include "driver/driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "core/variant_convert.h"
#include "driver/data_module.h"
#include "driver/report_pipeline.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_strings.h"
#include "script/qs_iinterpreter.h"
#include "support/pdf_tools.h"
#include "support/test_db.h"
#include "support/test_helpers.h"

namespace zavrik::driver {
namespace {

struct Outcome {
  int code;
  std::string out;
};

class DriverTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    db_ = dir_->File("reports.fdb");
    test::CreateReportDatabase(db_, {{"invoice", InvoiceTemplate()},
                                     {"r57", std::string(57, 'a')},
                                     {"empty", ""},
                                     {"Счёт 'A': \"B\"", "x"}});
  }
  static void TearDownTestSuite() { delete dir_; }

  static std::string InvoiceTemplate() {
    std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/templates/invoice.xml", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  // The decoded output of a successful run.
  static std::string Pdf(const Outcome& outcome) {
    EXPECT_EQ(outcome.code, 0) << outcome.out;
    EXPECT_EQ(outcome.out.substr(outcome.out.size() - 2), "\r\n");
    return test::DecodeBase64(outcome.out);
  }

  static Outcome RunWith(const std::vector<std::string>& args) {
    Tdm dm;
    std::ostringstream out;
    const int code = driver::Run(args, dm, out, std::cerr);
    return {code, out.str()};
  }

  static test::TempDir* dir_;
  static std::string db_;
};

test::TempDir* DriverTest::dir_ = nullptr;
std::string DriverTest::db_;

TEST_F(DriverTest, TemplateBecomesAPdfOfThePreparedPages) {
  const std::string pdf = Pdf(RunWith({db_, "invoice", "1"}));
  EXPECT_EQ(pdf.rfind("%PDF-1.7\r\n", 0), 0u);
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
  EXPECT_EQ(test::QpdfCheck(pdf), 0);
  EXPECT_EQ(test::PdfPageCount(pdf), 1);  // title, header, three rows and summary fit on one page
}

TEST_F(DriverTest, ThePdfHasOnePagePerPreparedPage) {
  // The invoice as it is (one page) and with 120 rows, which flow over several pages.
  for (const int rows : {3, 120}) {
    std::string invoice = InvoiceTemplate();
    const std::string row_count = "RowCount=\"3\"";
    ASSERT_NE(invoice.find(row_count), std::string::npos);
    invoice.replace(invoice.find(row_count), row_count.size(), "RowCount=\"" + std::to_string(rows) + "\"");
    Tdm dm;
    auto report = CreateReport();
    LoadReport(*report, invoice, dm, u"1");
    const std::string pdf = PrepareAndExport(*report);
    ASSERT_NE(report->PreviewPages(), nullptr);
    const int pages = report->PreviewPages()->Count();
    EXPECT_EQ(pages > 1, rows > 3) << pages;
    EXPECT_EQ(test::QpdfCheck(pdf), 0);
    EXPECT_EQ(test::PdfPageCount(pdf), pages) << rows;
  }
}

TEST_F(DriverTest, UnreadableTemplatesStillGiveACompletePdf) {
  // Load errors go to the error handler (standard error); the run goes on with what was loaded.
  for (const char* name : {"empty", "r57"}) {
    const std::string pdf = Pdf(RunWith({db_, name, "1"}));
    EXPECT_EQ(test::QpdfCheck(pdf), 0) << name;
  }
}

TEST_F(DriverTest, LoadingSetsTheIdVariableAndTheScriptExtensions) {
  Tdm dm;
  auto report = CreateReport();
  LoadReport(*report, InvoiceTemplate(), dm, u"00123");
  const Variant id = report->Variables().Get(u"ID");
  ASSERT_TRUE(id.IsString());
  EXPECT_EQ(VarToString(id), u"00123");
  const int count = report->Variables().Count();
  LoadReport(*report, InvoiceTemplate(), dm, u"7");
  EXPECT_EQ(report->Variables().Count(), count);  // replaced, not added again
  EXPECT_EQ(VarToString(report->Variables().Get(u"ID")), u"7");
  EXPECT_NE(qsGlobalUnit().FindLocal(u"MoneyToString"), nullptr);
  EXPECT_NE(qsGlobalUnit().FindLocal(u"Dm"), nullptr);
  EXPECT_NE(report->PreviewPages(), nullptr);
}

TEST_F(DriverTest, NamesWithQuotesAndCyrillicAreParametersNotSql) {
  EXPECT_EQ(Pdf(RunWith({db_, "Счёт 'A': \"B\"", "1"})).rfind("%PDF-", 0), 0u);
  const Outcome r = RunWith({db_, "' OR 1=1 --", "1"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "Report named ' OR 1=1 -- not found.\r\n");
}

TEST_F(DriverTest, NotFoundLineKeepsTheNameAsPassed) {
  const Outcome r = RunWith({db_, "  r57 ", "1"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "Report named   r57  not found.\r\n");
  EXPECT_EQ(RunWith({db_, "", "1"}).out, "Report named  not found.\r\n");
}

TEST_F(DriverTest, FewerThanThreeArgumentsGiveTheUsageLine) {
  Tdm dm;
  std::ostringstream out;
  EXPECT_EQ(driver::Run({db_, "r57"}, dm, out, std::cerr), 1);
  EXPECT_EQ(out.str(), "Usage: zavrik <DatabasePath> <ReportName> <ID>\r\n");
  EXPECT_FALSE(dm.Base.Connected());
}

TEST_F(DriverTest, DataModuleHoldsTheFixedParameters) {
  Tdm dm;
  std::ostringstream out;
  driver::Run({db_, "invoice", "1"}, dm, out, std::cerr);
  EXPECT_EQ(dm.Base.Params.Text(), u"user_name=SYSDBA\r\npassword=plovertin\r\nlc_ctype=UTF8\r\n");
  EXPECT_EQ(dm.TR.Params.Text(), u"read\r\nread_committed\r\nrec_version\r\nnowait\r\n");
  EXPECT_EQ(dm.qbxIBXComponents1.DefaultDatabase(), &dm.Base);
}

// Once the report is prepared, the data module's transaction is rolled back and its connection
// detached on another thread, which then calls the program's hook; a run that fails before has
// nothing released.
TEST_F(DriverTest, PreparedRunReleasesTheDatabaseBesideTheExport) {
  static std::atomic<int> calls = 0;
  static std::thread::id caller;
  RunHooks hooks;
  hooks.data_released = [] {
    ++calls;
    caller = std::this_thread::get_id();
  };
  Tdm dm;
  std::ostringstream out;
  EXPECT_EQ(driver::Run({db_, "invoice", "1"}, dm, out, std::cerr, hooks), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_NE(caller, std::this_thread::get_id());
  EXPECT_FALSE(dm.TR.Active());
  EXPECT_FALSE(dm.Base.Connected());
  EXPECT_GT(Pdf({0, out.str()}).size(), 1000u);

  calls = 0;
  Tdm not_found;
  std::ostringstream line;
  EXPECT_EQ(driver::Run({db_, "nothing", "1"}, not_found, line, std::cerr, hooks), 1);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(not_found.Base.Connected());
}

TEST_F(DriverTest, TemplateQueriesWithoutDatabaseRunOnTheDataModulesConnection) {
  Tdm dm;
  std::ostringstream out;
  driver::Run({db_, "r57", "1"}, dm, out, std::cerr);
  EXPECT_FALSE(dm.Base.Connected());  // released once the report was prepared
  dm.Connect(Utf8ToString(db_));
  EXPECT_EQ(data::TqbxIBXComponents::Current(), &dm.qbxIBXComponents1);
  auto* created = FindClass(u"TqbxIBXQuery");  // registered by the data module's registry
  ASSERT_NE(created, nullptr);
  std::unique_ptr<Object> object = created->Create();
  auto& query = dynamic_cast<data::TqbxIBXQuery&>(*object);
  query.SQL()->SetText(u"SELECT COUNT(*) AS C FROM IDE_REPORTS");
  query.Initialize();
  EXPECT_EQ(query.GetQuery().Database(), &dm.Base);
  EXPECT_EQ(query.GetQuery().GetTransaction(), &dm.TR);
  query.First();
  EXPECT_FALSE(query.Eof());
  EXPECT_EQ(query.Value(u"C").Kind(), VarKind::Int64);
  query.Finalize();
  EXPECT_FALSE(query.Active());
}

TEST_F(DriverTest, FailureAfterConnectingDisconnects) {
  // A name longer than the column fails in the server; the handler disconnects before writing.
  Tdm dm;
  std::ostringstream out;
  EXPECT_EQ(driver::Run({db_, std::string(4000, 'n'), "1"}, dm, out, std::cerr), 1);
  EXPECT_EQ(out.str().rfind("Error: ", 0), 0u) << out.str();
  EXPECT_EQ(out.str().substr(out.str().size() - 2), "\r\n");
  EXPECT_FALSE(dm.Base.Connected());
}

TEST_F(DriverTest, MissingDatabaseIsAnError) {
  const std::string missing = dir_->File("none.fdb");
  const Outcome r = RunWith({missing, "r57", "1"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "Error: I/O error during \"open\" operation for file \"" + missing +
                       "\"\r\nError while trying to open file\r\nNo such file or directory\r\n");
}

TEST_F(DriverTest, DirectoryOrGarbageFileIsAnError) {
  const std::string garbage = dir_->File("garbage.fdb");
  test::WriteFile(garbage, std::string(50000, 'z'));
  for (const std::string& path : {dir_->Path(), garbage}) {
    const Outcome r = RunWith({path, "r57", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out.rfind("Error: ", 0), 0u) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");
  }
}

}  // namespace
}  // namespace zavrik::driver
