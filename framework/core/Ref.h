#pragma once
// Ref<T>: a shared, reference-counted object reference that may be nil. Using a nil Ref
// raises NilObjectException instead of crashing, which is the program's contract for
// absent objects.

#include <memory>
#include <type_traits>
#include <utility>

#include "framework/core/Exceptions.h"

namespace fw {

template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  explicit Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : p_(other.Shared()) {}

  T* operator->() const { return &Deref(); }
  T& operator*() const { return Deref(); }
  T& Deref() const {
    if (!p_) throw NilObjectException("an operation was applied to a nil object");
    return *p_;
  }
  bool IsNil() const noexcept { return !p_; }
  explicit operator bool() const noexcept { return static_cast<bool>(p_); }
  T* Get() const noexcept { return p_.get(); }
  const std::shared_ptr<T>& Shared() const noexcept { return p_; }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

 private:
  std::shared_ptr<T> p_;
};

// Allocates a new object (the runtime's object allocation).
template <class T, class... Args>
Ref<T> RuntimeNewObject(Args&&... args) {
  return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

// The class-testing cast: nil stays nil, an object of another class raises IllegalCastException.
template <class T, class U>
Ref<T> RuntimeCheckCast(const Ref<U>& r) {
  if (r.IsNil()) return Ref<T>();
  auto p = std::dynamic_pointer_cast<T>(r.Shared());
  if (!p) throw IllegalCastException("an object could not be cast to the requested class");
  return Ref<T>(std::move(p));
}

}  // namespace fw
