#include "platform/winsys/resources.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace platform::winsys::resources {
namespace {

// A resource name as a key: numbers and upper-cased strings never collide.
using Key = std::pair<int, std::string>;

std::optional<Key> make_key(Type type, LPCSTR name) {
  if (!name) return std::nullopt;
  int t = static_cast<int>(type);
  if (IS_INTRESOURCE(name)) {
    auto id = static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name));
    if (id == 0) return std::nullopt;
    return Key{t, "#" + std::to_string(id)};
  }
  std::string s(name);
  if (s.empty()) return std::nullopt;
  // "#123" names the number 123, as resource names do.
  if (s[0] == '#' && s.size() > 1 &&
      std::all_of(s.begin() + 1, s.end(), [](char c) { return c >= '0' && c <= '9'; }) && s.size() < 7)
    return Key{t, "#" + std::to_string(std::stoul(s.substr(1)))};
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return Key{t, "$" + s};
}

struct Registry {
  std::mutex mutex;
  std::map<Key, Entry> entries;
  std::uint64_t last_serial = 0;

  void put(const Key& key, Content content) {
    entries.insert_or_assign(key, Entry{std::move(content), ++last_serial});
  }
};

Registry& registry() {
  static Registry r;
  return r;
}

std::uint32_t read_u32(std::span<const BYTE> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t read_u16(std::span<const BYTE> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

std::optional<std::vector<FileImage>> parse_icon_file(std::span<const BYTE> file, bool cursor) {
  // Header: reserved 0, type (1 icon, 2 cursor), image count; then 16-byte directory entries.
  if (file.size() < 6 || read_u16(file, 0) != 0 || read_u16(file, 2) != (cursor ? 2 : 1)) return std::nullopt;
  std::size_t count = read_u16(file, 4);
  if (count == 0 || 6 + count * 16 > file.size()) return std::nullopt;
  std::vector<FileImage> images;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t e = 6 + i * 16;
    int w = file[e] ? file[e] : 256;
    int h = file[e + 1] ? file[e + 1] : 256;
    std::uint32_t bytes = read_u32(file, e + 8);
    std::uint32_t offset = read_u32(file, e + 12);
    if (bytes < 40 || offset > file.size() || bytes > file.size() - offset) return std::nullopt;
    FileImage img{w, h, {}};
    if (cursor) {
      // A cursor resource starts with its hot spot, taken from the directory entry.
      std::uint16_t hx = read_u16(file, e + 4), hy = read_u16(file, e + 6);
      img.bits = {static_cast<BYTE>(hx), static_cast<BYTE>(hx >> 8), static_cast<BYTE>(hy),
                  static_cast<BYTE>(hy >> 8)};
    }
    img.bits.insert(img.bits.end(), file.begin() + offset, file.begin() + offset + bytes);
    images.push_back(std::move(img));
  }
  return images;
}

bool add_image(Type type, LPCSTR name, const cursors::ArgbImage& image) {
  auto key = make_key(type, name);
  if (!key || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
    return false;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.put(*key, Content{image});
  return true;
}

bool add_file(Type type, LPCSTR name, std::span<const BYTE> file) {
  auto key = make_key(type, name);
  if (!key || type == Type::bitmap) return false;
  auto images = parse_icon_file(file, type == Type::cursor);
  if (!images) return false;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.put(*key, Content{std::move(*images)});
  return true;
}

void add_program_cursors() {
  add_image(Type::cursor, MAKEINTRESOURCEA(1032), cursors::draw_hand_cursor());
  add_image(Type::cursor, MAKEINTRESOURCEA(2008), cursors::draw_drag_cursor());
}

std::optional<Entry> find_entry(Type type, LPCSTR name) {
  auto key = make_key(type, name);
  if (!key) return std::nullopt;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto it = r.entries.find(*key);
  if (it == r.entries.end()) return std::nullopt;
  return it->second;
}

std::optional<Content> find(Type type, LPCSTR name) {
  auto entry = find_entry(type, name);
  if (!entry) return std::nullopt;
  return std::move(entry->content);
}

void remove_all() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.entries.clear();
}

}  // namespace platform::winsys::resources
