#include "platform/controls/imagelist_store.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace platform::controls::imagelist {

namespace {

constexpr std::uint8_t kMagic[4] = {'L', 'Y', 'I', 'L'};
constexpr std::uint16_t kVersion = 1;
constexpr std::uint16_t kHeaderSize = 32;

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint16_t get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Table {
  std::mutex mutex;
  std::map<HIMAGELIST, std::unique_ptr<ImageList>> lists;
  std::uintptr_t next = 0x1000;
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

int ImageList::count() const {
  const std::size_t per = static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy);
  return per == 0 ? 0 : static_cast<int>(pixels.size() / per);
}

std::span<std::uint32_t> ImageList::image(int i) {
  const std::size_t per = static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy);
  if (i < 0 || i >= count()) return {};
  return std::span<std::uint32_t>(pixels).subspan(static_cast<std::size_t>(i) * per, per);
}

std::span<const std::uint32_t> ImageList::image(int i) const {
  const std::size_t per = static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy);
  if (i < 0 || i >= count()) return {};
  return std::span<const std::uint32_t>(pixels).subspan(static_cast<std::size_t>(i) * per, per);
}

int ImageList::append_blank(int n) {
  const int first = count();
  if (n <= 0 || first + n > kMaxCount) return -1;
  if (pixels.size() + static_cast<std::size_t>(n) * static_cast<std::size_t>(cx) * cy > kMaxPixels) return -1;
  pixels.resize(pixels.size() + static_cast<std::size_t>(n) * static_cast<std::size_t>(cx) * cy, 0);
  return first;
}

bool ImageList::remove(int i) {
  if (i == -1) {
    pixels.clear();
    return true;
  }
  if (i < 0 || i >= count()) return false;
  const std::size_t per = static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy);
  const auto at = pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(i) * per);
  pixels.erase(at, at + static_cast<std::ptrdiff_t>(per));
  return true;
}

std::vector<std::uint8_t> write_stream(const ImageList& list) {
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderSize + list.pixels.size() * 4);
  for (std::uint8_t b : kMagic) out.push_back(b);
  put16(out, kVersion);
  put16(out, kHeaderSize);
  put32(out, static_cast<std::uint32_t>(list.cx));
  put32(out, static_cast<std::uint32_t>(list.cy));
  put32(out, list.flags);
  put32(out, static_cast<std::uint32_t>(list.count()));
  put32(out, static_cast<std::uint32_t>(list.grow));
  put32(out, list.bk);
  for (std::uint32_t px : list.pixels) put32(out, px);  // 0xAARRGGBB little-endian is B, G, R, A
  return out;
}

std::optional<ImageList> read_stream(std::span<const std::uint8_t> bytes, std::size_t* consumed) {
  if (consumed) *consumed = 0;
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 4) != 0) return std::nullopt;
  const std::uint8_t* p = bytes.data();
  if (get16(p + 4) != kVersion) return std::nullopt;
  const std::size_t header = get16(p + 6);
  if (header < kHeaderSize || header > bytes.size()) return std::nullopt;
  const auto cx = static_cast<std::int32_t>(get32(p + 8));
  const auto cy = static_cast<std::int32_t>(get32(p + 12));
  const auto count = static_cast<std::int32_t>(get32(p + 20));
  if (cx < 1 || cx > kMaxSide || cy < 1 || cy > kMaxSide || count < 0 || count > kMaxCount)
    return std::nullopt;
  // Checked once here: at most 4096 * 4096 * 65535 * 4 bytes, which fits in 64 bits.
  const std::size_t npixels =
      static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy) * static_cast<std::size_t>(count);
  if ((bytes.size() - header) / 4 < npixels || npixels > kMaxPixels) return std::nullopt;
  ImageList list;
  list.cx = cx;
  list.cy = cy;
  list.flags = get32(p + 16);
  list.grow = static_cast<std::int32_t>(get32(p + 24));
  list.bk = get32(p + 28);
  list.pixels.resize(npixels);
  const std::uint8_t* px = p + header;
  for (std::size_t i = 0; i < npixels; ++i, px += 4) list.pixels[i] = get32(px);
  if (consumed) *consumed = header + npixels * 4;
  return list;
}

HIMAGELIST add(ImageList list) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  auto handle = reinterpret_cast<HIMAGELIST>(t.next);
  t.next += 0x10;
  t.lists.emplace(handle, std::make_unique<ImageList>(std::move(list)));
  return handle;
}

bool destroy(HIMAGELIST handle) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  return t.lists.erase(handle) == 1;
}

bool with(HIMAGELIST handle, const std::function<void(ImageList&)>& use) {
  Table& t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.lists.find(handle);
  if (it == t.lists.end()) return false;
  use(*it->second);
  return true;
}

}  // namespace platform::controls::imagelist
