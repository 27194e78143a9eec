// Console key events: the type the pure key code (TermDecoder, KeyCodes) and the
// platform IO share.
#pragma once

#include <cstdint>

namespace IO {

using CHAR = unsigned char;

// One console input event, as a Windows-style console would deliver it.
struct KeyEvent {
  bool isKey = true;             // FALSE for anything that is not a key event
  bool keyDown = true;           // TRUE for a press or an auto-repeat
  std::uint16_t virtualKey = 0;  // Windows virtual key code
  std::uint16_t scanCode = 0;    // PC scan code set 1
  CHAR character = 0;            // 0 when the key yields none
  std::uint32_t state = 0;       // modifier flags below
};

inline constexpr std::uint32_t RIGHT_ALT = 0x01;
inline constexpr std::uint32_t LEFT_ALT = 0x02;
inline constexpr std::uint32_t RIGHT_CTRL = 0x04;
inline constexpr std::uint32_t LEFT_CTRL = 0x08;
inline constexpr std::uint32_t SHIFT = 0x10;
inline constexpr std::uint32_t NUMLOCK_ON = 0x20;
inline constexpr std::uint32_t SCROLLLOCK_ON = 0x40;
inline constexpr std::uint32_t CAPSLOCK_ON = 0x80;
inline constexpr std::uint32_t ENHANCED_KEY = 0x100;

// The same key event again: what a held key's auto-repeat sends.
inline constexpr bool SameKey(const KeyEvent& a, const KeyEvent& b) {
  return a.isKey && b.isKey && a.keyDown == b.keyDown && a.virtualKey == b.virtualKey &&
         a.scanCode == b.scanCode && a.character == b.character && a.state == b.state;
}

// The Escape key-down event: what a source gives once its input has ended.
inline constexpr KeyEvent EscapeEvent() {
  return KeyEvent{true, true, 0x1B, 1, 27, 0};
}

}  // namespace IO
