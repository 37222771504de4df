#include "ui/windows/cursor_selector.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/winsys/resources.h"
#include "ui/templates/window_collection.h"

namespace ui {
namespace {

// Selector values 1-14; 0 is the default cursor, 14 the program's hand.
constexpr std::array<WORD, 15> kStandardCursors = {0,     32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                                   32646, 32643, 32645, 32642, 32644, 32516, 32649};
constexpr std::int32_t kHandIndex = 14;

HCURSOR system_cursor(WORD id) {
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
}

HCURSOR cursor_from_file(std::span<const std::uint8_t> file) {
  auto images = platform::winsys::resources::parse_icon_file(file, true);
  if (!images || images->empty()) return nullptr;
  std::vector<BYTE> bits = images->front().bits;
  return CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), FALSE, 0x00030000,
                                  images->front().width, images->front().height, 0);
}

HCURSOR program_hand_cursor() {
  HINSTANCE program = GetModuleHandleA(nullptr);
  HCURSOR hand = LoadCursorA(program, MAKEINTRESOURCEA(kHandCursorResource));
  if (hand == nullptr) {
    // The program's drawn cursors are registered on first need when start-up has not done it.
    platform::winsys::resources::add_program_cursors();
    hand = LoadCursorA(program, MAKEINTRESOURCEA(kHandCursorResource));
  }
  return hand;
}

std::int32_t selector_value(std::span<const std::uint8_t> selector) {
  if (selector.size() <= 3) return selector[0];
  std::int32_t value = 0;
  std::memcpy(&value, selector.data(), sizeof value);
  return value;
}

}  // namespace

ResolvedCursor resolve_cursor_selector(std::span<const std::uint8_t> selector) {
  if (selector.empty()) return {};
  const std::int32_t value = selector_value(selector);
  if (value == -1) {
    HCURSOR made = cursor_from_file(selector.subspan(4));
    return {made, made != nullptr};
  }
  if (selector.size() > 10) {
    if (HCURSOR made = cursor_from_file(selector)) return {made, true};
  }
  if (value == kHandIndex) return {program_hand_cursor(), false};
  if (value >= 0 && value < static_cast<std::int32_t>(kStandardCursors.size())) {
    return {value == 0 ? nullptr : system_cursor(kStandardCursors[static_cast<std::size_t>(value)]), false};
  }
  for (WORD id : kStandardCursors) {
    if (id != 0 && value == id) return {system_cursor(id), false};
  }
  return {};
}

void release_unit_cursor(std::size_t window_index, std::size_t unit_index) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  templates::WindowSlots& slots = collection.slots(window_index);
  if (unit_index >= slots.cursors.size()) return;
  if (slots.cursor_owned[unit_index] != 0 && slots.cursors[unit_index] != nullptr) {
    DestroyCursor(slots.cursors[unit_index]);
  }
  slots.cursors[unit_index] = nullptr;
  slots.cursor_owned[unit_index] = 0;
}

void set_unit_cursor(std::size_t window_index, std::size_t unit_index,
                     std::span<const std::uint8_t> selector) {
  templates::WindowCollection& collection = templates::window_collection();
  if (window_index >= collection.size()) return;
  templates::WindowSlots& slots = collection.slots(window_index);
  if (unit_index >= slots.cursors.size()) return;
  ResolvedCursor resolved = resolve_cursor_selector(selector);
  release_unit_cursor(window_index, unit_index);
  slots.cursors[unit_index] = resolved.cursor;
  slots.cursor_owned[unit_index] = resolved.owned ? 1 : 0;
}

}  // namespace ui
