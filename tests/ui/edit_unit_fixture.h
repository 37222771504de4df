// A fixture for the button, edit box and group box units created directly through their
// types' create operations: a visible parent window that is itself a unit (so the controls'
// notifications reach their own units, as on a built window) and an event recorder standing in
// for the application's handlers.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/user.h"
#include "platform/winsys/headless.h"
#include "tests/ui/window_unit_support.h"
#include "ui/units/unit.h"
#include "ui/units/unit_interface.h"

namespace controls_test {

inline constexpr std::uint32_t kWindowId = 0x52000031;
inline constexpr std::uint32_t kParentUnitId = 0x16000030;
inline constexpr std::uint32_t kUnitId = 0x16000031;

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest() {
    auto parent_unit = std::make_unique<ui::Unit>(kWindowId, kParentUnitId);
    parent_unit.release()->attach(parent_.hwnd());  // owned by the parent window from here on
  }
  ~ControlsTest() override { platform::headless::reset_input(); }

  // Creates a unit of `type` from `block`, shown; null when the create operation refuses.
  ui::Unit* make(const runtime::UnitTypeDescriptor& type, std::vector<std::uint8_t> block,
                 RECT rect = {10, 10, 170, 34}, DWORD extra_styles = WS_TABSTOP,
                 std::uint32_t unit_id = kUnitId, UINT control_id = 100) {
    blocks_.push_back(std::move(block));
    ui::UnitCreateArgs args{.parent = parent_.hwnd(),
                            .properties = blocks_.back(),
                            .extra_styles = extra_styles,
                            .control_id = control_id,
                            .left = rect.left,
                            .top = rect.top,
                            .width = rect.right - rect.left,
                            .height = rect.bottom - rect.top,
                            .window_id = kWindowId,
                            .unit_id = unit_id};
    auto* unit = static_cast<ui::Unit*>(ui_test::create_unit(type, args));
    if (unit != nullptr) {
      ShowWindow(unit->hwnd(), SW_SHOWNA);
      ui_test::settle();
    }
    return unit;
  }

  // The own events unit `unit_id` raised so far, in order.
  std::vector<std::int32_t> events_of(std::uint32_t unit_id = kUnitId) const {
    std::vector<std::int32_t> out;
    for (const ui_test::RecordedEvent& e : recorder_.events) {
      if (e.unit_id == unit_id) out.push_back(e.event);
    }
    return out;
  }

  static std::string text_of(HWND hwnd) {
    char buffer[512] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
  }

  // Counts the client pixels within `tolerance` of `colour` in every channel (text is drawn
  // smoothed, so its strokes are rarely the exact colour).
  static int pixels_near(HWND hwnd, COLORREF colour, int tolerance = 0) {
    RECT client{};
    GetClientRect(hwnd, &client);
    int n = 0;
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x) {
        const COLORREF c = platform::headless::read_pixel(hwnd, x, y);
        bool near = true;
        for (int shift = 0; shift < 24; shift += 8) {
          near = near && std::abs(static_cast<int>((c >> shift) & 0xFF) -
                                  static_cast<int>((colour >> shift) & 0xFF)) <= tolerance;
        }
        n += near ? 1 : 0;
      }
    }
    return n;
  }

  static DWORD style_of(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

  ui_test::EventRecorder recorder_;
  ui_test::ParentWindow parent_{400, 300};
  std::vector<std::vector<std::uint8_t>> blocks_;
};

}  // namespace controls_test
