// Multi-line layout: word wrap of mixed Chinese and Latin text, line queries, vertical
// movement and scrolling by wheel, message and scroll bar.
#include <set>

#include "tests/platform/controls/edit_fixture.h"

namespace edit_test {
namespace {

class EditLayout : public EditTest {};

std::set<std::size_t> boundaries(const std::string& ansi_text) {
  std::set<std::size_t> out;
  for (std::size_t p = 0; p <= ansi_text.size();) {
    out.insert(p);
    if (p == ansi_text.size()) break;
    p += platform::codepage::ansi_char_length(std::string_view(ansi_text).substr(p));
  }
  return out;
}

std::string line_text(HWND e, int line) {
  char buffer[512] = {};
  const WORD room = sizeof buffer - 1;
  std::memcpy(buffer, &room, sizeof room);
  const auto n = SendMessageA(e, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, static_cast<std::size_t>(n));
}

TEST_F(EditLayout, WrapsMixedTextWithoutSplittingCharacters) {
  const std::string text =
      ansi("这是一首很长的中文歌词 with some English words 混合在一起 and the rest of a long line");
  HWND e = make_edit(ES_MULTILINE, {10, 10, 160, 200});
  SetWindowTextA(e, text.c_str());
  const int lines = static_cast<int>(SendMessageA(e, EM_GETLINECOUNT, 0, 0));
  ASSERT_GT(lines, 2);
  const std::set<std::size_t> ok = boundaries(text);
  std::string joined;
  for (int i = 0; i < lines; ++i) {
    const auto start = static_cast<std::size_t>(SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(i), 0));
    EXPECT_TRUE(ok.count(start)) << "line " << i << " starts inside a character at " << start;
    EXPECT_EQ(static_cast<std::size_t>(SendMessageA(e, EM_LINEFROMCHAR, start, 0)),
              static_cast<std::size_t>(i));
    const std::string piece = line_text(e, i);
    EXPECT_EQ(static_cast<std::size_t>(SendMessageA(e, EM_LINELENGTH, start, 0)), piece.size());
    EXPECT_FALSE(piece.empty());
    joined += piece;
  }
  EXPECT_EQ(joined, text) << "soft breaks lose nothing";
  EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(lines), 0), -1);
  // With automatic horizontal scrolling the same text stays on one line.
  HWND wide = make_edit(ES_MULTILINE | ES_AUTOHSCROLL, {170, 10, 320, 200}, 101);
  SetWindowTextA(wide, text.c_str());
  EXPECT_EQ(SendMessageA(wide, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(EditLayout, WordsStayWholeWhenTheyFit) {
  HWND e = make_edit(ES_MULTILINE, {10, 10, 120, 200});
  SetWindowTextA(e, "alpha beta gamma delta epsilon zeta eta theta");
  const int lines = static_cast<int>(SendMessageA(e, EM_GETLINECOUNT, 0, 0));
  ASSERT_GT(lines, 1);
  for (int i = 1; i < lines; ++i) {
    const std::string piece = line_text(e, i);
    EXPECT_NE(piece.front(), ' ');
    const auto start = SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    char before[2] = {};
    SendMessageA(e, EM_SETSEL, static_cast<WPARAM>(start - 1), start);
    const std::string whole = text_of(e);
    before[0] = whole[static_cast<std::size_t>(start - 1)];
    EXPECT_EQ(before[0], ' ') << "line " << i << " starts inside a word";
  }
}

TEST_F(EditLayout, UpDownKeepTheColumnAndPositionsRoundTrip) {
  HWND e = focused_edit(ES_MULTILINE | ES_WANTRETURN, {10, 10, 300, 200});
  SetWindowTextA(e, "abcdef\r\nab\r\nabcdef");
  SendMessageA(e, EM_SETSEL, 4, 4);
  press(VK_DOWN);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{10}, DWORD{10})) << "end of the short line";
  press(VK_DOWN);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{16}, DWORD{16})) << "back in the remembered column";
  chord(VK_CONTROL, VK_HOME);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{0}));
  chord(VK_CONTROL, VK_END);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{18}, DWORD{18}));
  press(VK_LEFT);
  press(VK_HOME);
  press(VK_LEFT);  // over the line break as one step
  EXPECT_EQ(selection(e), std::make_pair(DWORD{10}, DWORD{10}));
  for (WPARAM pos : {0, 3, 8, 13}) {
    const LRESULT pt = SendMessageA(e, EM_POSFROMCHAR, pos, 0);
    ASSERT_NE(pt, -1);
    const LRESULT back = SendMessageA(e, EM_CHARFROMPOS, 0, pt);
    EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(back)), pos);
  }
  EXPECT_EQ(HIWORD(static_cast<DWORD_PTR>(
                SendMessageA(e, EM_CHARFROMPOS, 0, SendMessageA(e, EM_POSFROMCHAR, 13, 0)))),
            2);
}

TEST_F(EditLayout, WheelMessagesAndScrollBarScrollLines) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "第 " + std::to_string(i) + " 行\r\n";
  HWND e = make_edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, {10, 10, 260, 160});
  SetWindowTextA(e, ansi(text).c_str());
  SetFocus(e);
  idle();
  record().commands.clear();
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  hl::wheel(e, {50, 50}, -WHEEL_DELTA);
  idle();
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  EXPECT_EQ(count(e, EN_VSCROLL), 1);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
  EXPECT_EQ(si.nPos, 3);
  EXPECT_EQ(si.nMax, 40);
  hl::wheel(e, {50, 50}, WHEEL_DELTA);
  idle();
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(SendMessageA(e, EM_LINESCROLL, 0, 5), TRUE);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
  SendMessageA(e, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 6);
  SendMessageA(e, WM_VSCROLL, SB_BOTTOM, 0);
  const LRESULT last_first = SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(last_first, 20);
  SendMessageA(e, EM_LINESCROLL, 0, 100);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), last_first) << "never past the end";
  // Moving the caret to the top brings it into view again.
  SendMessageA(e, EM_SETSEL, 0, 0);
  SendMessageA(e, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // A click on the bar's lower arrow scrolls one line.
  RECT wr{}, cr{};
  GetWindowRect(e, &wr);
  GetClientRect(e, &cr);
  POINT corner{cr.right + 4, cr.bottom - 4};
  hl::click(e, corner);
  idle();
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
}

TEST_F(EditLayout, TypingPastTheBottomScrollsTheCaretIntoView) {
  HWND e = focused_edit(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, {10, 10, 200, 70});
  for (int i = 0; i < 8; ++i) {
    type("行");
    press(VK_RETURN);
  }
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 9);
  EXPECT_GT(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  chord(VK_CONTROL, VK_HOME);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  press(VK_NEXT);
  EXPECT_GT(SendMessageA(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
}

}  // namespace
}  // namespace edit_test
