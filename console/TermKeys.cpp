#include "console/TermKeys.h"

#include <array>

namespace IO::term {

namespace {

constexpr Key kUp{0x26, 72, true}, kDown{0x28, 80, true}, kRight{0x27, 77, true},
    kLeft{0x25, 75, true}, kEnter{0x0D, 28, false, 13}, kKeypadEnter{0x0D, 28, true, 13},
    kBackspace{0x08, 14, false, 8};

// Keypad keys that yield a character, from their character.
constexpr Key KeypadChar(char c) {
  if (c >= '0' && c <= '9') {
    constexpr std::uint8_t sc[10] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73};
    return Key{static_cast<std::uint16_t>(0x60 + c - '0'), sc[c - '0'], false,
               static_cast<std::uint8_t>(c)};
  }
  switch (c) {
    case '*':
      return Key{0x6A, 55, false, '*'};
    case '+':
      return Key{0x6B, 78, false, '+'};
    case ',':
      return Key{0x6C, 83, false, ','};
    case '-':
      return Key{0x6D, 74, false, '-'};
    case '.':
      return Key{0x6E, 83, false, '.'};
    case '/':
      return Key{0x6F, 53, true, '/'};
    case '=':
      return Key{0xBB, 13, false, '='};
    default:
      return kKeypadEnter;
  }
}

// The US layout: for each ASCII character its key and whether Shift makes it.
struct Printable {
  std::uint16_t vk = 0;
  std::uint8_t sc = 0;
  bool shifted = false;
  char base = 0;  // the character of the same key without Shift
};

constexpr std::array<Printable, 128> MakeLayout() {
  std::array<Printable, 128> t{};
  struct Row {
    const char* plain;
    const char* shift;
    std::uint8_t firstSc;
  };
  constexpr Row rows[] = {{"1234567890-=", "!@#$%^&*()_+", 2},
                          {"qwertyuiop[]", "QWERTYUIOP{}", 16},
                          {"asdfghjkl;'`", "ASDFGHJKL:\"~", 30},
                          {"zxcvbnm,./", "ZXCVBNM<>?", 44}};
  auto vkOf = [](char c) -> std::uint16_t {
    if (c >= 'a' && c <= 'z') return static_cast<std::uint16_t>(c - 'a' + 'A');
    if (c >= '0' && c <= '9') return static_cast<std::uint16_t>(c);
    switch (c) {
      case ';':
        return 0xBA;
      case '=':
        return 0xBB;
      case ',':
        return 0xBC;
      case '-':
        return 0xBD;
      case '.':
        return 0xBE;
      case '/':
        return 0xBF;
      case '`':
        return 0xC0;
      case '[':
        return 0xDB;
      case '\\':
        return 0xDC;
      case ']':
        return 0xDD;
      default:
        return 0xDE;  // '\''
    }
  };
  for (const Row& r : rows) {
    for (int i = 0; r.plain[i] != 0; ++i) {
      const char p = r.plain[i], s = r.shift[i];
      const std::uint8_t sc = static_cast<std::uint8_t>(r.firstSc + i);
      t[static_cast<unsigned char>(p)] = {vkOf(p), sc, false, p};
      t[static_cast<unsigned char>(s)] = {vkOf(p), sc, true, p};
    }
  }
  t['`'].sc = 41;
  t['~'].sc = 41;
  t['\\'] = {0xDC, 43, false, '\\'};
  t['|'] = {0xDC, 43, true, '\\'};
  t[' '] = {0x20, 57, false, ' '};
  return t;
}

constexpr std::array<Printable, 128> kLayout = MakeLayout();

constexpr std::uint8_t Latin1(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
  return '?';  // not one byte of this console's character set
}

// The kitty protocol's keys that are not text, by their code.
struct KittyKey {
  std::uint32_t code;
  Key key;
};
constexpr KittyKey kKittyKeys[] = {
    {27, kEscape},
    {13, kEnter},
    {9, kTab},
    {8, kBackspace},
    {127, kBackspace},
    {57358, {0x14, 58}},        // Caps Lock
    {57359, {0x91, 70}},        // Scroll Lock
    {57360, {0x90, 69, true}},  // Num Lock
    {57361, {0x2C, 55, true}},  // Print Screen
    {57362, {0x13, 69}},        // Pause
    {57363, {0x5D, 93, true}},  // Menu
    {57409, KeypadChar('.')},
    {57410, KeypadChar('/')},
    {57411, KeypadChar('*')},
    {57412, KeypadChar('-')},
    {57413, KeypadChar('+')},
    {57414, kKeypadEnter},
    {57415, KeypadChar('=')},
    {57416, KeypadChar(',')},
    {57417, {0x25, 75}},  // the keypad's arrows and editing keys
    {57418, {0x27, 77}},
    {57419, {0x26, 72}},
    {57420, {0x28, 80}},
    {57421, {0x21, 73}},
    {57422, {0x22, 81}},
    {57423, {0x24, 71}},
    {57424, {0x23, 79}},
    {57425, {0x2D, 82}},
    {57426, {0x2E, 83}},
    {57427, kClear},
    {57444, {0x5B, 91, true}},  // the Super keys
    {57450, {0x5C, 92, true}},
};

// Modifier keys by themselves: the flag of the key is set while it is down.
struct KittyModifier {
  std::uint32_t code;
  Key key;
  std::uint32_t flag, family;
};
constexpr KittyModifier kKittyModifiers[] = {
    {57441, {0x10, 42}, SHIFT, SHIFT},
    {57447, {0x10, 54}, SHIFT, SHIFT},
    {57442, {0x11, 29}, LEFT_CTRL, LEFT_CTRL | RIGHT_CTRL},
    {57448, {0x11, 29, true}, RIGHT_CTRL, LEFT_CTRL | RIGHT_CTRL},
    {57443, {0x12, 56}, LEFT_ALT, LEFT_ALT | RIGHT_ALT},
    {57449, {0x12, 56, true}, RIGHT_ALT, LEFT_ALT | RIGHT_ALT},
};

}  // namespace

Key FKey(int n) {
  return n <= 10 ? Key{static_cast<std::uint16_t>(0x6F + n), static_cast<std::uint8_t>(58 + n)}
                 : Key{static_cast<std::uint16_t>(0x6F + n), static_cast<std::uint8_t>(76 + n)};
}

std::optional<Key> SharedFinalKey(std::uint8_t final) {
  switch (final) {
    case 'A':
    case 'a':
      return kUp;
    case 'B':
    case 'b':
      return kDown;
    case 'C':
    case 'c':
      return kRight;
    case 'D':
    case 'd':
      return kLeft;
    case 'H':
      return kHome;
    case 'F':
      return kEnd;
    case 'E':
      return kClear;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
      return FKey(final - 'P' + 1);
    default:
      return std::nullopt;
  }
}

std::optional<Key> Ss3Key(std::uint8_t final) {
  if (const auto shared = SharedFinalKey(final)) return shared;
  if (final >= 'p' && final <= 'y') return KeypadChar(static_cast<char>('0' + final - 'p'));
  switch (final) {
    case 'M':
      return kKeypadEnter;
    case 'j':
      return KeypadChar('*');
    case 'k':
      return KeypadChar('+');
    case 'l':
      return KeypadChar(',');
    case 'm':
      return KeypadChar('-');
    case 'n':
      return KeypadChar('.');
    case 'o':
      return KeypadChar('/');
    case 'X':
      return KeypadChar('=');
    default:
      return std::nullopt;
  }
}

std::uint32_t ModState(std::uint32_t m) {
  if (m == kNone || m == 0) return 0;
  const std::uint32_t bits = m - 1;
  std::uint32_t s = 0;
  if (bits & 1) s |= SHIFT;
  if (bits & 2) s |= LEFT_ALT;
  if (bits & 4) s |= LEFT_CTRL;
  if (bits & 64) s |= CAPSLOCK_ON;
  if (bits & 128) s |= NUMLOCK_ON;
  return s;
}

KeyEvent Make(const Key& k, std::uint32_t state, bool down) {
  return KeyEvent{true, down, k.vk, k.sc, k.ch, state | (k.enhanced ? ENHANCED_KEY : 0u)};
}

KeyEvent ByteEvent(std::uint8_t c, std::uint32_t mods) {
  switch (c) {
    case 0x1B:
      return Make(kEscape, mods);
    case 0x0D:
    case 0x0A:
      return Make(kEnter, mods);  // a line feed too: piped text ends lines so
    case 0x09:
      return Make(kTab, mods);
    case 0x08:
    case 0x7F:
      return Make(kBackspace, mods);
    case 0x00:
      return Make(Key{0x20, 57}, mods | LEFT_CTRL);
    case 0x1C:
      return Make(Key{0xDC, 43, false, 0x1C}, mods | LEFT_CTRL);
    case 0x1D:
      return Make(Key{0xDD, 27, false, 0x1D}, mods | LEFT_CTRL);
    case 0x1E:
      return Make(Key{'6', 7, false, 0x1E}, mods | LEFT_CTRL);
    case 0x1F:
      return Make(Key{0xBD, 12, false, 0x1F}, mods | LEFT_CTRL);
    default:
      break;
  }
  if (c < 0x20) {  // Ctrl with a letter
    const Printable& p = kLayout['a' + c - 1];
    return KeyEvent{true, true, p.vk, p.sc, c, mods | LEFT_CTRL};
  }
  const Printable& p = kLayout[c & 0x7F];
  return KeyEvent{true, true, p.vk, p.sc, c, mods | (p.shifted ? SHIFT : 0u)};
}

KeyEvent TextEvent(std::uint32_t codePoint, std::uint32_t mods, bool keyDown) {
  if (codePoint < 0x80) {
    const Printable& p = kLayout[codePoint];
    return KeyEvent{
        true, keyDown, p.vk, p.sc, static_cast<CHAR>(codePoint), mods | (p.shifted ? SHIFT : 0u)};
  }
  return KeyEvent{true, keyDown, 0, 0, Latin1(codePoint), mods};
}

std::optional<KeyEvent> KittyEvent(std::uint32_t code, std::uint32_t shifted, std::uint32_t text,
                                   bool down, std::uint32_t state) {
  for (const KittyKey& k : kKittyKeys)
    if (k.code == code) return Make(k.key, state, down);
  for (const KittyModifier& m : kKittyModifiers)
    if (m.code == code) return Make(m.key, (state & ~m.family) | (down ? m.flag : 0u), down);
  if (code >= 57399 && code <= 57408)
    return Make(KeypadChar(static_cast<char>('0' + code - 57399)), state, down);
  if (code == 0 || (code >= 0xE000 && code <= 0xF8FF))
    return std::nullopt;  // other functional keys
  if (code < 0x20 || code == 0x7F) return std::nullopt;
  std::uint32_t cp = code;
  if (text != kNone && text != 0) {
    cp = text;
  } else if ((state & SHIFT) != 0) {
    if (shifted != kNone && shifted != 0) {
      cp = shifted;
    } else if (code < 0x80) {
      for (char c = 0x20; c < 0x7F; ++c)  // the US shifted character of the same key
        if (kLayout[c].shifted && kLayout[c].base == static_cast<char>(code)) cp = c;
    }
  } else if ((state & CAPSLOCK_ON) != 0 && code >= 'a' && code <= 'z') {
    cp = code - 'a' + 'A';
  }
  if ((state & (LEFT_CTRL | RIGHT_CTRL)) != 0 && code >= 'a' && code <= 'z') cp = code & 0x1F;
  if (code >= 0x80) return KeyEvent{true, down, 0, 0, Latin1(cp), state};
  const Printable& p = kLayout[code];
  return KeyEvent{true, down, p.vk, p.sc, Latin1(cp), state};
}

}  // namespace IO::term
