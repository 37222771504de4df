#include "ui/state/modal.h"

#include <map>
#include <vector>

#include "platform/api/user.h"
#include "ui/templates/window_collection.h"

namespace ui {
namespace {

struct DisabledWindow {
  HWND window;
  bool was_enabled;
};

std::map<std::size_t, std::vector<DisabledWindow>>& modal_windows() {
  static std::map<std::size_t, std::vector<DisabledWindow>> windows;
  return windows;
}

}  // namespace

void begin_modal(std::size_t window_index) {
  end_modal(window_index);
  templates::WindowCollection& collection = templates::window_collection();
  std::vector<DisabledWindow> disabled;
  for (std::size_t i = 0; i < collection.size(); ++i) {
    if (i == window_index) continue;
    HWND other = collection.slots(i).native.load();
    if (other == nullptr || !IsWindow(other)) continue;
    disabled.push_back({other, IsWindowEnabled(other) != FALSE});
    EnableWindow(other, FALSE);
  }
  modal_windows()[window_index] = std::move(disabled);
}

void end_modal(std::size_t window_index) {
  auto& windows = modal_windows();
  auto it = windows.find(window_index);
  if (it == windows.end()) return;
  std::vector<DisabledWindow> disabled = std::move(it->second);
  windows.erase(it);
  for (const DisabledWindow& d : disabled) {
    if (IsWindow(d.window)) EnableWindow(d.window, d.was_enabled ? TRUE : FALSE);
  }
}

bool is_modal(std::size_t window_index) {
  return modal_windows().contains(window_index);
}

}  // namespace ui
