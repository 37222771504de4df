// The button's property set and its property data block.
// Contract: parse reads a block of version 0-1, clamps the type to 0-1 and the alignments to
// 0-2, and answers nullopt for a newer version or a block that ends early. serialize writes
// the current version.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct ButtonProperties {
  static constexpr std::uint32_t kVersion = 1;

  std::vector<std::uint8_t> picture;
  std::int32_t type = 0;  // 0 normal, 1 default button
  std::string caption;
  std::int32_t horizontal_alignment = 1;  // 0 left, 1 centre, 2 right
  std::int32_t vertical_alignment = 1;    // 0 top, 1 centre, 2 bottom
  std::vector<std::uint8_t> font;

  static std::optional<ButtonProperties> parse(std::span<const std::uint8_t> block);
  std::vector<std::uint8_t> serialize() const;
  void clamp();
};

}  // namespace ui
