// The data module: the connection, transaction and data-source registry of the whole process,
// with their fixed parameters.
#pragma once

#include "core/rtti.h"
#include "data/connection.h"
#include "data/database_info.h"
#include "data/ibx_components.h"
#include "data/transaction.h"

namespace zavrik::driver {

// Published to report scripts as `Dm`; its class is not registered with the script engine, so
// scripts can hold and pass it but not reach its members.
class Tdm : public Object {
 public:
  // Creating the connection loads the database client; a missing library raises an Error.
  Tdm();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  data::Connection Base;
  data::Transaction TR;
  data::DatabaseInfo IBDatabaseInfo1;
  data::TqbxIBXComponents qbxIBXComponents1;

  // Attaches Base to `database_path` as SYSDBA and starts TR when it is not active.
  void Connect(const String& database_path);
};

}  // namespace zavrik::driver
