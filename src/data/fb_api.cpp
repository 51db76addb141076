#include "data/fb_api.h"

#include <mutex>
#include <string>

#include "core/error.h"
#include "core/shared_library.h"

namespace zavrik::data {
namespace {

const FbApi* g_api = nullptr;

}  // namespace

FbApi OpenFbClient(const char* library) {
  void* lib = OpenSharedLibrary(library);
  if (!lib) throw Error(MissingLibraryMessage(library));
  FbApi api{};
#define ZAVRIK_RESOLVE(field, symbol) ResolveSymbol(lib, library, symbol, api.field)
  ZAVRIK_RESOLVE(attach_database, "isc_attach_database");
  ZAVRIK_RESOLVE(detach_database, "isc_detach_database");
  ZAVRIK_RESOLVE(database_info, "isc_database_info");
  ZAVRIK_RESOLVE(start_multiple, "isc_start_multiple");
  ZAVRIK_RESOLVE(commit_transaction, "isc_commit_transaction");
  ZAVRIK_RESOLVE(rollback_transaction, "isc_rollback_transaction");
  ZAVRIK_RESOLVE(dsql_alloc_statement2, "isc_dsql_alloc_statement2");
  ZAVRIK_RESOLVE(dsql_prepare, "isc_dsql_prepare");
  ZAVRIK_RESOLVE(dsql_sql_info, "isc_dsql_sql_info");
  ZAVRIK_RESOLVE(dsql_describe_bind, "isc_dsql_describe_bind");
  ZAVRIK_RESOLVE(dsql_describe, "isc_dsql_describe");
  ZAVRIK_RESOLVE(dsql_execute, "isc_dsql_execute");
  ZAVRIK_RESOLVE(dsql_execute_immediate, "isc_dsql_execute_immediate");
  ZAVRIK_RESOLVE(dsql_fetch, "isc_dsql_fetch");
  ZAVRIK_RESOLVE(dsql_free_statement, "isc_dsql_free_statement");
  ZAVRIK_RESOLVE(open_blob2, "isc_open_blob2");
  ZAVRIK_RESOLVE(create_blob2, "isc_create_blob2");
  ZAVRIK_RESOLVE(blob_info, "isc_blob_info");
  ZAVRIK_RESOLVE(get_segment, "isc_get_segment");
  ZAVRIK_RESOLVE(put_segment, "isc_put_segment");
  ZAVRIK_RESOLVE(close_blob, "isc_close_blob");
  ZAVRIK_RESOLVE(sqlcode, "isc_sqlcode");
  ZAVRIK_RESOLVE(interpret, "fb_interpret");
  ZAVRIK_RESOLVE(vax_integer, "isc_vax_integer");
  ZAVRIK_RESOLVE(shutdown, "fb_shutdown");
#undef ZAVRIK_RESOLVE
  api.get_master_interface =
      reinterpret_cast<void* (*)()>(OptionalLibrarySymbol(lib, "fb_get_master_interface"));
  return api;
}

std::string MissingLibraryMessage(const char* library) {
  return std::string("Firebird client library ") + library +
         " (libfbclient) not found in the library path. Please install the Firebird client "
         "(package libfbclient2) to use this functionality";
}

const FbApi& LoadFbApi(const char* library) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  if (!g_api) g_api = new FbApi(OpenFbClient(library));  // lives for the whole process
  return *g_api;
}

void ShutdownFbClient() {
  static std::once_flag once;
  if (g_api) std::call_once(once, [] { g_api->shutdown(0, fb_shutrsn_app_stopped); });
}

const FbApi& Fb() {
  if (!g_api) throw Error(MissingLibraryMessage(kFbClientLibrary));
  return *g_api;
}

}  // namespace zavrik::data
