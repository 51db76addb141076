#include "script/qs_iproc.h"

#include <sys/resource.h>

#include <algorithm>

#include "core/error.h"
#include "script/qs_ievents.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_istatements.h"

namespace zavrik {
namespace {

// Nested routine calls of this thread, and where the outermost one started on the stack.
thread_local int t_call_depth = 0;
thread_local const char* t_stack_base = nullptr;

// Half the thread's stack limit (at least 1 MB, at most 64 MB): script recursion may use that
// much below the outermost call; the rest stays for the host and for one routine's expressions.
size_t StackAllowance() {
  static const size_t allowance = [] {
    rlimit limit{};
    size_t bytes = size_t(8) << 20;
    if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) bytes = limit.rlim_cur;
    return std::clamp(bytes / 2, size_t(1) << 20, size_t(64) << 20);
  }();
  return allowance;
}

void EnterCall(const TqsProcVariable& proc) {
  const char here = 0;
  if (t_call_depth == 0) t_stack_base = &here;
  const size_t used = t_stack_base > &here ? static_cast<size_t>(t_stack_base - &here) : 0;
  if (t_call_depth >= kMaxCallDepth || used > StackAllowance()) {
    throw Error(u"Too many nested calls (stack overflow) in '" + proc.FName + u"'");
  }
  ++t_call_depth;
}

// Restores the flags of a call whatever way it ends.
class CallScope {
 public:
  CallScope(TqsProcVariable& proc, TqsScript& main)
      : proc_(proc), main_(main), was_executing_(proc.FExecuting), saved_running_(main.FProgRunning) {
    EnterCall(proc);
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
    --t_call_depth;
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
}

TqsProcVariable::~TqsProcVariable() { qsUnbindHandler(this); }

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

Variant TqsProcVariable::Call(const std::vector<Variant>& args, std::vector<Variant>* results) {
  const bool running = FExecuting;
  const size_t frame = running ? SaveLocalVariables() : 0;
  struct Restore {
    TqsProcVariable& proc;
    bool running;
    size_t frame;
    ~Restore() {
      if (running) proc.RestoreLocalVariables(frame);
    }
  } restore{*this, running, frame};
  const int count = std::min(ParamCount(), static_cast<int>(args.size()));
  for (int i = 0; i < count; ++i) Param(i).SetValue(args[static_cast<size_t>(i)]);
  Variant result = Value();
  if (results) {
    for (int i = 0; i < count; ++i) (*results)[static_cast<size_t>(i)] = Param(i).Value();
  }
  return result;
}

size_t TqsProcVariable::SaveLocalVariables() {
  if (FFrameItemsCount != FProgram->Count()) {
    FFrameItems.clear();
    for (int i = 0; i < FProgram->Count(); ++i) {
      TqsCustomVariable& v = FProgram->Items(i);
      FFrameItems.push_back({&v, dynamic_cast<TqsStringVariable*>(&v) != nullptr});
    }
    FFrameItemsCount = FProgram->Count();
  }
  const size_t frame = FVarsStack.size();
  for (const FrameItem& item : FFrameItems) {
    FVarsStack.push_back(item.IsText ? item.Variable->StoredValue() : item.Variable->FValue);
  }
  return frame;
}

void TqsProcVariable::RestoreLocalVariables(size_t frame) {
  if (frame > FVarsStack.size()) return;
  const size_t count = std::min(FFrameItems.size(), FVarsStack.size() - frame);
  for (size_t i = 0; i < count; ++i) {
    const FrameItem& item = FFrameItems[i];
    if (item.IsText) item.Variable->SetStoredValue(std::move(FVarsStack[frame + i]));
    else item.Variable->FValue = std::move(FVarsStack[frame + i]);
  }
  FVarsStack.resize(frame);
}

}  // namespace zavrik
