// A parent window that records the list view's (and its header's) notifications and answers
// them as a test asks, plus helpers to build and fill a report-view list view.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api.h"
#include "platform/api/listview.h"
#include "platform/api/scrollbar.h"
#include "platform/winsys/headless.h"
#include "tests/platform/controls/window_test.h"
#include "tests/support/window_class.h"

namespace listview_test {

struct Note {
  UINT code = 0;
  HWND from = nullptr;
  int item = -1;
  int subitem = 0;
  UINT old_state = 0;
  UINT new_state = 0;
  UINT changed = 0;
  POINT at{};
  std::string text;
  bool text_null = false;
  int width = -1;  // header notifications carrying HDI_WIDTH
};

struct Answers {
  LRESULT begin_edit = 0;     // non-zero cancels label editing
  LRESULT end_edit = TRUE;    // TRUE accepts the new label
  LRESULT delete_all = 0;     // non-zero suppresses LVN_DELETEITEM per row
  LRESULT item_changing = 0;  // non-zero vetoes state changes
  std::string info_tip;       // copied into LVN_GETINFOTIPA's buffer
};

inline std::vector<Note>& notes() {
  static std::vector<Note> log;
  return log;
}

inline Answers& answers() {
  static Answers a;
  return a;
}

inline LRESULT record(LPARAM lp) {
  const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
  Note n;
  n.code = hdr->code;
  n.from = hdr->hwndFrom;
  const UINT code = hdr->code;
  if (code == NM_CLICK || code == NM_DBLCLK || code == NM_RCLICK || code == NM_RDBLCLK ||
      code == LVN_ITEMACTIVATE) {
    const auto* nm = reinterpret_cast<const NMITEMACTIVATE*>(lp);
    n.item = nm->iItem;
    n.subitem = nm->iSubItem;
    n.at = nm->ptAction;
  } else if (code == LVN_ITEMCHANGED || code == LVN_ITEMCHANGING || code == LVN_INSERTITEM ||
             code == LVN_DELETEITEM || code == LVN_DELETEALLITEMS || code == LVN_COLUMNCLICK ||
             code == LVN_HOTTRACK || code == LVN_BEGINDRAG) {
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
    n.item = nm->iItem;
    n.subitem = nm->iSubItem;
    n.old_state = nm->uOldState;
    n.new_state = nm->uNewState;
    n.changed = nm->uChanged;
  } else if (code == LVN_BEGINLABELEDITA || code == LVN_ENDLABELEDITA) {
    const auto* nm = reinterpret_cast<const NMLVDISPINFOA*>(lp);
    n.item = nm->item.iItem;
    n.text_null = nm->item.pszText == nullptr;
    if (nm->item.pszText) n.text = nm->item.pszText;
  } else if (code == LVN_GETINFOTIPA) {
    auto* nm = reinterpret_cast<NMLVGETINFOTIPA*>(lp);
    n.item = nm->iItem;
    const std::string& tip = answers().info_tip;
    if (!tip.empty() && nm->pszText && nm->cchTextMax > static_cast<int>(tip.size())) {
      std::copy(tip.begin(), tip.end(), nm->pszText);
      nm->pszText[tip.size()] = '\0';
    }
  } else if (code == LVN_KEYDOWN) {
    n.item = reinterpret_cast<const NMLVKEYDOWN*>(lp)->wVKey;
  } else if (code >= HDN_ENDDRAG && code <= HDN_ITEMCHANGINGA) {
    const auto* nm = reinterpret_cast<const NMHEADERA*>(lp);
    n.item = nm->iItem;
    if (nm->pitem && (nm->pitem->mask & HDI_WIDTH)) n.width = nm->pitem->cxy;
  }
  notes().push_back(n);
  switch (code) {
    case LVN_BEGINLABELEDITA:
      return answers().begin_edit;
    case LVN_ENDLABELEDITA:
      return answers().end_edit;
    case LVN_DELETEALLITEMS:
      return answers().delete_all;
    case LVN_ITEMCHANGING:
      return answers().item_changing;
    default:
      return 0;
  }
}

inline LRESULT CALLBACK parent_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY && lp) return record(lp);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

inline const char* parent_class() {
  return test_support::test_window_class("ListViewTestParent", parent_proc, controls_test::dialog_look());
}

class ListViewTest : public controls_test::WindowTest {
 protected:
  static constexpr int kId = 77;

  void SetUp() override {
    notes().clear();
    answers() = Answers{};
    open_parent(parent_class(), "list", {40, 40, 560, 440});
  }

  HWND make_list(DWORD style, DWORD ex_style = WS_EX_CLIENTEDGE, RECT r = RECT{10, 10, 360, 260}) {
    lv_ = CreateWindowExA(ex_style, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left,
                          r.top, r.right - r.left, r.bottom - r.top, parent_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), nullptr, nullptr);
    EXPECT_NE(lv_, nullptr);
    return lv_;
  }

  void add_column(int index, const char* title, int width, int fmt = LVCFMT_LEFT) {
    LVCOLUMNA col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = fmt;
    col.cx = width;
    col.pszText = const_cast<LPSTR>(title);
    col.iSubItem = index;
    ASSERT_EQ(
        SendMessageA(lv_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col)),
        index);
  }

  int insert_row(int at, const std::string& text, LPARAM param = 0) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<LPSTR>(text.c_str());
    item.lParam = param;
    return static_cast<int>(SendMessageA(lv_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  }

  bool set_text(int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<LPSTR>(text.c_str());
    return SendMessageA(lv_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) !=
           0;
  }

  std::string text(int row, int column, int buffer = 256) {
    std::string out(static_cast<std::size_t>(buffer), '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = out.data();
    item.cchTextMax = buffer;
    const auto n =
        SendMessageA(lv_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    out.resize(static_cast<std::size_t>(n));
    return out;
  }

  // The report view of the program: two columns, `rows` rows "row N" / "addr N".
  void fill(int rows) {
    add_column(0, "Id", 70);
    add_column(1, "Address", 200);
    for (int i = 0; i < rows; ++i) {
      ASSERT_EQ(insert_row(i, "row " + std::to_string(i), i), i);
      ASSERT_TRUE(set_text(i, 1, "addr " + std::to_string(i)));
    }
    idle();
    notes().clear();
  }

  RECT item_rect(int row, int code = LVIR_BOUNDS) {
    RECT r{};
    r.left = code;
    SendMessageA(lv_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r;
  }

  // A point on the row's label, a few pixels in from its left edge.
  POINT on_label(int row) {
    const RECT r = item_rect(row, LVIR_LABEL);
    return POINT{r.left + 4, (r.top + r.bottom) / 2};
  }

  UINT state(int row, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) {
    return static_cast<UINT>(SendMessageA(lv_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
  }

  int top() { return static_cast<int>(SendMessageA(lv_, LVM_GETTOPINDEX, 0, 0)); }
  int per_page() { return static_cast<int>(SendMessageA(lv_, LVM_GETCOUNTPERPAGE, 0, 0)); }

  std::vector<Note> of(UINT code) const {
    std::vector<Note> out;
    for (const Note& n : notes())
      if (n.code == code) out.push_back(n);
    return out;
  }

  std::vector<int> selected() {
    std::vector<int> out;
    for (int i = -1; (i = static_cast<int>(
                          SendMessageA(lv_, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
      out.push_back(i);
    return out;
  }

  HWND lv_ = nullptr;
};

}  // namespace listview_test
