// Column descriptions and the values of fetched rows.
#pragma once

#include <ibase.h>

#include <string>

#include "core/variant.h"
#include "data/field_type.h"

namespace zavrik::data {

struct ColumnDef {
  String name;  // the column's alias as the statement describes it
  FieldType type = FieldType::ftUnknown;
  int sql_type = 0;
  int sql_scale = 0;
  int sql_subtype = 0;
  int size = 0;         // characters for text columns, bytes otherwise
  bool exposed = true;  // ARRAY and unknown types are not fields
};

// One value of a fetched row. BLOB columns keep their id; the content is read on demand.
struct Cell {
  Variant value;  // Null when the column is null
  ISC_QUAD blob_id{};
  std::string exact_decimal;  // the exact text of an arbitrary-precision decimal
};

// The description of an output variable; dialect decides scaled INTEGER columns beyond 4 decimals.
ColumnDef DescribeColumn(const XSQLVAR& var, int sql_dialect);

// The value held in an output variable's buffer.
Cell DecodeCell(const XSQLVAR& var, const ColumnDef& column, int code_page);

// Appends the value held in an output variable's buffer to a packed row: a null flag, then the
// value's bytes (a varying text only up to its length).
void PackValue(const XSQLVAR& var, std::string& row);
// Decodes the next packed value of a row (as DecodeCell would) and moves `row` past it.
Cell UnpackCell(const XSQLVAR& var, const ColumnDef& column, int code_page, std::string_view& row);

// Days since 1899-12-30 from the client's date (days since 1858-11-17) and time (1/10000 s).
double DateTimeFromIsc(int isc_date, unsigned isc_time);
void DateTimeToIsc(double value, ISC_DATE& date, ISC_TIME& time);

}  // namespace zavrik::data
