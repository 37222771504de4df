// Which controls the visual styles paint: a window's class name (compared without regard to
// case) and style give its type.
// Contract: classify() answers kNone for every window that is never subclassed; is_subclassed()
// tells the classified-but-left-alone types (scroll bars, calendars, tabs, progress and track
// bars) from the painted ones.
#pragma once

#include <string>
#include <string_view>

#include "libs/visualstyle/control_record.h"

namespace libs::visualstyle {

// Combo box kinds (the low two style bits).
inline constexpr DWORD kComboKindMask = 0x3;
inline constexpr DWORD kComboSimpleStyle = 0x1;
inline constexpr DWORD kComboDropDownStyle = 0x2;
inline constexpr DWORD kComboDropListStyle = 0x3;

struct WindowFacts {
  std::string_view class_name;
  DWORD style = 0;
  bool has_caption = false;
  std::string_view parent_class;
};

ControlType classify(const WindowFacts& facts);
ControlType classify(HWND window);
bool is_subclassed(ControlType type);

std::string class_name_of(HWND window);
bool same_class(std::string_view a, std::string_view b);

}  // namespace libs::visualstyle
