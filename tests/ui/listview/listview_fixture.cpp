#include "tests/ui/listview/listview_fixture.h"

#include <algorithm>
#include <cstring>

#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/listview.h"
#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "runtime/abi/event_request.h"
#include "runtime/call_service.h"
#include "ui/listview/extended_library.h"
#include "ui/listview/listview_type.h"
#include "ui/templates/window_collection.h"
#include "ui/units/unit_interface.h"

namespace listview_test {
namespace {

ListViewTest* active = nullptr;

constexpr const char* kParentClass = "ListViewUnitTestParent";

const char* parent_class() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kParentClass;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return kParentClass;
}

}  // namespace

ui::listview::ListViewProperties song_list_properties() {
  using ui::listview::ColumnRecord;
  ui::listview::ListViewProperties p;
  p.border = 5;
  p.view = ui::listview::kReport;
  p.header_clickable = false;
  p.full_row_select = true;
  const ColumnRecord columns[] = {
      {false, -1, 0, 70,
       "\xB8\xE8\xC7\xFA"
       "ID"},
      {false, -1, 0, 280, "\xB8\xE8\xB4\xCA\xB5\xD8\xD6\xB7"},
  };
  p.columns = ui::listview::encode_columns(columns);
  return p;
}

void idle() {
  ui_test::pump();
}

void ListViewTest::SetUp() {
  ASSERT_TRUE(platform::headless::active()) << "these tests need LYRICS_DISPLAY=headless";
  // An empty template block loads nothing, so windows of an earlier test would still be known.
  ui::templates::window_collection().clear();
  host_ = std::make_unique<ui_test::UiHost>(
      std::vector<std::uint8_t>{}, nullptr,
      std::vector<runtime::LibraryRecord>{ui::listview::extended_library_record()});
  previous_ = &runtime::window_system();
  operations_ = *previous_;
  operations_.raise_event = &ListViewTest::raise;
  operations_.find_unit = &ListViewTest::find_unit;
  runtime::install_window_system(&operations_);
  active = this;
  parent_ =
      CreateWindowExA(0, parent_class(), "list views", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20,
                      20, 440, 320, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent_, nullptr);
  // The parent is a unit too: units hand their children's notifications to the child's unit.
  auto window_unit = std::make_unique<ui::Unit>(kWindowId, 0x06010000);
  window_unit.release()->attach(parent_);
  SetActiveWindow(parent_);
  idle();
}

void ListViewTest::TearDown() {
  if (IsWindow(parent_)) DestroyWindow(parent_);
  idle();
  runtime::install_window_system(previous_);
  active = nullptr;
  host_.reset();
  platform::headless::reset_input();
}

ui::listview::ListViewUnit* ListViewTest::create_from_block(std::span<const std::uint8_t> block,
                                                            std::uint32_t unit_id, bool design_mode) {
  const runtime::InterfaceQuery query = ui::listview::list_view_unit_type().interface_query;
  auto create_op = reinterpret_cast<ui::CreateOp>(query(ui::kCreateOp));
  ui::UnitCreateArgs args{.parent = parent_,
                          .properties = block,
                          .extra_styles = WS_VISIBLE | WS_TABSTOP,
                          .control_id = unit_id & 0xFFFF,
                          .left = 8,
                          .top = 8,
                          .width = 400,
                          .height = 184,
                          .window_id = kWindowId,
                          .unit_id = unit_id};
  auto* unit = design_mode
                   ? ui::listview::ListViewUnit::create(args, true)
                   : static_cast<ui::listview::ListViewUnit*>(static_cast<ui::Unit*>(create_op(args)));
  if (unit != nullptr) units_[{kWindowId, unit_id}] = unit->hwnd();
  idle();
  return unit;
}

ui::listview::ListViewUnit* ListViewTest::create(const ui::listview::ListViewProperties& p,
                                                 std::uint32_t unit_id) {
  const std::vector<std::uint8_t> block = p.serialize();
  return create_from_block(block, unit_id);
}

runtime::ArgRecord ListViewTest::call(runtime::CommandRoutine command, std::vector<runtime::ArgRecord> args) {
  return runtime::call_command(1, command, static_cast<std::int32_t>(args.size()), args.data());
}

runtime::ArgRecord ListViewTest::text(const char* t) {
  const std::size_t n = std::strlen(t) + 1;
  texts_.push_back(std::make_unique<char[]>(n));
  std::memcpy(texts_.back().get(), t, n);
  runtime::ArgRecord r{0, 0, runtime::tag::kText};
  r.set_pointer(texts_.back().get());
  return r;
}

std::string ListViewTest::cell(HWND list, int row, int column) {
  std::string buffer(4096, '\0');
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer.c_str();
}

std::int32_t ListViewTest::row_count(HWND list) {
  return static_cast<std::int32_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::int32_t> ListViewTest::event_numbers() const {
  std::vector<std::int32_t> out;
  for (const Raised& r : raised) out.push_back(r.event);
  return out;
}

const Raised* ListViewTest::last(std::int32_t event) const {
  for (auto it = raised.rbegin(); it != raised.rend(); ++it) {
    if (it->event == event) return &*it;
  }
  return nullptr;
}

std::intptr_t ListViewTest::raise(void* request, bool typed) {
  if (active == nullptr || typed) return 0;
  auto* r = static_cast<runtime::SimpleEventRequest*>(request);
  Raised e{r->window_id, r->unit_id, r->event, {r->args, r->args + std::min<std::uint32_t>(r->count, 5)}};
  active->raised.push_back(e);
  if (active->reply) {
    if (std::optional<std::uint32_t> result = active->reply(e)) {
      r->result_present = 1;
      r->result = *result;
    }
  }
  return 1;
}

void* ListViewTest::find_unit(std::uint32_t window_id, std::uint32_t unit_id) {
  if (active == nullptr) return nullptr;
  auto it = active->units_.find({window_id, unit_id});
  if (it == active->units_.end() || !IsWindow(it->second)) return nullptr;
  return ui::Unit::from_window(it->second);
}

}  // namespace listview_test
