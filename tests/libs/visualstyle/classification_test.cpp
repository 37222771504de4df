// Which windows the styles take: the classification table and its edge cases, on live windows
// where the platform has the control.
#include "libs/visualstyle/classify.h"
#include "platform/api/edit.h"
#include "platform/api/listview.h"
#include "tests/libs/visualstyle/style_fixture.h"

namespace vs_test {
namespace {

using libs::visualstyle::classify;
using libs::visualstyle::ControlType;
using libs::visualstyle::WindowFacts;
namespace flag = libs::visualstyle::flag;

ControlType type_of(std::string_view cls, DWORD style, bool caption = true,
                    std::string_view parent = "Window") {
  return classify(WindowFacts{cls, style, caption, parent});
}

TEST(Classification, ButtonKindsByStyle) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  EXPECT_EQ(type_of("Button", child | BS_PUSHBUTTON), ControlType::kPushButton);
  EXPECT_EQ(type_of("BUTTON", child | BS_DEFPUSHBUTTON), ControlType::kPushButton)
      << "names compare without case";
  EXPECT_EQ(type_of("button", child | BS_AUTOCHECKBOX), ControlType::kCheckBox);
  EXPECT_EQ(type_of("Button", child | BS_3STATE), ControlType::kCheckBox);
  EXPECT_EQ(type_of("Button", child | BS_AUTO3STATE | BS_PUSHLIKE), ControlType::kPushButton);
  EXPECT_EQ(type_of("Button", child | BS_RADIOBUTTON), ControlType::kRadioButton);
  EXPECT_EQ(type_of("Button", child | BS_AUTORADIOBUTTON | BS_PUSHLIKE), ControlType::kPushButton);
  EXPECT_EQ(type_of("Button", child | BS_GROUPBOX), ControlType::kGroupBox);
  EXPECT_EQ(type_of("Button", child | BS_PUSHBUTTON | BS_BITMAP), ControlType::kNone);
  EXPECT_EQ(type_of("Button", child | BS_USERBUTTON), ControlType::kNone);
  EXPECT_EQ(type_of("Button", child | BS_PUSHBOX), ControlType::kNone);
  EXPECT_EQ(type_of("Button", child | BS_OWNERDRAW), ControlType::kNone);
  // The captionless placeholder is exactly WS_CHILD | WS_TABSTOP; anything more is a button.
  EXPECT_EQ(type_of("Button", WS_CHILD | WS_TABSTOP, false), ControlType::kNone);
  EXPECT_EQ(type_of("Button", WS_CHILD | WS_TABSTOP, true), ControlType::kPushButton);
  EXPECT_EQ(type_of("Button", WS_CHILD | WS_TABSTOP | WS_VISIBLE, false), ControlType::kPushButton);
}

TEST(Classification, OtherClasses) {
  EXPECT_EQ(type_of("Edit", WS_CHILD), ControlType::kEdit);
  EXPECT_EQ(type_of("Edit", WS_CHILD, true, "sysipaddress32"), ControlType::kNone);
  EXPECT_EQ(type_of("ComboBox", WS_CHILD | libs::visualstyle::kComboSimpleStyle), ControlType::kNone);
  EXPECT_EQ(type_of("ComboBox", WS_CHILD | libs::visualstyle::kComboDropListStyle), ControlType::kComboBox);
  EXPECT_EQ(type_of("msctls_updown32", WS_CHILD), ControlType::kUpDown);
  EXPECT_EQ(type_of("ComboLBox", WS_CHILD), ControlType::kDropList);
  EXPECT_EQ(type_of("ScrollBar", WS_CHILD), ControlType::kScrollBar);
  EXPECT_EQ(type_of("msctls_trackbar32", WS_CHILD), ControlType::kTrackBar);
  for (const char* never : {"ListBox", "SysListView32", "SysTreeView32", "SysIPAddress32", "msctls_hotkey32",
                            "SysDateTimePick32", "Static", "EditX"})
    EXPECT_EQ(type_of(never, WS_CHILD | WS_VISIBLE), ControlType::kNone) << never;
  // Classified but left to paint themselves.
  EXPECT_FALSE(libs::visualstyle::is_subclassed(ControlType::kScrollBar));
  EXPECT_FALSE(libs::visualstyle::is_subclassed(ControlType::kTrackBar));
  EXPECT_TRUE(libs::visualstyle::is_subclassed(ControlType::kDropList));
}

// A stand-in window class named like a control the platform doesn't build.
const char* stand_in_class(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
  return name;
}

using LiveClassification = StyleTest;

TEST_F(LiveClassification, EdgeCasesStayUnstyled) {
  HWND placeholder = make("BUTTON", BS_PUSHBUTTON, {10, 10, 60, 30});
  SetWindowLongA(placeholder, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_TABSTOP));
  HWND button = make("BUTTON", BS_PUSHBUTTON, {70, 10, 150, 30}, "OK");
  HWND address = make(stand_in_class("SysIPAddress32"), 0, {10, 40, 200, 64});
  HWND octet = make("EDIT", WS_BORDER, {2, 2, 40, 22}, "", 0, address);
  HWND list_view = make("SysListView32", LVS_REPORT, {10, 70, 200, 150});
  HWND list_box = make(stand_in_class("ListBox"), 0, {210, 70, 300, 150});
  HWND tree_view = make(stand_in_class("SysTreeView32"), 0, {310, 70, 400, 150});
  const WNDPROC before[] = {procedure_of(placeholder), procedure_of(octet), procedure_of(list_view),
                            procedure_of(list_box), procedure_of(tree_view)};

  ASSERT_EQ(libs::visualstyle::set_visual_style(2), 1);
  EXPECT_TRUE(styled(button));
  const HWND unstyled[] = {placeholder, octet, list_view, list_box, tree_view};
  for (std::size_t i = 0; i < std::size(unstyled); ++i) {
    EXPECT_EQ(procedure_of(unstyled[i]), before[i]) << i;
    EXPECT_EQ(libs::visualstyle::find_record(unstyled[i]), nullptr) << i;
  }
  // Created while the styles are on: the same rules.
  HWND later_list = make("SysListView32", LVS_REPORT, {10, 160, 200, 200});
  HWND later_octet = make("EDIT", WS_BORDER, {42, 2, 80, 22}, "", 0, address);
  EXPECT_FALSE(styled(later_list));
  EXPECT_FALSE(styled(later_octet));
}

TEST_F(LiveClassification, InitialFlagsAreTakenAtAttach) {
  HWND def = make("BUTTON", BS_DEFPUSHBUTTON | WS_DISABLED, {10, 10, 90, 34}, "Def");
  HWND box = make("BUTTON", BS_AUTO3STATE, {10, 40, 120, 60}, "Box");
  SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
  HWND read_only = make("EDIT", WS_BORDER | ES_READONLY, {10, 70, 120, 92});
  HWND edit = make("EDIT", WS_BORDER, {10, 100, 120, 122});
  SetFocus(edit);
  HWND up_down = make("msctls_updown32", UDS_ALIGNRIGHT | UDS_HORZ, {0, 0, 16, 22});
  SendMessageA(up_down, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  idle();

  libs::visualstyle::set_visual_style(1);
  EXPECT_EQ(flags_of(def), flag::kDisabled | flag::kDefault);
  EXPECT_EQ(flags_of(box), flag::kIndeterminate);
  EXPECT_EQ(flags_of(read_only), flag::kReadOnly);
  EXPECT_EQ(flags_of(edit), flag::kFocused | flag::kUpDownRight) << "the buddy side is on the edit's record";
  EXPECT_EQ(flags_of(up_down), flag::kHorizontal | flag::kAlignedRight);
}

}  // namespace
}  // namespace vs_test
