#include "script/qs_iproc.h"

#include "core/error.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_istatements.h"

namespace zavrik {
namespace {

// Restores the flags of a call whatever way it ends.
class CallScope {
 public:
  CallScope(TqsProcVariable& proc, TqsScript& main)
      : proc_(proc), main_(main), was_executing_(proc.FExecuting), saved_running_(main.FProgRunning) {
    if (++main_.FCallDepth > kMaxCallDepth) {
      --main_.FCallDepth;
      throw Error(u"Too many nested calls (stack overflow) in '" + proc.FName + u"'");
    }
    proc_.FExecuting = true;
    main_.FProgRunning = proc_.FProgram.get();
    TqsScript& scope = *proc_.FProgram;
    scope.FExitCalled = false;
    scope.FTerminated = false;
    scope.FIsRunning = true;
    if (scope.FProgName != proc_.FName) scope.FProgName = proc_.FName;
  }
  ~CallScope() {
    TqsScript& scope = *proc_.FProgram;
    scope.FExitCalled = false;
    scope.FTerminated = false;
    scope.FBreakCalled = false;
    scope.FContinueCalled = false;
    scope.FIsRunning = false;
    main_.FProgRunning = saved_running_;
    proc_.FExecuting = was_executing_;
    --main_.FCallDepth;
  }

 private:
  TqsProcVariable& proc_;
  TqsScript& main_;
  bool was_executing_;
  TqsScript* saved_running_;
};

void ClearLocals(TqsScript& scope, const TqsCustomVariable* result) {
  for (int i = 0; i < scope.Count(); ++i) {
    TqsCustomVariable& v = scope.Items(i);
    if (&v == result || !dynamic_cast<TqsVariable*>(&v)) continue;
    if (v.StoredValue().IsEmpty()) continue;
    switch (v.FTyp) {
      case fvtInt: case fvtFloat: case fvtInt64: v.SetStoredValue(Variant(int32_t{0})); break;
      case fvtChar: case fvtString: v.SetStoredValue(Variant(String())); break;
      case fvtVariant: v.SetStoredValue(Variant::Null()); break;
      default: break;
    }
  }
}

}  // namespace

TqsProcVariable::TqsProcVariable(StringView name, TqsScript* parent, bool is_func, TqsVarType typ,
                                 StringView type_name)
    : TqsCustomVariable(name, typ, type_name),
      FIsFunc(is_func),
      FProgram(std::make_unique<TqsScript>(parent)) {
  FIsReadOnly = true;
  FProgram->FMainProg = false;
  FProgram->FSyntaxType = parent ? parent->FSyntaxType : String(u"PascalScript");
  if (parent) parent->AddChildScope(FProgram.get());
}

TqsProcVariable::~TqsProcVariable() = default;

Variant TqsProcVariable::Value() {
  TqsScript& main = *FProgram->Parent()->MainProgram();
  Variant result = Variant::Null();
  {
    CallScope call(*this, main);
    if (FIsFunc && FRefItem) FRefItem->SetStoredValue(Variant());
    if (FProgram->FStatement) FProgram->FStatement->Execute();
    if (FIsFunc && FRefItem) result = FRefItem->Value();
  }
  if (main.FClearLocalVars) ClearLocals(*FProgram, FRefItem);
  return result;
}

size_t TqsProcVariable::SaveLocalVariables() {
  const size_t frame = FVarsStack.size();
  for (int i = 0; i < FProgram->Count(); ++i) FVarsStack.push_back(FProgram->Items(i).StoredValue());
  return frame;
}

void TqsProcVariable::RestoreLocalVariables(size_t frame) {
  if (frame > FVarsStack.size()) return;
  for (int i = 0; i < FProgram->Count() && frame + static_cast<size_t>(i) < FVarsStack.size(); ++i) {
    FProgram->Items(i).SetStoredValue(std::move(FVarsStack[frame + static_cast<size_t>(i)]));
  }
  FVarsStack.resize(frame);
}

}  // namespace zavrik
