#include "data/connection.h"

#include <algorithm>
#include <atomic>

#include "core/error.h"
#include "data/attach_providers.h"
#include "data/charset.h"
#include "data/fb_api.h"
#include "data/fb_error.h"
#include "data/param_blocks.h"
#include "data/transaction.h"

namespace zavrik::data {
namespace {

std::atomic<int> g_attached = 0;  // connections of the process with an attachment

}  // namespace

Connection::Connection() { LoadFbApi(); }

Connection::~Connection() {
  for (auto& [key, listener] : std::vector(destroy_listeners_)) listener();
  for (Transaction* t : transactions_) t->DetachFromDatabase(this);
  if (Connected()) DetachQuietly();
}

void Connection::CheckConnected() const {
  if (!Connected()) throw Error(u"Cannot perform operation -- DB is not open");
}

void Connection::Connect() {
  if (Connected()) throw Error(u"Cannot perform operation -- DB is currently open");
  if (DatabaseName.empty()) throw Error(u"Database name is missing");
  AttachParameters dpb = BuildDpb(Params);
  const std::string name = EncodeSystemText(DatabaseName);
  if (const std::optional<std::string> providers = LocalProvidersSetting(name))
    AppendDpbText(dpb.bytes, isc_dpb_config, *providers);
  ISC_STATUS_ARRAY status;
  isc_db_handle handle = 0;
  if (Fb().attach_database(status, 0, name.c_str(), &handle, static_cast<short>(dpb.bytes.size()),
                           dpb.bytes.data()))
    RaiseStatus(status);
  handle_ = handle;
  ++g_attached;
  if (!dpb.charset.empty()) {
    charset_ = AsciiUpper(Trim(StringView(dpb.charset)));
    code_page_ = CodePageOfCharset(charset_);
  }
  try {
    const int db_dialect = ReadDatabaseDialect();
    if (db_dialect < sql_dialect_) sql_dialect_ = db_dialect;
  } catch (...) {
    DetachQuietly();
    throw;
  }
}

int Connection::ReadDatabaseDialect() {
  const char items[] = {isc_info_db_sql_dialect, isc_info_end};
  char buffer[64] = {};
  ISC_STATUS_ARRAY status;
  if (Fb().database_info(status, &handle_, sizeof(items), items, sizeof(buffer), buffer))
    RaiseStatus(status);
  if (buffer[0] != isc_info_db_sql_dialect) return 1;  // servers without dialects are dialect 1
  const short len = static_cast<short>(Fb().vax_integer(buffer + 1, 2));
  if (len < 1 || len > 4) return 1;
  return static_cast<int>(Fb().vax_integer(buffer + 3, len));
}

void Connection::Disconnect() { EndTransactionsAndDetach(true); }

void Connection::RollbackAndDisconnect() { EndTransactionsAndDetach(false); }

void Connection::EndTransactionsAndDetach(bool commit) {
  CheckConnected();
  for (Transaction* t : std::vector<Transaction*>(transactions_)) {
    if (!t->Active()) continue;
    if (commit) t->Commit();
    else t->Rollback();
  }
  ISC_STATUS_ARRAY status;
  if (Fb().detach_database(status, &handle_)) RaiseStatus(status);
  handle_ = 0;
  --g_attached;
}

void Connection::DetachQuietly() {
  ISC_STATUS_ARRAY status;
  Fb().detach_database(status, &handle_);
  handle_ = 0;
  --g_attached;
}

bool Connection::AnyAttached() { return g_attached > 0; }

void Connection::AddTransaction(Transaction* t) {
  if (std::find(transactions_.begin(), transactions_.end(), t) == transactions_.end())
    transactions_.push_back(t);
}

void Connection::RemoveTransaction(Transaction* t) {
  transactions_.erase(std::remove(transactions_.begin(), transactions_.end(), t),
                      transactions_.end());
}

}  // namespace zavrik::data

namespace zavrik::data {

void Connection::AddDestroyListener(const void* key, std::function<void()> listener) {
  RemoveDestroyListener(key);
  destroy_listeners_.emplace_back(key, std::move(listener));
}

void Connection::RemoveDestroyListener(const void* key) {
  std::erase_if(destroy_listeners_, [key](const auto& entry) { return entry.first == key; });
}

}  // namespace zavrik::data
