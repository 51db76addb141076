// A query on a connection and transaction: named parameters, the rows fetched so far kept in
// memory (packed; the current row decoded) so the cursor can move both ways, fields by name.
#pragma once

#include <ibase.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/string_list.h"
#include "data/column.h"
#include "data/param.h"
#include "data/row_store.h"
#include "data/sqlda.h"

namespace zavrik::data {

class Connection;
class Transaction;
class Query;

// A column of the open query, read at the current row.
class Field {
 public:
  Field(Query& query, int column) : query_(query), column_(column) {}
  const String& FieldName() const;
  FieldType DataType() const;
  int Size() const;
  bool IsBlob() const;
  bool IsNull() const;
  // Null for a null column; text BLOBs decoded as text, binary BLOBs as text of their bytes.
  Variant Value() const;
  // The bytes of a BLOB (or the encoded text of any other column).
  std::string AsBytes() const;
  // The exact decimal text of arbitrary-precision decimal columns; empty for other columns.
  const std::string& ExactDecimal() const;

 private:
  const Cell& Current() const;
  Query& query_;
  int column_;
};

class Query {
 public:
  Query(Connection* database = nullptr, Transaction* transaction = nullptr);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  Connection* Database() const { return database_; }
  Transaction* GetTransaction() const { return transaction_; }
  void SetDatabase(Connection* database) { database_ = database; }
  void SetTransaction(Transaction* transaction) { transaction_ = transaction; }

  // Sets the SQL lines and rebuilds the parameter list from the names in them.
  void SetSQL(const StringList& lines);
  void SetSQL(StringView text);
  const StringList& SQL() const { return sql_; }
  ParamList& Params() { return params_; }
  Param& ParamByName(StringView name) { return params_.ByName(name); }

  // Prepares, executes and fetches the first row of a statement that returns rows.
  void Open();
  // Prepares and executes a statement that returns no rows.
  void ExecQuery();
  // Prepares a statement that returns rows and learns its fields without running it; the query
  // stays closed, without rows.
  void Describe();
  void Close();
  bool Active() const { return statement_ != 0; }
  // Counts the runs: fields and bookmarks of an earlier run are gone.
  int RunCount() const { return run_count_; }

  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  void First();
  void Next();
  void Prior();
  int RecNo() const { return current_ + 1; }  // 1-based; 0 when there is no row
  // The rows fetched so far.
  int RecordCount() const { return static_cast<int>(rows_.Size()); }
  // A mark of the current row, valid until the query is run again; GotoBookmark returns to it.
  int Bookmark() const { return current_; }
  void GotoBookmark(int bookmark);

  // A master query: parameters named like its fields take its current values, and this query runs
  // again whenever the master moves to another row (when this query is open). A chain of masters
  // that leads back to this query raises "Circular datalinks are not allowed".
  void SetMaster(Query* master);
  Query* Master() const { return master_; }

  // Notifications: before the statement runs (also when a master move runs it again), after it
  // is open, before it is closed.
  std::function<void()> BeforeOpen, AfterOpen, BeforeClose;

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  Field& Fields(int i) { return *fields_[i]; }
  Field* FindField(StringView name);
  // Raises "Field '%s' not found" when absent.
  Field& FieldByName(StringView name);

 private:
  friend class Field;
  enum class Mode { Open, Exec, Describe };
  void Run(Mode mode);
  void BindInput();
  void CheckReady();
  void Prepare(const String& text);
  int StatementType();
  bool FetchRow();
  void FreeStatement();
  void ApplyMasterValues();
  void SetCurrent(int row);
  void MasterMoved();
  void ClearRows();
  const std::vector<Cell>& CurrentRow() const;

  Connection* database_;
  Transaction* transaction_;
  StringList sql_;
  String parsed_text_;
  ParamList params_;

  isc_stmt_handle statement_ = 0;
  Sqlda input_{1};
  Sqlda output_{1};
  std::vector<ColumnDef> columns_;
  std::vector<std::unique_ptr<Field>> fields_;
  RowStore rows_;
  std::string packing_;                     // the row being packed
  mutable std::vector<Cell> current_row_;   // rows_[decoded_row_] decoded
  mutable int decoded_row_ = -1;
  int current_ = -1;
  bool eof_ = true;
  bool bof_ = true;
  bool fetched_all_ = true;
  int run_count_ = 0;
  Query* master_ = nullptr;
  std::vector<Query*> details_;
};

}  // namespace zavrik::data
