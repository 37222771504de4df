// The finder's main window as its program image builds it, and the program's whole life.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <string>

#include "app/program_image.h"
#include "app/routines.h"
#include "platform/api/gdi.h"
#include "platform/api/kernel.h"
#include "platform/api/listview.h"
#include "platform/api/menu.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/host_app.h"
#include "runtime/window_system.h"
#include "tests/app/support/finder.h"
#include "tests/ui/support/drawn_text.h"
#include "ui/system/window_system_table.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace {

using namespace app::main_window;

constexpr std::uint32_t kSearchButton = 0x1601001E;
constexpr std::uint32_t kGroupBox = 0x160100BE;
constexpr char kHint[] =
    "\xCB\xAB\xBB\xF7\xD4\xA4\xC0\xC0\xB8\xE8\xB4\xCA\xA3\xAC\r\n\xD3\xD2\xBB\xF7\xCF\xC2\xD4\xD8"
    "\xB8\xE8\xB4\xCA\xA1\xA3\r\n\xD7\xF7\xD5\xDF:Veskar";

std::string window_text(HWND hwnd) {
  char buffer[128] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::string column(HWND list, int index, int* width) {
  char buffer[64] = {};
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH;
  c.pszText = buffer;
  c.cchTextMax = sizeof buffer;
  if (SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c)) == 0)
    return "-";
  *width = c.cx;
  return buffer;
}

TEST(FinderMainWindow, OpensCentredWithItsUnitsCaptionsAndColumns) {
  app_test::Finder finder;
  HWND w = finder.window();
  ASSERT_NE(w, nullptr);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 418);
  EXPECT_EQ(r.bottom - r.top, 512);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 418) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 512) / 2);
  EXPECT_EQ(window_text(w), "Sonvo\xD5\xD2\xB8\xE8\xB4\xCA v1.0 By Veskar");
  EXPECT_EQ(window_text(finder.unit(kSearchButton)), "\xCB\xD1\xCB\xF7") << "the caption, not the name";
  EXPECT_EQ(GetMenu(w), nullptr) << "the row menu's parent never shows in a bar";
  EXPECT_EQ(finder.text(kHintLabel), kHint);

  HWND list = finder.unit(kResultList);
  EXPECT_EQ(finder.row_count(), 0);
  int width = 0;
  EXPECT_EQ(column(list, 0, &width),
            "\xB8\xE8\xC7\xFA"
            "ID");
  EXPECT_EQ(width, 70);
  EXPECT_EQ(column(list, 1, &width), "\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7");
  EXPECT_EQ(width, 280);
  EXPECT_EQ(column(list, 2, &width), "-");

  // All three hint lines, the author's included, show whole inside the label.
  HWND label = finder.unit(kHintLabel);
  RECT client{};
  GetClientRect(label, &client);
  const ui_test::TextLook look{static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), RGB(0, 0, 0),
                               GetSysColor(COLOR_BTNFACE)};
  for (const char* line :
       {"\xCB\xAB\xBB\xF7\xD4\xA4\xC0\xC0\xB8\xE8\xB4\xCA\xA3\xAC",
        "\xD3\xD2\xBB\xF7\xCF\xC2\xD4\xD8\xB8\xE8\xB4\xCA\xA1\xA3", "\xD7\xF7\xD5\xDF:Veskar"}) {
    EXPECT_TRUE(ui_test::find_text_line(label, client, line, look).has_value()) << line;
  }
  EXPECT_TRUE(platform::headless::save_png(w, std::string(LYR_APP_TEST_OUTPUT) + "/finder_main_window.png"));
}

// Style 2 frames the edit boxes in its edit colour and the button one pixel in with its own
// frame colour; the group box gets the styled frame colour.
TEST(FinderMainWindow, TheWindowCreatedEventAppliesVisualStyleTwo) {
  app_test::Finder finder;
  constexpr COLORREF kEditFrame = 0x7FB9A4;
  constexpr COLORREF kButtonFrame = 0x066237;
  constexpr COLORREF kGroupFrame = 0xBFB8BF;
  for (std::uint32_t edit : {kTitleEdit, kArtistEdit, kLyricPreview}) {
    HWND e = finder.unit(edit);
    RECT r{};
    GetWindowRect(e, &r);
    HDC dc = GetWindowDC(e);
    EXPECT_EQ(GetPixel(dc, (r.right - r.left) / 2, 0), kEditFrame) << std::hex << edit;
    ReleaseDC(e, dc);
  }
  HWND button = finder.unit(kSearchButton);
  HDC dc = GetWindowDC(button);
  EXPECT_EQ(GetPixel(dc, 40, 1), kButtonFrame);
  ReleaseDC(button, dc);
  HWND group = finder.unit(kGroupBox);
  RECT g{};
  GetWindowRect(group, &g);
  dc = GetWindowDC(group);
  EXPECT_EQ(GetPixel(dc, (g.right - g.left) / 2, g.bottom - g.top - 1), kGroupFrame);
  ReleaseDC(group, dc);
}

// Closes the finder's window, as its user would, as soon as the program's loop runs with the
// window on the screen.
bool close_posted = false;
LRESULT CALLBACK close_once_shown(int code, WPARAM wp, LPARAM lp) {
  HWND w = FindWindowA(nullptr, "Sonvo\xD5\xD2\xB8\xE8\xB4\xCA v1.0 By Veskar");
  if (!close_posted && w != nullptr && IsWindowVisible(w))
    close_posted = PostMessageA(w, WM_CLOSE, 0, 0) != 0;
  return CallNextHookEx(nullptr, code, wp, lp);
}

// The real entry routine: start-up, window, message loop; closing the window ends it with 0.
TEST(FinderProgram, ClosingTheMainWindowEndsTheProgramWithZero) {
  setenv("LYRICS_MESSAGEBOX", "default", 1);
  ui::templates::window_collection().clear();
  ui::install_window_system();
  close_posted = false;
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &close_once_shown, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  int code = runtime::run_program(app::program_image(), &app::main);
  UnhookWindowsHookEx(hook);
  runtime::install_window_system(nullptr);
  ui::templates::window_collection().clear();
  EXPECT_TRUE(close_posted);
  EXPECT_EQ(code, 0);
}

}  // namespace
