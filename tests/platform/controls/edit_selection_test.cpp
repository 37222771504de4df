// Selection by keyboard, mouse and message, the clipboard round trip and undo.
#include "tests/platform/controls/edit_fixture.h"

namespace edit_test {
namespace {

class EditSelection : public EditTest {
 protected:
  // A client point a quarter into the character at `pos` (of `bytes` bytes) of an edit.
  static POINT point_of(HWND e, int pos, int bytes = 1) {
    const LRESULT here = SendMessageA(e, EM_POSFROMCHAR, static_cast<WPARAM>(pos), 0);
    const LRESULT next = SendMessageA(e, EM_POSFROMCHAR, static_cast<WPARAM>(pos + bytes), 0);
    int x = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(here)));
    if (next != -1) x += (static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(next))) - x) / 4;
    return POINT{x, static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(here))) + 5};
  }
};

TEST_F(EditSelection, ShiftArrowsAndWordsExtendTheSelection) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 300, 34});
  type("lyrics 中文歌词 end");
  record().commands.clear();
  press(VK_HOME);
  chord(VK_SHIFT, VK_RIGHT, 2);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{2}));
  press(VK_RIGHT);  // collapses to the selection's end
  EXPECT_EQ(selection(e), std::make_pair(DWORD{2}, DWORD{2}));
  press(VK_HOME);
  chord(VK_CONTROL, VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{7}, DWORD{7}));
  chord(VK_CONTROL, VK_RIGHT);  // over the Chinese run and the blank
  EXPECT_EQ(selection(e), std::make_pair(DWORD{16}, DWORD{16}));
  chord(VK_CONTROL, VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{7}, DWORD{7}));
  chord(VK_SHIFT, VK_END);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{7}, DWORD{19}));
  chord(VK_CONTROL, 'A');
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{19}));
  EXPECT_EQ(count(e, EN_CHANGE), 0);
}

TEST_F(EditSelection, SetSelHandlesMinusOneAndOutOfRange) {
  HWND e = make_edit(ES_AUTOHSCROLL, {10, 10, 300, 34}, 100, "abcdef");
  SendMessageA(e, EM_SETSEL, 0, -1);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{6}));
  SendMessageA(e, EM_SETSEL, 4, 2);  // reversed: the lower value starts the selection
  EXPECT_EQ(selection(e), std::make_pair(DWORD{2}, DWORD{4}));
  SendMessageA(e, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  const auto [s, t] = selection(e);
  EXPECT_EQ(s, t) << "(-1, x) deselects";
  SendMessageA(e, EM_SETSEL, 3, 99);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{3}, DWORD{6}));
  const LRESULT packed = SendMessageA(e, EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(packed)), 3);
  EXPECT_EQ(HIWORD(static_cast<DWORD_PTR>(packed)), 6);
}

TEST_F(EditSelection, MouseClickDragDoubleClickAndShiftClick) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 400, 34});
  SetWindowTextA(e, ansi("hello 中文 world").c_str());
  idle();
  hl::click(e, point_of(e, 1));
  idle();
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{1}));
  // Drag from inside "hello" to inside "world".
  hl::advance_clock(1000);
  hl::mouse_move(e, point_of(e, 0));
  hl::mouse_button(e, hl::Button::left, true, point_of(e, 0));
  hl::mouse_move(e, point_of(e, 8));
  hl::mouse_move(e, point_of(e, 13));
  hl::mouse_button(e, hl::Button::left, false, point_of(e, 13));
  idle();
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{13}));
  EXPECT_EQ(GetCapture(), nullptr);
  // Double click on a Chinese character selects the Chinese run.
  hl::advance_clock(1000);
  hl::double_click(e, point_of(e, 8, 2));
  idle();
  EXPECT_EQ(selection(e), std::make_pair(DWORD{6}, DWORD{10}));
  hl::advance_clock(1000);
  hl::click(e, point_of(e, 1));
  hl::advance_clock(1000);
  hl::key_down(VK_SHIFT);
  hl::click(e, point_of(e, 3));
  hl::key_up(VK_SHIFT);
  idle();
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{3}));
}

TEST_F(EditSelection, DragPastTheEdgeScrollsTheText) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 110, 34});
  SetWindowTextA(e, "the quick brown fox jumps over the lazy dog again and again");
  idle();
  ASSERT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  hl::mouse_move(e, {5, 8});
  hl::mouse_button(e, hl::Button::left, true, {5, 8});
  hl::mouse_move(e, {300, 8});
  idle();
  for (int i = 0; i < 40 && SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0) == 0; ++i) {
    Sleep(20);
    idle();
  }
  hl::mouse_button(e, hl::Button::left, false, {300, 8});
  idle();
  EXPECT_GT(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the first visible character moved";
  EXPECT_GT(selection(e).second, 10u);
}

TEST_F(EditSelection, ClipboardRoundTrip) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 300, 34});
  type("复制 copy");
  SendMessageA(e, EM_SETSEL, 0, 4);
  chord(VK_CONTROL, 'C');
  EXPECT_EQ(hl::clipboard_text(), "复制");
  press(VK_END);
  chord(VK_CONTROL, 'V');
  EXPECT_EQ(text_of(e), ansi("复制 copy复制"));
  SendMessageA(e, EM_SETSEL, 4, 9);
  chord(VK_CONTROL, 'X');
  EXPECT_EQ(hl::clipboard_text(), " copy");
  EXPECT_EQ(text_of(e), ansi("复制复制"));
  // Shift+Insert pastes, Shift+Delete cuts, Ctrl+Insert copies.
  press(VK_HOME);
  chord(VK_SHIFT, VK_INSERT);
  EXPECT_EQ(text_of(e), ansi(" copy复制复制"));
  SendMessageA(e, EM_SETSEL, 0, 1);
  chord(VK_SHIFT, VK_DELETE);
  EXPECT_EQ(text_of(e), ansi("copy复制复制"));
  EXPECT_EQ(hl::clipboard_text(), " ");
  // The message forms do the same.
  SendMessageA(e, EM_SETSEL, 0, 4);
  SendMessageA(e, WM_COPY, 0, 0);
  EXPECT_EQ(hl::clipboard_text(), "copy");
  SendMessageA(e, WM_CLEAR, 0, 0);
  EXPECT_EQ(text_of(e), ansi("复制复制"));
  SendMessageA(e, WM_PASTE, 0, 0);
  EXPECT_EQ(text_of(e), ansi("copy复制复制"));
}

TEST_F(EditSelection, PastingLinesIntoSingleLineKeepsTheFirst) {
  HWND source = make_edit(ES_MULTILINE, {10, 50, 300, 150}, 101, "first 行\r\nsecond");
  SendMessageA(source, EM_SETSEL, 0, -1);
  SendMessageA(source, WM_COPY, 0, 0);
  HWND single = focused_edit(ES_AUTOHSCROLL, {10, 10, 300, 34});
  chord(VK_CONTROL, 'V');
  EXPECT_EQ(text_of(single), ansi("first 行"));
  HWND multi = make_edit(ES_MULTILINE, {10, 160, 300, 260}, 102);
  SendMessageA(multi, WM_PASTE, 0, 0);
  EXPECT_EQ(text_of(multi), ansi("first 行\r\nsecond"));
  EXPECT_EQ(SendMessageA(multi, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditSelection, UndoTakesBackTheLastEditAndRedoesIt) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 300, 34});
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), FALSE);
  type("歌词");
  type("abc");
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), TRUE);
  chord(VK_CONTROL, 'Z');  // one typing run is one edit
  EXPECT_EQ(text_of(e), "");
  chord(VK_CONTROL, 'Z');  // undoing the undo puts it back
  EXPECT_EQ(text_of(e), ansi("歌词abc"));
  press(VK_END);
  press(VK_BACK);
  EXPECT_EQ(text_of(e), ansi("歌词ab"));
  EXPECT_EQ(SendMessageA(e, EM_UNDO, 0, 0), TRUE);
  EXPECT_EQ(text_of(e), ansi("歌词abc"));
  SendMessageA(e, EM_SETSEL, 0, 4);
  SendMessageA(e, WM_CUT, 0, 0);
  EXPECT_EQ(text_of(e), "abc");
  SendMessageA(e, WM_UNDO, 0, 0);
  EXPECT_EQ(text_of(e), ansi("歌词abc"));
  SendMessageA(e, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), FALSE);
  // WM_SETTEXT starts afresh: nothing to undo, not modified.
  type("x");
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), TRUE);
  SetWindowTextA(e, "new");
  EXPECT_EQ(SendMessageA(e, EM_CANUNDO, 0, 0), FALSE);
  EXPECT_EQ(SendMessageA(e, EM_GETMODIFY, 0, 0), FALSE);
}

}  // namespace
}  // namespace edit_test
