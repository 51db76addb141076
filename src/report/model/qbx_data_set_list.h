// The process-wide list of data sources: data sources enter it when created and leave it when
// destroyed; reports look data sources up in it by name. TqbxDataSetLink is the data-source
// binding of report objects (pages, data bands, views, the report).
#pragma once

#include <mutex>
#include <vector>

#include "core/ustring.h"
#include "report/model/qbx_ref.h"
#include "report/model/qbx_report_component.h"

namespace zavrik {

class TqbxGlobalDataSets {
 public:
  static void Add(TqbxReportComponent* data_set);
  static void Remove(TqbxReportComponent* data_set);
  // The first data source of that user name (case-insensitive) that belongs to `report` or to no
  // report.
  static TqbxReportComponent* Find(StringView name, const TqbxComponent* report);
  // Every listed data source, in order of creation.
  static std::vector<TqbxReportComponent*> All();
};

// The data source a report component names: through the global list, or the report's enabled
// data sources when the list is off; `current` when nothing is found, none for an empty name.
TqbxReportComponent* FindDataSet(const TqbxComponent& component, TqbxReportComponent* current, StringView name);

// The user name of a data source that has one, else its component name; empty for none.
String DataSetUserName(const TqbxComponent* data_set);

// A bound data source and the name it was given by. The reference empties when the data source
// is destroyed; the name stays.
class TqbxDataSetLink {
 public:
  TqbxReportComponent* DataSet() const { return FDataSet; }
  // Stores the reference and takes the data source's user name.
  void SetDataSet(TqbxReportComponent* value);
  // The referenced data source's user name, else the stored name.
  String Name() const;
  // Stores the name and looks the data source up by it from `owner`.
  void SetName(const TqbxComponent& owner, const String& value);
  void Clear();

 private:
  TqbxRef<TqbxReportComponent> FDataSet;
  String FName;
};

}  // namespace zavrik
