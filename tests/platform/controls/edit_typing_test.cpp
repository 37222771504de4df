// Typing into edit controls: Chinese and Latin text, multi-byte characters assembled from
// WM_CHAR bytes, deletion by whole characters, the text limit and the input styles.
#include "tests/platform/controls/edit_fixture.h"

namespace edit_test {
namespace {

class EditTyping : public EditTest {};

TEST_F(EditTyping, ChineseAndLatinIntoSingleLineReadBack) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 250, 34});
  type("中文歌词");
  type("Love Song");
  EXPECT_EQ(text_of(e), ansi("中文歌词Love Song"));
  EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 8 + 9);
  // One change per typed character, each announced by an update first.
  EXPECT_EQ(count(e, EN_CHANGE), 13);
  EXPECT_EQ(count(e, EN_UPDATE), 13);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{17}, DWORD{17}));
  // The window system's copy follows, for readers on other threads.
  char copy[64] = {};
  EXPECT_EQ(GetWindowTextA(e, copy, sizeof copy), 17);
  EXPECT_EQ(std::string(copy), ansi("中文歌词Love Song"));
}

TEST_F(EditTyping, MultiLineWithEnterKeepsLines) {
  HWND e = focused_edit(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, {10, 10, 300, 150});
  type("第一行");
  press(VK_RETURN);
  type("second 行");
  EXPECT_EQ(text_of(e), ansi("第一行\r\nsecond 行"));
  EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 1, 0), 8);
  EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 8, 0), 9);
  EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 9, 0), 1);
  char line[32] = {};
  line[0] = static_cast<char>(sizeof line);
  EXPECT_EQ(SendMessageA(e, EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 6);
  EXPECT_EQ(std::string(line, 6), ansi("第一行"));
  EXPECT_EQ(SendMessageA(e, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

TEST_F(EditTyping, EnterWithoutWantReturnInsertsNothing) {
  HWND e = focused_edit(ES_MULTILINE, {10, 10, 300, 150});
  type("a");
  press(VK_RETURN);
  EXPECT_EQ(text_of(e), "a");
  EXPECT_EQ(SendMessageA(e, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  HWND single = make_edit(0, {10, 160, 200, 184}, 101);
  SetFocus(single);
  type("b");
  press(VK_RETURN);
  EXPECT_EQ(text_of(single), "b");
}

TEST_F(EditTyping, FourByteCharacterGoesWithOneBackspace) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 250, 34});
  type("a😀b");
  ASSERT_EQ(text_of(e), ansi("a😀b"));
  ASSERT_EQ(text_of(e).size(), 6u);
  press(VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{5}, DWORD{5}));
  press(VK_BACK);
  EXPECT_EQ(text_of(e), "ab");
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{1}));
}

TEST_F(EditTyping, CharacterBytesAssembleBeforeInsertion) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 250, 34});
  const std::string zhong = ansi("中");
  const std::string emoji = ansi("😀");
  ASSERT_EQ(zhong.size(), 2u);
  ASSERT_EQ(emoji.size(), 4u);
  SendMessageA(e, WM_CHAR, static_cast<unsigned char>(zhong[0]), 1);
  EXPECT_EQ(text_of(e), "");
  EXPECT_EQ(count(e, EN_CHANGE), 0);
  SendMessageA(e, WM_CHAR, static_cast<unsigned char>(zhong[1]), 1);
  EXPECT_EQ(text_of(e), zhong);
  for (int i = 0; i < 3; ++i) SendMessageA(e, WM_CHAR, static_cast<unsigned char>(emoji[i]), 1);
  EXPECT_EQ(text_of(e), zhong);
  SendMessageA(e, WM_CHAR, static_cast<unsigned char>(emoji[3]), 1);
  EXPECT_EQ(text_of(e), zhong + emoji);
  EXPECT_EQ(count(e, EN_CHANGE), 2);
  // A lead byte followed by a byte that cannot trail it is dropped, not half inserted.
  SendMessageA(e, WM_CHAR, 0x81, 1);
  SendMessageA(e, WM_CHAR, 0x7F, 1);
  EXPECT_EQ(text_of(e), zhong + emoji);
  SendMessageA(e, WM_CHAR, 'z', 1);
  EXPECT_EQ(text_of(e), zhong + emoji + "z");
}

TEST_F(EditTyping, CaretStepsOverWholeCharacters) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 250, 34});
  type("中a文");
  press(VK_HOME);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{0}));
  press(VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{2}, DWORD{2}));
  press(VK_RIGHT);
  press(VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{5}, DWORD{5}));
  press(VK_DELETE);  // at the end: nothing
  EXPECT_EQ(text_of(e), ansi("中a文"));
  press(VK_HOME);
  press(VK_DELETE);
  EXPECT_EQ(text_of(e), ansi("a文"));
  // A position inside a character is taken as its start.
  SendMessageA(e, EM_SETSEL, 2, 2);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{1}, DWORD{1}));
}

TEST_F(EditTyping, ChangeNotificationsCountContentWritesOnly) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 250, 34});
  SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
  EXPECT_EQ(count(e, EN_CHANGE), 1);
  EXPECT_EQ(count(e, EN_UPDATE), 1);
  SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  EXPECT_EQ(text_of(e), "");
  EXPECT_EQ(count(e, EN_CHANGE), 2);
  SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"));
  SendMessageA(e, EM_SETSEL, 0, -1);
  SendMessageA(e, EM_SETSEL, 1, 2);
  EXPECT_EQ(count(e, EN_CHANGE), 3);
  type("x");
  EXPECT_EQ(text_of(e), "axc");
  EXPECT_EQ(count(e, EN_CHANGE), 4);
  HWND multi = make_edit(ES_MULTILINE, {10, 50, 250, 150}, 101);
  SetWindowTextA(multi, ansi("两行\r\n文字").c_str());
  EXPECT_EQ(count(multi, EN_CHANGE), 1);
  EXPECT_EQ(SendMessageA(multi, EM_GETMODIFY, 0, 0), FALSE);
}

TEST_F(EditTyping, LimitRefusesExtraInputAndNeverHalfACharacter) {
  HWND e = focused_edit(ES_AUTOHSCROLL, {10, 10, 250, 34});
  EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageA(e, EM_LIMITTEXT, 5, 0);
  EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 5);
  type("abcd");
  type("中");  // two bytes, one left: refused whole
  EXPECT_EQ(text_of(e), "abcd");
  EXPECT_EQ(count(e, EN_MAXTEXT), 1);
  type("ef");
  EXPECT_EQ(text_of(e), "abcde");
  EXPECT_EQ(count(e, EN_MAXTEXT), 2);
  // A pasted run is cut at the last whole character that fits.
  SendMessageA(e, EM_SETSEL, 0, -1);
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ansi("一二三").c_str()));
  EXPECT_EQ(text_of(e), ansi("一二"));
  // WM_SETTEXT is not limited.
  SetWindowTextA(e, "0123456789");
  EXPECT_EQ(text_of(e), "0123456789");
  SendMessageA(e, EM_LIMITTEXT, 0, 0);
  EXPECT_GT(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(EditTyping, WithoutAutoHScrollTextStopsAtTheRightEdge) {
  HWND e = focused_edit(0, {10, 10, 70, 34});
  type("abcdefghijklmnopqrstuvwxyz0123456789");
  const std::string kept = text_of(e);
  EXPECT_GT(kept.size(), 3u);
  EXPECT_LT(kept.size(), 36u);
  EXPECT_EQ(kept, std::string("abcdefghijklmnopqrstuvwxyz0123456789").substr(0, kept.size()));
  EXPECT_GT(count(e, EN_MAXTEXT), 0);
  EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "never scrolls";
}

TEST_F(EditTyping, InputStylesFilterAndConvert) {
  HWND number = focused_edit(ES_NUMBER, {10, 10, 200, 34}, 101);
  type("1a2中3");
  EXPECT_EQ(text_of(number), "123");
  HWND upper = focused_edit(ES_UPPERCASE, {10, 40, 200, 64}, 102);
  type("abC中");
  EXPECT_EQ(text_of(upper), ansi("ABC中"));
  HWND lower = focused_edit(ES_LOWERCASE, {10, 70, 200, 94}, 103);
  type("AbC");
  EXPECT_EQ(text_of(lower), "abc");
}

TEST_F(EditTyping, PasswordShowsMaskAndKeepsTheTextToItself) {
  HWND e = focused_edit(ES_PASSWORD | ES_AUTOHSCROLL, {10, 10, 200, 34});
  EXPECT_EQ(SendMessageA(e, EM_GETPASSWORDCHAR, 0, 0), '*');
  type("秘密pw");
  EXPECT_EQ(text_of(e), ansi("秘密pw"));
  // Copy and cut do nothing: the clipboard keeps what it had.
  HWND plain = make_edit(0, {10, 40, 200, 64}, 101, "kept");
  SendMessageA(plain, EM_SETSEL, 0, -1);
  SendMessageA(plain, WM_COPY, 0, 0);
  SendMessageA(e, EM_SETSEL, 0, -1);
  chord(VK_CONTROL, 'C');
  chord(VK_CONTROL, 'X');
  EXPECT_EQ(hl::clipboard_text(), "kept");
  EXPECT_EQ(text_of(e), ansi("秘密pw"));
  // Four mask characters are as wide as four of the mask, whatever the text.
  const LRESULT end = SendMessageA(e, EM_POSFROMCHAR, 4, 0);
  const LRESULT start = SendMessageA(e, EM_POSFROMCHAR, 0, 0);
  SendMessageA(e, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & ES_PASSWORD, 0);
  EXPECT_NE(SendMessageA(e, EM_POSFROMCHAR, 4, 0), end) << "unmasked text is measured as itself";
  EXPECT_EQ(SendMessageA(e, EM_POSFROMCHAR, 0, 0), start);
}

TEST_F(EditTyping, ReadOnlyRefusesTypingButAllowsSelectionAndCopy) {
  HWND e = make_edit(ES_READONLY | ES_AUTOHSCROLL, {10, 10, 250, 34}, 100, "只读 text");
  SetFocus(e);
  idle();
  record().commands.clear();
  type("x");
  press(VK_BACK);
  press(VK_DELETE);
  EXPECT_EQ(text_of(e), ansi("只读 text"));
  EXPECT_EQ(count(e, EN_CHANGE), 0);
  press(VK_HOME);
  chord(VK_SHIFT, VK_RIGHT, 2);
  EXPECT_EQ(selection(e), std::make_pair(DWORD{0}, DWORD{4}));
  chord(VK_CONTROL, 'C');
  EXPECT_EQ(hl::clipboard_text(), "只读");
  chord(VK_CONTROL, 'X');
  chord(VK_CONTROL, 'V');
  EXPECT_EQ(text_of(e), ansi("只读 text"));
  SendMessageA(e, EM_SETREADONLY, FALSE, 0);
  EXPECT_EQ(GetWindowLongA(e, GWL_STYLE) & ES_READONLY, 0);
  type("可");
  EXPECT_EQ(text_of(e), ansi("可 text"));
}

}  // namespace
}  // namespace edit_test
