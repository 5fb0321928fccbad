// Platform_Keys: native keys to virtual-key codes.
//
// The programs index their key tables by the virtual-key codes of the
// original system (Esc 27, space 32, F1 112, letters 65..90, digits 48..57
// ...). The windows of the display layer translate each Qt key event with
// these functions before posting WM_KEYDOWN / WM_KEYUP. Pure functions.
#pragma once

#include <cstdint>

enum : uint32_t {
  VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
  VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
  VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
  VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46, VK_NUMPAD0 = 96, VK_MULTIPLY = 106,
  VK_ADD = 107, VK_SUBTRACT = 109, VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_F4 = 115,
  VK_F5 = 116, VK_F24 = 135,
};

// The virtual-key code of a Qt key (Qt::Key value); keypad: the key came from
// the numeric keypad. Shifted symbols give their unshifted key ('!' gives the
// 1 key, 49), as the system reports the key, not the character. 0 when the
// key has no code.
uint32_t Virtual_Key_From_Qt(int qt_key, bool keypad);
