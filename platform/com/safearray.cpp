#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/com/typeinfo.h"

// The array's element type sits in a word just before the descriptor, as the platform keeps it.
namespace {

struct Block {
  VARTYPE vt;
  SAFEARRAY array;
};

Block* block_of(SAFEARRAY* a) {
  return reinterpret_cast<Block*>(reinterpret_cast<char*>(a) - offsetof(Block, array));
}

ULONG element_size(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_DATE:
    case VT_CY:
      return 8;
    case VT_BSTR:
    case VT_UNKNOWN:
    case VT_DISPATCH:
      return sizeof(void*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

USHORT features_of(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_BSTR | FADF_HAVEVARTYPE;
    case VT_UNKNOWN:
      return FADF_UNKNOWN | FADF_HAVEVARTYPE;
    case VT_DISPATCH:
      return FADF_DISPATCH | FADF_HAVEVARTYPE;
    case VT_VARIANT:
      return FADF_VARIANT | FADF_HAVEVARTYPE;
    default:
      return FADF_HAVEVARTYPE;
  }
}

bool element_count(const SAFEARRAY* a, std::size_t* count) {
  std::size_t n = 1;
  for (USHORT d = 0; d < a->cDims; ++d) {
    std::size_t e = a->rgsabound[d].cElements;
    if (e != 0 && n > std::numeric_limits<std::size_t>::max() / e) return false;
    n *= e;
  }
  *count = a->cDims == 0 ? 0 : n;
  return true;
}

bool owns_elements(VARTYPE vt) {
  return vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH || vt == VT_VARIANT;
}

void clear_elements(SAFEARRAY* a, VARTYPE vt) {
  if (!owns_elements(vt)) return;
  std::size_t n = 0;
  element_count(a, &n);
  auto* data = static_cast<char*>(a->pvData);
  for (std::size_t i = 0; i < n; ++i) {
    void* e = data + i * a->cbElements;
    if (vt == VT_BSTR) {
      SysFreeString(*static_cast<BSTR*>(e));
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
      if (auto* p = *static_cast<IUnknown**>(e)) p->Release();
    } else if (vt == VT_VARIANT) {
      VariantClear(static_cast<VARIANT*>(e));
    }
  }
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
  ULONG size = element_size(vt);
  if (size == 0 || dims == 0 || dims > 64 || bounds == nullptr) return nullptr;
  std::size_t header =
      offsetof(Block, array) + offsetof(SAFEARRAY, rgsabound) + dims * sizeof(SAFEARRAYBOUND);
  auto* block = static_cast<Block*>(std::calloc(1, header));
  if (block == nullptr) return nullptr;
  block->vt = vt;
  SAFEARRAY* a = &block->array;
  a->cDims = static_cast<USHORT>(dims);
  a->fFeatures = features_of(vt);
  a->cbElements = size;
  std::memcpy(a->rgsabound, bounds, dims * sizeof(SAFEARRAYBOUND));
  std::size_t n = 0;
  if (!element_count(a, &n) || n > std::numeric_limits<std::size_t>::max() / size) {
    std::free(block);
    return nullptr;
  }
  a->pvData = std::calloc(n == 0 ? 1 : n, size);
  if (a->pvData == nullptr) {
    std::free(block);
    return nullptr;
  }
  return a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lower_bound, ULONG elements) {
  SAFEARRAYBOUND bound{elements, lower_bound};
  return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* a) {
  if (a == nullptr) return S_OK;
  if (a->cLocks != 0) return DISP_E_ARRAYISLOCKED;
  clear_elements(a, block_of(a)->vt);
  std::free(a->pvData);
  std::free(block_of(a));
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* a, void** data) {
  if (a == nullptr || data == nullptr) return E_INVALIDARG;
  ++a->cLocks;
  *data = a->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* a) {
  if (a == nullptr) return E_INVALIDARG;
  if (a->cLocks == 0) return E_UNEXPECTED;
  --a->cLocks;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* a) {
  return a == nullptr ? 0 : a->cDims;
}

UINT SafeArrayGetElemsize(SAFEARRAY* a) {
  return a == nullptr ? 0 : a->cbElements;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* a, UINT dim, LONG* lower) {
  if (a == nullptr || lower == nullptr) return E_INVALIDARG;
  if (dim < 1 || dim > a->cDims) return DISP_E_BADINDEX;
  *lower = a->rgsabound[dim - 1].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* a, UINT dim, LONG* upper) {
  if (a == nullptr || upper == nullptr) return E_INVALIDARG;
  if (dim < 1 || dim > a->cDims) return DISP_E_BADINDEX;
  const SAFEARRAYBOUND& b = a->rgsabound[dim - 1];
  *upper = static_cast<LONG>(static_cast<std::int64_t>(b.lLbound) + b.cElements - 1);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* a, VARTYPE* vt) {
  if (a == nullptr || vt == nullptr) return E_INVALIDARG;
  *vt = block_of(a)->vt;
  return S_OK;
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* a, const LONG* indices, void** element) {
  if (a == nullptr || indices == nullptr || element == nullptr) return E_INVALIDARG;
  std::size_t offset = 0;
  std::size_t stride = 1;
  for (USHORT d = 0; d < a->cDims; ++d) {
    const SAFEARRAYBOUND& b = a->rgsabound[d];
    std::int64_t i = static_cast<std::int64_t>(indices[d]) - b.lLbound;
    if (i < 0 || i >= static_cast<std::int64_t>(b.cElements)) return DISP_E_BADINDEX;
    offset += static_cast<std::size_t>(i) * stride;
    stride *= b.cElements;
  }
  *element = static_cast<char*>(a->pvData) + offset * a->cbElements;
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* a, const LONG* indices, void* value) {
  void* e = nullptr;
  if (HRESULT hr = SafeArrayPtrOfIndex(a, indices, &e); FAILED(hr)) return hr;
  if (value == nullptr) return E_INVALIDARG;
  VARTYPE vt = block_of(a)->vt;
  if (vt == VT_BSTR) {
    BSTR source = *static_cast<BSTR*>(e);
    BSTR copy = source == nullptr ? nullptr : SysAllocStringLen(source, SysStringLen(source));
    if (source != nullptr && copy == nullptr) return E_OUTOFMEMORY;
    *static_cast<BSTR*>(value) = copy;
  } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
    IUnknown* p = *static_cast<IUnknown**>(e);
    if (p != nullptr) p->AddRef();
    *static_cast<IUnknown**>(value) = p;
  } else if (vt == VT_VARIANT) {
    VariantInit(static_cast<VARIANT*>(value));
    return VariantCopy(static_cast<VARIANT*>(value), static_cast<VARIANT*>(e));
  } else {
    std::memcpy(value, e, a->cbElements);
  }
  return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* a, const LONG* indices, void* value) {
  void* e = nullptr;
  if (HRESULT hr = SafeArrayPtrOfIndex(a, indices, &e); FAILED(hr)) return hr;
  VARTYPE vt = block_of(a)->vt;
  if (vt == VT_BSTR) {
    auto source = static_cast<BSTR>(value);
    BSTR copy = source == nullptr ? nullptr : SysAllocStringLen(source, SysStringLen(source));
    if (source != nullptr && copy == nullptr) return E_OUTOFMEMORY;
    SysFreeString(*static_cast<BSTR*>(e));
    *static_cast<BSTR*>(e) = copy;
  } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
    auto* p = static_cast<IUnknown*>(value);
    if (p != nullptr) p->AddRef();
    if (auto* old = *static_cast<IUnknown**>(e)) old->Release();
    *static_cast<IUnknown**>(e) = p;
  } else if (vt == VT_VARIANT) {
    VARIANT copy;
    VariantInit(&copy);
    if (HRESULT hr = VariantCopy(&copy, static_cast<VARIANT*>(value)); FAILED(hr)) return hr;
    VariantClear(static_cast<VARIANT*>(e));
    std::memcpy(e, &copy, sizeof copy);
  } else {
    if (value == nullptr) return E_INVALIDARG;
    std::memcpy(e, value, a->cbElements);
  }
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* a, SAFEARRAY** copy) {
  if (copy == nullptr) return E_INVALIDARG;
  *copy = nullptr;
  if (a == nullptr) return S_OK;
  VARTYPE vt = block_of(a)->vt;
  SAFEARRAY* c = SafeArrayCreate(vt, a->cDims, a->rgsabound);
  if (c == nullptr) return E_OUTOFMEMORY;
  std::size_t n = 0;
  element_count(a, &n);
  auto* from = static_cast<char*>(a->pvData);
  auto* to = static_cast<char*>(c->pvData);
  if (!owns_elements(vt)) {
    if (n > 0) std::memcpy(to, from, n * a->cbElements);
    n = 0;
  }
  for (std::size_t i = 0; i < n; ++i) {
    char* src = from + i * a->cbElements;
    char* dst = to + i * a->cbElements;
    if (vt == VT_BSTR) {
      BSTR s = *reinterpret_cast<BSTR*>(src);
      *reinterpret_cast<BSTR*>(dst) = s == nullptr ? nullptr : SysAllocStringLen(s, SysStringLen(s));
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
      IUnknown* p = *reinterpret_cast<IUnknown**>(src);
      if (p != nullptr) p->AddRef();
      *reinterpret_cast<IUnknown**>(dst) = p;
    } else if (vt == VT_VARIANT) {
      VariantCopy(reinterpret_cast<VARIANT*>(dst), reinterpret_cast<VARIANT*>(src));
    } else {
      std::memcpy(dst, src, a->cbElements);
    }
  }
  *copy = c;
  return S_OK;
}
