// A database connection over the Firebird client: attach, dialect, character set, detach.
#pragma once

#include <ibase.h>

#include <functional>
#include <vector>

#include "core/string_list.h"

namespace zavrik::data {

class Transaction;

class Connection {
 public:
  // Loads the client library (once per process); a missing library raises an Error.
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  String DatabaseName;
  StringList Params;
  bool LoginPrompt = false;

  void Connect();
  // Ends the open transactions with their default action (commit), then detaches.
  void Disconnect();
  // Rolls the open transactions back, as the end of the process would, then detaches.
  void RollbackAndDisconnect();
  bool Connected() const { return handle_ != 0; }
  // Whether any connection of the process is attached.
  static bool AnyAttached();

  int SQLDialect() const { return sql_dialect_; }
  void SetSQLDialect(int dialect) { sql_dialect_ = dialect; }
  const String& CharSetName() const { return charset_; }
  int CodePage() const { return code_page_; }

  // Raises "Cannot perform operation -- DB is not open" when not connected.
  void CheckConnected() const;
  isc_db_handle* Handle() { return &handle_; }

  // Transactions bound to this connection register here so Disconnect can end them.
  void AddTransaction(Transaction* t);
  void RemoveTransaction(Transaction* t);
  // The first transaction bound to this connection, or none.
  Transaction* FirstTransaction() const {
    return transactions_.empty() ? nullptr : transactions_.front();
  }

  // Callbacks run when the connection is destroyed, under a key that removes them again.
  void AddDestroyListener(const void* key, std::function<void()> listener);
  void RemoveDestroyListener(const void* key);

 private:
  int ReadDatabaseDialect();
  void EndTransactionsAndDetach(bool commit);
  // Detaches without raising; for the paths that have a failure of their own or none to report.
  void DetachQuietly();

  isc_db_handle handle_ = 0;
  int sql_dialect_ = 3;
  String charset_ = u"NONE";
  int code_page_ = 1252;
  std::vector<Transaction*> transactions_;
  std::vector<std::pair<const void*, std::function<void()>>> destroy_listeners_;
};

}  // namespace zavrik::data
