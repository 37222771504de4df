// Accelerator tables and the clipboard with its global memory blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "tests/support/headless_recorder.h"
#include "tests/support/headless_test.h"

namespace hl = platform::headless;
using lyr::test::Recorder;

namespace {

class Accelerators : public lyr::test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    if (IsSkipped()) return;
    top_ = rec_.top({100, 100, 500, 400});
    SetActiveWindow(top_);
    SetFocus(top_);
    ACCEL entries[] = {
        {FVIRTKEY | FCONTROL, 'S', 100},
        {FVIRTKEY, VK_F5, 101},
        {FVIRTKEY | FALT, 'X', 102},
        {0, '?', 103},
    };
    table_ = CreateAcceleratorTableA(entries, 4);
    ASSERT_TRUE(table_);
    hl::run_until_idle();
    rec_.clear();
  }
  void TearDown() override {
    if (table_) DestroyAcceleratorTable(table_);
    HeadlessTest::TearDown();
  }
  void run() {
    hl::run_until_idle([&](MSG& m) { return TranslateAcceleratorA(top_, table_, &m) != 0; });
  }
  std::vector<WORD> commands() const {
    std::vector<WORD> ids;
    for (auto& m : rec_.messages({WM_COMMAND})) {
      EXPECT_EQ(HIWORD(m.wp), 1) << "accelerator commands carry 1 in the high word";
      ids.push_back(LOWORD(m.wp));
    }
    return ids;
  }

  Recorder rec_;
  HWND top_ = nullptr;
  HACCEL table_ = nullptr;
};

TEST_F(Accelerators, MatchingKeysBecomeCommands) {
  hl::key_down(VK_CONTROL);
  hl::key_press('S');
  hl::key_up(VK_CONTROL);
  hl::key_press(VK_F5);
  hl::key_down(VK_MENU);
  hl::key_press('X');
  hl::key_up(VK_MENU);
  run();
  EXPECT_EQ(commands(), (std::vector<WORD>{100, 101, 102}));
  EXPECT_TRUE(rec_.messages({WM_CHAR, WM_SYSCHAR}).empty()) << "a translated key makes no character";
}

TEST_F(Accelerators, ModifiersMustMatchExactly) {
  hl::key_press('S');
  hl::key_down(VK_CONTROL);
  hl::key_down(VK_SHIFT);
  hl::key_press('S');
  hl::key_up(VK_SHIFT);
  hl::key_up(VK_CONTROL);
  hl::key_down(VK_SHIFT);
  hl::key_press(VK_F5);
  hl::key_up(VK_SHIFT);
  run();
  EXPECT_TRUE(commands().empty());
  std::string typed;
  for (auto& m : rec_.messages({WM_CHAR})) typed.push_back(static_cast<char>(m.wp));
  EXPECT_EQ(typed, "s\x13") << "plain S types, and Ctrl+Shift+S makes its control character";
}

TEST_F(Accelerators, CharacterEntriesMatchTheCharacter) {
  hl::key_down(VK_SHIFT);
  hl::key_press(VK_OEM_2);  // '?'
  hl::key_up(VK_SHIFT);
  run();
  EXPECT_EQ(commands(), (std::vector<WORD>{103}));
}

TEST_F(Accelerators, BadHandlesAndCopies) {
  MSG m{top_, WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
  EXPECT_EQ(TranslateAcceleratorA(top_, reinterpret_cast<HACCEL>(0x1234), &m), 0);
  EXPECT_EQ(TranslateAcceleratorA(nullptr, table_, &m), 0);
  EXPECT_EQ(TranslateAcceleratorA(top_, table_, nullptr), 0);
  EXPECT_EQ(CreateAcceleratorTableA(nullptr, 3), nullptr);
  ACCEL one{FVIRTKEY, VK_F1, 1};
  EXPECT_EQ(CreateAcceleratorTableA(&one, 0), nullptr);

  EXPECT_EQ(CopyAcceleratorTableA(table_, nullptr, 0), 4);
  ACCEL copy[2] = {};
  EXPECT_EQ(CopyAcceleratorTableA(table_, copy, 2), 2);
  EXPECT_EQ(copy[1].key, VK_F5);
  EXPECT_EQ(copy[1].cmd, 101);

  HACCEL gone = CreateAcceleratorTableA(&one, 1);
  ASSERT_TRUE(DestroyAcceleratorTable(gone));
  EXPECT_FALSE(DestroyAcceleratorTable(gone));
  MSG f1{top_, WM_KEYDOWN, VK_F1, 0, 0, {0, 0}};
  EXPECT_EQ(TranslateAcceleratorA(top_, gone, &f1), 0);
}

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!hl::active()) GTEST_SKIP() << "needs LYRICS_DISPLAY=headless";
  }
  void TearDown() override { CloseClipboard(); }

  static HGLOBAL text_block(const std::string& ansi) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, ansi.size() + 1);
    auto* p = static_cast<char*>(GlobalLock(mem));
    std::memcpy(p, ansi.c_str(), ansi.size() + 1);
    GlobalUnlock(mem);
    return mem;
  }
};

TEST_F(Clipboard, TextRoundTripsThroughTheBackendAsUtf8) {
  const std::string ansi = "\xB8\xE8\xB4\xCA abc";  // "歌词 abc" in the ANSI code page
  ASSERT_TRUE(OpenClipboard(nullptr));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL mem = text_block(ansi);
  EXPECT_EQ(SetClipboardData(CF_TEXT, mem), mem);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(hl::clipboard_text(), "歌词 abc");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(got);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(got))), ansi);
  GlobalUnlock(got);
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_TRUE(wide);
  const auto* w = static_cast<const char16_t*>(GlobalLock(wide));
  EXPECT_EQ(std::u16string(w), u"歌词 abc");
  GlobalUnlock(wide);
  EXPECT_EQ(GetClipboardData(2), nullptr) << "only text formats";
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(Clipboard, RequiresTheClipboardOpenOnThisThread) {
  HGLOBAL mem = text_block("x");
  EXPECT_EQ(SetClipboardData(CF_TEXT, mem), nullptr);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());
  GlobalFree(mem);

  ASSERT_TRUE(OpenClipboard(nullptr));
  bool other_opened = true;
  std::thread([&] { other_opened = OpenClipboard(nullptr) != FALSE; }).join();
  EXPECT_FALSE(other_opened);
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x4321))) << "an invalid owner window";
  ASSERT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, GlobalBlocksValidateHandles) {
  HGLOBAL fixed = GlobalAlloc(GPTR, 16);
  ASSERT_TRUE(fixed);
  EXPECT_EQ(GlobalLock(fixed), fixed) << "fixed blocks are their own address";
  EXPECT_EQ(static_cast<BYTE*>(fixed)[15], 0) << "zero-initialised";
  EXPECT_EQ(GlobalSize(fixed), 16u);
  EXPECT_FALSE(GlobalUnlock(fixed)) << "last unlock answers FALSE";
  EXPECT_EQ(GlobalFree(fixed), nullptr);
  EXPECT_EQ(GlobalFree(fixed), fixed) << "a freed handle is refused";
  EXPECT_EQ(GlobalLock(fixed), nullptr);
  EXPECT_EQ(GlobalSize(fixed), 0u);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(0x999)), nullptr);
  CloseClipboard();
}

}  // namespace
