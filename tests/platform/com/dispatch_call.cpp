#include "tests/platform/com/dispatch_call.h"

#include <cstring>

#include "platform/com/apartment.h"

namespace lyr::test {

Var long_var(LONG value) {
  Var r;
  r.v.vt = VT_I4;
  r.v.lVal = value;
  return r;
}

Var text_var(std::u16string_view text) {
  Var r;
  r.v.vt = VT_BSTR;
  r.v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return r;
}

Var bytes_var(std::string_view bytes) {
  Var r;
  r.v.vt = VT_ARRAY | VT_UI1;
  r.v.parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!bytes.empty()) std::memcpy(r.v.parray->pvData, bytes.data(), bytes.size());
  return r;
}

std::string bytes_of(const VARIANT& v) {
  if (v.vt != (VT_ARRAY | VT_UI1)) return {};
  return std::string(static_cast<const char*>(v.parray->pvData), v.parray->rgsabound[0].cElements);
}

Client::Client(const char16_t* progid) {
  CoInitialize(nullptr);
  CLSID clsid{};
  if (SUCCEEDED(CLSIDFromProgID(progid, &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object_));
  }
}

Client::~Client() {
  safe_release(object_);
  CoUninitialize();
}

HRESULT Client::invoke(std::u16string_view name, WORD flags, std::vector<Var> args, Var* result,
                       HRESULT* scode) {
  if (object_ == nullptr) return E_POINTER;
  std::u16string text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = 0;
  if (HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, 0, &id); FAILED(hr)) return hr;
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->v);
  DISPID named = DISPID_PROPERTYPUT;
  const bool put = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), put ? &named : nullptr, static_cast<UINT>(reversed.size()),
                    put ? 1u : 0u};
  EXCEPINFO exception{};
  UINT arg_error = 0;
  HRESULT hr = object_->Invoke(id, IID_NULL, 0, flags, &params, result != nullptr ? &result->v : nullptr,
                               &exception, &arg_error);
  if (scode != nullptr) *scode = hr == DISP_E_EXCEPTION ? exception.scode : S_OK;
  if (hr == DISP_E_EXCEPTION) {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  return hr;
}

HRESULT Client::method(std::u16string_view name, std::vector<Var> args, Var* result, HRESULT* scode) {
  return invoke(name, DISPATCH_METHOD, std::move(args), result, scode);
}

HRESULT Client::get(std::u16string_view name, Var* result) {
  return invoke(name, DISPATCH_PROPERTYGET, {}, result, nullptr);
}

HRESULT Client::put(std::u16string_view name, Var value, HRESULT* scode) {
  return invoke(name, DISPATCH_PROPERTYPUT, {value}, nullptr, scode);
}

}  // namespace lyr::test
