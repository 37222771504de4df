#include "ui/units/edit_unit.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/api/controls.h"
#include "platform/api/edit.h"
#include "platform/api/gdi.h"
#include "platform/api/user.h"
#include "ui/units/property_pair_values.h"

namespace ui {
namespace {

constexpr std::uint32_t kEnterKey = 13;
constexpr int kAdjusterIdOffset = 4;

DWORD alignment_style(std::int32_t alignment) {
  return alignment == 1 ? ES_CENTER : alignment == 2 ? ES_RIGHT : ES_LEFT;
}

DWORD case_style(std::int32_t conversion) {
  return conversion == 1 ? ES_LOWERCASE : conversion == 2 ? ES_UPPERCASE : 0;
}

}  // namespace

EditUnit::EditUnit(std::uint32_t window_id, std::uint32_t unit_id, EditProperties properties)
    : Unit(window_id, unit_id), properties_(std::move(properties)), font_(properties_.font) {
  make_brush();
}

EditUnit::~EditUnit() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

DWORD EditUnit::creation_style() const {
  const EditProperties& p = properties_;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (!p.hide_selection) style |= ES_NOHIDESEL;
  if (p.multi_line) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (p.scroll_bars == 1 || p.scroll_bars == 3) style |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (p.scroll_bars == 2 || p.scroll_bars == 3) style |= WS_VSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  style |= alignment_style(p.alignment) | case_style(p.case_conversion);
  if (p.input_mode == kInputReadOnly) style |= ES_READONLY;
  if (p.input_mode == kInputPassword) style |= ES_PASSWORD;
  return style;
}

EditUnit* EditUnit::create(const UnitCreateArgs& args) {
  std::optional<EditProperties> properties = EditProperties::parse(args.properties);
  if (!properties) return nullptr;
  auto unit = std::make_unique<EditUnit>(args.window_id, args.unit_id, std::move(*properties));
  const DWORD style = unit->creation_style() | args.extra_styles;
  HWND hwnd = create_unit_window(args, "EDIT", unit->properties_.content.c_str(), style);
  if (hwnd == nullptr) return nullptr;
  EditUnit* box = unit.release();  // owned by its native window from here on
  box->attach(hwnd);
  box->apply_font();
  SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(box->properties_.max_length), 0);
  if (box->properties_.input_mode == kInputPassword)
    SendMessageA(hwnd, EM_SETPASSWORDCHAR, box->properties_.password_char & 0xFF, 0);
  if (box->properties_.adjuster != 0 && !box->properties_.multi_line) box->create_adjuster(args);
  box->select(box->properties_.selection_start, box->properties_.selection_length);
  // Applying the border recomputes the frame, which also centres a single line.
  apply_border_style(hwnd, box->properties_.border);
  return box;
}

void EditUnit::make_brush() {
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = CreateSolidBrush(resolve_colour(properties_.background));
}

void EditUnit::apply_font() {
  HFONT font = font_.handle();
  font_height_ = 0;
  if (HDC dc = GetDC(hwnd()); dc != nullptr) {
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm)) font_height_ = tm.tmHeight;
    SelectObject(dc, previous);
    ReleaseDC(hwnd(), dc);
  }
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void EditUnit::apply_input_mode() {
  SendMessageA(hwnd(), EM_SETREADONLY, properties_.input_mode == kInputReadOnly ? TRUE : FALSE, 0);
  const WPARAM password = properties_.input_mode == kInputPassword ? (properties_.password_char & 0xFF) : 0;
  SendMessageA(hwnd(), EM_SETPASSWORDCHAR, password, 0);
}

void EditUnit::create_adjuster(const UnitCreateArgs& args) {
  const std::int32_t border = properties_.border;
  const DWORD ex_style = border == 0 || border == 1 || border == 3 ? WS_EX_STATICEDGE : 0;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (args.extra_styles & WS_DISABLED);
  if (properties_.adjuster == 1) style |= UDS_SETBUDDYINT | UDS_NOTHOUSANDS;
  adjuster_ = CreateWindowExA(
      ex_style, UPDOWN_CLASSA, "", style, 0, 0, 0, 0, args.parent,
      reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(args.control_id + kAdjusterIdOffset)), nullptr,
      nullptr);
  if (adjuster_ == nullptr) return;
  const std::int32_t low = std::min(properties_.adjuster_min, properties_.adjuster_max);
  const std::int32_t high = std::max(properties_.adjuster_min, properties_.adjuster_max);
  SendMessageA(adjuster_, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
  SendMessageA(adjuster_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd()), 0);
  SendMessageA(adjuster_, UDM_SETPOS32, 0, std::atoi(properties_.content.c_str()));
  place_adjuster();
}

void EditUnit::place_adjuster() {
  if (adjuster_ == nullptr || !IsWindow(adjuster_)) return;
  RECT box{};
  GetWindowRect(hwnd(), &box);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&box), 2);
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  SetWindowPos(adjuster_, nullptr, box.right, box.top, width, box.bottom - box.top,
               SWP_NOACTIVATE | SWP_NOZORDER);
}

void EditUnit::on_destroyed() {
  if (adjuster_ != nullptr && IsWindow(adjuster_)) DestroyWindow(adjuster_);
  adjuster_ = nullptr;
}

std::string EditUnit::window_text() const {
  const int length = GetWindowTextLengthA(hwnd());
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd(), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return text;
}

void EditUnit::write_content(std::string_view text) {
  properties_.content = std::string(text);
  // The control reports its own change; the write announces itself once, afterwards.
  writing_content_ = true;
  SetWindowTextA(hwnd(), properties_.content.c_str());
  writing_content_ = false;
  raise(0);
}

std::pair<std::int32_t, std::int32_t> EditUnit::selection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<std::int32_t>(start), static_cast<std::int32_t>(end - start)};
}

void EditUnit::select(std::int32_t start, std::int32_t length) {
  if (length == -1) {
    SendMessageA(hwnd(), EM_SETSEL, 0, -1);
  } else {
    if (start == -1) start = GetWindowTextLengthA(hwnd());
    start = std::max(start, 0);
    const std::int64_t end =
        std::clamp<std::int64_t>(static_cast<std::int64_t>(start) + length, 0, INT32_MAX);
    SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  }
  SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
}

std::vector<std::uint8_t> EditUnit::serialize() const {
  EditProperties current = properties_;
  current.content = window_text();
  const auto [start, length] = selection();
  current.selection_start = start;
  current.selection_length = length;
  return current.serialize();
}

int EditUnit::set(std::int32_t own_index, const PropertyPair& value) {
  namespace ep = edit_property;
  if (own_index == ep::kContent) {
    write_content(pair_text(value));
    return 0;
  }
  PropertyPair before;
  const bool had_value = get_property(kEditPropertyTable, properties_, own_index, &before);
  const auto* row = set_property(kEditPropertyTable, properties_, own_index, value);
  if (row == nullptr) return 0;
  const std::int32_t number = pair_int(value);
  if (row->recreates) {
    properties_.clamp();
    PropertyPair after;
    get_property(kEditPropertyTable, properties_, own_index, &after);
    return had_value && before.first != after.first ? 1 : 0;
  }
  switch (row->own_index) {
    case ep::kBorder:
      apply_border_style(hwnd(), number);
      break;
    case ep::kTextColour:
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case ep::kBackground:
      make_brush();
      InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    case ep::kFont:
      font_ = UnitFont(properties_.font);
      apply_font();
      // The centring band depends on the font's height.
      SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      break;
    case ep::kMaxLength:
      properties_.max_length = std::max(number, 0);
      SendMessageA(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(properties_.max_length), 0);
      break;
    case ep::kInputMode:
      properties_.input_mode = clamp_choice(number, 0, kInputModeCount - 1);
      apply_input_mode();
      break;
    case ep::kPasswordChar: {
      std::string_view text = pair_text(value);
      properties_.password_char = text.empty() ? 0 : static_cast<std::uint8_t>(text.front());
      apply_input_mode();
      break;
    }
    case ep::kAdjusterMin:
    case ep::kAdjusterMax:
      if (adjuster_ != nullptr) {
        const std::int32_t low = std::min(properties_.adjuster_min, properties_.adjuster_max);
        const std::int32_t high = std::max(properties_.adjuster_min, properties_.adjuster_max);
        SendMessageA(adjuster_, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
      }
      break;
    case ep::kSelectionStart:
      select(number, 0);
      break;
    case ep::kSelectionLength:
      select(number == -1 ? 0 : selection().first, number);
      break;
    case ep::kSelectedText: {
      const std::string text(pair_text(value));
      SendMessageA(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
      break;
    }
    default:
      break;
  }
  return 0;
}

int EditUnit::get(std::int32_t own_index, PropertyPair* value) {
  namespace ep = edit_property;
  switch (own_index) {
    case ep::kContent:
      read_buffer_ = window_text();
      *value = text_pair(read_buffer_);
      return 1;
    case ep::kPasswordChar:
      read_buffer_.clear();
      if ((properties_.password_char & 0xFF) != 0)
        read_buffer_.push_back(static_cast<char>(properties_.password_char & 0xFF));
      *value = text_pair(read_buffer_);
      return 1;
    case ep::kSelectionStart:
      *value = int_pair(selection().first);
      return 1;
    case ep::kSelectionLength:
      *value = int_pair(selection().second);
      return 1;
    case ep::kSelectedText: {
      const auto [start, length] = selection();
      const std::string text = window_text();
      const auto from = std::min<std::size_t>(static_cast<std::size_t>(start), text.size());
      read_buffer_ = text.substr(from, static_cast<std::size_t>(length));
      *value = text_pair(read_buffer_);
      return 1;
    }
    default:
      return get_property(kEditPropertyTable, properties_, own_index, value) ? 1 : 0;
  }
}

bool EditUnit::wants_key(std::uint32_t key) const {
  if ((key & 0xFF) != kEnterKey) return false;
  const auto style = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE));
  return (style & ES_MULTILINE) != 0 && (style & ES_READONLY) == 0;
}

void EditUnit::centre_text(RECT& client) const {
  const int height = client.bottom - client.top;
  if (properties_.multi_line || font_height_ <= 0 || height <= font_height_) return;
  const int band = height - font_height_;
  client.top += band / 2;
  client.bottom -= band - band / 2;
}

void EditUnit::reformat_on_focus_loss() {
  const std::string text = window_text();
  const std::optional<std::string> shown = normalized_text(properties_.input_mode, text);
  if (!shown || *shown == text) return;
  const std::int32_t caret = selection().first;
  SetWindowTextA(hwnd(), shown->c_str());
  const auto kept = std::min<std::int32_t>(caret, static_cast<std::int32_t>(shown->size()));
  SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(kept), static_cast<LPARAM>(kept));
}

LRESULT EditUnit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR:
      if (!filter_.accept(properties_.input_mode, static_cast<std::uint8_t>(wp & 0xFF))) return 0;
      break;
    case WM_SETFOCUS: {
      const LRESULT result = call_previous(msg, wp, lp);
      raise(-7);
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = call_previous(msg, wp, lp);
      reformat_on_focus_loss();
      raise(-8);
      return result;
    }
    case WM_NCCALCSIZE: {
      const LRESULT result = call_previous(msg, wp, lp);
      if (lp != 0) centre_text(*reinterpret_cast<RECT*>(lp));  // rgrc[0] or the lone rectangle
      return result;
    }
    case WM_ENABLE:
      if (adjuster_ != nullptr && IsWindow(adjuster_)) EnableWindow(adjuster_, wp != 0 ? TRUE : FALSE);
      break;
    case WM_SHOWWINDOW:
      if (adjuster_ != nullptr && IsWindow(adjuster_)) ShowWindow(adjuster_, wp != 0 ? SW_SHOWNA : SW_HIDE);
      break;
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = call_previous(msg, wp, lp);
      place_adjuster();
      return result;
    }
    default:
      break;
  }
  return call_previous(msg, wp, lp);
}

bool EditUnit::on_reflected(UINT msg, WPARAM wp, LPARAM, LRESULT* result) {
  if (msg == WM_COMMAND) {
    if (HIWORD(wp) != EN_CHANGE) return false;
    if (!writing_content_) raise(0);
    *result = 0;
    return true;
  }
  if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  SetTextColor(dc, properties_.text_colour);
  SetBkColor(dc, resolve_colour(properties_.background));
  *result = reinterpret_cast<LRESULT>(brush_);
  return true;
}

}  // namespace ui
