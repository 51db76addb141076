#include "script/qs_ihelpers.h"

#include "core/error.h"
#include "core/rtti.h"
#include "core/variant_convert.h"
#include "script/qs_idesignator.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"

namespace zavrik {
namespace {

// A reflected property's value in the engine's form.
Variant ReadProp(const PropInfo& prop, const Object& object) {
  Variant value = prop.get(object);
  if ((prop.kind == TypeKind::Char || prop.kind == TypeKind::WChar) && !value.IsString()) {
    return Variant(String(1, static_cast<char16_t>(VarToInteger(value))));
  }
  return value;
}

Variant ToPropValue(const PropInfo& prop, const Variant& value) {
  switch (prop.kind) {
    case TypeKind::Char:
    case TypeKind::WChar: {
      if (!value.IsString()) return Variant(VarToInteger(value));
      const String& s = value.StringValue();
      return Variant(static_cast<int32_t>(s.empty() ? 0 : s[0]));
    }
    case TypeKind::Enumeration:
      if (value.Kind() == VarKind::Boolean) return Variant(static_cast<int32_t>(value.BoolValue()));
      return Variant(VarToInteger(value));
    case TypeKind::Integer: return Variant(VarToInteger(value));
    case TypeKind::Set: {
      // A set constructor ([fsBold, fsItalic]) gives the mask of its elements.
      auto array = value.ArrayValue();
      if (!array) return Variant(VarToInteger(value));
      int32_t mask = 0;
      for (const Variant& element : array->items) {
        if (!element.IsNull()) mask |= VarToInteger(element);
      }
      return Variant(mask);
    }
    case TypeKind::Float: return Variant(VarToDouble(value));
    case TypeKind::String: return Variant(VarToString(value));
    case TypeKind::Class:
      return value.Kind() == VarKind::Object ? value : Variant(static_cast<Object*>(nullptr));
    case TypeKind::Variant: break;
  }
  return value;
}

}  // namespace

Object* TqsCustomHelper::Instance() const {
  Object* object = qsObjectOf(FParentValue);
  if (object && FProgram && FProgram->IsFreedObject(object)) {
    throw Error(u"Access violation: the object was freed");
  }
  return object;
}

Variant TqsPropertyHelper::Value() {
  Object* instance = Instance();
  Variant value;
  if (FIsPublished && FProp && instance) {
    value = ReadProp(*FProp, *instance);
  } else if (FOnGetValue) {
    value = FOnGetValue(instance, FClassRef, FUppercaseName);
  } else if (FOnGetValueNew) {
    value = FOnGetValueNew(instance, FClassRef, FUppercaseName, *this);
  } else {
    return Variant::Null();
  }
  if (FTyp == fvtBool && !value.IsNull() && value.Kind() != VarKind::Boolean) {
    return Variant(VarToInteger(value) != 0);
  }
  return value;
}

void TqsPropertyHelper::SetValue(const Variant& value) {
  if (FIsReadOnly) return;
  Object* instance = Instance();
  if (FIsPublished && FProp && instance) {
    if (FProp->set) FProp->set(*instance, ToPropValue(*FProp, value));
  } else if (FOnSetValue) {
    FOnSetValue(instance, FClassRef, FUppercaseName, value);
  } else if (FOnSetValueNew) {
    FOnSetValueNew(instance, FClassRef, FUppercaseName, value, *this);
  }
}

Variant TqsMethodHelper::ParamValue(int index) const {
  if (index < 0 || index >= ParamCount()) return Variant::Null();
  return Param(index).Value();
}

void TqsMethodHelper::SetParamValue(int index, const Variant& value) {
  if (index >= 0 && index < ParamCount()) Param(index).SetValue(value);
}

Variant TqsMethodHelper::Call(const String& method_name, std::vector<Variant>& args) {
  Object* instance = Instance();
  if (FOnCall) return FOnCall(instance, FClassRef, method_name, args);
  if (FOnCallNew) return FOnCallNew(instance, FClassRef, method_name, *this);
  return Variant(int32_t{0});
}

// FOnCall receives the parameter values in an array and may change by-reference ones there;
// FOnCallNew reads and writes them through the helper.
Variant TqsMethodHelper::Value() {
  const String name = FIndexMethod ? FUppercaseName + u".GET" : FUppercaseName;
  if (!FOnCall) return Call(name, FVarArray);
  const int count = ParamCount();
  FVarArray.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) FVarArray[static_cast<size_t>(i)] = Param(i).Value();
  Variant result = Call(name, FVarArray);
  for (int i = 0; i < count && static_cast<size_t>(i) < FVarArray.size(); ++i) {
    if (Param(i).FIsVarParam) Param(i).SetValue(FVarArray[static_cast<size_t>(i)]);
    FVarArray[static_cast<size_t>(i)] = Variant::Null();
  }
  return result;
}

void TqsMethodHelper::SetValue(const Variant& value) {
  if (!FIndexMethod || FIsReadOnly) return;
  FSetValue = value;
  std::vector<Variant> args;
  for (int i = 0; i < ParamCount(); ++i) args.push_back(Param(i).Value());
  args.push_back(value);
  Call(FUppercaseName + u".SET", args);
}

TqsComponentHelper::TqsComponentHelper(StringView name, Object* component, StringView class_name)
    : TqsCustomHelper(name, fvtClass, class_name), FComponent(component) {
  FIsReadOnly = true;
}

TqsEventHelper::TqsEventHelper(StringView name, const ClassInfo* class_ref, Binder bind)
    : TqsCustomHelper(name, fvtString, u""), FClassRef(class_ref), FEvent(std::move(bind)) {}

void TqsEventHelper::SetValue(const Variant& value) {
  const String name = VarToStr(value);
  TqsCustomVariable* handler = nullptr;
  if (!name.empty()) {
    handler = FProgram ? FProgram->Find(name) : nullptr;
    if (!dynamic_cast<TqsProcVariable*>(handler)) throw Error(u"Event handler must be a procedure");
  }
  if (FEvent) FEvent(Instance(), handler);
}

TqsArrayHelper::TqsArrayHelper(StringView name, TqsVarType element_typ, int dimensions)
    : TqsCustomHelper(name, element_typ, u"") {
  for (int i = 0; i < dimensions; ++i) {
    auto& p = AddOwnedParam(std::make_unique<TqsParamItem>(u"Index" + String(1, u'0' + i), fvtInt, u""));
    p.FIsOptional = i > 0 && dimensions == 3 && name == u"__ArrayHelper";
  }
}

static std::vector<int> HelperIndices(const TqsCustomVariable& helper, const Variant& array) {
  auto data = array.ArrayValue();
  const size_t dims = data ? data->bounds.size() : 0;
  std::vector<int> indices;
  for (int i = 0; i < helper.ParamCount() && indices.size() < dims; ++i) {
    indices.push_back(VarToInteger(helper.Param(i).Value()));
  }
  return indices;
}

Variant TqsArrayHelper::Value() {
  Variant element = qsArrayGet(FParentValue, HelperIndices(*this, FParentValue));
  FParentValue = Variant::Null();  // holds no array between uses: a later write need not copy it
  return element;
}

void TqsArrayHelper::SetValue(const Variant& value) {
  Variant element = value;
  if (FTyp != fvtVariant && FTyp != fvtClass && FTyp != fvtArray) element = qsConvertToKind(FTyp, value);
  Variant* stored = FParentRef && FParentRef != this ? FParentRef->StoredSlot() : nullptr;
  if (stored && stored->IsArray()) {
    FParentValue = Variant::Null();
    qsArraySetOwned(*stored, HelperIndices(*this, *stored), element);
  } else {
    qsArraySet(FParentValue, HelperIndices(*this, FParentValue), element);
    FParentValue = Variant::Null();
  }
}

TqsStringHelper::TqsStringHelper(StringView name) : TqsCustomHelper(name, fvtChar, u"") {
  AddOwnedParam(std::make_unique<TqsParamItem>(u"Index", fvtInt, u""));
}

Variant TqsStringHelper::Value() {
  return qsStringGet(VarToString(FParentValue), VarToInteger(Param(0).Value()));
}

void TqsStringHelper::SetValue(const Variant& value) {
  String text = VarToString(FParentValue);
  qsStringSet(text, VarToInteger(Param(0).Value()), value);
  if (FParentRef) FParentRef->SetValue(Variant(std::move(text)));
}

}  // namespace zavrik
