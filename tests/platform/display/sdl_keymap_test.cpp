// SDL keys to virtual-key codes: letters follow the layout's symbols, keypad keys follow Num Lock.
#include "platform/display/sdl_keymap.h"

#include <gtest/gtest.h>

#include "platform/api/input.h"

namespace {

using platform::display::sdl::vk_from_sdl;

SDL_Keysym key(SDL_Scancode scan, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Keysym k{};
  k.scancode = scan;
  k.sym = sym;
  k.mod = mod;
  return k;
}

TEST(SdlKeymap, LettersDigitsAndFunctionKeys) {
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_A, SDLK_a)), UINT{'A'});
  // A layout that puts "z" where US has "y" reports the letter it prints.
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_Y, SDLK_z)), UINT{'Z'});
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_0, SDLK_0)), UINT{'0'});
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_9, SDLK_9)), UINT{'9'});
  // A key whose symbol is not a letter (another script) still gets its position's letter.
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_Q, 0x4E2D)), UINT{'Q'});
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_F1, SDLK_F1)), VK_F1);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_F12, SDLK_F12)), VK_F12);
}

TEST(SdlKeymap, EditingModifierAndPunctuationKeys) {
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_RETURN, SDLK_RETURN)), VK_RETURN);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE)), VK_BACK);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_TAB, SDLK_TAB)), VK_TAB);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)), VK_ESCAPE);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_DELETE, SDLK_DELETE)), VK_DELETE);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_LEFT, SDLK_LEFT)), VK_LEFT);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_RCTRL, SDLK_RCTRL)), VK_RCONTROL);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_LALT, SDLK_LALT)), VK_LMENU);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_SLASH, SDLK_SLASH)), VK_OEM_2);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_MINUS, SDLK_MINUS)), VK_OEM_MINUS);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN)), 0u);
}

TEST(SdlKeymap, KeypadFollowsNumLock) {
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM)), VK_NUMPAD7);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_KP_7, SDLK_KP_7)), VK_HOME);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM)), VK_DECIMAL);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD)), VK_DELETE);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER)), VK_RETURN);
  EXPECT_EQ(vk_from_sdl(key(SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE)), VK_DIVIDE);
}

}  // namespace
