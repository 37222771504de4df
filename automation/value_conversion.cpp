#include "automation/value_conversion.h"

#include <cstring>

#include "automation/object_record.h"
#include "automation/runtime_link.h"
#include "platform/api/kernel.h"
#include "platform/com/ansi_text.h"

namespace automation {
namespace {

using runtime::ArgRecord;
namespace tag = runtime::tag;

// Stores a converted scalar: into the variable (its width) or into the result record.
void store(std::uint32_t t, std::uint64_t bits, bool write_through, ArgRecord* result, void* variable) {
  if (write_through) {
    std::memcpy(variable, &bits, runtime::element_width(t));
  } else {
    result->set_value(bits);
  }
}

void store_text(char* text, bool write_through, ArgRecord* result, void* variable) {
  if (write_through) {
    auto** slot = static_cast<char**>(variable);
    runtime_free(*slot);
    *slot = text;
  } else {
    result->set_pointer(text);
  }
}

std::uint64_t sign_extend(std::int32_t v) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(v));
}

}  // namespace

VARTYPE tag_vartype(std::uint32_t t) {
  if (is_object_like(t)) return VT_UNKNOWN;
  switch (t) {
    case tag::kVariant:
      return VT_VARIANT;
    case tag::kBool:
      return VT_BOOL;
    case tag::kDateTime:
      return VT_DATE;
    case tag::kText:
      return VT_BSTR;
    case tag::kByte:
      return VT_UI1;
    case tag::kShort:
      return VT_I2;
    case tag::kInt:
    case tag::kLong:
      return VT_I4;
    case tag::kFloat:
      return VT_R4;
    case tag::kDouble:
      return VT_R8;
    default:
      return VT_EMPTY;
  }
}

std::u16string text_to_utf16(const char* text) {
  if (text == nullptr || *text == 0) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(std::strlen(text)), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(std::strlen(text)), out.data(), n);
  return out;
}

BSTR text_to_bstr(const char* text) {
  if (text == nullptr) return nullptr;
  std::u16string wide = text_to_utf16(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

char* bstr_to_text(const OLECHAR* text, std::size_t chars) {
  if (text == nullptr || chars == 0) return nullptr;
  // The ANSI code page is GB18030. One pass into room for the longest form; the block is then
  // cut to size (untouched room costs nothing).
  std::u16string_view wide(text, chars);
  auto* out = static_cast<char*>(runtime_allocate(platform::com::ansi_max_length(wide) + 1));
  const std::size_t n = platform::com::ansi_encode(wide, out);
  out[n] = 0;
  return static_cast<char*>(runtime_resize(out, n + 1));
}

void* make_byte_set(const void* data, std::size_t n) {
  if (n == 0) return nullptr;
  auto* block = static_cast<std::uint8_t*>(runtime_allocate(n + 8));
  const std::uint32_t header[2] = {1, static_cast<std::uint32_t>(n)};
  std::memcpy(block, header, sizeof header);
  std::memcpy(block + 8, data, n);
  return block;
}

void* new_empty_block() {
  void* block = runtime_allocate(16);
  std::memset(block, 0, 16);
  return block;
}

std::uint64_t argument_value(const ArgRecord& record, std::uint32_t t, bool by_address) {
  if (!by_address) return record.value();
  const void* variable = record.pointer<const void>();
  if (variable == nullptr) return 0;
  std::uint64_t v = 0;
  std::memcpy(&v, variable, runtime::element_width(t));
  return v;
}

bool basic_to_variant(std::uint32_t t, std::uint64_t value, VARIANT* out) {
  VariantInit(out);
  const auto low = static_cast<std::uint32_t>(value);
  switch (t) {
    case tag::kBool:
      out->vt = VT_BOOL;
      out->boolVal = low != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      return true;
    case tag::kDateTime:
      out->vt = VT_DATE;
      std::memcpy(&out->date, &value, sizeof value);
      return true;
    case tag::kText:
      out->vt = VT_BSTR;
      out->bstrVal = text_to_bstr(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value)));
      return true;
    case tag::kByte:
      out->vt = VT_UI1;
      out->bVal = static_cast<BYTE>(low);
      return true;
    case tag::kShort:
      out->vt = VT_I2;
      out->iVal = static_cast<SHORT>(low);
      return true;
    case tag::kInt:
    case tag::kLong:  // the low 32 bits only
      out->vt = VT_I4;
      out->lVal = static_cast<LONG>(low);
      return true;
    case tag::kFloat:
      out->vt = VT_R4;
      std::memcpy(&out->fltVal, &low, sizeof low);
      return true;
    case tag::kDouble:
      out->vt = VT_R8;
      std::memcpy(&out->dblVal, &value, sizeof value);
      return true;
    default:
      return false;
  }
}

bool variant_to_value(const VARIANT& source, std::uint32_t t, bool write_through, ArgRecord* result,
                      void* variable) {
  if ((source.vt & VT_TYPEMASK) == VT_RECORD) return false;
  if (write_through && variable == nullptr) return false;
  if (is_object_like(t)) t = tag::kObject;

  if (t == tag::kVariant) {
    if (write_through) {
      auto* block = *static_cast<VARIANT**>(variable);
      if (block != nullptr) {
        VariantClear(block);
        VariantCopyInd(block, &source);
      }
    } else {
      auto* block = static_cast<VARIANT*>(new_empty_block());
      VariantCopyInd(block, &source);
      result->set_pointer(block);
    }
    return true;
  }

  VARTYPE vt = tag_vartype(t);
  if (vt == VT_EMPTY) return false;
  if (t == tag::kText && source.vt == VT_BSTR) {
    // Already text: converted straight from the source, without copying a long string first.
    store_text(bstr_to_text(source.bstrVal, SysStringLen(source.bstrVal)), write_through, result, variable);
    return true;
  }
  VARIANT temporary;
  VariantInit(&temporary);
  if (FAILED(VariantCopyInd(&temporary, &source)) ||
      FAILED(VariantChangeType(&temporary, &temporary, 0, vt))) {
    VariantClear(&temporary);
    return false;
  }
  switch (t) {
    case tag::kObject: {
      IUnknown* iface = temporary.punkVal;
      if (iface != nullptr) iface->AddRef();
      if (write_through) {
        auto* object = *static_cast<ObjectRecord**>(variable);
        if (object != nullptr) {
          runtime_release_object(object);
          object->iface = iface;
        } else if (iface != nullptr) {
          iface->Release();
        }
      } else {
        auto* object = static_cast<ObjectRecord*>(new_empty_block());
        object->iface = iface;
        result->set_pointer(object);
      }
      break;
    }
    case tag::kText:
      store_text(bstr_to_text(temporary.bstrVal, SysStringLen(temporary.bstrVal)), write_through, result,
                 variable);
      break;
    case tag::kBool:
      store(t, temporary.boolVal != 0 ? 1 : 0, write_through, result, variable);
      break;
    case tag::kByte:
      store(t, temporary.bVal, write_through, result, variable);
      break;
    case tag::kShort:
      store(t, sign_extend(temporary.iVal), write_through, result, variable);
      break;
    case tag::kInt:
    case tag::kLong:
      store(t, sign_extend(temporary.lVal), write_through, result, variable);
      break;
    case tag::kFloat: {
      std::uint32_t bits = 0;
      std::memcpy(&bits, &temporary.fltVal, sizeof bits);
      store(t, bits, write_through, result, variable);
      break;
    }
    default: {  // double and date-time: the 8 bytes
      std::uint64_t bits = 0;
      std::memcpy(&bits, &temporary.dblVal, sizeof bits);
      store(t, bits, write_through, result, variable);
      break;
    }
  }
  VariantClear(&temporary);
  return true;
}

}  // namespace automation
