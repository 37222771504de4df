#include <cstring>
#include <new>

#include "platform/com/typeinfo.h"

namespace {

bool owns_interface(VARTYPE vt) {
  return vt == VT_UNKNOWN || vt == VT_DISPATCH;
}

// A copy of a value that is not by reference and not an array.
HRESULT copy_scalar(VARIANT* dest, const VARIANT* source) {
  VARIANT v = *source;
  switch (source->vt) {
    case VT_BSTR:
      if (source->bstrVal != nullptr) {
        v.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (v.bstrVal == nullptr) return E_OUTOFMEMORY;
      }
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (source->punkVal != nullptr) source->punkVal->AddRef();
      break;
    case VT_RECORD:
      VariantInit(&v);
      if (source->precord != nullptr) {
        if (HRESULT hr = VariantSetRecord(&v, source->precord->pvRecord, source->precord->pRecInfo);
            FAILED(hr)) {
          return hr;
        }
      } else {
        v.vt = VT_RECORD;
      }
      break;
    default:
      break;
  }
  *dest = v;
  return S_OK;
}

}  // namespace

void VariantInit(VARIANTARG* v) {
  std::memset(v, 0, sizeof *v);
}

HRESULT VariantClear(VARIANTARG* v) {
  if (v == nullptr) return E_INVALIDARG;
  if ((v->vt & VT_BYREF) == 0) {
    if ((v->vt & VT_ARRAY) != 0) {
      if (HRESULT hr = SafeArrayDestroy(v->parray); FAILED(hr)) return hr;
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if (owns_interface(v->vt)) {
      if (v->punkVal != nullptr) v->punkVal->Release();
    } else if (v->vt == VT_RECORD && v->precord != nullptr) {
      if (v->precord->pRecInfo != nullptr) v->precord->pRecInfo->Release();
      delete v->precord;
    }
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* source) {
  if (dest == nullptr || source == nullptr) return E_INVALIDARG;
  if (dest == source) return S_OK;
  VARIANT v;
  VariantInit(&v);
  if ((source->vt & VT_BYREF) != 0) {
    v = *source;
  } else if ((source->vt & VT_ARRAY) != 0) {
    v.vt = source->vt;
    if (HRESULT hr = SafeArrayCopy(source->parray, &v.parray); FAILED(hr)) return hr;
  } else if (HRESULT hr = copy_scalar(&v, source); FAILED(hr)) {
    return hr;
  }
  VariantClear(dest);
  *dest = v;
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* source) {
  if (dest == nullptr || source == nullptr) return E_INVALIDARG;
  if ((source->vt & VT_BYREF) == 0) return VariantCopy(dest, source);
  if (source->byref == nullptr) return E_INVALIDARG;
  VARTYPE base = source->vt & ~VT_BYREF;
  if (base == VT_VARIANT) {
    const VARIANT* inner = source->pvarVal;
    if ((inner->vt & VT_BYREF) != 0) return E_INVALIDARG;
    return VariantCopy(dest, inner);
  }
  // Read the referenced value into a by-value VARIANT of the same type, then copy that.
  VARIANT v;
  VariantInit(&v);
  v.vt = base;
  if ((base & VT_ARRAY) != 0) {
    v.parray = *source->pparray;
  } else {
    switch (base) {
      case VT_I1:
      case VT_UI1:
        v.bVal = *source->pbVal;
        break;
      case VT_I2:
      case VT_UI2:
      case VT_BOOL:
        v.iVal = *source->piVal;
        break;
      case VT_I4:
      case VT_UI4:
      case VT_INT:
      case VT_UINT:
      case VT_ERROR:
      case VT_R4:
        v.lVal = *source->plVal;
        break;
      case VT_I8:
      case VT_UI8:
      case VT_R8:
      case VT_DATE:
      case VT_CY:
        v.llVal = *source->pllVal;
        break;
      case VT_BSTR:
        v.bstrVal = *source->pbstrVal;
        break;
      case VT_UNKNOWN:
      case VT_DISPATCH:
        v.punkVal = *source->ppunkVal;
        break;
      default:
        return DISP_E_BADVARTYPE;
    }
  }
  // v borrows the referenced value; VariantCopy makes the owned copy.
  if (dest == source) {
    VARIANT copy;
    VariantInit(&copy);
    if (HRESULT hr = VariantCopy(&copy, &v); FAILED(hr)) return hr;
    *dest = copy;
    return S_OK;
  }
  return VariantCopy(dest, &v);
}

HRESULT VariantSetRecord(VARIANT* v, void* record, IRecordInfo* info) {
  auto* box = new (std::nothrow) BRECORD{record, info};
  if (box == nullptr) return E_OUTOFMEMORY;
  if (info != nullptr) info->AddRef();
  VariantInit(v);
  v->vt = VT_RECORD;
  v->precord = box;
  return S_OK;
}

bool IsEqualGUID(const GUID& a, const GUID& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
