// The process-wide table of drawing-object handles. Thread-safe; handles are never reused, so
// a stale handle is always rejected.
#pragma once

#include <memory>

#include "platform/gdi/objects.h"

namespace platform::gdi {

// Issues a handle for `obj` (stock objects are never removed).
void* register_object(std::shared_ptr<GdiObject> obj, bool stock = false);
// The live object behind `h`, or nullptr; a handle that names no live object also sets
// ERROR_INVALID_HANDLE for the caller's GetLastError.
std::shared_ptr<GdiObject> find_object(const void* h);
// Sets ERROR_INVALID_HANDLE: a call was handed a handle it cannot use.
void note_bad_handle();
// Removes a handle (deferred while the object is selected into a device context). Stock
// objects stay. False when `h` is not a live handle.
bool delete_object(const void* h);

// The live object of kind T behind `h`; a stale handle, or one of another kind, is refused as
// find_object refuses an unknown one.
template <class T>
std::shared_ptr<T> find(const void* h) {
  auto o = find_object(h);
  if (!o) return nullptr;
  if (o->kind() != T::kKind) {
    note_bad_handle();
    return nullptr;
  }
  return std::static_pointer_cast<T>(std::move(o));
}

template <class H, class T>
H issue(std::shared_ptr<T> obj) {
  return static_cast<H>(register_object(std::move(obj)));
}

// Selection bookkeeping for deferred deletion.
void note_selected(GdiObject* o);
void note_deselected(GdiObject* o);

}  // namespace platform::gdi
