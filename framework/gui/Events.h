#pragma once
// Delegates bind a window's handler operation to a control event by number. The signature text
// that the program passes is checked twice: against the handler's C++ type when the delegate is
// made, and against the event's own signature when it is bound. Either mismatch raises.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "framework/core/Exceptions.h"
#include "framework/gui/Object.h"

namespace fw {

// What an event passes after its sender.
struct EventArgs {
  std::string key;       // KeyDown: the key text
  std::int64_t x = 0;    // MouseDown, MouseUp: the pointer's position in the control
  std::int64_t y = 0;
};

class Delegate {
 public:
  using Invoker = std::function<bool(const Ref<Object>& sender, const EventArgs& args)>;
  Delegate() = default;
  Delegate(Invoker invoker, std::string signature)
      : invoker_(std::move(invoker)), signature_(std::move(signature)) {}
  const std::string& Signature() const noexcept { return signature_; }
  bool IsNil() const noexcept { return !invoker_; }
  // Runs the handler; its Boolean, or false for a handler without a result.
  bool Invoke(const Ref<Object>& sender, const EventArgs& args) const;

 private:
  Invoker invoker_;
  std::string signature_;
};

namespace detail {
void CheckSignature(std::string_view expected, std::string_view given);
template <class C>
std::string Sig1() { return "( " + std::string(C::kClassName) + " )"; }
}  // namespace detail

// The target window must outlive the delegate: the framework keeps windows until the program ends.
template <class W, class C>
Delegate RuntimeCreateDelegate(void (W::*op)(Ref<C>), W* target, std::string_view signature, int flag) {
  (void)flag;
  detail::CheckSignature(detail::Sig1<C>(), signature);
  return Delegate(
      [op, target](const Ref<Object>& sender, const EventArgs&) {
        (target->*op)(RuntimeCheckCast<C>(sender));
        return false;
      },
      std::string(signature));
}

template <class W, class C>
Delegate RuntimeCreateDelegate(bool (W::*op)(Ref<C>, const std::string&), W* target,
                               std::string_view signature, int flag) {
  (void)flag;
  detail::CheckSignature("( " + std::string(C::kClassName) + ", String ) as Boolean", signature);
  return Delegate(
      [op, target](const Ref<Object>& sender, const EventArgs& a) {
        return (target->*op)(RuntimeCheckCast<C>(sender), a.key);
      },
      std::string(signature));
}

template <class W, class C>
Delegate RuntimeCreateDelegate(bool (W::*op)(Ref<C>, std::int64_t, std::int64_t), W* target,
                               std::string_view signature, int flag) {
  (void)flag;
  detail::CheckSignature("( " + std::string(C::kClassName) + ", Integer, Integer ) as Boolean",
                         signature);
  return Delegate(
      [op, target](const Ref<Object>& sender, const EventArgs& a) {
        return (target->*op)(RuntimeCheckCast<C>(sender), a.x, a.y);
      },
      std::string(signature));
}

// A menu handler: no arguments, a Boolean result.
template <class W>
Delegate RuntimeCreateDelegate(bool (W::*op)(), W* target, std::string_view signature, int flag) {
  (void)flag;
  detail::CheckSignature("(  ) as Boolean", signature);
  return Delegate([op, target](const Ref<Object>&, const EventArgs&) { return (target->*op)(); },
                  std::string(signature));
}

// Binds the delegate to event number `eventNumber` of the control (or timer). Raises
// InvalidArgumentException for an event number the control's class does not have, or a delegate
// whose signature differs from the event's.
void RuntimeAddEventHandler(const Ref<Object>& source, int eventNumber, const Delegate& handler);

}  // namespace fw
