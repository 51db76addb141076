// What the report model needs of data sources; data sources implement these interfaces.
#pragma once

#include <string>
#include <vector>

#include "core/variant.h"

namespace zavrik {

class TqbxComponent;

// What views read from the data source they are bound to.
class TqbxFieldSource {
 public:
  virtual ~TqbxFieldSource() = default;
  virtual Variant FieldValue(StringView field) = 0;
  virtual String FieldDisplayText(StringView field) = 0;
  virtual bool IsBlobField(StringView field) = 0;
  // The content of a blob field as text.
  virtual String BlobText(StringView field) = 0;
  // The bytes of a blob field; empty for Null.
  virtual std::string BlobBytes(StringView field) { return {}; }
  // The field's type as data sources report it: numeric (0), string, boolean, date and time.
  virtual int FieldTypeCode(StringView field) { return kFieldTypeNumeric; }
  static constexpr int kFieldTypeNumeric = 0, kFieldTypeString = 1, kFieldTypeBoolean = 2;
};

// What scripts call on a data source (`Query1.First`, `Query1.Value['NAME']`).
class TqbxScriptDataSource {
 public:
  virtual ~TqbxScriptDataSource() = default;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  virtual bool Eof() = 0;
  virtual int FieldsCount() = 0;
  virtual int RecordCount() = 0;
  virtual bool HasField(StringView field) = 0;
  virtual Variant Value(StringView field) = 0;
  virtual String DisplayText(StringView field) = 0;
  virtual int DisplayWidth(StringView field) = 0;
  virtual void GetFieldList(std::vector<String>& list) = 0;
  // The current record within the range, from 0.
  virtual int RecordNumber() = 0;
};

// What a report asks of the data sources in its data-source list.
class TqbxReportDataSource {
 public:
  virtual ~TqbxReportDataSource() = default;
  // The name expressions use.
  virtual String UserName() const = 0;
  // The report that uses the data source in the coming run (for its error reporting).
  virtual void SetReportRef(TqbxComponent* report) = 0;
  // Before and after a run.
  virtual void Initialize() = 0;
  virtual void Finalize() = 0;
};

}  // namespace zavrik
