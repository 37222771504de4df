// Message boxes: answers by keyboard and mouse, what they show, what they print on the
// headless display, their modality and their nested loop.
#include <cstdlib>
#include <thread>

#include "platform/controls/message_box_layout.h"
#include "tests/platform/controls/box_driver.h"
#include "tests/platform/controls/controls_fixture.h"

namespace controls_test {
namespace {

using platform::controls::button_set;
using platform::controls::default_button_index;
using platform::controls::layout_message_box;
using platform::controls::normalise_line_breaks;

class MessageBoxTest : public ControlsTest {
 protected:
  void SetUp() override {
    unsetenv("LYRICS_MESSAGEBOX");
    ControlsTest::SetUp();
  }
};

TEST(MessageBoxLayout, ButtonSetsEscapeAndDefaults) {
  auto ids = [](UINT type) {
    std::vector<int> out;
    for (const auto& b : button_set(type).buttons) out.push_back(b.id);
    return out;
  };
  EXPECT_EQ(ids(MB_OK), (std::vector<int>{IDOK}));
  EXPECT_EQ(ids(MB_YESNOCANCEL), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(ids(MB_CANCELTRYCONTINUE), (std::vector<int>{IDCANCEL, IDTRYAGAIN, IDCONTINUE}));
  EXPECT_TRUE(ids(7).empty());
  EXPECT_EQ(button_set(MB_OK).escape_answer, IDOK);
  EXPECT_EQ(button_set(MB_YESNO).escape_answer, 0);
  EXPECT_EQ(button_set(MB_ABORTRETRYIGNORE).escape_answer, 0);
  EXPECT_EQ(button_set(MB_RETRYCANCEL).escape_answer, IDCANCEL);
  EXPECT_EQ(default_button_index(MB_DEFBUTTON3, 3), 2u);
  EXPECT_EQ(default_button_index(MB_DEFBUTTON3, 2), 0u) << "past the last button means the first";
  EXPECT_EQ(default_button_index(MB_DEFBUTTON4, 3), 0u);
}

TEST(MessageBoxLayout, LineBreaksAndGeometry) {
  EXPECT_EQ(normalise_line_breaks("a\r\nb\nc\rd"), "a\nb\nc\nd");
  EXPECT_EQ(normalise_line_breaks(nullptr), "");
  auto g = layout_message_box(SIZE{200, 40}, true, 3, 50);
  ASSERT_EQ(g.buttons.size(), 3u);
  EXPECT_GE(g.text.left, g.icon.right) << "text right of the icon";
  EXPECT_GE(g.buttons[0].top, g.text.bottom) << "buttons below the text";
  EXPECT_EQ(g.buttons[0].right - g.buttons[0].left, 75);
  EXPECT_EQ(g.buttons[0].bottom - g.buttons[0].top, 23);
  EXPECT_NEAR(g.buttons[0].left, g.client.cx - g.buttons[2].right, 1) << "the row is centred";
  EXPECT_LE(g.buttons[2].bottom, g.client.cy);
  EXPECT_GE(g.client.cx, g.text.right);
  // A long caption widens the box.
  EXPECT_GT(layout_message_box(SIZE{20, 12}, false, 1, 400).client.cx, 400);
}

TEST_F(MessageBoxTest, EnterChoosesTheDefaultButton) {
  std::string caption = ansi("问题");
  BoxDriver driver({[this](HWND box) {
    RECT owner, shown;
    GetWindowRect(parent_, &owner);
    GetWindowRect(box, &shown);
    EXPECT_NEAR((shown.left + shown.right) / 2, (owner.left + owner.right) / 2, 1)
        << "centred over the owner";
    EXPECT_NEAR((shown.top + shown.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(box, IDNO));
    EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK,
              static_cast<LONG>(BS_DEFPUSHBUTTON));
    hl::key_press(VK_RETURN);
  }});
  int answer = MessageBoxA(parent_, ansi("保存吗？").c_str(), caption.c_str(),
                           MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION);
  EXPECT_EQ(answer, IDNO);
  EXPECT_EQ(driver.steps_run(), 1u);
  EXPECT_FALSE(IsWindow(driver.seen_box())) << "the box is gone afterwards";
}

TEST_F(MessageBoxTest, EscapeCancelsArrowsMoveAndYesNoIgnoresEscape) {
  BoxDriver cancel({[](HWND) { hl::key_press(VK_ESCAPE); }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_YESNOCANCEL), IDCANCEL);

  BoxDriver ok({[](HWND) { hl::key_press(VK_ESCAPE); }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_OK), IDOK);

  BoxDriver yes_no({
      [](HWND) { hl::key_press(VK_ESCAPE); },
      [](HWND box) {
        EXPECT_TRUE(IsWindowVisible(box)) << "Esc does nothing without a Cancel button";
        PostMessageA(box, WM_CLOSE, 0, 0);  // nor does the close box
      },
      [](HWND box) {
        EXPECT_TRUE(IsWindowVisible(box));
        hl::key_press(VK_RIGHT);
      },
      [](HWND box) {
        EXPECT_EQ(GetFocus(), GetDlgItem(box, IDNO));
        EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK,
                  static_cast<LONG>(BS_DEFPUSHBUTTON))
            << "the default frame follows the focus";
        EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK,
                  static_cast<LONG>(BS_PUSHBUTTON));
        hl::key_press(VK_TAB);
      },
      [](HWND box) {
        EXPECT_EQ(GetFocus(), GetDlgItem(box, IDYES)) << "Tab wraps round";
        hl::key_press(VK_RETURN);
      },
  });
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_YESNO), IDYES);
  EXPECT_EQ(yes_no.steps_run(), 5u);
}

TEST_F(MessageBoxTest, ClickingAButtonGivesItsIdAndCloseBoxActsAsEscape) {
  BoxDriver click({[](HWND box) {
    HWND retry = GetDlgItem(box, IDRETRY);
    ASSERT_NE(retry, nullptr);
    hl::click(retry, {30, 10});
  }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_ABORTRETRYIGNORE), IDRETRY);

  BoxDriver close({[](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_OKCANCEL), IDCANCEL);

  BoxDriver mnemonic({[](HWND) { hl::key_press('C'); }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_CANCELTRYCONTINUE), IDCONTINUE);
}

TEST_F(MessageBoxTest, ShowsCaptionTextOnTwoLinesIconAndChineseButtons) {
  std::string caption = ansi("提示");
  BoxDriver driver({[&](HWND box) {
    char title[64] = {};
    GetWindowTextA(box, title, sizeof title);
    EXPECT_EQ(std::string(title), caption);
    HWND ok = GetDlgItem(box, IDOK);
    HWND cancel = GetDlgItem(box, IDCANCEL);
    char label[32] = {};
    GetWindowTextA(ok, label, sizeof label);
    EXPECT_EQ(std::string(label), ansi("确定"));
    GetWindowTextA(cancel, label, sizeof label);
    EXPECT_EQ(std::string(label), ansi("取消"));
    RECT ok_rect, cancel_rect;
    GetWindowRect(ok, &ok_rect);
    GetWindowRect(cancel, &cancel_rect);
    EXPECT_EQ(ok_rect.right - ok_rect.left, 75);
    EXPECT_EQ(ok_rect.bottom - ok_rect.top, 23);
    EXPECT_EQ(ok_rect.top, cancel_rect.top);
    EXPECT_LT(ok_rect.right, cancel_rect.left);
    EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_POPUP),
              static_cast<LONG>(WS_CAPTION | WS_SYSMENU | WS_POPUP));

    UpdateWindow(box);
    RECT client;
    GetClientRect(box, &client);
    POINT ok_top{ok_rect.left, ok_rect.top};
    ScreenToClient(box, &ok_top);
    // Rows with ink in the text column, between the top and the buttons: two separate bands.
    int text_left = platform::controls::kMessageBoxMargin + platform::controls::kMessageBoxIconSize;
    std::vector<bool> inked;
    for (int y = 0; y < ok_top.y - 4; ++y) {
      bool any = false;
      for (int x = text_left + 4; x < client.right - 4 && !any; ++x)
        any = luminance(hl::read_pixel(box, x, y)) < 100;
      inked.push_back(any);
    }
    int bands = 0;
    for (std::size_t y = 0; y < inked.size(); ++y)
      if (inked[y] && (y == 0 || !inked[y - 1])) ++bands;
    EXPECT_EQ(bands, 2) << "one band of ink per line";
    // The icon is drawn at the left: something other than the face colour there.
    int icon_pixels = 0;
    for (int y = 12; y < 44; ++y)
      for (int x = 12; x < 44; ++x)
        if (hl::read_pixel(box, x, y) != GetSysColor(COLOR_BTNFACE)) ++icon_pixels;
    EXPECT_GT(icon_pixels, 50);
    hl::save_png(box, "message_box.png");
    hl::key_press(VK_RETURN);
  }});
  EXPECT_EQ(MessageBoxA(parent_, ansi("第一行文字\r\n第二行文字").c_str(), caption.c_str(),
                        MB_OKCANCEL | MB_ICONINFORMATION),
            IDOK);
  EXPECT_EQ(driver.steps_run(), 1u);
}

TEST_F(MessageBoxTest, LongTextWrapsWithinFiveEighthsOfTheScreen) {
  std::string long_text;
  for (int i = 0; i < 40; ++i) long_text += "很长的一段文字 long words ";
  RECT one_line{}, wrapped{};
  BoxDriver short_box({[&](HWND box) {
    GetWindowRect(box, &one_line);
    hl::key_press(VK_RETURN);
  }});
  MessageBoxA(nullptr, "short", "a", MB_OK);
  BoxDriver long_box({[&](HWND box) {
    GetWindowRect(box, &wrapped);
    hl::key_press(VK_RETURN);
  }});
  MessageBoxA(nullptr, ansi(long_text).c_str(), "a", MB_OK);
  int screen = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_LE(wrapped.right - wrapped.left, screen * 5 / 8 + 16);
  EXPECT_GT(wrapped.right - wrapped.left, screen / 2) << "wraps near the limit, not early";
  EXPECT_GT(wrapped.bottom - wrapped.top, (one_line.bottom - one_line.top) + 36) << "several lines";
  EXPECT_NEAR((wrapped.left + wrapped.right) / 2, screen / 2, 1) << "centred on the screen without an owner";
}

TEST_F(MessageBoxTest, WritesCaptionAndTextToStandardError) {
  BoxDriver driver({[](HWND box) {
    UpdateWindow(box);
    hl::save_png(box, "message_box_error.png");
    hl::key_press(VK_RETURN);
  }});
  testing::internal::CaptureStderr();
  // A bad owner handle counts as none.
  MessageBoxA(reinterpret_cast<HWND>(0x5678), ansi("运行时出错!\r\n\r\n错误代码：4").c_str(), nullptr,
              MB_ICONHAND);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed, "[MessageBox] 错误\n运行时出错!\n\n错误代码：4\n");
}

TEST_F(MessageBoxTest, EnvironmentSwitchAnswersWithTheDefaultAtOnce) {
  setenv("LYRICS_MESSAGEBOX", "default", 1);
  testing::internal::CaptureStderr();
  int yes_no_cancel = MessageBoxA(parent_, "a", ansi("警告").c_str(), MB_YESNOCANCEL | MB_DEFBUTTON3);
  int ok = MessageBoxA(parent_, "b", "c", MB_OK | MB_ICONWARNING);
  int retry = MessageBoxA(parent_, "d", "e", MB_RETRYCANCEL | MB_DEFBUTTON4);
  std::string printed = testing::internal::GetCapturedStderr();
  unsetenv("LYRICS_MESSAGEBOX");
  EXPECT_EQ(yes_no_cancel, IDCANCEL);
  EXPECT_EQ(ok, IDOK);
  EXPECT_EQ(retry, IDRETRY);
  EXPECT_EQ(printed, "[MessageBox] 警告\na\n[MessageBox] c\nb\n[MessageBox] e\nd\n");
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", 9), 0) << "an unknown button set shows nothing";
}

TEST_F(MessageBoxTest, TaskModalDisablesTheThreadsOtherWindowsAndRestoresThem) {
  HWND other = CreateWindowExA(0, test_parent_class(), "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 50,
                               200, 100, nullptr, nullptr, nullptr, nullptr);
  HWND already_off =
      CreateWindowExA(0, test_parent_class(), "off", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED, 600, 200,
                      200, 100, nullptr, nullptr, nullptr, nullptr);
  bool other_enabled_meanwhile = true;
  bool parent_enabled_meanwhile = true;
  BoxDriver driver({[&](HWND box) {
    other_enabled_meanwhile = IsWindowEnabled(other) != FALSE;
    parent_enabled_meanwhile = IsWindowEnabled(parent_) != FALSE;
    EXPECT_TRUE(IsWindowEnabled(box));
    hl::key_press(VK_RETURN);
  }});
  EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OK | MB_TASKMODAL), IDOK);
  EXPECT_FALSE(other_enabled_meanwhile);
  EXPECT_FALSE(parent_enabled_meanwhile);
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_TRUE(IsWindowEnabled(parent_));
  EXPECT_FALSE(IsWindowEnabled(already_off)) << "a window disabled before stays disabled";

  // Application-modal with an owner: only the owner is disabled.
  BoxDriver owner_only({[&](HWND) {
    other_enabled_meanwhile = IsWindowEnabled(other) != FALSE;
    parent_enabled_meanwhile = IsWindowEnabled(parent_) != FALSE;
    hl::key_press(VK_RETURN);
  }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_OK), IDOK);
  EXPECT_TRUE(other_enabled_meanwhile);
  EXPECT_FALSE(parent_enabled_meanwhile);
  EXPECT_TRUE(IsWindowEnabled(parent_));
  EXPECT_EQ(GetActiveWindow(), parent_) << "the owner is active again";
  DestroyWindow(other);
  DestroyWindow(already_off);
}

LRESULT CALLBACK answering_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP + 7) return 42;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(MessageBoxTest, ServesMessagesSentFromAWorkerWhileOpen) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = answering_proc;
  wc.lpszClassName = "ControlsAnsweringOwner";
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, "ControlsAnsweringOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                               300, 200, nullptr, nullptr, nullptr, nullptr);
  DWORD_PTR answer = 0;
  LRESULT delivered = 0;
  std::thread worker;
  BoxDriver driver({[&](HWND box) {
    worker = std::thread([&, box] {
      delivered = SendMessageTimeoutA(owner, WM_APP + 7, 0, 0, 0, 5000, &answer);
      PostMessageA(box, WM_CLOSE, 0, 0);
    });
  }});
  EXPECT_EQ(MessageBoxA(owner, "wait", "worker", MB_OKCANCEL), IDCANCEL);
  worker.join();
  EXPECT_NE(delivered, 0) << "the sent message was served, not timed out";
  EXPECT_EQ(answer, 42u);
  DestroyWindow(owner);
}

TEST_F(MessageBoxTest, QuitDuringTheBoxEndsItAndIsPostedAgain) {
  BoxDriver driver({[](HWND) { PostQuitMessage(3); }});
  EXPECT_EQ(MessageBoxA(parent_, "x", "y", MB_OKCANCEL), 0);
  MSG m{};
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(MessageBoxTest, BoxOnAWorkerThreadBelongsToIt) {
  int answer = -1;
  DWORD box_thread = 0;
  std::thread worker([&] {
    BoxDriver driver({[&](HWND box) {
      box_thread = GetWindowThreadProcessId(box, nullptr);
      // Injected input goes through the display thread, which is waiting for us: post the key.
      PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    }});
    answer = MessageBoxA(nullptr, "worker", "thread", MB_OKCANCEL);
    EXPECT_EQ(box_thread, GetCurrentThreadId());
  });
  worker.join();
  EXPECT_EQ(answer, IDCANCEL);
}

}  // namespace
}  // namespace controls_test
