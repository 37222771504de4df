#include "automation/safe_array_values.h"

#include <algorithm>
#include <cstring>

#include "automation/object_record.h"
#include "automation/value_conversion.h"
#include "runtime/abi/records.h"

namespace automation {
namespace {

namespace tag = runtime::tag;

template <class T>
T load(const std::uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Fills the SAFEARRAY's data from the packed runtime elements.
bool fill(void* data, const std::uint8_t* elements, std::size_t count, std::uint32_t t) {
  const std::size_t width = runtime::element_width(t);
  if (t == tag::kByte || t == tag::kShort || t == tag::kInt || t == tag::kFloat || t == tag::kDouble ||
      t == tag::kDateTime) {
    // The same storage on both sides: one copy.
    if (count > 0) std::memcpy(data, elements, count * width);
    return true;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* e = elements + i * width;
    switch (t) {
      case tag::kObject: {
        const auto* object = load<const ObjectRecord*>(e);
        IUnknown* iface = object != nullptr ? object->iface : nullptr;
        if (iface != nullptr) iface->AddRef();
        static_cast<IUnknown**>(data)[i] = iface;
        break;
      }
      case tag::kVariant:
        if (const auto* block = load<const VARIANT*>(e))
          VariantCopyInd(&static_cast<VARIANT*>(data)[i], block);
        break;
      case tag::kBool:
        static_cast<VARIANT_BOOL*>(data)[i] = load<std::uint32_t>(e) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case tag::kText:
        static_cast<BSTR*>(data)[i] = text_to_bstr(load<const char*>(e));
        break;
      case tag::kLong:
        static_cast<LONG*>(data)[i] = static_cast<LONG>(load<std::int64_t>(e));
        break;
      default:
        std::memcpy(static_cast<std::uint8_t*>(data) + i * width, e, width);
        break;
    }
  }
  return true;
}

}  // namespace

SAFEARRAY* array_to_safe_array(const void* array, std::uint32_t element_tag, VARTYPE* vt) {
  std::uint32_t t = is_object_like(element_tag) ? tag::kObject : element_tag;
  *vt = tag_vartype(t);
  if (*vt == VT_EMPTY) return nullptr;
  std::size_t count = 0;
  const std::uint8_t* elements = nullptr;
  if (array != nullptr) {
    const auto* bytes = static_cast<const std::uint8_t*>(array);
    const auto dims = load<std::uint32_t>(bytes);
    count = 1;
    for (std::uint32_t d = 0; d < dims; ++d) count *= load<std::uint32_t>(bytes + 4 + 4 * d);
    elements = bytes + 4 + 4 * static_cast<std::size_t>(dims);
  }
  if (count > 0xFFFFFFFFu) return nullptr;
  SAFEARRAYBOUND bound{static_cast<ULONG>(count), 1};
  SAFEARRAY* sa = SafeArrayCreate(*vt, 1, &bound);
  if (sa == nullptr) return nullptr;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(sa, &data))) {
    SafeArrayDestroy(sa);
    return nullptr;
  }
  fill(data, elements, count, t);
  SafeArrayUnaccessData(sa);
  return sa;
}

void* byte_array_to_byte_set(const VARIANT& v) {
  const VARTYPE element = v.vt & VT_TYPEMASK;
  if ((v.vt & VT_ARRAY) == 0 || (element != VT_UI1 && element != VT_I1)) return nullptr;
  SAFEARRAY* sa = (v.vt & VT_BYREF) != 0 ? (v.pparray != nullptr ? *v.pparray : nullptr) : v.parray;
  void* data = nullptr;
  if (sa == nullptr || FAILED(SafeArrayAccessData(sa, &data))) return nullptr;
  std::size_t n = 0;
  const UINT dims = SafeArrayGetDim(sa);
  if (dims > 0) {
    n = 1;
    for (UINT d = 1; d <= dims; ++d) {
      LONG lower = 0, upper = -1;
      SafeArrayGetLBound(sa, d, &lower);
      SafeArrayGetUBound(sa, d, &upper);
      n *= static_cast<std::size_t>(std::max<std::int64_t>(0, static_cast<std::int64_t>(upper) - lower + 1));
    }
  }
  void* bytes = n > 0 ? make_byte_set(data, n) : nullptr;
  SafeArrayUnaccessData(sa);
  return bytes;
}

bool flat_index(SAFEARRAY* sa, std::int64_t position, std::vector<LONG>* indices) {
  if (sa == nullptr || position < 1) return false;
  std::int64_t q = position - 1;
  const UINT dims = SafeArrayGetDim(sa);
  indices->assign(dims, 0);
  for (UINT d = 1; d <= dims; ++d) {
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(sa, d, &lower)) || FAILED(SafeArrayGetUBound(sa, d, &upper))) return false;
    const std::int64_t size = static_cast<std::int64_t>(upper) - lower + 1;
    if (q == 0) {
      (*indices)[d - 1] = lower;
      continue;
    }
    if (size <= 0) return false;
    (*indices)[d - 1] = static_cast<LONG>(lower + q % size);
    q /= size;
  }
  return q == 0;
}

}  // namespace automation
