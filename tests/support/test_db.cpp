#include "support/test_db.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "data/connection.h"
#include "data/database_admin.h"
#include "data/fb_api.h"
#include "data/query.h"
#include "data/transaction.h"

namespace zavrik::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zavrik-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  chmod(path_.c_str(), 0777);  // the server runs as its own user
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

namespace {

struct Session : data::AdminSession {
  explicit Session(const std::string& name)
      : AdminSession(Utf8ToString(name), u"SYSDBA", Utf8ToString(kPassword)) {}
};

}  // namespace

void CreateDatabase(const std::string& name, const std::vector<std::string>& statements) {
  data::CreateDatabase(Utf8ToString(name), u"SYSDBA", u"plovertin");
  if (statements.empty()) return;
  Session s(name);
  for (const std::string& sql : statements) {
    data::ExecuteImmediate(s.db, s.tr, Utf8ToString(sql));
    s.tr.Commit();  // DDL must be committed before later statements use it
    s.tr.StartTransaction();
  }
  s.tr.Commit();
}

void CreateReportDatabase(const std::string& name,
                          const std::vector<std::pair<std::string, std::string>>& templates,
                          const std::vector<std::string>& statements) {
  std::vector<std::string> all{"CREATE TABLE IDE_REPORTS (NAME VARCHAR(255) NOT NULL PRIMARY KEY, "
                               "DATA BLOB SUB_TYPE 0)"};
  all.insert(all.end(), statements.begin(), statements.end());
  CreateDatabase(name, all);
  Session s(name);
  for (const auto& [report, bytes] : templates) {
    data::Query q(&s.db, &s.tr);
    q.SetSQL(u"INSERT INTO IDE_REPORTS (NAME, DATA) VALUES (:name, :data)");
    q.ParamByName(u"name").SetAsString(Utf8ToString(report));
    q.ParamByName(u"data").SetAsBytes(bytes);
    q.ExecQuery();
  }
  s.tr.Commit();
}

namespace {

// Stops the embedded engine's threads before the process ends, so leak checking sees a quiet
// process.
class FirebirdEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { data::ShutdownFbClient(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FirebirdEnvironment);

}  // namespace

bool ServerTestsEnabled() {
  const char* v = std::getenv("ZAVRIK_SERVER");
  return v && std::string(v) == "1";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

void ConnectAsTheProgram(data::Connection& db, data::Transaction& tr, const std::string& path) {
  db.DatabaseName = Utf8ToString(path);
  db.Params = {u"user_name=SYSDBA", u"password=plovertin", u"lc_ctype=UTF8"};
  db.Connect();
  tr.SetDefaultDatabase(&db);
  tr.Params = {u"read", u"read_committed", u"rec_version", u"nowait"};
  tr.StartTransaction();
}

}  // namespace zavrik::test
