#include "script/qs_iclass.h"

#include <deque>
#include <mutex>

#include "core/rtti.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isyntax.h"

namespace zavrik {

TqsTypeRec qsPropertyType(const PropInfo& prop) {
  switch (prop.kind) {
    case TypeKind::Char:
    case TypeKind::WChar: return {fvtChar, u""};
    case TypeKind::Enumeration:
      if (prop.enum_type == &BooleanType()) return {fvtBool, u"Boolean"};
      return {fvtEnum, u""};
    case TypeKind::Set: return {fvtEnum, u""};
    case TypeKind::Float: return {fvtFloat, u""};
    case TypeKind::String: return {fvtString, u""};
    case TypeKind::Class: return {fvtClass, prop.class_type ? prop.class_type().Name() : u"TObject"};
    case TypeKind::Variant: return {fvtVariant, u""};
    case TypeKind::Integer: break;
  }
  return {fvtInt, u""};
}

void qsNameEnumProperty(TqsCustomHelper& member, TqsScript& scope) {
  auto* property = dynamic_cast<TqsPropertyHelper*>(&member);
  if (!property || property->FTyp != fvtEnum || !property->FTypeName.empty()) return;
  const EnumType* type = property->FProp ? property->FProp->enum_type : nullptr;
  if (!type || type->Count() == 0) return;
  // Every element must be a constant of one and the same registered type.
  String name;
  for (int i = 0; i < type->Count(); ++i) {
    const TqsCustomVariable* element = scope.Find(type->Name(i));
    if (!element || element->FTyp != fvtEnum || element->FTypeName.empty()) return;
    if (i > 0 && !qsSameName(element->FTypeName, name)) return;
    name = element->FTypeName;
  }
  property->FTypeName = name;
}

const ClassInfo& qsNamedClass(StringView name, const ClassInfo* parent) {
  static std::mutex lock;
  static std::deque<ClassInfo> classes;
  std::lock_guard guard(lock);
  for (const ClassInfo& c : classes) {
    if (qsSameName(c.Name(), name)) return c;
  }
  return classes.emplace_back(String(name), parent, nullptr, PropList{});
}

TqsClassVariable::TqsClassVariable(const ClassInfo& class_ref, StringView ancestor,
                                   TqsScript* program)
    : TqsCustomVariable(class_ref.Name(), fvtClass, class_ref.Name()),
      FAncestor(ancestor),
      FClassRef(&class_ref),
      FProgram(program) {
  FIsReadOnly = true;
  auto& cast = AddOwnedParam(std::make_unique<TqsParamItem>(u"Value", fvtVariant, u""));
  cast.FIsOptional = true;
  cast.FDefValue = Variant();
  for (const PropInfo* prop : class_ref.Props()) {
    const TqsTypeRec type = qsPropertyType(*prop);
    auto helper = std::make_unique<TqsPropertyHelper>(prop->name, type.Typ, type.TypeName);
    helper->FClassRef = &class_ref;
    helper->FProp = prop;
    helper->FIsPublished = true;
    helper->FIsReadOnly = !prop->set;
    AddMember(std::move(helper));
  }
}

Variant TqsClassVariable::Value() {
  Variant cast = Param(0).Value();
  Param(0).FValue = Variant();
  if (!cast.IsEmpty()) return cast;
  std::unique_ptr<Object> instance = FClassRef->Create();
  if (!instance) return Variant(static_cast<Object*>(nullptr));
  Object* raw = instance.get();
  (FCaller ? FCaller : FProgram)->MainProgram()->AdoptObject(std::move(instance));
  return Variant(raw);
}

TqsCustomHelper& TqsClassVariable::AddMember(std::unique_ptr<TqsCustomHelper> member) {
  FMembers.push_back(std::move(member));
  return *FMembers.back();
}

std::unique_ptr<TqsMethodHelper> TqsClassVariable::MakeMethod(StringView syntax) {
  std::unique_ptr<TqsMethodHelper> helper = qsMakeMethodHelper(syntax, *FProgram);
  helper->FClassRef = FClassRef;
  helper->FDescription = helper->FName;
  return helper;
}

// "constructor Create(...)" becomes "function Create(...): Constructor".
static String ConstructorSyntax(StringView syntax) {
  const size_t blank = syntax.find(u' ');
  return u"function" + String(blank == StringView::npos ? syntax : syntax.substr(blank)) +
         u": Constructor";
}

TqsMethodHelper* TqsClassVariable::AddConstructor(StringView syntax, TqsCallMethodEvent call_event) {
  return AddMethod(ConstructorSyntax(syntax), std::move(call_event));
}

TqsMethodHelper* TqsClassVariable::AddConstructor(StringView syntax,
                                                  TqsCallMethodNewEvent call_event) {
  return AddMethod(ConstructorSyntax(syntax), std::move(call_event));
}

TqsMethodHelper* TqsClassVariable::AddMethod(StringView syntax, TqsCallMethodEvent call_event) {
  std::unique_ptr<TqsMethodHelper> helper = MakeMethod(syntax);
  helper->FOnCall = std::move(call_event);
  return static_cast<TqsMethodHelper*>(&AddMember(std::move(helper)));
}

TqsMethodHelper* TqsClassVariable::AddMethod(StringView syntax, TqsCallMethodNewEvent call_event) {
  std::unique_ptr<TqsMethodHelper> helper = MakeMethod(syntax);
  helper->FOnCallNew = std::move(call_event);
  return static_cast<TqsMethodHelper*>(&AddMember(std::move(helper)));
}

std::unique_ptr<TqsPropertyHelper> TqsClassVariable::MakeProperty(StringView name,
                                                                  StringView type_name,
                                                                  bool read_only) {
  auto helper = std::make_unique<TqsPropertyHelper>(name, FProgram->TypeKind(type_name), type_name);
  helper->FClassRef = FClassRef;
  helper->FIsReadOnly = read_only;
  return helper;
}

TqsPropertyHelper* TqsClassVariable::AddProperty(StringView name, StringView type_name,
                                                 TqsGetValueEvent get_event,
                                                 TqsSetValueEvent set_event) {
  auto helper = MakeProperty(name, type_name, !set_event);
  helper->FOnGetValue = std::move(get_event);
  helper->FOnSetValue = std::move(set_event);
  return static_cast<TqsPropertyHelper*>(&AddMember(std::move(helper)));
}

TqsPropertyHelper* TqsClassVariable::AddPropertyEx(StringView name, StringView type_name,
                                                   TqsGetValueNewEvent get_event,
                                                   TqsSetValueNewEvent set_event) {
  auto helper = MakeProperty(name, type_name, !set_event);
  helper->FOnGetValueNew = std::move(get_event);
  helper->FOnSetValueNew = std::move(set_event);
  return static_cast<TqsPropertyHelper*>(&AddMember(std::move(helper)));
}

// "function Name(p0: T0; p1: T1...): Type", flagged as an indexed property.
TqsMethodHelper* TqsClassVariable::AddIndexMember(StringView name, StringView params,
                                                  StringView type_name, bool read_only,
                                                  const std::function<void(TqsMethodHelper&)>& bind) {
  String syntax = u"function " + String(name) + u"(";
  int i = 0;
  size_t start = 0;
  while (start < params.size()) {
    size_t comma = params.find(u',', start);
    if (comma == StringView::npos) comma = params.size();
    if (i > 0) syntax.append(u"; ");
    syntax.append(u"p").append(Utf8ToString(std::to_string(i))).append(u": ");
    syntax.append(Trim(params.substr(start, comma - start)));
    ++i;
    start = comma + 1;
  }
  syntax += u"): " + String(type_name);
  std::unique_ptr<TqsMethodHelper> helper = MakeMethod(syntax);
  bind(*helper);
  helper->FIndexMethod = true;
  helper->FIsReadOnly = read_only;
  return static_cast<TqsMethodHelper*>(&AddMember(std::move(helper)));
}

TqsMethodHelper* TqsClassVariable::AddIndexProperty(StringView name, StringView params,
                                                    StringView type_name,
                                                    TqsCallMethodEvent call_event, bool read_only) {
  return AddIndexMember(name, params, type_name, read_only,
                        [&](TqsMethodHelper& h) { h.FOnCall = std::move(call_event); });
}

TqsMethodHelper* TqsClassVariable::AddIndexProperty(StringView name, StringView params,
                                                    StringView type_name,
                                                    TqsCallMethodNewEvent call_event, bool read_only) {
  return AddIndexMember(name, params, type_name, read_only,
                        [&](TqsMethodHelper& h) { h.FOnCallNew = std::move(call_event); });
}

TqsMethodHelper* TqsClassVariable::AddDefaultProperty(StringView name, StringView params,
                                                      StringView type_name,
                                                      TqsCallMethodEvent call_event,
                                                      bool read_only) {
  FDefProperty = AddIndexProperty(name, params, type_name, std::move(call_event), read_only);
  return FDefProperty;
}

TqsMethodHelper* TqsClassVariable::AddDefaultProperty(StringView name, StringView params,
                                                      StringView type_name,
                                                      TqsCallMethodNewEvent call_event,
                                                      bool read_only) {
  FDefProperty = AddIndexProperty(name, params, type_name, std::move(call_event), read_only);
  return FDefProperty;
}

TqsEventHelper* TqsClassVariable::AddEvent(StringView name, TqsEventHelper::Binder bind) {
  return static_cast<TqsEventHelper*>(
      &AddMember(std::make_unique<TqsEventHelper>(name, FClassRef, std::move(bind))));
}

TqsClassVariable* TqsClassVariable::AncestorClass() const {
  if (FAncestor.empty()) return nullptr;
  TqsClassVariable* base = FProgram->FindClass(FAncestor);
  return base == this ? nullptr : base;
}

TqsCustomHelper* TqsClassVariable::Find(StringView name) const {
  const String upper = qsUpperName(name);
  int depth = 0;
  for (const TqsClassVariable* c = this; c && depth < 64; c = c->AncestorClass(), ++depth) {
    // Newest registration of a name wins.
    for (auto it = c->FMembers.rbegin(); it != c->FMembers.rend(); ++it) {
      if ((*it)->FUppercaseName == upper) return it->get();
    }
  }
  return nullptr;
}

bool TqsClassVariable::InheritsFrom(const TqsClassVariable& other) const {
  int depth = 0;
  for (const TqsClassVariable* c = this; c && depth < 64; c = c->AncestorClass(), ++depth) {
    if (c == &other) return true;
  }
  return FClassRef && other.FClassRef && FClassRef->InheritsFrom(*other.FClassRef);
}

}  // namespace zavrik
