// Event adapters: a host event bound to a script procedure. When the host fires the event, the
// adapter passes the event's arguments to the procedure's parameters in order, calls it and copies
// by-reference parameters back into the arguments.
//
// Bindings are kept per (host object, event name); a host fires an event by finding its adapter
// with qsFindEvent. A binding ends when the procedure or the object (qsUnbindInstance) goes, or
// when the event is given another procedure or the empty name.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "script/qs_ihelpers.h"
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

// procedure(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer)
class TqsMouseEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, int button, int shift, int x, int y);
};

// procedure(Sender: TObject; Shift: TShiftState; X, Y: Integer)
class TqsMouseMoveEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, int shift, int x, int y);
};

// procedure(Sender: TObject; var Key: Word; Shift: TShiftState)
class TqsKeyEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, int& key, int shift);
};

// procedure(Sender: TObject; var Key: Char)
class TqsKeyPressEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, char16_t& key);
};

// procedure(Sender: TObject; var Action: TCloseAction)
class TqsCloseEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, int& action);
};

// procedure(Sender: TObject; var CanClose: Boolean)
class TqsCloseQueryEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, bool& can_close);
};

// procedure(Sender: TObject; var NewWidth, NewHeight: Integer; var Resize: Boolean)
class TqsCanResizeEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, int& new_width, int& new_height, bool& resize);
};

// procedure(DataSet: TDataSet)
class TqsDatasetNotifyEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* data_set);
};

// procedure(DataSet: TDataSet; var Accept: Boolean)
class TqsFilterRecordEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* data_set, bool& accept);
};

// procedure(Sender: TField; var Text: String; DisplayText: Boolean)
class TqsFieldGetTextEvent : public TqsCustomEvent {
 public:
  using TqsCustomEvent::TqsCustomEvent;
  void Notify(Object* sender, String& text, bool display_text);
};

// Makes `event` the binding of `event_name` on `instance` (none: the binding ends).
void qsBindEvent(Object* instance, StringView event_name, std::unique_ptr<TqsCustomEvent> event);
// The adapter bound to `event_name` on `instance` (case-insensitive), or none.
TqsCustomEvent* qsFindEvent(const Object* instance, StringView event_name);
template <class E>
E* qsFindEvent(const Object* instance, StringView event_name) {
  return dynamic_cast<E*>(qsFindEvent(instance, event_name));
}
// Ends every binding of an object that is going away, or of a procedure that is.
void qsUnbindInstance(const Object* instance);
void qsUnbindHandler(const TqsProcVariable* handler);

// The binder of an event property: binding a procedure creates its adapter with `make`.
using TqsEventFactory = std::function<std::unique_ptr<TqsCustomEvent>(TqsProcVariable*, Object*)>;
TqsEventHelper::Binder qsEventBinder(StringView event_name, TqsEventFactory make);
// The same for the adapter class E (for TqsClassVariable::AddEvent).
template <class E>
TqsEventHelper::Binder qsEventBinder(StringView event_name) {
  return qsEventBinder(event_name, [](TqsProcVariable* handler, Object* instance) {
    return std::unique_ptr<TqsCustomEvent>(std::make_unique<E>(handler, instance));
  });
}

}  // namespace zavrik
