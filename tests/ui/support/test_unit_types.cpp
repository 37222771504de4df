#include "tests/ui/support/test_unit_types.h"

#include <array>
#include <cstring>

#include "platform/api/user.h"
#include "runtime/abi/event_request.h"
#include "runtime/window_system.h"
#include "tests/ui/support/fake_library.h"
#include "ui/state/menu_builder.h"
#include "ui/state/modal.h"
#include "ui/system/window_system_table.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/windows/window_builder.h"

namespace ui_test {
namespace {

constexpr const char* kWindowClass = "LyrFakeWindow";
constexpr const char* kControlClass = "LyrFakeControl";

void register_classes() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    wc.lpszClassName = kControlClass;
    RegisterClassA(&wc);
    return true;
  }();
  (void)registered;
}

class FakeUnit : public ui::Unit {
 public:
  FakeUnit(std::uint32_t window_id, std::uint32_t unit_id, std::span<const std::uint8_t> block)
      : Unit(window_id, unit_id), block_(block.begin(), block.end()) {}
  const std::vector<std::uint8_t>& block() const { return block_; }

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == ui::kMsgRereadData || msg == ui::kMsgLayout || msg == ui::kMsgPageSetup) {
      fake_log().layout.push_back({unit_id(), msg});
      return 0;
    }
    if (msg == kMsgProbe) {
      if (fake_log().probe) fake_log().probe();
      return 0;
    }
    const int window_index = ui::window_index_of(window_id());
    if (msg == WM_CLOSE && (unit_id() >> 24) == 0x06 && window_index >= 0) {
      ui::end_modal(static_cast<std::size_t>(window_index));
    }
    if (msg == WM_COMMAND && lp == 0 && LOWORD(wp) >= ui::kFirstMenuCommand && window_index >= 0) {
      ui::dispatch_menu_command(static_cast<std::size_t>(window_index), LOWORD(wp));
      return 0;
    }
    return call_previous(msg, wp, lp);
  }

 private:
  std::vector<std::uint8_t> block_;
};

std::uint32_t first_word(std::span<const std::uint8_t> block) {
  std::uint32_t word = 0;
  if (block.size() >= 4) std::memcpy(&word, block.data(), 4);
  return word;
}

void* create_window(const ui::UnitCreateArgs& args) {
  register_classes();
  fake_log().created.push_back(args.unit_id);
  fake_log().last_window_menu = args.menu;
  fake_log().last_window_owner = args.owner;
  if (first_word(args.properties) == kFailCreate) return nullptr;
  DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | args.extra_styles;
  HWND hwnd = CreateWindowExA(0, kWindowClass, "fake", style, args.left, args.top, args.width, args.height,
                              args.owner, args.menu, nullptr, nullptr);
  if (hwnd == nullptr) return nullptr;
  auto* unit = new FakeUnit(args.window_id, args.unit_id, args.properties);
  unit->attach(hwnd);
  return unit;
}

void* create_control(const ui::UnitCreateArgs& args) {
  register_classes();
  fake_log().created.push_back(args.unit_id);
  if (first_word(args.properties) == kFailCreate || fake_log().fail_next_create) {
    fake_log().fail_next_create = false;
    return nullptr;
  }
  HWND hwnd = CreateWindowExA(
      0, kControlClass, "", WS_CHILD | args.extra_styles, args.left, args.top, args.width, args.height,
      args.parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.control_id)), nullptr, nullptr);
  if (hwnd == nullptr) return nullptr;
  auto* unit = new FakeUnit(args.window_id, args.unit_id, args.properties);
  unit->attach(hwnd);
  return unit;
}

int set_property(void*, std::int32_t, const ui::PropertyPair&) {
  return 1;
}

bool serialize(void* unit, std::vector<std::uint8_t>* out) {
  *out = static_cast<FakeUnit*>(unit)->block();
  return true;
}

int get_property(void*, std::int32_t, ui::PropertyPair*) {
  return 0;
}

void* window_query(std::int32_t code) {
  switch (code) {
    case ui::kCreateOp:
      return reinterpret_cast<void*>(&create_window);
    case ui::kSerializeOp:
      return reinterpret_cast<void*>(&serialize);
    default:
      return nullptr;
  }
}

void* control_query(std::int32_t code) {
  switch (code) {
    case ui::kCreateOp:
      return reinterpret_cast<void*>(&create_control);
    case ui::kSetOp:
      return reinterpret_cast<void*>(&set_property);
    case ui::kSerializeOp:
      return reinterpret_cast<void*>(&serialize);
    case ui::kGetOp:
      return reinterpret_cast<void*>(&get_property);
    default:
      return nullptr;
  }
}

runtime::UnitTypeDescriptor fake_type(const char* name, std::uint32_t state_bits,
                                      runtime::InterfaceQuery query) {
  runtime::UnitTypeDescriptor d{};
  d.name = name;
  d.english_name = name;
  d.state_bits = state_bits;
  d.interface_query = query;
  return d;
}

std::intptr_t record_event(void* request, bool typed) {
  if (typed) return 0;
  const auto* r = static_cast<runtime::SimpleEventRequest*>(request);
  RaisedEvent event{r->window_id, r->unit_id, r->event};
  fake_log().events.push_back(event);
  if (fake_log().on_event) fake_log().on_event(event);
  return 0;
}

}  // namespace

FakeLog& fake_log() {
  static FakeLog log;
  return log;
}

void reset_fake_log() {
  fake_log() = FakeLog{};
}

const runtime::LibraryRecord& fake_unit_library() {
  static const std::array<runtime::UnitTypeDescriptor, 5> types = {
      fake_type("window", 0x50, &window_query),  fake_type("control", 0x40, &control_query),
      fake_type("no query", 0x40, nullptr),      fake_type("starts hidden", 0x8040, &control_query),
      fake_type("pages", 0x140, &control_query),
  };
  static const runtime::LibraryRecord record = fake_library_record("fake units", types);
  return record;
}

void record_events() {
  static runtime::WindowSystem operations;
  operations = ui::window_system_operations();
  operations.raise_event = &record_event;
  runtime::install_window_system(&operations);
}

std::vector<std::uint8_t> fake_properties(std::uint32_t mode) {
  std::vector<std::uint8_t> block(8, 0x5A);
  std::memcpy(block.data(), &mode, 4);
  return block;
}

}  // namespace ui_test

namespace ui_test {

std::span<const std::uint8_t> FakeTemplates::keep(std::vector<std::uint8_t> properties) {
  properties_.push_back(std::move(properties));
  return properties_.back();
}

ui::templates::WindowTemplate& FakeTemplates::add_window(std::uint32_t window_id, std::uint32_t own_id,
                                                         std::uint32_t flags, std::uint32_t mode) {
  ui::templates::WindowTemplate& w = windows_.emplace_back();
  w.id = window_id;
  w.units.push_back(ui::templates::window_unit(own_id, kFakeWindow, {100, 80, 300, 200}, flags, {},
                                               keep(fake_properties(mode))));
  return w;
}

ui::templates::UnitRecord& FakeTemplates::add_control(ui::templates::WindowTemplate& window, std::uint32_t id,
                                                      std::uint32_t type_reference, std::uint32_t flags,
                                                      std::uint32_t mode, ui::templates::Rect rect) {
  window.units.push_back(
      ui::templates::control(id, type_reference, "unit", rect, flags, {}, keep(fake_properties(mode))));
  return window.units.back();
}

void FakeTemplates::add_menu(ui::templates::WindowTemplate& window, std::uint32_t id, std::string caption,
                             std::uint32_t level, std::uint32_t flags, std::uint32_t hotkey) {
  window.units.push_back(ui::templates::menu_item(id, std::move(caption), level, flags, -1, hotkey));
}

std::vector<std::uint8_t> FakeTemplates::block() const {
  std::vector<ui::templates::WindowTemplate> windows(windows_.begin(), windows_.end());
  return ui::templates::build_templates(windows);
}

}  // namespace ui_test
