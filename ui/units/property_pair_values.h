// Conversions between the values a unit keeps in its property set and property pairs, shared
// by the units whose getters hand out their stored texts and data as they are.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ui/picture/picture_content.h"
#include "ui/units/unit_interface.h"
#include "ui/units/unit_values.h"

namespace ui {

// A text pair of a stored text; valid while the text is unchanged.
inline PropertyPair text_pair(const std::string& text) {
  return {reinterpret_cast<std::intptr_t>(text.c_str()), static_cast<std::intptr_t>(text.size())};
}

// A data pair of stored bytes; no bytes give the empty pair.
inline PropertyPair bytes_pair(const std::vector<std::uint8_t>& bytes) {
  return bytes.empty() ? PropertyPair{} : data_pair(bytes.data(), bytes.size());
}

// A copy of a data pair's bytes: the caller's buffer does not outlive the call.
inline std::vector<std::uint8_t> copy_bytes(const PropertyPair& value) {
  std::span<const std::uint8_t> bytes = pair_bytes(value);
  return {bytes.begin(), bytes.end()};
}

// Replaces a stored background picture and the decoded content drawn from it, keeping both in
// step.
inline void replace_background_picture(std::vector<std::uint8_t>& stored,
                                       lyr::picture::PictureContent& content, const PropertyPair& value) {
  stored = copy_bytes(value);
  content.set_bytes(stored, false);
}

}  // namespace ui
