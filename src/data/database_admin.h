// Creating databases and running statements without results: used by the tools and the tests.
#pragma once

#include "core/ustring.h"

namespace zavrik::data {

class Connection;
class Transaction;

// Creates a database file (UTF8 default character set, dialect 3) and detaches from it.
void CreateDatabase(StringView path, StringView user, StringView password);

// Runs one statement that returns no rows.
void ExecuteImmediate(Connection& db, Transaction& tr, StringView sql);

}  // namespace zavrik::data
