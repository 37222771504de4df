#include "ui/listview/listview_unit.h"

#include <memory>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "ui/listview/listview_content.h"
#include "ui/listview/listview_images.h"
#include "ui/listview/listview_styles.h"

namespace ui::listview {
namespace {

constexpr WORD kSystemHandCursor = 32649;
constexpr WORD kProgramHandCursor = 2008;

HCURSOR hand_cursor() {
  if (HCURSOR c = LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemHandCursor))) return c;
  return LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramHandCursor));
}

}  // namespace

ListViewUnit* ListViewUnit::create(const UnitCreateArgs& args, bool design_mode) {
  std::optional<ListViewProperties> properties = ListViewProperties::parse(args.properties);
  if (!properties) return nullptr;
  const DWORD style = creation_style(*properties, args.extra_styles);
  HWND list = create_unit_window(args, WC_LISTVIEWA, "", style);
  if (list == nullptr) return nullptr;
  std::unique_ptr<ListViewUnit> owner(
      new ListViewUnit(args.window_id, args.unit_id, std::move(*properties), design_mode));
  ListViewUnit* unit = owner.release();  // from here on the control owns it
  unit->attach(list);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended_list_style(unit->properties_));
  unit->apply_font();
  unit->apply_item_images();
  unit->apply_state_images();
  unit->apply_header_images();
  unit->apply_colours();
  apply_border_style(list, unit->properties_.border);
  unit->apply_hot_cursor();
  if (unit->properties_.view == kReport) insert_columns(list, unit->properties_.columns);
  unit->apply_rows();
  unit->apply_selection();
  return unit;
}

void ListViewUnit::apply_font() {
  UnitFont font(properties_.font);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), FALSE);
  font_ = std::move(font);  // the old font goes only once the control has let go of it
}

void ListViewUnit::apply_item_images() {
  const int which = properties_.view == kLargeIcons ? LVSIL_NORMAL : LVSIL_SMALL;
  replace_image_list(which, load_image_list(properties_.item_images), &item_images_set_);
}

void ListViewUnit::apply_state_images() {
  replace_image_list(LVSIL_STATE, load_image_list(properties_.state_images), &state_images_set_);
}

// An unreadable blob removes only a list that this unit put there: the control's own check
// boxes stay.
void ListViewUnit::replace_image_list(int which, HIMAGELIST images, bool* ours) {
  if (images == nullptr && !*ours) return;
  auto old = reinterpret_cast<HIMAGELIST>(
      SendMessageA(hwnd(), LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images)));
  if (old != nullptr && old != images) ImageList_Destroy(old);
  *ours = images != nullptr;
}

void ListViewUnit::apply_header_images() {
  if (properties_.view != kReport) return;
  HIMAGELIST images = load_image_list(properties_.header_images);
  if (images != nullptr) ImageList_SetBkColor(images, GetSysColor(COLOR_BTNFACE));
  if (auto header = reinterpret_cast<HWND>(SendMessageA(hwnd(), LVM_GETHEADER, 0, 0))) {
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    InvalidateRect(header, nullptr, TRUE);
  }
  if (header_images_ != nullptr) ImageList_Destroy(header_images_);
  header_images_ = images;
}

void ListViewUnit::apply_colours() {
  SendMessageA(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(properties_.text_colour));
  SendMessageA(hwnd(), LVM_SETTEXTBKCOLOR, 0,
               static_cast<LPARAM>(resolve_colour(properties_.text_back_colour)));
  SendMessageA(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(resolve_colour(properties_.back_colour)));
}

void ListViewUnit::apply_hot_cursor() {
  if (!properties_.hot_tracking) return;
  HCURSOR cursor = properties_.hand_cursor ? hand_cursor() : nullptr;
  if (cursor == nullptr) cursor = LoadCursorA(nullptr, IDC_ARROW);
  SendMessageA(hwnd(), LVM_SETHOTCURSOR, 0, reinterpret_cast<LPARAM>(cursor));
}

void ListViewUnit::apply_rows() {
  tips_ = rebuild_rows(hwnd(), properties_.items, properties_.view == kReport);
}

void ListViewUnit::apply_selection() {
  if (properties_.single_selection) select_row(hwnd(), properties_.current_selection);
}

void ListViewUnit::set_style_bit(DWORD bit, bool on) {
  const auto style = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE));
  SetWindowLongA(hwnd(), GWL_STYLE, static_cast<LONG>(on ? style | bit : style & ~bit));
}

void ListViewUnit::repaint() {
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListViewUnit::on_destroyed() {
  if (header_images_ != nullptr) ImageList_Destroy(header_images_);
  header_images_ = nullptr;
}

bool ListViewUnit::still_alive(HWND list, const ListViewUnit* unit) {
  return IsWindow(list) && Unit::from_window(list) == unit;
}

}  // namespace ui::listview
