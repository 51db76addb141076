// The program as a process under hostile input and conditions: the ID argument is data, output
// failures are never reported as success, memory and time limits end the run with one line,
// reproducible output, and parallel runs on one database.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/e2e_checks.h"
#include "e2e/process.h"
#include "pdf/pdf_document.h"
#include "support/test_db.h"

extern char** environ;

namespace zavrik::test {
namespace {

std::string Report(const std::string& script, const std::string& memos) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
         "<TqbxReport ScriptLanguage=\"PascalScript\" ScriptText.Text=\"" + script + "\">"
         "<TqbxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\">"
         "<TqbxReportTitle Name=\"Title1\" Height=\"200\" Width=\"700\">" + memos +
         "</TqbxReportTitle></TqbxReportPage></TqbxReport>";
}

std::string Memo(const std::string& name, int top, const std::string& text) {
  return "<TqbxMemoView Name=\"" + name + "\" Top=\"" + std::to_string(top) +
         "\" Width=\"700\" Height=\"20\" Text=\"" + text + "\"/>";
}

const std::string kEmptyScript = "begin&#13;&#10;end.";

class Reliability : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("reliability.fdb");
    CreateReportDatabase(
        db_,
        {{"id", Report(kEmptyScript, Memo("A", 0, "ID=[ID]") + Memo("B", 30, "PLUS=[&lt;ID&gt; + 1]"))},
         {"id_text", Report(kEmptyScript, Memo("A", 0, "ID=[ID]"))},
         {"plain", Report(kEmptyScript, Memo("A", 0, "Строка один") + Memo("B", 30, "[1 + 2]"))},
         {"doubling", Report("var s: String; i: Integer;&#13;&#10;begin&#13;&#10;s := 'x';&#13;&#10;"
                             "for i := 1 to 40 do s := s + s;&#13;&#10;end.",
                             Memo("A", 0, "x"))},
         {"endless", Report("begin&#13;&#10;while True do begin end;&#13;&#10;end.", Memo("A", 0, "x"))}});
  }
  static void TearDownTestSuite() { delete dir_; }

  // Runs zavrik through the shell: `prefix` comes before `exec` (variables, cd), `suffix` after
  // the arguments (redirections).
  static ProcessResult Zavrik(const std::vector<std::string>& args, const std::string& prefix = "",
                              const std::string& suffix = "") {
    return RunShell(prefix + " exec \"$0\" \"$@\" " + suffix, ZAVRIK_BINARY, args);
  }

  static TempDir* dir_;
  static std::string db_;
};

TempDir* Reliability::dir_ = nullptr;
std::string Reliability::db_;

// --- the ID argument is data

TEST_F(Reliability, AnIdThatLooksLikeCodeIsPrintedNotRun) {
  TempDir cwd;
  const std::string id = "TFileStream.Create('x.out', 65280)";
  const ProcessResult r = Zavrik({db_, "id_text", id}, "cd '" + cwd.Path() + "' &&");
  EXPECT_EQ(r.err, "");
  EXPECT_NE(PdfText(PdfOf(r)).find("ID=" + id), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(cwd.File("x.out")));
  EXPECT_TRUE(std::filesystem::is_empty(cwd.Path()));
}

TEST_F(Reliability, NumericIdsAreNumbers) {
  const std::string text = PdfText(PdfOf(Zavrik({db_, "id", "00123"})));
  EXPECT_NE(text.find("ID=123"), std::string::npos) << text;
  EXPECT_NE(text.find("PLUS=124"), std::string::npos) << text;
  const std::string negative = PdfText(PdfOf(Zavrik({db_, "id", "-7"})));
  EXPECT_NE(negative.find("PLUS=-6"), std::string::npos) << negative;
}

TEST_F(Reliability, QuotedIdIsTheQuotedText) {
  const ProcessResult r = Zavrik({db_, "id_text", "'A-1'"});
  EXPECT_NE(PdfText(PdfOf(r)).find("ID=A-1"), std::string::npos);
  // Unquoted, A-1 is the text itself, not an expression.
  const ProcessResult plain = Zavrik({db_, "id_text", "A-1"});
  EXPECT_EQ(plain.err, "");
  EXPECT_NE(PdfText(PdfOf(plain)).find("ID=A-1"), std::string::npos);
}

// --- output failures

TEST_F(Reliability, FullDiskIsAFailure) {
  const ProcessResult r = Zavrik({db_, "plain", "1"}, "", "> /dev/full");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Error: cannot write the report to standard output: No space left on device\n");
}

TEST_F(Reliability, ClosedStandardOutputIsAFailure) {
  const ProcessResult r = Zavrik({db_, "plain", "1"}, "", ">&-");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Error: standard output is closed\n");
}

TEST_F(Reliability, ClosedPipeIsNeverSuccess) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);  // nobody will read
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  const std::string program = ZAVRIK_BINARY, report = "plain", id = "1";
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(db_.c_str()),
                          const_cast<char*>(report.c_str()), const_cast<char*>(id.c_str()), nullptr};
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  // Killed by SIGPIPE, as Unix tools are, or exit code 1 where SIGPIPE is ignored.
  EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  if (WIFSIGNALED(status)) {
    EXPECT_EQ(WTERMSIG(status), SIGPIPE);
  }
}

// --- limits

TEST_F(Reliability, MemoryLimitEndsARunawayScript) {
  const ProcessResult r = Zavrik({db_, "doubling", "1"}, "ZAVRIK_MEMORY_LIMIT=256M");
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Error: Out of memory\r\n");
  EXPECT_LT(r.seconds, 60);
}

TEST_F(Reliability, TimeLimitEndsAnEndlessScript) {
  const ProcessResult r = Zavrik({db_, "endless", "1"}, "ZAVRIK_TIME_LIMIT=2");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Error: Time limit exceeded\r\n");
  EXPECT_GE(r.seconds, 2);
  EXPECT_LT(r.seconds, 30);
}

TEST_F(Reliability, LimitsLeaveAnOrdinaryRunAlone) {
  PdfOf(Zavrik({db_, "plain", "1"}, "ZAVRIK_TIME_LIMIT=300 ZAVRIK_MEMORY_LIMIT=1G"));
  PdfOf(Zavrik({db_, "plain", "1"}, "ZAVRIK_MEMORY_LIMIT=0"));
}

TEST_F(Reliability, UnusableLimitValuesAreNamed) {
  EXPECT_EQ(Zavrik({db_, "plain", "1"}, "ZAVRIK_MEMORY_LIMIT=lots").out,
            "Error: ZAVRIK_MEMORY_LIMIT: 'lots' is not a size (bytes, or a number with K, M or G)\r\n");
  EXPECT_EQ(Zavrik({db_, "plain", "1"}, "ZAVRIK_TIME_LIMIT=-1").out,
            "Error: ZAVRIK_TIME_LIMIT: '-1' is not a number of seconds\r\n");
  EXPECT_EQ(Zavrik({db_, "plain", "1"}, "SOURCE_DATE_EPOCH=yesterday").out,
            "Error: SOURCE_DATE_EPOCH: 'yesterday' is not a number of seconds since 1970\r\n");
}

// --- reproducible output

std::string FileId(const std::string& pdf) {
  std::smatch m;
  const std::regex id("/ID \\[<([0-9a-f]{32})><([0-9a-f]{32})>\\]");
  if (!std::regex_search(pdf, m, id) || m[1] != m[2]) return "";
  return m[1];
}

TEST_F(Reliability, SourceDateEpochMakesRunsIdentical) {
  const ProcessResult first = Zavrik({db_, "plain", "1"}, "SOURCE_DATE_EPOCH=1700000000");
  const ProcessResult second = Zavrik({db_, "plain", "1"}, "SOURCE_DATE_EPOCH=1700000000");
  const std::string pdf = PdfOf(first);
  EXPECT_EQ(first.out, second.out);
  EXPECT_NE(pdf.find("/CreationDate (D:20231114221320-00'00')"), std::string::npos);
  EXPECT_NE(pdf.find("/ModDate (D:20231114221320-00'00')"), std::string::npos);
  EXPECT_EQ(FileId(pdf), Md5Hex(pdf.substr(0, pdf.find("trailer\r\n"))));
  // Without it, every run has its own identifier.
  EXPECT_NE(FileId(PdfOf(Zavrik({db_, "plain", "1"}))), FileId(PdfOf(Zavrik({db_, "plain", "1"}))));
}

// --- parallel runs on one database

// The document without its identifier and dates.
std::string Normalised(const std::string& pdf) {
  std::string text = std::regex_replace(pdf, std::regex("\\(D:[0-9]{14}[^)]*\\)"), "(D:)");
  return std::regex_replace(text, std::regex("/ID \\[<[0-9a-f]{32}><[0-9a-f]{32}>\\]"), "/ID");
}

void ExpectParallelRunsAgree(const std::string& database) {
  TempDir out;
  const std::string script =
      "for n in 1 2 3 4 5 6 7 8; do (\"$0\" \"$1\" \"$2\" \"$3\" > \"$4/out.$n\" 2> \"$4/err.$n\";"
      " echo $? > \"$4/rc.$n\") & done; wait";
  const ProcessResult all = RunShell(script, ZAVRIK_BINARY, {database, "plain", "1", out.Path()});
  ASSERT_EQ(all.exit_code, 0);
  std::string first;
  for (int n = 1; n <= 8; ++n) {
    const auto read = [&](const std::string& name) {
      std::ifstream in(out.File(name + "." + std::to_string(n)), std::ios::binary);
      std::stringstream bytes;
      bytes << in.rdbuf();
      return bytes.str();
    };
    ProcessResult r;
    r.exit_code = std::stoi(read("rc"));
    r.out = read("out");
    r.err = read("err");
    const std::string pdf = Normalised(PdfOf(r));
    if (n == 1) first = pdf;
    EXPECT_EQ(pdf, first) << "run " << n;
  }
}

TEST_F(Reliability, EightParallelEmbeddedRunsAgree) { ExpectParallelRunsAgree(db_); }

TEST_F(Reliability, EightParallelServerRunsAgree) {
  if (!ServerTestsEnabled()) GTEST_SKIP() << "set ZAVRIK_SERVER=1 with a server running";
  const std::string name = "localhost:" + dir_->File("served.fdb");
  CreateReportDatabase(name, {{"plain", Report(kEmptyScript, Memo("A", 0, "Строка один"))}});
  ExpectParallelRunsAgree(name);
}

}  // namespace
}  // namespace zavrik::test
