#include <cstring>
#include <vector>

#include "automation/automation_commands.h"
#include "automation/object_record.h"
#include "automation/safe_array_values.h"
#include "automation/value_conversion.h"

namespace automation {
namespace {

namespace tag = runtime::tag;
using runtime::ArgRecord;

VARIANT* variant_argument(std::int32_t count, ArgRecord* args) {
  return count >= 1 ? args[0].pointer<VARIANT>() : nullptr;
}

// The optional element index argument (any numeric type), or nothing when omitted.
bool index_argument(std::int32_t count, ArgRecord* args, std::int32_t at, std::int64_t* index) {
  if (count <= at || args[at].tag == 0) return false;
  VARIANT v;
  if (!basic_to_variant(runtime::base_tag(args[at].tag), args[at].value(), &v)) {
    *index = 0;  // not a number: no element can match
    return true;
  }
  VARIANT n;
  VariantInit(&n);
  *index = SUCCEEDED(VariantChangeType(&n, &v, 0, VT_I4)) ? n.lVal : 0;
  VariantClear(&v);
  return true;
}

bool is_array_value(std::uint32_t value_tag) {
  return runtime::is_array_tag(value_tag) || value_tag == tag::kByteSet;
}

// A byte set is an array of bytes; a flagged value is an array of its base type.
std::uint32_t element_tag_of(std::uint32_t value_tag) {
  return value_tag == tag::kByteSet ? tag::kByte : runtime::base_tag(value_tag);
}

// Value to variant for one scalar of Variant.Assign.
bool scalar_to_variant(const ArgRecord& value, VARIANT* out) {
  VariantInit(out);
  std::uint32_t t = runtime::base_tag(value.tag);
  if (is_object_like(t)) {
    const auto* object = value.pointer<const ObjectRecord>();
    IUnknown* unknown = nullptr;
    if (object != nullptr && object->iface != nullptr &&
        SUCCEEDED(object->iface->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)))) {
      out->vt = VT_UNKNOWN;
      out->punkVal = unknown;
    }
    return true;
  }
  if (t == tag::kVariant) {
    const auto* block = value.pointer<const VARIANT>();
    return block == nullptr || SUCCEEDED(VariantCopyInd(out, block));
  }
  return basic_to_variant(t, value.value(), out);
}

bool array_to_variant(const ArgRecord& value, VARIANT* out) {
  VariantInit(out);
  VARTYPE vt = VT_EMPTY;
  SAFEARRAY* sa = array_to_safe_array(value.pointer<const void>(), element_tag_of(value.tag), &vt);
  if (sa == nullptr) return false;
  out->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
  out->parray = sa;
  return true;
}

// Stores one element of V's array; false on any failure, V untouched then.
bool assign_element(VARIANT* v, const ArgRecord& value, std::int64_t position) {
  if ((v->vt & VT_ARRAY) == 0) return false;
  const VARTYPE element = v->vt & VT_TYPEMASK;
  const bool array_value = is_array_value(value.tag);
  if (array_value && element != VT_VARIANT) return false;
  SAFEARRAY* sa = (v->vt & VT_BYREF) != 0 ? (v->pparray != nullptr ? *v->pparray : nullptr) : v->parray;
  std::vector<LONG> indices;
  if (!flat_index(sa, position, &indices)) return false;
  VARIANT temporary;
  VariantInit(&temporary);
  bool ok = array_value ? array_to_variant(value, &temporary) : scalar_to_variant(value, &temporary);
  if (ok && !array_value && element != VT_VARIANT) {
    ok = SUCCEEDED(VariantChangeType(&temporary, &temporary, 0, element));
  }
  if (ok) {
    void* what = nullptr;
    switch (element) {
      case 2:
      case 3:
      case 4:
      case 5:
      case 6:
      case 7:
      case 10:
      case 11:
      case 16:
      case 17:
      case 18:
      case 19:
      case 22:
      case 23:
        what = &temporary.llVal;
        break;
      case 8:
      case 9:
      case 13:
      case 36:
        what = temporary.byref;
        break;
      case 12:
      case 14:
        what = &temporary;
        break;
      default:
        ok = false;
        break;
    }
    ok = ok && SUCCEEDED(SafeArrayPutElement(sa, indices.data(), what));
  }
  VariantClear(&temporary);
  return ok;
}

}  // namespace

void variant_assign(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  result->tag = tag::kBool;
  result->set_value(0);
  VARIANT* v = variant_argument(count, args);
  if (v == nullptr || count < 2) return;
  const ArgRecord& value = args[1];
  std::int64_t position = 0;
  if (index_argument(count, args, 2, &position)) {
    result->set_value(assign_element(v, value, position) ? 1 : 0);
    return;
  }
  VariantClear(v);
  std::memset(v, 0, sizeof *v);
  VARIANT made;
  bool ok = is_array_value(value.tag) ? array_to_variant(value, &made) : scalar_to_variant(value, &made);
  if (!ok) {
    VariantClear(&made);
    return;
  }
  *v = made;
  result->set_value(1);
}

void variant_to_byte_set(ArgRecord* result, std::int32_t count, ArgRecord* args) {
  result->tag = tag::kByteSet;
  result->set_value(0);
  const VARIANT* v = variant_argument(count, args);
  if (v == nullptr) return;
  VARIANT temporary;
  VariantInit(&temporary);
  void* bytes = nullptr;
  std::int64_t position = 0;
  if ((v->vt & VT_ARRAY) == 0) {
    if (SUCCEEDED(VariantCopyInd(&temporary, v)) &&
        SUCCEEDED(VariantChangeType(&temporary, &temporary, 0, VT_ARRAY | VT_UI1))) {
      bytes = byte_array_to_byte_set(temporary);
    }
  } else if (index_argument(count, args, 1, &position)) {
    SAFEARRAY* sa = (v->vt & VT_BYREF) != 0 ? (v->pparray != nullptr ? *v->pparray : nullptr) : v->parray;
    std::vector<LONG> indices;
    VARTYPE element = VT_EMPTY;
    if (flat_index(sa, position, &indices) && SUCCEEDED(SafeArrayGetVartype(sa, &element))) {
      HRESULT hr = S_OK;
      if (element == VT_VARIANT) {
        hr = SafeArrayGetElement(sa, indices.data(), &temporary);
      } else {
        temporary.vt = element;
        hr = SafeArrayGetElement(sa, indices.data(), &temporary.llVal);
        if (FAILED(hr)) VariantInit(&temporary);
      }
      if (SUCCEEDED(hr) && (temporary.vt == (VT_ARRAY | VT_UI1) ||
                            SUCCEEDED(VariantChangeType(&temporary, &temporary, 0, VT_ARRAY | VT_UI1)))) {
        bytes = byte_array_to_byte_set(temporary);
      }
    }
  } else {
    bytes = byte_array_to_byte_set(*v);
  }
  VariantClear(&temporary);
  result->set_pointer(bytes);
}

void variant_clear(ArgRecord*, std::int32_t count, ArgRecord* args) {
  VARIANT* v = variant_argument(count, args);
  if (v == nullptr) return;
  VariantClear(v);
  std::memset(v, 0, sizeof *v);
}

}  // namespace automation
