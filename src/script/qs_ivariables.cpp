#include "script/qs_ivariables.h"

#include "core/case_fold.h"
#include "core/rtti.h"
#include "core/variant_convert.h"

namespace zavrik {

String qsUpperName(StringView name) {
  return UpperCase(name);
}

bool qsSameName(StringView a, StringView b) {
  return SameText(a, b);
}

String qsFullTypeName(TqsVarType typ, StringView type_name) {
  switch (typ) {
    case fvtInt: return u"Integer";
    case fvtBool: return u"Boolean";
    case fvtFloat: return u"Extended";
    case fvtChar: return u"Char";
    case fvtString: return u"String";
    case fvtArray: return u"Array";
    case fvtInt64: return u"Int64";
    case fvtClass:
    case fvtEnum: return String(type_name);
    default: return u"Variant";
  }
}

Variant qsConvertToKind(TqsVarType typ, const Variant& value) {
  switch (typ) {
    case fvtInt:
      if (value.Kind() == VarKind::Integer) return value;
      return Variant(VarToInteger(value));
    case fvtBool:
      if (value.Kind() == VarKind::Boolean) return value;
      return Variant(VarToBoolean(value));
    case fvtFloat:
      if (value.Kind() == VarKind::Date || value.Kind() == VarKind::Double) return value;
      return Variant(VarToDouble(value));
    case fvtString: return value.IsString() ? value : Variant(VarToString(value));
    case fvtInt64: return Variant(VarToInt64(value));
    default: return value;
  }
}

Object* qsObjectOf(const Variant& value) {
  return value.Kind() == VarKind::Object ? value.ObjectValue() : nullptr;
}

TqsCustomVariable::TqsCustomVariable(StringView name, TqsVarType typ, StringView type_name)
    : FName(name), FUppercaseName(qsUpperName(name)), FTyp(typ), FTypeName(type_name) {}

TqsCustomVariable::~TqsCustomVariable() = default;

Variant TqsCustomVariable::Value() { return FValue; }

void TqsCustomVariable::SetValue(const Variant& value) {
  if (!FIsReadOnly) FValue = value;
}

TqsParamItem& TqsCustomVariable::AddOwnedParam(std::unique_ptr<TqsParamItem> param) {
  FParams.push_back(param.get());
  FOwnedParams.push_back(std::move(param));
  return *FParams.back();
}

int TqsCustomVariable::GetNumberOfRequiredParams() const {
  int count = 0;
  for (const TqsParamItem* p : FParams) count += p->FIsOptional ? 0 : 1;
  return count;
}

Variant TqsCustomVariable::HookedValue(const Variant& stored) const {
  Variant hooked = FOnGetVarValue(FName, FTyp, stored);
  return hooked.IsNull() ? stored : hooked;
}

void TqsVariable::SetValue(const Variant& value) {
  if (FIsReadOnly) return;
  const bool same_kind = (FTyp == fvtInt && value.Kind() == VarKind::Integer) ||
                         FTyp == fvtVariant || FTyp == fvtClass || FTyp == fvtArray;
  FValue = same_kind ? value : qsConvertToKind(FTyp, value);
}

TqsStringVariable::TqsStringVariable(StringView name, TqsVarType typ, StringView type_name)
    : TqsVariable(name, typ, type_name) {}

Variant TqsStringVariable::Value() {
  Variant stored(FStr);
  return FOnGetVarValue ? HookedValue(stored) : stored;
}

void TqsStringVariable::SetValue(const Variant& value) {
  if (!FIsReadOnly) FStr = VarToString(value);
}

void TqsStringVariable::SetStoredValue(Variant value) { FStr = VarToStr(value); }

bool TqsStringVariable::AppendText(const Variant& value) {
  if (FOnGetVarValue || FIsReadOnly || !value.IsString()) return false;
  FStr += value.StringValue();
  return true;
}

}  // namespace zavrik
