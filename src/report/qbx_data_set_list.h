// The process-wide list of data sources: data sources enter it when created and leave it when
// destroyed; reports look data sources up in it by name.
#pragma once

#include <mutex>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

class TqbxComponent;
class TqbxReportComponent;

class TqbxGlobalDataSets {
 public:
  static void Add(TqbxReportComponent* data_set);
  static void Remove(TqbxReportComponent* data_set);
  // The first data source of that name (case-insensitive) that belongs to `report` or to no report.
  static TqbxReportComponent* Find(StringView name, const TqbxComponent* report);
};

// The data source a report component names: through the global list, or the report's enabled
// data sources when the list is off; `current` when nothing is found, none for an empty name.
TqbxReportComponent* FindDataSet(const TqbxComponent& component, TqbxReportComponent* current, StringView name);

}  // namespace zavrik
