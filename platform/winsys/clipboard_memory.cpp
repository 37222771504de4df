#include "platform/winsys/clipboard_memory.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace platform::winsys::global_memory {
namespace {

struct Block {
  std::unique_ptr<BYTE[]> data;
  SIZE_T size = 0;
  int locks = 0;
};

struct Heap {
  std::mutex mutex;
  std::map<HGLOBAL, Block> blocks;
  ULONG_PTR next_token = 0x6A0000;
};

Heap& heap() {
  static Heap h;
  return h;
}

}  // namespace

std::string bytes(HGLOBAL mem) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = h.blocks.find(mem);
  if (it == h.blocks.end()) return {};
  return std::string(reinterpret_cast<const char*>(it->second.data.get()), it->second.size);
}

HGLOBAL from_bytes(std::string_view data) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, data.size());
  if (!mem) return nullptr;
  void* p = GlobalLock(mem);
  if (!data.empty()) std::memcpy(p, data.data(), data.size());
  GlobalUnlock(mem);
  return mem;
}

}  // namespace platform::winsys::global_memory

namespace gm = platform::winsys::global_memory;

extern "C" HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  constexpr SIZE_T kLimit = SIZE_T{1} << 31;
  if (bytes > kLimit) return nullptr;
  gm::Block block;
  // Zero-sized blocks still get storage, so every live handle has an address.
  block.data.reset(new (std::nothrow) BYTE[bytes ? bytes : 1]);
  if (!block.data) return nullptr;
  if (flags & GMEM_ZEROINIT) std::memset(block.data.get(), 0, bytes ? bytes : 1);
  block.size = bytes;
  auto& h = gm::heap();
  std::lock_guard lock(h.mutex);
  HGLOBAL handle = (flags & GMEM_MOVEABLE) ? reinterpret_cast<HGLOBAL>(h.next_token += 8)
                                           : static_cast<HGLOBAL>(block.data.get());
  h.blocks.emplace(handle, std::move(block));
  return handle;
}

extern "C" LPVOID GlobalLock(HGLOBAL mem) {
  auto& h = gm::heap();
  std::lock_guard lock(h.mutex);
  auto it = h.blocks.find(mem);
  if (it == h.blocks.end()) return nullptr;
  ++it->second.locks;
  return it->second.data.get();
}

extern "C" BOOL GlobalUnlock(HGLOBAL mem) {
  auto& h = gm::heap();
  std::lock_guard lock(h.mutex);
  auto it = h.blocks.find(mem);
  if (it == h.blocks.end() || it->second.locks == 0) return FALSE;
  return --it->second.locks > 0 ? TRUE : FALSE;
}

extern "C" SIZE_T GlobalSize(HGLOBAL mem) {
  auto& h = gm::heap();
  std::lock_guard lock(h.mutex);
  auto it = h.blocks.find(mem);
  return it == h.blocks.end() ? 0 : it->second.size;
}

extern "C" HGLOBAL GlobalFree(HGLOBAL mem) {
  auto& h = gm::heap();
  std::lock_guard lock(h.mutex);
  return h.blocks.erase(mem) ? nullptr : mem;
}
