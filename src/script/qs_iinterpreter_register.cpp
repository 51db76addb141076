// Registration of host names in a scope.
#include "core/rtti.h"
#include "script/qs_iclass.h"
#include "script/qs_ihost.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isyntax.h"

namespace zavrik {
namespace {

std::vector<String> SplitNames(StringView names) {
  std::vector<String> result;
  size_t start = 0;
  while (start <= names.size()) {
    size_t comma = names.find(u',', start);
    if (comma == StringView::npos) comma = names.size();
    String name = Trim(names.substr(start, comma - start));
    if (!name.empty()) result.push_back(std::move(name));
    start = comma + 1;
  }
  return result;
}

std::unique_ptr<TqsVariable> MakeTyped(const TqsScript& scope, StringView name, StringView type_name) {
  const TqsVarType typ = scope.TypeKind(type_name);
  if (typ == fvtString || typ == fvtChar) {
    return std::make_unique<TqsStringVariable>(name, typ, type_name);
  }
  return std::make_unique<TqsVariable>(name, typ, type_name);
}

}  // namespace

Object* TqsComponentOwner::FindOwnedComponent(StringView name) const {
  for (Object* component : OwnedComponents()) {
    if (qsSameName(ComponentNameOf(component), name)) return component;
  }
  return nullptr;
}

TqsComponentOwner* qsComponentOwner(Object* object) {
  return dynamic_cast<TqsComponentOwner*>(object);
}

TqsTypeVariable* TqsScript::AddType(StringView type_name, TqsVarType parent_type) {
  if (Find(type_name)) return nullptr;
  return static_cast<TqsTypeVariable*>(
      &Add(std::make_unique<TqsTypeVariable>(type_name, parent_type, type_name)));
}

void TqsScript::AddConst(StringView name, StringView type_name, const Variant& value) {
  if (Find(name)) return;
  std::unique_ptr<TqsVariable> v = MakeTyped(*this, name, type_name);
  v->SetValue(value);
  v->FIsReadOnly = true;
  Add(std::move(v));
}

void TqsScript::AddVariable(StringView name, StringView type_name, const Variant& value) {
  if (Find(name)) return;
  std::unique_ptr<TqsVariable> v = MakeTyped(*this, name, type_name);
  v->SetValue(value);
  v->FOnGetVarValue = FOnGetVarValue;
  Add(std::move(v));
}

void TqsScript::AddObject(StringView name, Object* object) {
  if (Find(name)) return;
  const String class_name = object ? object->ClassType().Name() : String(u"TObject");
  auto v = std::make_unique<TqsVariable>(name, fvtClass, class_name);
  v->FValue = Variant(object);
  v->FOnGetVarValue = FOnGetVarValue;
  Add(std::move(v));
}

static void AddEnumItems(TqsScript& scope, StringView type_name, StringView names, bool as_set) {
  scope.Add(std::make_unique<TqsVariable>(type_name, fvtEnum, type_name));
  int32_t value = as_set ? 1 : 0;
  for (const String& name : SplitNames(names)) {
    auto v = std::make_unique<TqsVariable>(name, fvtEnum, type_name);
    v->FValue = Variant(value);
    v->FIsReadOnly = true;
    scope.Add(std::move(v));
    value = as_set ? static_cast<int32_t>(static_cast<uint32_t>(value) << 1) : value + 1;
  }
}

void TqsScript::AddEnum(StringView type_name, StringView names) {
  AddEnumItems(*this, type_name, names, false);
}

void TqsScript::AddEnumSet(StringView type_name, StringView names) {
  AddEnumItems(*this, type_name, names, true);
}

static TqsMethodHelper* AddMethodHelper(TqsScript& scope, std::unique_ptr<TqsMethodHelper> helper,
                                        StringView category, StringView description) {
  helper->FCategory = String(category);
  helper->FDescription = description.empty() ? helper->FName : String(description);
  return static_cast<TqsMethodHelper*>(&scope.Add(std::move(helper)));
}

TqsMethodHelper* TqsScript::AddMethod(StringView syntax, TqsCallMethodEvent call_event,
                                      StringView category, StringView description) {
  std::unique_ptr<TqsMethodHelper> helper = qsMakeMethodHelper(syntax, *this);
  helper->FOnCall = std::move(call_event);
  return AddMethodHelper(*this, std::move(helper), category, description);
}

TqsMethodHelper* TqsScript::AddMethod(StringView syntax, TqsCallMethodNewEvent call_event,
                                      StringView category, StringView description) {
  std::unique_ptr<TqsMethodHelper> helper = qsMakeMethodHelper(syntax, *this);
  helper->FOnCallNew = std::move(call_event);
  return AddMethodHelper(*this, std::move(helper), category, description);
}

// A class of an outer scope may be given its members here (a host class known there by name only).
TqsClassVariable* TqsScript::AddClass(const ClassInfo& class_ref, StringView ancestor) {
  if (FindLocal(class_ref.Name())) return nullptr;
  auto cls = std::make_unique<TqsClassVariable>(class_ref, ancestor, this);
  TqsClassVariable* raw = cls.get();
  Add(std::move(cls));
  if (TqsClassVariable* base = raw->AncestorClass()) raw->FDefProperty = base->FDefProperty;
  return raw;
}

void TqsScript::AddComponent(Object* form) {
  TqsComponentOwner* owner = qsComponentOwner(form);
  if (!owner || owner->ComponentOwnerKind() == TqsComponentOwner::ckOther) return;
  static const char16_t* const kAncestors[] = {u"TForm", u"TDataModule", u"TFrame"};
  const ClassInfo& class_ref = form->ClassType();
  TqsClassVariable* cls = FindClass(class_ref.Name());
  if (!cls) cls = AddClass(class_ref, kAncestors[owner->ComponentOwnerKind()]);
  if (cls) {
    for (Object* component : owner->OwnedComponents()) {
      const String name = owner->ComponentNameOf(component);
      if (name.empty() || cls->Find(name)) continue;
      cls->FMembers.push_back(
          std::make_unique<TqsComponentHelper>(name, component, component->ClassType().Name()));
    }
  }
  AddObject(owner->ComponentName(), form);
}

}  // namespace zavrik
