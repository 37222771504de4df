// What the SDL display tells the X window manager of each kind of top-level window, read back
// from the server as a window manager reads it: the window type, the Motif functions and
// decorations, the size hints, the owner (WM_TRANSIENT_FOR), and under a real window manager
// (openbox) the actions it then allows, which are the buttons its frame shows. One table of
// window kinds runs on a bare Xvfb server and again under openbox. The backend is chosen once
// per process, so the parent starts the servers and runs the checks in a child copy of this
// program with LYRICS_DISPLAY=sdl.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/display/backend.h"
#include "tests/support/display_pump.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/x11/window_manager.h"
#include "tests/support/xvfb_session.h"

namespace {

using namespace std::chrono_literals;

constexpr char kChildVariable[] = "LYRICS_FRAME_HINTS_CHILD";  // "bare" or "openbox"

std::optional<int> run_child(const std::string& display, const std::string& mode) {
  return test_support::run_self_on_sdl(display, "FrameHintsChild.DISABLED_*",
                                       {std::string(kChildVariable) + "=" + mode}, std::chrono::seconds(180));
}

bool have_tools() {
  return test_support::on_path("Xvfb") && test_support::on_path("xdotool");
}

TEST(FrameHintsUnderXvfb, WithoutAWindowManager) {
  if (!have_tools()) GTEST_SKIP() << "Xvfb or xdotool is not installed; the frame hints are not exercised";
  test_support::Xvfb server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not report a display number";
  auto code = run_child(server.display(), "bare");
  ASSERT_TRUE(code.has_value()) << "the SDL child did not finish in time";
  EXPECT_EQ(*code, 0) << "the SDL child failed; its output is above";
}

TEST(FrameHintsUnderXvfb, UnderOpenbox) {
  if (!have_tools()) GTEST_SKIP() << "Xvfb or xdotool is not installed; the frame hints are not exercised";
  if (!test_support::on_path("openbox"))
    GTEST_SKIP() << "openbox is not installed (scripts/install-deps installs it); the frame hints are not "
                    "exercised under a window manager";
  test_support::Xvfb server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not report a display number";
  test_support::Openbox openbox(server.display());
  ASSERT_TRUE(openbox.running()) << openbox.problem();
  auto code = run_child(server.display(), "openbox");
  ASSERT_TRUE(code.has_value()) << "the SDL child did not finish in time";
  EXPECT_EQ(*code, 0) << "the SDL child failed; its output is above";
}

// --- the child: runs with the SDL backend on the private server ---

enum class Opening {
  top,        // an unowned top-level window
  restyled,   // shown sizable with every box first, then given the row's styles
  owned,      // a window owned by a fixed main window
  owned_box,  // MessageBoxA over a fixed main window
  lone_box,   // MessageBoxA without an owner
};

struct FrameCase {
  const char* title;  // unique, and no title contains another
  Opening opening;
  DWORD style;  // unused for message boxes
  // What the window manager should be told.
  bool dialog, resize, minimise, maximise, close;
};

constexpr DWORD kFixedMain = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr FrameCase kCases[] = {
    // The finder's main window: fixed border, minimise box, no maximise box.
    {"hint-fixed", Opening::top, kFixedMain, false, false, true, false, true},
    {"hint-sizable", Opening::top, WS_OVERLAPPEDWINDOW, false, true, true, true, true},
    {"hint-captiononly", Opening::top, WS_CAPTION, false, false, false, false, false},
    {"hint-restyled", Opening::restyled, kFixedMain, false, false, true, false, true},
    // Owned windows are dialogs: they neither minimise nor maximise on their own.
    {"hint-owned", Opening::owned,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true, true, false,
     false, true},
    {"hint-ownedbox", Opening::owned_box, 0, true, false, false, false, true},
    {"hint-lonebox", Opening::lone_box, 0, true, false, false, false, true},
};

struct Expectation {
  const FrameCase& row;
  unsigned long owner = 0;  // X id of the owner's window; 0 for none
  bool under_wm = false;
};

// Every way `facts` differs from what the row asks for; empty when it matches.
std::vector<std::string> mismatches(const Expectation& e, const test_support::XWindowFacts& facts) {
  std::vector<std::string> out;
  if (!facts.exists) return {"the X window does not exist"};
  const FrameCase& r = e.row;
  const std::string type = r.dialog ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL";
  if (!facts.is_type(type))
    out.push_back("window type is " +
                  (facts.window_type.empty() ? std::string("unset") : facts.window_type[0]) + ", not " +
                  type);

  // Motif: flags (functions and decorations given), functions, decorations.
  constexpr unsigned long kResize = 2, kMove = 4, kMinimise = 8, kMaximise = 16, kClose = 32;
  constexpr unsigned long kBorder = 2, kHandle = 4, kTitle = 8, kMenu = 16, kMinimiseButton = 32,
                          kMaximiseButton = 64;
  const unsigned long functions = kMove | (r.resize ? kResize : 0) | (r.minimise ? kMinimise : 0) |
                                  (r.maximise ? kMaximise : 0) | (r.close ? kClose : 0);
  const unsigned long decorations = kBorder | kTitle | (r.resize ? kHandle : 0) | (r.close ? kMenu : 0) |
                                    (r.minimise ? kMinimiseButton : 0) | (r.maximise ? kMaximiseButton : 0);
  if (facts.motif.size() < 3 || facts.motif[0] != 3 || facts.motif[1] != functions ||
      facts.motif[2] != decorations) {
    std::string seen;
    for (unsigned long v : facts.motif) seen += std::to_string(v) + " ";
    out.push_back("Motif hints are [" + seen + "], not [3 " + std::to_string(functions) + " " +
                  std::to_string(decorations) + " ...]");
  }

  // Window managers that ignore the Motif functions still keep a window of one fixed size.
  const bool fixed = facts.has_min_size && facts.has_max_size && facts.min_width == facts.max_width &&
                     facts.min_height == facts.max_height && facts.min_width > 0;
  if (fixed == r.resize)
    out.push_back(r.resize ? "size hints fix the size of a sizable window"
                           : "size hints do not fix the size");

  if (e.owner != 0 && (!facts.has_transient_for || facts.transient_for != e.owner))
    out.push_back("not transient for its owner's window " + std::to_string(e.owner));
  if (e.owner == 0 && facts.has_transient_for)
    out.push_back("transient for window " + std::to_string(facts.transient_for) + " without an owner");

  if (!e.under_wm) return out;
  if (!facts.managed || facts.allowed_actions.empty()) {
    out.push_back("not (yet) managed by the window manager");
    return out;
  }
  // The actions the window manager allows are what its frame buttons do. Openbox never lets the
  // Motif hints take away minimise, maximise or close (it keeps iconify even for dialogs,
  // iconifying the owner with them); it takes maximise away from a window that cannot resize.
  // So minimise and close are only checked where wanted, and maximise where it is wanted or the
  // window is of one fixed size.
  auto check = [&](const char* action, bool wanted) {
    if (facts.allows(action) != wanted)
      out.push_back(std::string(wanted ? "does not allow " : "allows ") + action);
  };
  if (r.maximise || !r.resize) {
    check("_NET_WM_ACTION_MAXIMIZE_HORZ", r.maximise);
    check("_NET_WM_ACTION_MAXIMIZE_VERT", r.maximise);
  }
  check("_NET_WM_ACTION_RESIZE", r.resize);
  if (r.minimise) check("_NET_WM_ACTION_MINIMIZE", true);
  if (r.close) check("_NET_WM_ACTION_CLOSE", true);
  return out;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += "\n  " + l;
  return s;
}

// Serves the windows until the X window named `title` says what the row asks for (a window
// manager takes a moment to manage a new window), then checks it. Under a window manager it
// then asks for the window maximised, as a key binding or a pager would: openbox draws a
// maximise button on every frame that has a minimise button (disabled where it cannot
// maximise, which its default theme draws no differently), so what counts is that it refuses.
void check_window(const Expectation& e, const std::string& title, bool try_maximise = true) {
  const std::string id = test_support::x_window_named("^" + title + "$");
  ASSERT_FALSE(id.empty()) << "no X window is named " << title;
  const unsigned long window = std::stoul(id);
  test_support::XWindowFacts facts;
  test_support::pump_until(
      [&] {
        facts = test_support::x_window_facts("", window);
        return mismatches(e, facts).empty();
      },
      15s);
  EXPECT_TRUE(mismatches(e, facts).empty()) << title << ":" << joined(mismatches(e, facts));
  if (!e.under_wm || !try_maximise) return;

  test_support::x_request_state("", window, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
  // Requests are answered in order: once this one shows, the maximise request has been too.
  test_support::x_request_state("", window, "_NET_WM_STATE_ABOVE");
  ASSERT_TRUE(test_support::pump_until(
      [&] {
        facts = test_support::x_window_facts("", window);
        return facts.in_state("_NET_WM_STATE_ABOVE");
      },
      15s))
      << title << ": the window manager never answered";
  const bool maximised = facts.in_state("_NET_WM_STATE_MAXIMIZED_VERT");
  // Openbox maximises whatever can resize, maximise box or not.
  if (!e.row.resize) {
    EXPECT_FALSE(maximised) << title << ": a window of one fixed size was maximised";
  }
  if (e.row.maximise) {
    EXPECT_TRUE(maximised) << title << ": a window with a maximise box was not maximised";
  }
}

// The check a message box's timer runs while the box is up, and whether it ran.
std::function<void()>& box_check() {
  static std::function<void()> check;
  return check;
}
bool& box_checked() {
  static bool checked = false;
  return checked;
}

void CALLBACK check_box_then_close(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(hwnd, id);
  box_check()();
  box_checked() = true;
}

TEST(FrameHintsChild, DISABLED_EachKindOfWindow) {
  const char* mode = std::getenv(kChildVariable);
  if (mode == nullptr) GTEST_SKIP() << "runs only as the child of FrameHintsUnderXvfb";
  ASSERT_EQ(platform::display::backend().name(), "sdl") << "the SDL display did not start";
  const bool under_wm = std::string(mode) == "openbox";

  lyr::test::Recorder rec;
  for (const FrameCase& row : kCases) {
    SCOPED_TRACE(row.title);
    Expectation e{row, 0, under_wm};
    HWND owner = nullptr;
    const std::string owner_title = std::string("owner-of-") + row.title;
    if (row.opening == Opening::owned || row.opening == Opening::owned_box) {
      owner = rec.top({100, 100, 420, 340}, kFixedMain | WS_VISIBLE, owner_title.c_str());
      ASSERT_TRUE(owner);
      const std::string owner_id = test_support::x_window_named("^" + owner_title + "$");
      ASSERT_FALSE(owner_id.empty()) << "the owner never reached the X server";
      e.owner = std::stoul(owner_id);
    }

    if (row.opening == Opening::owned_box || row.opening == Opening::lone_box) {
      // The box is modal: it is checked from a timer of a window that stays hidden (a lone box
      // has no owner) while the box's own loop serves the windows.
      HWND timer_window = owner != nullptr ? owner : rec.top({0, 0, 100, 100}, WS_POPUP, "hint-timer");
      box_checked() = false;
      box_check() = [&] {
        check_window(e, row.title);
        if (HWND box = FindWindowA(nullptr, row.title)) PostMessageA(box, WM_CLOSE, 0, 0);
      };
      SetTimer(timer_window, 1, 200, &check_box_then_close);
      MessageBoxA(owner, "text", row.title, MB_OK);
      EXPECT_TRUE(box_checked()) << "the box closed before it was checked";
      if (owner == nullptr) DestroyWindow(timer_window);
    } else {
      const DWORD first_style = row.opening == Opening::restyled ? WS_OVERLAPPEDWINDOW : row.style;
      HWND w = CreateWindowExA(0, rec.class_name().c_str(), row.title, first_style | WS_VISIBLE, 200, 150,
                               360, 260, owner, nullptr, nullptr, nullptr);
      ASSERT_TRUE(w);
      if (row.opening == Opening::restyled) {
        // Managed as sizable with every box first, then changed the way a program's property
        // change changes it.
        check_window({kCases[1], 0, under_wm}, row.title, false);
        SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(row.style | WS_VISIBLE));
        SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
      }
      check_window(e, row.title);
      DestroyWindow(w);
    }
    if (owner != nullptr) DestroyWindow(owner);
    // The next row starts once this row's windows have left the screen.
    EXPECT_TRUE(test_support::x_window_gone("^" + std::string(row.title) + "$"));
    EXPECT_TRUE(test_support::x_window_gone("^" + owner_title + "$"));
  }
}

}  // namespace
