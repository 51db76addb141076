// What the engine needs of host objects beyond reflection: forms and data modules publish their
// owned components by name. The report layer and the program's data module implement it.
#pragma once

#include <vector>

#include "core/ustring.h"

namespace zavrik {

class Object;

class TqsComponentOwner {
 public:
  enum Kind { ckForm, ckDataModule, ckFrame, ckOther };
  virtual ~TqsComponentOwner() = default;
  // How AddComponent registers the owner's class: a TForm, TDataModule or TFrame descendant;
  // ckOther: not published.
  virtual Kind ComponentOwnerKind() const { return ckDataModule; }
  virtual String ComponentName() const = 0;
  // The components it owns, in order.
  virtual std::vector<Object*> OwnedComponents() const = 0;
  virtual String ComponentNameOf(const Object* component) const = 0;
  // An owned component by name (case-insensitive), or none.
  virtual Object* FindOwnedComponent(StringView name) const;
};

// The owner interface of a host object, when it has one.
TqsComponentOwner* qsComponentOwner(Object* object);

}  // namespace zavrik

namespace zavrik {

// Objects a script created that release resources (files) when the script frees them; the object
// itself stays allocated until its program ends.
class TqsScriptFreed {
 public:
  virtual ~TqsScriptFreed() = default;
  virtual void ScriptFreed() = 0;
};

}  // namespace zavrik

namespace zavrik {

// A field hosts publish as TField: scripts read FieldName, Value, AsString, AsInteger, AsFloat,
// AsDateTime, AsBoolean, IsNull, DisplayText and Text, and may write Value.
class TqsFieldSource {
 public:
  virtual ~TqsFieldSource() = default;
  virtual String FieldName() const = 0;
  virtual Variant FieldValue() const = 0;
  // The value as the field displays it; by default its text (Null gives '').
  virtual String FieldText() const;
  // Fails with "Field 'X' cannot be modified" unless the host allows it.
  virtual void SetFieldValue(const Variant& value);
};

// A record source hosts publish as TDataSet (the data layer's queries): Open, Close, First, Next,
// Prior, Eof, Bof, Active, RecordCount, FieldCount, FieldByName, FindField, Fields[i]. Fields are
// objects the data set owns that implement TqsFieldSource.
class TqsDataSetSource {
 public:
  virtual ~TqsDataSetSource() = default;
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual bool Active() const = 0;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual void Prior() = 0;
  virtual bool Eof() const = 0;
  virtual bool Bof() const = 0;
  virtual int RecordCount() const = 0;
  virtual int FieldCount() const = 0;
  virtual Object* Field(int index) const = 0;
  // A field by name (case-insensitive), or none.
  virtual Object* FindField(StringView name) const = 0;
};

}  // namespace zavrik

