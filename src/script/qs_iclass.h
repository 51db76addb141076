// Host classes made known to scripts: their members (published properties, methods, indexed and
// default properties, events), type casts and instance creation.
#pragma once

#include <memory>
#include <vector>

#include "script/qs_ihelpers.h"

namespace zavrik {

class TqsClassVariable : public TqsCustomVariable {
 public:
  // Lists the class's published properties as members.
  TqsClassVariable(const ClassInfo& class_ref, StringView ancestor, TqsScript* program);
  // `TSomeClass(x)` gives x (a type cast); without argument a new instance of the host class,
  // owned by the running program until the script frees it.
  Variant Value() override;
  void SetValue(const Variant&) override {}

  TqsMethodHelper* AddConstructor(StringView syntax, TqsCallMethodEvent call_event);
  TqsMethodHelper* AddConstructor(StringView syntax, TqsCallMethodNewEvent call_event);
  TqsMethodHelper* AddMethod(StringView syntax, TqsCallMethodEvent call_event);
  TqsMethodHelper* AddMethod(StringView syntax, TqsCallMethodNewEvent call_event);
  TqsPropertyHelper* AddProperty(StringView name, StringView type_name, TqsGetValueEvent get_event,
                                 TqsSetValueEvent set_event = nullptr);
  TqsPropertyHelper* AddPropertyEx(StringView name, StringView type_name,
                                   TqsGetValueNewEvent get_event,
                                   TqsSetValueNewEvent set_event = nullptr);
  // Params: comma-separated type names. The member is called with ".GET" and ".SET".
  TqsMethodHelper* AddIndexProperty(StringView name, StringView params, StringView type_name,
                                    TqsCallMethodEvent call_event, bool read_only = false);
  TqsMethodHelper* AddIndexProperty(StringView name, StringView params, StringView type_name,
                                    TqsCallMethodNewEvent call_event, bool read_only = false);
  TqsMethodHelper* AddDefaultProperty(StringView name, StringView params, StringView type_name,
                                      TqsCallMethodEvent call_event, bool read_only = false);
  TqsMethodHelper* AddDefaultProperty(StringView name, StringView params, StringView type_name,
                                      TqsCallMethodNewEvent call_event, bool read_only = false);
  TqsEventHelper* AddEvent(StringView name, TqsEventHelper::Binder bind);
  // A member of this class, else of the ancestor class (case-insensitive).
  TqsCustomHelper* Find(StringView name) const;
  // True when this class is `other` or descends from it.
  bool InheritsFrom(const TqsClassVariable& other) const;
  TqsClassVariable* AncestorClass() const;

  String FAncestor;
  const ClassInfo* FClassRef;
  TqsMethodHelper* FDefProperty = nullptr;
  std::vector<std::unique_ptr<TqsCustomHelper>> FMembers;
  TqsScript* FProgram;
  TqsScript* FCaller = nullptr;  // the scope of the designator reading the value

 private:
  TqsCustomHelper& AddMember(std::unique_ptr<TqsCustomHelper> member);
  TqsMethodHelper* AddIndexMember(StringView name, StringView params, StringView type_name,
                                  bool read_only, const std::function<void(TqsMethodHelper&)>& bind);
  std::unique_ptr<TqsMethodHelper> MakeMethod(StringView syntax);
  std::unique_ptr<TqsPropertyHelper> MakeProperty(StringView name, StringView type_name,
                                                  bool read_only);
};

// The engine's kind and type name for a reflected property.
TqsTypeRec qsPropertyType(const PropInfo& prop);

// A published enumeration or set property whose type is unnamed in the reflection takes the name
// of the type its elements are registered with in `scope` (AddEnum, AddEnumSet), so that those
// constants assign to it.
void qsNameEnumProperty(TqsCustomHelper& member, TqsScript& scope);

// A class known by name only (no reflected properties, not creatable), shared process-wide:
// classes that templates name but a console program cannot serve.
const ClassInfo& qsNamedClass(StringView name, const ClassInfo* parent);

}  // namespace zavrik
