#include <cstdlib>
#include <cstring>

#include "platform/com/variant.h"

// A BSTR points just past a 32-bit byte length; the characters end in a NUL that the length
// does not count.
namespace {

std::uint32_t* header(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - sizeof(std::uint32_t));
}

BSTR allocate(std::size_t bytes) {
  if (bytes > 0x7FFFFFF0u) return nullptr;
  // Three NUL bytes after the data, so that an odd byte length still ends in a wide NUL.
  auto* block = static_cast<char*>(std::malloc(sizeof(std::uint32_t) + bytes + 3));
  if (block == nullptr) return nullptr;
  auto length = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &length, sizeof length);
  char* text = block + sizeof(std::uint32_t);
  std::memset(text + bytes, 0, 3);
  return reinterpret_cast<BSTR>(text);
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT chars) {
  BSTR s = allocate(static_cast<std::size_t>(chars) * sizeof(OLECHAR));
  if (s == nullptr) return nullptr;
  // Without a source the characters are left for the caller to write.
  if (text != nullptr) std::memcpy(s, text, static_cast<std::size_t>(chars) * sizeof(OLECHAR));
  return s;
}

BSTR SysAllocString(LPCOLESTR text) {
  if (text == nullptr) return nullptr;
  UINT n = 0;
  while (text[n] != 0) ++n;
  return SysAllocStringLen(text, n);
}

BSTR SysAllocStringByteLen(const char* bytes, UINT length) {
  BSTR s = allocate(length);
  if (s == nullptr) return nullptr;
  if (bytes != nullptr) std::memcpy(s, bytes, length);
  return s;
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(header(text));
}

UINT SysStringByteLen(BSTR text) {
  return text == nullptr ? 0 : *header(text);
}

UINT SysStringLen(BSTR text) {
  return SysStringByteLen(text) / sizeof(OLECHAR);
}

INT SysReAllocStringLen(BSTR* text, const OLECHAR* source, UINT chars) {
  if (text == nullptr) return FALSE;
  const std::size_t bytes = static_cast<std::size_t>(chars) * sizeof(OLECHAR);
  if (*text != nullptr && source == *text && chars <= SysStringLen(*text)) {
    // Shortening in place keeps the leading characters where they are.
    auto* block = static_cast<char*>(std::realloc(header(*text), sizeof(std::uint32_t) + bytes + 3));
    if (block == nullptr) return FALSE;
    auto length = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &length, sizeof length);
    std::memset(block + sizeof(std::uint32_t) + bytes, 0, 3);
    *text = reinterpret_cast<BSTR>(block + sizeof(std::uint32_t));
    return TRUE;
  }
  BSTR fresh = SysAllocStringLen(source, chars);
  if (fresh == nullptr) return FALSE;
  SysFreeString(*text);
  *text = fresh;
  return TRUE;
}
