// The process heap on malloc. Each block carries a 16-byte header (its size) in front of the
// caller's bytes, which keeps malloc's alignment. Live blocks are also marked in the live-block
// bitmap, so HeapFree, HeapReAlloc and HeapSize recognise a pointer that is not a live block of
// this heap (a double free, a foreign pointer) and refuse it without touching its memory.
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/api/kernel.h"
#include "platform/kernel/live_blocks.h"

namespace {

using platform::kernel::clear_live;
using platform::kernel::is_live;
using platform::kernel::mark_live;

struct alignas(16) Header {
  std::uint64_t size;
  std::uint64_t reserved;
};
static_assert(sizeof(Header) == 16);

constexpr SIZE_T kMaxBytes = (SIZE_MAX >> 1) - sizeof(Header);

// The one heap handle; its address is the handle value.
struct ProcessHeap {
  char marker;
};

// Runtime values of a megabyte or more (replies, byte sets, their decoded texts) come and go on
// every request; served from mmap they would be handed back to the kernel on each free and
// faulted in afresh on the next allocation. Keeping them in the arena trades a few megabytes of
// retained memory for that.
ProcessHeap make_process_heap() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  return ProcessHeap{};
}

ProcessHeap& process_heap() {
  static ProcessHeap heap = make_process_heap();
  return heap;
}

bool is_process_heap(HANDLE heap) {
  return heap == static_cast<HANDLE>(&process_heap());
}

Header* header_of(LPCVOID block) {
  return reinterpret_cast<Header*>(const_cast<char*>(static_cast<const char*>(block)) - sizeof(Header));
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
  void* block = user_of(h);
  if (!mark_live(block)) {
    std::free(raw);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return block;
}

extern "C" LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (!is_process_heap(heap)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!block || !is_live(block)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (bytes > kMaxBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Header* h = header_of(block);
  const std::size_t old_size = h->size;
  if (flags & HEAP_REALLOC_IN_PLACE_ONLY) {
    // The block may only change size within what malloc already gave it.
    if (bytes > capacity_of(h)) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  } else {
    if (!clear_live(block)) {  // freed by another thread meanwhile
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    auto* moved = static_cast<Header*>(std::realloc(h, sizeof(Header) + bytes));
    if (!moved) {
      mark_live(block);  // the old block stays valid, and its bit's leaf exists
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    h = moved;
    // malloc answers aligned addresses below 2^48, so only a leaf that cannot be mapped fails
    // here; the caller's old pointer is gone by now and the data must not be lost silently.
    if (!mark_live(user_of(h))) std::abort();
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
  if (!clear_live(block)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::free(header_of(block));
  return TRUE;
}

extern "C" SIZE_T WINAPI HeapSize(HANDLE heap, DWORD, LPCVOID block) {
  if (!is_process_heap(heap) || !block || !is_live(block)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<SIZE_T>(-1);
  }
  return header_of(block)->size;
}
