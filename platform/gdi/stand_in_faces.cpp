// The named faces whose line metrics survive substitution.
#include "platform/gdi/stand_in_faces.h"

#include <strings.h>

#include <array>
#include <string>

namespace platform::gdi {
namespace {

// The GB faces share one design grid: 256 units to the em, 220 above the baseline, 36 below.
constexpr CellShape kGbCell{220.0 / 256.0, 36.0 / 256.0};

struct NamedFace {
  std::string_view name;
  CellShape cell;
};

constexpr std::array<NamedFace, 12> kNamedFaces{{
    {"\xE5\xAE\x8B\xE4\xBD\x93", kGbCell},              // 宋体
    {"\xE6\x96\xB0\xE5\xAE\x8B\xE4\xBD\x93", kGbCell},  // 新宋体
    {"\xE9\xBB\x91\xE4\xBD\x93", kGbCell},              // 黑体
    {"\xE6\xA5\xB7\xE4\xBD\x93", kGbCell},              // 楷体
    {"\xE4\xBB\xBF\xE5\xAE\x8B", kGbCell},              // 仿宋
    {"\xE6\xA5\xB7\xE4\xBD\x93_GB2312", kGbCell},       // 楷体_GB2312
    {"\xE4\xBB\xBF\xE5\xAE\x8B_GB2312", kGbCell},       // 仿宋_GB2312
    {"SimSun", kGbCell},
    {"NSimSun", kGbCell},
    {"SimHei", kGbCell},
    {"KaiTi", kGbCell},
    {"FangSong", kGbCell},
}};

}  // namespace

std::optional<CellShape> stand_in_cell(std::string_view utf8_face) {
  const std::string face(utf8_face);
  for (const NamedFace& f : kNamedFaces) {
    // Latin face names match regardless of case, as the font mapper matches them.
    if (f.name.size() == face.size() && strncasecmp(f.name.data(), face.data(), face.size()) == 0) {
      return f.cell;
    }
  }
  return std::nullopt;
}

}  // namespace platform::gdi
