// The unit operations that a unit type hands out through its interface query, and the shapes
// of their arguments. Window building, property access and event dispatch call units only
// through these; unit types implement them.
// Contract:
// - interface_query(code) answers the operation cast to void*, or null when the type lacks it.
// - create: builds the unit's native window and its unit object from a property data block;
//   null when the block is unreadable or of a newer version. The object records window id and
//   unit id, owns its property set and is answered by its native window for message 0x8002.
// - set: own property index (index - 8) and value pair; answers 1 when the unit must be
//   re-created, else 0. The setter copies whatever it keeps.
// - serialize: writes the unit's current state as a new property data block of the current
//   version into *out; false when it cannot.
// - get: own property index; fills the pair and answers non-zero when it produced a value.
//   Data and text pointers in the pair stay valid until the next call on the same unit from
//   the same thread or until the unit is gone; callers copy at once.
// - Destroying a unit object is destroying its native window (DestroyWindow); the object then
//   deletes itself and reports itself gone (runtime callback 2000).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/api/types.h"

namespace ui {

// Interface query codes.
inline constexpr std::int32_t kCreateOp = 1;
inline constexpr std::int32_t kSetOp = 4;
inline constexpr std::int32_t kSerializeOp = 5;
inline constexpr std::int32_t kGetOp = 6;
inline constexpr std::int32_t kWindowSwitchesOp = 7;  // window type only
inline constexpr std::int32_t kWantsKeyOp = 8;
inline constexpr std::int32_t kDefaultButtonOp = 10;

// Private messages of unit native windows.
inline constexpr UINT kMsgGetUnitObject = 0x8002;  // answers the unit object
inline constexpr UINT kMsgDockUnit = 0x8003;
inline constexpr UINT kMsgLayout = 0x8004;
inline constexpr UINT kMsgRereadData = 0x806F;
inline constexpr UINT kMsgPageSetup = 0x8076;

// Unit type state bits.
inline constexpr std::uint32_t kTypeStartsHidden = 0x8000;
inline constexpr std::uint32_t kTypeNotRecreatable = 0x10;
inline constexpr std::uint32_t kTypeAdoptsChildren = 0x80;
inline constexpr std::uint32_t kTypePageContainer = 0x100;
inline constexpr std::uint32_t kTypeRelayoutParent = 0x100000;
inline constexpr std::uint32_t kTypeRadioGroup = 0x400;
inline constexpr std::uint32_t kTypeClickable = 0x800;
inline constexpr std::uint32_t kTypeCheckable = 0x1000;
inline constexpr std::uint32_t kTypeFocusPasser = 0x2000;
inline constexpr std::uint32_t kTypeDragsWindow = 0x4000000;

// A property value as two words: (value, 0) for 32-bit kinds, (low, high) for 64-bit kinds,
// (pointer, byte count) for data and text kinds.
struct PropertyPair {
  std::intptr_t first = 0;
  std::intptr_t second = 0;
};

struct UnitCreateArgs {
  HWND parent = nullptr;
  std::span<const std::uint8_t> properties;
  DWORD extra_styles = 0;  // WS_DISABLED, WS_TABSTOP
  UINT control_id = 0;
  HMENU menu = nullptr;  // window unit only
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::uint32_t window_id = 0;
  std::uint32_t unit_id = 0;
  // Window unit only: the window is modal, or has an owner (then it is created WS_POPUP).
  HWND owner = nullptr;
};

using CreateOp = void* (*)(const UnitCreateArgs& args);
using SetOp = int (*)(void* unit, std::int32_t own_index, const PropertyPair& value);
using SerializeOp = bool (*)(void* unit, std::vector<std::uint8_t>* out);
using GetOp = int (*)(void* unit, std::int32_t own_index, PropertyPair* value);
// Key code with modifier bits 0x2000 Ctrl, 0x4000 Shift, 0x8000 Alt.
using WantsKeyOp = int (*)(void* unit, std::uint32_t key);
using DefaultButtonOp = int (*)(void* unit);

// The window's keyboard and dragging switches (window type, code 7).
struct WindowSwitches {
  bool enter_moves_focus = false;
  bool escape_closes = false;
  bool f1_help = false;
  bool drag_by_client = false;
  std::int32_t help_context = 0;
  const char* help_file = "";  // valid while the unit lives
};
using WindowSwitchesOp = void (*)(void* unit, WindowSwitches* out);

inline constexpr std::uint32_t kKeyCtrl = 0x2000;
inline constexpr std::uint32_t kKeyShift = 0x4000;
inline constexpr std::uint32_t kKeyAlt = 0x8000;

}  // namespace ui
