// Data: entries of the data-source list that name nothing, data bands that would print nothing
// for want of records, and (with a database) template queries and tables whose statements the
// database refuses.
#include "core/error.h"
#include "core/string_list.h"
#include "data/ibx_components.h"
#include "engine/run/qbx_engine_data_source.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_report.h"
#include "template_check.h"

namespace zavrik::tool {
namespace {

void CheckBand(TqbxDataBand& band, CheckFindings& findings) {
  if (TqbxEngineDataSource(band).Exists()) return;
  findings.Add(band.Name(), u"no data source",
               u"the data band has no DataSet and no RowCount: it prints nothing");
}

// Prepares the statement of a query or table over its connection and learns its fields.
void CheckStatement(TqbxComponent& object, CheckFindings& findings) {
  try {
    if (auto* query = dynamic_cast<data::TqbxIBXQuery*>(&object)) {
      query->BindConnection();
      StringList lines;
      for (const String& line : query->SQL()->Lines()) lines.Add(line);
      query->GetQuery().SetSQL(lines);
      query->GetQuery().Describe();
    } else if (auto* table = dynamic_cast<data::TqbxIBXTable*>(&object)) {
      table->BindConnection();
      std::vector<String> fields;
      table->GetFieldList(fields);
    }
  } catch (const Error& e) {
    findings.Add(object.Name(), u"query", u"the database refuses the statement: " + e.Message());
  }
}

// An entry of the report's data-source list whose data source was not found: expressions
// naming it find no fields.
void CheckDataSetList(TqbxReport& report, CheckFindings& findings) {
  for (int i = 0; i < report.DataSets().Count(); ++i) {
    const TqbxDataSetItem& item = report.DataSets().Item(i);
    if (item.DataSet()) continue;
    findings.Add(u"Report", u"missing reference",
                 u"the data-source list names " + item.DataSetName() +
                     u", which the template does not have: its fields are unknown to expressions");
  }
}

}  // namespace

void CheckData(TqbxReport& report, bool with_database, CheckFindings& findings) {
  CheckDataSetList(report, findings);
  for (TqbxComponent* object : report.AllObjects()) {
    if (auto* band = dynamic_cast<TqbxDataBand*>(object)) CheckBand(*band, findings);
    if (with_database) CheckStatement(*object, findings);
  }
}

}  // namespace zavrik::tool
