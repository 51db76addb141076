// The process-wide list of data sources: data sources enter it when created and leave it when
// destroyed; reports look data sources up in it by name.
#pragma once

#include <mutex>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

class TqbxComponent;
class TqbxReportComponent;

// What the report layer asks of a data source; the data sources of the data layer implement it.
class TqbxDataSetLink {
 public:
  virtual ~TqbxDataSetLink() = default;
  // The name expressions use for the data source.
  virtual String DataSetUserName() const = 0;
  // The report that uses the data source (for its error list and evaluator).
  virtual void SetReportRef(TqbxComponent* report) = 0;
  // Before and after a report run.
  virtual void InitializeDataSet() = 0;
  virtual void FinalizeDataSet() = 0;
};

// The user name of a data source (its component name when it has none); empty for none.
String DataSetUserName(const TqbxReportComponent* data_set);

class TqbxGlobalDataSets {
 public:
  static void Add(TqbxReportComponent* data_set);
  static void Remove(TqbxReportComponent* data_set);
  // The first data source with that user name (case-insensitive) that belongs to `report` or to
  // no report.
  static TqbxReportComponent* Find(StringView name, const TqbxComponent* report);
  // Every listed data source, in order of creation.
  static std::vector<TqbxReportComponent*> All();
};

// The data source a report component names: through the global list, or the report's enabled
// data sources when the list is off; `current` when nothing is found, none for an empty name.
TqbxReportComponent* FindDataSet(const TqbxComponent& component, TqbxReportComponent* current, StringView name);

}  // namespace zavrik
