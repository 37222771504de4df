// One subclassed control: what the replacement procedure and the painters know of it, and the
// calling thread's list of them.
// Contract: records live in a per-thread list (a window's procedure always runs on the window's
// own thread). Pointers handed out stay valid until that window's record is removed; after any
// call that may run other code (a window procedure, SendMessageA) look the record up again.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/user.h"

namespace libs::visualstyle {

// The classification numbers; only the painted ones are subclassed.
enum class ControlType : int {
  kNone = -1,
  kPushButton = 0,
  kCheckBox = 1,
  kRadioButton = 2,
  kEdit = 3,
  kComboBox = 4,
  kUpDown = 5,
  kScrollBar = 6,
  kMonthCalendar = 7,
  kTabControl = 8,
  kProgress = 9,
  kTrackBar = 10,
  kGroupBox = 11,
  kDropList = 12,
};

// State bits of a record. Bits above 0x8000 mean different things per type.
namespace flag {
inline constexpr std::uint32_t kDisabled = 0x1;
inline constexpr std::uint32_t kPressed = 0x2;
inline constexpr std::uint32_t kMouseOver = 0x4;
inline constexpr std::uint32_t kFocused = 0x10;
// Buttons.
inline constexpr std::uint32_t kDefault = 0x10000;
inline constexpr std::uint32_t kChecked = 0x20000;
inline constexpr std::uint32_t kIndeterminate = 0x40000;
// Combo boxes.
inline constexpr std::uint32_t kComboSimple = 0x1000;
inline constexpr std::uint32_t kComboDropDown = 0x2000;
inline constexpr std::uint32_t kComboDropList = 0x4000;
// Up-down controls.
inline constexpr std::uint32_t kHorizontal = 0x20;
inline constexpr std::uint32_t kOverFirstHalf = 0x10000;
inline constexpr std::uint32_t kAlignedLeft = 0x100000;
inline constexpr std::uint32_t kAlignedRight = 0x200000;
// Edits.
inline constexpr std::uint32_t kUpDownLeft = 0x10000;
inline constexpr std::uint32_t kUpDownRight = 0x20000;
inline constexpr std::uint32_t kReadOnly = 0x10000000;
}  // namespace flag

struct ControlRecord {
  HWND window = nullptr;
  ControlType type = ControlType::kNone;
  std::uint32_t flags = 0;
  HBRUSH brush = nullptr;  // the parent's WM_CTLCOLORBTN answer; null until the first erase
  COLORREF text_colour = 0;
  WNDPROC previous = nullptr;
  // Switched off or detached while another procedure sat above ours: the record only forwards
  // to `previous` until the window is gone, so the chain above stays intact.
  bool forwarding = false;
};

ControlRecord* find_record(HWND window);
// Puts a record at the front of the thread's list and returns it.
ControlRecord& add_record(const ControlRecord& record);
void remove_record(HWND window);
// The windows of the thread's records, front first.
std::vector<HWND> recorded_windows();

// The hook that styles windows created later; null while styles are off on this thread.
HHOOK thread_hook();
void set_thread_hook(HHOOK hook);

// The style number last given to SetVisualStyle (process-wide; painters read it).
int style_number();
void set_style_number(int style);

}  // namespace libs::visualstyle
