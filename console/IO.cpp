// IO: key codes from the key queue's events (by KeyCodes), and unbuffered text output.
#include "console/IO.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>

#include "console/KeyCodes.h"
#include "console/Lib.h"
#include "console/RawMode.h"
#include "console/WholeStr.h"
#include "console/WriteAll.h"

namespace IO {

char PrefixChar = ' ';
char SuffixChar = ' ';
bool ChopOff = false;
bool RdLnOnWr = false;
bool OK = true;

namespace {

KeyQueue gKeys;
std::atomic<KeySource*> gSource{nullptr};  // read by PushKey on other threads
std::atomic<bool> gPushedKeys{true};
bool gFreshAnswers = false;
CHAR gPending = 0;
// TRUE when the last IO call was a KeyPressed that found nothing: a run of empty polls
// has begun, at gEmptySince. A Delay since that poll (Lib's count moved on from
// gDelaysAtPoll) ends the run as any other IO call does.
bool gLastPollEmpty = false;
std::uint64_t gDelaysAtPoll = 0;
std::chrono::steady_clock::time_point gEmptySince;
// How long a run of empty polls spins before each further poll waits for input: long
// enough that a loop with nothing to wait for (the rest of a skipped story polls a few
// hundred times) goes at full speed, short enough to cost nothing measurable.
constexpr std::chrono::microseconds kSpinBeforeWaiting{2000};
bool gWriteFailed = false;

// Before Init: no input at all.
class NoKeys final : public KeySource {
 public:
  void Start(KeyQueue&) override {}
  bool Wait() override { return false; }
};

KeySource& Source() {
  static NoKeys none;
  KeySource* source = gSource.load();
  return source != nullptr ? *source : none;
}

// Nowhere to write to: console text is not worth stopping the game for.
void Write(const char* p, std::size_t n) {
  if (!WriteAll(STDOUT_FILENO, p, n)) gWriteFailed = true;
}

std::size_t TextLength(std::string_view s) {
  std::size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s.size() : nul;
}

}  // namespace

void Init(KeySource& source, const KeyOptions& options) {
  gPending = 0;
  gLastPollEmpty = false;
  gKeys.Clear();
  gKeys.SetBacklog(options.backlog);
  gPushedKeys.store(options.pushedKeys);
  gFreshAnswers = options.freshAnswers;
  gSource.store(&source);
  source.Start(gKeys);
}

void PushKey(const KeyEvent& event) {
  if (const int sig = detail::SignalOf(event)) {  // Ctrl+C is Ctrl+C wherever it is typed
    ::kill(0, sig);
    return;
  }
  if (!gPushedKeys.load() || !gKeys.Push(event)) return;
  Source().Wake();
}

bool KeyPressed() {
  KeySource& src = Source();
  const bool inEmptyRun = gLastPollEmpty && Lib::DelayCount() == gDelaysAtPoll;
  gLastPollEmpty = false;
  // Once a run of empty polls has lasted a moment, each further poll first waits a
  // little (returning as soon as input arrives), so a polling loop sleeps in the
  // kernel instead of spinning.
  if (inEmptyRun && std::chrono::steady_clock::now() - gEmptySince >= kSpinBeforeWaiting) {
    src.Idle();
  }
  src.Poll();
  KeyEvent e;
  if (!gKeys.Peek(e)) {
    if (src.Ended()) return true;  // an Escape, for ever
    if (!inEmptyRun) gEmptySince = std::chrono::steady_clock::now();
    gLastPollEmpty = true;
    gDelaysAtPoll = Lib::DelayCount();
    return false;
  }
  if (e.isKey && e.keyDown) return true;
  gKeys.Pop(e);  // a release or a non-key event at the head is dropped
  return false;
}

CHAR RdKey() {
  gLastPollEmpty = false;
  if (gPending != 0) {
    CHAR c = gPending;
    gPending = 0;
    return c;
  }
  KeySource& src = Source();
  for (;;) {
    KeyEvent e;
    if (!gKeys.Pop(e)) {
      if (src.Wait()) continue;
      e = EscapeEvent();  // no input will come
    }
    if (!e.isKey || !e.keyDown) continue;
    const KeyCodes codes = CodesOf(e);
    if (codes.first < 0) continue;
    gPending = codes.second;
    return static_cast<CHAR>(codes.first);
  }
}

bool TakeKey(bool (*match)(const KeyEvent& event)) {
  gLastPollEmpty = false;
  KeySource& src = Source();
  if (!src.PollToTake()) return false;
  return gKeys.Take(match) || src.Ended();
}

void NewPrompt() {
  gLastPollEmpty = false;
  if (!gFreshAnswers) return;
  Source().PollToTake();
  gKeys.Clear();
  gPending = 0;
}

void RdLn() {
  gLastPollEmpty = false;
}

void WrStr(std::string_view s) {
  gLastPollEmpty = false;
  Write(s.data(), TextLength(s));
}

bool WriteFailed() {
  return gWriteFailed;
}

void WrLn() {
  WrChar('\n');
}

void WrChar(char c) {
  gLastPollEmpty = false;
  Write(&c, 1);
}

void WrCharRep(char c, CARDINAL n) {
  gLastPollEmpty = false;
  std::array<char, 254> piece;
  piece.fill(c);
  while (n > 0) {
    CARDINAL k = n < piece.size() ? n : static_cast<CARDINAL>(piece.size());
    Write(piece.data(), k);
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
