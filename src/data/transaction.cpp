#include "data/transaction.h"

#include "core/error.h"
#include "data/connection.h"
#include "data/fb_api.h"
#include "data/fb_error.h"
#include "data/param_blocks.h"

namespace zavrik::data {
namespace {

// ibase.h declares no type for isc_start_multiple's vector.
struct TransactionElement {
  isc_db_handle* db;
  ISC_LONG tpb_len;
  const char* tpb;
};

}  // namespace

Transaction::~Transaction() {
  if (Active()) {
    ISC_STATUS_ARRAY status;
    Fb().rollback_transaction(status, &handle_);
  }
  if (database_) database_->RemoveTransaction(this);
}

void Transaction::SetDefaultDatabase(Connection* database) {
  if (database_ == database) return;
  if (Active()) throw Error(u"Transaction is active");
  if (database_) database_->RemoveTransaction(this);
  database_ = database;
  if (database_) database_->AddTransaction(this);
}

void Transaction::DetachFromDatabase(Connection* database) {
  if (database_ == database) database_ = nullptr;
  handle_ = 0;  // the attachment's end ends the transaction too
}

void Transaction::CheckActive() const {
  if (!Active()) throw Error(u"Transaction is not active");
}

void Transaction::StartTransaction() {
  if (Active()) throw Error(u"Transaction is active");
  if (!database_) throw Error(u"Database not assigned");
  database_->CheckConnected();
  const std::string tpb = BuildTpb(Params);
  TransactionElement element{database_->Handle(), static_cast<ISC_LONG>(tpb.size()), tpb.data()};
  ISC_STATUS_ARRAY status;
  isc_tr_handle handle = 0;
  if (Fb().start_multiple(status, &handle, 1, &element)) RaiseStatus(status);
  handle_ = handle;
}

void Transaction::End(bool commit) {
  CheckActive();
  ISC_STATUS_ARRAY status;
  const ISC_STATUS failed = commit ? Fb().commit_transaction(status, &handle_)
                                   : Fb().rollback_transaction(status, &handle_);
  if (failed) RaiseStatus(status);
  handle_ = 0;
}

void Transaction::Commit() { End(true); }
void Transaction::Rollback() { End(false); }

}  // namespace zavrik::data
