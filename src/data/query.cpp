#include "data/query.h"

#include "core/case_fold.h"
#include "core/codepage.h"
#include "core/error.h"
#include "data/blob_io.h"
#include "data/connection.h"
#include "data/fb_api.h"
#include "data/fb_error.h"
#include "data/param_binding.h"
#include "data/sql_params.h"
#include "data/transaction.h"

namespace zavrik::data {

// --- Field -------------------------------------------------------------------------------------

const String& Field::FieldName() const { return query_.columns_[column_].name; }
FieldType Field::DataType() const { return query_.columns_[column_].type; }
int Field::Size() const { return query_.columns_[column_].size; }
bool Field::IsBlob() const { return query_.columns_[column_].sql_type == SQL_BLOB; }

const Cell& Field::Current() const {
  if (query_.current_ < 0) throw Error(u"No current record");
  return query_.CurrentRow()[column_];
}

bool Field::IsNull() const { return Current().value.IsNull(); }

Variant Field::Value() const {
  const Cell& cell = Current();
  if (!IsBlob() || cell.value.IsNull()) return cell.value;
  const std::string bytes = AsBytes();
  if (DataType() == FieldType::ftMemo)
    return Variant(DecodeCodePage(bytes, query_.database_->CodePage()));
  return Variant(DecodeCodePage(bytes, kCodePageLatin1));
}

std::string Field::AsBytes() const {
  const Cell& cell = Current();
  if (cell.value.IsNull()) return std::string();
  if (IsBlob()) {
    query_.CheckReady();
    return ReadBlob(*query_.database_, *query_.transaction_, cell.blob_id);
  }
  if (cell.value.IsString())
    return EncodeCodePage(cell.value.StringValue(), query_.database_->CodePage());
  return std::string();
}

const std::string& Field::ExactDecimal() const { return Current().exact_decimal; }

// --- Query -------------------------------------------------------------------------------------

Query::Query(Connection* database, Transaction* transaction)
    : database_(database), transaction_(transaction) {}

Query::~Query() {
  SetMaster(nullptr);
  for (Query* detail : details_) detail->master_ = nullptr;
  if (statement_) {
    ISC_STATUS_ARRAY status;
    Fb().dsql_free_statement(status, &statement_, DSQL_drop);
  }
}

void Query::SetSQL(const StringList& lines) {
  ParsedSql parsed = ParseSqlParams(lines.Text());
  if (Active()) Close();
  sql_ = lines;
  parsed_text_ = std::move(parsed.text);
  params_.Rebuild(parsed.names);
}

void Query::SetSQL(StringView text) {
  StringList lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == StringView::npos) end = text.size();
    lines.Add(String(text.substr(start, end - start)));
    if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n')
      ++end;
    start = end + 1;
  }
  SetSQL(lines);
}

void Query::CheckReady() {
  if (!database_) throw Error(u"Database not assigned");
  if (!transaction_) throw Error(u"Transaction not assigned");
  database_->CheckConnected();
  if (!transaction_->Active()) {
    if (!transaction_->AllowAutoStart) throw Error(u"Transaction is not active");
    transaction_->StartTransaction();
  }
}

void Query::Prepare(const String& text) {
  ISC_STATUS_ARRAY status;
  if (Fb().dsql_alloc_statement2(status, database_->Handle(), &statement_)) RaiseStatus(status);
  const std::string sql = EncodeCodePage(text, database_->CodePage());
  const auto dialect = static_cast<unsigned short>(database_->SQLDialect());
  output_.Resize(1);
  if (Fb().dsql_prepare(status, transaction_->Handle(), &statement_, 0, sql.c_str(), dialect,
                        output_.Get()))
    RaiseStatus(status);
}

int Query::StatementType() {
  const char items[] = {isc_info_sql_stmt_type};
  char buffer[16] = {};
  ISC_STATUS_ARRAY status;
  if (Fb().dsql_sql_info(status, &statement_, sizeof items, items, sizeof buffer, buffer))
    RaiseStatus(status);
  if (buffer[0] != isc_info_sql_stmt_type) return 0;
  const short len = static_cast<short>(Fb().vax_integer(buffer + 1, 2));
  if (len < 1 || len > 4) return 0;
  return static_cast<int>(Fb().vax_integer(buffer + 3, len));
}

void Query::Run(Mode mode) {
  if (Active()) Close();
  CheckReady();
  if (Trim(StringView(parsed_text_)).empty()) throw Error(u"Empty query");
  try {
    Prepare(parsed_text_);
    const int type = StatementType();
    if (type == isc_info_sql_stmt_start_trans || type == isc_info_sql_stmt_commit ||
        type == isc_info_sql_stmt_rollback)
      throw Error(u"Not permitted");
    const bool returns_rows =
        type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
    if (mode != Mode::Exec && !returns_rows)
      throw Error(u"Cannot \"open\" a non-select statement. Use ExecQuery");

    ISC_STATUS_ARRAY status;
    const auto dialect = static_cast<unsigned short>(database_->SQLDialect());
    if (mode != Mode::Describe) BindInput();

    ++run_count_;
    columns_.clear();
    fields_.clear();
    ClearRows();
    if (returns_rows) {
      output_.Resize(1);
      if (Fb().dsql_describe(status, &statement_, dialect, output_.Get())) RaiseStatus(status);
      if (output_.Get()->sqld > output_.Get()->sqln) {
        output_.Resize(output_.Get()->sqld);
        if (Fb().dsql_describe(status, &statement_, dialect, output_.Get())) RaiseStatus(status);
      }
      output_.AllocateBuffers();
      for (int i = 0; i < output_.Count(); ++i) {
        columns_.push_back(DescribeColumn(output_.Var(i), database_->SQLDialect()));
        if (columns_.back().exposed) fields_.push_back(std::make_unique<Field>(*this, i));
      }
    }
    if (mode == Mode::Describe) {
      FreeStatement();
      return;
    }
    XSQLDA* in = input_.Count() > 0 ? input_.Get() : nullptr;
    if (Fb().dsql_execute(status, transaction_->Handle(), &statement_, dialect, in))
      RaiseStatus(status);
    if (mode == Mode::Exec) {
      FreeStatement();
      return;
    }
    fetched_all_ = false;
    current_ = -1;
    bof_ = true;
    eof_ = !FetchRow();
    if (!eof_) current_ = 0;
  } catch (...) {
    FreeStatement();
    throw;
  }
}

void Query::BindInput() {
  ISC_STATUS_ARRAY status;
  const auto dialect = static_cast<unsigned short>(database_->SQLDialect());
  input_.Resize(1);
  if (Fb().dsql_describe_bind(status, &statement_, dialect, input_.Get())) RaiseStatus(status);
  if (input_.Get()->sqld > input_.Get()->sqln) {
    input_.Resize(input_.Get()->sqld);
    if (Fb().dsql_describe_bind(status, &statement_, dialect, input_.Get())) RaiseStatus(status);
  }
  input_.AllocateBuffers();
  ApplyMasterValues();
  for (int i = 0; i < input_.Count() && i < static_cast<int>(params_.Count()); ++i)
    BindParam(params_[i], input_, i, *database_, *transaction_);
}

void Query::Describe() { Run(Mode::Describe); }

void Query::Open() {
  if (BeforeOpen) BeforeOpen();
  Run(Mode::Open);
  if (AfterOpen) AfterOpen();
  for (Query* detail : std::vector<Query*>(details_)) detail->MasterMoved();
}
void Query::ExecQuery() { Run(Mode::Exec); }

bool Query::FetchRow() {
  if (fetched_all_) return false;
  ISC_STATUS_ARRAY status;
  const ISC_STATUS rc = Fb().dsql_fetch(
      status, &statement_, static_cast<unsigned short>(database_->SQLDialect()), output_.Get());
  if (rc == 100) {
    fetched_all_ = true;
    return false;
  }
  if (rc) RaiseStatus(status);
  packing_.clear();
  for (int i = 0; i < output_.Count(); ++i) PackValue(output_.Var(i), packing_);
  rows_.Append(packing_);
  return true;
}

void Query::ClearRows() {
  rows_.Clear();
  current_row_.clear();
  decoded_row_ = -1;
}

const std::vector<Cell>& Query::CurrentRow() const {
  if (decoded_row_ != current_) {
    decoded_row_ = -1;
    current_row_.clear();
    std::string_view packed = rows_.Row(static_cast<size_t>(current_));
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i)
      current_row_.push_back(UnpackCell(output_.Var(i), columns_[i], database_->CodePage(), packed));
    decoded_row_ = current_;
  }
  return current_row_;
}

void Query::First() {
  bof_ = true;
  eof_ = rows_.Empty();
  SetCurrent(rows_.Empty() ? -1 : 0);
}

void Query::Next() {
  if (!Active()) throw Error(u"Dataset is not open");
  if (eof_) return;
  bof_ = false;
  if (current_ + 1 < static_cast<int>(rows_.Size()) || FetchRow())
    SetCurrent(current_ + 1);
  else
    eof_ = true;
}

void Query::Prior() {
  if (!Active()) throw Error(u"Dataset is not open");
  eof_ = false;
  if (current_ > 0)
    SetCurrent(current_ - 1);
  else
    bof_ = true;
}

Field* Query::FindField(StringView name) {
  for (auto& f : fields_)
    if (SameText(f->FieldName(), name)) return f.get();
  return nullptr;
}

Field& Query::FieldByName(StringView name) {
  if (Field* f = FindField(name)) return *f;
  throw Error(u"Field '" + String(name) + u"' not found");
}

void Query::FreeStatement() {
  if (!statement_) return;
  ISC_STATUS_ARRAY status;
  Fb().dsql_free_statement(status, &statement_, DSQL_drop);
  statement_ = 0;
}

void Query::Close() {
  if (Active() && BeforeClose) BeforeClose();
  FreeStatement();
  ClearRows();
  current_ = -1;
  eof_ = bof_ = true;
  fetched_all_ = true;
}

void Query::GotoBookmark(int bookmark) {
  if (!Active()) throw Error(u"Dataset is not open");
  if (bookmark < 0 || bookmark >= static_cast<int>(rows_.Size())) throw Error(u"Record not found");
  eof_ = bof_ = false;
  SetCurrent(bookmark);
}

void Query::SetCurrent(int row) {
  if (row == current_) return;
  current_ = row;
  for (Query* detail : std::vector<Query*>(details_)) detail->MasterMoved();
}

void Query::SetMaster(Query* master) {
  if (master == master_) return;
  for (Query* q = master; q; q = q->master_)
    if (q == this) throw Error(u"Circular datalinks are not allowed");
  if (master_) std::erase(master_->details_, this);
  master_ = master;
  if (master_) master_->details_.push_back(this);
}

void Query::MasterMoved() {
  if (Active()) Open();
}

void Query::ApplyMasterValues() {
  if (!master_ || !master_->Active()) return;
  for (size_t i = 0; i < params_.Count(); ++i) {
    Param& p = params_[i];
    Field* field = master_->FindField(p.Name);
    if (!field) continue;
    if (master_->current_ < 0 || field->IsNull()) {
      p.Clear();
    } else if (field->IsBlob() && field->DataType() != FieldType::ftMemo) {
      p.SetAsBytes(field->AsBytes());
    } else {
      p.DataType = field->IsBlob() ? FieldType::ftMemo : field->DataType();
      p.Value = field->Value();
    }
  }
}

}  // namespace zavrik::data
