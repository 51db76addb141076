// Compiled statements. A TqsStatement is a statement list; each statement kind overrides
// Execute. Positions are "line:column" texts; control flags live in the scope (FProgram).
#pragma once

#include <memory>
#include <vector>

#include "script/qs_idesignator.h"
#include "script/qs_iexpression.h"
#include "script/qs_ivariables.h"

namespace zavrik {

class TqsCustomVariable;
class TqsScript;
class TqsStringVariable;

class TqsStatement {
 public:
  explicit TqsStatement(TqsScript* program) : FProgram(program) {}
  virtual ~TqsStatement();
  // Runs the items in order while the scope is not terminated, stopping after break, continue
  // or exit; a failing item's position becomes the scope's ErrorPos.
  virtual void Execute();
  TqsStatement& Add(std::unique_ptr<TqsStatement> statement);

  TqsScript* FProgram;
  String FSourcePos;
  String FUnitName;
  std::vector<std::unique_ptr<TqsStatement>> FItems;

 protected:
  // Reports the position to the OnRunLine handler; false when the scope is terminated.
  bool RunLine();
  // Runs the items as a loop body; false when the loop must end (break or exit).
  bool RunBody();
};

class TqsAssignmentStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsDesignator> FDesignator;
  std::unique_ptr<TqsExpression> FExpression;
  TqsCustomVariable* FVar = nullptr;       // a plain variable target
  TqsExpressionNode* FExpr = nullptr;      // the expression's single operand, read directly
  TqsStringVariable* FStrVar = nullptr;    // a string target: `s := s + text` appends in place
 protected:
  Variant Operand() { return FExpr ? FExpr->Value() : FExpression->Value(); }
  Variant Target() { return FVar ? FVar->Value() : FDesignator->Value(); }
  void Store(const Variant& value) {
    if (FVar) FVar->SetValue(value);
    else FDesignator->SetValue(value);
  }
};

// target := target op value.
class TqsAssignPlusStmt : public TqsAssignmentStmt {
 public:
  using TqsAssignmentStmt::TqsAssignmentStmt;
  void Execute() override;
};
class TqsAssignMinusStmt : public TqsAssignmentStmt {
 public:
  using TqsAssignmentStmt::TqsAssignmentStmt;
  void Execute() override;
};
class TqsAssignMulStmt : public TqsAssignmentStmt {
 public:
  using TqsAssignmentStmt::TqsAssignmentStmt;
  void Execute() override;
};
class TqsAssignDivStmt : public TqsAssignmentStmt {
 public:
  using TqsAssignmentStmt::TqsAssignmentStmt;
  void Execute() override;
};

class TqsCallStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsDesignator> FDesignator;
  char16_t FModificator = 0;  // '+' for ++, '-' for --
};

class TqsIfStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsExpression> FCondition;
  std::unique_ptr<TqsStatement> FElseStmt;
};

class TqsCaseSelector : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  std::unique_ptr<TqsSetExpression> FSetExpression;
};

class TqsCaseStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsExpression> FCondition;
  std::unique_ptr<TqsStatement> FElseStmt;
  std::vector<std::unique_ptr<TqsCaseSelector>> FSelectors;
  bool FConsumesBreak = false;  // a C-style switch: `break` leaves the switch, not a loop
};

class TqsRepeatStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsExpression> FCondition;
  bool FInverseCondition = false;
};

class TqsWhileStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsExpression> FCondition;
};

class TqsForStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsExpression> FBeginValue;
  bool FDown = false;
  std::unique_ptr<TqsExpression> FEndValue;
  TqsCustomVariable* FVariable = nullptr;
};

class TqsVbForStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsExpression> FBeginValue;
  std::unique_ptr<TqsExpression> FEndValue;
  std::unique_ptr<TqsExpression> FStep;
  TqsCustomVariable* FVariable = nullptr;
};

class TqsCppForStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsStatement> FFirstStmt;
  std::unique_ptr<TqsExpression> FExpression;
  std::unique_ptr<TqsStatement> FSecondStmt;
};

class TqsTryStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  bool FIsExcept = false;
  std::unique_ptr<TqsStatement> FExceptStmt;
};

class TqsBreakStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
};
class TqsContinueStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
};
class TqsExitStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
};

class TqsWithStmt : public TqsStatement {
 public:
  using TqsStatement::TqsStatement;
  void Execute() override;
  std::unique_ptr<TqsDesignator> FDesignator;
  TqsCustomVariable* FVariable = nullptr;
};

// The class name `try ... except` stores in ExceptionClassName for a caught error.
String qsExceptionClassName(const std::exception& error);

}  // namespace zavrik
