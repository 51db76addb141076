// Members reached through another value: host properties and methods, published components,
// event properties, and the indexing of arrays and strings.
#pragma once

#include "script/qs_ivariables.h"

namespace zavrik {

class ClassInfo;
struct PropInfo;

class TqsCustomHelper : public TqsCustomVariable {
 public:
  using TqsCustomVariable::TqsCustomVariable;
  // The object held by the value before this member; none for nil or a non-object.
  // Fails for an object the script has freed.
  Object* Instance() const;

  TqsCustomVariable* FParentRef = nullptr;
  Variant FParentValue;
  TqsScript* FProgram = nullptr;
};

// A host property: published (through reflection) or served by get/set events.
class TqsPropertyHelper : public TqsCustomHelper {
 public:
  using TqsCustomHelper::TqsCustomHelper;
  Variant Value() override;
  void SetValue(const Variant& value) override;

  const ClassInfo* FClassRef = nullptr;
  const PropInfo* FProp = nullptr;  // the reflected property of a published member
  bool FIsPublished = false;
  TqsGetValueEvent FOnGetValue;
  TqsSetValueEvent FOnSetValue;
  TqsGetValueNewEvent FOnGetValueNew;
  TqsSetValueNewEvent FOnSetValueNew;
};

// A host method, a global host function, or an indexed property (".GET"/".SET").
class TqsMethodHelper : public TqsCustomHelper {
 public:
  using TqsCustomHelper::TqsCustomHelper;
  Variant Value() override;
  void SetValue(const Variant& value) override;
  // The parameter's current value (for "New" handlers).
  Variant ParamValue(int index) const;
  void SetParamValue(int index, const Variant& value);

  String FCategory;
  const ClassInfo* FClassRef = nullptr;
  String FDescription;
  bool FIndexMethod = false;
  TqsCallMethodEvent FOnCall;
  TqsCallMethodNewEvent FOnCallNew;
  Variant FSetValue;
  String FSyntax;
  std::vector<Variant> FVarArray;

 private:
  Variant Call(const String& method_name, std::vector<Variant>& args);
};

// A named sub-component of a published form or data module.
class TqsComponentHelper : public TqsCustomHelper {
 public:
  TqsComponentHelper(StringView name, Object* component, StringView class_name);
  Variant Value() override { return Variant(FComponent); }
  void SetValue(const Variant&) override {}
  Object* FComponent;
};

// An event property: reading gives ''; writing a procedure name binds that procedure.
class TqsEventHelper : public TqsCustomHelper {
 public:
  using Binder = std::function<void(Object* instance, TqsCustomVariable* handler)>;
  TqsEventHelper(StringView name, const ClassInfo* class_ref, Binder bind);
  Variant Value() override { return Variant(String()); }
  void SetValue(const Variant& value) override;
  const ClassInfo* FClassRef;
  Binder FEvent;
};

// Elements of arrays with 1 to 3 dimensions, indices in the parameters.
class TqsArrayHelper : public TqsCustomHelper {
 public:
  TqsArrayHelper(StringView name, TqsVarType element_typ, int dimensions);
  Variant Value() override;
  void SetValue(const Variant& value) override;
};

// The character at a 1-based index of the parent value's text.
class TqsStringHelper : public TqsCustomHelper {
 public:
  explicit TqsStringHelper(StringView name);
  Variant Value() override;
  void SetValue(const Variant& value) override;
};

}  // namespace zavrik
