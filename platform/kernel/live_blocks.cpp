#include "platform/kernel/live_blocks.h"

#include <sys/mman.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace platform::kernel {
namespace {

// 16-byte granules, 2^20 of them (16 MB of addresses, 128 KB of bits) per leaf, 2^12 leaves per
// middle table and 2^12 middle tables: 4 + 20 + 12 + 12 = 48 address bits.
constexpr unsigned kGranuleBits = 4;
constexpr unsigned kLeafBits = 20;
constexpr unsigned kMidBits = 12;
constexpr unsigned kTopBits = 12;
constexpr unsigned kAddressBits = kGranuleBits + kLeafBits + kMidBits + kTopBits;

struct Leaf {
  std::uint64_t words[(std::size_t{1} << kLeafBits) / 64];
};
struct Mid {
  Leaf* leaves[std::size_t{1} << kMidBits];
};

Mid* top_tables[std::size_t{1} << kTopBits];  // the registry is process-wide, like the heap

// Zeroed pages straight from the kernel: the registry must not allocate from the heap it guards.
template <class T>
T* map_zeroed() {
  void* p = mmap(nullptr, sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : static_cast<T*>(p);
}

// The table in `slot`, mapped and published when `create` asks and no thread has yet.
template <class T>
T* table_in(T*& slot, bool create) {
  std::atomic_ref<T*> ref(slot);
  T* table = ref.load(std::memory_order_acquire);
  if (table != nullptr || !create) return table;
  T* fresh = map_zeroed<T>();
  if (fresh == nullptr) return nullptr;
  if (ref.compare_exchange_strong(table, fresh, std::memory_order_acq_rel)) return fresh;
  munmap(fresh, sizeof(T));  // another thread published its table first
  return table;
}

struct BitRef {
  std::uint64_t* word;
  std::uint64_t mask;
};

// The word and bit of `block`; word is null when the block is not trackable or, unless `create`,
// when its leaf does not exist (then nothing there is live).
BitRef bit_of(const void* block, bool create) {
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  if (address % (std::uintptr_t{1} << kGranuleBits) != 0 || (address >> kAddressBits) != 0) return {};
  const std::uintptr_t granule = address >> kGranuleBits;
  const std::size_t in_leaf = granule & ((std::uintptr_t{1} << kLeafBits) - 1);
  const std::size_t mid_index = (granule >> kLeafBits) & ((std::uintptr_t{1} << kMidBits) - 1);
  const std::size_t top_index = granule >> (kLeafBits + kMidBits);
  Mid* mid = table_in(top_tables[top_index], create);
  if (mid == nullptr) return {};
  Leaf* leaf = table_in(mid->leaves[mid_index], create);
  if (leaf == nullptr) return {};
  return {&leaf->words[in_leaf / 64], std::uint64_t{1} << (in_leaf % 64)};
}

}  // namespace

bool mark_live(const void* block) {
  const BitRef bit = bit_of(block, true);
  if (bit.word == nullptr) return false;
  std::atomic_ref<std::uint64_t>(*bit.word).fetch_or(bit.mask, std::memory_order_acq_rel);
  return true;
}

bool clear_live(const void* block) {
  const BitRef bit = bit_of(block, false);
  if (bit.word == nullptr) return false;
  const std::uint64_t before =
      std::atomic_ref<std::uint64_t>(*bit.word).fetch_and(~bit.mask, std::memory_order_acq_rel);
  return (before & bit.mask) != 0;
}

bool is_live(const void* block) {
  const BitRef bit = bit_of(block, false);
  return bit.word != nullptr &&
         (std::atomic_ref<std::uint64_t>(*bit.word).load(std::memory_order_acquire) & bit.mask) != 0;
}

}  // namespace platform::kernel
