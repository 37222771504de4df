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
#include <vector>

#include "platform/api/kernel.h"

namespace {

struct alignas(16) Header {
  std::uint64_t size;
  std::uint64_t reserved;
};
static_assert(sizeof(Header) == 16);

constexpr SIZE_T kMaxBytes = (SIZE_MAX >> 1) - sizeof(Header);

// The set of live blocks: open addressing with linear probing and backward-shift deletion, so
// registering a block costs no allocation of its own (a node per block made the registry the
// heap's main cost) and no tombstones pile up as blocks come and go.
class BlockSet {
 public:
  void insert(const void* block) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    std::size_t i = home(block);
    while (slots_[i] != kEmpty) i = next(i);
    slots_[i] = reinterpret_cast<std::uintptr_t>(block);
    ++count_;
  }
  bool erase(const void* block) {
    std::size_t hole = find(block);
    if (hole == SIZE_MAX) return false;
    // Pull later members of the run back so that every member stays reachable from its home.
    for (std::size_t j = next(hole); slots_[j] != kEmpty; j = next(j)) {
      const std::size_t h = home(reinterpret_cast<const void*>(slots_[j]));
      const bool stays = hole <= j ? (hole < h && h <= j) : (hole < h || h <= j);
      if (stays) continue;
      slots_[hole] = slots_[j];
      hole = j;
    }
    slots_[hole] = kEmpty;
    --count_;
    return true;
  }
  bool contains(const void* block) const { return find(block) != SIZE_MAX; }

 private:
  static constexpr std::uintptr_t kEmpty = 0;

  std::size_t next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }
  std::size_t home(const void* block) const {
    const auto v = (reinterpret_cast<std::uintptr_t>(block) >> 4) * 0x9E3779B97F4A7C15ull;
    return (v >> 32) & (slots_.size() - 1);
  }
  std::size_t find(const void* block) const {
    if (slots_.empty()) return SIZE_MAX;
    const auto want = reinterpret_cast<std::uintptr_t>(block);
    for (std::size_t i = home(block);; i = next(i)) {
      if (slots_[i] == want) return i;
      if (slots_[i] == kEmpty) return SIZE_MAX;
    }
  }
  void grow() {
    std::vector<std::uintptr_t> old(slots_.empty() ? 64 : slots_.size() * 2, kEmpty);
    old.swap(slots_);
    count_ = 0;
    for (std::uintptr_t v : old)
      if (v != kEmpty) insert(reinterpret_cast<const void*>(v));
  }

  std::vector<std::uintptr_t> slots_;
  std::size_t count_ = 0;
};

// The registry is split by address so that threads allocating at once rarely meet on a lock.
struct Shard {
  std::mutex mutex;
  BlockSet live;
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
  return s.live.erase(block);
}

bool is_live(const void* block) {
  Shard& s = shard_for(block);
  std::lock_guard guard(s.mutex);
  return s.live.contains(block);
}

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
