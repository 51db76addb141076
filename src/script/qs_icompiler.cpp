// The compiler: programs, declarations and statements.
#include "script/qs_icompiler.h"

#include "core/error.h"
#include "core/variant_convert.h"
#include "script/qs_iclass.h"
#include "script/qs_ihelpers.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_xml.h"

namespace zavrik {
namespace {

String NameOf(const TqsXMLItem& e) { return AsciiLower(e.Name()); }
String TextOf(const TqsXMLItem& e) { return e.GetProp(u"text"); }

const TqsXMLItem* ChildNamed(const TqsXMLItem& e, StringView name) {
  const int i = e.Find(name);
  return i < 0 ? nullptr : &e.Items(i);
}

VarKind ElementKind(TqsVarType typ) {
  switch (typ) {
    case fvtInt: return VarKind::Integer;
    case fvtInt64: return VarKind::Int64;
    case fvtFloat: return VarKind::Double;
    case fvtBool: return VarKind::Boolean;
    case fvtChar:
    case fvtString: return VarKind::String;
    default: return VarKind::Empty;
  }
}

Variant InitialValue(TqsVarType typ) {
  switch (typ) {
    case fvtBool: return Variant(false);
    case fvtChar:
    case fvtString: return Variant(String());
    case fvtArray:
    case fvtVariant:
    case fvtEnum:
    case fvtConstructor: return Variant::Null();
    default: return Variant(int32_t{0});
  }
}

}  // namespace

TqsCompiler::TqsCompiler(TqsILParser* parser, TqsScript& script, StringView source)
    : FParser(parser), FScript(script), FSource(source) {
  FLineStarts.push_back(0);
  for (size_t i = 0; i < FSource.size(); ++i) {
    if (FSource[i] == u'\n' || (FSource[i] == u'\r' && (i + 1 >= FSource.size() || FSource[i + 1] != u'\n'))) {
      FLineStarts.push_back(i + 1);
    }
  }
  if (parser) FNeedDeclareVars = parser->NeedDeclareVars();
}

void TqsCompiler::Fail(StringView message) { throw Error(String(message)); }

bool TqsCompiler::ParseILScript() {
  FWithList.clear();
  FScript.ErrorUnit.clear();
  FUnitName.clear();
  FUsesList.clear();
  try {
    auto main = std::make_unique<TqsStatement>(&FScript);
    CompileProgram(FParser->ILScript().Root(), FScript, *main);
    FScript.FStatement = std::move(main);
    FScript.ErrorPos.clear();
    return true;
  } catch (const Error& e) {
    FScript.ErrorMsg = e.Message();
    FScript.ErrorPos = FErrorPos;
    FScript.ErrorUnit = FUnitName;
    return false;
  }
}

// program: declarations and statements; routines are declared first so that they can be used
// before their text.
void TqsCompiler::CompileProgram(const TqsXMLItem& program, TqsScript& scope, TqsStatement& list) {
  const TqsXMLItem* saved = FProgRoot;
  FProgRoot = &program;
  DeclareRoutines(program, scope);
  CompileChildren(program, scope, list);
  FProgRoot = saved;
}

void TqsCompiler::DeclareRoutines(const TqsXMLItem& element, TqsScript& scope) {
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = NameOf(child);
    if (name == u"procedure" || name == u"function") DeclareRoutine(child, scope);
    else if (name == u"compoundstmt") DeclareRoutines(child, scope);
  }
}

// procedure / function: name, optional type, parameters, then the body.
void TqsCompiler::DeclareRoutine(const TqsXMLItem& element, TqsScript& scope) {
  FErrorPos = element.GetProp(u"pos");
  const TqsXMLItem* name_leaf = ChildNamed(element, u"name");
  if (!name_leaf) return;
  const String name = TextOf(*name_leaf);
  CheckNewName(name, scope);
  bool is_func = NameOf(element) == u"function";
  TqsTypeRec result{fvtVariant, u"Variant"};
  if (const TqsXMLItem* type_leaf = ChildNamed(element, u"type")) {
    const String type_name = TextOf(*type_leaf);
    if (qsSameName(type_name, u"void")) is_func = false;
    else if (is_func) result = ResolveTypeName(type_name, scope);
  }
  auto proc = std::make_unique<TqsProcVariable>(name, &scope, is_func, is_func ? result.Typ : fvtClass,
                                                is_func ? result.TypeName : String());
  proc->FSourcePos = FErrorPos;
  proc->FSourceUnit = FUnitName;
  TqsProcVariable& raw = *proc;
  scope.Add(std::move(proc));
  if (const TqsXMLItem* parameters = ChildNamed(element, u"parameters")) {
    DeclareParameters(*parameters, raw);
  }
  if (is_func) {
    TqsCustomVariable& r = MakeVariable(*raw.FProgram, u"Result", result, nullptr);
    raw.FRefItem = &r;
  }
  FRoutines[&element] = &raw;
}

// parameters: `var` groups; `varparams` makes the next group by-reference, a `varparam` leaf
// its own group.
void TqsCompiler::DeclareParameters(const TqsXMLItem& parameters, TqsProcVariable& proc) {
  TqsScript& local = *proc.FProgram;
  bool by_ref = false;
  for (int i = 0; i < parameters.Count(); ++i) {
    const TqsXMLItem& group = parameters.Items(i);
    if (NameOf(group) == u"varparams") {
      by_ref = true;
      continue;
    }
    if (NameOf(group) != u"var") continue;
    const bool group_by_ref = by_ref || group.Find(u"varparam") >= 0;
    by_ref = false;
    TqsTypeRec type{fvtVariant, u"Variant"};
    if (const TqsXMLItem* t = ChildNamed(group, u"type")) type = ResolveTypeName(TextOf(*t), local);
    const TqsXMLItem* init = ChildNamed(group, u"init");
    for (int k = 0; k < group.Count(); ++k) {
      const TqsXMLItem& leaf = group.Items(k);
      if (NameOf(leaf) != u"ident") continue;
      FErrorPos = leaf.GetProp(u"pos");
      const String name = TextOf(leaf);
      CheckNewName(name, local);
      auto param = std::make_unique<TqsParamItem>(name, type.Typ, type.TypeName);
      param->FValue = InitialValue(type.Typ);
      param->FIsVarParam = group_by_ref;
      if (init && init->Count() > 0) {
        std::unique_ptr<TqsExpression> e = CompileExpression(init->Items(0), local);
        param->FDefValue = e->Value();
        param->FIsOptional = true;
      }
      proc.AddParam(static_cast<TqsParamItem*>(&local.Add(std::move(param))));
    }
  }
}

// The body of a routine: its declarations and statements, in its own scope.
void TqsCompiler::CompileRoutineBody(const TqsXMLItem& element, TqsProcVariable& proc) {
  TqsScript& local = *proc.FProgram;
  auto body = std::make_unique<TqsStatement>(&local);
  DeclareRoutines(element, local);
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = NameOf(child);
    if (name == u"name" || name == u"type" || name == u"parameters") continue;
    CompileStatement(child, local, *body);
  }
  local.FStatement = std::move(body);
}

void TqsCompiler::CheckNewName(const String& name, TqsScript& scope) {
  if (scope.FindLocal(name)) Fail(u"Identifier redeclared: '" + name + u"'");
}

TqsTypeRec TqsCompiler::ResolveTypeName(const String& name, TqsScript& scope) {
  String resolved = name;
  auto alias = [&](const TqsXMLItem& types) {
    const int i = types.Find(name);
    if (i < 0) return false;
    resolved = types.Items(i).GetProp(u"type");
    return true;
  };
  const TqsXMLItem* own = FProgRoot ? ChildNamed(*FProgRoot, u"types") : nullptr;
  if (!(own && alias(*own)) && FParser && FParser->Grammar()) alias(FParser->Grammar()->Types());
  if (resolved.empty()) return {fvtVariant, u"Variant"};
  TqsCustomVariable* item = scope.Find(resolved);
  if (!item) Fail(u"Unknown type: '" + resolved + u"'");
  if (item->FTyp == fvtClass && !dynamic_cast<TqsClassVariable*>(item)) {
    Fail(u"Unknown type: '" + resolved + u"'");
  }
  return {item->FTyp, item->FTypeName.empty() ? item->FName : item->FTypeName};
}

TqsCustomVariable& TqsCompiler::MakeVariable(TqsScript& scope, const String& name,
                                             const TqsTypeRec& type, const TqsXMLItem* array) {
  std::unique_ptr<TqsCustomVariable> v;
  if (array) {
    std::vector<ArrayBound> bounds;
    for (int i = 0; i < array->Count(); ++i) {
      const TqsXMLItem& dim = array->Items(i);
      if (NameOf(dim) != u"dim") continue;
      FErrorPos = dim.GetProp(u"pos");
      std::vector<int> values;
      for (int k = 0; k < dim.Count(); ++k) {
        values.push_back(VarToInteger(CompileExpression(dim.Items(k), scope)->Value()));
      }
      if (values.size() == 2) bounds.push_back({values[0], values[1]});
      else if (values.size() == 1) bounds.push_back({0, values[0] - 1});
    }
    if (bounds.empty()) bounds.push_back({0, 0});
    auto var = std::make_unique<TqsVariable>(name, fvtArray, u"Array");
    var->FValue = Variant::CreateArray(bounds, ElementKind(type.Typ));
    auto helper = std::make_unique<TqsArrayHelper>(u"__ArrayHelper_" + name, type.Typ,
                                                   static_cast<int>(bounds.size()));
    var->FRefItem = &scope.Add(std::move(helper));
    v = std::move(var);
  } else if (type.Typ == fvtString || type.Typ == fvtChar) {
    v = std::make_unique<TqsStringVariable>(name, type.Typ, type.TypeName);
  } else {
    v = std::make_unique<TqsVariable>(name, type.Typ, type.TypeName);
    v->FValue = InitialValue(type.Typ);
  }
  v->FSourcePos = FErrorPos;
  v->FSourceUnit = FUnitName;
  v->FOnGetVarValue = FScript.FOnGetVarValue;
  return scope.Add(std::move(v));
}

// var: names, optional type, array and initial value. In PascalScript the array and initial
// value are the group's; in the other languages they belong to the name just before them.
void TqsCompiler::CompileVar(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  FErrorPos = element.GetProp(u"pos");
  TqsTypeRec type{fvtVariant, u"Variant"};
  if (const TqsXMLItem* t = ChildNamed(element, u"type")) type = ResolveTypeName(TextOf(*t), scope);
  const bool pascal = FParser && qsSameName(FParser->LangName(), u"PascalScript");
  struct Decl {
    const TqsXMLItem* ident;
    const TqsXMLItem* array = nullptr;
    const TqsXMLItem* init = nullptr;
  };
  std::vector<Decl> decls;
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = NameOf(child);
    if (name == u"ident") {
      decls.push_back({&child});
    } else if ((name == u"array" || name == u"init") && !decls.empty()) {
      if (pascal) {
        for (Decl& d : decls) (name == u"array" ? d.array : d.init) = &child;
      } else {
        (name == u"array" ? decls.back().array : decls.back().init) = &child;
      }
    }
  }
  for (const Decl& d : decls) {
    FErrorPos = d.ident->GetProp(u"pos");
    const String name = TextOf(*d.ident);
    CheckNewName(name, scope);
    TqsCustomVariable& v = MakeVariable(scope, name, type, d.array);
    if (d.init && d.init->Count() > 0) {
      auto& stmt = NewStatement<TqsAssignmentStmt>(*d.init, scope, list);
      stmt.FExpression = CompileExpression(d.init->Items(0), scope);
      CheckAssignable({v.FTyp, v.FTypeName}, {stmt.FExpression->FTyp, stmt.FExpression->FTypeName}, scope);
      stmt.FVar = &v;
      stmt.FStrVar = dynamic_cast<TqsStringVariable*>(&v);
      stmt.FDesignator = std::make_unique<TqsVariableDesignator>(&scope, &v);
    }
  }
}

// const: name = expression, evaluated now.
void TqsCompiler::CompileConst(const TqsXMLItem& element, TqsScript& scope) {
  FErrorPos = element.GetProp(u"pos");
  const TqsXMLItem* ident = ChildNamed(element, u"ident");
  const TqsXMLItem* expr = ChildNamed(element, u"expr");
  if (!ident || !expr) return;
  const String name = TextOf(*ident);
  CheckNewName(name, scope);
  std::unique_ptr<TqsExpression> e = CompileExpression(*expr, scope);
  auto v = std::make_unique<TqsVariable>(name, e->FTyp, e->FTypeName);
  v->FValue = e->Value();
  v->FIsReadOnly = true;
  v->FSourcePos = FErrorPos;
  scope.Add(std::move(v));
}

}  // namespace zavrik
