// IUnknown for an object with one interface of its own: it answers IUnknown and that interface,
// counts its references and deletes itself with the last Release.
#pragma once

#include <atomic>

#include "platform/com/unknown.h"

namespace platform::com {

template <class I>
class Counted : public I {
 public:
  explicit Counted(const IID& own) : own_(own) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || (answers_own_ && IsEqualIID(iid, own_))) {
      AddRef();
      *out = static_cast<I*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ~Counted() override = default;
  // Off: the object answers only IUnknown (an object that denies its own interface).
  bool answers_own_ = true;

 private:
  IID own_;
  std::atomic<ULONG> references_{1};
};

}  // namespace platform::com
