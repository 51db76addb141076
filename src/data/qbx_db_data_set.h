// Data sets over a database query: TqbxCustomDBDataSet adds the field map and field aliases,
// TqbxDBDataset iterates the query within the range and turns its fields into report values.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "data/qbx_data_set.h"

namespace zavrik::data {

class Field;
class Query;

// A data source of a database dataset (the link a detail dataset follows).
struct DataSource {
  Query* DataSet = nullptr;
};

class TqbxCustomDBDataSet : public TqbxDataSet {
 public:
  TqbxCustomDBDataSet();
  ~TqbxCustomDBDataSet() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Lines "field=alias"; when there are any, expressions use the aliases and fields whose line
  // starts with "-" are left out.
  TStrings* FieldAliases() const { return FFieldAliases.get(); }
  // The field an expression name stands for.
  String ConvertAlias(StringView name) const;
  // The expression name of a field (the field name when it has no alias).
  String GetAlias(StringView field) const;

 protected:
  // The field map: expression names (upper-cased keys) to the database field, none when the
  // dataset has no field of that name.
  std::map<String, Field*> FFields;
  // The fields found in FFields by the names as written, emptied with FFields.
  std::vector<std::pair<String, Field*>> FFoundFields;

 private:
  std::unique_ptr<TStrings> FFieldAliases;
};

class TqbxDBDataset : public TqbxCustomDBDataSet {
 public:
  ~TqbxDBDataset() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // The dataset in use: DataSet, or else the data source's dataset. Setting one clears the other.
  Query* DataSet() const;
  void SetDataSet(Query* value);
  DataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(DataSource* value);
  bool BCDToCurrency = false;

  String DisplayText(StringView field) override;
  int DisplayWidth(StringView field) override;
  TqbxFieldType FieldType(StringView field) override;
  Variant Value(StringView field) override;
  int FieldsCount() override;
  bool IsBlobField(StringView field) override;
  int RecordCount() override;
  void AssignBlobTo(StringView field, TStrings& target) override;
  String BlobText(StringView field) override;
  std::string BlobBytes(StringView field) override;
  void GetFieldList(std::vector<String>& list) override;

  void Initialize() override;
  void Finalize() override;
  void Open() override;
  void Close() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;

 protected:
  // Opens the dataset and builds the field map once, on the first access.
  void EnsureOpen();
  // The database field behind an expression name, or none (the error is then recorded).
  Field* FieldOf(StringView name);
  // The text that stands for a missing field: "Поле не найдено: " UserName."name".
  String NotFoundText(StringView name) const;
  // Learns the fields of a dataset that has never been open (GetFieldList); the dataset class
  // knows how to prepare its statement.
  virtual void DescribeDataSet(Query& query);
  // Gives the dataset its own notification handlers back; subclasses that own the dataset call
  // it before the dataset is destroyed.
  void UnhookDataSet();

 private:
  Query& RequireDataSet() const;
  void BuildFieldMap();
  void HookDataSet(Query& query);

  Query* FDataSet = nullptr;
  DataSource* FDataSource = nullptr;
  int FBookmark = -1;  // none
  int FMapRun = -1;    // the query's run the field map was built for
  Query* FHooked = nullptr;
  std::function<void()> FSavedAfterOpen, FSavedBeforeClose;
};

// The report-wide message texts of data sources.
String DbNotConnText(StringView component);
extern const char16_t kFieldNotFound[];

}  // namespace zavrik::data
