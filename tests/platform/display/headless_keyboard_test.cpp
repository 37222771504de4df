// Keyboard and text input on the headless display: key messages, their lParam bits, the
// characters TranslateMessage makes, text in the ANSI code page, and the key state.
#include <gtest/gtest.h>

#include <string>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/headless_test.h"

namespace hl = platform::headless;
using lyr::test::Recorder;

namespace {

class HeadlessKeyboard : public lyr::test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    if (IsSkipped()) return;
    top_ = rec_.top({100, 100, 500, 400});
    edit_ = rec_.child(top_, {10, 10, 200, 40});
    SetActiveWindow(top_);
    SetFocus(edit_);
    hl::run_until_idle();
    rec_.clear();
  }

  std::string chars(UINT msg = WM_CHAR) const {
    std::string out;
    for (auto& m : rec_.messages({msg})) out.push_back(static_cast<char>(m.wp));
    return out;
  }

  Recorder rec_;
  HWND top_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(HeadlessKeyboard, LetterMakesKeyDownCharKeyUpAtTheFocus) {
  hl::key_press('A');
  hl::run_until_idle();
  auto msgs = rec_.messages({WM_KEYDOWN, WM_CHAR, WM_KEYUP});
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(msgs[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(msgs[0].wp, WPARAM{'A'});
  EXPECT_EQ(msgs[1].message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(msgs[1].wp, WPARAM{'a'});
  EXPECT_EQ(msgs[2].message, static_cast<UINT>(WM_KEYUP));
  for (auto& m : msgs) EXPECT_EQ(m.hwnd, edit_);

  // lParam: repeat count 1, scan code 0x1E; key up has the previous-state and transition bits.
  EXPECT_EQ(msgs[0].lp & 0xFFFF, 1);
  EXPECT_EQ((msgs[0].lp >> 16) & 0xFF, 0x1E);
  EXPECT_EQ((msgs[0].lp >> 30) & 3, 0);
  EXPECT_EQ((msgs[2].lp >> 30) & 3, 3);
}

TEST_F(HeadlessKeyboard, AutoRepeatSetsThePreviousStateBit) {
  hl::key_down(VK_RIGHT);
  hl::key_down(VK_RIGHT);
  hl::key_up(VK_RIGHT);
  hl::run_until_idle();
  auto downs = rec_.messages({WM_KEYDOWN});
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ((downs[0].lp >> 30) & 1, 0);
  EXPECT_EQ((downs[1].lp >> 30) & 1, 1);
  EXPECT_EQ((downs[0].lp >> 24) & 1, 1) << "arrows are extended keys";
  EXPECT_TRUE(chars().empty()) << "arrows make no character";
}

TEST_F(HeadlessKeyboard, ShiftCapsLockAndControlCharacters) {
  hl::key_down(VK_SHIFT);
  hl::key_press('A');
  hl::key_press('1');
  hl::key_press(VK_OEM_2);
  hl::key_up(VK_SHIFT);
  hl::key_press(VK_CAPITAL);
  hl::key_press('B');
  hl::key_press(VK_CAPITAL);
  hl::key_press(VK_OEM_2);
  hl::key_down(VK_CONTROL);
  hl::key_press('C');
  hl::key_up(VK_CONTROL);
  hl::run_until_idle();
  EXPECT_EQ(chars(), std::string("A!?B/\x03"));
}

TEST_F(HeadlessKeyboard, EnterTabBackspaceEscapeMakeTheirCharacters) {
  hl::key_press(VK_RETURN);
  hl::key_press(VK_TAB);
  hl::key_press(VK_BACK);
  hl::key_press(VK_ESCAPE);
  hl::key_press(VK_SPACE);
  hl::key_press(VK_F5);
  hl::run_until_idle();
  EXPECT_EQ(chars(), std::string("\r\t\b\x1b "));
}

TEST_F(HeadlessKeyboard, AltMakesSystemKeys) {
  hl::key_down(VK_MENU);
  hl::key_press('F');
  hl::key_up(VK_MENU);
  hl::run_until_idle();
  auto sys = rec_.messages({WM_SYSKEYDOWN});
  ASSERT_EQ(sys.size(), 2u);
  EXPECT_EQ(sys[0].wp, WPARAM{VK_MENU});
  EXPECT_EQ(sys[1].wp, WPARAM{'F'});
  EXPECT_EQ((sys[1].lp >> 29) & 1, 1) << "context bit: Alt is down";
  EXPECT_EQ(chars(WM_SYSCHAR), "f");
  EXPECT_TRUE(chars().empty());
  auto ups = rec_.messages({WM_SYSKEYUP});
  ASSERT_EQ(ups.size(), 2u);
  EXPECT_EQ(ups[1].wp, WPARAM{VK_MENU});
  EXPECT_TRUE(rec_.messages({WM_KEYDOWN, WM_KEYUP}).empty());
}

TEST_F(HeadlessKeyboard, TextArrivesAsCodePageBytesLeadByteFirst) {
  hl::text("中文abc");
  hl::run_until_idle();
  EXPECT_EQ(chars(), std::string("\xD6\xD0\xCE\xC4"
                                 "abc"));
  EXPECT_TRUE(rec_.messages({WM_KEYDOWN}).empty()) << "text comes without key events";
  for (auto& m : rec_.messages({WM_CHAR})) EXPECT_EQ(m.hwnd, edit_);
}

TEST_F(HeadlessKeyboard, CharacterOutsideGbkArrivesAsFourBytes) {
  hl::text("\xF0\xA0\x80\x80");  // U+20000
  hl::run_until_idle();
  EXPECT_EQ(chars(), std::string("\x95\x32\x82\x36"));
}

TEST_F(HeadlessKeyboard, KeyStateMatchesTheMessageBeingHandled) {
  std::vector<bool> shift_seen;
  rec_.on(WM_KEYDOWN, [&](HWND, WPARAM wp, LPARAM) -> LRESULT {
    if (wp == 'X') shift_seen.push_back(GetKeyState(VK_SHIFT) < 0);
    return 0;
  });
  // Everything is injected before any of it is handled.
  hl::key_down(VK_LSHIFT);
  hl::key_press('X');
  hl::key_up(VK_LSHIFT);
  hl::key_press('X');
  hl::run_until_idle();
  EXPECT_EQ(shift_seen, (std::vector<bool>{true, false}));
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);

  BYTE state[256] = {};
  hl::key_down(VK_RCONTROL);
  hl::run_until_idle();
  ASSERT_TRUE(GetKeyboardState(state));
  EXPECT_TRUE(state[VK_CONTROL] & 0x80);
  EXPECT_TRUE(state[VK_RCONTROL] & 0x80);
  EXPECT_FALSE(state[VK_LCONTROL] & 0x80);
  EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
  hl::key_up(VK_RCONTROL);
  hl::run_until_idle();
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
  EXPECT_FALSE(GetKeyboardState(nullptr));
  EXPECT_EQ(GetKeyState(-1), 0);
  EXPECT_EQ(GetKeyState(300), 0);
}

TEST_F(HeadlessKeyboard, MouseButtonsShowInTheKeyState) {
  bool down_seen = false;
  rec_.on(WM_LBUTTONDOWN, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    down_seen = GetKeyState(VK_LBUTTON) < 0;
    return 0;
  });
  hl::click(edit_, {3, 3});
  hl::run_until_idle();
  EXPECT_TRUE(down_seen);
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
}

TEST_F(HeadlessKeyboard, WithoutFocusKeysGoToTheActiveWindow) {
  SetFocus(nullptr);
  hl::key_press('Q');
  hl::run_until_idle();
  auto downs = rec_.messages({WM_KEYDOWN});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].hwnd, top_);
}

TEST_F(HeadlessKeyboard, TranslateMessageIgnoresOtherMessages) {
  EXPECT_FALSE(TranslateMessage(nullptr));
  MSG m{edit_, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(TranslateMessage(&m));
  MSG up{edit_, WM_KEYUP, 'A', 0, 0, {0, 0}};
  EXPECT_TRUE(TranslateMessage(&up));
  hl::run_until_idle();
  EXPECT_TRUE(chars().empty());
}

}  // namespace
