#include "platform/com/apartment.h"

namespace {

// Per-thread apartment bookkeeping; trivially constructed, so thread_local costs nothing.
struct Apartment {
  ULONG depth;
  DWORD model;
  ULONG ole_depth;
};

Apartment& this_thread() {
  thread_local Apartment apartment{0, 0, 0};
  return apartment;
}

}  // namespace

extern "C" {

HRESULT CoInitializeEx(LPVOID reserved, DWORD model) {
  if (reserved != nullptr) return E_INVALIDARG;
  model &= COINIT_APARTMENTTHREADED;
  Apartment& a = this_thread();
  if (a.depth != 0 && a.model != model) return RPC_E_CHANGED_MODE;
  a.model = model;
  return a.depth++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID reserved) {
  return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize() {
  Apartment& a = this_thread();
  if (a.depth != 0) --a.depth;
}

HRESULT OleInitialize(LPVOID reserved) {
  HRESULT hr = CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
  if (hr < 0) return hr;
  ++this_thread().ole_depth;
  return hr;
}

void OleUninitialize() {
  Apartment& a = this_thread();
  if (a.ole_depth == 0) return;
  --a.ole_depth;
  CoUninitialize();
}

ULONG CoApartmentDepth() {
  return this_thread().depth;
}

}  // extern "C"
