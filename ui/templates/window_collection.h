// The window collection: every window template read at start-up, with the runtime slots of
// each window kept beside (never inside) its parsed records.
// Contract:
// - load_templates(block, code_base) is the window system's template-loading operation: it
//   parses the block (template_parser.h) and on success replaces the collection with its
//   windows, each with empty slots sized to its unit count; on failure it empties the
//   collection, keeps the parse error for last_load_error() and answers false (start-up then
//   reports the template load error). An empty block loads no window and succeeds.
// - The collection is written on the main thread only (start-up, window building); worker
//   threads only read it, as property access does.
// - install_template_loader() installs a window-system table whose load_templates is ours;
//   the rest of the table is filled in as window building comes in.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/api/types.h"
#include "runtime/abi/image.h"
#include "runtime/window_system.h"
#include "ui/templates/template_model.h"
#include "ui/templates/template_parser.h"

namespace ui::templates {

// A slot that worker threads read while the main thread writes it: loads and stores never tear.
// Copying copies the current value (slots are sized while no window exists).
template <class T>
struct SharedSlot : std::atomic<T> {
  using std::atomic<T>::operator=;
  SharedSlot() : std::atomic<T>(T{}) {}
  SharedSlot(T value) : std::atomic<T>(value) {}
  SharedSlot(const SharedSlot& other) : std::atomic<T>(other.load()) {}
  SharedSlot& operator=(const SharedSlot& other) {
    this->store(other.load());
    return *this;
  }
};

// What a window holds while it exists, by unit index where per unit.
struct WindowSlots {
  SharedSlot<HWND> native;
  HMENU menu_bar = nullptr;
  HACCEL accelerators = nullptr;
  bool created = false;
  std::vector<SharedSlot<void*>> unit_objects;  // the created unit objects (object slots)
  std::vector<SharedSlot<HWND>> unit_natives;   // their native windows, for lookups off the main thread
  std::vector<HCURSOR> cursors;                 // resolved cursor selectors (cursor slots)
  std::vector<std::uint8_t> cursor_owned;       // 1: the slot's cursor was made from file data
  std::vector<HMENU> menu_handles;              // popup menus built for menu records
  // The unit records as they were when the window was built; what was written into the records
  // while it lived is undone when it goes.
  std::vector<UnitRecord> built_units;
};

class WindowCollection {
 public:
  void replace(TemplateSet set);
  void clear();

  std::size_t size() const { return templates_.windows().size(); }
  const TemplateSet& templates() const { return templates_; }
  // Index of a window id, or -1.
  int find(std::uint32_t window_id) const { return templates_.find_window(window_id); }
  WindowTemplate& window(std::size_t index) { return templates_.windows()[index]; }
  const WindowTemplate& window(std::size_t index) const { return templates_.windows()[index]; }
  WindowSlots& slots(std::size_t index) { return slots_[index]; }
  const WindowSlots& slots(std::size_t index) const { return slots_[index]; }

  const std::optional<lyr::Error>& last_load_error() const { return last_error_; }
  void set_load_error(lyr::Error error) { last_error_ = std::move(error); }

 private:
  TemplateSet templates_;
  std::vector<WindowSlots> slots_;  // parallel to templates_.windows()
  std::optional<lyr::Error> last_error_;
};

// The process's one collection.
WindowCollection& window_collection();

bool load_templates(std::span<const std::uint8_t> block, const runtime::CodeBase* code_base);

const runtime::WindowSystem& template_window_system();
void install_template_loader();

}  // namespace ui::templates
