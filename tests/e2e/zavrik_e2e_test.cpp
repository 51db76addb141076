// The built zavrik binary, run as a process against real databases.
#include <gtest/gtest.h>

#include "support/test_helpers.h"

#include <fstream>
#include <sstream>

#include "e2e/e2e_checks.h"
#include "e2e/process.h"
#include "support/pdf_tools.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

class ZavrikProcess : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("e2e.fdb");
    big_.resize(20 * 1024 * 1024);
    for (size_t i = 0; i < big_.size(); ++i) big_[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/templates/invoice.xml", std::ios::binary);
    std::stringstream invoice;
    invoice << in.rdbuf();
    invoice_ = invoice.str();
    CreateReportDatabase(db_, {{"hello", invoice_}, {"empty", ""}, {"big", big_}});
  }
  static void TearDownTestSuite() { delete dir_; }

  static ProcessResult Zavrik(const std::vector<std::string>& args) {
    return RunProcess(ZAVRIK_BINARY, args);
  }

  static TempDir* dir_;
  static std::string db_;
  static std::string big_;
  static std::string invoice_;
};

TempDir* ZavrikProcess::dir_ = nullptr;
std::string ZavrikProcess::db_;
std::string ZavrikProcess::big_;
std::string ZavrikProcess::invoice_;

TEST_F(ZavrikProcess, SuccessWritesBase64AndExitsZero) {
  const ProcessResult r = Zavrik({db_, "hello", "42"});
  const std::string pdf = PdfOf(r);
  EXPECT_EQ(pdf.rfind("%PDF-1.7", 0), 0u);
  EXPECT_EQ(PdfPageCount(pdf), 1);  // the invoice's bands fit on one page
  EXPECT_EQ(r.err, "");
}

TEST_F(ZavrikProcess, ArgumentsAfterTheThirdAreIgnored) {
  const ProcessResult r = Zavrik({db_, "hello", "42", "extra", "more"});
  EXPECT_EQ(PdfPageCount(PdfOf(r)), 1);
}

TEST_F(ZavrikProcess, TwoArgumentsGiveTheUsageLine) {
  const ProcessResult r = Zavrik({db_, "hello"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Usage: zavrik <DatabasePath> <ReportName> <ID>\r\n");
  EXPECT_EQ(Zavrik({}).out, "Usage: zavrik <DatabasePath> <ReportName> <ID>\r\n");
}

TEST_F(ZavrikProcess, UnknownReportName) {
  const ProcessResult r = Zavrik({db_, "Накладная: 'x'", "1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Report named Накладная: 'x' not found.\r\n");
}

TEST_F(ZavrikProcess, MissingDatabase) {
  const std::string missing = dir_->File("missing.fdb");
  const ProcessResult r = Zavrik({missing, "hello", "1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Error: I/O error during \"open\" operation for file \"" + missing +
                       "\"\r\nError while trying to open file\r\nNo such file or directory\r\n");
}

TEST_F(ZavrikProcess, EmptyArguments) {
  const ProcessResult r = Zavrik({"", "", ""});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Error: Database name is missing\r\n");
}

TEST_F(ZavrikProcess, UnreachableServer) {
  // Nothing listens on this port.
  const ProcessResult r = Zavrik({"localhost/3059:" + dir_->File("x.fdb"), "hello", "1"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out.rfind("Error: Unable to complete network request to host \"localhost\"", 0), 0u)
      << r.out;
  EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");
  EXPECT_NE(r.out[r.out.size() - 3], '.');
}

TEST_F(ZavrikProcess, EmptyAndLargeTemplates) {
  // Unreadable templates are reported on standard error; a complete PDF still follows.
  for (const char* name : {"empty", "big"}) {
    const ProcessResult r = Zavrik({db_, name, "1"});
    EXPECT_EQ(PdfPageCount(PdfOf(r)), 0) << name;
    EXPECT_EQ(r.err.rfind("Ошибка: Были обнаружены следующие ошибки:", 0), 0u) << name << r.err;
  }
}

TEST_F(ZavrikProcess, ThroughTheServer) {
  if (!ServerTestsEnabled()) GTEST_SKIP() << "set ZAVRIK_SERVER=1 with a server running";
  const std::string name = "localhost:" + dir_->File("served.fdb");
  CreateReportDatabase(name, {{"hello", invoice_}});
  EXPECT_EQ(PdfPageCount(PdfOf(Zavrik({name, "hello", "1"}))), 1);
}

TEST(ZavrikWithoutClient, MissingClientLibraryGoesToStandardError) {
  // A private mount namespace hides the client library behind an empty file (needs root).
  const std::string library = "/usr/lib/x86_64-linux-gnu/libfbclient.so.2";
  const ProcessResult probe = RunProcess("/usr/bin/unshare", {"-m", "true"});
  if (probe.exit_code != 0) GTEST_SKIP() << "cannot create a mount namespace here";
  const ProcessResult r =
      RunProcess("/usr/bin/unshare",
                 {"-m", "sh", "-c",
                  "mount --bind /dev/null \"$(readlink -f " + library + ")\" && exec \"$0\" a b c",
                  ZAVRIK_BINARY});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("libfbclient"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace zavrik::test
