#pragma once

#include <concepts>
#include <cstddef>
#include <utility>

#include "render/automation/automation_object.h"

// A slot that is empty or owns one counted reference to an automation object. Copying takes
// a reference of its own; storing a new reference releases the one held before; destroying
// or resetting the slot releases its reference.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}  // NOLINT: an empty slot converts from nullptr like a pointer
  explicit Ref(T* object) : object_(object) {
    if (object_ != nullptr) object_->AddRef();
  }
  Ref(const Ref& other) : Ref(other.object_) {}
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U>
    requires std::convertible_to<U*, T*>
  Ref(const Ref<U>& other) : Ref(other.Get()) {}  // NOLINT: upcast like a pointer
  template <class U>
    requires std::convertible_to<U*, T*>
  Ref(Ref<U>&& other) noexcept : object_(other.Detach()) {}  // NOLINT: upcast like a pointer
  ~Ref() { Reset(); }

  // Takes the new reference before letting go of the old one, so assigning a slot to itself
  // or to a reference that only the old object kept alive is safe.
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  void Reset() noexcept {
    if (T* old = std::exchange(object_, nullptr)) old->Release();
  }
  // Hands the reference to the caller, who becomes responsible for releasing it.
  [[nodiscard]] T* Detach() noexcept { return std::exchange(object_, nullptr); }

  T* Get() const noexcept { return object_; }
  T* operator->() const noexcept { return object_; }
  T& operator*() const noexcept { return *object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }

  friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }

 private:
  T* object_ = nullptr;
};

using ObjectRef = Ref<AutomationObject>;

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}
