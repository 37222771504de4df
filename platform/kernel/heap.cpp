// The process heap on malloc. Each block carries a 16-byte header (its size) in front of the
// caller's bytes, which keeps malloc's alignment. Live blocks are also registered, so HeapFree,
// HeapReAlloc and HeapSize recognise a pointer that is not a live block of this heap (a double
// free, a foreign pointer) and refuse it without touching its memory.
#include <malloc.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/api/kernel.h"

namespace {

struct alignas(16) Header {
  std::uint64_t size;
  std::uint64_t reserved;
};
static_assert(sizeof(Header) == 16);

constexpr SIZE_T kMaxBytes = (SIZE_MAX >> 1) - sizeof(Header);

// The registry is split by address so that threads allocating at once rarely meet on a lock.
struct Shard {
  std::mutex mutex;
  std::unordered_set<const void*> live;
};
constexpr std::size_t kShards = 32;

std::array<Shard, kShards>& shards() {
  static auto* all = new std::array<Shard, kShards>();  // never destroyed: late frees stay safe
  return *all;
}

Shard& shard_for(const void* block) {
  auto v = reinterpret_cast<std::uintptr_t>(block) >> 4;
  v ^= v >> 9;
  return shards()[v % kShards];
}

void register_block(const void* block) {
  Shard& s = shard_for(block);
  std::lock_guard guard(s.mutex);
  s.live.insert(block);
}

// Removes the block from the registry; false when it was not a live block.
bool unregister_block(const void* block) {
  Shard& s = shard_for(block);
  std::lock_guard guard(s.mutex);
  return s.live.erase(block) == 1;
}

bool is_live(const void* block) {
  Shard& s = shard_for(block);
  std::lock_guard guard(s.mutex);
  return s.live.count(block) == 1;
}

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
  register_block(block);
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
    if (!unregister_block(block)) {  // freed by another thread meanwhile
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    auto* moved = static_cast<Header*>(std::realloc(h, sizeof(Header) + bytes));
    if (!moved) {
      register_block(block);  // the old block stays valid
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    h = moved;
    register_block(user_of(h));
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
  if (!unregister_block(block)) {
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
