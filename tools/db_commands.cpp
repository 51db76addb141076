// zavrik-tool's database commands: create-db, sql, put, get (SYSDBA / plovertin, UTF8).
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "commands.h"
#include "core/error.h"
#include "data/connection.h"
#include "data/database_admin.h"
#include "data/query.h"
#include "data/transaction.h"

namespace zavrik::tool {
namespace {

constexpr const char16_t* kUser = u"SYSDBA";
constexpr const char16_t* kPassword = u"plovertin";

struct Session : data::AdminSession {
  explicit Session(const std::string& path) : AdminSession(Utf8ToString(path), kUser, kPassword) {}
};

}  // namespace

int CreateDbCommand(const std::string& path) {
  data::CreateDatabase(Utf8ToString(path), kUser, kPassword);
  return 0;
}

static std::string ReadFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("cannot read " + file);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int PutCommand(const std::string& path, const std::string& name, const std::string& file) {
  std::string bytes = ReadFile(file);
  Session s(path);
  data::Query q(&s.db, &s.tr);
  q.SetSQL(u"UPDATE OR INSERT INTO IDE_REPORTS (NAME, DATA) VALUES (:name, :data) MATCHING (NAME)");
  q.ParamByName(u"name").SetAsString(Utf8ToString(name));
  q.ParamByName(u"data").SetAsBytes(std::move(bytes));
  q.ExecQuery();
  s.tr.Commit();
  return 0;
}

int GetCommand(const std::string& path, const std::string& name) {
  Session s(path);
  data::Query q(&s.db, &s.tr);
  q.SetSQL(u"SELECT DATA FROM IDE_REPORTS WHERE NAME = :name");
  q.ParamByName(u"name").SetAsString(Utf8ToString(name));
  q.Open();
  if (q.Eof()) throw Error("no report named " + name);
  std::cout << q.FieldByName(u"DATA").AsBytes();
  return 0;
}

int SqlCommand(const std::string& path, const std::string& file) {
  const String script = Utf8ToString(ReadFile(file));
  Session s(path);
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find(u";\n", start);
    if (end == String::npos) end = script.find(u";\r\n", start);
    if (end == String::npos) end = script.size();
    const String statement = Trim(StringView(script).substr(start, end - start));
    start = end + 1;
    if (statement.empty()) continue;
    if (SameTextAscii(statement, u"COMMIT")) {
      s.tr.Commit();
      s.tr.StartTransaction();
    } else {
      data::ExecuteImmediate(s.db, s.tr, statement);
    }
  }
  s.tr.Commit();
  return 0;
}

}  // namespace zavrik::tool
