#include "console/TermDecoder.h"

#include <optional>

namespace IO {

namespace {

constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;  // an empty parameter

// A key as the console describes it: virtual key, scan code (set 1), enhanced flag and
// the character it yields without modifiers.
struct Key {
  std::uint16_t vk = 0;
  std::uint8_t sc = 0;
  bool enhanced = false;
  std::uint8_t ch = 0;
};

constexpr Key kUp{0x26, 72, true}, kDown{0x28, 80, true}, kRight{0x27, 77, true},
    kLeft{0x25, 75, true}, kHome{0x24, 71, true}, kEnd{0x23, 79, true}, kPgUp{0x21, 73, true},
    kPgDn{0x22, 81, true}, kIns{0x2D, 82, true}, kDel{0x2E, 83, true}, kClear{0x0C, 76, false},
    kEscape{0x1B, 1, false, 27}, kEnter{0x0D, 28, false, 13}, kKeypadEnter{0x0D, 28, true, 13},
    kTab{0x09, 15, false, 9}, kBackspace{0x08, 14, false, 8};

constexpr Key FKey(int n) {  // F1..F12
  return n <= 10 ? Key{static_cast<std::uint16_t>(0x6F + n), static_cast<std::uint8_t>(58 + n)}
                 : Key{static_cast<std::uint16_t>(0x6F + n), static_cast<std::uint8_t>(76 + n)};
}

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

// The keys that CSI and SS3 sequences name alike by their final letter; rxvt's
// lower-case arrows carry a modifier that each caller adds.
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

constexpr std::uint32_t ModState(std::uint32_t m) {
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

constexpr KeyEvent Make(const Key& k, std::uint32_t state, bool down = true) {
  return KeyEvent{true, down, k.vk, k.sc, k.ch, state | (k.enhanced ? ENHANCED_KEY : 0u)};
}

constexpr std::uint8_t Latin1(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
  return '?';  // not one byte of this console's character set
}

}  // namespace

// One parsed control sequence: CSI [private] params [intermediates] final.
struct TermDecoder::Sequence {
  static constexpr int kParams = 8, kSubs = 4;
  char privateMarker = 0;
  bool intermediates = false;
  bool bad = false;
  char final = 0;
  int count = 0;
  std::uint32_t p[kParams][kSubs];

  std::uint32_t Get(int i, int sub, std::uint32_t def) const {
    return (i < count && p[i][sub] != kNone) ? p[i][sub] : def;
  }

  static Sequence Parse(const std::uint8_t* b, std::size_t n, char final) {
    Sequence s;
    s.final = final;
    for (auto& row : s.p)
      for (auto& v : row) v = kNone;
    int sub = 0;
    s.count = n > 0 ? 1 : 0;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t c = b[i];
      if (c >= '0' && c <= '9') {
        if (s.intermediates) s.bad = true;
        if (s.count <= kParams && sub < kSubs) {
          std::uint32_t& v = s.p[s.count - 1][sub];
          if (v == kNone) v = 0;
          if (v < 10000000u) v = v * 10 + (c - '0');
        }
      } else if (c == ';') {
        ++s.count;
        sub = 0;
      } else if (c == ':') {
        ++sub;
      } else if (c >= '<' && c <= '?') {
        if (i == 0) {
          s.privateMarker = static_cast<char>(c);
          s.count = n > 1 ? 1 : 0;
        } else {
          s.bad = true;
        }
      } else {
        s.intermediates = true;
      }
    }
    if (s.count > kParams) s.count = kParams;
    return s;
  }
};

void TermDecoder::Feed(std::span<const std::uint8_t> bytes, std::uint64_t nowMs) {
  if (bytes.empty()) return;
  lastByteMs_ = nowMs;
  for (std::uint8_t b : bytes) Take(b);
}

void TermDecoder::Advance(std::uint64_t nowMs) {
  if ((len_ > 0 || skipping_) && nowMs >= lastByteMs_ + kSettleMs) Finish();
}

void TermDecoder::Finish() {
  skipping_ = false;
  Parse(true);
}

std::int64_t TermDecoder::MsUntilSettle(std::uint64_t nowMs) const {
  if (len_ == 0 && !skipping_) return -1;
  const std::uint64_t due = lastByteMs_ + kSettleMs;
  return nowMs >= due ? 0 : static_cast<std::int64_t>(due - nowMs);
}

KeyEvent TermDecoder::Pop() {
  KeyEvent e = events_.front();
  events_.pop_front();
  return e;
}

void TermDecoder::Take(std::uint8_t byte) {
  if (skipping_) {
    if (byte >= 0x40 && byte <= 0x7E) {  // the end of the overlong sequence
      skipping_ = false;
      return;
    }
    if (byte >= 0x20 && byte < 0x7F) return;
    skipping_ = false;  // a control byte or non-ASCII cuts it short and counts itself
  }
  buf_[len_++] = byte;
  Parse(false);
  if (len_ == buf_.size()) len_ = 0;  // cannot happen: sequences are cut at kMaxSequence
}

void TermDecoder::Parse(bool settle) {
  while (len_ > 0) {
    std::size_t used = ParseOne(settle);
    if (used == 0) return;
    if (used > len_) used = len_;
    for (std::size_t i = used; i < len_; ++i) buf_[i - used] = buf_[i];
    len_ -= used;
  }
}

std::size_t TermDecoder::ParseOne(bool settle) {
  const std::uint8_t c = buf_[0];
  if (c >= 0x80) return ParseUtf8(0, 0, settle);
  if (c != kEsc) {
    EmitByte(c, 0);
    return 1;
  }
  if (len_ == 1) {
    if (!settle) return 0;
    Emit(Make(kEscape, 0));
    return 1;
  }
  const std::uint8_t c1 = buf_[1];
  if (c1 == '[') return ParseCsi(2, 0, settle);
  if (c1 == 'O') return ParseSs3(2, 0, settle);
  if (c1 == kEsc) {
    // ESC ESC [ and ESC ESC O are Alt with a key sequence (rxvt); otherwise the first
    // ESC is the Escape key by itself.
    if (len_ == 2 && !settle) return 0;
    if (len_ > 2 && buf_[2] == '[') return ParseCsi(3, LEFT_ALT, settle);
    if (len_ > 2 && buf_[2] == 'O') return ParseSs3(3, LEFT_ALT, settle);
    Emit(Make(kEscape, 0));
    return 1;
  }
  if (c1 >= 0x80) return ParseUtf8(1, LEFT_ALT, settle);
  EmitByte(c1, LEFT_ALT);
  return 2;
}

std::size_t TermDecoder::ParseUtf8(std::size_t at, std::uint32_t mods, bool settle) {
  const std::uint8_t c = buf_[at];
  std::size_t need;
  std::uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    need = 1, cp = c & 0x1Fu;
  } else if (c >= 0xE0 && c <= 0xEF) {
    need = 2, cp = c & 0x0Fu;
  } else if (c >= 0xF0 && c <= 0xF4) {
    need = 3, cp = c & 0x07u;
  } else {
    Emit(KeyEvent{true, true, 0, 0, '?', mods});  // a byte that cannot start a character
    return at + 1;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    const std::size_t i = at + k;
    if (i >= len_) {
      if (!settle) return 0;
      Emit(KeyEvent{true, true, 0, 0, '?', mods});  // cut short
      return len_;
    }
    std::uint8_t lo = 0x80, hi = 0xBF;
    if (k == 1) {  // no overlong forms, no surrogates, nothing above U+10FFFF
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    }
    const std::uint8_t b = buf_[i];
    if (b < lo || b > hi) {
      Emit(KeyEvent{true, true, 0, 0, '?', mods});
      return i;  // the offending byte starts afresh
    }
    cp = (cp << 6) | (b & 0x3Fu);
  }
  EmitText(cp, mods, true);
  return at + need + 1;
}

std::size_t TermDecoder::ParseCsi(std::size_t at, std::uint32_t alt, bool settle) {
  if (at >= len_) {
    if (!settle) return 0;
    if (at == 2) EmitByte('[', LEFT_ALT);  // Alt+[ typed by itself
    return len_;
  }
  const std::uint8_t first = buf_[at];
  if (first == '[') {  // Linux console F1..F5: ESC [ [ A..E
    if (at + 1 >= len_) return settle ? len_ : 0;
    const std::uint8_t f = buf_[at + 1];
    if (f >= 'A' && f <= 'E') {
      Emit(Make(FKey(f - 'A' + 1), alt));
      return at + 2;
    }
    return (f < 0x20 || f >= 0x7F) ? at + 1 : at + 2;
  }
  if (first == 'M') {  // X10 mouse report: three raw bytes follow
    if (at + 4 > len_) return settle ? len_ : 0;
    return at + 4;
  }
  for (std::size_t i = at; i < len_; ++i) {
    const std::uint8_t x = buf_[i];
    const bool rxvtShift = x == '$' && first >= '0' && first <= '9';
    if ((x >= 0x40 && x <= 0x7E) || rxvtShift) {
      Sequence s = Sequence::Parse(&buf_[at], i - at, static_cast<char>(x));
      DispatchCsi(s, alt);
      return i + 1;
    }
    if (x < 0x20 || x >= 0x7F) return i;  // broken off: drop it, the byte counts itself
  }
  if (len_ - at >= kMaxSequence) {
    skipping_ = true;
    return len_;
  }
  return settle ? len_ : 0;
}

std::size_t TermDecoder::ParseSs3(std::size_t at, std::uint32_t alt, bool settle) {
  if (at >= len_) {
    if (!settle) return 0;
    if (at == 2) EmitByte('O', LEFT_ALT);
    return len_;
  }
  std::uint32_t number = kNone;  // the last parameter: the modifiers
  for (std::size_t i = at; i < len_; ++i) {
    const std::uint8_t x = buf_[i];
    if (x >= '0' && x <= '9') {
      number = (number == kNone ? 0 : number % 1000) * 10 + (x - '0');
      continue;
    }
    if (x == ';') {
      number = kNone;
      continue;
    }
    if (x < 0x40 || x > 0x7E) return i;
    const std::uint32_t state = ModState(number) | alt;
    Key k;
    if (const auto shared = SharedFinalKey(x)) {
      k = *shared;
    } else {
      switch (x) {
        case 'M':
          k = kKeypadEnter;
          break;
        case 'j':
          k = KeypadChar('*');
          break;
        case 'k':
          k = KeypadChar('+');
          break;
        case 'l':
          k = KeypadChar(',');
          break;
        case 'm':
          k = KeypadChar('-');
          break;
        case 'n':
          k = KeypadChar('.');
          break;
        case 'o':
          k = KeypadChar('/');
          break;
        case 'X':
          k = KeypadChar('=');
          break;
        default:
          if (x >= 'p' && x <= 'y') {
            k = KeypadChar(static_cast<char>('0' + x - 'p'));
            break;
          }
          return i + 1;  // unknown: dropped
      }
    }
    Emit(Make(k, state | (x >= 'a' && x <= 'd' ? LEFT_CTRL : 0u)));  // rxvt: Ctrl+arrows
    return i + 1;
  }
  if (len_ - at > 8) return len_;  // no SS3 key is this long
  return settle ? len_ : 0;
}

void TermDecoder::DispatchCsi(const Sequence& s, std::uint32_t alt) {
  if (s.bad) return;
  if (s.privateMarker == '?') {
    if (s.final == 'u') kittyReply_ = true;
    if (s.final == 'c') deviceAttributes_ = true;
    return;
  }
  if (s.privateMarker != 0 || s.intermediates) return;  // mouse reports and the like
  if (s.final == 'u') {
    DispatchKitty(s, alt);
    return;
  }
  const bool down = s.Get(1, 1, 1) != 3;
  std::uint32_t state = ModState(s.Get(1, 0, 1)) | alt;
  Key k;
  std::uint8_t final = s.final;
  if (const auto shared = SharedFinalKey(final)) {
    k = *shared;
    if (final >= 'a' && final <= 'd') state |= SHIFT;  // rxvt: Shift+arrows
    final = 0;                                         // taken
  }
  switch (final) {
    case 0:
      break;
    case 'G':
      k = kClear;
      break;
    case 'Z':
      k = kTab;
      state |= SHIFT;
      break;
    case '~':
    case '^':
    case '$':
    case '@': {
      if (s.final == '^' || s.final == '@') state |= LEFT_CTRL;
      if (s.final == '$' || s.final == '@') state |= SHIFT;
      const std::uint32_t n = s.Get(0, 0, 0);
      if (n == 27 && s.count >= 3) {  // xterm modifyOtherKeys: 27; mods; character ~
        std::uint32_t cp = s.Get(2, 0, 0);
        if ((state & LEFT_CTRL) != 0 && ((cp | 0x20) >= 'a' && (cp | 0x20) <= 'z')) {
          EmitByte(static_cast<std::uint8_t>(cp & 0x1F), state);  // like the plain Ctrl byte
        } else if (cp < 0x80) {
          EmitByte(static_cast<std::uint8_t>(cp), state);
        } else {
          EmitText(cp, state, true);
        }
        return;
      }
      if (n >= 11 && n <= 15) {
        k = FKey(static_cast<int>(n - 10));
      } else if (n >= 17 && n <= 21) {
        k = FKey(static_cast<int>(n - 11));
      } else if (n == 23 || n == 24) {
        k = FKey(static_cast<int>(n - 12));
      } else if (n >= 25 && n <= 34 && n != 27 && n != 30) {  // rxvt Shift+F3..F10
        constexpr int f[] = {3, 4, 0, 5, 6, 0, 7, 8, 9, 10};
        k = FKey(f[n - 25]);
        state |= SHIFT;
      } else {
        switch (n) {
          case 1:
          case 7:
            k = kHome;
            break;
          case 2:
            k = kIns;
            break;
          case 3:
            k = kDel;
            break;
          case 4:
          case 8:
            k = kEnd;
            break;
          case 5:
            k = kPgUp;
            break;
          case 6:
            k = kPgDn;
            break;
          case 57427:
            k = Key{0x0C, 76};
            break;  // kitty keypad Begin
          default:
            return;  // bracketed paste marks and the rest
        }
      }
      break;
    }
    default:
      return;  // focus reports, cursor reports, anything else
  }
  Emit(Make(k, state, down));
}

void TermDecoder::DispatchKitty(const Sequence& s, std::uint32_t alt) {
  const std::uint32_t code = s.Get(0, 0, 0);
  const std::uint32_t shifted = s.Get(0, 1, 0);
  const std::uint32_t text = s.Get(2, 0, 0);
  const bool down = s.Get(1, 1, 1) != 3;
  std::uint32_t state = ModState(s.Get(1, 0, 1)) | alt;

  // Modifier keys by themselves: the flag of the key is set while it is down.
  auto modifier = [&](Key k, std::uint32_t flag, std::uint32_t family) {
    state &= ~family;
    if (down) state |= flag;
    Emit(Make(k, state, down));
  };
  switch (code) {
    case 27:
      Emit(Make(kEscape, state, down));
      return;
    case 13:
      Emit(Make(kEnter, state, down));
      return;
    case 9:
      Emit(Make(kTab, state, down));
      return;
    case 8:
    case 127:
      Emit(Make(kBackspace, state, down));
      return;
    case 57358:
      Emit(Make(Key{0x14, 58}, state, down));
      return;  // Caps Lock
    case 57359:
      Emit(Make(Key{0x91, 70}, state, down));
      return;  // Scroll Lock
    case 57360:
      Emit(Make(Key{0x90, 69, true}, state, down));
      return;  // Num Lock
    case 57361:
      Emit(Make(Key{0x2C, 55, true}, state, down));
      return;  // Print Screen
    case 57362:
      Emit(Make(Key{0x13, 69}, state, down));
      return;  // Pause
    case 57363:
      Emit(Make(Key{0x5D, 93, true}, state, down));
      return;  // Menu
    case 57409:
      Emit(Make(KeypadChar('.'), state, down));
      return;
    case 57410:
      Emit(Make(KeypadChar('/'), state, down));
      return;
    case 57411:
      Emit(Make(KeypadChar('*'), state, down));
      return;
    case 57412:
      Emit(Make(KeypadChar('-'), state, down));
      return;
    case 57413:
      Emit(Make(KeypadChar('+'), state, down));
      return;
    case 57414:
      Emit(Make(kKeypadEnter, state, down));
      return;
    case 57415:
      Emit(Make(KeypadChar('='), state, down));
      return;
    case 57416:
      Emit(Make(KeypadChar(','), state, down));
      return;
    case 57417:
      Emit(Make(Key{0x25, 75}, state, down));
      return;  // keypad arrows and such
    case 57418:
      Emit(Make(Key{0x27, 77}, state, down));
      return;
    case 57419:
      Emit(Make(Key{0x26, 72}, state, down));
      return;
    case 57420:
      Emit(Make(Key{0x28, 80}, state, down));
      return;
    case 57421:
      Emit(Make(Key{0x21, 73}, state, down));
      return;
    case 57422:
      Emit(Make(Key{0x22, 81}, state, down));
      return;
    case 57423:
      Emit(Make(Key{0x24, 71}, state, down));
      return;
    case 57424:
      Emit(Make(Key{0x23, 79}, state, down));
      return;
    case 57425:
      Emit(Make(Key{0x2D, 82}, state, down));
      return;
    case 57426:
      Emit(Make(Key{0x2E, 83}, state, down));
      return;
    case 57427:
      Emit(Make(kClear, state, down));
      return;
    case 57441:
      modifier(Key{0x10, 42}, SHIFT, SHIFT);
      return;
    case 57447:
      modifier(Key{0x10, 54}, SHIFT, SHIFT);
      return;
    case 57442:
      modifier(Key{0x11, 29}, LEFT_CTRL, LEFT_CTRL | RIGHT_CTRL);
      return;
    case 57448:
      modifier(Key{0x11, 29, true}, RIGHT_CTRL, LEFT_CTRL | RIGHT_CTRL);
      return;
    case 57443:
      modifier(Key{0x12, 56}, LEFT_ALT, LEFT_ALT | RIGHT_ALT);
      return;
    case 57449:
      modifier(Key{0x12, 56, true}, RIGHT_ALT, LEFT_ALT | RIGHT_ALT);
      return;
    case 57444:
      Emit(Make(Key{0x5B, 91, true}, state, down));
      return;  // Super keys
    case 57450:
      Emit(Make(Key{0x5C, 92, true}, state, down));
      return;
    default:
      break;
  }
  if (code >= 57399 && code <= 57408) {
    Emit(Make(KeypadChar(static_cast<char>('0' + code - 57399)), state, down));
    return;
  }
  if (code == 0 || (code >= 0xE000 && code <= 0xF8FF)) return;  // other functional keys
  if (code < 0x20 || code == 0x7F) return;
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
  if (code < 0x80) {
    const Printable& p = kLayout[code];
    Emit(KeyEvent{true, down, p.vk, p.sc, Latin1(cp), state});
  } else {
    Emit(KeyEvent{true, down, 0, 0, Latin1(cp), state});
  }
}

void TermDecoder::EmitByte(std::uint8_t c, std::uint32_t mods) {
  switch (c) {
    case kEsc:
      Emit(Make(kEscape, mods));
      return;
    case 0x0D:
    case 0x0A:
      Emit(Make(kEnter, mods));
      return;  // a line feed too: piped text ends lines so
    case 0x09:
      Emit(Make(kTab, mods));
      return;
    case 0x08:
    case 0x7F:
      Emit(Make(kBackspace, mods));
      return;
    case 0x00:
      Emit(Make(Key{0x20, 57}, mods | LEFT_CTRL));
      return;
    case 0x1C:
      Emit(Make(Key{0xDC, 43, false, 0x1C}, mods | LEFT_CTRL));
      return;
    case 0x1D:
      Emit(Make(Key{0xDD, 27, false, 0x1D}, mods | LEFT_CTRL));
      return;
    case 0x1E:
      Emit(Make(Key{'6', 7, false, 0x1E}, mods | LEFT_CTRL));
      return;
    case 0x1F:
      Emit(Make(Key{0xBD, 12, false, 0x1F}, mods | LEFT_CTRL));
      return;
    default:
      break;
  }
  if (c < 0x20) {  // Ctrl with a letter
    const Printable& p = kLayout['a' + c - 1];
    Emit(KeyEvent{true, true, p.vk, p.sc, c, mods | LEFT_CTRL});
    return;
  }
  const Printable& p = kLayout[c & 0x7F];
  Emit(KeyEvent{true, true, p.vk, p.sc, c, mods | (p.shifted ? SHIFT : 0u)});
}

void TermDecoder::EmitText(std::uint32_t codePoint, std::uint32_t mods, bool keyDown) {
  if (codePoint < 0x80) {
    const Printable& p = kLayout[codePoint];
    Emit(KeyEvent{true, keyDown, p.vk, p.sc, static_cast<CHAR>(codePoint),
                  mods | (p.shifted ? SHIFT : 0u)});
    return;
  }
  Emit(KeyEvent{true, keyDown, 0, 0, Latin1(codePoint), mods});
}

}  // namespace IO
