#include "ui/picture_box/picture_box.h"

#include <memory>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "ui/picture/picture_render.h"
#include "ui/units/unit_values.h"

namespace ui {
namespace {

constexpr const char* kPictureBoxClass = "LyrPictureBox";
// Property access from another thread, carried over to the window's thread:
// wParam own index, lParam PropertyPair*.

bool register_class() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, kPictureBoxClass, &wc)) return true;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // the box paints all of itself
    wc.lpszClassName = kPictureBoxClass;
    return RegisterClassA(&wc) != 0;
  }();
  return registered;
}

}  // namespace

PictureBox::PictureBox(std::uint32_t window_id, std::uint32_t unit_id, PictureBoxProperties properties)
    : Unit(window_id, unit_id), properties_(std::move(properties)) {}

PictureBox* PictureBox::create(const UnitCreateArgs& args) {
  auto properties = PictureBoxProperties::parse(args.properties);
  if (!properties || !register_class()) return nullptr;
  properties->mode = clamp_choice(properties->mode, 0, 3);
  const DWORD style =
      WS_CHILD | WS_CLIPSIBLINGS | border_style_bits(properties->border_style) | args.extra_styles;
  HWND hwnd =
      create_unit_window(args, kPictureBoxClass, "", style, border_ex_style(properties->border_style));
  if (hwnd == nullptr) return nullptr;
  const std::vector<std::uint8_t> picture = std::move(properties->picture);
  properties->picture.clear();
  std::unique_ptr<PictureBox> box(new PictureBox(args.window_id, args.unit_id, std::move(*properties)));
  box->attach(hwnd);
  PictureBox* unit = box.release();  // the window owns it from here
  unit->show_picture(picture);
  return unit;
}

int PictureBox::set(std::int32_t own_index, const PropertyPair& value) {
  namespace pp = picture_box_property;
  if (own_index == pp::kPicture) {
    show_picture(pair_bytes(value));
    return 0;
  }
  const PropertyPair stored = own_index == pp::kMode ? int_pair(clamp_choice(pair_int(value), 0, 2)) : value;
  const COLORREF old_background = properties_.background;
  const std::int32_t old_mode = properties_.mode;
  const bool old_play = properties_.play_animation;
  const auto* row = set_property(kPictureBoxPropertyTable, properties_, own_index, stored);
  if (row == nullptr) return 0;
  switch (row->own_index) {
    case pp::kBorderStyle:
      apply_border_style(hwnd(), properties_.border_style);
      break;
    case pp::kBackground:
    case pp::kMode:
      if (properties_.background == old_background && properties_.mode == old_mode) break;
      restart_animation();
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case pp::kPlayAnimation:
      if (properties_.play_animation != old_play) {
        const std::vector<std::uint8_t> bytes(content_.bytes().begin(), content_.bytes().end());
        show_picture(bytes);
      }
      break;
    default:
      break;
  }
  return row->recreates ? 1 : 0;
}

int PictureBox::get(std::int32_t own_index, PropertyPair* value) {
  if (value == nullptr) return 0;
  if (own_index == picture_box_property::kPicture) {
    *value = data_pair(content_.bytes().data(), content_.bytes().size());
    return 1;
  }
  return get_property(kPictureBoxPropertyTable, properties_, own_index, value) ? 1 : 0;
}

std::vector<std::uint8_t> PictureBox::serialize() const {
  PictureBoxProperties current = properties_;
  current.picture.assign(content_.bytes().begin(), content_.bytes().end());
  return current.serialize();
}

void PictureBox::show_picture(std::span<const std::uint8_t> bytes) {
  animation_.reset();  // stopped before anything it draws from changes
  content_.set_bytes(bytes, properties_.play_animation);
  if (properties_.mode == 3) fit_box_to_picture();
  restart_animation();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::restart_animation() {
  animation_.reset();
  if (!content_.animation()) return;
  animation_ =
      std::make_unique<BoxAnimation>(hwnd(), content_.animation(), properties_.background, properties_.mode);
  animation_->start();
}

void PictureBox::fit_box_to_picture() {
  int width = 0;
  int height = 0;
  if (const auto* still = content_.still()) {
    width = still->width;
    height = still->height;
  } else if (const auto animation = content_.animation()) {
    width = animation->screen_width;
    height = animation->screen_height;
  }
  if (width <= 0 || height <= 0) return;
  RECT outer{};
  RECT client{};
  if (!GetWindowRect(hwnd(), &outer) || !GetClientRect(hwnd(), &client)) return;
  // The frame (border styles) stays as it is around the new client area.
  const int frame_width = (outer.right - outer.left) - client.right;
  const int frame_height = (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(hwnd(), nullptr, 0, 0, width + frame_width, height + frame_height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureBox::paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (animation_) {
    animation_->paint(dc, client.right, client.bottom);
  } else {
    lyr::picture::paint_picture_box(dc, content_.rendered(properties_.background), properties_.mode,
                                    client.right, client.bottom, properties_.background);
  }
  EndPaint(hwnd(), &ps);
}

LRESULT PictureBox::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT: no flicker of an erased background
    case WM_DESTROY:
      animation_.reset();  // the player draws into this window: it ends first
      break;
    default:
      break;
  }
  return Unit::handle_message(msg, wp, lp);
}

}  // namespace ui
