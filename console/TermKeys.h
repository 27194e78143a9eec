// The keys a terminal's bytes stand for, as console key events: the US layout, the keys
// that legacy sequences name, the kitty keyboard protocol's key codes. Pure tables and
// functions; TermDecoder parses the bytes and asks here what they mean.
#pragma once

#include <cstdint>
#include <optional>

#include "console/KeyEvent.h"

namespace IO::term {

inline constexpr std::uint32_t kNone = 0xFFFFFFFFu;  // an empty parameter

// A key as the console describes it: virtual key, scan code (set 1), enhanced flag and
// the character it yields without modifiers.
struct Key {
  std::uint16_t vk = 0;
  std::uint8_t sc = 0;
  bool enhanced = false;
  std::uint8_t ch = 0;
};

inline constexpr Key kHome{0x24, 71, true}, kEnd{0x23, 79, true}, kPgUp{0x21, 73, true},
    kPgDn{0x22, 81, true}, kIns{0x2D, 82, true}, kDel{0x2E, 83, true}, kClear{0x0C, 76, false},
    kEscape{0x1B, 1, false, 27}, kTab{0x09, 15, false, 9};

Key FKey(int n);  // F1..F12
// The keys that CSI and SS3 sequences name alike by their final letter; rxvt's lower-case
// arrows carry a modifier that each caller adds.
std::optional<Key> SharedFinalKey(std::uint8_t final);
// The key of an SS3 sequence by its final byte (the shared ones and the keypad's).
std::optional<Key> Ss3Key(std::uint8_t final);
// The console's modifier flags of a sequence's modifier parameter.
std::uint32_t ModState(std::uint32_t m);
KeyEvent Make(const Key& k, std::uint32_t state, bool down = true);

// A byte by itself: a character, or a control byte (Enter, Tab, Ctrl with a key).
KeyEvent ByteEvent(std::uint8_t c, std::uint32_t mods);
// Text: its character where this console has one (Latin-1), else '?'.
KeyEvent TextEvent(std::uint32_t codePoint, std::uint32_t mods, bool keyDown);
// A kitty protocol key report (CSI code:shifted ; mods ; text u) after its modifiers were
// turned into state; nothing for keys that are no console key.
std::optional<KeyEvent> KittyEvent(std::uint32_t code, std::uint32_t shifted, std::uint32_t text,
                                   bool down, std::uint32_t state);

}  // namespace IO::term
