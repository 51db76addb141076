#include "data/param_binding.h"

#include <cstring>

#include "core/codepage.h"
#include "core/error.h"
#include "data/blob_io.h"
#include "data/column.h"
#include "data/connection.h"
#include "data/param_values.h"

namespace zavrik::data {
namespace {

constexpr int kCharsetOctets = 1;

class Binder {
 public:
  Binder(Sqlda& input, int index, Connection& db, Transaction& tr)
      : input_(input), index_(index), var_(input.Var(index)), marker_type_(BaseSqlType(var_)),
        db_(db), tr_(tr) {}

  void Null() {
    var_.sqltype = static_cast<ISC_SHORT>(var_.sqltype | 1);
    *var_.sqlind = -1;
  }

  template <typename T>
  void Fixed(int sql_type, T value, int scale = 0) {
    Set(sql_type, sizeof(T), scale);
    std::memcpy(var_.sqldata, &value, sizeof(T));
  }

  void Bytes(int sql_type, std::string_view bytes, int subtype) {
    Set(sql_type, bytes.size(), 0);
    var_.sqlsubtype = static_cast<ISC_SHORT>(subtype);
    std::memcpy(var_.sqldata, bytes.data(), bytes.size());
  }

  void Blob(std::string_view bytes) { Fixed(SQL_BLOB, WriteBlob(db_, tr_, bytes)); }

  void DateTimeValue(int sql_type, double value) {
    ISC_DATE date;
    ISC_TIME time;
    DateTimeToIsc(value, date, time);
    if (sql_type == SQL_TYPE_DATE) Fixed(SQL_TYPE_DATE, date);
    else if (sql_type == SQL_TYPE_TIME) Fixed(SQL_TYPE_TIME, time);
    else Fixed(SQL_TIMESTAMP, ISC_TIMESTAMP{date, time});
  }

  void Text(StringView text) {
    switch (marker_type_) {
      case SQL_TEXT:
      case SQL_VARYING: {
        const int subtype = var_.sqlsubtype;
        Bytes(SQL_TEXT, EncodeCodePage(text, db_.CodePage()), subtype);
        break;
      }
      case SQL_BLOB: Blob(EncodeCodePage(text, db_.CodePage())); break;
      case SQL_TIMESTAMP:
      case SQL_TYPE_DATE:
      case SQL_TYPE_TIME: DateTimeValue(marker_type_, ParseDateTimeText(text)); break;
      default:
        if (text.empty()) Null();
        else Bytes(SQL_TEXT, EncodeCodePage(text, db_.CodePage()), 0);
    }
  }

  void RawBytes(std::string_view bytes) {
    if (marker_type_ == SQL_BLOB) Blob(bytes);
    else Bytes(SQL_TEXT, bytes, kCharsetOctets);
  }

 private:
  // Changes the variable's type (the server converts to the described one) and gives it a buffer.
  void Set(int sql_type, size_t size, int scale) {
    if (size > 32767) throw Error(u"Parameter value is longer than 32767 bytes");
    var_.sqltype = static_cast<ISC_SHORT>(sql_type | 1);
    var_.sqlscale = static_cast<ISC_SHORT>(scale);
    var_.sqllen = static_cast<ISC_SHORT>(size);
    input_.SetBuffer(index_, size);
    *var_.sqlind = 0;
  }

  Sqlda& input_;
  int index_;
  XSQLVAR& var_;
  int marker_type_;
  Connection& db_;
  Transaction& tr_;
};

}  // namespace

void BindParam(const Param& p, Sqlda& input, int index, Connection& db, Transaction& tr) {
  Binder bind(input, index, db, tr);
  if (p.IsNull()) return bind.Null();
  using enum FieldType;
  switch (p.DataType) {
    case ftString: case ftFixedChar: case ftWideString: case ftFixedWideChar:
    case ftMemo: case ftFmtMemo: case ftWideMemo:
      return bind.Text(ParamText(p.Value));
    case ftSmallint: case ftWord:
      return bind.Fixed(SQL_SHORT, static_cast<int16_t>(ParamInteger(p.Value, INT16_MIN, INT16_MAX)));
    case ftInteger: case ftAutoInc:
      return bind.Fixed(SQL_LONG, static_cast<int32_t>(ParamInteger(p.Value, INT32_MIN, INT32_MAX)));
    case ftLargeint: return bind.Fixed(SQL_INT64, ParamInteger(p.Value, INT64_MIN, INT64_MAX));
    case ftBoolean: return bind.Fixed(SQL_BOOLEAN, static_cast<char>(ParamBoolean(p.Value) ? 1 : 0));
    case ftFloat: return bind.Fixed(SQL_DOUBLE, ParamDouble(p.Value));
    case ftCurrency: case ftBCD: return bind.Fixed(SQL_INT64, ParamCurrency(p.Value).scaled, -4);
    case ftFMTBcd: return bind.Text(ParamText(p.Value));
    case ftDate: return bind.DateTimeValue(SQL_TYPE_DATE, ParamDateTime(p.Value));
    case ftTime: return bind.DateTimeValue(SQL_TYPE_TIME, ParamDateTime(p.Value));
    case ftDateTime: case ftTimeStamp:
      return bind.DateTimeValue(SQL_TIMESTAMP, ParamDateTime(p.Value));
    case ftBytes: case ftVarBytes: case ftBlob: case ftGraphic: case ftTypedBinary: case ftOraBlob:
      return bind.RawBytes(p.Bytes);
    default: throw Error(u"Unsupported feature");
  }
}

}  // namespace zavrik::data
