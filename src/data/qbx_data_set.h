// TqbxDataSet: the record iterator the engine and expressions use, with its range (RangeBegin,
// RangeEnd, RangeEndCount), script events and the report-facing interfaces (field values for data
// memos, the data-set link of the report's list). TqbxUserDataSet keeps the base behaviour.
#pragma once

#include <memory>
#include <vector>

#include "report/model/qbx_data_field.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_report_component.h"

namespace zavrik {
class TStrings;
class TqbxReport;
}  // namespace zavrik

namespace zavrik::data {

enum TqbxRangeBegin : int32_t { rbFirst, rbCurrent };
enum TqbxRangeEnd : int32_t { reLast, reCurrent, reCount };

// What FieldType answers: text (memos included), booleans, dates and times, anything else.
enum TqbxFieldType : int32_t { fftNumeric, fftString, fftBoolean, fftDateTime };

class TqbxDataSet : public TqbxDialogComponent,
                    public TqbxFieldSource,
                    public TqbxReportDataSource,
                    public TqbxScriptDataSource {
 public:
  TqbxDataSet();
  ~TqbxDataSet() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxFieldSource* AsFieldSource() override { return this; }
  const TqbxReportDataSource* AsReportDataSource() const override { return this; }

  // --- fields
  String DisplayText(StringView field) override { return String(); }
  int DisplayWidth(StringView field) override { return 10; }
  virtual TqbxFieldType FieldType(StringView field) { return fftNumeric; }
  Variant Value(StringView field) override { return Variant::Null(); }
  int FieldsCount() override { return 0; }
  bool IsBlobField(StringView field) override { return false; }
  virtual bool IsWideMemoBlobField(StringView field) { return false; }
  virtual bool IsHasMaster() { return false; }
  int RecordCount() override;
  // The content of a BLOB field as text; nothing in the base.
  virtual void AssignBlobTo(StringView field, TStrings& target) {}
  void GetFieldList(std::vector<String>& list) override { list.clear(); }
  // Whether the field list holds the name (case-insensitive).
  bool HasField(StringView field) override;

  // --- records
  void Initialize() override {}
  void Finalize() override {}
  void Open() override;
  void Close() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;

  // --- properties
  String UserName() const override { return FUserName.empty() ? Name() : FUserName; }
  // Raises "prInvProp" for an empty or blank name.
  virtual void SetUserName(const String& value);
  bool Enabled = true;
  bool OpenDataSource = true;
  bool CloseDataSource = false;
  TqbxRangeBegin RangeBegin = rbFirst;
  TqbxRangeEnd RangeEnd = reLast;
  int32_t RangeEndCount = 0;
  String OnCheckEOF, OnFirst, OnNext, OnPrior, OnOpen, OnClose;

  // --- state
  int32_t RecNo = 0;  // within the range, from 0
  int RecordNumber() override { return RecNo; }
  bool Initialized = false;
  // The report that uses the data set; its own report when none was given.
  TqbxComponent* ReportRef() const;

  // TqbxFieldSource (data memos)
  Variant FieldValue(StringView field) override { return Value(field); }
  int FieldTypeCode(StringView field) override { return FieldType(field); }
  String FieldDisplayText(StringView field) override { return DisplayText(field); }
  String BlobText(StringView field) override;
  // TqbxReportDataSource (the report's data-source list)
  void SetReportRef(TqbxComponent* report) override { FReportRef = report; }

 protected:
  // Runs the script procedure `event` with this data set as the sender.
  void DoEvent(const String& event);
  // The answer of OnCheckEOF: the handler's Boolean result replaces `eof`.
  bool CheckEof(bool eof);
  // Adds a message to the using report's error list (nothing outside a report).
  void AddReportError(const String& message);
  TqbxReport* UsingReport() const;
  bool FEof = false;

 private:
  String FUserName;
  TqbxComponent* FReportRef = nullptr;
};

// Fields named in `Fields`; their values come from the script function named by `OnGetValue`,
// called with the field name.
class TqbxUserDataSet : public TqbxDataSet {
 public:
  TqbxUserDataSet();
  ~TqbxUserDataSet() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TStrings* Fields() const { return FFields.get(); }
  void GetFieldList(std::vector<String>& list) override;
  int FieldsCount() override;
  Variant Value(StringView field) override;
  String DisplayText(StringView field) override;
  String OnGetValue;

 private:
  std::unique_ptr<TStrings> FFields;
};

// The event and range properties every data-set class publishes.
PropList DataSetProps();
const EnumType& RangeBeginType();
const EnumType& RangeEndType();

}  // namespace zavrik::data
