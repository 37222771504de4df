// The hotkey table of menu items: hotkey codes 1-76 of a menu record, as a key with modifiers
// and as the name shown after the item's caption.
// Contract: codes outside 1-76 have neither a key nor a name (nullopt, empty text).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/api/types.h"

namespace ui {

struct Hotkey {
  BYTE flags = 0;  // FCONTROL / FSHIFT, plus FVIRTKEY | FNOINVERT
  WORD key = 0;    // virtual key
};

std::optional<Hotkey> hotkey_for_code(std::uint32_t code);
// "Ctrl+A", "F1", "Shift+F1", "Ctrl+Shift+F1", "Ins", "Del"; empty when the code has none.
std::string hotkey_name(std::uint32_t code);

}  // namespace ui
