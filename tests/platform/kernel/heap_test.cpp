#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/api/kernel.h"

namespace {

TEST(Heap, AllocZeroSizeAndFree) {
  HANDLE heap = GetProcessHeap();
  ASSERT_NE(heap, nullptr);
  auto* p = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 100));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0) << i;
  EXPECT_EQ(HeapSize(heap, 0, p), 100u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u);

  void* empty1 = HeapAlloc(heap, 0, 0);
  void* empty2 = HeapAlloc(heap, 0, 0);
  ASSERT_NE(empty1, nullptr);
  EXPECT_NE(empty1, empty2);
  EXPECT_EQ(HeapSize(heap, 0, empty1), 0u);
  EXPECT_TRUE(HeapFree(heap, 0, empty1));
  EXPECT_TRUE(HeapFree(heap, 0, empty2));
  EXPECT_TRUE(HeapFree(heap, 0, p));
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
}

TEST(Heap, FailuresReturnNullWithAnError) {
  HANDLE heap = GetProcessHeap();
  SetLastError(0);
  EXPECT_EQ(HeapAlloc(heap, 0, SIZE_MAX - 8), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  int not_a_heap = 0;
  EXPECT_EQ(HeapAlloc(&not_a_heap, 0, 8), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(HeapFree(&not_a_heap, 0, nullptr));
  EXPECT_EQ(HeapReAlloc(heap, 0, nullptr, 8), nullptr);
}

TEST(Heap, DoubleFreeAndForeignPointersAreRefused) {
  HANDLE heap = GetProcessHeap();
  void* p = HeapAlloc(heap, 0, 32);
  ASSERT_TRUE(HeapFree(heap, 0, p));
  SetLastError(0);
  EXPECT_FALSE(HeapFree(heap, 0, p));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(HeapReAlloc(heap, 0, p, 64), nullptr);
  EXPECT_EQ(HeapSize(heap, 0, p), static_cast<SIZE_T>(-1));
  char local[32];
  EXPECT_FALSE(HeapFree(heap, 0, local + 16));
  void* q = HeapAlloc(heap, 0, 32);
  EXPECT_FALSE(HeapFree(heap, 0, static_cast<char*>(q) + 1));  // inside a block is no block
  EXPECT_TRUE(HeapFree(heap, 0, q));
}

// Addresses that no block ever had: never mapped, above the user address space, misaligned.
// Refusing them must not read them.
TEST(Heap, PointersFarFromAnyBlockAreRefused) {
  HANDLE heap = GetProcessHeap();
  for (std::uintptr_t address : {std::uintptr_t{0x10}, std::uintptr_t{0x00007ff000000000},
                                 std::uintptr_t{1} << 48, ~std::uintptr_t{0xf}, std::uintptr_t{0x1008}}) {
    void* p = reinterpret_cast<void*>(address);
    EXPECT_FALSE(HeapFree(heap, 0, p)) << std::hex << address;
    EXPECT_EQ(HeapSize(heap, 0, p), static_cast<SIZE_T>(-1)) << std::hex << address;
    EXPECT_EQ(HeapReAlloc(heap, 0, p, 8), nullptr) << std::hex << address;
  }
}

// Neighbouring blocks share words of the live-block record; a free racing with frees of its
// neighbours, or with a second free of itself, must neither lose nor double a block.
TEST(Heap, RacingFreesOfNeighboursAndOfTheSameBlock) {
  HANDLE heap = GetProcessHeap();
  for (int round = 0; round < 50; ++round) {
    std::vector<void*> blocks;
    for (int i = 0; i < 64; ++i) blocks.push_back(HeapAlloc(heap, 0, 16));
    std::atomic<int> freed{0};
    auto free_all = [&] {
      for (void* b : blocks) freed += HeapFree(heap, 0, b) ? 1 : 0;
    };
    std::thread a(free_all), b(free_all);
    a.join();
    b.join();
    ASSERT_EQ(freed.load(), 64) << "round " << round;
  }
}

TEST(Heap, ReAllocKeepsContentAndZeroesGrowth) {
  HANDLE heap = GetProcessHeap();
  auto* p = static_cast<char*>(HeapAlloc(heap, 0, 10));
  std::memcpy(p, "abcdefghij", 10);
  auto* q = static_cast<char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, p, 5000));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(std::memcmp(q, "abcdefghij", 10), 0);
  for (int i = 10; i < 5000; ++i) ASSERT_EQ(q[i], 0) << i;
  EXPECT_EQ(HeapSize(heap, 0, q), 5000u);
  auto* r = static_cast<char*>(HeapReAlloc(heap, 0, q, 3));
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(std::memcmp(r, "abc", 3), 0);
  EXPECT_EQ(HeapSize(heap, 0, r), 3u);
  HeapFree(heap, 0, r);
}

TEST(Heap, ReAllocInPlaceOnlyFailsCleanlyWhenItMustMove) {
  HANDLE heap = GetProcessHeap();
  auto* p = static_cast<char*>(HeapAlloc(heap, 0, 16));
  std::memcpy(p, "0123456789abcdef", 16);
  SetLastError(0);
  EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, p, 1 << 20), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  // The block is untouched and still usable.
  EXPECT_EQ(HeapSize(heap, 0, p), 16u);
  EXPECT_EQ(std::memcmp(p, "0123456789abcdef", 16), 0);
  // Shrinking in place keeps the address.
  EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, p, 4), p);
  EXPECT_EQ(HeapSize(heap, 0, p), 4u);
  EXPECT_TRUE(HeapFree(heap, 0, p));
}

TEST(Heap, ThreadsAllocateAndFreeConcurrently) {
  HANDLE heap = GetProcessHeap();
  std::vector<std::thread> threads;
  std::vector<int> bad(6, 0);
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([heap, t, &bad] {
      std::vector<unsigned char*> blocks;
      for (int i = 0; i < 3000; ++i) {
        std::size_t n = static_cast<std::size_t>(1 + (i * 37) % 300);
        auto* p = static_cast<unsigned char*>(HeapAlloc(heap, 0, n));
        if (!p) {
          ++bad[t];
          continue;
        }
        std::memset(p, t + 1, n);
        blocks.push_back(p);
        if (i % 3 == 0) {
          unsigned char* victim = blocks[blocks.size() / 2];
          blocks.erase(blocks.begin() + static_cast<long>(blocks.size() / 2));
          SIZE_T size = HeapSize(heap, 0, victim);
          for (SIZE_T k = 0; k < size; ++k)
            if (victim[k] != t + 1) ++bad[t];
          if (!HeapFree(heap, 0, victim)) ++bad[t];
        }
      }
      for (auto* p : blocks) {
        if (p[0] != t + 1) ++bad[t];
        HeapFree(heap, 0, p);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 6; ++t) EXPECT_EQ(bad[t], 0) << "thread " << t;
}

}  // namespace
