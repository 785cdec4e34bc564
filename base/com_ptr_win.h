#pragma once
// COM lifetimes tied to C++ scopes. ComPtr owns one interface reference and
// releases it when it goes away; ComApartment balances a successful
// CoInitializeEx. Together they make every early return and every exception
// leave the thread's COM state as it was found, with no Release or
// CoUninitialize calls to keep in step by hand.
#include <objbase.h>

#include <utility>

namespace base {

template <typename T>
class ComPtr {
public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

  // The out-parameter for calls that hand over a new reference
  // (CoCreateInstance, QueryInterface). The reference held so far is
  // released first, so reusing a ComPtr cannot leak.
  void** PutVoid() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }

  // Asks the object for interface U; out stays empty on failure.
  template <typename U>
  HRESULT As(ComPtr<U>& out) const {
    return p_->QueryInterface(__uuidof(U), out.PutVoid());
  }

private:
  T* p_ = nullptr;
};

// Enters a single-threaded apartment for the scope, without OLE 1 DDE
// (which would only spin a message window the program never uses).
// Programs hold one for the whole of their entry point; code that needs
// COM on the GUI thread then relies on it. Only a call that succeeded
// (S_OK, or S_FALSE when the thread already was in one) is balanced: a
// thread that is in a multithreaded apartment refuses with
// RPC_E_CHANGED_MODE, and uninitializing then would tear down its owner's
// apartment.
class ComApartment {
public:
  ComApartment() noexcept
      : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (entered()) CoUninitialize();
  }

  bool entered() const { return result_ == S_OK || result_ == S_FALSE; }
  HRESULT result() const { return result_; }

private:
  HRESULT result_;
};

// Whether the calling thread is in a single-threaded apartment (the main
// one included): what shell objects and dialogs need from their caller.
inline bool InSingleThreadedApartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  if (FAILED(CoGetApartmentType(&type, &qualifier))) return false;
  return type == APTTYPE_STA || type == APTTYPE_MAINSTA;
}

}  // namespace base
