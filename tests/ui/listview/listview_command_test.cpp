// The list view commands called through the call service with argument records.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "runtime/callback.h"
#include "runtime/heap.h"
#include "runtime/messages.h"
#include "runtime/values.h"
#include "tests/support/runtime_values.h"
#include "tests/ui/listview/listview_fixture.h"
#include "ui/listview/extended_library.h"
#include "ui/listview/listview_commands.h"

namespace listview_test {
namespace {

using test_support::take_text;

using namespace ui::listview;

using ListViewCommandTest = ListViewTest;

TEST_F(ListViewCommandTest, NotifyRoutineHandlesOnlyStartUp) {
  const runtime::LibraryRecord& r = extended_library_record();
  EXPECT_EQ(r.notify(6, 0, 0), -1);
  EXPECT_EQ(r.notify(1, reinterpret_cast<std::intptr_t>(&runtime::runtime_callback), 0), 0);
}

TEST_F(ListViewCommandTest, InsertWithEveryArgumentOmittedAppendsEmptyRows) {
  HWND list = create(song_list_properties())->hwnd();
  runtime::ArgRecord r = call(&insert_item_command, {list_ref()});
  EXPECT_EQ(r.tag, runtime::tag::kInt);
  EXPECT_EQ(static_cast<std::int32_t>(r.lo), 0);
  // Explicitly omitted records (tag 0) are the same as missing ones, whatever their value.
  runtime::ArgRecord stale_value{55, 0, 0};
  r = call(&insert_item_command,
           {list_ref(), stale_value, omitted(), stale_value, stale_value, stale_value, stale_value});
  EXPECT_EQ(static_cast<std::int32_t>(r.lo), 1);
  ASSERT_EQ(row_count(list), 2);
  LVITEMA item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT | LVIF_STATE;
  item.stateMask = 0xFFFF;
  item.iItem = 1;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(item.iImage, -1);
  EXPECT_EQ(item.lParam, 0);
  EXPECT_EQ(item.iIndent, 0);
  EXPECT_EQ(cell(list, 1, 0), "");
}

TEST_F(ListViewCommandTest, InsertPositionsTextAndItemData) {
  HWND list = create(song_list_properties())->hwnd();
  call(&insert_item_command, {list_ref(), omitted(), text("second")});
  EXPECT_EQ(static_cast<std::int32_t>(call(&insert_item_command, {list_ref(), integer(0), text("first")}).lo),
            0);
  EXPECT_EQ(static_cast<std::int32_t>(call(&insert_item_command, {list_ref(), integer(-4), text("last")}).lo),
            2)
      << "a negative position appends";
  const runtime::ArgRecord as_long{7, 0, runtime::tag::kLong};
  call(&insert_item_command,
       {list_ref(), omitted(), text("data"), integer(-9), omitted(), integer(-3), as_long});
  ASSERT_EQ(row_count(list), 4);
  EXPECT_EQ(cell(list, 0, 0), "first");
  EXPECT_EQ(cell(list, 1, 0), "second");
  EXPECT_EQ(cell(list, 2, 0), "last");
  LVITEMA item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT;
  item.iItem = 3;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(item.iImage, -1) << "below -1 means none";
  EXPECT_EQ(item.iIndent, 0) << "a negative indent is none";
  EXPECT_EQ(item.lParam, 7);
}

TEST_F(ListViewCommandTest, SetItemTextWritesAndClearsCells) {
  HWND list = create(song_list_properties())->hwnd();
  call(&insert_item_command, {list_ref()});
  call(&set_item_text_command, {list_ref(), integer(0), integer(1), text("http://lyrics/1.lrc")});
  call(&set_item_text_command, {list_ref(), integer(0), omitted(), text("17")});
  EXPECT_EQ(cell(list, 0, 0), "17");
  EXPECT_EQ(cell(list, 0, 1), "http://lyrics/1.lrc");
  call(&set_item_text_command, {list_ref(), integer(0), integer(1)});
  EXPECT_EQ(cell(list, 0, 1), "") << "no text clears the cell";
  EXPECT_EQ(cell(list, 0, 0), "17");
  // Out of range: the control refuses quietly.
  call(&set_item_text_command, {list_ref(), integer(5), integer(0), text("nowhere")});
  EXPECT_EQ(row_count(list), 1);
}

TEST_F(ListViewCommandTest, GetItemTextReadsLongCellsWholeAndEmptyCellsAsNull) {
  create(song_list_properties());
  call(&insert_item_command, {list_ref()});
  std::string long_text;
  for (int i = 0; i < 600; ++i) long_text += static_cast<char>('a' + i % 26);
  call(&set_item_text_command, {list_ref(), integer(0), integer(1), text(long_text.c_str())});
  EXPECT_EQ(take_text(call(&get_item_text_command, {list_ref(), integer(0), integer(1)})), long_text);
  // 511 bytes fill the first buffer exactly: read again, still whole.
  const std::string edge = long_text.substr(0, 511);
  call(&set_item_text_command, {list_ref(), integer(0), omitted(), text(edge.c_str())});
  EXPECT_EQ(take_text(call(&get_item_text_command, {list_ref(), integer(0)})), edge);

  call(&set_item_text_command, {list_ref(), integer(0), integer(0)});
  runtime::ArgRecord empty = call(&get_item_text_command, {list_ref(), integer(0)});
  EXPECT_EQ(empty.tag, runtime::tag::kText);
  EXPECT_EQ(empty.pointer<char>(), nullptr) << "an empty cell is the null text";
  // The application asks for row -1 when nothing is selected.
  runtime::ArgRecord none = call(&get_item_text_command, {list_ref(), integer(-1), integer(0)});
  EXPECT_EQ(none.pointer<char>(), nullptr);
}

TEST_F(ListViewCommandTest, DeleteAllItemsEmptiesTheList) {
  HWND list = create(song_list_properties())->hwnd();
  for (int i = 0; i < 3; ++i) call(&insert_item_command, {list_ref()});
  ASSERT_EQ(row_count(list), 3);
  runtime::ArgRecord r = call(&delete_all_items_command, {list_ref()});
  EXPECT_EQ(row_count(list), 0);
  EXPECT_EQ(r.lo | r.hi | r.tag, 0u);
}

// The library's commands raise no runtime error: a text argument of another type is no text.
TEST_F(ListViewCommandTest, TextArgumentOfAnotherTypeCountsAsTheEmptyText) {
  HWND list = create(song_list_properties())->hwnd();
  runtime::ArgRecord row = call(&insert_item_command, {list_ref(), omitted(), integer(12345)});
  EXPECT_EQ(static_cast<std::int32_t>(row.lo), 0);
  ASSERT_EQ(row_count(list), 1);
  EXPECT_EQ(cell(list, 0, 0), "");
  call(&set_item_text_command, {list_ref(), integer(0), integer(1), text("17")});
  call(&set_item_text_command, {list_ref(), integer(0), integer(1), integer(17)});
  EXPECT_EQ(cell(list, 0, 1), "") << "the cell is cleared as by an empty text";
}

// The death tests compare what the child wrote into its message box (standard error).
class ListViewCommandDeathTest : public ListViewTest {
 protected:
  void SetUp() override {
    ListViewTest::SetUp();
    char name[] = "/tmp/listview_command_stderr_XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = name;
  }
  void TearDown() override {
    std::remove(path_.c_str());
    ListViewTest::TearDown();
  }
  void capture_stderr() const { ASSERT_NE(std::freopen(path_.c_str(), "w", stderr), nullptr); }
  std::string captured() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  std::string path_;
};

TEST_F(ListViewCommandDeathTest, CommandOnAListViewThatIsNotLoadedEndsTheProgram) {
  create(song_list_properties());
  EXPECT_EXIT(
      {
        capture_stderr();
        call(&insert_item_command, {list_ref(0x16010055)});
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_NE(captured().find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << captured();

  // The same once the list view's window is gone.
  DestroyWindow(parent());
  EXPECT_EXIT(
      {
        capture_stderr();
        call(&get_item_text_command, {list_ref(), integer(0)});
      },
      ::testing::ExitedWithCode(255), "");
  EXPECT_NE(captured().find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << captured();
}

}  // namespace
}  // namespace listview_test
