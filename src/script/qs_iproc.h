// Script procedures and functions: each has its own local scope whose parent is the declaring
// scope; recursive activations save and restore the locals.
#pragma once

#include <memory>
#include <vector>

#include "script/qs_ivariables.h"

namespace zavrik {

class TqsScript;

class TqsProcVariable : public TqsCustomVariable {
 public:
  TqsProcVariable(StringView name, TqsScript* parent, bool is_func, TqsVarType typ,
                  StringView type_name);
  ~TqsProcVariable() override;
  // Runs the routine; a function gives its Result, a procedure Null.
  Variant Value() override;
  void SetValue(const Variant&) override {}

  // A call on behalf of the host: the arguments go to the parameters in order and, with
  // `results`, every parameter's final value comes back there (element i for parameter i).
  // When the routine is already running, its locals are saved and restored around the call.
  Variant Call(const std::vector<Variant>& args, std::vector<Variant>* results = nullptr);

  // Pushes the values of every local of the routine's scope; returns the frame's start.
  size_t SaveLocalVariables();
  void RestoreLocalVariables(size_t frame);

  bool FExecuting = false;
  // The locals a frame saves: every variable of the routine's scope (built on first need and
  // again when the scope's items change); text variables go through their virtual accessors.
  struct FrameItem {
    TqsCustomVariable* Variable;
    bool IsText;
  };
  std::vector<FrameItem> FFrameItems;
  int FFrameItemsCount = -1;
  bool FIsFunc;
  std::unique_ptr<TqsScript> FProgram;
  std::vector<Variant> FVarsStack;  // saved frames, one value per local, frames back to back
};

// How deep script routines may call each other (in one thread, across scripts and Evaluate)
// before the run fails; calls also fail when they would use more than half the thread's stack.
inline constexpr int kMaxCallDepth = 2000;

}  // namespace zavrik
