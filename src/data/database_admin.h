// Creating databases and running statements without results: used by the tools and the tests.
#pragma once

#include "core/ustring.h"
#include "data/connection.h"
#include "data/transaction.h"

namespace zavrik::data {

// A connection (UTF8) with a started read-write transaction, for administrative work.
struct AdminSession {
  AdminSession(StringView database, StringView user, StringView password);
  Connection db;
  Transaction tr;
};

// Creates a database file (UTF8 default character set, dialect 3) and detaches from it.
void CreateDatabase(StringView path, StringView user, StringView password);

// Runs one statement that returns no rows.
void ExecuteImmediate(Connection& db, Transaction& tr, StringView sql);

}  // namespace zavrik::data
