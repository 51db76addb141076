// Event adapters: a host event bound to a script procedure. When the host fires the event, the
// adapter passes the event's arguments to the procedure's parameters in order, calls it and copies
// by-reference parameters back into the arguments.
#pragma once

#include <vector>

#include "script/qs_itypes.h"

namespace zavrik {

class TqsProcVariable;

class TqsCustomEvent {
 public:
  TqsCustomEvent(TqsProcVariable* handler, Object* instance) : FHandler(handler), FInstance(instance) {}
  virtual ~TqsCustomEvent() = default;
  // Saves the procedure's locals when it is already running and restores them afterwards.
  Variant Fire(std::vector<Variant>& args);

  TqsProcVariable* FHandler;
  Object* FInstance;
};

// procedure(Sender: TObject)
class TqsNotifyEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender);
};

}  // namespace zavrik
