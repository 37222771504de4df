// The process heap on malloc. Each block carries a 16-byte header (its size and a tag) in
// front of the caller's bytes, which keeps malloc's alignment and lets HeapSize, HeapReAlloc and
// HeapFree recognise blocks that are not theirs.
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/api/kernel.h"

namespace {

constexpr std::uint64_t kLiveTag = 0x4C59524845415021ull;  // marks a live block
constexpr std::uint64_t kFreedTag = 0x4652454544424C4Bull;

struct alignas(16) Header {
  std::uint64_t size;
  std::uint64_t tag;
};
static_assert(sizeof(Header) == 16);

constexpr SIZE_T kMaxBytes = (SIZE_MAX >> 1) - sizeof(Header);

// The one heap handle; its address is the handle value.
struct ProcessHeap {
  char marker;
};

ProcessHeap& process_heap() {
  static ProcessHeap heap{};
  return heap;
}

bool is_process_heap(HANDLE heap) {
  return heap == static_cast<HANDLE>(&process_heap());
}

Header* header_of(LPCVOID block) {
  auto* h = reinterpret_cast<Header*>(const_cast<char*>(static_cast<const char*>(block)) - sizeof(Header));
  return h->tag == kLiveTag ? h : nullptr;
}

void* user_of(Header* h) {
  return reinterpret_cast<char*>(h) + sizeof(Header);
}

std::size_t capacity_of(Header* h) {
  return malloc_usable_size(h) - sizeof(Header);
}

}  // namespace

extern "C" HANDLE WINAPI GetProcessHeap() {
  return &process_heap();
}

extern "C" LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!is_process_heap(heap)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (bytes > kMaxBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  void* raw = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(Header) + bytes)
                                         : std::malloc(sizeof(Header) + bytes);
  if (!raw) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto* h = static_cast<Header*>(raw);
  h->size = bytes;
  h->tag = kLiveTag;
  return user_of(h);
}

extern "C" LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (!is_process_heap(heap)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  Header* h = block ? header_of(block) : nullptr;
  if (!h) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (bytes > kMaxBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const std::size_t old_size = h->size;
  if (flags & HEAP_REALLOC_IN_PLACE_ONLY) {
    // The block may only change size within what malloc already gave it.
    if (bytes > capacity_of(h)) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  } else {
    auto* moved = static_cast<Header*>(std::realloc(h, sizeof(Header) + bytes));
    if (!moved) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);  // the old block stays valid
      return nullptr;
    }
    h = moved;
  }
  h->size = bytes;
  if ((flags & HEAP_ZERO_MEMORY) && bytes > old_size)
    std::memset(static_cast<char*>(user_of(h)) + old_size, 0, bytes - old_size);
  return user_of(h);
}

extern "C" BOOL WINAPI HeapFree(HANDLE heap, DWORD, LPVOID block) {
  if (!is_process_heap(heap)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!block) return TRUE;
  Header* h = header_of(block);
  if (!h) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  h->tag = kFreedTag;
  std::free(h);
  return TRUE;
}

extern "C" SIZE_T WINAPI HeapSize(HANDLE heap, DWORD, LPCVOID block) {
  Header* h = is_process_heap(heap) && block ? header_of(block) : nullptr;
  if (!h) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<SIZE_T>(-1);
  }
  return h->size;
}
