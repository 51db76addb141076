// The data module: the connection, transaction and data-source registry of the whole process,
// with their fixed parameters.
#pragma once

#include "data/connection.h"
#include "data/database_info.h"
#include "data/ibx_components.h"
#include "data/transaction.h"

namespace zavrik::driver {

class Tdm {
 public:
  // Creating the connection loads the database client; a missing library raises an Error.
  Tdm();

  data::Connection Base;
  data::Transaction TR;
  data::DatabaseInfo IBDatabaseInfo1;
  data::TqbxIBXComponents qbxIBXComponents1;
};

}  // namespace zavrik::driver
