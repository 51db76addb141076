// The report data sources over the program's database: the registry whose default database
// serves template queries that name no database (TqbxIBXComponents, the data module's
// qbxIBXComponents1), connections defined in templates (TqbxIBXDatabase), and the template
// query and table classes (TqbxIBXQuery, TqbxIBXTable).
#pragma once

#include "data/connection.h"
#include "data/qbx_custom_dataset.h"
#include "data/query.h"
#include "data/query_script_source.h"
#include "data/transaction.h"

namespace zavrik::data {

// A registry of the default database. Creating one makes it the current registry; destroying the
// current one makes the previous one current again.
class TqbxDBComponents : public Object {
 public:
  TqbxDBComponents();
  ~TqbxDBComponents() override;
  TqbxDBComponents(const TqbxDBComponents&) = delete;
  TqbxDBComponents& operator=(const TqbxDBComponents&) = delete;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

 private:
  TqbxDBComponents* FPrevious;
};

class TqbxIBXComponents : public TqbxDBComponents {
 public:
  // Registers the data-source classes (RegisterDataClasses).
  TqbxIBXComponents();
  ~TqbxIBXComponents() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // The current registry of this kind, or none.
  static TqbxIBXComponents* Current();

  Connection* DefaultDatabase() const { return FDefaultDatabase; }
  // None again when the connection is destroyed.
  void SetDefaultDatabase(Connection* value);

 private:
  Connection* FDefaultDatabase = nullptr;
};

// A connection defined in a template.
class TqbxCustomDatabase : public TqbxReportComponent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

class TqbxIBXDatabase : public TqbxCustomDatabase {
 public:
  TqbxIBXDatabase();
  ~TqbxIBXDatabase() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const String& DatabaseName() const { return FConnection.DatabaseName; }
  void SetDatabaseName(const String& value) { FConnection.DatabaseName = value; }
  TStrings* Params() const { return FParams.get(); }
  bool LoginPrompt() const { return FConnection.LoginPrompt; }
  void SetLoginPrompt(bool value) { FConnection.LoginPrompt = value; }
  int32_t SQLDialect() const { return FConnection.SQLDialect(); }
  void SetSQLDialect(int32_t value) { FConnection.SetSQLDialect(value); }
  bool Connected() const { return FConnection.Connected(); }
  // Connects and starts the transaction, or ends it and disconnects. While a template is read the
  // value is kept and applied once it is loaded.
  void SetConnected(bool value);
  void Loaded() override;

  Connection& GetConnection() { return FConnection; }
  Transaction& GetTransaction() { return FTransaction; }

 private:
  Connection FConnection;
  Transaction FTransaction;
  std::unique_ptr<TStrings> FParams;
  bool FConnectWhenLoaded = false;
};

class TqbxIBXQuery : public TqbxCustomQuery {
 public:
  TqbxIBXQuery();
  ~TqbxIBXQuery() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxIBXDatabase* Database() const { return FDatabase; }
  void SetDatabase(TqbxIBXDatabase* value);
  Query& GetQuery() { return FQuery; }
  // The query as scripts see it (TDataSet), published as `Query`.
  QueryScriptSource* ScriptQuery() const { return FScriptQuery.get(); }
  // Binds the query to the Database's connection, or the current registry's default database.
  void BindConnection();
  void Initialize() override;

 protected:
  bool IsConnected() const override { return FConnected; }
  void MasterChanged() override;

 private:
  Query FQuery;
  std::unique_ptr<QueryScriptSource> FScriptQuery = std::make_unique<QueryScriptSource>(FQuery);
  TqbxIBXDatabase* FDatabase = nullptr;
  bool FConnected = false;
};

class TqbxIBXTable : public TqbxCustomTable {
 public:
  TqbxIBXTable();
  ~TqbxIBXTable() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxIBXDatabase* Database() const { return FDatabase; }
  void SetDatabase(TqbxIBXDatabase* value);
  Query& GetQuery() { return FQuery; }
  QueryScriptSource* ScriptQuery() const { return FScriptQuery.get(); }
  void BindConnection();
  void Initialize() override;

 protected:
  void MasterChanged() override;

 private:
  Query FQuery;
  std::unique_ptr<QueryScriptSource> FScriptQuery = std::make_unique<QueryScriptSource>(FQuery);
  TqbxIBXDatabase* FDatabase = nullptr;
};

// Binds a query to the database component's connection, or the current registry's default
// database with its first transaction; false when there is no connection.
bool BindQueryConnection(Query& query, TqbxIBXDatabase* database);

// Registers the data-source classes templates may name.
void RegisterDataClasses();

}  // namespace zavrik::data
