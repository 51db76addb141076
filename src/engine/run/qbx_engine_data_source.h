// The records a data band, page or report iterates: a report data set (TqbxDataSet), or the
// RowCount empty records of a data band without one.
#pragma once

#include "data/qbx_data_set.h"
#include "report/model/qbx_band.h"

namespace zavrik {

class TqbxEngineDataSource {
 public:
  explicit TqbxEngineDataSource(TqbxReportComponent* data_set)
      : FDataSet(dynamic_cast<data::TqbxDataSet*>(data_set)) {}
  explicit TqbxEngineDataSource(TqbxDataBand& band);

  bool Exists() const { return FDataSet || FRecords; }
  void First();
  void Next();
  // Steps back one record; false when the data source refused.
  bool Prior();
  bool Eof();

 private:
  data::TqbxDataSet* FDataSet = nullptr;
  TqbxBandRecords* FRecords = nullptr;
};

}  // namespace zavrik
