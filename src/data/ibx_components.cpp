#include "data/ibx_components.h"

#include "core/error.h"
#include "core/rtti_props.h"
#include "report/model/qbx_strings.h"

namespace zavrik::data {
namespace {

TqbxDBComponents*& CurrentRegistry() {
  static TqbxDBComponents* current = nullptr;
  return current;
}

}  // namespace

// --- registries

const ClassInfo& TqbxDBComponents::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDBComponents", &Object::StaticClass(), nullptr, {}); });
  return info;
}

TqbxDBComponents::TqbxDBComponents() : FPrevious(CurrentRegistry()) { CurrentRegistry() = this; }

TqbxDBComponents::~TqbxDBComponents() {
  // Leaves the chain of registries wherever it is in it.
  if (CurrentRegistry() == this) {
    CurrentRegistry() = FPrevious;
    return;
  }
  for (TqbxDBComponents* r = CurrentRegistry(); r; r = r->FPrevious) {
    if (r->FPrevious == this) {
      r->FPrevious = FPrevious;
      return;
    }
  }
}

const ClassInfo& TqbxIBXComponents::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxIBXComponents", &TqbxDBComponents::StaticClass(), nullptr, {}); });
  return info;
}

TqbxIBXComponents::TqbxIBXComponents() { RegisterDataClasses(); }

TqbxIBXComponents::~TqbxIBXComponents() { SetDefaultDatabase(nullptr); }

TqbxIBXComponents* TqbxIBXComponents::Current() {
  return dynamic_cast<TqbxIBXComponents*>(CurrentRegistry());
}

void TqbxIBXComponents::SetDefaultDatabase(Connection* value) {
  if (FDefaultDatabase) FDefaultDatabase->RemoveDestroyListener(this);
  FDefaultDatabase = value;
  if (value) value->AddDestroyListener(this, [this] { FDefaultDatabase = nullptr; });
}

bool BindQueryConnection(Query& query, TqbxIBXDatabase* database) {
  if (query.Active()) query.Close();
  if (database) {
    query.SetDatabase(&database->GetConnection());
    query.SetTransaction(&database->GetTransaction());
    return true;
  }
  TqbxIBXComponents* registry = TqbxIBXComponents::Current();
  Connection* connection = registry ? registry->DefaultDatabase() : nullptr;
  query.SetDatabase(connection);
  query.SetTransaction(connection ? connection->FirstTransaction() : nullptr);
  return connection != nullptr;
}

// --- TqbxIBXDatabase

const ClassInfo& TqbxCustomDatabase::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomDatabase", &TqbxReportComponent::StaticClass(), nullptr,
                              {
                                  Prop(u"Left", &TqbxComponent::Left, &TqbxComponent::SetLeft),
                                  Prop(u"Top", &TqbxComponent::Top, &TqbxComponent::SetTop),
                              }); });
  return info;
}

const ClassInfo& TqbxIBXDatabase::StaticClass() {
  using C = TqbxIBXDatabase;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(
      u"TqbxIBXDatabase", &TqbxCustomDatabase::StaticClass(), &New<C>,
      {
          Prop(u"DatabaseName", &C::DatabaseName, &C::SetDatabaseName),
          Prop(u"LoginPrompt", &C::LoginPrompt, &C::SetLoginPrompt).Default(1),
          Prop(u"Params", &C::Params),
          Prop(u"SQLDialect", &C::SQLDialect, &C::SetSQLDialect).Default(3),
          Prop(u"Connected", &C::Connected, &C::SetConnected).Default(0),
      }); });
  return info;
}

TqbxIBXDatabase::TqbxIBXDatabase() : FParams(std::make_unique<TStrings>()) {
  FConnection.LoginPrompt = true;
  FTransaction.SetDefaultDatabase(&FConnection);
}

TqbxIBXDatabase::~TqbxIBXDatabase() {
  for (TqbxReportComponent* data_set : TqbxGlobalDataSets::All()) {
    if (auto* query = dynamic_cast<TqbxIBXQuery*>(data_set); query && query->Database() == this)
      query->SetDatabase(nullptr);
    if (auto* table = dynamic_cast<TqbxIBXTable*>(data_set); table && table->Database() == this)
      table->SetDatabase(nullptr);
  }
}

void TqbxIBXDatabase::SetConnected(bool value) {
  if (IsLoading) {
    FConnectWhenLoaded = value;
    return;
  }
  if (value == Connected()) return;
  if (value) {
    FConnection.Params.Clear();
    for (const String& line : FParams->Lines()) FConnection.Params.Add(line);
    FConnection.Connect();
    try {
      FTransaction.StartTransaction();
    } catch (...) {
      FConnection.Disconnect();
      throw;
    }
  } else {
    FConnection.Disconnect();
  }
}

void TqbxIBXDatabase::Loaded() {
  if (FConnectWhenLoaded) SetConnected(true);
}

// --- TqbxIBXQuery

const ClassInfo& TqbxIBXQuery::StaticClass() {
  using C = TqbxIBXQuery;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxIBXQuery", &TqbxCustomQuery::StaticClass(), &New<C>,
                              {
                                  Prop(u"Database", &C::Database, &C::SetDatabase).Reference(),
                                  Prop(u"Query", &C::ScriptQuery).NotStored(),
                              }); });
  return info;
}

TqbxIBXQuery::TqbxIBXQuery() {
  SetDataSet(&FQuery);
  FQuery.BeforeOpen = [this] { PrepareQuery(FQuery); };
  BindConnection();
}

TqbxIBXQuery::~TqbxIBXQuery() { UnhookDataSet(); }

void TqbxIBXQuery::SetDatabase(TqbxIBXDatabase* value) {
  FDatabase = value;
  BindConnection();
}

void TqbxIBXQuery::BindConnection() { FConnected = BindQueryConnection(FQuery, FDatabase); }

void TqbxIBXQuery::Initialize() {
  if (!FQuery.Active()) BindConnection();
  TqbxCustomQuery::Initialize();
}

void TqbxIBXQuery::MasterChanged() { FQuery.SetMaster(MasterSource().DataSet); }

// --- TqbxIBXTable

const ClassInfo& TqbxIBXTable::StaticClass() {
  using C = TqbxIBXTable;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxIBXTable", &TqbxCustomTable::StaticClass(), &New<C>,
                              {
                                  Prop(u"Database", &C::Database, &C::SetDatabase).Reference(),
                                  Prop(u"Table", &C::ScriptQuery).NotStored(),
                              }); });
  return info;
}

TqbxIBXTable::TqbxIBXTable() {
  SetDataSet(&FQuery);
  FQuery.BeforeOpen = [this] { FQuery.SetSQL(SelectText()); };
  BindConnection();
}

TqbxIBXTable::~TqbxIBXTable() { UnhookDataSet(); }

void TqbxIBXTable::SetDatabase(TqbxIBXDatabase* value) {
  FDatabase = value;
  BindConnection();
}

void TqbxIBXTable::BindConnection() { BindQueryConnection(FQuery, FDatabase); }

void TqbxIBXTable::Initialize() {
  if (!FQuery.Active()) BindConnection();
  TqbxCustomTable::Initialize();
}

void TqbxIBXTable::MasterChanged() { FQuery.SetMaster(MasterSource().DataSet); }

// --- registration

void RegisterDataClasses() {
  static const bool registered = [] {
    for (const ClassInfo* info : {&TqbxIBXDatabase::StaticClass(), &TqbxIBXQuery::StaticClass(),
                                  &TqbxIBXTable::StaticClass(), &TqbxUserDataSet::StaticClass()})
      RegisterClass(*info);
    return true;
  }();
  (void)registered;
}

}  // namespace zavrik::data
