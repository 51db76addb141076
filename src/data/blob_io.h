// Reading and writing BLOB contents.
#pragma once

#include <ibase.h>

#include <string>

namespace zavrik::data {

class Connection;
class Transaction;

// The BLOB's bytes exactly as stored.
std::string ReadBlob(Connection& db, Transaction& tr, ISC_QUAD id);
// Stores the bytes as a new BLOB and returns its id.
ISC_QUAD WriteBlob(Connection& db, Transaction& tr, std::string_view bytes);

}  // namespace zavrik::data
