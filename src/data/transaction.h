// A transaction on one connection, started with the parameter block built from Params.
#pragma once

#include <ibase.h>

#include "core/string_list.h"

namespace zavrik::data {

class Connection;

class Transaction {
 public:
  Transaction() = default;
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  StringList Params;
  bool AllowAutoStart = false;

  Connection* DefaultDatabase() const { return database_; }
  void SetDefaultDatabase(Connection* database);

  bool Active() const { return handle_ != 0; }
  void StartTransaction();
  void Commit();
  void Rollback();

  // Raises "Transaction is not active" unless active.
  void CheckActive() const;
  isc_tr_handle* Handle() { return &handle_; }

  // Called by a connection that is being destroyed.
  void DetachFromDatabase(Connection* database);

 private:
  void End(bool commit);

  Connection* database_ = nullptr;
  isc_tr_handle handle_ = 0;
};

}  // namespace zavrik::data
