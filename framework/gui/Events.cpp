#include "framework/gui/Events.h"

#include "framework/core/Exceptions.h"
#include "framework/gui/ControlImpl.h"

namespace fw {

namespace detail {

std::map<int, Delegate>* TimerHandlers(Timer& timer);

std::map<int, Delegate>* HandlersOf(Object& source, ControlKind* kind) {
  if (auto* control = dynamic_cast<Control*>(&source)) {
    if (kind) *kind = control->impl().kind;
    return &control->impl().handlers;
  }
  if (auto* timer = dynamic_cast<Timer*>(&source)) {
    if (kind) *kind = ControlKind::Timer;
    return TimerHandlers(*timer);
  }
  return nullptr;
}

void CheckSignature(std::string_view expected, std::string_view given) {
  if (expected != given) {
    throw InvalidArgumentException("a handler of signature \"" + std::string(expected) +
                                   "\" was declared as \"" + std::string(given) + "\"");
  }
}

}  // namespace detail

bool Delegate::Invoke(const Ref<Object>& sender, const EventArgs& args) const {
  if (!invoker_) throw NilObjectException("a nil delegate was invoked");
  return invoker_(sender, args);
}

void RuntimeAddEventHandler(const Ref<Object>& source, int eventNumber, const Delegate& handler) {
  if (source.IsNil()) throw NilObjectException("an event handler was bound to a nil object");
  if (handler.IsNil()) throw InvalidArgumentException("a nil delegate cannot handle an event");
  detail::ControlKind kind = detail::ControlKind::Canvas;
  std::map<int, Delegate>* handlers = detail::HandlersOf(*source, &kind);
  if (!handlers) {
    throw InvalidArgumentException("objects of class " + std::string(source->ClassName()) + " raise no events");
  }
  const std::string expected = detail::EventSignature(kind, eventNumber);
  if (expected.empty()) {
    throw InvalidArgumentException("class " + std::string(detail::FrameworkClassName(kind)) + " has no event number " +
                                   std::to_string(eventNumber));
  }
  if (handler.Signature() != expected) {
    throw InvalidArgumentException("event " + std::to_string(eventNumber) + " of class " +
                                   std::string(detail::FrameworkClassName(kind)) + " needs a handler \"" + expected +
                                   "\", not \"" + handler.Signature() + "\"");
  }
  (*handlers)[eventNumber] = handler;
  if (auto* control = dynamic_cast<Control*>(source.Get()); control && control->impl().widget) {
    const std::string_view name = detail::EventsOf(kind)[static_cast<std::size_t>(eventNumber)].name;
    // Pointer moves reach a widget only while it tracks the mouse.
    if (name == "MouseMove") control->impl().widget->setMouseTracking(true);
  }
}

}  // namespace fw
