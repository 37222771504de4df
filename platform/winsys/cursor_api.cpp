// LoadCursorA, LoadIconA, LoadImageA, SetCursor and the pointer position.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <variant>

#include "platform/api/gdi.h"
#include "platform/api/input.h"
#include "platform/api/user.h"
#include "platform/display/backend.h"
#include "platform/kernel/paths.h"
#include "platform/winsys/cursor_handles.h"
#include "platform/winsys/input.h"
#include "platform/winsys/resources.h"

namespace platform::winsys::cursors {
namespace {

namespace res = platform::winsys::resources;

struct CursorState {
  std::mutex mutex;
  HCURSOR current = nullptr;
  int show_count = 0;
  // Shared handles of program resources, by type, name and size, with the serial of the
  // registration each was made from: a removed or replaced resource is never answered from here.
  std::map<std::pair<int, std::string>, std::pair<std::uint64_t, HICON>> shared;
};

CursorState& state() {
  static CursorState s;
  return s;
}

std::string name_key(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  std::string s(name);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The file image closest in size to what is asked for (ties: the first).
const res::FileImage* best_image(const std::vector<res::FileImage>& images, int cx, int cy) {
  const res::FileImage* best = nullptr;
  long best_score = 0;
  for (const auto& img : images) {
    long score = std::labs(img.width - cx) + std::labs(img.height - cy);
    if (!best || score < best_score) {
      best = &img;
      best_score = score;
    }
  }
  return best;
}

HICON icon_from_content(const res::Content& content, bool cursor, int cx, int cy) {
  if (const auto* img = std::get_if<ArgbImage>(&content)) return make_icon(*img, cursor);
  const auto& images = std::get<std::vector<res::FileImage>>(content);
  const res::FileImage* img = best_image(images, cx, cy);
  if (!img) return nullptr;
  std::vector<BYTE> bits = img->bits;
  return CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), cursor ? FALSE : TRUE,
                                  0x00030000, cx, cy, 0);
}

HICON load_program(res::Type type, LPCSTR name, int cx, int cy, bool share) {
  bool cursor = type == res::Type::cursor;
  CursorState& s = state();
  auto key =
      std::pair{static_cast<int>(type), name_key(name) + "/" + std::to_string(cx) + "x" + std::to_string(cy)};
  auto entry = res::find_entry(type, name);
  if (!entry) return nullptr;
  if (share) {
    std::lock_guard lock(s.mutex);
    auto it = s.shared.find(key);
    if (it != s.shared.end() && it->second.first == entry->serial && is_icon(it->second.second))
      return it->second.second;
  }
  HICON h = icon_from_content(entry->content, cursor, cx, cy);
  if (h && share) {
    std::lock_guard lock(s.mutex);
    s.shared[key] = {entry->serial, h};
  }
  return h;
}

HICON load_file(LPCSTR path, bool cursor, int cx, int cy) {
  std::ifstream in(paths::to_system(path), std::ios::binary);
  if (!in) return nullptr;
  std::vector<BYTE> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto images = res::parse_icon_file(data, cursor);
  if (!images) return nullptr;
  return icon_from_content(res::Content{std::move(*images)}, cursor, cx, cy);
}

HBITMAP load_bitmap(LPCSTR name) {
  auto content = res::find(res::Type::bitmap, name);
  if (!content) return nullptr;
  const auto* img = std::get_if<ArgbImage>(&*content);
  if (!img) return nullptr;
  std::vector<std::uint32_t> straight(img->pixels.size());
  for (std::size_t i = 0; i < straight.size(); ++i) {
    std::uint32_t p = img->pixels[i], a = p >> 24;
    if (a == 0) continue;
    auto un = [&](int sh) { return std::min<std::uint32_t>(255, (((p >> sh) & 0xFF) * 255 + a / 2) / a); };
    straight[i] = a << 24 | un(16) << 16 | un(8) << 8 | un(0);
  }
  return CreateBitmap(img->width, img->height, 1, 32, straight.data());
}

void show(HCURSOR c) {
  display::backend().set_cursor(c);
}

}  // namespace

HCURSOR visible_cursor() {
  CursorState& s = state();
  std::lock_guard lock(s.mutex);
  return s.show_count >= 0 ? s.current : nullptr;
}

}  // namespace platform::winsys::cursors

namespace cur = platform::winsys::cursors;
namespace res = platform::winsys::resources;

extern "C" HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (!name) return nullptr;
  if (!instance) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    return cur::system_cursor(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
  }
  return cur::load_program(res::Type::cursor, name, 32, 32, true);
}

extern "C" HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (!name) return nullptr;
  if (!instance) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    return cur::system_icon(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
  }
  return cur::load_program(res::Type::icon, name, 32, 32, true);
}

extern "C" HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!name || cx < 0 || cy < 0) return nullptr;
  if (type == IMAGE_BITMAP) {
    if (!instance || (flags & LR_LOADFROMFILE))
      return nullptr;  // bitmaps come from registered resources only
    return cur::load_bitmap(name);
  }
  if (type != IMAGE_ICON && type != IMAGE_CURSOR) return nullptr;
  bool cursor = type == IMAGE_CURSOR;
  int w = cx ? cx : 32, h = cy ? cy : 32;  // LR_DEFAULTSIZE and 0 both mean the system size here
  if (flags & LR_LOADFROMFILE) return IS_INTRESOURCE(name) ? nullptr : cur::load_file(name, cursor, w, h);
  if (!instance) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    if (flags & LR_SHARED) return cursor ? cur::system_cursor(id) : cur::system_icon(id);
    cur::ArgbImage img = cursor ? cur::draw_system_cursor(id) : cur::draw_system_icon(id, w);
    return img.width ? cur::make_icon(img, cursor) : nullptr;
  }
  return cur::load_program(cursor ? res::Type::cursor : res::Type::icon, name, w, h,
                           (flags & LR_SHARED) != 0);
}

extern "C" HCURSOR SetCursor(HCURSOR cursor) {
  if (cursor && !cur::is_icon(cursor)) return nullptr;
  auto& s = cur::state();
  HCURSOR previous;
  bool visible;
  {
    std::lock_guard lock(s.mutex);
    previous = s.current;
    s.current = cursor;
    visible = s.show_count >= 0;
  }
  if (visible && previous != cursor) cur::show(cursor);
  return previous;
}

extern "C" HCURSOR GetCursor() {
  auto& s = cur::state();
  std::lock_guard lock(s.mutex);
  return s.current;
}

extern "C" int ShowCursor(BOOL show) {
  auto& s = cur::state();
  int count;
  bool changed;
  HCURSOR current;
  {
    std::lock_guard lock(s.mutex);
    int before = s.show_count;
    s.show_count += show ? 1 : -1;
    count = s.show_count;
    changed = (before >= 0) != (count >= 0);
    current = s.current;
  }
  if (changed) cur::show(count >= 0 ? current : nullptr);
  return count;
}

extern "C" BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = platform::winsys::input::cursor_pos();
  return TRUE;
}

extern "C" BOOL SetCursorPos(int x, int y) {
  POINT p{x, y};
  platform::display::backend().set_cursor_pos(p);
  // Moving the pointer is a mouse move: hit test, cursor request and WM_MOUSEMOVE follow.
  platform::winsys::input::mouse_move(p, platform::winsys::input::event_clock());
  return TRUE;
}

extern "C" BOOL ClipCursor(const RECT* /*rect*/) {
  // The pointer is never confined on this desktop; succeed as the platform does without a clip.
  return TRUE;
}
