// IO: key codes from console key events, and unbuffered text output.
#include "console/IO.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "console/Terminal.h"
#include "console/WholeStr.h"

namespace IO {

char PrefixChar = ' ';
char SuffixChar = ' ';
bool ChopOff = false;
bool RdLnOnWr = false;
bool OK = true;

namespace {

KeyEventSource* gSource = nullptr;
CHAR gPending = 0;
// TRUE when the last call into IO or Lib was a KeyPressed that found nothing: a run of
// empty polls has begun, at gEmptySince.
bool gLastPollEmpty = false;
std::chrono::steady_clock::time_point gEmptySince;
// How long a run of empty polls spins before each further poll waits for input: long
// enough that a loop with nothing to wait for (the rest of a skipped story polls a few
// hundred times) goes at full speed, short enough to cost nothing measurable.
constexpr std::chrono::microseconds kSpinBeforeWaiting{2000};
bool gStarted = false;  // Init was called
bool gWriteFailed = false;

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

KeyEventSource& Source() {
  return gSource != nullptr ? *gSource : detail::TerminalSource();
}

void WriteAll(const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(STDOUT_FILENO, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      gWriteFailed = true;
      return;  // nowhere to write to: console text is not worth stopping the game for
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
}

std::size_t TextLength(std::string_view s) {
  std::size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s.size() : nul;
}

// The code of one key-down event, or -1 when RdKey skips the event.
int CodeOf(const KeyEvent& e) {
  constexpr std::uint32_t kLocks = NUMLOCK_ON | SCROLLLOCK_ON | CAPSLOCK_ON;
  const std::uint32_t s = e.state & ~kLocks;
  const CHAR ch = e.character;
  const CHAR sc = static_cast<CHAR>(e.scanCode & 0xFF);
  const std::uint32_t noEnh = s & ~ENHANCED_KEY;
  if (s == 0) {
    if (ch != 0) return e.scanCode == 28 ? 13 : ch;
    if (e.scanCode == 1) return 27;
    gPending = sc;
    return 0;
  }
  if (s == SHIFT) return (ch == 0 || e.scanCode == 42) ? -1 : ch;
  if (s == ENHANCED_KEY) {
    if (ch != 0) return e.scanCode == 28 ? 13 : ch;
    gPending = sc;
    return 0;
  }
  if (noEnh == LEFT_CTRL || noEnh == RIGHT_CTRL) {
    if (e.scanCode == 29) return -1;
    gPending = kCtrlTable[e.virtualKey & 0xFF];
    return 0;
  }
  if (noEnh == LEFT_ALT || noEnh == RIGHT_ALT) {
    if (e.scanCode == 56) return -1;
    gPending = kAltTable[e.virtualKey & 0xFF];
    return 0;
  }
  return ch == 0 ? -1 : ch;
}

}  // namespace

namespace detail {
void NoteOtherCall() {
  gLastPollEmpty = false;
}
bool TerminalInUse() {
  return gSource == nullptr && gStarted;
}
}  // namespace detail

void SetKeySource(KeyEventSource* source) {
  gSource = source;
  gPending = 0;
  gLastPollEmpty = false;
}

void Init() {
  gLastPollEmpty = false;
  gStarted = true;
  if (gSource == nullptr) detail::EnterRawMode();
}

void SetFatalSignalHook(void (*hook)(int signal)) {
  detail::SetFatalHook(hook);
}

bool KeyPressed() {
  KeyEventSource& src = Source();
  const bool inEmptyRun = gLastPollEmpty;
  gLastPollEmpty = false;
  // Once a run of empty polls has lasted a moment, each further poll first waits a
  // little (returning as soon as input arrives), so a polling loop sleeps in the
  // kernel instead of spinning.
  if (inEmptyRun && std::chrono::steady_clock::now() - gEmptySince >= kSpinBeforeWaiting) {
    src.Idle();
  }
  KeyEvent e;
  if (!src.Peek(e)) {
    if (!inEmptyRun) gEmptySince = std::chrono::steady_clock::now();
    gLastPollEmpty = true;
    return false;
  }
  if (e.isKey && e.keyDown) return true;
  src.Read();  // a release or a non-key event at the head is dropped
  return false;
}

CHAR RdKey() {
  gLastPollEmpty = false;
  if (gPending != 0) {
    CHAR c = gPending;
    gPending = 0;
    return c;
  }
  KeyEventSource& src = Source();
  for (;;) {
    KeyEvent e = src.Read();
    if (!e.isKey || !e.keyDown) continue;
    int code = CodeOf(e);
    if (code >= 0) return static_cast<CHAR>(code);
  }
}

void RdLn() {
  gLastPollEmpty = false;
}

void WrStr(std::string_view s) {
  gLastPollEmpty = false;
  WriteAll(s.data(), TextLength(s));
}

bool WriteFailed() {
  return gWriteFailed;
}

void WrLn() {
  WrChar('\n');
}

void WrChar(char c) {
  gLastPollEmpty = false;
  WriteAll(&c, 1);
}

void WrCharRep(char c, CARDINAL n) {
  gLastPollEmpty = false;
  std::array<char, 254> piece;
  piece.fill(c);
  while (n > 0) {
    CARDINAL k = n < piece.size() ? n : static_cast<CARDINAL>(piece.size());
    WriteAll(piece.data(), k);
    n -= k;
  }
}

void WrStrAdj(std::string_view s, INTEGER width) {
  const std::size_t len = TextLength(s);
  const std::uint64_t w = static_cast<std::uint64_t>(std::llabs(static_cast<long long>(width)));
  if (len > w && ChopOff) {
    WrCharRep('?', static_cast<CARDINAL>(w));
    OK = false;
    return;
  }
  const bool shortText = len < w;
  if (width > 0 && shortText) WrCharRep(PrefixChar, static_cast<CARDINAL>(w - len));
  WrStr(s.substr(0, len));
  if (width < 0 && shortText) WrCharRep(SuffixChar, static_cast<CARDINAL>(w - len));
}

void WrCard(CARDINAL value, INTEGER width) {
  std::array<char, 11> digits{};
  WholeStr::CardToStr(value, digits);
  OK = true;  // ten digits and a NUL always fit
  WrStrAdj(std::string_view(digits.data()), width);
}

}  // namespace IO
