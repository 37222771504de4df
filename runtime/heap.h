// Runtime memory: every runtime value comes from the process heap.
// Contract:
// - allocate(n) never answers null: a failure is the runtime error "allocation of n bytes
//   failed", which ends the program. try_allocate answers null instead.
// - release(p) ignores null and pointers into a constant range.
// - resize(p, n): null p allocates; p inside a constant range gets a fresh block holding
//   min(n, bytes left in the range) bytes of it, the constant untouched; otherwise the block is
//   reallocated, failure fatal as for allocate.
// - Blocks are not zero-filled. All of this is safe from worker threads.
#pragma once

#include <cstddef>

namespace runtime {

void* allocate(std::size_t bytes);
void* try_allocate(std::size_t bytes);
void* resize(void* block, std::size_t bytes);
void release(void* block);

// True when p lies in a registered constant range (such values are shared and never freed).
bool is_constant(const void* p);

}  // namespace runtime
