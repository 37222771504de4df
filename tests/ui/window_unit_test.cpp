// The window unit created directly through its type's create operation, outside any template.
#include "ui/units/window_unit.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/api/gdi.h"
#include "platform/api/menu.h"
#include "platform/api/messages.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "tests/ui/window_unit_support.h"
#include "ui/units/unit_types.h"

namespace {

using ui::WindowProperties;
using ui::WindowUnit;
using ui_test::EventRecorder;

constexpr std::uint32_t kWindowId = 0x52000077;
constexpr std::uint32_t kOwnId = 0x06000077;
constexpr int kWidth = 418;
constexpr int kHeight = 300;

namespace own = ui::window_property;

class WindowUnitTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    platform::headless::reset_input();
  }

  WindowUnit* make(const WindowProperties& p, HWND owner = nullptr, int left = 50, int top = 40) {
    block_ = p.serialize();
    ui::UnitCreateArgs args{.properties = block_,
                            .left = left,
                            .top = top,
                            .width = kWidth,
                            .height = kHeight,
                            .window_id = kWindowId,
                            .unit_id = kOwnId,
                            .owner = owner};
    auto* unit =
        static_cast<WindowUnit*>(static_cast<ui::Unit*>(ui_test::create_unit(ui::window_unit_type(), args)));
    if (unit != nullptr) hwnd_ = unit->hwnd();
    return unit;
  }

  DWORD style() const { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)); }
  DWORD ex_style() const { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)); }

  std::int32_t get_int(std::int32_t own_index) {
    ui::PropertyPair pair;
    auto get = ui_test::unit_op<ui::GetOp>(ui::window_unit_type(), ui::kGetOp);
    EXPECT_EQ(get(static_cast<ui::Unit*>(ui::Unit::from_window(hwnd_)), own_index, &pair), 1);
    return ui::pair_int(pair);
  }
  void set(std::int32_t own_index, ui::PropertyPair value) {
    auto set = ui_test::unit_op<ui::SetOp>(ui::window_unit_type(), ui::kSetOp);
    EXPECT_EQ(set(ui::Unit::from_window(hwnd_), own_index, value), 0) << "the window is never re-created";
  }

  void show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    ui_test::settle();
  }

  std::vector<std::uint8_t> block_;
  HWND hwnd_ = nullptr;
};

TEST_F(WindowUnitTest, BorderStylesGiveTheirFrames) {
  struct Case {
    std::int32_t border;
    DWORD style_bits;  // among WS_POPUP, WS_CAPTION (with WS_BORDER), WS_THICKFRAME
    DWORD ex_bits;     // among WS_EX_TOOLWINDOW, WS_EX_CLIENTEDGE
  };
  const Case cases[] = {
      {0, WS_POPUP, 0},
      {1, WS_CAPTION | WS_THICKFRAME, 0},
      {2, WS_CAPTION, 0},
      {3, WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW},
      {4, WS_CAPTION, WS_EX_TOOLWINDOW},
      {5, WS_CAPTION | WS_THICKFRAME, WS_EX_CLIENTEDGE},
      {6, WS_CAPTION, WS_EX_CLIENTEDGE},
      {9, WS_POPUP, 0},
  };
  for (const Case& c : cases) {
    WindowProperties p;
    p.border_style = c.border;
    p.title = "t";
    ASSERT_NE(make(p), nullptr);
    EXPECT_EQ(style() & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), c.style_bits) << c.border;
    EXPECT_EQ(ex_style() & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE), c.ex_bits) << c.border;
    EXPECT_TRUE(style() & WS_CLIPCHILDREN);
    DestroyWindow(hwnd_);
  }
}

TEST_F(WindowUnitTest, CaptionSystemMenuAndBoxesFollowTheirProperties) {
  WindowProperties p;
  p.title = "";
  p.control_box = false;
  p.minimise_box = false;
  p.maximise_box = true;
  ASSERT_NE(make(p), nullptr);
  EXPECT_EQ(style() & (WS_CAPTION | WS_POPUP), WS_BORDER | WS_POPUP) << "a fixed frame without a caption";
  EXPECT_FALSE(style() & WS_SYSMENU);
  EXPECT_FALSE(style() & WS_MINIMIZEBOX);
  EXPECT_TRUE(style() & WS_MAXIMIZEBOX);

  // A title brings the caption back; the control box brings the system menu.
  set(own::kTitle, ui::PropertyPair{reinterpret_cast<std::intptr_t>("Hello"), 5});
  EXPECT_EQ(style() & (WS_CAPTION | WS_POPUP), WS_CAPTION);
  char text[16] = {};
  GetWindowTextA(hwnd_, text, sizeof text);
  EXPECT_STREQ(text, "Hello");
  set(own::kControlBox, ui::int_pair(1));
  set(own::kMinimiseBox, ui::int_pair(1));
  EXPECT_TRUE(style() & WS_SYSMENU);
  EXPECT_TRUE(style() & WS_MINIMIZEBOX);
  set(own::kTitle, ui::PropertyPair{});
  EXPECT_EQ(style() & WS_CAPTION, WS_CAPTION) << "the control box alone keeps the caption";
  set(own::kBorderStyle, ui::int_pair(1));
  EXPECT_TRUE(style() & WS_THICKFRAME);
}

TEST_F(WindowUnitTest, AnOwnedWindowIsAPopup) {
  ui_test::ParentWindow owner;
  WindowProperties p;
  ASSERT_NE(make(p, owner.hwnd()), nullptr);
  EXPECT_TRUE(style() & WS_POPUP);
  EXPECT_TRUE(style() & WS_CAPTION);
  EXPECT_EQ(GetWindow(hwnd_, GW_OWNER), owner.hwnd());
  set(own::kBorderStyle, ui::int_pair(1));
  EXPECT_TRUE(style() & WS_POPUP) << "it stays one when its border changes";
}

TEST_F(WindowUnitTest, PositionOneCentresOnTheScreen) {
  WindowProperties p;
  p.position = 1;
  ASSERT_NE(make(p, nullptr, 5, 7), nullptr);
  RECT r{};
  GetWindowRect(hwnd_, &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
  EXPECT_EQ(r.right - r.left, kWidth);
  EXPECT_EQ(r.bottom - r.top, kHeight);
  EXPECT_EQ(get_int(own::kPosition), 0) << "a read gives the live state: normal";
  EXPECT_FALSE(IsWindowVisible(hwnd_)) << "showing is the window build's job";

  DestroyWindow(hwnd_);
  p.position = 0;
  ASSERT_NE(make(p, nullptr, 5, 7), nullptr);
  GetWindowRect(hwnd_, &r);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 7);
}

TEST_F(WindowUnitTest, MinimisedAndMaximisedPositionsAndTheirLiveState) {
  WindowProperties p;
  p.position = 2;
  ASSERT_NE(make(p), nullptr);
  EXPECT_TRUE(style() & WS_MINIMIZE);
  EXPECT_EQ(get_int(own::kPosition), 2);
  DestroyWindow(hwnd_);

  p.position = 3;
  p.border_style = 2;  // fixed: no maximising
  ASSERT_NE(make(p), nullptr);
  EXPECT_FALSE(style() & WS_MAXIMIZE);
  EXPECT_EQ(get_int(own::kPosition), 0);
  DestroyWindow(hwnd_);

  p.border_style = 1;
  ASSERT_NE(make(p), nullptr);
  EXPECT_TRUE(style() & WS_MAXIMIZE);
  EXPECT_EQ(get_int(own::kPosition), 3);
  set(own::kPosition, ui::int_pair(0));
  EXPECT_EQ(get_int(own::kPosition), 0);
  set(own::kPosition, ui::int_pair(2));
  EXPECT_EQ(get_int(own::kPosition), 2);
}

TEST_F(WindowUnitTest, ANonMovableWindowLosesTheMoveItem) {
  WindowProperties p;
  p.movable = false;
  ASSERT_NE(make(p), nullptr);
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  set(own::kMovable, ui::int_pair(1));
  menu = GetSystemMenu(hwnd_, FALSE);
  EXPECT_NE(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(WindowUnitTest, AlwaysOnTopPlacesTheWindowInTheTopmostBand) {
  WindowProperties p;
  p.always_on_top = true;
  ASSERT_NE(make(p), nullptr);
  EXPECT_TRUE(ex_style() & WS_EX_TOPMOST);
  set(own::kAlwaysOnTop, ui::int_pair(0));
  EXPECT_FALSE(ex_style() & WS_EX_TOPMOST);
  EXPECT_EQ(get_int(own::kAlwaysOnTop), 0);
}

TEST_F(WindowUnitTest, ShapeOneIsAnEllipseAndWrittenShapesAreClamped) {
  WindowProperties p;
  p.shape = 1;
  ASSERT_NE(make(p), nullptr);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd_, region), ERROR);
  EXPECT_TRUE(PtInRegion(region, kWidth / 2, kHeight / 2));
  EXPECT_FALSE(PtInRegion(region, 1, 1)) << "the corners are cut away";
  set(own::kShape, ui::int_pair(40));
  EXPECT_EQ(get_int(own::kShape), 29);
  set(own::kShape, ui::int_pair(0));
  EXPECT_EQ(GetWindowRgn(hwnd_, region), ERROR) << "the plain rectangle has no region";
  DeleteObject(region);
}

TEST_F(WindowUnitTest, PaintsItsBackgroundColourOrTheButtonFace) {
  WindowProperties p;
  p.border_style = 0;
  ASSERT_NE(make(p), nullptr);
  show();
  EXPECT_EQ(platform::headless::read_pixel(hwnd_, 10, 10), GetSysColor(COLOR_BTNFACE));
  set(own::kBackground, ui::int_pair(0x0000FF00));
  ui_test::settle();
  EXPECT_EQ(platform::headless::read_pixel(hwnd_, 10, 10), 0x0000FF00u);
  EXPECT_EQ(platform::headless::read_pixel(hwnd_, kWidth - 1, kHeight - 1), 0x0000FF00u);
}

TEST_F(WindowUnitTest, BackgroundPictureModes) {
  constexpr COLORREF kRed = 0x000000FF;
  constexpr COLORREF kBack = 0x00FFFFFF;
  WindowProperties p;
  p.border_style = 0;  // the client area is the whole window
  p.background = kBack;
  p.background_picture = ui_test::solid_bmp(20, 10, kRed);
  p.picture_mode = 0;
  ASSERT_NE(make(p), nullptr);
  show();
  auto at = [&](int x, int y) { return platform::headless::read_pixel(hwnd_, x, y); };
  EXPECT_EQ(at(0, 0), kRed);
  EXPECT_EQ(at(19, 9), kRed);
  EXPECT_EQ(at(20, 9), kBack);
  EXPECT_EQ(at(5, 10), kBack);

  set(own::kPictureMode, ui::int_pair(1));  // tiled
  ui_test::settle();
  EXPECT_EQ(at(25, 15), kRed);
  EXPECT_EQ(at(kWidth - 1, kHeight - 1), kRed);

  set(own::kPictureMode, ui::int_pair(2));  // centred, natural size as it fits
  ui_test::settle();
  EXPECT_EQ(at(kWidth / 2, kHeight / 2), kRed);
  EXPECT_EQ(at(kWidth / 2 - 10, kHeight / 2 - 5), kRed);
  EXPECT_EQ(at(kWidth / 2 - 12, kHeight / 2), kBack);
  EXPECT_EQ(at(0, 0), kBack);

  // A large picture is scaled down to fit and centred.
  set(own::kBackgroundPicture, [&] {
    static std::vector<std::uint8_t> big;
    big = ui_test::solid_bmp(kWidth * 2, kHeight, kRed);
    return ui::data_pair(big.data(), big.size());
  }());
  ui_test::settle();
  EXPECT_EQ(at(0, kHeight / 2), kRed);
  EXPECT_EQ(at(kWidth - 1, kHeight / 2), kRed);
  EXPECT_EQ(at(kWidth / 2, 5), kBack) << "half the height, centred";
  EXPECT_EQ(at(kWidth / 2, kHeight / 4 + 2), kRed);

  set(own::kBackgroundPicture, ui::PropertyPair{});
  ui_test::settle();
  EXPECT_EQ(at(kWidth / 2, kHeight / 2), kBack);
}

TEST_F(WindowUnitTest, TheIconComesFromTheIconBytes) {
  WindowProperties p;
  ASSERT_NE(make(p), nullptr);
  EXPECT_EQ(SendMessageA(hwnd_, WM_GETICON, 1, 0), 0);
  static const std::vector<std::uint8_t> picture = ui_test::solid_bmp(16, 16, 0x0000FF);
  set(own::kIcon, ui::data_pair(picture.data(), picture.size()));
  EXPECT_NE(SendMessageA(hwnd_, WM_GETICON, 1, 0), 0);
  const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  set(own::kIcon, ui::data_pair(junk, sizeof junk));
  EXPECT_EQ(SendMessageA(hwnd_, WM_GETICON, 1, 0), 0) << "bytes that are no picture give no icon";
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(WindowUnitTest, ANewerOrUnreadableBlockCreatesNothing) {
  std::vector<std::uint8_t> block = WindowProperties{}.serialize();
  block[0] = 7;
  ui::UnitCreateArgs args{.properties = block, .width = 100, .height = 100};
  EXPECT_EQ(ui_test::create_unit(ui::window_unit_type(), args), nullptr);
  block[0] = 6;
  block.resize(block.size() - 1);
  args.properties = block;
  EXPECT_EQ(ui_test::create_unit(ui::window_unit_type(), args), nullptr);
}

TEST_F(WindowUnitTest, TheClassNamePropertyNamesTheClass) {
  WindowProperties p;
  p.class_name = "WinLabelOwnClass";
  ASSERT_NE(make(p), nullptr);
  char name[32] = {};
  GetClassNameA(hwnd_, name, sizeof name);
  EXPECT_STREQ(name, "WinLabelOwnClass");
  DestroyWindow(hwnd_);
  ASSERT_NE(make(WindowProperties{}), nullptr);
  GetClassNameA(hwnd_, name, sizeof name);
  EXPECT_STREQ(name, "VxWindow");
}

TEST_F(WindowUnitTest, SwitchesAreReadThroughCodeSeven) {
  WindowProperties p;
  p.enter_moves_focus = true;
  p.drag_by_client = true;
  p.help_context = 12;
  p.help_file = "x.hlp";
  ASSERT_NE(make(p), nullptr);
  auto switches = ui_test::unit_op<ui::WindowSwitchesOp>(ui::window_unit_type(), ui::kWindowSwitchesOp);
  ASSERT_NE(switches, nullptr);
  ui::WindowSwitches s;
  switches(ui::Unit::from_window(hwnd_), &s);
  EXPECT_TRUE(s.enter_moves_focus);
  EXPECT_FALSE(s.escape_closes);
  EXPECT_FALSE(s.f1_help);
  EXPECT_TRUE(s.drag_by_client);
  EXPECT_EQ(s.help_context, 12);
  EXPECT_STREQ(s.help_file, "x.hlp");
  set(own::kEscapeCloses, ui::int_pair(1));
  switches(ui::Unit::from_window(hwnd_), &s);
  EXPECT_TRUE(s.escape_closes);
}

TEST_F(WindowUnitTest, SerializeWritesTheCurrentState) {
  WindowProperties p;
  ASSERT_NE(make(p), nullptr);
  set(own::kHelpContext, ui::int_pair(77));
  set(own::kShape, ui::int_pair(3));
  std::vector<std::uint8_t> out;
  auto serialize = ui_test::unit_op<ui::SerializeOp>(ui::window_unit_type(), ui::kSerializeOp);
  ASSERT_TRUE(serialize(ui::Unit::from_window(hwnd_), &out));
  const auto back = ui::WindowProperties::parse(out);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->help_context, 77);
  EXPECT_EQ(back->shape, 3);
}

// ---- events ----------------------------------------------------------------------------------

TEST_F(WindowUnitTest, CloseAsksTwiceThenDestroys) {
  EventRecorder recorder;
  ASSERT_NE(make(WindowProperties{}), nullptr);
  recorder.events.clear();
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_EQ(recorder.numbers(), (std::vector<std::int32_t>{12, 1, 2}));
  for (const ui_test::RecordedEvent& e : recorder.events) {
    EXPECT_EQ(e.window_id, kWindowId);
    EXPECT_EQ(e.unit_id, kOwnId);
  }
}

TEST_F(WindowUnitTest, AHandlerReturningFalseRefusesTheClose) {
  EventRecorder recorder;
  ASSERT_NE(make(WindowProperties{}), nullptr);
  for (std::int32_t refusing : {12, 1}) {
    recorder.events.clear();
    recorder.reply = [&](const ui_test::RecordedEvent& e) -> std::optional<std::uint32_t> {
      if (e.event == refusing) return 0;
      return std::nullopt;
    };
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd_)) << refusing;
    EXPECT_EQ(recorder.count(2), 0);
    EXPECT_EQ(recorder.count(1), refusing == 1 ? 1 : 0) << "a refused close asks no further";
  }
  // Any other result, or none, lets the window close.
  recorder.reply = [](const ui_test::RecordedEvent&) -> std::optional<std::uint32_t> { return 1; };
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd_));
}

TEST_F(WindowUnitTest, ANewInstanceWindowClosesWhateverTheHandlersAnswer) {
  EventRecorder recorder;
  recorder.reply = [](const ui_test::RecordedEvent&) -> std::optional<std::uint32_t> { return 0; };
  WindowUnit* unit = make(WindowProperties{});
  ASSERT_NE(unit, nullptr);
  unit->set_new_instance(true);
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_EQ(recorder.count(12), 1);
}

TEST_F(WindowUnitTest, AHandlerMayDestroyTheWindowItself) {
  EventRecorder recorder;
  recorder.reply = [&](const ui_test::RecordedEvent& e) -> std::optional<std::uint32_t> {
    if (e.event == 12) DestroyWindow(hwnd_);
    return std::nullopt;
  };
  ASSERT_NE(make(WindowProperties{}), nullptr);
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_EQ(recorder.count(1), 0);
  EXPECT_EQ(recorder.count(2), 1);
}

TEST_F(WindowUnitTest, EndOfSessionAsksWhetherTheWindowMayClose) {
  EventRecorder recorder;
  ASSERT_NE(make(WindowProperties{}), nullptr);
  recorder.events.clear();
  EXPECT_EQ(SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0), TRUE);
  recorder.reply = [](const ui_test::RecordedEvent&) -> std::optional<std::uint32_t> { return 0; };
  EXPECT_EQ(SendMessageA(hwnd_, WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(recorder.numbers(), (std::vector<std::int32_t>{1, 1}));
}

TEST_F(WindowUnitTest, ShowHideMoveSizeAndFirstActivation) {
  EventRecorder recorder;
  ASSERT_NE(make(WindowProperties{}), nullptr);
  ui_test::ParentWindow other;
  recorder.events.clear();

  ShowWindow(hwnd_, SW_SHOW);
  SetActiveWindow(hwnd_);
  ui_test::settle();
  EXPECT_EQ(recorder.count(10), 1);
  EXPECT_EQ(recorder.count(8), 1);

  SetActiveWindow(other.hwnd());
  SetActiveWindow(hwnd_);
  ui_test::settle();
  EXPECT_EQ(recorder.count(8), 1) << "only the first activation";

  recorder.events.clear();
  SetWindowPos(hwnd_, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(recorder.numbers(), (std::vector<std::int32_t>{3}));
  recorder.events.clear();
  SetWindowPos(hwnd_, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(recorder.numbers(), (std::vector<std::int32_t>{4}));
  recorder.events.clear();
  ShowWindow(hwnd_, SW_HIDE);
  EXPECT_EQ(recorder.count(11), 1);
}

}  // namespace
