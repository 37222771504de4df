#include "platform/gdi/handle_table.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/api/kernel.h"

namespace platform::gdi {
namespace {

struct Table {
  std::mutex mu;
  std::unordered_map<std::uintptr_t, std::shared_ptr<GdiObject>> objects;
  // Handle values are spaced and start high so they never look like small integers or
  // colour values, and are never reused.
  std::uintptr_t next = 0x100000;
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

void* register_object(std::shared_ptr<GdiObject> obj, bool stock) {
  if (!obj) return nullptr;
  Table& t = table();
  std::lock_guard lock(t.mu);
  const std::uintptr_t value = t.next;
  t.next += 4;
  obj->handle = reinterpret_cast<void*>(value);
  obj->stock = stock;
  t.objects.emplace(value, std::move(obj));
  return reinterpret_cast<void*>(value);
}

std::shared_ptr<GdiObject> find_object(const void* h) {
  if (!h) return nullptr;
  Table& t = table();
  std::lock_guard lock(t.mu);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(h));
  if (it == t.objects.end()) {
    note_bad_handle();
    return nullptr;
  }
  return it->second;
}

void note_bad_handle() {
  SetLastError(ERROR_INVALID_HANDLE);
}

bool delete_object(const void* h) {
  if (!h) return false;
  std::shared_ptr<GdiObject> doomed;  // released outside the lock
  Table& t = table();
  std::lock_guard lock(t.mu);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(h));
  if (it == t.objects.end()) {
    note_bad_handle();
    return false;
  }
  if (it->second->stock) return true;
  if (it->second->selections.load() > 0) {
    it->second->delete_pending = true;
    return true;
  }
  doomed = std::move(it->second);
  t.objects.erase(it);
  return true;
}

void note_selected(GdiObject* o) {
  if (o) ++o->selections;
}

void note_deselected(GdiObject* o) {
  if (!o) return;
  if (--o->selections == 0 && o->delete_pending.load()) delete_object(o->handle);
}

}  // namespace platform::gdi
