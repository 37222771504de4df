// This program's main window built from its template with the extended interface library as
// library 2: "超级列表框1" with its columns, the commands through the call service with the real
// unit lookup, property access through the property service (re-creation included), and the
// handlers bound to its events 5 and -3 run from injected mouse input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/abi/event_handler.h"
#include "runtime/call_service.h"
#include "runtime/heap.h"
#include "runtime/values.h"
#include "tests/ui/listview/listview_fixture.h"
#include "tests/ui/main_window_template.h"
#include "tests/ui/support/ui_host.h"
#include "ui/access/property_access.h"
#include "ui/listview/extended_library.h"
#include "ui/listview/listview_commands.h"
#include "ui/templates/template_builder.h"
#include "ui/templates/window_collection.h"
#include "ui/windows/window_builder.h"

namespace listview_test {
namespace {

using namespace ui::listview;

struct HandlerRun {
  std::int32_t offset;
  std::vector<std::uint64_t> args;
};

std::vector<HandlerRun>& runs() {
  static std::vector<HandlerRun> log;
  return log;
}

template <std::int32_t Offset>
runtime::HandlerResult record(const std::uint64_t* args, std::int32_t count) {
  runs().push_back({Offset, {args, args + count}});
  return runtime::returns_nothing();
}

template <std::int32_t Offset>
runtime::Routine routine() {
  return reinterpret_cast<runtime::Routine>(&record<Offset>);
}

const runtime::CodeBase& recording_code_base() {
  static const ui_test::MainWindowCodeBase code(
      {routine<ui_test::kOpenSiteHandler>(), routine<ui_test::kDownloadHandler>(),
       routine<ui_test::kWindowCreatedHandler>(), routine<ui_test::kSearchHandler>(),
       routine<ui_test::kPopupHandler>(), routine<ui_test::kPreviewHandler>()});
  return code.base();
}

const HandlerRun* last_run(std::int32_t offset) {
  for (auto it = runs().rbegin(); it != runs().rend(); ++it) {
    if (it->offset == offset) return &*it;
  }
  return nullptr;
}

// The main window's template block, with the list view's property block replaced when given.
std::vector<std::uint8_t> main_window_block(const std::vector<std::uint8_t>* list_view_block = nullptr) {
  ui_test::MainWindowTemplate main;
  ui::templates::WindowTemplate window = main.window();
  if (list_view_block != nullptr) {
    const int index = window.find_unit(kListId);
    window.units[static_cast<std::size_t>(index)].control().properties = *list_view_block;
  }
  return ui::templates::build_templates(std::span(&window, 1));
}

class ListViewWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::headless::active());
    ui::templates::window_collection().clear();
    runs().clear();
  }
  void TearDown() override {
    host_.reset();
    platform::headless::reset_input();
  }

  void start(std::vector<std::uint8_t> block) {
    host_ = std::make_unique<ui_test::UiHost>(std::move(block), &recording_code_base(),
                                              std::vector<runtime::LibraryRecord>{extended_library_record()});
  }

  // The list view's control, or null when the window or the unit is not there.
  static HWND list_view() {
    const int w = ui::window_index_of(kWindowId);
    if (w < 0) return nullptr;
    const int u = ui::unit_index_of(static_cast<std::size_t>(w), kListId);
    ui::Unit* unit =
        u < 0 ? nullptr : ui::live_unit(static_cast<std::size_t>(w), static_cast<std::size_t>(u));
    return unit != nullptr ? unit->hwnd() : nullptr;
  }

  static runtime::ArgRecord call(runtime::CommandRoutine command, std::vector<runtime::ArgRecord> args) {
    return runtime::call_command(1, command, static_cast<std::int32_t>(args.size()), args.data());
  }
  static runtime::ArgRecord list_ref() { return {kWindowId, kListId, 0x00020004}; }
  static runtime::ArgRecord integer(std::int32_t v) {
    return {static_cast<std::uint32_t>(v), 0, runtime::tag::kInt};
  }
  static runtime::ArgRecord text(const char* t) {
    runtime::ArgRecord r{0, 0, runtime::tag::kText};
    r.set_pointer(t);
    return r;
  }
  static std::int32_t read_int(std::int32_t index) {
    return static_cast<std::int32_t>(ui::read_unit_property(kWindowId, kListId, index, -1));
  }

  std::unique_ptr<ui_test::UiHost> host_;
};

TEST_F(ListViewWindowTest, SongListComesFromTheTemplateAndTakesTheSearchResults) {
  start(main_window_block());
  ASSERT_TRUE(ui::load_window(kWindowId));
  ui_test::pump();
  HWND list = list_view();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0), 280);

  // What a search does: empty the list, then one row per hit with its id and address.
  call(&delete_all_items_command, {list_ref()});
  for (const char* id : {"101", "202"}) {
    const auto row = static_cast<std::int32_t>(call(&insert_item_command, {list_ref()}).lo);
    call(&set_item_text_command, {list_ref(), integer(row), integer(0), text(id)});
    call(&set_item_text_command, {list_ref(), integer(row), integer(1), text("http://x/lrc")});
  }
  EXPECT_EQ(read_int(35), -1) << "nothing selected yet";
  runtime::ArgRecord none = call(&get_item_text_command, {list_ref(), integer(read_int(35)), integer(1)});
  EXPECT_EQ(none.pointer<char>(), nullptr);

  ui::write_unit_property(kWindowId, kListId, 35, -1, 1);
  ASSERT_EQ(read_int(35), 1);
  runtime::ArgRecord id = call(&get_item_text_command, {list_ref(), integer(read_int(35))});
  EXPECT_STREQ(id.pointer<char>(), "202");
  runtime::release(id.pointer<char>());
}

TEST_F(ListViewWindowTest, RightClickAndDoubleClickRunTheBoundHandlers) {
  start(main_window_block());
  ASSERT_TRUE(ui::load_window(kWindowId));
  ui_test::pump();
  HWND list = list_view();
  ASSERT_NE(list, nullptr);
  call(&insert_item_command, {list_ref(), integer(0), text("101")});
  call(&insert_item_command, {list_ref(), integer(1), text("202")});
  RECT row{};
  row.left = LVIR_LABEL;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
  const POINT at{row.left + 10, (row.top + row.bottom) / 2};
  runs().clear();

  platform::headless::click(list, at, platform::headless::Button::right);
  ui_test::pump();
  const HandlerRun* popup = last_run(ui_test::kPopupHandler);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->args.empty());
  EXPECT_EQ(last_run(ui_test::kPreviewHandler), nullptr);

  platform::headless::advance_clock(1000);
  platform::headless::double_click(list, at);
  ui_test::pump();
  const HandlerRun* preview = last_run(ui_test::kPreviewHandler);
  ASSERT_NE(preview, nullptr);
  ASSERT_EQ(preview->args.size(), 3u);
  EXPECT_EQ(preview->args[0], static_cast<std::uint64_t>(at.x));
  EXPECT_EQ(preview->args[1], static_cast<std::uint64_t>(at.y));
  EXPECT_EQ(read_int(35), 1) << "the handler finds the double-clicked row selected";
}

TEST_F(ListViewWindowTest, WritingSelectionWithMultipleSelectionLeavesTheControlAlone) {
  ListViewProperties p = song_list_properties();
  p.single_selection = false;
  p.items =
      encode_items(std::vector<ItemRecord>{{false, -1, -1, 0, 0, "a", ""}, {false, -1, -1, 0, 0, "b", ""}});
  const std::vector<std::uint8_t> block = p.serialize();
  start(main_window_block(&block));
  ASSERT_TRUE(ui::load_window(kWindowId));
  HWND list = list_view();
  ASSERT_NE(list, nullptr);
  ui::write_unit_property(kWindowId, kListId, 35, -1, 1);
  EXPECT_EQ(read_int(35), -1);
  EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(ListViewWindowTest, RecreationKeepsColumnsAndTemplateRowsButNotInsertedOnes) {
  ListViewProperties p = song_list_properties();
  p.items = encode_items(std::vector<ItemRecord>{{false, -1, -1, 0, 0, "kept", ""}});
  const std::vector<std::uint8_t> block = p.serialize();
  start(main_window_block(&block));
  ASSERT_TRUE(ui::load_window(kWindowId));
  HWND before = list_view();
  ASSERT_NE(before, nullptr);
  call(&insert_item_command, {list_ref(), integer(-1), text("lost")});
  ASSERT_EQ(SendMessageA(before, LVM_GETITEMCOUNT, 0, 0), 2);

  ui::write_unit_property(kWindowId, kListId, 22, -1, 1);  // GridLines: re-created in report view
  ui_test::pump();
  HWND after = list_view();
  ASSERT_NE(after, nullptr);
  EXPECT_TRUE(SendMessageA(after, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
  EXPECT_EQ(
      SendMessageA(reinterpret_cast<HWND>(SendMessageA(after, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0),
      2);
  ASSERT_EQ(SendMessageA(after, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(read_int(22), 1);
  runtime::ArgRecord kept = call(&get_item_text_command, {list_ref(), integer(0)});
  EXPECT_STREQ(kept.pointer<char>(), "kept");
  runtime::release(kept.pointer<char>());
}

TEST_F(ListViewWindowTest, TemplateVersionTwoFailsTheWindowBuild) {
  std::vector<std::uint8_t> block = song_list_properties().serialize();
  block[0] = 2;
  start(main_window_block(&block));
  EXPECT_FALSE(ui::load_window(kWindowId));
  EXPECT_EQ(list_view(), nullptr);
}

class ListViewWindowDeathTest : public ListViewWindowTest {
 protected:
  std::string run_and_capture(const std::function<void()>& body) {
    char name[] = "/tmp/listview_window_stderr_XXXXXX";
    const int fd = mkstemp(name);
    close(fd);
    EXPECT_EXIT(
        {
          std::freopen(name, "w", stderr);
          body();
        },
        ::testing::ExitedWithCode(255), "");
    std::ifstream in(name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    std::remove(name);
    return out.str();
  }
};

TEST_F(ListViewWindowDeathTest, CommandOnAWindowThatIsNotLoadedEndsTheProgram) {
  start(main_window_block());
  const std::string not_yet = run_and_capture([] { call(&delete_all_items_command, {list_ref()}); });
  EXPECT_NE(not_yet.find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << not_yet;

  ASSERT_TRUE(ui::load_window(kWindowId));
  DestroyWindow(GetParent(list_view()));
  ui_test::pump();
  const std::string closed = run_and_capture([] { call(&insert_item_command, {list_ref()}); });
  EXPECT_NE(closed.find("指定窗口或窗口组件不存在或尚未载入"), std::string::npos) << closed;
}

}  // namespace
}  // namespace listview_test
