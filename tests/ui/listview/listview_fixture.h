// A started runtime with the extended interface library as library 2, a parent window that
// reflects its children's notifications (a unit of its own), and list views created straight
// through the type's create operation. The window system's unit lookup and event raising are
// replaced while the fixture lives: created list views are found by (window id, unit id), and
// every raised event is recorded and answered by reply().
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/api/types.h"
#include "runtime/abi/records.h"
#include "runtime/window_system.h"
#include "tests/ui/support/ui_host.h"
#include "ui/listview/listview_properties.h"
#include "ui/listview/listview_unit.h"

namespace listview_test {

inline constexpr std::uint32_t kWindowId = 0x52010001;
inline constexpr std::uint32_t kListId = 0x16010019;

struct Raised {
  std::uint32_t window_id;
  std::uint32_t unit_id;
  std::int32_t event;
  std::vector<std::uint32_t> args;
};

// The properties of this program's list view: report view, the columns "歌曲ID" (70) and
// "歌词地址" (280), single line border, full-row selection, header not clickable.
ui::listview::ListViewProperties song_list_properties();

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates a list view at (8, 8, 400, 184) with these properties; null when creation fails.
  ui::listview::ListViewUnit* create(const ui::listview::ListViewProperties& p,
                                     std::uint32_t unit_id = kListId);
  // Through the type's create operation; in design mode straight through the unit.
  ui::listview::ListViewUnit* create_from_block(std::span<const std::uint8_t> block,
                                                std::uint32_t unit_id = kListId, bool design_mode = false);

  // Runs a list view command through the call service with these records (the list view
  // reference first).
  runtime::ArgRecord call(runtime::CommandRoutine command, std::vector<runtime::ArgRecord> args);
  runtime::ArgRecord list_ref(std::uint32_t unit_id = kListId) const {
    return {kWindowId, unit_id, 0x00020004};
  }
  static runtime::ArgRecord integer(std::int32_t v) {
    return {static_cast<std::uint32_t>(v), 0, runtime::tag::kInt};
  }
  runtime::ArgRecord text(const char* t);
  static runtime::ArgRecord omitted() { return {0, 0, 0}; }

  // Text of a cell, read straight from the control.
  static std::string cell(HWND list, int row, int column);
  static std::int32_t row_count(HWND list);

  std::vector<std::int32_t> event_numbers() const;
  const Raised* last(std::int32_t event) const;

  HWND parent() const { return parent_; }

  std::vector<Raised> raised;
  std::function<std::optional<std::uint32_t>(const Raised&)> reply;

 private:
  static std::intptr_t raise(void* request, bool typed);
  static void* find_unit(std::uint32_t window_id, std::uint32_t unit_id);

  std::unique_ptr<ui_test::UiHost> host_;
  runtime::WindowSystem operations_;
  const runtime::WindowSystem* previous_ = nullptr;
  HWND parent_ = nullptr;
  std::map<std::pair<std::uint32_t, std::uint32_t>, HWND> units_;
  std::vector<std::unique_ptr<char[]>> texts_;
};

// Pumps the calling thread's messages through the runtime's pre-translation until idle.
void idle();

}  // namespace listview_test
