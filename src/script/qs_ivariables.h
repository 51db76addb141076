// Named values of the program model: the base of every scope item, typed variables and
// constants, type names, string variables and formal parameters.
#pragma once

#include <memory>
#include <vector>

#include "script/qs_itypes.h"

namespace zavrik {

class TqsParamItem;

class TqsCustomVariable {
 public:
  TqsCustomVariable(StringView name, TqsVarType typ, StringView type_name);
  virtual ~TqsCustomVariable();
  TqsCustomVariable(const TqsCustomVariable&) = delete;
  TqsCustomVariable& operator=(const TqsCustomVariable&) = delete;

  // Reading and writing Value; subclasses convert, call hosts or run routines.
  virtual Variant Value();
  virtual void SetValue(const Variant& value);
  // The stored value without hooks or calls: saved and restored around recursive calls.
  virtual Variant StoredValue() const { return FValue; }
  virtual void SetStoredValue(Variant value) { FValue = std::move(value); }
  // The stored value itself, for writing one element of an array in place; null when writes
  // must go through SetValue (hooks, read-only, text variables, computed values).
  virtual Variant* StoredSlot() { return nullptr; }

  const String& Name() const { return FName; }
  const String& UppercaseName() const { return FUppercaseName; }
  String GetFullTypeName() const { return qsFullTypeName(FTyp, FTypeName); }

  // Parameters, in order. Routines list the parameters their local scope owns; host methods
  // and class variables own theirs.
  int ParamCount() const { return static_cast<int>(FParams.size()); }
  TqsParamItem& Param(int index) const { return *FParams[static_cast<size_t>(index)]; }
  void AddParam(TqsParamItem* param) { FParams.push_back(param); }
  TqsParamItem& AddOwnedParam(std::unique_ptr<TqsParamItem> param);
  int GetNumberOfRequiredParams() const;

  const void* FAddedBy = nullptr;
  bool FIsMacro = false;
  bool FIsReadOnly = false;
  bool FNeedResult = true;
  String FName;
  String FUppercaseName;
  TqsCustomVariable* FRefItem = nullptr;
  String FSourcePos;
  String FSourceUnit;
  TqsVarType FTyp;
  String FTypeName;
  Variant FValue = Variant::Null();
  TqsGetVariableValueEvent FOnGetVarValue;

 protected:
  // The host hook's value, or the stored one when the hook gives Null.
  Variant HookedValue(const Variant& stored) const;

  std::vector<TqsParamItem*> FParams;
  std::vector<std::unique_ptr<TqsParamItem>> FOwnedParams;
};

// A typed script variable or constant: writes convert to the variable's kind.
class TqsVariable : public TqsCustomVariable {
 public:
  using TqsCustomVariable::TqsCustomVariable;
  Variant Value() override {
    return FOnGetVarValue ? HookedValue(FValue) : FValue;
  }
  void SetValue(const Variant& value) override;
  Variant* StoredSlot() override { return FIsReadOnly || FOnGetVarValue ? nullptr : &FValue; }
};

// A type name; its kind is the kind the name stands for.
class TqsTypeVariable : public TqsCustomVariable {
 public:
  using TqsCustomVariable::TqsCustomVariable;
};

// A Char or String variable, holding its text directly so that appending needs no copy.
class TqsStringVariable : public TqsVariable {
 public:
  TqsStringVariable(StringView name, TqsVarType typ, StringView type_name);
  Variant Value() override;
  void SetValue(const Variant& value) override;
  Variant StoredValue() const override { return Variant(FStr); }
  void SetStoredValue(Variant value) override;
  Variant* StoredSlot() override { return nullptr; }
  // Appends text in place (the `s := s + 'x'` fast path); false when a hook must see reads.
  bool AppendText(const Variant& value);

  String FStr;
};

// One formal parameter.
class TqsParamItem : public TqsCustomVariable {
 public:
  using TqsCustomVariable::TqsCustomVariable;
  Variant* StoredSlot() override { return FIsReadOnly ? nullptr : &FValue; }
  Variant FDefValue = Variant::Null();
  bool FIsOptional = false;
  bool FIsVarParam = false;
};

}  // namespace zavrik
