#include "engine/run/qbx_engine_data_source.h"

#include "core/error.h"

namespace zavrik {

TqbxEngineDataSource::TqbxEngineDataSource(TqbxDataBand& band)
    : FDataSet(dynamic_cast<data::TqbxDataSet*>(band.DataSet())) {
  if (!FDataSet && !band.DataSet() && band.RowCount() > 0) FRecords = &band.Records();
}

void TqbxEngineDataSource::First() {
  if (FDataSet)
    FDataSet->First();
  else if (FRecords)
    FRecords->First();
}

void TqbxEngineDataSource::Next() {
  if (FDataSet)
    FDataSet->Next();
  else if (FRecords)
    FRecords->Next();
}

bool TqbxEngineDataSource::Prior() {
  try {
    if (FDataSet)
      FDataSet->Prior();
    else if (FRecords)
      FRecords->Prior();
    return true;
  } catch (const Error&) {
    return false;
  }
}

bool TqbxEngineDataSource::Eof() {
  if (FDataSet) return FDataSet->Eof();
  return !FRecords || FRecords->Eof();
}

}  // namespace zavrik
