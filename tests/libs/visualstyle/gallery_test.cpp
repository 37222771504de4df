// Every painter in every style on one window, saved as PNG files in the build folder for review,
// with checks on what our own painters must show: check marks, radio dots, the drop button,
// the frames of combo boxes, drop-down lists and up-downs, the half of an up-down under the
// mouse.
#include <filesystem>

#include "libs/visualstyle/classify.h"
#include "platform/api/edit.h"
#include "tests/libs/visualstyle/style_fixture.h"

namespace vs_test {
namespace {

namespace hl = platform::headless;
namespace vs = libs::visualstyle;

// Stand-ins for combo box classes the platform doesn't build: a white box that paints nothing
// else, so the painter's frame and drop button are what shows.
const char* stand_in(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = name;
  RegisterClassA(&wc);
  return name;
}

bool has_colour(HWND w, RECT r, COLORREF colour) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (window_pixel(w, x, y) == colour) return true;
  return false;
}

class Gallery : public StyleTest {
 protected:
  void build() {
    SetWindowPos(parent_, nullptr, 20, 20, 560, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    int y = 10;
    for (auto [text, style] : {std::pair{"Normal", BS_PUSHBUTTON},
                               {"Default", BS_DEFPUSHBUTTON},
                               {"Pressed", BS_PUSHBUTTON},
                               {"Checked", BS_AUTOCHECKBOX | BS_PUSHLIKE},
                               {"Disabled", BS_PUSHBUTTON | WS_DISABLED},
                               {"Focused", BS_PUSHBUTTON}}) {
      push_.push_back(with_font(make("BUTTON", style, {10, y, 110, y + 28}, text)));
      y += 34;
    }
    SendMessageA(push_[2], BM_SETSTATE, TRUE, 0);
    SendMessageA(push_[3], BM_SETCHECK, BST_CHECKED, 0);

    y = 10;
    for (auto [text, style] : {std::pair{"Unchecked", BS_AUTOCHECKBOX},
                               {"Checked", BS_AUTOCHECKBOX},
                               {"Mixed", BS_AUTO3STATE},
                               {"Disabled", BS_AUTOCHECKBOX | WS_DISABLED},
                               {"Radio on", BS_AUTORADIOBUTTON | WS_GROUP},
                               {"Radio off", BS_AUTORADIOBUTTON},
                               {"Right text", BS_AUTOCHECKBOX | BS_LEFTTEXT}}) {
      boxes_.push_back(with_font(make("BUTTON", style, {125, y, 235, y + 20}, text)));
      y += 26;
    }
    SendMessageA(boxes_[1], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(boxes_[2], BM_SETCHECK, BST_INDETERMINATE, 0);
    SendMessageA(boxes_[3], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(boxes_[4], BM_SETCHECK, BST_CHECKED, 0);

    edit_ = with_font(make("EDIT", WS_BORDER, {250, 10, 390, 34}, "Edit"));
    with_font(make("EDIT", WS_BORDER | ES_READONLY, {250, 40, 390, 64}, "Read-only"));
    with_font(make("EDIT", WS_BORDER | WS_DISABLED, {250, 70, 390, 94}, "Disabled"));
    HWND buddy = with_font(make("EDIT", WS_BORDER, {250, 100, 390, 124}, "12"));
    HWND spin = make("msctls_updown32", UDS_ALIGNRIGHT | UDS_SETBUDDYINT, {0, 0, 16, 24});
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    up_down_ = make("msctls_updown32", 0, {250, 130, 268, 170});
    horizontal_ = make("msctls_updown32", UDS_HORZ, {280, 140, 320, 160});
    combo_ = with_font(make(stand_in("ComboBox"), vs::kComboDropDownStyle, {250, 180, 390, 204}));
    with_font(make("ComboBox", vs::kComboDropListStyle | WS_DISABLED, {250, 210, 390, 234}));
    drop_list_ = make(stand_in("ComboLBox"), 0, {250, 236, 390, 290});

    groups_.push_back(with_font(make("BUTTON", BS_GROUPBOX, {400, 10, 540, 90}, "Left")));
    groups_.push_back(with_font(make("BUTTON", BS_GROUPBOX | BS_CENTER, {400, 100, 540, 180}, "Centre")));
    groups_.push_back(with_font(make("BUTTON", BS_GROUPBOX | BS_RIGHT, {400, 190, 540, 250}, "Right")));
    groups_.push_back(make("BUTTON", BS_GROUPBOX, {400, 255, 540, 295}));
    idle();
  }

  static HWND with_font(HWND w) {
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return w;
  }

  std::vector<HWND> push_, boxes_, groups_;
  HWND edit_ = nullptr, up_down_ = nullptr, horizontal_ = nullptr, combo_ = nullptr, drop_list_ = nullptr;
};

TEST_F(Gallery, EveryPainterInEveryStyle) {
  build();
  for (int style = 1; style <= 3; ++style) {
    SCOPED_TRACE(style);
    vs::set_visual_style(style);
    SetFocus(push_[5]);
    hl::mouse_move(up_down_, POINT{8, 5});
    idle();
    const std::string png =
        std::string(VS_PICTURE_DIR) + "/visual_style_gallery_" + std::to_string(style) + ".png";
    std::filesystem::remove(png);
    ASSERT_TRUE(hl::save_png(parent_, png));
    EXPECT_GT(std::filesystem::file_size(png), 1000u);

    for (const auto& group : {push_, boxes_, groups_})
      for (HWND w : group) EXPECT_TRUE(styled(w));
    for (HWND w : {edit_, up_down_, horizontal_, combo_, drop_list_}) EXPECT_TRUE(styled(w));

    const COLORREF mark = vs::mark_colour(style);
    EXPECT_TRUE(has_colour(boxes_[1], {0, 0, 13, 20}, mark)) << "check mark";
    EXPECT_FALSE(has_colour(boxes_[0], {0, 0, 13, 20}, mark)) << "no mark when unchecked";
    EXPECT_TRUE(has_colour(boxes_[2], {0, 0, 13, 20}, mark)) << "indeterminate square";
    EXPECT_FALSE(has_colour(boxes_[3], {0, 0, 13, 20}, mark)) << "a disabled mark is grey";
    EXPECT_TRUE(has_colour(boxes_[3], {0, 0, 13, 20}, vs::kGreyText));
    EXPECT_TRUE(has_colour(boxes_[4], {4, 7, 9, 13}, mark)) << "radio dot";
    EXPECT_FALSE(has_colour(boxes_[5], {0, 0, 13, 20}, mark));
    EXPECT_TRUE(has_colour(boxes_[6], {97, 0, 110, 20}, vs::edit_frame_colour(style))) << "box on the right";

    const COLORREF edit_colour = vs::edit_frame_colour(style);
    EXPECT_TRUE(same_colour(window_pixel(combo_, 0, 12), edit_colour));
    EXPECT_TRUE(same_colour(window_pixel(combo_, 1, 12), vs::window_colour()));
    EXPECT_TRUE(has_colour(combo_, {120, 4, 138, 20}, vs::kBlack)) << "drop arrow";
    EXPECT_TRUE(same_colour(window_pixel(drop_list_, 0, 30), edit_colour));
    EXPECT_TRUE(same_colour(window_pixel(drop_list_, 139, 30), edit_colour));
    EXPECT_TRUE(same_colour(window_pixel(up_down_, 0, 10), edit_colour));
    EXPECT_TRUE(same_colour(window_pixel(horizontal_, 20, 10), edit_colour)) << "the halves meet";

    // The mouse is over the up-down's upper half: that half is lit, the lower one is not.
    EXPECT_EQ(flags_of(up_down_) & (vs::flag::kMouseOver | vs::flag::kOverFirstHalf),
              vs::flag::kMouseOver | vs::flag::kOverFirstHalf);
    // The lower colour of the mouse-over quad, the same in every style.
    constexpr COLORREF kLit = 0x0097E5;
    EXPECT_TRUE(near_colour(window_pixel(up_down_, 5, 18), kLit, 60));
    EXPECT_FALSE(near_colour(window_pixel(up_down_, 5, 38), kLit, 60));
    hl::mouse_move(up_down_, POINT{8, 35});
    idle();
    EXPECT_EQ(flags_of(up_down_) & vs::flag::kOverFirstHalf, 0u);
    EXPECT_TRUE(near_colour(window_pixel(up_down_, 5, 38), kLit, 60));
    hl::mouse_move(parent_, POINT{5, 300});
    idle();
  }
}

TEST_F(Gallery, ComboPressedWhileTheButtonIsDown) {
  vs::set_visual_style(1);
  HWND combo = make(stand_in("ComboBox"), vs::kComboDropListStyle, {10, 10, 150, 34});
  idle();
  const COLORREF at_rest = window_pixel(combo, 130, 4);
  SendMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 10));
  EXPECT_EQ(flags_of(combo) & vs::flag::kPressed, vs::flag::kPressed);
  EXPECT_NE(window_pixel(combo, 130, 4), at_rest);
  SendMessageA(combo, WM_LBUTTONUP, 0, MAKELPARAM(130, 10));
  EXPECT_EQ(flags_of(combo) & vs::flag::kPressed, 0u);
  EXPECT_EQ(window_pixel(combo, 130, 4), at_rest);
  EXPECT_EQ(flags_of(combo) & vs::flag::kComboDropList, vs::flag::kComboDropList);
}

}  // namespace
}  // namespace vs_test
