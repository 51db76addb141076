// Reader of database information, bound to a connection.
#pragma once

namespace zavrik::data {

class Connection;

class DatabaseInfo {
 public:
  Connection* Database = nullptr;
};

}  // namespace zavrik::data
