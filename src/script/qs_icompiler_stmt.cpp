// The compiler: statements.
#include "core/error.h"
#include "script/qs_iclass.h"
#include "script/qs_icompiler.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_xml.h"

namespace zavrik {
namespace {

String NameOf(const TqsXMLItem& e) { return AsciiLower(e.Name()); }
String TextOf(const TqsXMLItem& e) { return e.GetProp(u"text"); }

bool IsAssignableVariable(TqsCustomVariable* v) {
  return v && (dynamic_cast<TqsVariable*>(v) || dynamic_cast<TqsParamItem*>(v));
}

}  // namespace

template <class T>
T& TqsCompiler::NewStatement(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  auto statement = std::make_unique<T>(&scope);
  statement->FSourcePos = element.GetProp(u"pos");
  statement->FUnitName = FUnitName;
  FErrorPos = statement->FSourcePos;
  FScript.AddCodeLine(FUnitName, FErrorPos);
  return static_cast<T&>(list.Add(std::move(statement)));
}

void TqsCompiler::CompileChildren(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list,
                                  int from, int to) {
  const int end = to < 0 ? element.Count() : to;
  for (int i = from; i < end; ++i) CompileStatement(element.Items(i), scope, list);
}

void TqsCompiler::CompileStatement(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const String name = NameOf(element);
  if (name == u"assignstmt") CompileAssignment(element, scope, list);
  else if (name == u"callstmt") CompileCall(element, scope, list);
  else if (name == u"ifstmt") CompileIf(element, scope, list);
  else if (name == u"casestmt") CompileCase(element, scope, list);
  else if (name == u"forstmt") CompileFor(element, scope, list, false);
  else if (name == u"vbforstmt") CompileFor(element, scope, list, true);
  else if (name == u"cppforstmt") CompileCppFor(element, scope, list);
  else if (name == u"whilestmt") CompileWhile(element, scope, list);
  else if (name == u"repeatstmt") CompileRepeat(element, scope, list);
  else if (name == u"trystmt") CompileTry(element, scope, list);
  else if (name == u"break") NewStatement<TqsBreakStmt>(element, scope, list);
  else if (name == u"continue") NewStatement<TqsContinueStmt>(element, scope, list);
  else if (name == u"exit") NewStatement<TqsExitStmt>(element, scope, list);
  else if (name == u"return") CompileReturn(element, scope, list);
  else if (name == u"with") CompileWith(element, scope, list);
  else if (name == u"delete") {
    if (element.Count() == 0) return;
    auto& stmt = NewStatement<TqsCallStmt>(element, scope, list);
    stmt.FDesignator = DoDesignator(element.Items(0), scope, emFree);
  } else if (name == u"compoundstmt") CompileChildren(element, scope, list);
  else if (name == u"uses") CompileUses(element, scope, list);
  else if (name == u"var") CompileVar(element, scope, list);
  else if (name == u"const") CompileConst(element, scope);
  else if (name == u"procedure" || name == u"function") {
    auto it = FRoutines.find(&element);
    if (it != FRoutines.end()) CompileRoutineBody(element, *it->second);
  }
}

// assignstmt: designator, optional modificator, expression.
void TqsCompiler::CompileAssignment(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const int d = element.Find(u"dsgn"), x = element.Find(u"expr"), m = element.Find(u"modificator");
  if (d < 0) {
    // BasicScript `Set`: the assignment is wrapped once more.
    const int inner = element.Find(u"assignstmt");
    if (inner >= 0) CompileAssignment(element.Items(inner), scope, list);
    return;
  }
  if (x < 0) return;
  FErrorPos = element.GetProp(u"pos");
  std::unique_ptr<TqsDesignator> target = DoDesignator(element.Items(d), scope, emNone);
  if (target->FIsReadOnly) {
    FErrorPos = element.GetProp(u"pos");
    Fail(u"Left side cannot be assigned to");
  }
  std::unique_ptr<TqsExpression> value = CompileExpression(element.Items(x), scope);
  FErrorPos = element.Items(x).GetProp(u"pos");
  CheckAssignable({target->FTyp, target->FTypeName}, {value->FTyp, value->FTypeName}, scope);
  TqsCustomVariable* plain = target->FKind == dkVariable
                                 ? static_cast<TqsVariableDesignator*>(target.get())->FVar
                                 : nullptr;
  TqsOperatorType op = opNone;
  if (m >= 0) {
    const String text = TextOf(element.Items(m));
    op = text == u"+" ? opPlus : text == u"-" ? opMinus : text == u"*" ? opMul : opDivFloat;
  } else if (plain) {
    // v := v op e, and v := e op v for + and * on non-text kinds, modify v in place.
    auto* root = dynamic_cast<TqsOperatorNode*>(value->Root());
    auto same = [plain](TqsExpressionNode* n) {
      auto* dn = dynamic_cast<TqsDesignatorNode*>(n);
      return dn && dn->FDesignator->FKind == dkVariable &&
             static_cast<TqsVariableDesignator*>(dn->FDesignator.get())->FVar == plain;
    };
    if (root && root->FLeft && root->FRight &&
        (root->FOp == opPlus || root->FOp == opMinus || root->FOp == opMul || root->FOp == opDivFloat)) {
      std::unique_ptr<TqsExpressionNode>* rest = nullptr;
      if (same(root->FLeft.get())) rest = &root->FRight;
      else if ((root->FOp == opPlus || root->FOp == opMul) && same(root->FRight.get()) &&
               plain->FTyp != fvtString && plain->FTyp != fvtVariant && plain->FTyp != fvtChar) {
        rest = &root->FLeft;
      }
      if (rest) {
        op = root->FOp;
        auto e = std::make_unique<TqsExpression>(&scope);
        e->FSource = value->FSource;
        e->FTyp = (*rest)->FTyp;
        e->FTypeName = (*rest)->FTypeName;
        (*rest)->FParent = e->FNode.get();
        e->FNode->FLeft = std::move(*rest);
        value = std::move(e);
      }
    }
  }
  TqsAssignmentStmt* stmt = nullptr;
  switch (op) {
    case opPlus: stmt = &NewStatement<TqsAssignPlusStmt>(element, scope, list); break;
    case opMinus: stmt = &NewStatement<TqsAssignMinusStmt>(element, scope, list); break;
    case opMul: stmt = &NewStatement<TqsAssignMulStmt>(element, scope, list); break;
    case opDivFloat: stmt = &NewStatement<TqsAssignDivStmt>(element, scope, list); break;
    default: stmt = &NewStatement<TqsAssignmentStmt>(element, scope, list); break;
  }
  if (IsAssignableVariable(plain)) {
    stmt->FVar = plain;
    stmt->FStrVar = dynamic_cast<TqsStringVariable*>(plain);
  }
  if (value->Root() && !value->Root()->IsOperator()) stmt->FExpr = value->Root();
  stmt->FDesignator = std::move(target);
  stmt->FExpression = std::move(value);
}

// callstmt: designator, optional modificator (++ / --).
void TqsCompiler::CompileCall(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const int d = element.Find(u"dsgn"), m = element.Find(u"modificator");
  if (d < 0) return;
  FErrorPos = element.GetProp(u"pos");
  std::unique_ptr<TqsDesignator> designator = DoDesignator(element.Items(d), scope, emNone);
  if (m >= 0 && designator->FIsReadOnly) {
    FErrorPos = element.GetProp(u"pos");
    Fail(u"Left side cannot be assigned to");
  }
  auto& stmt = NewStatement<TqsCallStmt>(element, scope, list);
  if (m >= 0) stmt.FModificator = TextOf(element.Items(m)) == u"-" ? u'-' : u'+';
  stmt.FDesignator = std::move(designator);
}

// ifstmt: expression, thenstmt, optional elsestmt.
void TqsCompiler::CompileIf(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const int x = element.Find(u"expr");
  if (x < 0) return;
  auto& stmt = NewStatement<TqsIfStmt>(element, scope, list);
  stmt.FCondition = CompileExpression(element.Items(x), scope);
  const int then_index = element.Find(u"thenstmt");
  if (then_index >= 0) CompileChildren(element.Items(then_index), scope, stmt);
  const int else_index = element.Find(u"elsestmt");
  if (else_index >= 0) {
    stmt.FElseStmt = std::make_unique<TqsStatement>(&scope);
    CompileChildren(element.Items(else_index), scope, *stmt.FElseStmt);
  }
}

// casestmt: [breakable,] expression, caseselector (set, statement) ..., optional else
// statement. A `breakable` leaf (C-style switch) makes the statement consume a `break`.
void TqsCompiler::CompileCase(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const int x = element.Find(u"expr");
  if (x < 0) return;
  auto& stmt = NewStatement<TqsCaseStmt>(element, scope, list);
  stmt.FConsumesBreak = element.Find(u"breakable") >= 0;
  stmt.FCondition = CompileExpression(element.Items(x), scope);
  for (int i = x + 1; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    if (NameOf(child) == u"breakable") continue;
    if (NameOf(child) == u"caseselector") {
      auto selector = std::make_unique<TqsCaseSelector>(&scope);
      selector->FSourcePos = child.GetProp(u"pos");
      const int s = child.Find(u"set");
      selector->FSetExpression = s >= 0 ? CompileSet(child.Items(s), scope)
                                        : std::make_unique<TqsSetExpression>();
      CompileChildren(child, scope, *selector, s + 1);
      stmt.FSelectors.push_back(std::move(selector));
    } else {
      if (!stmt.FElseStmt) stmt.FElseStmt = std::make_unique<TqsStatement>(&scope);
      CompileStatement(child, scope, *stmt.FElseStmt);
    }
  }
}

TqsCustomVariable& TqsCompiler::LoopVariable(const TqsXMLItem& ident, TqsScript& scope) {
  FErrorPos = ident.GetProp(u"pos");
  const String name = TextOf(ident);
  TqsCustomVariable* v = scope.Find(name);
  if (!v) {
    if (FNeedDeclareVars) Fail(u"Undeclared identifier: '" + name + u"'");
    v = &scope.MainProgram()->Add(std::make_unique<TqsVariable>(name, fvtVariant, u"Variant"));
  }
  const bool numeric = v->FTyp == fvtInt || v->FTyp == fvtFloat || v->FTyp == fvtVariant ||
                       v->FTyp == fvtInt64;
  if (!dynamic_cast<TqsVariable*>(v) || !numeric || v->FIsReadOnly) {
    Fail(u"For loop variable must be numeric variable");
  }
  return *v;
}

// forstmt: ident, start, optional downto, end, statement.
// vbforstmt: ident, start, end, optional step, statements.
void TqsCompiler::CompileFor(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list, bool vb) {
  const int ident = element.Find(u"ident");
  if (ident < 0) return;
  TqsCustomVariable& variable = LoopVariable(element.Items(ident), scope);
  const TqsTypeRec var_type{variable.FTyp, variable.FTypeName};
  std::vector<std::unique_ptr<TqsExpression>> bounds;
  bool down = false;
  int body = ident + 1;
  for (; body < element.Count(); ++body) {
    const TqsXMLItem& child = element.Items(body);
    const String name = NameOf(child);
    if (name == u"downto") {
      down = true;
    } else if (name == u"expr" && bounds.size() < (vb ? 3u : 2u)) {
      bounds.push_back(CompileExpression(child, scope));
      CheckAssignable(var_type, {bounds.back()->FTyp, bounds.back()->FTypeName}, scope);
    } else {
      break;
    }
  }
  if (bounds.size() < 2) return;
  TqsStatement* loop;
  if (vb) {
    auto& stmt = NewStatement<TqsVbForStmt>(element, scope, list);
    stmt.FVariable = &variable;
    stmt.FBeginValue = std::move(bounds[0]);
    stmt.FEndValue = std::move(bounds[1]);
    if (bounds.size() > 2) stmt.FStep = std::move(bounds[2]);
    loop = &stmt;
  } else {
    auto& stmt = NewStatement<TqsForStmt>(element, scope, list);
    stmt.FVariable = &variable;
    stmt.FDown = down;
    stmt.FBeginValue = std::move(bounds[0]);
    stmt.FEndValue = std::move(bounds[1]);
    loop = &stmt;
  }
  CompileChildren(element, scope, *loop, body);
}

// cppforstmt: initialisation, condition, step, statement, taken by position.
void TqsCompiler::CompileCppFor(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  if (element.Count() < 3) return;
  auto& stmt = NewStatement<TqsCppForStmt>(element, scope, list);
  stmt.FFirstStmt = std::make_unique<TqsStatement>(&scope);
  CompileStatement(element.Items(0), scope, *stmt.FFirstStmt);
  if (NameOf(element.Items(1)) == u"expr") stmt.FExpression = CompileExpression(element.Items(1), scope);
  stmt.FSecondStmt = std::make_unique<TqsStatement>(&scope);
  CompileStatement(element.Items(2), scope, *stmt.FSecondStmt);
  CompileChildren(element, scope, stmt, 3);
}

// whilestmt: expression, statement.
void TqsCompiler::CompileWhile(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const int x = element.Find(u"expr");
  if (x < 0) return;
  auto& stmt = NewStatement<TqsWhileStmt>(element, scope, list);
  stmt.FCondition = CompileExpression(element.Items(x), scope);
  CompileChildren(element, scope, stmt, x + 1);
}

// repeatstmt: statements, the condition (the last expression), optional inverse.
void TqsCompiler::CompileRepeat(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  int x = -1;
  for (int i = 0; i < element.Count(); ++i) {
    if (NameOf(element.Items(i)) == u"expr") x = i;
  }
  if (x < 0) return;
  auto& stmt = NewStatement<TqsRepeatStmt>(element, scope, list);
  stmt.FInverseCondition = element.Find(u"inverse") >= 0;
  CompileChildren(element, scope, stmt, 0, x);
  stmt.FCondition = CompileExpression(element.Items(x), scope);
}

// trystmt: statements, then finallystmt or exceptstmt.
void TqsCompiler::CompileTry(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  auto& stmt = NewStatement<TqsTryStmt>(element, scope, list);
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = NameOf(child);
    if (name == u"finallystmt" || name == u"exceptstmt") {
      stmt.FIsExcept = name == u"exceptstmt";
      stmt.FExceptStmt = std::make_unique<TqsStatement>(&scope);
      CompileChildren(child, scope, *stmt.FExceptStmt);
    } else {
      CompileStatement(child, scope, stmt);
    }
  }
}

// return: optional expression assigned to Result, then exit.
void TqsCompiler::CompileReturn(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const int x = element.Find(u"expr");
  if (x >= 0) {
    TqsCustomVariable* result = scope.FindLocal(u"Result");
    std::unique_ptr<TqsExpression> value = CompileExpression(element.Items(x), scope);
    if (result) {
      CheckAssignable({result->FTyp, result->FTypeName}, {value->FTyp, value->FTypeName}, scope);
      auto& stmt = NewStatement<TqsAssignmentStmt>(element, scope, list);
      stmt.FVar = result;
      stmt.FDesignator = std::make_unique<TqsVariableDesignator>(&scope, result);
      stmt.FExpression = std::move(value);
    }
  }
  NewStatement<TqsExitStmt>(element, scope, list);
}

// with: designators, then a statement compiled in the same list.
void TqsCompiler::CompileWith(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  size_t pushed = 0;
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    if (NameOf(child) != u"dsgn") {
      CompileStatement(child, scope, list);
      continue;
    }
    std::unique_ptr<TqsDesignator> designator = DoDesignator(child, scope, emNone);
    if (designator->FTyp != fvtClass && designator->FTyp != fvtVariant) Fail(u"Class type required");
    String name;
    for (int n = 0;; ++n) {
      name = u"_WithList_" + Utf8ToString(std::to_string(n));
      if (!scope.FindLocal(name)) break;
    }
    auto& variable = scope.Add(std::make_unique<TqsVariable>(name, designator->FTyp, designator->FTypeName));
    auto& stmt = NewStatement<TqsWithStmt>(child, scope, list);
    stmt.FDesignator = std::move(designator);
    stmt.FVariable = &variable;
    FWithList.push_back(&variable);
    ++pushed;
  }
  FWithList.resize(FWithList.size() - pushed);
}

// uses: an included unit's tree, compiled once into the same scope.
void TqsCompiler::CompileUses(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list) {
  const String unit = element.GetProp(u"unit");
  for (const String& done : FUsesList) {
    if (qsSameName(done, unit)) return;
  }
  FUsesList.push_back(unit);
  const String saved = FUnitName;
  FUnitName = unit;
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    if (NameOf(child) == u"program") CompileProgram(child, scope, list);
    else CompileStatement(child, scope, list);
  }
  FUnitName = saved;
}

}  // namespace zavrik
