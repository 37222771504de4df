// A top-level test window on the headless display with picture boxes made through the picture
// box type's own operations (create, set, get, serialize), and helpers to read what they show.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <span>
#include <thread>
#include <vector>

#include "platform/api.h"
#include "platform/winsys/headless.h"
#include "ui/picture_box/picture_box.h"
#include "ui/picture_box/picture_box_properties.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_types.h"

namespace picture_box_test {

namespace hl = platform::headless;
using Bytes = std::vector<std::uint8_t>;

inline bool near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

template <typename Op>
Op operation(std::int32_t code) {
  return reinterpret_cast<Op>(ui::picture_box_unit_type().interface_query(code));
}

class PictureBoxTest : public ::testing::Test {
 protected:
  static constexpr COLORREF kParentColour = RGB(10, 20, 30);

  void SetUp() override {
    ASSERT_TRUE(hl::active());
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hbrBackground = CreateSolidBrush(kParentColour);
      wc.lpszClassName = "PictureBoxTestParent";
      return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent_ = CreateWindowExA(0, "PictureBoxTestParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              400, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    hl::run_until_idle();
  }
  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
    hl::run_until_idle();
  }

  // A shown box made from a property data block; null when creation fails.
  ui::PictureBox* create(std::span<const std::uint8_t> block, int width = 180, int height = 180) {
    ui::UnitCreateArgs args{.parent = parent_,
                            .properties = block,
                            .control_id = 100,
                            .left = 20,
                            .top = 20,
                            .width = width,
                            .height = height,
                            .window_id = 0x52010001,
                            .unit_id = 0x16010074};
    auto* unit = static_cast<ui::Unit*>(operation<ui::CreateOp>(ui::kCreateOp)(args));
    if (unit == nullptr) return nullptr;
    ShowWindow(unit->hwnd(), SW_SHOWNA);
    hl::run_until_idle();
    return static_cast<ui::PictureBox*>(unit);
  }
  ui::PictureBox* create(const ui::PictureBoxProperties& properties, int width = 180, int height = 180) {
    const Bytes block = properties.serialize();
    return create(block, width, height);
  }

  static int set(ui::PictureBox* box, std::int32_t own_index, const ui::PropertyPair& value) {
    const int answer = operation<ui::SetOp>(ui::kSetOp)(box, own_index, value);
    hl::run_until_idle();
    return answer;
  }
  static int set_int(ui::PictureBox* box, std::int32_t own_index, std::int32_t value) {
    return set(box, own_index, ui::PropertyPair{value, 0});
  }
  static int set_bytes(ui::PictureBox* box, const Bytes& bytes) {
    return set(box, 2,
               ui::PropertyPair{reinterpret_cast<std::intptr_t>(bytes.empty() ? nullptr : bytes.data()),
                                static_cast<std::intptr_t>(bytes.size())});
  }
  static ui::PropertyPair get(ui::PictureBox* box, std::int32_t own_index) {
    ui::PropertyPair pair;
    EXPECT_NE(operation<ui::GetOp>(ui::kGetOp)(box, own_index, &pair), 0) << own_index;
    return pair;
  }
  static Bytes get_bytes(ui::PictureBox* box, std::int32_t own_index = 2) {
    const ui::PropertyPair pair = get(box, own_index);
    if (pair.first == 0 || pair.second <= 0) return {};
    const auto* data = reinterpret_cast<const std::uint8_t*>(pair.first);
    return Bytes(data, data + pair.second);
  }

  static COLORREF pixel(ui::PictureBox* box, int x, int y) { return hl::read_pixel(box->hwnd(), x, y); }
  static SIZE client_size(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
  }

  // Waits (pumping messages) until the condition holds or five seconds have passed.
  static bool wait_for(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      hl::run_until_idle();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  HWND parent_ = nullptr;
};

}  // namespace picture_box_test
