#include "script/qs_ievents.h"

#include "script/qs_iproc.h"

namespace zavrik {

Variant TqsCustomEvent::Fire(std::vector<Variant>& args) {
  if (!FHandler) return Variant::Null();
  TqsProcVariable& proc = *FHandler;
  const bool running = proc.FExecuting;
  const size_t frame = running ? proc.SaveLocalVariables() : 0;
  struct Restore {
    TqsProcVariable& proc;
    bool running;
    size_t frame;
    ~Restore() {
      if (running) proc.RestoreLocalVariables(frame);
    }
  } restore{proc, running, frame};
  const int count = std::min(proc.ParamCount(), static_cast<int>(args.size()));
  for (int i = 0; i < count; ++i) proc.Param(i).SetValue(args[static_cast<size_t>(i)]);
  Variant result = proc.Value();
  for (int i = 0; i < count; ++i) {
    if (proc.Param(i).FIsVarParam) args[static_cast<size_t>(i)] = proc.Param(i).Value();
  }
  return result;
}

void TqsNotifyEvent::Notify(Object* sender) {
  std::vector<Variant> args{Variant(sender)};
  Fire(args);
}

}  // namespace zavrik
