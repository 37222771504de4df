// Switching the styles on and off: the command through its record, present and later controls,
// procedures put back, destroyed controls leaving nothing behind.
#include <vector>

#include "libs/visualstyle/visual_style_library.h"
#include "runtime/abi/records.h"
#include "tests/libs/visualstyle/style_fixture.h"
#include "tests/support/message_log.h"

namespace vs_test {
namespace {

namespace vs = libs::visualstyle;

runtime::ArgRecord call_set_visual_style(std::uint32_t tag, std::uint32_t value) {
  runtime::ArgRecord arg{value, 0, tag};
  runtime::ArgRecord result{};
  vs::visual_style_library_record().commands[0](&result, 1, &arg);
  return result;
}

TEST(VisualStyleLibrary, RecordAndNotifyRoutine) {
  const runtime::LibraryRecord& r = vs::visual_style_library_record();
  EXPECT_EQ(r.format_mark, runtime::kLibraryRecordMark);
  EXPECT_STREQ(r.name, "XP\xB7\xE7\xB8\xF1\xBD\xE7\xC3\xE6\xBF\xE2");
  EXPECT_EQ(std::string(r.guid).size(), 32u);
  EXPECT_EQ(r.flags, 0x80000000u);
  EXPECT_EQ(r.command_count, 1u);
  EXPECT_EQ(r.commands[0], &vs::set_visual_style_command);
  EXPECT_EQ(r.type_count, 0u);
  const std::uint32_t words[7] = {2, 0, 0, 3, 7, 3, 7};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(r.descriptive[i], words[i]) << i;

  auto callback = [](std::int32_t, std::intptr_t, std::intptr_t) -> std::intptr_t { return 0; };
  EXPECT_EQ(r.notify(1, reinterpret_cast<std::intptr_t>(+callback), 0), 0);
  EXPECT_EQ(vs::visual_style_link().callback(), +callback);
  EXPECT_EQ(r.notify(6, 0, 0), -1);
  EXPECT_EQ(r.notify(2, 0, 0), -1);
}

using Switching = StyleTest;

TEST_F(Switching, OffAsFirstCallAnswersZeroAndRemovesNothing) {
  HWND button = make("BUTTON", BS_PUSHBUTTON, {10, 10, 90, 34}, "OK");
  const WNDPROC original = procedure_of(button);
  const runtime::ArgRecord result = call_set_visual_style(runtime::tag::kInt, 0);
  EXPECT_EQ(result.lo, 0u);
  EXPECT_EQ(result.tag, runtime::tag::kInt);
  EXPECT_EQ(procedure_of(button), original);
  // An argument that is no number switches off as well, without a fault.
  EXPECT_EQ(call_set_visual_style(runtime::tag::kText, 0).lo, 0u);
}

TEST_F(Switching, EachStyleReachesPresentAndLaterControls) {
  for (std::uint32_t style = 1; style <= 3; ++style) {
    SCOPED_TRACE(style);
    HWND present = make("BUTTON", BS_PUSHBUTTON, {10, 10, 90, 34}, "OK");
    HWND present_edit = make("EDIT", WS_BORDER, {100, 10, 200, 32});
    // Numbers of other widths are numbers too.
    const std::uint32_t tag = style == 3 ? runtime::tag::kByte : runtime::tag::kInt;
    EXPECT_EQ(call_set_visual_style(tag, style).lo, 1u);
    EXPECT_EQ(vs::style_number(), static_cast<int>(style));
    EXPECT_TRUE(styled(present));
    EXPECT_TRUE(styled(present_edit));
    HWND later = make("BUTTON", BS_AUTOCHECKBOX, {10, 40, 120, 60}, "Later");
    HWND later_group = make("BUTTON", BS_GROUPBOX, {10, 70, 200, 150}, "Group");
    EXPECT_TRUE(styled(later));
    EXPECT_TRUE(styled(later_group));
    EXPECT_NE(call_set_visual_style(runtime::tag::kInt, 0).lo, 0u) << "the hook was removed";
    for (HWND w : {present, present_edit, later, later_group}) {
      EXPECT_FALSE(styled(w));
      DestroyWindow(w);
    }
  }
}

TEST_F(Switching, AgainWithAStyleReattachesOnce) {
  HWND button = make("BUTTON", BS_PUSHBUTTON, {10, 10, 90, 34}, "OK");
  const WNDPROC original = procedure_of(button);
  vs::set_visual_style(1);
  vs::set_visual_style(3);
  EXPECT_EQ(vs::style_number(), 3);
  ASSERT_NE(vs::find_record(button), nullptr);
  EXPECT_EQ(vs::find_record(button)->previous, original) << "not styled on top of itself";
  EXPECT_EQ(vs::recorded_windows().size(), 1u);
}

// What the thread's procedures see while a button is clicked, as (window, message) pairs.
std::vector<std::pair<HWND, UINT>> click_sequence(HWND button) {
  HHOOK hook =
      SetWindowsHookExA(WH_CALLWNDPROC, &lyr::test::logging_callwndproc, nullptr, GetCurrentThreadId());
  lyr::test::set_logging_hook_handle(hook);
  lyr::test::log().clear();
  SendMessageA(button, BM_CLICK, 0, 0);
  SendMessageA(button, BM_SETSTATE, TRUE, 0);
  SendMessageA(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Again"));
  UnhookWindowsHookEx(hook);
  std::vector<std::pair<HWND, UINT>> seen;
  for (const lyr::test::Logged& e : lyr::test::log().entries()) seen.emplace_back(e.hwnd, e.message);
  lyr::test::log().clear();
  return seen;
}

TEST_F(Switching, OffPutsBackEveryProcedureAndTheUnstyledBehaviour) {
  HWND button = make("BUTTON", BS_PUSHBUTTON, {10, 10, 90, 34}, "OK");
  HWND edit = make("EDIT", WS_BORDER, {100, 10, 200, 32});
  HWND group = make("BUTTON", BS_GROUPBOX, {10, 40, 200, 120}, "G");
  const WNDPROC originals[] = {procedure_of(button), procedure_of(edit), procedure_of(group)};
  const auto unstyled = click_sequence(button);
  SendMessageA(button, BM_SETSTATE, FALSE, 0);

  vs::set_visual_style(2);
  HWND later = make("EDIT", WS_BORDER, {100, 40, 200, 62});
  ASSERT_TRUE(styled(later)) << "the hook styled it";
  const WNDPROC later_original = vs::find_record(later)->previous;
  EXPECT_NE(click_sequence(button), unstyled) << "styled, the button is asked for colours and font";
  SendMessageA(button, BM_SETSTATE, FALSE, 0);

  vs::set_visual_style(0);
  EXPECT_EQ(procedure_of(button), originals[0]);
  EXPECT_EQ(procedure_of(edit), originals[1]);
  EXPECT_EQ(procedure_of(group), originals[2]);
  EXPECT_EQ(procedure_of(later), later_original);
  EXPECT_TRUE(vs::recorded_windows().empty());
  SetWindowTextA(button, "OK");
  EXPECT_EQ(click_sequence(button), unstyled);
}

TEST_F(Switching, DestroyedControlsLeaveNoRecord) {
  vs::set_visual_style(1);
  HWND button = make("BUTTON", BS_PUSHBUTTON, {10, 10, 90, 34}, "OK");
  HWND edit = make("EDIT", WS_BORDER, {100, 10, 200, 32});
  ASSERT_EQ(vs::recorded_windows().size(), 2u);
  DestroyWindow(button);
  EXPECT_EQ(vs::find_record(button), nullptr);
  EXPECT_EQ(vs::recorded_windows().size(), 1u);
  // Going with their parent, too.
  DestroyWindow(parent_);
  EXPECT_EQ(vs::find_record(edit), nullptr);
  EXPECT_TRUE(vs::recorded_windows().empty());
}

// A procedure installed above ours, as a unit's subclass is when the hook styled its control.
WNDPROC below_top = nullptr;
int top_calls = 0;
LRESULT CALLBACK top_procedure(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  ++top_calls;
  return CallWindowProcA(below_top, w, msg, wp, lp);
}

TEST_F(Switching, AProcedureAboveOursKeepsItsChain) {
  vs::set_visual_style(2);
  HWND box = make("BUTTON", BS_AUTOCHECKBOX, {10, 10, 120, 30}, "Box");
  const WNDPROC control_procedure = vs::find_record(box)->previous;
  below_top = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&top_procedure)));

  vs::set_visual_style(0);
  EXPECT_EQ(procedure_of(box), &top_procedure) << "the procedure above stays";
  EXPECT_FALSE(vs::is_styled(box));
  top_calls = 0;
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED))
      << "the control still answers";
  EXPECT_EQ(top_calls, 2);

  vs::set_visual_style(1);
  EXPECT_TRUE(vs::is_styled(box)) << "styled again without a second procedure";
  EXPECT_EQ(vs::find_record(box)->previous, control_procedure);
  DestroyWindow(box);
  EXPECT_EQ(vs::find_record(box), nullptr);
}

}  // namespace
}  // namespace vs_test
