// The Firebird client library, loaded at run time: the entry points this program calls.
#pragma once

#include <ibase.h>

#include <string>

namespace zavrik::data {

inline constexpr const char* kFbClientLibrary = "libfbclient.so.2";

struct FbApi {
  decltype(&::isc_attach_database) attach_database;
  decltype(&::isc_detach_database) detach_database;
  decltype(&::isc_database_info) database_info;
  decltype(&::isc_start_multiple) start_multiple;
  decltype(&::isc_commit_transaction) commit_transaction;
  decltype(&::isc_rollback_transaction) rollback_transaction;
  decltype(&::isc_dsql_alloc_statement2) dsql_alloc_statement2;
  decltype(&::isc_dsql_prepare) dsql_prepare;
  decltype(&::isc_dsql_sql_info) dsql_sql_info;
  decltype(&::isc_dsql_describe_bind) dsql_describe_bind;
  decltype(&::isc_dsql_describe) dsql_describe;
  decltype(&::isc_dsql_execute) dsql_execute;
  decltype(&::isc_dsql_execute_immediate) dsql_execute_immediate;
  decltype(&::isc_dsql_fetch) dsql_fetch;
  decltype(&::isc_dsql_free_statement) dsql_free_statement;
  decltype(&::isc_open_blob2) open_blob2;
  decltype(&::isc_create_blob2) create_blob2;
  decltype(&::isc_blob_info) blob_info;
  decltype(&::isc_get_segment) get_segment;
  decltype(&::isc_put_segment) put_segment;
  decltype(&::isc_close_blob) close_blob;
  decltype(&::isc_sqlcode) sqlcode;
  decltype(&::fb_interpret) interpret;
  decltype(&::isc_vax_integer) vax_integer;
  decltype(&::fb_shutdown) shutdown;
  void* (*get_master_interface)();  // the object interface's root; null in clients without one
};

// Opens a client library and resolves its entry points (no caching).
FbApi OpenFbClient(const char* library);

// Loads the client library once per process and returns its entry points. A library that cannot be
// loaded, or lacks an entry point, raises an Error naming it.
const FbApi& LoadFbApi(const char* library = kFbClientLibrary);

// The entry points loaded so far; LoadFbApi must have succeeded before.
const FbApi& Fb();

// Stops the client's and the embedded engine's threads, once per process; for the end of a process
// that attached.
void ShutdownFbClient();

// The message for a client library that cannot be loaded.
std::string MissingLibraryMessage(const char* library);

}  // namespace zavrik::data
