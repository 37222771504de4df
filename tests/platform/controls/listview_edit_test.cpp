// In-place label editing: begin, type, commit, cancel, accept and reject.
#include "tests/platform/controls/listview_fixture.h"

namespace listview_test {
namespace {

namespace hl = platform::headless;

class LabelEdit : public ListViewTest {
 protected:
  void SetUp() override {
    ListViewTest::SetUp();
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, "EDIT", &wc)) GTEST_SKIP() << "the EDIT control is not there yet";
    make_list(LVS_REPORT | LVS_EDITLABELS);
    fill(5);
  }

  HWND begin(int row) {
    HWND e = reinterpret_cast<HWND>(SendMessageA(lv_, LVM_EDITLABELA, static_cast<WPARAM>(row), 0));
    idle();
    return e;
  }

  void type_over(HWND e, const char* text) {
    SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    idle();
  }
};

TEST_F(LabelEdit, EnterCommitsTheTypedText) {
  HWND e = begin(2);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(GetFocus(), e);
  ASSERT_EQ(of(LVN_BEGINLABELEDITA).size(), 1u);
  EXPECT_EQ(of(LVN_BEGINLABELEDITA)[0].item, 2);
  EXPECT_EQ(of(LVN_BEGINLABELEDITA)[0].text, "row 2");
  type_over(e, "");
  hl::text("new name");
  hl::key_press(VK_RETURN);
  idle();
  const auto ended = of(LVN_ENDLABELEDITA);
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_EQ(ended[0].item, 2);
  EXPECT_EQ(ended[0].text, "new name");
  EXPECT_EQ(text(2, 0), "new name");
  EXPECT_FALSE(IsWindow(e));
  EXPECT_EQ(GetFocus(), lv_);
}

TEST_F(LabelEdit, EscapeCancelsAndARejectedTextIsDropped) {
  HWND e = begin(1);
  ASSERT_NE(e, nullptr);
  type_over(e, "changed");
  hl::key_press(VK_ESCAPE);
  idle();
  ASSERT_EQ(of(LVN_ENDLABELEDITA).size(), 1u);
  EXPECT_TRUE(of(LVN_ENDLABELEDITA)[0].text_null);
  EXPECT_EQ(text(1, 0), "row 1");

  notes().clear();
  answers().end_edit = FALSE;
  e = begin(1);
  ASSERT_NE(e, nullptr);
  type_over(e, "refused");
  hl::key_press(VK_RETURN);
  idle();
  ASSERT_EQ(of(LVN_ENDLABELEDITA).size(), 1u);
  EXPECT_EQ(of(LVN_ENDLABELEDITA)[0].text, "refused");
  EXPECT_EQ(text(1, 0), "row 1");
}

TEST_F(LabelEdit, OwnerCanRefuseToStartAndFocusLossCommits) {
  answers().begin_edit = TRUE;
  EXPECT_EQ(begin(0), nullptr);
  EXPECT_TRUE(of(LVN_ENDLABELEDITA).empty());
  answers().begin_edit = FALSE;
  HWND e = begin(0);
  ASSERT_NE(e, nullptr);
  type_over(e, "by focus");
  SetFocus(parent_);
  idle();
  ASSERT_EQ(of(LVN_ENDLABELEDITA).size(), 1u);
  EXPECT_EQ(text(0, 0), "by focus");
}

TEST_F(LabelEdit, ASecondClickOnTheSelectedLabelStartsEditing) {
  hl::click(lv_, on_label(3));
  idle();
  hl::advance_clock(1000);
  EXPECT_EQ(SendMessageA(lv_, LVM_GETEDITCONTROL, 0, 0), 0);
  hl::click(lv_, on_label(3));
  idle();
  Sleep(GetDoubleClickTime() + 100);
  idle();
  HWND e = reinterpret_cast<HWND>(SendMessageA(lv_, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(of(LVN_BEGINLABELEDITA).size(), 1u);
  EXPECT_EQ(of(LVN_BEGINLABELEDITA)[0].item, 3);
  hl::key_press(VK_ESCAPE);
  idle();
  EXPECT_EQ(SendMessageA(lv_, LVM_GETEDITCONTROL, 0, 0), 0);
}

}  // namespace
}  // namespace listview_test
