// The report data-source registry of a data module: report queries that name no database of their
// own run over its default database.
#pragma once

namespace zavrik::data {

class Connection;

class TqbxIBXComponents {
 public:
  Connection* DefaultDatabase = nullptr;
};

}  // namespace zavrik::data
