#include "data/qbx_custom_dataset.h"

#include "core/error.h"
#include "core/rtti_props.h"
#include "data/query.h"
#include "data/sql_params.h"
#include "report/model/qbx_report.h"
#include "report/model/qbx_strings.h"

namespace zavrik::data {

// --- TqbxCustomDataset

const ClassInfo& TqbxCustomDataset::StaticClass() {
  using C = TqbxCustomDataset;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomDataset", &TqbxDBDataset::StaticClass(), nullptr,
                              {
                                  zavrik::Field(u"CloseDataSource", &C::CloseDataSource).Default(1),
                                  zavrik::Field(u"Filter", &C::Filter),
                                  zavrik::Field(u"Filtered", &C::Filtered).Default(0),
                                  Prop(u"Active", &C::Active, &C::SetActive).Default(0),
                                  Prop(u"Master", &C::Master, &C::SetMaster).Reference(),
                                  Prop(u"MasterFields", &C::MasterFields, &C::SetMasterFields),
                              }); });
  return info;
}

TqbxCustomDataset::TqbxCustomDataset() { CloseDataSource = true; }

TqbxCustomDataset::~TqbxCustomDataset() {
  // Details of this data set lose their master.
  for (TqbxReportComponent* other : TqbxGlobalDataSets::All()) {
    auto* detail = dynamic_cast<TqbxCustomDataset*>(other);
    if (detail && detail != this && detail->FMaster == this) {
      detail->FMaster = nullptr;
      detail->FMasterSource.DataSet = nullptr;
    }
  }
}

void TqbxCustomDataset::SetMaster(TqbxDBDataset* value) {
  for (TqbxDBDataset* m = value; m;) {
    if (m == this) throw Error(u"Circular datalinks are not allowed");
    auto* custom = dynamic_cast<TqbxCustomDataset*>(m);
    m = custom ? custom->FMaster : nullptr;
  }
  FMaster = value;
  FMasterSource.DataSet = value ? value->DataSet() : nullptr;
  MasterChanged();
}

void TqbxCustomDataset::SetMasterFields(const String& value) {
  FMasterFields = value;
  MasterChanged();
}

std::vector<std::pair<String, String>> TqbxCustomDataset::MasterFieldPairs() const {
  std::vector<std::pair<String, String>> pairs;
  auto* master = dynamic_cast<const TqbxCustomDBDataSet*>(FMaster);
  size_t start = 0;
  while (start <= FMasterFields.size()) {
    size_t end = FMasterFields.find(u';', start);
    if (end == String::npos) end = FMasterFields.size();
    const String pair = FMasterFields.substr(start, end - start);
    const size_t eq = pair.find(u'=');
    if (eq != String::npos) {
      String detail(Trim(StringView(pair).substr(0, eq)));
      String master_field(Trim(StringView(pair).substr(eq + 1)));
      if (master) master_field = master->ConvertAlias(master_field);
      if (!detail.empty() && !master_field.empty()) pairs.emplace_back(detail, master_field);
    }
    start = end + 1;
  }
  return pairs;
}

bool TqbxCustomDataset::Active() const {
  Query* query = DataSet();
  return query && query->Active();
}

void TqbxCustomDataset::SetActive(bool value) {
  if (IsLoading) return;  // a template never opens a query while it is read
  Query* query = DataSet();
  if (!query) return;
  if (value && !query->Active()) query->Open();
  if (!value && query->Active()) query->Close();
}

// --- TqbxCustomQuery

const ClassInfo& TqbxCustomQuery::StaticClass() {
  using C = TqbxCustomQuery;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(
      u"TqbxCustomQuery", &TqbxCustomDataset::StaticClass(), nullptr,
      {
          Prop(u"IgnoreDupParams", &C::IgnoreDupParams, &C::SetIgnoreDupParams).Default(0),
          Prop(u"SQL", &C::SQL),
      }); });
  return info;
}

TqbxCustomQuery::TqbxCustomQuery() : FSQL(std::make_unique<TStrings>()) {}

TqbxCustomQuery::~TqbxCustomQuery() = default;

void TqbxCustomQuery::SyncParams() {
  const String text = FSQL->Text();
  if (FParamsBuilt && text == FParamsSource) return;
  FParams.Rebuild(ParseSqlParams(text).names, FIgnoreDupParams);
  FParamsSource = text;
  FParamsBuilt = true;
}

TqbxParams& TqbxCustomQuery::Params() {
  SyncParams();
  return FParams;
}

void TqbxCustomQuery::SetIgnoreDupParams(bool value) {
  FIgnoreDupParams = value;
  FParamsBuilt = false;
}

void TqbxCustomQuery::SyncSQL(Query& query) {
  StringList lines;
  for (const String& line : FSQL->Lines()) lines.Add(line);
  if (query.SQL().Lines() != lines.Lines()) query.SetSQL(lines);
}

void TqbxCustomQuery::PrepareQuery(Query& query) {
  SyncSQL(query);
  UpdateParams();
}

void TqbxCustomQuery::DescribeDataSet(Query& query) {
  SyncSQL(query);
  query.Describe();
}

void TqbxCustomQuery::UpdateParams() {
  Query* query = DataSet();
  if (!query || !IsConnected()) return;
  TqbxReport* report = UsingReport();
  const bool evaluating = report && !report->IsLoading && !report->IsDesigning && !IsLoading;
  TqbxEvaluator* evaluator = evaluating ? report : nullptr;
  TqbxComponent* saved_self = report ? report->SelfValue : nullptr;
  if (evaluator) evaluator->SetSelfValue(this);
  try {
    BindParams(Params(), query->Params(), evaluator);
  } catch (...) {
    if (evaluator) evaluator->SetSelfValue(saved_self);
    throw;
  }
  if (evaluator) evaluator->SetSelfValue(saved_self);
}

bool TqbxCustomQuery::ReadDefinedProperty(StringView name, TqbxPropReader& reader,
                                          TqbxXMLSerializer& serializer) {
  if (!SameTextAscii(name, u"Parameters")) return false;
  Params().ReadStored(reader, serializer);
  return true;
}

void TqbxCustomQuery::WriteDefinedProperties(TqbxPropWriter& writer) const {
  FParams.WriteStored(writer);
}

// --- TqbxCustomTable

const ClassInfo& TqbxCustomTable::StaticClass() {
  using C = TqbxCustomTable;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomTable", &TqbxCustomDataset::StaticClass(), nullptr,
                              {
                                  zavrik::Field(u"IndexName", &C::IndexName),
                                  zavrik::Field(u"IndexFieldNames", &C::IndexFieldNames),
                                  zavrik::Field(u"TableName", &C::TableName),
                              }); });
  return info;
}

namespace {

bool IsPlainIdentifier(StringView name) {
  if (name.empty() || (name[0] >= u'0' && name[0] <= u'9')) return false;
  for (char16_t c : name) {
    const bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                    (c >= u'0' && c <= u'9') || c == u'_' || c == u'$';
    if (!ok) return false;
  }
  return true;
}

// A name as SQL text: plain identifiers as they are, others quoted.
String SqlName(StringView name) {
  if (IsPlainIdentifier(name)) return String(name);
  String quoted = u"\"";
  for (char16_t c : name) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  return quoted + u"\"";
}

// "A;B" as "A, B", each name as SQL text.
String NameList(StringView names) {
  String list;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(u';', start);
    if (end == StringView::npos) end = names.size();
    const String name = Trim(names.substr(start, end - start));
    if (!name.empty()) list += (list.empty() ? u"" : u", ") + SqlName(name);
    start = end + 1;
  }
  return list;
}

}  // namespace

void TqbxCustomTable::DescribeDataSet(Query& query) {
  query.SetSQL(SelectText());
  query.Describe();
}

String TqbxCustomTable::SelectText() const {
  if (Trim(StringView(TableName)).empty()) throw Error(u"Table name is missing");
  String sql = u"SELECT * FROM " + SqlName(Trim(StringView(TableName)));
  String where;
  String order;
  for (const auto& [detail, master] : MasterFieldPairs()) {
    where += (where.empty() ? u" WHERE " : u" AND ") + SqlName(detail) + u" = :" + SqlName(master);
    order += (order.empty() ? u"" : u";") + detail;
  }
  if (!IndexFieldNames.empty()) order = IndexFieldNames;
  sql += where;
  if (const String fields = NameList(order); !fields.empty()) sql += u" ORDER BY " + fields;
  return sql;
}

}  // namespace zavrik::data
