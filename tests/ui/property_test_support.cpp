#include "tests/ui/property_test_support.h"

#include <cstring>

#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "runtime/callback.h"
#include "runtime/window_system.h"
#include "tests/ui/support/fake_library.h"
#include "ui/core/core_library.h"
#include "ui/units/button_properties.h"
#include "ui/units/edit_properties.h"
#include "ui/units/label_properties.h"
#include "ui/units/property_descriptors.h"
#include "ui/units/unit_values.h"
#include "ui/windows/window_builder.h"

namespace access_test {
namespace {

constexpr const char* kProbeClass = "LyrAccessProbe";

HandlerLog& the_handler_log() {
  static HandlerLog log;
  return log;
}

template <int K>
runtime::HandlerResult recording_handler(const std::uint64_t* args, std::int32_t count) {
  HandlerCall call;
  call.handler = K;
  call.args.assign(args, args + count);
  std::uint32_t source[2] = {0, 0};
  runtime::runtime_callback(runtime::callback::kEventSource, reinterpret_cast<std::intptr_t>(source), 0);
  call.source_window = source[0];
  call.source_unit = source[1];
  the_handler_log().calls.push_back(call);
  if (the_handler_log().reaction) the_handler_log().reaction(K);
  return the_handler_log().results[K];
}

template <int... K>
std::array<runtime::CodeEntry, sizeof...(K)> entries(std::integer_sequence<int, K...>) {
  return {
      runtime::CodeEntry{handler_offset(K), reinterpret_cast<runtime::Routine>(&recording_handler<K>)}...};
}

class Probe : public ui::Unit {
 public:
  using Unit::Unit;
  ProbeValues values;
  std::string scratch;

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kMsgProbeRaise) {
      raise(static_cast<std::int32_t>(wp));
      return 0;
    }
    return call_previous(msg, wp, lp);
  }
};

void* create_probe(const ui::UnitCreateArgs& args) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kProbeClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  ui::PropertyReader reader(args.properties);
  if (!reader.u32()) return nullptr;
  const std::optional<std::string> text = reader.counted_text();
  if (!text) return nullptr;
  HWND hwnd = CreateWindowExA(0, kProbeClass, text->c_str(), WS_CHILD | WS_CLIPSIBLINGS | args.extra_styles,
                              args.left, args.top, args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(args.control_id)), nullptr,
                              nullptr);
  if (hwnd == nullptr) return nullptr;
  auto* probe = new Probe(args.window_id, args.unit_id);
  probe->attach(hwnd);
  ++probe_log().creates;
  probe_log().blocked_during_create = runtime::events_blocked();
  return static_cast<ui::Unit*>(probe);
}

Probe& as_probe(void* unit) {
  return *static_cast<Probe*>(static_cast<ui::Unit*>(unit));
}

ui::PropertyPair bytes_pair(const std::vector<std::uint8_t>& bytes) {
  return bytes.empty() ? ui::PropertyPair{} : ui::data_pair(bytes.data(), bytes.size());
}

int get_probe(void* unit, std::int32_t own, ui::PropertyPair* out) {
  Probe& p = as_probe(unit);
  probe_log().getter_thread = GetCurrentThreadId();
  switch (own) {
    case 0: {
      char text[256] = {};
      GetWindowTextA(p.hwnd(), text, sizeof text);
      p.scratch = text;
      *out = {reinterpret_cast<std::intptr_t>(p.scratch.c_str()),
              static_cast<std::intptr_t>(p.scratch.size())};
      return 1;
    }
    case 1:
      *out = bytes_pair(p.values.font);
      return 1;
    case 2:
      *out = ui::int_pair(p.values.style);
      return 1;
    case 3:
      *out = bytes_pair(p.values.data);
      return 1;
    case 4:
      *out = ui::int_pair(p.values.logical);
      return 1;
    case 5:
      *out = ui::int_pair(p.values.choice);
      return 1;
    case 6:
      *out = {static_cast<std::intptr_t>(static_cast<std::uint32_t>(p.values.wide)),
              static_cast<std::intptr_t>(static_cast<std::uint32_t>(p.values.wide >> 32))};
      return 1;
    case 7:
      *out = bytes_pair(p.values.cursor);
      return 1;
    default:
      return 0;
  }
}

int set_probe(void* unit, std::int32_t own, const ui::PropertyPair& value) {
  Probe& p = as_probe(unit);
  ProbeLog& log = probe_log();
  log.setter_thread = GetCurrentThreadId();
  log.last_set_index = own;
  log.last_pair = value;
  // Data kinds only: the others carry no pointer.
  if (own == 1 || own == 3 || own == 7) {
    std::span<const std::uint8_t> bytes = ui::pair_bytes(value);
    log.last_bytes.assign(bytes.begin(), bytes.end());
  }
  switch (own) {
    case 0:
      log.last_text = std::string(ui::pair_text(value));
      SetWindowTextA(p.hwnd(), log.last_text.c_str());
      return 0;
    case 1:
      p.values.font = log.last_bytes;
      return 0;
    case 2: {
      const bool changed = p.values.style != ui::pair_int(value);
      p.values.style = ui::pair_int(value);
      return changed ? 1 : 0;
    }
    case 3:
      p.values.data = log.last_bytes;
      return 0;
    case 4:
      p.values.logical = ui::pair_int(value);
      return 0;
    case 5:
      p.values.choice = ui::pair_int(value);
      return 0;
    case 6:
      p.values.wide = static_cast<std::uint32_t>(value.first) |
                      (static_cast<std::uint64_t>(static_cast<std::uint32_t>(value.second)) << 32);
      return 0;
    case 7:
      p.values.cursor = log.last_bytes;
      return 0;
    default:
      return 0;
  }
}

bool serialize_probe(void* unit, std::vector<std::uint8_t>* out) {
  char text[256] = {};
  GetWindowTextA(as_probe(unit).hwnd(), text, sizeof text);
  *out = probe_block(text);
  return true;
}

void* probe_query(std::int32_t code) {
  switch (code) {
    case ui::kCreateOp:
      return reinterpret_cast<void*>(static_cast<ui::CreateOp>(&create_probe));
    case ui::kSetOp:
      return reinterpret_cast<void*>(static_cast<ui::SetOp>(&set_probe));
    case ui::kSerializeOp:
      return reinterpret_cast<void*>(static_cast<ui::SerializeOp>(&serialize_probe));
    case ui::kGetOp:
      return reinterpret_cast<void*>(static_cast<ui::GetOp>(&get_probe));
    default:
      return nullptr;
  }
}

constexpr auto kProbeProperties = ui::control_properties(
    std::array<std::uint16_t, 8>{ui::kind::kText, ui::kind::kFont, ui::kind::kInteger, ui::kind::kPicture,
                                 ui::kind::kLogical, ui::kind::kChoice, ui::kind::kLong, ui::kind::kCursor});

}  // namespace

std::int32_t handler_offset(int k) {
  return k * 0x10;
}

const runtime::CodeBase& handler_code_base() {
  static const auto table = entries(std::make_integer_sequence<int, kHandlerCount>{});
  static const runtime::CodeBase base{table.data(), static_cast<std::uint32_t>(table.size())};
  return base;
}

HandlerLog& handler_log() {
  return the_handler_log();
}

void reset_handler_log() {
  the_handler_log() = HandlerLog{};
  probe_log() = ProbeLog{};
}

ProbeLog& probe_log() {
  static ProbeLog log;
  return log;
}

ProbeValues& probe_values(ui::Unit* probe) {
  return static_cast<Probe*>(probe)->values;
}

const runtime::LibraryRecord& probe_library() {
  static const std::array<runtime::UnitTypeDescriptor, 4> types = [] {
    runtime::UnitTypeDescriptor probe{};
    probe.name = "probe";
    probe.english_name = "probe";
    probe.state_bits = 0x40;
    probe.property_count = kProbeProperties.size();
    probe.properties = kProbeProperties.data();
    probe.interface_query = &probe_query;
    runtime::UnitTypeDescriptor hidden = probe;
    hidden.state_bits = 0x40 | ui::kTypeStartsHidden;
    runtime::UnitTypeDescriptor inert = probe;
    inert.state_bits = 0;
    runtime::UnitTypeDescriptor pages = probe;
    pages.state_bits = 0x40 | ui::kTypePageContainer;
    return std::array<runtime::UnitTypeDescriptor, 4>{probe, hidden, inert, pages};
  }();
  static const runtime::LibraryRecord record = ui_test::fake_library_record("probe", types);
  return record;
}

std::vector<std::uint8_t> window_block(const std::function<void(ui::WindowProperties&)>& change) {
  ui::WindowProperties properties;
  properties.position = 0;
  if (change) change(properties);
  return properties.serialize();
}

std::vector<std::uint8_t> edit_block(const std::string& content, bool multi_line) {
  ui::EditProperties properties;
  properties.content = content;
  properties.multi_line = multi_line;
  return properties.serialize();
}

std::vector<std::uint8_t> button_block(const std::string& caption, bool default_button) {
  ui::ButtonProperties properties;
  properties.caption = caption;
  properties.type = default_button ? 1 : 0;
  return properties.serialize();
}

std::vector<std::uint8_t> label_block(const std::string& caption) {
  ui::LabelProperties properties;
  properties.caption = caption;
  return properties.serialize();
}

std::vector<std::uint8_t> probe_block(const std::string& text) {
  lyr::ByteWriter writer;
  writer.u32(1);
  writer.counted_text(text);
  return writer.take();
}

ui::templates::WindowTemplate& Templates::add_window(std::uint32_t window_id, std::uint32_t own_id,
                                                     std::vector<std::uint8_t> block,
                                                     std::vector<ui::templates::EventBinding> events,
                                                     ui::templates::Rect rect) {
  blocks_.push_back(std::move(block));
  ui::templates::WindowTemplate& window = windows_.emplace_back();
  window.id = window_id;
  window.units.push_back(ui::templates::window_unit(own_id, 0x00010001, rect, ui::templates::kVisible,
                                                    std::move(events), blocks_.back()));
  return window;
}

ui::templates::UnitRecord& Templates::add_unit(ui::templates::WindowTemplate& window, std::uint32_t id,
                                               std::uint32_t type_reference, ui::templates::Rect rect,
                                               std::uint32_t flags, std::vector<std::uint8_t> block,
                                               std::vector<ui::templates::EventBinding> events) {
  blocks_.push_back(std::move(block));
  window.units.push_back(
      ui::templates::control(id, type_reference, "unit", rect, flags, std::move(events), blocks_.back()));
  return window.units.back();
}

void Templates::add_menu(ui::templates::WindowTemplate& window, std::uint32_t id, std::string caption,
                         std::uint32_t level, std::uint32_t flags, int handler) {
  window.units.push_back(ui::templates::menu_item(id, std::move(caption), level, flags,
                                                  handler < 0 ? -1 : handler_offset(handler)));
}

std::vector<std::uint8_t> Templates::block() const {
  std::vector<ui::templates::WindowTemplate> copies(windows_.begin(), windows_.end());
  return ui::templates::build_templates(copies);
}

ui::templates::EventBinding bind(std::int32_t event, int handler) {
  ui::templates::EventBinding b;
  b.event = event;
  b.handler_offset = handler_offset(handler);
  return b;
}

std::string utf8(const char* gb18030) {
  const int wide_length = MultiByteToWideChar(CP_ACP, 0, gb18030, -1, nullptr, 0);
  std::vector<WCHAR> wide(static_cast<std::size_t>(wide_length > 0 ? wide_length : 1));
  MultiByteToWideChar(CP_ACP, 0, gb18030, -1, wide.data(), wide_length);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, out.data(), length, nullptr, nullptr);
  out.resize(std::strlen(out.c_str()));
  return out;
}

void AccessTest::TearDown() {
  host_.reset();
  reset_handler_log();
}

void AccessTest::start(std::uint32_t window_id) {
  host_ = std::make_unique<ui_test::UiHost>(templates_.block(), &handler_code_base(),
                                            std::vector<runtime::LibraryRecord>{probe_library()});
  ASSERT_TRUE(ui::load_window(window_id));
  ui_test::pump();
}

HWND AccessTest::native(std::size_t window, std::size_t unit_index) const {
  ui::Unit* u = ui::live_unit(window, unit_index);
  return u != nullptr ? u->hwnd() : nullptr;
}

ui::Unit* AccessTest::unit(std::size_t window, std::size_t unit_index) const {
  return ui::live_unit(window, unit_index);
}

}  // namespace access_test
