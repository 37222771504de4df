#include "ui/state/hotkeys.h"

#include "platform/api/input.h"

namespace ui {
namespace {

constexpr BYTE kAlways = FVIRTKEY | FNOINVERT;

struct Decoded {
  BYTE modifiers = 0;
  WORD key = 0;
  bool letter = false;
  int number = 0;  // function key number, 0 for the rest
};

std::optional<Decoded> decode(std::uint32_t code) {
  if (code >= 1 && code <= 26) return Decoded{FCONTROL, static_cast<WORD>('A' + code - 1), true, 0};
  // Four rows of twelve function keys: plain, Ctrl, Shift, Ctrl+Shift.
  constexpr BYTE kRowModifiers[4] = {0, FCONTROL, FSHIFT, FCONTROL | FSHIFT};
  if (code >= 27 && code <= 74) {
    const std::uint32_t row = (code - 27) / 12;
    const int number = static_cast<int>((code - 27) % 12) + 1;
    return Decoded{kRowModifiers[row], static_cast<WORD>(VK_F1 + number - 1), false, number};
  }
  if (code == 75) return Decoded{0, static_cast<WORD>(VK_INSERT), false, 0};
  if (code == 76) return Decoded{0, static_cast<WORD>(VK_DELETE), false, 0};
  return std::nullopt;
}

}  // namespace

std::optional<Hotkey> hotkey_for_code(std::uint32_t code) {
  std::optional<Decoded> d = decode(code);
  if (!d) return std::nullopt;
  return Hotkey{static_cast<BYTE>(d->modifiers | kAlways), d->key};
}

std::string hotkey_name(std::uint32_t code) {
  std::optional<Decoded> d = decode(code);
  if (!d) return {};
  std::string name;
  if (d->modifiers & FCONTROL) name += "Ctrl+";
  if (d->modifiers & FSHIFT) name += "Shift+";
  if (d->letter) return name + static_cast<char>(d->key);
  if (d->number != 0) return name + "F" + std::to_string(d->number);
  return d->key == VK_INSERT ? "Ins" : "Del";
}

}  // namespace ui
