#include "data/column.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <algorithm>

#include "core/codepage.h"
#include "data/sqlda.h"

namespace zavrik::data {
namespace {

constexpr int kSqlBooleanInterBase = 590;
constexpr int kIscDateOf18991230 = 15018;
constexpr double kIscTimeUnitsPerDay = 86400.0 * 10000.0;

int BytesPerChar(int charset_id) {
  switch (charset_id & 0xFF) {
    case 3:
      return 3;  // UNICODE_FSS
    case 4:
    case 69:
      return 4;  // UTF8, GB18030
    case 5:
    case 6:
    case 44:
    case 56:
    case 57:
    case 67:
    case 68:
      return 2;  // multi-byte Asian sets
    default:
      return 1;
  }
}

int64_t Pow10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

int64_t ReadInteger(const XSQLVAR& var) {
  switch (BaseSqlType(var)) {
    case SQL_SHORT: {
      int16_t v;
      std::memcpy(&v, var.sqldata, 2);
      return v;
    }
    case SQL_LONG: {
      int32_t v;
      std::memcpy(&v, var.sqldata, 4);
      return v;
    }
    default: {
      int64_t v;
      std::memcpy(&v, var.sqldata, 8);
      return v;
    }
  }
}

// The exact decimal text of an unscaled value with scale digits after the point.
std::string DecimalText(int64_t unscaled, int scale) {
  const bool negative = unscaled < 0;
  std::string digits =
      std::to_string(negative ? -static_cast<uint64_t>(unscaled) : static_cast<uint64_t>(unscaled));
  if (static_cast<int>(digits.size()) <= scale) digits.insert(0, scale - digits.size() + 1, '0');
  digits.insert(digits.size() - scale, ".");
  return negative ? "-" + digits : digits;
}

}  // namespace

double DateTimeFromIsc(int isc_date, unsigned isc_time) {
  const double days = isc_date - kIscDateOf18991230;
  const double fraction = isc_time / kIscTimeUnitsPerDay;
  return days < 0 ? days - fraction : days + fraction;
}

void DateTimeToIsc(double value, ISC_DATE& date, ISC_TIME& time) {
  const double days = std::trunc(value);
  const double fraction = std::fabs(value - days);
  date = static_cast<ISC_DATE>(days) + kIscDateOf18991230;
  double units = std::round(fraction * kIscTimeUnitsPerDay);
  if (units >= kIscTimeUnitsPerDay) units = kIscTimeUnitsPerDay - 1;
  time = static_cast<ISC_TIME>(units);
}

ColumnDef DescribeColumn(const XSQLVAR& var, int sql_dialect) {
  ColumnDef c;
  c.name = Utf8ToString(std::string_view(var.aliasname, var.aliasname_length));
  c.sql_type = BaseSqlType(var);
  c.sql_scale = var.sqlscale;
  c.sql_subtype = var.sqlsubtype;
  c.size = var.sqllen;
  switch (c.sql_type) {
    case SQL_TEXT:
    case SQL_VARYING:
      c.type = FieldType::ftString;
      c.size = var.sqllen / BytesPerChar(var.sqlsubtype);
      break;
    case SQL_SHORT:
      c.type = var.sqlscale == 0 ? FieldType::ftSmallint : FieldType::ftBCD;
      break;
    case SQL_LONG:
      if (var.sqlscale == 0)
        c.type = FieldType::ftInteger;
      else if (var.sqlscale >= -4)
        c.type = FieldType::ftBCD;
      else
        c.type = sql_dialect == 1 ? FieldType::ftFloat : FieldType::ftFMTBcd;
      break;
    case SQL_INT64:
      if (var.sqlscale == 0)
        c.type = FieldType::ftLargeint;
      else if (var.sqlscale >= -4)
        c.type = FieldType::ftBCD;
      else
        c.type = FieldType::ftFMTBcd;
      break;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      c.type = FieldType::ftFloat;
      break;
    case SQL_TIMESTAMP:
      c.type = FieldType::ftDateTime;
      break;
    case SQL_TYPE_DATE:
      c.type = FieldType::ftDate;
      break;
    case SQL_TYPE_TIME:
      c.type = FieldType::ftTime;
      break;
    case SQL_BOOLEAN:
    case kSqlBooleanInterBase:
      c.type = FieldType::ftBoolean;
      break;
    case SQL_BLOB:
      c.type = var.sqlsubtype == 1 ? FieldType::ftMemo : FieldType::ftBlob;
      break;
    default:
      c.exposed = false;
      break;
  }
  return c;
}

Cell DecodeCell(const XSQLVAR& var, const ColumnDef& column, int code_page) {
  Cell cell;
  if ((var.sqltype & 1) && var.sqlind && *var.sqlind == -1) {
    cell.value = Variant::Null();
    return cell;
  }
  const char* data = var.sqldata;
  switch (column.sql_type) {
    case SQL_TEXT: {
      String text = DecodeCodePage(std::string_view(data, var.sqllen), code_page);
      // Multi-byte sets pad CHAR columns to their byte length: keep the declared characters.
      while (text.size() > static_cast<size_t>(column.size) && text.back() == u' ') text.pop_back();
      cell.value = Variant(std::move(text));
      break;
    }
    case SQL_VARYING: {
      uint16_t len;
      std::memcpy(&len, data, 2);
      if (len > var.sqllen) len = var.sqllen;
      cell.value = Variant(DecodeCodePage(std::string_view(data + 2, len), code_page));
      break;
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
      const int64_t raw = ReadInteger(var);
      const int scale = -column.sql_scale;
      if (column.type == FieldType::ftSmallint)
        cell.value = Variant(static_cast<int16_t>(raw));
      else if (column.type == FieldType::ftInteger)
        cell.value = Variant(static_cast<int32_t>(raw));
      else if (column.type == FieldType::ftLargeint)
        cell.value = Variant(raw);
      else if (int64_t scaled; column.type == FieldType::ftBCD &&
                               !__builtin_mul_overflow(raw, Pow10(4 - scale), &scaled))
        cell.value = Variant(Currency::FromScaled(scaled));
      else {  // beyond the fixed-point range, or more than 4 decimals
        cell.value = Variant(static_cast<double>(raw) / std::pow(10.0, scale));
        if (column.type == FieldType::ftFMTBcd) cell.exact_decimal = DecimalText(raw, scale);
      }
      break;
    }
    case SQL_FLOAT: {
      float v;
      std::memcpy(&v, data, 4);
      cell.value = Variant(static_cast<double>(v));
      break;
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
      double v;
      std::memcpy(&v, data, 8);
      cell.value = Variant(v);
      break;
    }
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP ts;
      std::memcpy(&ts, data, sizeof ts);
      cell.value = Variant(DateTime{DateTimeFromIsc(ts.timestamp_date, ts.timestamp_time)});
      break;
    }
    case SQL_TYPE_DATE: {
      ISC_DATE d;
      std::memcpy(&d, data, sizeof d);
      cell.value = Variant(DateTime{DateTimeFromIsc(d, 0)});
      break;
    }
    case SQL_TYPE_TIME: {
      ISC_TIME t;
      std::memcpy(&t, data, sizeof t);
      cell.value = Variant(DateTime{t / (86400.0 * 10000.0)});
      break;
    }
    case SQL_BOOLEAN:
    case kSqlBooleanInterBase:
      cell.value = Variant(data[0] != 0);
      break;
    case SQL_BLOB:
      std::memcpy(&cell.blob_id, data, sizeof cell.blob_id);
      break;
    default:
      break;
  }
  return cell;
}

void PackValue(const XSQLVAR& var, std::string& row) {
  const bool null = (var.sqltype & 1) && var.sqlind && *var.sqlind == -1;
  row.push_back(null ? 1 : 0);
  if (null) return;
  size_t size = static_cast<size_t>(var.sqllen);
  if (BaseSqlType(var) == SQL_VARYING) {
    uint16_t len;
    std::memcpy(&len, var.sqldata, 2);
    size = 2 + std::min<size_t>(len, static_cast<size_t>(var.sqllen));
  }
  row.append(var.sqldata, size);
}

Cell UnpackCell(const XSQLVAR& var, const ColumnDef& column, int code_page, std::string_view& row) {
  XSQLVAR packed = var;
  short indicator = row.at(0) ? -1 : 0;
  packed.sqlind = &indicator;
  packed.sqltype = static_cast<short>(var.sqltype | 1);
  row.remove_prefix(1);
  if (indicator == -1) return DecodeCell(packed, column, code_page);
  size_t size = static_cast<size_t>(var.sqllen);
  if (BaseSqlType(var) == SQL_VARYING) {
    uint16_t len;
    std::memcpy(&len, row.data(), 2);
    size = 2 + size_t{len};
  }
  if (size > row.size()) throw std::out_of_range("packed row too short");
  packed.sqldata = const_cast<char*>(row.data());
  row.remove_prefix(size);
  return DecodeCell(packed, column, code_page);
}

}  // namespace zavrik::data
