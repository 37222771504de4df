#include "libs/visualstyle/classify.h"

#include <array>
#include <cctype>
#include <utility>

#include "platform/api/controls.h"

namespace libs::visualstyle {
namespace {

// A captionless push button of exactly this style is a placeholder, not a button to dress.
constexpr DWORD kPlaceholderButtonStyle = WS_CHILD | WS_TABSTOP;

constexpr std::array<std::pair<std::string_view, ControlType>, 7> kPlainClasses = {{
    {"msctls_updown32", ControlType::kUpDown},
    {"ScrollBar", ControlType::kScrollBar},
    {"SysMonthCal32", ControlType::kMonthCalendar},
    {"SysTabControl32", ControlType::kTabControl},
    {"msctls_progress32", ControlType::kProgress},
    {"msctls_trackbar32", ControlType::kTrackBar},
    {"ComboLBox", ControlType::kDropList},
}};

ControlType classify_button(const WindowFacts& facts) {
  if (facts.style & BS_BITMAP) return ControlType::kNone;
  const bool push_like = (facts.style & BS_PUSHLIKE) != 0;
  switch (facts.style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      if (!facts.has_caption && facts.style == kPlaceholderButtonStyle) return ControlType::kNone;
      return ControlType::kPushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return push_like ? ControlType::kPushButton : ControlType::kCheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return push_like ? ControlType::kPushButton : ControlType::kRadioButton;
    case BS_GROUPBOX:
      return ControlType::kGroupBox;
    default:
      return ControlType::kNone;  // user buttons, push boxes, owner-drawn buttons
  }
}

}  // namespace

bool same_class(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string class_name_of(HWND window) {
  char name[256] = {};
  const int n = window != nullptr ? GetClassNameA(window, name, sizeof name) : 0;
  return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

ControlType classify(const WindowFacts& facts) {
  if (same_class(facts.class_name, "Button")) return classify_button(facts);
  if (same_class(facts.class_name, "Edit"))
    return same_class(facts.parent_class, "SysIPAddress32") ? ControlType::kNone : ControlType::kEdit;
  if (same_class(facts.class_name, "ComboBox"))
    return (facts.style & kComboKindMask) == kComboSimpleStyle ? ControlType::kNone : ControlType::kComboBox;
  for (const auto& [name, type] : kPlainClasses)
    if (same_class(facts.class_name, name)) return type;
  return ControlType::kNone;
}

ControlType classify(HWND window) {
  if (!IsWindow(window)) return ControlType::kNone;
  const std::string name = class_name_of(window);
  const std::string parent = class_name_of(GetParent(window));
  WindowFacts facts;
  facts.class_name = name;
  facts.style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  facts.has_caption = GetWindowTextLengthA(window) > 0;
  facts.parent_class = parent;
  return classify(facts);
}

bool is_subclassed(ControlType type) {
  const int n = static_cast<int>(type);
  return (n >= 0 && n <= 5) || type == ControlType::kGroupBox || type == ControlType::kDropList;
}

}  // namespace libs::visualstyle
