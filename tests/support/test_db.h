// Real Firebird databases for tests, created in temporary folders.
#pragma once

#include <string>
#include <vector>

#include "core/ustring.h"
#include "data/connection.h"
#include "data/transaction.h"

namespace zavrik::test {

inline constexpr const char* kPassword = "plovertin";

// A temporary folder, writable by the Firebird server's user, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Creates a database (embedded for a plain path, through the server for "localhost:/path") and
// runs the statements in one transaction.
void CreateDatabase(const std::string& name, const std::vector<std::string>& statements = {});

// Creates a database with the IDE_REPORTS table holding the given templates, after running the
// statements (tables and rows that the templates read).
void CreateReportDatabase(const std::string& name,
                          const std::vector<std::pair<std::string, std::string>>& templates,
                          const std::vector<std::string>& statements = {});

// Attaches `db` to `path` as the program does (SYSDBA, UTF8) and starts `tr` on it with the
// program's read-only, read-committed parameters.
void ConnectAsTheProgram(data::Connection& db, data::Transaction& tr, const std::string& path);

// Whether the tests that need a Firebird server on localhost should run. They run when
// ZAVRIK_SERVER=1 (the test script starts a server); otherwise they are skipped.
bool ServerTestsEnabled();

// Writes bytes to a file.
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace zavrik::test
