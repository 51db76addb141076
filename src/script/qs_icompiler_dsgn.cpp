// The compiler: designators (name resolution item by item, argument checks, fast forms).
#include "core/error.h"
#include "core/rtti.h"
#include "script/qs_iclass.h"
#include "script/qs_icompiler.h"
#include "script/qs_ihost.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_xml.h"

namespace zavrik {

struct TqsCompiler::PendingItem {
  String Name;
  String Pos;
  std::vector<const TqsXMLItem*> Args;
  bool IsIndex = false;
};

namespace {

bool IsPlainVariable(const TqsCustomVariable* v) {
  return dynamic_cast<const TqsVariable*>(v) || dynamic_cast<const TqsParamItem*>(v);
}

TqsDesignatorItem ItemFor(TqsCustomVariable* ref, const String& pos) {
  TqsDesignatorItem item;
  item.FRef = ref;
  item.FSourcePos = pos;
  return item;
}

// The value a variable holds now (none for routines and members, which would have to run).
Variant CompileTimeValue(TqsCustomVariable* v) {
  return IsPlainVariable(v) ? v->StoredValue() : Variant::Null();
}

bool CallsRoutine(const TqsDesignator& designator) {
  for (const TqsDesignatorItem& item : designator.FItems)
    if (dynamic_cast<TqsProcVariable*>(item.FRef)) return true;
  return false;
}

}  // namespace

TqsClassVariable* TqsCompiler::RequireClass(const String& name, TqsScript& scope) {
  TqsClassVariable* cls = scope.FindClass(name);
  if (!cls) Fail(u"Unknown type: '" + name + u"'");
  return cls;
}

std::unique_ptr<TqsDesignator> TqsCompiler::LateBound(const TqsXMLItem& element, TqsScript& scope,
                                                      const String* with_name) {
  if (FLateMode) Fail(u"Invalid variant operation");
  auto designator = std::make_unique<TqsDesignator>(&scope);
  designator->FLateBindingXmlSource = element.Clone();
  if (with_name) {
    auto node = std::make_unique<TqsXMLItem>(u"node");
    node->SetProp(u"text", *with_name);
    node->SetProp(u"pos", element.GetProp(u"pos"));
    designator->FLateBindingXmlSource->InsertItem(0, std::move(node));
  }
  designator->FTyp = fvtVariant;
  return designator;
}

void TqsCompiler::CheckArguments(TqsDesignatorItem& item, TqsScript& scope) {
  TqsCustomVariable& ref = *item.FRef;
  const int given = static_cast<int>(item.FArgs.size());
  if (given < ref.GetNumberOfRequiredParams()) {
    FErrorPos = item.FSourcePos;
    Fail(u"Not enough actual parameters");
  }
  if (given > ref.ParamCount()) {
    FErrorPos = item.FSourcePos;
    Fail(u"Too many actual parameters");
  }
  for (int i = 0; i < given; ++i) {
    const TqsParamItem& param = ref.Param(i);
    const TqsExpression& arg = *item.FArgs[static_cast<size_t>(i)];
    CheckAssignable({param.FTyp, param.FTypeName}, {arg.FTyp, arg.FTypeName}, scope);
  }
  for (int i = given; i < ref.ParamCount(); ++i) {
    item.FArgs.push_back(ConstantExpression(ref.Param(i).FDefValue, scope));
  }
}

std::unique_ptr<TqsDesignator> TqsCompiler::FastDesignator(TqsDesignator& full, TqsScript& scope) {
  std::vector<TqsDesignatorItem>& items = full.FItems;
  if (!full.FOwnedRefs.empty()) return nullptr;
  if (items.size() == 1 && items[0].FArgs.empty() && IsPlainVariable(items[0].FRef)) {
    return std::make_unique<TqsVariableDesignator>(&scope, items[0].FRef);
  }
  if (items.size() == 2 && items[0].FArgs.empty() && IsPlainVariable(items[0].FRef)) {
    TqsCustomVariable* var = items[0].FRef;
    if (dynamic_cast<TqsStringHelper*>(items[1].FRef) && items[1].FArgs.size() == 1 &&
        (var->FTyp == fvtString || var->FTyp == fvtChar)) {
      return std::make_unique<TqsStringDesignator>(&scope, var, std::move(items[1].FArgs[0]));
    }
    if (var->FTyp == fvtArray && var->FRefItem && items[1].FRef == var->FRefItem) {
      return std::make_unique<TqsArrayDesignator>(&scope, var, std::move(items[1].FArgs));
    }
  }
  return nullptr;
}

// dsgn: optional addr, then `node` leaves (a node "[" starts an index) each followed by the
// argument expressions of that item.
std::unique_ptr<TqsDesignator> TqsCompiler::DoDesignator(const TqsXMLItem& element, TqsScript& scope,
                                                         TqsEmitOp emit_op) {
  FErrorPos = element.GetProp(u"pos");
  bool addr = false;
  std::vector<PendingItem> nodes;
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = AsciiLower(child.Name());
    if (name == u"addr") {
      addr = true;
    } else if (name == u"node") {
      PendingItem p;
      p.Name = child.GetProp(u"text");
      p.Pos = child.GetProp(u"pos");
      p.IsIndex = p.Name == u"[";
      nodes.push_back(std::move(p));
    } else if (name == u"expr" && !nodes.empty()) {
      nodes.back().Args.push_back(&child);
    }
  }
  if (nodes.empty()) Fail(u"Identifier expected");
  auto designator = std::make_unique<TqsDesignator>(&scope);
  auto compile_args = [&](TqsDesignatorItem& item, const PendingItem& p) {
    for (const TqsXMLItem* arg : p.Args) item.FArgs.push_back(CompileExpression(*arg, scope));
  };
  if (addr) {
    // @Name: the routine's name as a string constant.
    if (nodes.size() != 1 || !nodes[0].Args.empty()) Fail(u"Variable required");
    auto constant = std::make_unique<TqsVariable>(u"", fvtString, u"");
    constant->FValue = Variant(nodes[0].Name);
    constant->FIsReadOnly = true;
    auto result = std::make_unique<TqsVariableDesignator>(&scope, constant.get());
    result->FOwnedRefs.push_back(std::move(constant));
    result->FTyp = fvtString;
    result->FIsReadOnly = true;
    return result;
  }

  // The first name: a member of an active with-variable, or a name of the scope chain.
  FErrorPos = nodes[0].Pos;
  size_t next = 1;
  TqsCustomVariable* first = nullptr;
  for (auto it = FWithList.rbegin(); it != FWithList.rend() && !first; ++it) {
    TqsCustomVariable* with = *it;
    if (with->FTyp == fvtClass) {
      TqsClassVariable* cls = scope.FindClass(with->FTypeName);
      if (cls && cls->Find(nodes[0].Name)) {
        first = with;
        next = 0;
      }
    } else if (with->FTyp == fvtVariant && !scope.Find(nodes[0].Name)) {
      return LateBound(element, scope, &with->FName);
    }
  }
  if (!first) {
    first = scope.Find(nodes[0].Name);
    if (!first) {
      if (FNeedDeclareVars) Fail(u"Undeclared identifier: '" + nodes[0].Name + u"'");
      first = &scope.MainProgram()->Add(std::make_unique<TqsVariable>(nodes[0].Name, fvtVariant, u"Variant"));
    }
  }
  designator->FItems.push_back(ItemFor(first, nodes[0].Pos));
  if (next == 1) compile_args(designator->FItems.back(), nodes[0]);
  TqsVarType typ = first->FTyp;
  String type_name = first->FTypeName;
  if (auto* cls = dynamic_cast<TqsClassVariable*>(first)) type_name = cls->FName;

  if (emit_op == emCreate) {
    auto* cls = dynamic_cast<TqsClassVariable*>(first);
    if (!cls || next == 0) Fail(u"Class type required");
    TqsCustomHelper* create = cls->Find(u"Create");
    if (!create) Fail(u"Undeclared identifier: 'Create'");
    TqsDesignatorItem item = ItemFor(create, nodes[0].Pos);
    item.FArgs = std::move(designator->FItems.back().FArgs);
    designator->FItems.back().FArgs.clear();
    designator->FItems.push_back(std::move(item));
    typ = fvtClass;
  }

  // Each further name against the item before it.
  for (size_t i = next; i < nodes.size(); ++i) {
    const PendingItem& p = nodes[i];
    FErrorPos = p.Pos;
    TqsDesignatorItem& prev = designator->FItems.back();
    auto* prev_method = dynamic_cast<TqsMethodHelper*>(prev.FRef);
    if (prev_method && prev_method->FIndexMethod && prev.FArgs.empty()) {
      if (!p.IsIndex) Fail(u"Index required");
      compile_args(prev, p);
      continue;
    }
    Variant current = designator->FItems.size() == 1 ? CompileTimeValue(prev.FRef) : Variant::Null();
    // Compiled while running: a longer prefix (an element of a Variant array, say) is read for its
    // value, unless reading it would call a script routine.
    if (typ == fvtVariant && FLateMode && designator->FItems.size() > 1 && !CallsRoutine(*designator))
      current = designator->PrefixValue();
    if (typ == fvtVariant) {
      if (current.IsNull() || current.IsEmpty()) {
        return LateBound(element, scope, next == 0 ? &first->FName : nullptr);
      }
      if (current.IsString()) {
        typ = fvtString;
      } else if (current.IsArray()) {
        if (!p.IsIndex) Fail(u"Index required");
        typ = fvtArray;
      } else if (Object* object = qsObjectOf(current)) {
        typ = fvtClass;
        type_name = object->ClassType().Name();
      }
    }
    TqsDesignatorItem item;
    item.FSourcePos = p.Pos;
    if (typ == fvtString) {
      if (!p.IsIndex) Fail(u"Strings doesn't have properties or methods");
      item.FRef = scope.Find(u"__StringHelper");
    } else if (typ == fvtClass) {
      TqsClassVariable* cls = RequireClass(type_name, scope);
      if (p.IsIndex) {
        if (!cls->FDefProperty) Fail(u"Class " + type_name + u" does not have a default property");
        item.FRef = cls->FDefProperty;
        item.FFlag = true;
      } else if (TqsCustomHelper* member = cls->Find(p.Name)) {
        qsNameEnumProperty(*member, scope);
        item.FRef = member;
      } else if (TqsComponentOwner* owner = qsComponentOwner(qsObjectOf(current));
                 owner && owner->FindOwnedComponent(p.Name)) {
        Object* component = owner->FindOwnedComponent(p.Name);
        auto helper = std::make_unique<TqsComponentHelper>(p.Name, component, component->ClassType().Name());
        item.FRef = helper.get();
        designator->FOwnedRefs.push_back(std::move(helper));
      } else if (FScript.FUseClassLateBinding && !FScript.FIsRunning && !FLateMode) {
        return LateBound(element, scope, next == 0 ? &first->FName : nullptr);
      } else {
        Fail(u"Undeclared identifier: '" + p.Name + u"'");
      }
    } else if (typ == fvtArray) {
      if (!p.IsIndex) Fail(u"Array type required");
      item.FRef = dynamic_cast<TqsArrayHelper*>(prev.FRef->FRefItem) ? prev.FRef->FRefItem
                                                                     : scope.Find(u"__ArrayHelper");
    } else {
      Fail(u"Array type required");
    }
    if (!item.FRef) Fail(u"Undeclared identifier: '" + p.Name + u"'");
    const String owner_class = type_name;
    typ = item.FRef->FTyp;
    type_name = item.FRef->FTypeName;
    if (typ == fvtConstructor) {
      typ = fvtClass;
      type_name = owner_class;
    }
    designator->FItems.push_back(std::move(item));
    compile_args(designator->FItems.back(), p);
  }

  if (emit_op == emFree) {
    if (typ != fvtClass && typ != fvtVariant) Fail(u"Class type required");
    TqsClassVariable* object_class = RequireClass(u"TObject", scope);
    TqsCustomHelper* free = object_class->Find(u"Free");
    if (!free) Fail(u"Undeclared identifier: 'Free'");
    designator->FItems.push_back(ItemFor(free, FErrorPos));
    typ = free->FTyp;
  }
  for (TqsDesignatorItem& item : designator->FItems) CheckArguments(item, scope);
  const TqsCustomVariable* last = designator->FItems.back().FRef;
  designator->FTyp = typ;
  designator->FTypeName = type_name;
  designator->FIsReadOnly = last->FIsReadOnly;
  if (auto fast = FastDesignator(*designator, scope)) {
    fast->FTyp = designator->FTyp;
    fast->FTypeName = designator->FTypeName;
    fast->FIsReadOnly = designator->FIsReadOnly;
    return fast;
  }
  return designator;
}

std::unique_ptr<TqsDesignator> qsCompileLateDesignator(const TqsXMLItem& element, TqsScript* scope) {
  TqsCompiler compiler(nullptr, *scope, u"");
  compiler.FLateMode = true;
  return compiler.DoDesignator(element, *scope, emNone);
}

}  // namespace zavrik
