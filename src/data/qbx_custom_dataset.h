// Data sets that own their database dataset: TqbxCustomDataset (master-detail, filter, active
// flag), TqbxCustomQuery (SQL text and expression parameters) and TqbxCustomTable (a table by
// name, its master fields and index).
#pragma once

#include "data/qbx_db_data_set.h"
#include "data/qbx_params.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik::data {

class TqbxCustomDataset : public TqbxDBDataset {
 public:
  TqbxCustomDataset();
  ~TqbxCustomDataset() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxDBDataset* Master() const { return FMaster; }
  // Refuses a master chain that leads back to this data set ("Circular datalinks are not allowed").
  void SetMaster(TqbxDBDataset* value);
  const String& MasterFields() const { return FMasterFields; }
  void SetMasterFields(const String& value);
  bool Active() const;
  void SetActive(bool value);
  bool IsHasMaster() override { return FMaster != nullptr; }
  // With Filtered, Filter is a report expression evaluated per record: records for which it is
  // not true are skipped by the navigation and not counted.
  String Filter;
  bool Filtered = false;
  void First() override;
  void Next() override;
  void Prior() override;
  int RecordCount() override;

  // The master's dataset as the data source this data set's dataset follows.
  const DataSource& MasterSource() const { return FMasterSource; }

 protected:
  // Applies the master link to the database dataset.
  virtual void MasterChanged() = 0;
  // The MasterFields pairs "detail=master", the master side translated through the master's
  // aliases.
  std::vector<std::pair<String, String>> MasterFieldPairs() const;

 private:
  bool Filtering() const;
  // Whether the current record passes the filter.
  bool Accepted();
  // Moves on past the records the filter refuses; they do not count as records.
  void SkipRefused(int record_number);
  TqbxDBDataset* FMaster = nullptr;
  String FMasterFields;
  DataSource FMasterSource;
};

class TqbxCustomQuery : public TqbxCustomDataset, public TqbxDefinedProperties {
 public:
  TqbxCustomQuery();
  ~TqbxCustomQuery() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TStrings* SQL() const { return FSQL.get(); }
  // The items of the parameter names in the SQL text, rebuilt when the text has changed.
  TqbxParams& Params();
  TqbxParamItem& ParamByName(StringView name) { return Params().ParamByName(name); }
  bool IgnoreDupParams() const { return FIgnoreDupParams; }
  void SetIgnoreDupParams(bool value);

  // Binds Params to the dataset's parameters (evaluating their expressions through the report).
  void UpdateParams();

  // The parameters are stored as the data property "Parameters".
  bool ReadDefinedProperty(StringView name, TqbxPropReader& reader,
                           TqbxXMLSerializer& serializer) override;
  void WriteDefinedProperties(TqbxPropWriter& writer) const override;

 protected:
  // Whether a connection is bound; parameters are bound only then.
  virtual bool IsConnected() const = 0;
  // Hands the SQL text to the database dataset and rebinds before each run.
  void PrepareQuery(Query& query);
  void DescribeDataSet(Query& query) override;

 private:
  void SyncParams();
  void SyncSQL(Query& query);
  std::unique_ptr<TStrings> FSQL;
  TqbxParams FParams;
  String FParamsSource;  // the SQL text the parameter list was built from
  bool FParamsBuilt = false;
  bool FIgnoreDupParams = false;
};

class TqbxCustomTable : public TqbxCustomDataset {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  String TableName, IndexName, IndexFieldNames;

 protected:
  // "SELECT * FROM table" with the master fields as conditions and the index fields as order.
  String SelectText() const;
  void DescribeDataSet(Query& query) override;
};

}  // namespace zavrik::data
