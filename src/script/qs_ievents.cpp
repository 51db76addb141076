#include "script/qs_ievents.h"

#include "script/qs_iproc.h"

namespace zavrik {

Variant TqsCustomEvent::Fire(std::vector<Variant>& args) {
  if (!FHandler) return Variant::Null();
  std::vector<Variant> results(args.size());
  Variant result = FHandler->Call(args, &results);
  for (int i = 0; i < FHandler->ParamCount() && static_cast<size_t>(i) < args.size(); ++i) {
    if (FHandler->Param(i).FIsVarParam) args[static_cast<size_t>(i)] = results[static_cast<size_t>(i)];
  }
  return result;
}

void TqsNotifyEvent::Notify(Object* sender) {
  std::vector<Variant> args{Variant(sender)};
  Fire(args);
}

}  // namespace zavrik
