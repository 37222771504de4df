// Shared pieces of the property access and event tests: windows composed of the core unit
// types plus a probe unit type (library 2) whose getter and setter record what they are given,
// and a code base of recording handlers.
// - Handler k sits at offset handler_offset(k) (handler 0 at offset 0); each call is logged with
//   its arguments and the current event source, and answers handler_log().results[k].
// - The probe type's own properties (index: kind): 8 text, 9 font, 10 integer whose change asks
//   for re-creation, 11 picture data, 12 logical (stored raw), 13 choice, 14 long integer,
//   15 cursor data. Its getter records its thread; its setter records the pair it got.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/api/types.h"
#include "runtime/abi/event_handler.h"
#include "runtime/abi/image.h"
#include "tests/ui/support/ui_host.h"
#include "ui/templates/template_builder.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"
#include "ui/units/window_properties.h"

namespace access_test {

// The unit flags the tests' templates use.
using ui::templates::kDisabled;
using ui::templates::kTabStop;
using ui::templates::kVisible;

inline constexpr int kHandlerCount = 8;
std::int32_t handler_offset(int k);
const runtime::CodeBase& handler_code_base();

struct HandlerCall {
  int handler = 0;
  std::vector<std::uint64_t> args;
  std::uint32_t source_window = 0;
  std::uint32_t source_unit = 0;
};

struct HandlerLog {
  std::vector<HandlerCall> calls;
  std::array<runtime::HandlerResult, kHandlerCount> results{};
  std::function<void(int)> reaction;  // runs inside the handler
};
HandlerLog& handler_log();
void reset_handler_log();

inline constexpr std::uint32_t kProbeType = 0x00020001;
// The probe with type state bit 0x8000 (starts hidden).
inline constexpr std::uint32_t kHiddenProbeType = 0x00020002;
// The probe with neither type state bit 0x40 nor 0x04: it cannot raise events.
inline constexpr std::uint32_t kInertProbeType = 0x00020003;
// The probe as a page container (type state bit 0x100).
inline constexpr std::uint32_t kPagesProbeType = 0x00020004;
namespace probe {
inline constexpr std::int32_t kText = 8;
inline constexpr std::int32_t kFont = 9;
inline constexpr std::int32_t kStyle = 10;
inline constexpr std::int32_t kData = 11;
inline constexpr std::int32_t kLogical = 12;
inline constexpr std::int32_t kChoice = 13;
inline constexpr std::int32_t kLong = 14;
inline constexpr std::int32_t kCursorData = 15;
}  // namespace probe

// Posted to a probe: it raises its event wParam.
inline constexpr UINT kMsgProbeRaise = 0x0400 + 91;

struct ProbeLog {
  std::uint32_t getter_thread = 0;
  std::uint32_t setter_thread = 0;
  int creates = 0;
  std::int32_t last_set_index = -1;
  ui::PropertyPair last_pair;
  std::vector<std::uint8_t> last_bytes;  // what last_pair pointed at (data kinds and fonts)
  std::string last_text;                 // for text kinds
  bool blocked_during_create = false;
};
ProbeLog& probe_log();
const runtime::LibraryRecord& probe_library();
// The probe's stored raw values, for reads through the getter.
struct ProbeValues {
  std::vector<std::uint8_t> font;
  std::int32_t style = 0;
  std::vector<std::uint8_t> data;
  std::int32_t logical = 0;
  std::int32_t choice = 0;
  std::uint64_t wide = 0;
  std::vector<std::uint8_t> cursor;
};
ProbeValues& probe_values(ui::Unit* probe);

// Property data blocks of the core types.
std::vector<std::uint8_t> window_block(const std::function<void(ui::WindowProperties&)>& change = {});
std::vector<std::uint8_t> edit_block(const std::string& content = "", bool multi_line = false);
std::vector<std::uint8_t> button_block(const std::string& caption, bool default_button = false);
std::vector<std::uint8_t> label_block(const std::string& caption);
std::vector<std::uint8_t> probe_block(const std::string& text = "");

// Composes windows; keeps the property blocks the records point into.
class Templates {
 public:
  ui::templates::WindowTemplate& add_window(std::uint32_t window_id, std::uint32_t own_id,
                                            std::vector<std::uint8_t> block,
                                            std::vector<ui::templates::EventBinding> events = {},
                                            ui::templates::Rect rect = {100, 100, 300, 200});
  ui::templates::UnitRecord& add_unit(ui::templates::WindowTemplate& window, std::uint32_t id,
                                      std::uint32_t type_reference, ui::templates::Rect rect,
                                      std::uint32_t flags, std::vector<std::uint8_t> block,
                                      std::vector<ui::templates::EventBinding> events = {});
  void add_menu(ui::templates::WindowTemplate& window, std::uint32_t id, std::string caption,
                std::uint32_t level, std::uint32_t flags = 0, int handler = -1);
  std::vector<std::uint8_t> block() const;

 private:
  std::deque<std::vector<std::uint8_t>> blocks_;
  std::deque<ui::templates::WindowTemplate> windows_;
};

ui::templates::EventBinding bind(std::int32_t event, int handler);

// UTF-8 of a GB18030 text, as the headless message box writes it.
std::string utf8(const char* gb18030);

class AccessTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_handler_log(); }
  void TearDown() override;

  // Starts the runtime with the templates composed so far and loads `window_id`.
  void start(std::uint32_t window_id);
  HWND native(std::size_t window, std::size_t unit) const;
  ui::Unit* unit(std::size_t window, std::size_t unit) const;

  Templates templates_;
  std::unique_ptr<ui_test::UiHost> host_;
};

}  // namespace access_test
