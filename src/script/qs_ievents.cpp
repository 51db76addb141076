#include "script/qs_ievents.h"

#include <map>
#include <mutex>

#include "core/variant_convert.h"
#include "script/qs_iproc.h"

namespace zavrik {
namespace {

struct Bindings {
  std::mutex lock;
  // (object, upper-cased event name) -> adapter
  std::map<std::pair<const Object*, String>, std::unique_ptr<TqsCustomEvent>> events;
};

Bindings& TheBindings() {
  static Bindings* bindings = new Bindings;  // outlives every script, also at exit
  return *bindings;
}

Variant Int(int value) { return Variant(int32_t{value}); }

}  // namespace

Variant TqsCustomEvent::Fire(std::vector<Variant>& args) {
  // The handler may rebind the event and so destroy this adapter: only locals after the call.
  TqsProcVariable* handler = FHandler;
  if (!handler) return Variant::Null();
  std::vector<Variant> results(args.size());
  Variant result = handler->Call(args, &results);
  for (int i = 0; i < handler->ParamCount() && static_cast<size_t>(i) < args.size(); ++i) {
    if (handler->Param(i).FIsVarParam) args[static_cast<size_t>(i)] = results[static_cast<size_t>(i)];
  }
  return result;
}

void TqsNotifyEvent::Notify(Object* sender) {
  std::vector<Variant> args{Variant(sender)};
  Fire(args);
}

void TqsMouseEvent::Notify(Object* sender, int button, int shift, int x, int y) {
  std::vector<Variant> args{Variant(sender), Int(button), Int(shift), Int(x), Int(y)};
  Fire(args);
}

void TqsMouseMoveEvent::Notify(Object* sender, int shift, int x, int y) {
  std::vector<Variant> args{Variant(sender), Int(shift), Int(x), Int(y)};
  Fire(args);
}

void TqsKeyEvent::Notify(Object* sender, int& key, int shift) {
  std::vector<Variant> args{Variant(sender), Int(key), Int(shift)};
  Fire(args);
  key = VarToInteger(args[1]);
}

void TqsKeyPressEvent::Notify(Object* sender, char16_t& key) {
  std::vector<Variant> args{Variant(sender), Variant(String(1, key))};
  Fire(args);
  const String text = VarToString(args[1]);
  key = text.empty() ? char16_t(0) : text[0];
}

void TqsCloseEvent::Notify(Object* sender, int& action) {
  std::vector<Variant> args{Variant(sender), Int(action)};
  Fire(args);
  action = VarToInteger(args[1]);
}

void TqsCloseQueryEvent::Notify(Object* sender, bool& can_close) {
  std::vector<Variant> args{Variant(sender), Variant(can_close)};
  Fire(args);
  can_close = VarToBoolean(args[1]);
}

void TqsCanResizeEvent::Notify(Object* sender, int& new_width, int& new_height, bool& resize) {
  std::vector<Variant> args{Variant(sender), Int(new_width), Int(new_height), Variant(resize)};
  Fire(args);
  new_width = VarToInteger(args[1]);
  new_height = VarToInteger(args[2]);
  resize = VarToBoolean(args[3]);
}

void TqsDatasetNotifyEvent::Notify(Object* data_set) {
  std::vector<Variant> args{Variant(data_set)};
  Fire(args);
}

void TqsFilterRecordEvent::Notify(Object* data_set, bool& accept) {
  std::vector<Variant> args{Variant(data_set), Variant(accept)};
  Fire(args);
  accept = VarToBoolean(args[1]);
}

void TqsFieldGetTextEvent::Notify(Object* sender, String& text, bool display_text) {
  std::vector<Variant> args{Variant(sender), Variant(text), Variant(display_text)};
  Fire(args);
  text = VarToStr(args[1]);
}

void qsBindEvent(Object* instance, StringView event_name, std::unique_ptr<TqsCustomEvent> event) {
  Bindings& b = TheBindings();
  std::unique_ptr<TqsCustomEvent> old;  // destroyed outside the lock
  std::lock_guard guard(b.lock);
  auto& slot = b.events[{instance, qsUpperName(event_name)}];
  old = std::move(slot);
  slot = std::move(event);
  if (!slot) b.events.erase({instance, qsUpperName(event_name)});
}

TqsCustomEvent* qsFindEvent(const Object* instance, StringView event_name) {
  Bindings& b = TheBindings();
  std::lock_guard guard(b.lock);
  if (b.events.empty()) return nullptr;
  auto it = b.events.find({instance, qsUpperName(event_name)});
  return it == b.events.end() ? nullptr : it->second.get();
}

TqsEventHelper::Binder qsEventBinder(StringView event_name, TqsEventFactory make) {
  return [name = String(event_name), make = std::move(make)](Object* instance, TqsCustomVariable* handler) {
    auto* proc = dynamic_cast<TqsProcVariable*>(handler);
    qsBindEvent(instance, name, proc ? make(proc, instance) : nullptr);
  };
}

void qsUnbindInstance(const Object* instance) {
  Bindings& b = TheBindings();
  std::lock_guard guard(b.lock);
  std::erase_if(b.events, [instance](const auto& entry) { return entry.first.first == instance; });
}

void qsUnbindHandler(const TqsProcVariable* handler) {
  Bindings& b = TheBindings();
  std::lock_guard guard(b.lock);
  if (b.events.empty()) return;
  std::erase_if(b.events, [handler](const auto& entry) { return entry.second->FHandler == handler; });
}

}  // namespace zavrik
