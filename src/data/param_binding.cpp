#include "data/param_binding.h"

#include <algorithm>
#include <cstring>

#include "core/codepage.h"
#include "core/datetime_parse.h"
#include "core/error.h"
#include "core/number_parse.h"
#include "core/variant_convert.h"
#include "data/blob_io.h"
#include "data/column.h"
#include "data/connection.h"

namespace zavrik::data {
namespace {

constexpr int kCharsetOctets = 1;

// The value as a decimal text the server reads: "." as the separator. A text (a parameter's value
// is assigned as its text form) is read with the locale's separator, as the other numeric kinds
// read it, and keeps all its digits; a text that is no number goes as it is, for the server to
// refuse.
String DecimalText(const Variant& v) {
  FormatSettings fs = DefaultFormatSettings();
  if (v.IsString()) {
    String text = v.StringValue();
    if (fs.decimal_separator != u'.' && ParseFloat(text, fs))
      std::replace(text.begin(), text.end(), fs.decimal_separator, u'.');
    return text;
  }
  fs.decimal_separator = u'.';
  return VarToString(v, fs);
}

int16_t SmallInteger(const Variant& v) {
  const int32_t value = VarToInteger(v);
  if (value < INT16_MIN || value > INT16_MAX) throw Error(u"Range check error");
  return static_cast<int16_t>(value);
}

class Binder {
 public:
  Binder(Sqlda& input, int index, Connection& db, Transaction& tr)
      : input_(input),
        index_(index),
        var_(input.Var(index)),
        marker_type_(BaseSqlType(var_)),
        db_(db),
        tr_(tr) {}

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
    if (sql_type == SQL_TYPE_DATE)
      Fixed(SQL_TYPE_DATE, date);
    else if (sql_type == SQL_TYPE_TIME)
      Fixed(SQL_TYPE_TIME, time);
    else
      Fixed(SQL_TIMESTAMP, ISC_TIMESTAMP{date, time});
  }

  void Text(StringView text) {
    switch (marker_type_) {
      case SQL_TEXT:
      case SQL_VARYING: {
        const int subtype = var_.sqlsubtype;
        Bytes(SQL_TEXT, EncodeCodePage(text, db_.CodePage()), subtype);
        break;
      }
      case SQL_BLOB:
        Blob(EncodeCodePage(text, db_.CodePage()));
        break;
      case SQL_TIMESTAMP:
      case SQL_TYPE_DATE:
      case SQL_TYPE_TIME:
        DateTimeValue(marker_type_, StrToDateTime(text));
        break;
      default:
        if (text.empty())
          Null();
        else
          Bytes(SQL_TEXT, EncodeCodePage(text, db_.CodePage()), 0);
    }
  }

  void RawBytes(std::string_view bytes) {
    if (marker_type_ == SQL_BLOB)
      Blob(bytes);
    else
      Bytes(SQL_TEXT, bytes, kCharsetOctets);
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

// A parameter stored without a type is bound as its value came: dates as timestamps, booleans and
// numbers as such, anything else as text (the server converts to the described type).
void BindUntyped(Binder& bind, const Variant& value) {
  switch (value.Kind()) {
    case VarKind::Date:
      return bind.DateTimeValue(SQL_TIMESTAMP, VarToDate(value));
    case VarKind::Boolean:
      return bind.Fixed(SQL_BOOLEAN, static_cast<char>(VarToBoolean(value) ? 1 : 0));
    case VarKind::ShortInt:
    case VarKind::Byte:
    case VarKind::SmallInt:
    case VarKind::Word:
    case VarKind::Integer:
    case VarKind::LongWord:
    case VarKind::Int64:
      return bind.Fixed(SQL_INT64, VarToInt64(value));
    case VarKind::Single:
    case VarKind::Double:
      return bind.Fixed(SQL_DOUBLE, VarToDouble(value));
    case VarKind::Currency:
      return bind.Fixed(SQL_INT64, VarToCurrency(value).scaled, -4);
    default:
      return bind.Text(VarToString(value));
  }
}

}  // namespace

void BindParam(const Param& p, Sqlda& input, int index, Connection& db, Transaction& tr) {
  Binder bind(input, index, db, tr);
  if (p.IsNull()) return bind.Null();
  using enum FieldType;
  switch (p.DataType) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftFixedWideChar:
    case ftMemo:
    case ftFmtMemo:
    case ftWideMemo:
      return bind.Text(VarToString(p.Value));
    case ftSmallint:
    case ftWord:
      return bind.Fixed(SQL_SHORT, SmallInteger(p.Value));
    case ftInteger:
    case ftAutoInc:
      return bind.Fixed(SQL_LONG, VarToInteger(p.Value));
    case ftLargeint:
      return bind.Fixed(SQL_INT64, VarToInt64(p.Value));
    case ftBoolean:
      return bind.Fixed(SQL_BOOLEAN, static_cast<char>(VarToBoolean(p.Value) ? 1 : 0));
    case ftFloat:
      return bind.Fixed(SQL_DOUBLE, VarToDouble(p.Value));
    case ftCurrency:
    case ftBCD:
      return bind.Fixed(SQL_INT64, VarToCurrency(p.Value).scaled, -4);
    case ftFMTBcd:
      return bind.Text(DecimalText(p.Value));
    case ftDate:
      return bind.DateTimeValue(SQL_TYPE_DATE, VarToDate(p.Value));
    case ftTime:
      return bind.DateTimeValue(SQL_TYPE_TIME, VarToDate(p.Value));
    case ftDateTime:
    case ftTimeStamp:
      return bind.DateTimeValue(SQL_TIMESTAMP, VarToDate(p.Value));
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftTypedBinary:
    case ftOraBlob:
      return bind.RawBytes(p.Bytes);
    case ftUnknown:
      return BindUntyped(bind, p.Value);
    default:
      throw Error(u"Unsupported feature");
  }
}

}  // namespace zavrik::data
