#include "data/database_admin.h"

#include "data/charset.h"
#include "data/connection.h"
#include "data/fb_api.h"
#include "data/fb_error.h"
#include "data/transaction.h"

namespace zavrik::data {
namespace {

String Quoted(StringView text) {
  String out = u"'";
  for (char16_t c : text) {
    if (c == u'\'') out += u'\'';
    out += c;
  }
  return out + u"'";
}

}  // namespace

AdminSession::AdminSession(StringView database, StringView user, StringView password) {
  db.DatabaseName = String(database);
  db.Params = {u"user_name=" + String(user), u"password=" + String(password), u"lc_ctype=UTF8"};
  db.Connect();
  tr.SetDefaultDatabase(&db);
  tr.Params = {u"write", u"concurrency", u"wait"};
  tr.StartTransaction();
}

void CreateDatabase(StringView path, StringView user, StringView password) {
  const FbApi& fb = LoadFbApi();
  const String sql = u"CREATE DATABASE " + Quoted(path) + u" USER " + Quoted(user) + u" PASSWORD " +
                     Quoted(password) + u" PAGE_SIZE 16384 DEFAULT CHARACTER SET UTF8";
  const std::string bytes = EncodeSystemText(sql);
  ISC_STATUS_ARRAY status;
  isc_db_handle db = 0;
  isc_tr_handle tr = 0;
  if (fb.dsql_execute_immediate(status, &db, &tr, 0, bytes.c_str(), 3, nullptr))
    RaiseStatus(status);
  fb.detach_database(status, &db);
}

void ExecuteImmediate(Connection& db, Transaction& tr, StringView sql) {
  db.CheckConnected();
  tr.CheckActive();
  const std::string bytes = EncodeCodePage(sql, db.CodePage());
  ISC_STATUS_ARRAY status;
  if (Fb().dsql_execute_immediate(status, db.Handle(), tr.Handle(), 0, bytes.c_str(),
                                  static_cast<unsigned short>(db.SQLDialect()), nullptr))
    RaiseStatus(status);
}

}  // namespace zavrik::data
