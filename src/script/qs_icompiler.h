// The compiler: turns the syntax tree of TqsILParser into the program model. Declarations become
// scope items, statements TqsStatement objects and expressions TqsExpression trees; names are
// resolved and types checked here, once. It works on element names only, so one compiler serves
// every language.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "script/qs_idesignator.h"
#include "script/qs_iexpression.h"
#include "script/qs_iilparser.h"
#include "script/qs_istatements.h"

namespace zavrik {

class TqsProcVariable;
class TqsScript;
class TqsXMLItem;

enum TqsEmitOp { emNone, emCreate, emFree };

// Operators one expression may hold: its tree is evaluated recursively, so its depth is bounded.
inline constexpr int kMaxExpressionOperators = 1000;

class TqsCompiler {
 public:
  // `parser` holds the syntax tree; `source` is the text it was read from (for macro arguments).
  TqsCompiler(TqsILParser* parser, TqsScript& script, StringView source);
  TqsCompiler(TqsILParser& parser, TqsScript& script, StringView source)
      : TqsCompiler(&parser, script, source) {}
  // Compiles the tree into the script; on failure sets the script's ErrorMsg, ErrorPos and
  // ErrorUnit and returns false.
  bool ParseILScript();
  std::unique_ptr<TqsDesignator> DoDesignator(const TqsXMLItem& element, TqsScript& scope,
                                              TqsEmitOp emit_op);

 private:
  // program, declarations
  void CompileProgram(const TqsXMLItem& program, TqsScript& scope, TqsStatement& list);
  void DeclareRoutines(const TqsXMLItem& element, TqsScript& scope);
  void DeclareRoutine(const TqsXMLItem& element, TqsScript& scope);
  void DeclareParameters(const TqsXMLItem& parameters, TqsProcVariable& proc);
  void CompileRoutineBody(const TqsXMLItem& element, TqsProcVariable& proc);
  void CompileVar(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileConst(const TqsXMLItem& element, TqsScript& scope);
  TqsCustomVariable& MakeVariable(TqsScript& scope, const String& name, const TqsTypeRec& type,
                                  const TqsXMLItem* array);
  TqsTypeRec ResolveTypeName(const String& name, TqsScript& scope);
  void CheckNewName(const String& name, TqsScript& scope);

  // statements
  void CompileStatement(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileChildren(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list,
                       int from = 0, int to = -1);
  void CompileAssignment(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileCall(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileIf(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileCase(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileFor(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list, bool vb);
  void CompileCppFor(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileWhile(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileRepeat(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileTry(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileReturn(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileWith(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  void CompileUses(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);
  TqsCustomVariable& LoopVariable(const TqsXMLItem& ident, TqsScript& scope);
  template <class T>
  T& NewStatement(const TqsXMLItem& element, TqsScript& scope, TqsStatement& list);

  // expressions
 public:
  std::unique_ptr<TqsExpression> CompileExpression(const TqsXMLItem& element, TqsScript& scope);
  // A constant expression with its value (defaults of omitted arguments).
  static std::unique_ptr<TqsExpression> ConstantExpression(const Variant& value, TqsScript& scope);
  std::unique_ptr<TqsSetExpression> CompileSet(const TqsXMLItem& element, TqsScript& scope);
  // Raises "Incompatible types: 'T', 'S'" unless a value of `source` may be assigned to `target`.
  void CheckAssignable(const TqsTypeRec& target, const TqsTypeRec& source, TqsScript& scope);
  bool KindsCompatible(const TqsTypeRec& target, const TqsTypeRec& source, TqsScript& scope);

 private:
  void AddExpressionItems(const TqsXMLItem& element, TqsExpression& expression, TqsScript& scope,
                          int& operators);
  std::unique_ptr<TqsExpressionNode> Operand(const TqsXMLItem& child, TqsScript& scope,
                                             bool after_is);
  TqsTypeRec InferTypes(TqsExpressionNode* node, TqsScript& scope);
  String SourceText(const TqsXMLItem& element) const;

  // designators
  struct PendingItem;
  std::unique_ptr<TqsDesignator> LateBound(const TqsXMLItem& element, TqsScript& scope,
                                           const String* with_name);
  void CheckArguments(TqsDesignatorItem& item, TqsScript& scope);
  std::unique_ptr<TqsDesignator> FastDesignator(TqsDesignator& full, TqsScript& scope);
  TqsClassVariable* RequireClass(const String& name, TqsScript& scope);

  [[noreturn]] void Fail(StringView message);

  TqsILParser* FParser;
  TqsScript& FScript;
  String FSource;
  std::vector<size_t> FLineStarts;
  String FErrorPos;
  const TqsXMLItem* FProgRoot = nullptr;
  String FUnitName;
  std::vector<String> FUsesList;
  std::vector<TqsCustomVariable*> FWithList;
  bool FNeedDeclareVars = true;
  bool FLateMode = false;  // compiling a late-bound designator at run time
  std::map<const TqsXMLItem*, TqsProcVariable*> FRoutines;

  friend std::unique_ptr<TqsDesignator> qsCompileLateDesignator(const TqsXMLItem&, TqsScript*);
};

// Compiles a late-bound designator in its scope, once its prefix variables hold values.
std::unique_ptr<TqsDesignator> qsCompileLateDesignator(const TqsXMLItem& element, TqsScript* scope);

}  // namespace zavrik
