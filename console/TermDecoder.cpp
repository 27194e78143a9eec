// TermDecoder's parser: bytes cut into characters and sequences; what they stand for is
// TermKeys' business.
#include "console/TermDecoder.h"

#include "console/TermKeys.h"

namespace IO {

using namespace term;

namespace {

constexpr std::uint8_t kEsc = 0x1B;

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
    Emit(ByteEvent(c, 0));
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
  Emit(ByteEvent(c1, LEFT_ALT));
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
  Emit(TextEvent(cp, mods, true));
  return at + need + 1;
}

std::size_t TermDecoder::ParseCsi(std::size_t at, std::uint32_t alt, bool settle) {
  if (at >= len_) {
    if (!settle) return 0;
    if (at == 2) Emit(ByteEvent('[', LEFT_ALT));  // Alt+[ typed by itself
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
    if (at == 2) Emit(ByteEvent('O', LEFT_ALT));
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
    const std::optional<Key> k = Ss3Key(x);
    if (!k) return i + 1;                                             // unknown: dropped
    Emit(Make(*k, state | (x >= 'a' && x <= 'd' ? LEFT_CTRL : 0u)));  // rxvt: Ctrl+arrows
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
          Emit(ByteEvent(static_cast<std::uint8_t>(cp & 0x1F), state));  // like the plain Ctrl byte
        } else if (cp < 0x80) {
          Emit(ByteEvent(static_cast<std::uint8_t>(cp), state));
        } else {
          Emit(TextEvent(cp, state, true));
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
  const bool down = s.Get(1, 1, 1) != 3;
  const std::uint32_t state = ModState(s.Get(1, 0, 1)) | alt;
  if (const auto e = KittyEvent(s.Get(0, 0, 0), s.Get(0, 1, 0), s.Get(2, 0, 0), down, state))
    Emit(*e);
}

}  // namespace IO
