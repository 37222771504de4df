// Global memory blocks: the handles the clipboard exchanges.
// Contract: a handle is valid from GlobalAlloc to GlobalFree; every function rejects other values.
// GMEM_FIXED handles are the block's address (so GlobalLock returns the handle itself);
// GMEM_MOVEABLE handles are distinct tokens. Blocks never move. Thread-safe.
#pragma once

#include <string>

#include "platform/api/input.h"

namespace platform::winsys::global_memory {

// A copy of the block's bytes; empty for an invalid handle.
std::string bytes(HGLOBAL mem);
// A new moveable block holding `data`.
HGLOBAL from_bytes(std::string_view data);

}  // namespace platform::winsys::global_memory
