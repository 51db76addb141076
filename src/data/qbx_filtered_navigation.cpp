// The filter of database data sets: records for which the Filter expression is not true are
// skipped by every walk of the data set.
#include "core/ustring.h"
#include "core/variant_compare.h"
#include "data/qbx_custom_dataset.h"
#include "data/query.h"
#include "report/model/qbx_report.h"

namespace zavrik::data {

bool TqbxCustomDataset::Filtering() const { return Filtered && !Trim(Filter).empty(); }

bool TqbxCustomDataset::Accepted() {
  TqbxReport* report = UsingReport();
  if (!Filtering() || !report) return true;
  const Variant value = report->Calc(Filter);
  return value.Kind() == VarKind::Boolean && value.BoolValue();
}

void TqbxCustomDataset::SkipRefused(int record_number) {
  while (!TqbxDBDataset::Eof() && !Accepted()) {
    TqbxDBDataset::Next();
    if (!FEof) RecNo = record_number;
  }
}

void TqbxCustomDataset::First() {
  TqbxDBDataset::First();
  if (Filtering()) SkipRefused(0);
}

void TqbxCustomDataset::Next() {
  const int next_record = RecNo + 1;
  TqbxDBDataset::Next();
  if (Filtering()) SkipRefused(next_record);
}

// Back to the previous record the filter takes (the first record when there is none).
void TqbxCustomDataset::Prior() {
  const int record_number = RecNo - 1;
  TqbxDBDataset::Prior();
  if (!Filtering()) return;
  Query* query = DataSet();
  while (query && !query->Bof() && !Accepted()) TqbxDBDataset::Prior();
  RecNo = record_number;
}

int TqbxCustomDataset::RecordCount() {
  if (!Filtering()) return TqbxDBDataset::RecordCount();
  Query* query = DataSet();
  if (!query || !query->Active()) return 0;
  const int bookmark = query->Bookmark();
  int count = 0;
  for (query->First(); !query->Eof(); query->Next())
    if (Accepted()) ++count;
  query->GotoBookmark(bookmark);
  return count;
}

}  // namespace zavrik::data
