// A counted reference to a COM object, released when it goes.
#pragma once

#include <objbase.h>

#include <utility>

namespace qv::winui {

template <class Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() { Reset(); }
  ComPointer(const ComPointer& other) : object_(other.object_) {
    if (object_ != nullptr) object_->AddRef();
  }
  ComPointer(ComPointer&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPointer& operator=(ComPointer other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  // Takes over a reference the caller holds already.
  static ComPointer Adopt(Interface* object) {
    ComPointer pointer;
    pointer.object_ = object;
    return pointer;
  }

  void Reset() {
    if (object_ != nullptr) std::exchange(object_, nullptr)->Release();
  }
  // Where a call that hands out a reference puts it; drops the one held.
  Interface** Receive() {
    Reset();
    return &object_;
  }
  // The same object through `Other`, or none.
  template <class Other>
  ComPointer<Other> As() const {
    ComPointer<Other> other;
    if (object_ != nullptr) {
      object_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(other.Receive()));
    }
    return other;
  }

  Interface* get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Interface* object_ = nullptr;
};

}  // namespace qv::winui
