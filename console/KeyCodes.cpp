#include "console/KeyCodes.h"

#include <array>

namespace IO {

namespace {

using KeyTable = std::array<CHAR, 256>;

constexpr KeyTable MakeCtrlTable() {
  KeyTable t{};
  t[0x09] = 148;                                                                    // Tab
  t[0x21] = 132;                                                                    // PgUp
  t[0x22] = 118;                                                                    // PgDn
  t[0x23] = 117;                                                                    // End
  t[0x24] = 119;                                                                    // Home
  t[0x25] = 115;                                                                    // Left
  t[0x26] = 141;                                                                    // Up
  t[0x27] = 116;                                                                    // Right
  t[0x28] = 145;                                                                    // Down
  t[0x2D] = 146;                                                                    // Ins
  for (int vk = 0x71; vk <= 0x78; ++vk) t[vk] = static_cast<CHAR>(95 + vk - 0x71);  // F2..F9
  return t;
}

constexpr KeyTable MakeAltTable() {
  KeyTable t{};
  t[0x24] = 151;  // Home
  t[0x2D] = 162;  // Ins
  t[0x78] = 112;  // F9
  return t;
}

constexpr KeyTable kCtrlTable = MakeCtrlTable();
constexpr KeyTable kAltTable = MakeAltTable();

}  // namespace

KeyCodes CodesOf(const KeyEvent& e) {
  constexpr std::uint32_t kLocks = NUMLOCK_ON | SCROLLLOCK_ON | CAPSLOCK_ON;
  const std::uint32_t s = e.state & ~kLocks;
  const CHAR ch = e.character;
  const CHAR sc = static_cast<CHAR>(e.scanCode & 0xFF);
  const std::uint32_t noEnh = s & ~ENHANCED_KEY;
  if (s == 0) {
    if (ch != 0) return {e.scanCode == 28 ? 13 : ch};
    if (e.scanCode == 1) return {27};
    return {0, sc};
  }
  if (s == SHIFT) return {(ch == 0 || e.scanCode == 42) ? -1 : ch};
  if (s == ENHANCED_KEY) {
    if (ch != 0) return {e.scanCode == 28 ? 13 : ch};
    return {0, sc};
  }
  if (noEnh == LEFT_CTRL || noEnh == RIGHT_CTRL) {
    if (e.scanCode == 29) return {-1};
    return {0, kCtrlTable[e.virtualKey & 0xFF]};
  }
  if (noEnh == LEFT_ALT || noEnh == RIGHT_ALT) {
    if (e.scanCode == 56) return {-1};
    return {0, kAltTable[e.virtualKey & 0xFF]};
  }
  return {ch == 0 ? -1 : ch};
}

KeyEvent EventFor(CHAR code, CHAR second) {
  if (code == 0 && second == 0) return KeyEvent{true, true, 'A', 30, 1, LEFT_CTRL};
  if (code == 0) return KeyEvent{true, true, 0, second, 0, ENHANCED_KEY};
  if (code == 13) return KeyEvent{true, true, 0x0D, 28, 13, 0};
  if (code == 27) return KeyEvent{true, true, 0x1B, 1, 27, 0};
  return KeyEvent{true, true, 0, 0, code, 0};
}

}  // namespace IO
