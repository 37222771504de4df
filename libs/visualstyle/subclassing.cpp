#include "libs/visualstyle/subclassing.h"

#include <vector>

#include "libs/visualstyle/classify.h"
#include "libs/visualstyle/control_record.h"
#include "platform/api/controls.h"
#include "platform/api/edit.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"

namespace libs::visualstyle {
namespace {

constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME;

// The up-down controls beside `edit` whose buddy it is.
HWND up_down_of(HWND edit) {
  HWND found = nullptr;
  HWND parent = GetParent(edit);
  if (parent == nullptr) return nullptr;
  for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr && found == nullptr; w = GetWindow(w, GW_HWNDNEXT))
    if (same_class(class_name_of(w), "msctls_updown32") &&
        reinterpret_cast<HWND>(SendMessageA(w, UDM_GETBUDDY, 0, 0)) == edit)
      found = w;
  return found;
}

// The edit-side flag for an up-down of style `up_down_style`.
std::uint32_t edit_side(DWORD up_down_style) {
  if (up_down_style & UDS_ALIGNLEFT) return flag::kUpDownLeft;
  if (up_down_style & UDS_ALIGNRIGHT) return flag::kUpDownRight;
  return 0;
}

std::uint32_t initial_flags(HWND window, ControlType type) {
  const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  std::uint32_t f = 0;
  if (style & WS_DISABLED) f |= flag::kDisabled;
  if (GetFocus() == window) f |= flag::kFocused;
  switch (type) {
    case ControlType::kPushButton:
    case ControlType::kCheckBox:
    case ControlType::kRadioButton: {
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) f |= flag::kDefault;
      const LRESULT check = SendMessageA(window, BM_GETCHECK, 0, 0);
      if (check == BST_CHECKED) f |= flag::kChecked;
      if (check == BST_INDETERMINATE) f |= flag::kIndeterminate;
      break;
    }
    case ControlType::kEdit:
      if (style & ES_READONLY) f |= flag::kReadOnly;
      if (HWND up_down = up_down_of(window))
        f |= edit_side(static_cast<DWORD>(GetWindowLongA(up_down, GWL_STYLE)));
      break;
    case ControlType::kComboBox:
      if ((style & kComboKindMask) == kComboSimpleStyle) f |= flag::kComboSimple;
      if ((style & kComboKindMask) == kComboDropDownStyle) f |= flag::kComboDropDown;
      if ((style & kComboKindMask) == kComboDropListStyle) f |= flag::kComboDropList;
      break;
    case ControlType::kUpDown: {
      if (style & UDS_HORZ) f |= flag::kHorizontal;
      HWND buddy = reinterpret_cast<HWND>(SendMessageA(window, UDM_GETBUDDY, 0, 0));
      if (buddy != nullptr && same_class(class_name_of(buddy), "Edit")) {
        if (style & UDS_ALIGNLEFT) f |= flag::kAlignedLeft;
        if (style & UDS_ALIGNRIGHT) f |= flag::kAlignedRight;
        // The edit may have been styled first: tell it where its up-down sits.
        if (ControlRecord* edit = find_record(buddy); edit != nullptr && edit->type == ControlType::kEdit)
          edit->flags |= edit_side(style);
      }
      break;
    }
    default:
      break;
  }
  return f;
}

bool on_top(HWND window) {
  return GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&styled_procedure);
}

LRESULT CALLBACK creation_hook(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (message != nullptr && message->message == WM_CREATE) attach(message->hwnd);
  }
  return CallNextHookEx(thread_hook(), code, wp, lp);
}

// Each window of the thread, parents before children, taken before any is changed.
std::vector<HWND> thread_windows() {
  std::vector<HWND> windows;
  auto add = [](HWND w, LPARAM p) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
  };
  std::vector<HWND> tops;
  EnumThreadWindows(GetCurrentThreadId(), add, reinterpret_cast<LPARAM>(&tops));
  for (HWND top : tops) {
    windows.push_back(top);
    EnumChildWindows(top, add, reinterpret_cast<LPARAM>(&windows));
  }
  return windows;
}

bool switch_off() {
  HHOOK hook = thread_hook();
  if (hook == nullptr) return false;
  for (HWND w : recorded_windows()) detach(w);
  set_thread_hook(nullptr);
  return UnhookWindowsHookEx(hook) != FALSE;
}

void switch_on() {
  for (HWND w : thread_windows()) attach(w);
  set_thread_hook(SetWindowsHookExA(WH_CALLWNDPROC, &creation_hook, nullptr, GetCurrentThreadId()));
}

}  // namespace

int set_visual_style(int style) {
  set_style_number(style);
  const bool removed = switch_off();
  if (style < 1 || style > 3) return removed ? 1 : 0;
  switch_on();
  return 1;
}

void attach(HWND window) {
  if (!IsWindow(window)) return;
  ControlRecord* existing = find_record(window);
  if (existing != nullptr && !existing->forwarding) return;
  const ControlType type = classify(window);
  if (!is_subclassed(type)) return;
  const std::uint32_t flags = initial_flags(window, type);
  existing = find_record(window);  // the BM_GETCHECK and UDM_GETBUDDY answers ran other code
  if (existing != nullptr) {
    if (!existing->forwarding) return;
    // Still in the chain from before: paint again instead of adding a second procedure.
    existing->type = type;
    existing->flags = flags;
    existing->forwarding = false;
  } else {
    ControlRecord record;
    record.window = window;
    record.type = type;
    record.flags = flags;
    record.text_colour = GetSysColor(COLOR_BTNTEXT);
    ControlRecord& added = add_record(record);
    added.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&styled_procedure)));
  }
  RedrawWindow(window, nullptr, nullptr, kRedrawAll);
}

namespace {

void detach_record(HWND window, bool redraw) {
  ControlRecord* record = find_record(window);
  if (record == nullptr || record->forwarding) return;
  if (IsWindow(window) && !on_top(window)) {
    record->forwarding = true;
  } else {
    const WNDPROC previous = record->previous;
    remove_record(window);
    if (IsWindow(window)) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  if (redraw && IsWindow(window)) RedrawWindow(window, nullptr, nullptr, kRedrawAll);
}

}  // namespace

void detach(HWND window) {
  detach_record(window, true);
}

void detach_destroyed(HWND window) {
  detach_record(window, false);
}

bool is_styled(HWND window) {
  const ControlRecord* record = find_record(window);
  return record != nullptr && !record->forwarding;
}

}  // namespace libs::visualstyle
