#include <algorithm>
#include <cstring>

#include "platform/com/class_table.h"

namespace platform::com {
namespace {

bool is_missing(const VARIANT& v) {
  return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

bool is_dispatch_code(HRESULT hr) {
  return (static_cast<std::uint32_t>(hr) & 0xFFFF0000u) == 0x80020000u;
}

// Writes a value through a by-reference VARIANT, converted to the referenced type.
HRESULT store_through(VARIANT* ref, const VARIANT& v) {
  VARTYPE target = ref->vt & ~VT_BYREF;
  if (ref->byref == nullptr) return E_POINTER;
  if (target == VT_VARIANT) return VariantCopy(ref->pvarVal, &v);
  VARIANT converted;
  VariantInit(&converted);
  if (HRESULT hr = VariantChangeType(&converted, &v, 0, target); FAILED(hr)) return hr;
  if ((target & VT_ARRAY) != 0) {
    SafeArrayDestroy(*ref->pparray);
    *ref->pparray = converted.parray;
    return S_OK;
  }
  switch (target) {
    case VT_BSTR:
      SysFreeString(*ref->pbstrVal);
      *ref->pbstrVal = converted.bstrVal;
      return S_OK;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (*ref->ppunkVal != nullptr) (*ref->ppunkVal)->Release();
      *ref->ppunkVal = converted.punkVal;
      return S_OK;
    case VT_I1:
    case VT_UI1:
      *ref->pbVal = converted.bVal;
      return S_OK;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      *ref->piVal = converted.iVal;
      return S_OK;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_DATE:
      *ref->pllVal = converted.llVal;
      return S_OK;
    default:
      *ref->plVal = converted.lVal;
      return S_OK;
  }
}

void fill_exception(EXCEPINFO* e, HRESULT code, const std::u16string& description, const ClassType& type) {
  if (e == nullptr) return;
  std::memset(e, 0, sizeof *e);
  e->scode = code;
  e->bstrSource = SysAllocString(type.decl().name.c_str());
  if (!description.empty()) e->bstrDescription = SysAllocString(description.c_str());
}

}  // namespace

Invocation::Invocation(std::size_t count)
    : values_(count), refs_(count, nullptr), views_(count, nullptr), given_(count, false) {
  for (VARIANT& v : values_) VariantInit(&v);
}

Invocation::~Invocation() {
  for (VARIANT& v : values_) VariantClear(&v);
}

HRESULT Invocation::set_out(std::size_t i, const VARIANT& v) {
  if (i >= refs_.size() || refs_[i] == nullptr) return S_OK;
  return store_through(refs_[i], v);
}

LONG Invocation::long_value(std::size_t i, LONG fallback) const {
  if (!given(i)) return fallback;
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, &value(i), 0, VT_I4))) return fallback;
  return v.lVal;
}

bool Invocation::bool_value(std::size_t i, bool fallback) const {
  if (!given(i)) return fallback;
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, &value(i), 0, VT_BOOL))) return fallback;
  return v.boolVal != 0;
}

std::u16string Invocation::text_value(std::size_t i) const {
  if (!given(i)) return {};
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, &value(i), 0, VT_BSTR))) return {};
  std::u16string s(v.bstrVal == nullptr ? u"" : std::u16string_view(v.bstrVal, SysStringLen(v.bstrVal)));
  VariantClear(&v);
  return s;
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    AddRef();
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() {
  return ++references_;
}

ULONG DispatchObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_INVALIDARG;
  *count = 1;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_INVALIDARG;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *info = type_.type_info();
  (*info)->AddRef();
  return S_OK;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return type_.type_info()->GetIDsOfNames(names, count, ids);
}

HRESULT DispatchObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* arg_error) {
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr)) return E_INVALIDARG;
  const MemberDecl* m = type_.find(member, flags);
  if (m == nullptr || m->routine == nullptr) return DISP_E_MEMBERNOTFOUND;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put) {
    if (params->cNamedArgs != 1 || params->rgdispidNamedArgs == nullptr ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTFOUND;
    }
  } else if (params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  }

  // A variable takes no argument to read and one to write.
  std::vector<ParamDecl> variable_params;
  const std::vector<ParamDecl>* declared = &m->params;
  SHORT optional = m->optional;
  if (m->desc != DESCKIND_FUNCDESC) {
    if (put) variable_params.push_back({m->result});
    declared = &variable_params;
    optional = 0;
  }
  const std::size_t n = declared->size();
  const std::size_t given_count = params->cArgs;
  const bool open_list = optional == -1 && n > 0;
  const std::size_t required = open_list ? n - 1 : n - static_cast<std::size_t>(optional < 0 ? 0 : optional);
  if ((given_count > n && !open_list) || given_count < required) return DISP_E_BADPARAMCOUNT;

  const std::size_t count = std::max(n, given_count);
  Invocation call(count);
  for (std::size_t i = 0; i < given_count; ++i) {
    VARIANT& arg = params->rgvarg[given_count - 1 - i];
    const ParamDecl& p = (*declared)[std::min(i, n - 1)];
    if (is_missing(arg)) {
      if (i < required) {
        if (arg_error != nullptr) *arg_error = static_cast<UINT>(given_count - 1 - i);
        return DISP_E_PARAMNOTOPTIONAL;
      }
      continue;
    }
    VARTYPE want = type_.resolve(p.type);
    if ((want & VT_BYREF) != 0 && (arg.vt & VT_BYREF) != 0) call.bind_ref(i, &arg);
    VARTYPE base = want & ~VT_BYREF;
    const VARIANT* direct = arg.vt == (VT_BYREF | VT_VARIANT) ? arg.pvarVal : &arg;
    HRESULT hr = S_OK;
    if (base == VT_VARIANT && direct != nullptr && (direct->vt & VT_BYREF) == 0) {
      call.borrow(i, direct);
    } else {
      hr = base == VT_VARIANT ? VariantCopyInd(&call.slot(i), &arg)
                              : VariantChangeType(&call.slot(i), &arg, 0, base);
    }
    if (FAILED(hr)) {
      if (arg_error != nullptr) *arg_error = static_cast<UINT>(given_count - 1 - i);
      return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
    }
    call.mark_given(i);
  }
  VARIANT out;
  VariantInit(&out);
  HRESULT hr = m->routine(*this, call, &out);
  if (FAILED(hr)) {
    VariantClear(&out);
    if (is_dispatch_code(hr)) return hr;
    fill_exception(exception, hr, call.description(), type_);
    return DISP_E_EXCEPTION;
  }
  if (result != nullptr) {
    VariantClear(result);
    *result = out;
  } else {
    VariantClear(&out);
  }
  return S_OK;
}

HRESULT set_text(VARIANT* v, std::u16string_view text) {
  VariantInit(v);
  v->vt = VT_BSTR;
  v->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v->bstrVal == nullptr ? E_OUTOFMEMORY : S_OK;
}

void set_long(VARIANT* v, LONG value) {
  VariantInit(v);
  v->vt = VT_I4;
  v->lVal = value;
}

void set_bool(VARIANT* v, bool value) {
  VariantInit(v);
  v->vt = VT_BOOL;
  v->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace platform::com
