#include "runtime/heap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/api/kernel.h"
#include "runtime/runtime_error.h"
#include "runtime/state.h"

namespace runtime {
namespace {

HANDLE runtime_heap() {
  RuntimeState* s = current_state();
  return s != nullptr && s->heap != nullptr ? s->heap : GetProcessHeap();
}

const std::byte* constant_end(const void* p) {
  RuntimeState* s = current_state();
  return s != nullptr ? s->constant_ranges.end_of(p) : nullptr;
}

}  // namespace

bool is_constant(const void* p) {
  return p != nullptr && constant_end(p) != nullptr;
}

void* try_allocate(std::size_t bytes) {
  return HeapAlloc(runtime_heap(), 0, bytes);
}

void* allocate(std::size_t bytes) {
  void* block = try_allocate(bytes);
  if (block == nullptr) report_allocation_failure(bytes);
  return block;
}

void* resize(void* block, std::size_t bytes) {
  if (block == nullptr) return allocate(bytes);
  if (const std::byte* end = constant_end(block)) {
    void* copy = allocate(bytes);
    auto available = static_cast<std::size_t>(end - static_cast<const std::byte*>(block));
    std::memcpy(copy, block, std::min(bytes, available));
    return copy;
  }
  void* grown = HeapReAlloc(runtime_heap(), 0, block, bytes);
  if (grown == nullptr) report_allocation_failure(bytes);
  return grown;
}

void release(void* block) {
  if (block == nullptr || constant_end(block) != nullptr) return;
  HeapFree(runtime_heap(), 0, block);
}

}  // namespace runtime
