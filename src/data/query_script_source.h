// A query as scripts see it: a TDataSet whose fields are TField objects (the host interfaces of
// script/qs_ihost.h). Field objects stay valid for the life of the source.
#pragma once

#include <map>
#include <memory>

#include "core/rtti.h"
#include "script/qs_ihost.h"

namespace zavrik::data {

class Query;

class QueryScriptField : public Object, public TqsFieldSource {
 public:
  QueryScriptField(Query& query, String name) : FQuery(query), FName(std::move(name)) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  String FieldName() const override { return FName; }
  // Null while the query has no such field or no current row.
  Variant FieldValue() const override;
  String FieldText() const override;

 private:
  Query& FQuery;
  String FName;
};

class QueryScriptSource : public Object, public TqsDataSetSource {
 public:
  explicit QueryScriptSource(Query& query) : FQuery(query) {}
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  void Open() override;
  void Close() override;
  bool Active() const override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() const override;
  bool Bof() const override;
  int RecordCount() const override;
  int FieldCount() const override;
  Object* Field(int index) const override;
  Object* FindField(StringView name) const override;

 private:
  Object* FieldObject(const String& name) const;
  Query& FQuery;
  mutable std::map<String, std::unique_ptr<QueryScriptField>> FFields;  // by upper-cased name
};

}  // namespace zavrik::data
