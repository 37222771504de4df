// Which addresses are live blocks of the process heap, answered without touching the memory at
// the address (a foreign pointer or a freed block may be anything, or unmapped).
// Contract:
// - One bit per 16-byte granule of the address space. Leaves of bits are mapped on first use and
//   never given back, so a late check after many frees stays safe.
// - mark_live(p) answers false when p cannot be tracked: not 16-byte aligned, at or above
//   2^48, or no memory for a leaf. The caller then must not hand p out.
// - clear_live(p) clears p's bit and answers whether it was set; of two threads clearing the same
//   block at once exactly one sees true. is_live(p) reads the bit.
// - Lock-free: blocks allocated one after another share cache lines of bits.
#pragma once

namespace platform::kernel {

bool mark_live(const void* block);
bool clear_live(const void* block);
bool is_live(const void* block);

}  // namespace platform::kernel
