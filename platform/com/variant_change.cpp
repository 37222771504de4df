#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "platform/com/typeinfo.h"
#include "platform/com/variant_text.h"

// VariantChangeType: the source is read into one neutral value, then written as the target type.
namespace {

struct Neutral {
  enum Kind { kEmpty, kInteger, kReal, kText, kInterface, kBytes, kNone } kind = kNone;
  bool is_bool = false;
  bool is_date = false;
  std::int64_t integer = 0;
  std::uint64_t unsigned_integer = 0;
  bool is_unsigned = false;
  double real = 0;
  BSTR text = nullptr;
  IUnknown* object = nullptr;
  SAFEARRAY* bytes = nullptr;
};

Neutral read(const VARIANT& v) {
  Neutral n;
  if ((v.vt & VT_ARRAY) != 0) {
    VARTYPE element = v.vt & VT_TYPEMASK;
    if (element == VT_UI1 || element == VT_I1) {
      n.kind = Neutral::kBytes;
      n.bytes = v.parray;
    }
    return n;
  }
  n.kind = Neutral::kInteger;
  switch (v.vt) {
    case VT_EMPTY:
      n.kind = Neutral::kEmpty;
      break;
    case VT_I1:
      n.integer = v.cVal;
      break;
    case VT_UI1:
      n.integer = v.bVal;
      break;
    case VT_I2:
      n.integer = v.iVal;
      break;
    case VT_UI2:
      n.integer = v.uiVal;
      break;
    case VT_I4:
    case VT_INT:
      n.integer = v.lVal;
      break;
    case VT_UI4:
    case VT_UINT:
      n.integer = v.ulVal;
      break;
    case VT_I8:
      n.integer = v.llVal;
      break;
    case VT_UI8:
      n.is_unsigned = true;
      n.unsigned_integer = v.ullVal;
      n.integer = static_cast<std::int64_t>(v.ullVal);
      break;
    case VT_BOOL:
      n.integer = v.boolVal != 0 ? -1 : 0;
      n.is_bool = true;
      break;
    case VT_R4:
      n.kind = Neutral::kReal;
      n.real = v.fltVal;
      break;
    case VT_R8:
      n.kind = Neutral::kReal;
      n.real = v.dblVal;
      break;
    case VT_DATE:
      n.kind = Neutral::kReal;
      n.real = v.date;
      n.is_date = true;
      break;
    case VT_BSTR:
      n.kind = Neutral::kText;
      n.text = v.bstrVal;
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      n.kind = Neutral::kInterface;
      n.object = v.punkVal;
      break;
    default:
      n.kind = Neutral::kNone;
      break;
  }
  return n;
}

// The number a value stands for, as a double (integers exactly where they fit).
HRESULT as_real(const Neutral& n, double* out) {
  switch (n.kind) {
    case Neutral::kEmpty:
      *out = 0;
      return S_OK;
    case Neutral::kInteger:
      *out = n.is_unsigned ? static_cast<double>(n.unsigned_integer) : static_cast<double>(n.integer);
      return S_OK;
    case Neutral::kReal:
      *out = n.real;
      return S_OK;
    case Neutral::kText:
      return platform::com::text::parse_number(n.text, out);
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

template <class T>
HRESULT to_integer(const Neutral& n, T* out) {
  if (n.kind == Neutral::kInteger) {
    if (n.is_unsigned) {
      if (n.unsigned_integer > static_cast<std::uint64_t>(std::numeric_limits<T>::max()))
        return DISP_E_OVERFLOW;
      *out = static_cast<T>(n.unsigned_integer);
      return S_OK;
    }
    if constexpr (std::is_unsigned_v<T>) {
      if (n.integer < 0) return DISP_E_OVERFLOW;
      if (static_cast<std::uint64_t>(n.integer) > std::numeric_limits<T>::max()) return DISP_E_OVERFLOW;
    } else {
      if (n.integer < std::numeric_limits<T>::min() || n.integer > std::numeric_limits<T>::max()) {
        return DISP_E_OVERFLOW;
      }
    }
    *out = static_cast<T>(n.integer);
    return S_OK;
  }
  double d = 0;
  if (HRESULT hr = as_real(n, &d); FAILED(hr)) return hr;
  if (std::isnan(d)) return DISP_E_OVERFLOW;
  d = std::nearbyint(d);  // to nearest, halves to even
  if (d < static_cast<double>(std::numeric_limits<T>::min()) ||
      d >= std::ldexp(1.0, std::numeric_limits<T>::digits)) {
    return DISP_E_OVERFLOW;
  }
  *out = static_cast<T>(d);
  return S_OK;
}

HRESULT to_bool(const Neutral& n, VARIANT_BOOL* out) {
  if (n.kind == Neutral::kText) {
    if (int b = platform::com::text::parse_bool(n.text); b >= 0) {
      *out = b != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
  }
  double d = 0;
  if (HRESULT hr = as_real(n, &d); FAILED(hr)) return hr;
  *out = d != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT to_text(const Neutral& n, BSTR* out) {
  std::u16string s;
  switch (n.kind) {
    case Neutral::kEmpty:
      break;
    case Neutral::kText:
      *out = n.text == nullptr ? nullptr : SysAllocStringLen(n.text, SysStringLen(n.text));
      return n.text != nullptr && *out == nullptr ? E_OUTOFMEMORY : S_OK;
    case Neutral::kInteger:
      if (n.is_bool) {
        s = n.integer != 0 ? u"True" : u"False";
      } else {
        std::string a = n.is_unsigned ? std::to_string(n.unsigned_integer) : std::to_string(n.integer);
        s.assign(a.begin(), a.end());
      }
      break;
    case Neutral::kReal:
      s = n.is_date ? platform::com::text::format_date(n.real) : platform::com::text::format_number(n.real);
      break;
    case Neutral::kBytes: {
      // The bytes are the string's UTF-16 code units.
      void* data = nullptr;
      if (FAILED(SafeArrayAccessData(n.bytes, &data))) return E_INVALIDARG;
      std::size_t count = 1;
      for (UINT d = 1; d <= SafeArrayGetDim(n.bytes); ++d) count *= n.bytes->rgsabound[d - 1].cElements;
      if (SafeArrayGetDim(n.bytes) == 0) count = 0;
      *out = SysAllocStringByteLen(static_cast<const char*>(data), static_cast<UINT>(count));
      SafeArrayUnaccessData(n.bytes);
      return *out == nullptr ? E_OUTOFMEMORY : S_OK;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT to_bytes(const Neutral& n, SAFEARRAY** out) {
  if (n.kind == Neutral::kBytes) {
    SAFEARRAY* copy = nullptr;
    if (HRESULT hr = SafeArrayCopy(n.bytes, &copy); FAILED(hr)) return hr;
    *out = copy;
    return S_OK;
  }
  if (n.kind != Neutral::kText) return DISP_E_TYPEMISMATCH;
  UINT length = SysStringByteLen(n.text);
  SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, length);
  if (a == nullptr) return E_OUTOFMEMORY;
  if (length > 0) std::memcpy(a->pvData, n.text, length);
  *out = a;
  return S_OK;
}

HRESULT to_date(const Neutral& n, DATE* out) {
  if (n.kind == Neutral::kText) {
    if (platform::com::text::parse_date(n.text, out)) return S_OK;
    return platform::com::text::parse_number(n.text, out);
  }
  return as_real(n, out);
}

HRESULT convert(const Neutral& n, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  out->vt = vt;
  switch (vt) {
    case VT_EMPTY:
      return S_OK;
    case VT_I1: {
      std::int8_t v = 0;
      HRESULT hr = to_integer(n, &v);
      out->cVal = static_cast<CHAR>(v);
      return hr;
    }
    case VT_UI1:
      return to_integer(n, &out->bVal);
    case VT_I2:
      return to_integer(n, &out->iVal);
    case VT_UI2:
      return to_integer(n, &out->uiVal);
    case VT_I4:
    case VT_INT:
      return to_integer(n, &out->lVal);
    case VT_UI4:
    case VT_UINT:
      return to_integer(n, &out->ulVal);
    case VT_I8:
      return to_integer(n, &out->llVal);
    case VT_UI8:
      return to_integer(n, &out->ullVal);
    case VT_R4: {
      double d = 0;
      if (HRESULT hr = as_real(n, &d); FAILED(hr)) return hr;
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
      out->fltVal = static_cast<float>(d);
      return S_OK;
    }
    case VT_R8:
      return as_real(n, &out->dblVal);
    case VT_DATE:
      return to_date(n, &out->date);
    case VT_BOOL:
      return to_bool(n, &out->boolVal);
    case VT_BSTR:
      return to_text(n, &out->bstrVal);
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      if (n.kind != Neutral::kInterface) return DISP_E_TYPEMISMATCH;
      if (n.object == nullptr) return S_OK;
      return n.object->QueryInterface(vt == VT_UNKNOWN ? IID_IUnknown : IID_IDispatch,
                                      reinterpret_cast<void**>(&out->punkVal));
    }
    case VT_ARRAY | VT_UI1:
      return to_bytes(n, &out->parray);
    default:
      return DISP_E_BADVARTYPE;
  }
}

}  // namespace

HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* source, USHORT, VARTYPE vt) {
  if (dest == nullptr || source == nullptr) return E_INVALIDARG;
  if (source->vt == vt && (vt & VT_BYREF) == 0) {
    // Nothing to convert: one copy (none at all in place).
    return dest == source ? S_OK : VariantCopy(dest, source);
  }
  VARIANT from;
  VariantInit(&from);
  if (HRESULT hr = VariantCopyInd(&from, source); FAILED(hr)) return hr;
  VARIANT to;
  HRESULT hr = S_OK;
  if (from.vt == vt) {
    to = from;
    VariantInit(&from);
  } else {
    hr = convert(read(from), vt, &to);
    if (FAILED(hr)) {
      to.vt = VT_EMPTY;
      VariantClear(&to);
    }
  }
  VariantClear(&from);
  if (FAILED(hr)) return hr;
  VariantClear(dest);
  *dest = to;
  return S_OK;
}
