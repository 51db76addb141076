// Designators: member chains that read and write variables, call routines and host methods and
// walk properties, with fast forms for a plain variable and for indexing a string or an array
// variable.
#pragma once

#include <memory>
#include <vector>

#include "script/qs_iexpression.h"
#include "script/qs_itypes.h"

namespace zavrik {

class TqsClassVariable;
class TqsCustomHelper;
class TqsCustomVariable;
class TqsProcVariable;
class TqsStringVariable;
class TqsXMLItem;

enum TqsDesignatorKind : uint8_t { dkOther, dkVariable, dkStringArray, dkArray };

struct TqsDesignatorItem {
  TqsCustomVariable* FRef = nullptr;
  std::vector<std::unique_ptr<TqsExpression>> FArgs;
  bool FFlag = false;  // a default-property index
  String FSourcePos;
  // FRef seen as a routine or a helper (resolved once).
  TqsProcVariable* FProc = nullptr;
  TqsCustomHelper* FHelper = nullptr;
  TqsClassVariable* FClass = nullptr;
  bool FHasVarParams = false;
};

class TqsDesignator {
 public:
  explicit TqsDesignator(TqsScript* program);
  virtual ~TqsDesignator();
  virtual Variant Value();
  virtual void SetValue(const Variant& value);
  // The value of the items so far, for a late-bound designator compiled while it runs; items
  // may be added afterwards.
  Variant PrefixValue();

  TqsDesignatorKind FKind = dkOther;
  TqsScript* FMainProg = nullptr;
  TqsScript* FProgram;
  std::vector<TqsDesignatorItem> FItems;
  bool FNeedResult = true;  // false for a call statement: the last item's result is unused
  bool FIsReadOnly = false;
  TqsVarType FTyp = fvtVariant;
  String FTypeName;
  // Late binding: the syntax kept until the first use compiles it.
  std::unique_ptr<TqsXMLItem> FLateBindingXmlSource;
  // Items that exist for this designator only (owned components, an address constant).
  std::vector<std::unique_ptr<TqsCustomVariable>> FOwnedRefs;

 private:
  Variant Evaluate(const Variant* assigned);
  void BindLate();
  void ResolveItems();
  bool FResolved = false;
};

class TqsVariableDesignator : public TqsDesignator {
 public:
  TqsVariableDesignator(TqsScript* program, TqsCustomVariable* variable);
  Variant Value() override;
  void SetValue(const Variant& value) override;
  TqsCustomVariable* FVar;
};

// s[i] on a string variable.
class TqsStringDesignator : public TqsDesignator {
 public:
  TqsStringDesignator(TqsScript* program, TqsCustomVariable* variable,
                      std::unique_ptr<TqsExpression> index);
  Variant Value() override;
  void SetValue(const Variant& value) override;
  TqsCustomVariable* FVar;
  std::unique_ptr<TqsExpression> FIndex;
};

// a[i, j] on an array variable.
class TqsArrayDesignator : public TqsDesignator {
 public:
  TqsArrayDesignator(TqsScript* program, TqsCustomVariable* variable,
                     std::vector<std::unique_ptr<TqsExpression>> indices);
  Variant Value() override;
  void SetValue(const Variant& value) override;
  TqsCustomVariable* FVar;
  std::vector<std::unique_ptr<TqsExpression>> FIndices;
};

// Element access shared by the array helpers and the array designator: 1 to 3 indices; other
// dimension counts read Null and ignore writes; out-of-bounds indices fail.
Variant qsArrayGet(const Variant& array, std::span<const int> indices);
void qsArraySet(const Variant& array, std::span<const int> indices, const Variant& value);
// The same on the array a variable stores: arrays are values, so one that other values share is
// copied first (`b := a; b[1] := 9` leaves `a` alone) and an unshared one is written in place.
void qsArraySetOwned(Variant& array, std::span<const int> indices, const Variant& value);
// The character at a 1-based index; out of bounds fails.
Variant qsStringGet(const String& text, int index);
void qsStringSet(String& text, int index, const Variant& value);

}  // namespace zavrik
