#include "script/qs_istatements.h"

#include <new>

#include "core/error.h"
#include "core/numeric.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "core/variant_ops.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_ivariables.h"

namespace zavrik {

TqsStatement::~TqsStatement() = default;

TqsStatement& TqsStatement::Add(std::unique_ptr<TqsStatement> statement) {
  FItems.push_back(std::move(statement));
  return *FItems.back();
}

bool TqsStatement::RunLine() {
  if (const TqsRunLineEvent* handler = FProgram->RunLineHandler()) {
    (*handler)(*FProgram, FUnitName, FSourcePos);
  }
  return !FProgram->FTerminated;
}

void TqsStatement::Execute() {
  TqsScript& scope = *FProgram;
  scope.ErrorPos.clear();
  for (const std::unique_ptr<TqsStatement>& item : FItems) {
    if (scope.FTerminated) break;
    scope.FLastSourcePos = &item->FSourcePos;
    try {
      item->Execute();
    } catch (...) {
      if (scope.ErrorPos.empty() && scope.FLastSourcePos) scope.ErrorPos = *scope.FLastSourcePos;
      throw;
    }
    if (scope.FBreakCalled || scope.FContinueCalled || scope.FExitCalled) break;
  }
}

bool TqsStatement::RunBody() {
  TqsStatement::Execute();
  TqsScript& scope = *FProgram;
  if (scope.FBreakCalled || scope.FExitCalled || scope.FTerminated) return false;
  scope.FContinueCalled = false;
  return true;
}

// --- assignments: "designator := expression" and the modifying forms

void TqsAssignmentStmt::Execute() {
  if (!RunLine()) return;
  Store(Operand());
}

void TqsAssignPlusStmt::Execute() {
  if (!RunLine()) return;
  Variant value = Operand();
  if (FStrVar && FStrVar->AppendText(value)) return;
  Store(qsArith<VarOp::Add>(Target(), value));
}

void TqsAssignMinusStmt::Execute() {
  if (!RunLine()) return;
  Variant value = Operand();
  Store(qsArith<VarOp::Sub>(Target(), value));
}

void TqsAssignMulStmt::Execute() {
  if (!RunLine()) return;
  Variant value = Operand();
  Store(qsArith<VarOp::Mul>(Target(), value));
}

void TqsAssignDivStmt::Execute() {
  if (!RunLine()) return;
  Variant value = Operand();
  Store(VarDivFloat(Target(), value));
}

void TqsCallStmt::Execute() {
  if (!RunLine()) return;
  FDesignator->FNeedResult = false;
  Variant value = FDesignator->Value();
  if (FModificator) {
    const Variant one(int32_t{1});
    FDesignator->FNeedResult = true;
    FDesignator->SetValue(FModificator == u'+' ? VarAdd(value, one) : VarSub(value, one));
  }
}

void TqsIfStmt::Execute() {
  if (!RunLine()) return;
  if (VarToBoolean(FCondition->Value())) TqsStatement::Execute();
  else if (FElseStmt) FElseStmt->Execute();
}

void TqsCaseStmt::Execute() {
  if (!RunLine()) return;
  const Variant selector = FCondition->Value();
  TqsStatement* chosen = FElseStmt.get();
  for (const auto& s : FSelectors) {
    if (s->FSetExpression->Contains(selector)) {
      chosen = s.get();
      break;
    }
  }
  if (chosen) chosen->Execute();
  if (FConsumesBreak) FProgram->FBreakCalled = false;
}

// --- loops

void TqsWhileStmt::Execute() {
  if (!RunLine()) return;
  while (VarToBoolean(FCondition->Value())) {
    if (!RunBody()) break;
  }
  FProgram->FBreakCalled = false;
}

void TqsRepeatStmt::Execute() {
  if (!RunLine()) return;
  for (;;) {
    if (!RunBody()) break;
    const bool condition = VarToBoolean(FCondition->Value());
    if (condition != FInverseCondition) break;
  }
  FProgram->FBreakCalled = false;
}

void TqsForStmt::Execute() {
  if (!RunLine()) return;
  const int64_t first = VarToInteger(FBeginValue->Value());
  const int64_t last = VarToInteger(FEndValue->Value());
  const int64_t step = FDown ? -1 : 1;
  if (FDown ? first >= last : last >= first) {
    for (int64_t i = first;; i += step) {
      FVariable->SetStoredValue(Variant(static_cast<int32_t>(i)));
      if (!RunBody() || i == last) break;
    }
  }
  FProgram->FBreakCalled = false;
}

void TqsVbForStmt::Execute() {
  if (!RunLine()) return;
  Variant current = FBeginValue->Value();
  const Variant last = FEndValue->Value();
  const Variant step = FStep ? FStep->Value() : Variant(int32_t{1});
  const bool up = VarGreaterEqual(step, Variant(int32_t{0}));
  while (up ? VarLessEqual(current, last) : VarGreaterEqual(current, last)) {
    FVariable->SetValue(current);
    if (!RunBody()) break;
    current = VarAdd(current, step);
  }
  FProgram->FBreakCalled = false;
}

void TqsCppForStmt::Execute() {
  if (!RunLine()) return;
  if (FFirstStmt) FFirstStmt->Execute();
  while (!FProgram->FTerminated && (!FExpression || VarToBoolean(FExpression->Value()))) {
    if (!RunBody()) break;
    if (FSecondStmt) FSecondStmt->Execute();
  }
  FProgram->FBreakCalled = false;
}

// --- try, control transfer, with

String qsExceptionClassName(const std::exception& error) {
  const auto* e = dynamic_cast<const Error*>(&error);
  if (!e) return u"Exception";
  const String& m = e->Message();
  if (m == kDivisionByZero) return u"EDivByZero";
  if (m == kFloatDivisionByZero) return u"EZeroDivide";
  if (m == kInvalidFloatOperation) return u"EInvalidOp";
  if (m == kRangeCheckError) return u"ERangeError";
  if (m == kInvalidVariantOperation) return u"EVariantInvalidOpError";
  if (m.starts_with(u"Could not convert variant")) return u"EVariantTypeCastError";
  if (m.find(u"is not a valid") != String::npos) return u"EConvertError";
  if (m == u"Index out of bounds") return u"ERangeError";
  return u"Exception";
}

void TqsTryStmt::Execute() {
  if (!RunLine()) return;
  TqsScript& scope = *FProgram;
  if (FIsExcept) {
    try {
      TqsStatement::Execute();
    } catch (const std::bad_alloc&) {
      throw;  // the memory limit ends the run; a script cannot catch it
    } catch (const std::exception& error) {
      const auto* e = dynamic_cast<const Error*>(&error);
      scope.SetVariable(u"ExceptionClassName", Variant(qsExceptionClassName(error)));
      scope.SetVariable(u"ExceptionMessage", Variant(e ? e->Message() : Utf8ToString(error.what())));
      if (scope.FLastSourcePos) scope.ErrorPos = *scope.FLastSourcePos;
      if (FExceptStmt) FExceptStmt->Execute();
    }
    return;
  }
  // finally: runs whether the protected part completed or raised, whole: a pending exit, break
  // or continue is set aside meanwhile and holds again afterwards.
  auto run_finally = [&] {
    const bool exit_called = scope.FExitCalled;
    const bool break_called = scope.FBreakCalled;
    const bool continue_called = scope.FContinueCalled;
    scope.FExitCalled = scope.FBreakCalled = scope.FContinueCalled = false;
    if (FExceptStmt) FExceptStmt->Execute();
    scope.FExitCalled = scope.FExitCalled || exit_called;
    scope.FBreakCalled = scope.FBreakCalled || break_called;
    scope.FContinueCalled = scope.FContinueCalled || continue_called;
  };
  try {
    TqsStatement::Execute();
  } catch (...) {
    run_finally();
    throw;
  }
  run_finally();
}

void TqsBreakStmt::Execute() { FProgram->FBreakCalled = true; }
void TqsContinueStmt::Execute() { FProgram->FContinueCalled = true; }

void TqsExitStmt::Execute() {
  if (!RunLine()) return;
  FProgram->FExitCalled = true;
}

void TqsWithStmt::Execute() { FVariable->SetStoredValue(FDesignator->Value()); }

}  // namespace zavrik
