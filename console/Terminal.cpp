// The terminal behind IO: raw mode, its restore on every way out, and the key source
// over standard input.
#include "console/Terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>

#include "console/Lib.h"
#include "console/TermDecoder.h"
#include "console/WriteAll.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#define NOVA_SANITIZED 1
#endif

namespace IO::detail {

namespace {

// ---- raw mode and its restore; everything reached from a signal handler is
// async-signal-safe: atomics, write(2), tcsetattr, sigaction, raise.

int gTtyFd = -1;
termios gSaved{};
termios gRawSettings{};
std::atomic<int> gRaw{0};
volatile sig_atomic_t gKitty = 0;   // the kitty keyboard protocol was switched on
volatile sig_atomic_t gActive = 0;  // raw mode wanted: from start until the final exit
std::atomic<void (*)(int)> gHook{nullptr};
struct sigaction gOld[NSIG];
std::terminate_handler gPreviousTerminate = nullptr;

// Report key releases and repeats, every key as an escape code, shifted keys and text.
constexpr char kKittyPush[] = "\x1b[>31u";
constexpr char kKittyPop[] = "\x1b[<u";

// Every signal whose default ends the program, so that no way out leaves the terminal raw.
constexpr int kFatalSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGSEGV, SIGBUS,
                                 SIGFPE,  SIGILL,  SIGABRT, SIGSYS,  SIGTRAP, SIGPIPE,
                                 SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ};

void RawOff() {
  if (gRaw.exchange(0) == 0) return;
  if (gKitty) WriteAll(gTtyFd, kKittyPop, sizeof kKittyPop - 1);
  ::tcsetattr(gTtyFd, TCSANOW, &gSaved);
}

void RawOn() {
  if (gRaw.exchange(1) == 1) return;
  ::tcsetattr(gTtyFd, TCSANOW, &gRawSettings);
  if (gKitty) WriteAll(gTtyFd, kKittyPush, sizeof kKittyPush - 1);
}

bool InForeground() {
  return gTtyFd >= 0 && ::tcgetpgrp(gTtyFd) == ::getpgrp();
}

void OnFatalSignal(int sig, siginfo_t* info, void*) {
  const int savedErrno = errno;
  if (void (*hook)(int) = gHook.exchange(nullptr)) hook(sig);
  gActive = 0;
  RawOff();
  // Hand the signal on to whoever had it before (by default: the end of the program).
  ::sigaction(sig, &gOld[sig], nullptr);
  const bool fault = (sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL) &&
                     info != nullptr && info->si_code > 0;
  if (!fault) ::raise(sig);  // delivered when this handler returns; a fault simply recurs
  errno = savedErrno;
}

void OnStop(int) {
  const int savedErrno = errno;
  const bool wasRaw = gRaw.load() != 0;
  RawOff();
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  struct sigaction ours {};
  ::sigaction(SIGTSTP, &dfl, &ours);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &tstp, nullptr);
  ::raise(SIGTSTP);  // stops here until continued
  ::sigaction(SIGTSTP, &ours, nullptr);
  if (wasRaw && gActive && InForeground()) RawOn();
  errno = savedErrno;
}

void OnContinue(int) {
  const int savedErrno = errno;
  if (gActive && InForeground()) RawOn();
  errno = savedErrno;
}

void RestoreAtExit() {
  gActive = 0;
  RawOff();
}

void OnTerminate() {
  gActive = 0;
  RawOff();
  if (gPreviousTerminate != nullptr) gPreviousTerminate();
  std::abort();
}

void InstallSignalHandlers() {
  static bool done = false;
  if (done) return;
  done = true;

  // Room to run the handler when the crash is a stack overflow.
  stack_t current{};
  if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) != 0) {
    static char altStack[64 * 1024];
    stack_t alt{};
    alt.ss_sp = altStack;
    alt.ss_size = sizeof altStack;
    ::sigaltstack(&alt, nullptr);
  }
  for (int sig : kFatalSignals) {
    struct sigaction old {};
    ::sigaction(sig, nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;  // e.g. SIGHUP under nohup stays ignored
    gOld[sig] = old;
    struct sigaction sa {};
    sa.sa_sigaction = OnFatalSignal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigfillset(&sa.sa_mask);  // nothing else runs on top of the restore
    ::sigaction(sig, &sa, nullptr);
  }
  struct sigaction old {};
  ::sigaction(SIGTSTP, nullptr, &old);
  if (old.sa_handler != SIG_IGN) {
    struct sigaction sa {};
    sa.sa_handler = OnStop;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTSTP, &sa, nullptr);
  }
  struct sigaction cont {};
  cont.sa_handler = OnContinue;
  cont.sa_flags = SA_RESTART;
  sigemptyset(&cont.sa_mask);
  ::sigaction(SIGCONT, &cont, nullptr);
}

// The signal a terminal makes of Ctrl+C, Ctrl+Z or Ctrl+\ (0 for any other key).
int SignalOf(const KeyEvent& e) {
  const std::uint32_t mods = e.state & (LEFT_CTRL | RIGHT_CTRL | LEFT_ALT | RIGHT_ALT);
  if (!e.keyDown || mods == 0 || (mods & (LEFT_ALT | RIGHT_ALT)) != 0) return 0;
  if (e.virtualKey == 'C') return SIGINT;
  if (e.virtualKey == 'Z') return SIGTSTP;
  if (e.virtualKey == 0xDC) return SIGQUIT;
  return 0;
}

// ---- keys pushed from other threads (the window's): a queue, and an eventfd polled beside
// standard input that wakes a waiting read or pause.

struct PushedKeys {
  std::mutex lock;
  std::deque<KeyEvent> events;  // guarded by lock
  std::atomic<bool> waiting{false};
  std::atomic<int> wakeFd{-1};
};

PushedKeys& Pushed() {
  static PushedKeys pushed;
  return pushed;
}

// Made by the key source, before its first wait, or by the first push; -1 when the system
// has none to give: a pushed key then waits for the next poll.
int MakeWakeFd(PushedKeys& p) {
  std::lock_guard guard(p.lock);
  if (p.wakeFd.load() < 0) p.wakeFd.store(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
  return p.wakeFd.load();
}

// As many keys as a held key repeats in two minutes: beyond them the game is not reading,
// and further keys are dropped, as a full console input buffer drops them.
constexpr std::size_t kMaxPushed = 4096;

// ---- the key source over standard input

class TerminalKeySource final : public KeyEventSource {
 public:
  TerminalKeySource() { MakeWakeFd(Pushed()); }

  bool Peek(KeyEvent& event) override {
    // Right after Idle found nothing there is nothing new to look for.
    if (!HasKey() && !idleFoundNothing_) Pump(0);
    idleFoundNothing_ = false;
    if (HasKey()) {
      event = keys_.front();
      return true;
    }
    if (!ended_) return false;
    event = EscapeEvent();
    return true;
  }

  KeyEvent Read() override {
    for (;;) {
      if (HasKey()) return Pop();
      if (ended_ && !TakePushed()) return EscapeEvent();
      Pump(-1);
    }
  }

  // Each wait ends at once when input arrives, so its length delays no key. It is 1 ms;
  // after a second of nothing at all it grows to 2 ms, which halves what a menu left
  // waiting costs (one wake-up costs some 25 us on a virtual machine).
  void Idle() override {
    if (HasKey() || ended_) return;
    idleFoundNothing_ = !Pump(idleStreak_ >= kLongIdle ? 2 : 1);
    idleStreak_ = idleFoundNothing_ ? std::min(idleStreak_ + 1, kLongIdle) : 0;
  }

  // Reads on even behind a full queue (the key may be behind it), up to kMaxTaking keys.
  // Under the kitty protocol Ctrl+C, Ctrl+Z and Ctrl+\ anywhere in the queue act here: a
  // program waiting for one key (a pause) still stops on them.
  bool Take(bool (*match)(const KeyEvent& event)) override {
    Pump(0, kMaxTaking);
    idleFoundNothing_ = false;
    for (auto it = keys_.begin(); it != keys_.end();) {
      if (const int sig = kitty_ ? SignalOf(*it) : 0) {
        it = keys_.erase(it);
        ::kill(0, sig);
      } else if (it->isKey && it->keyDown && match(*it)) {
        keys_.erase(it);
        return true;
      } else {
        ++it;
      }
    }
    return ended_;
  }

  // Asks the terminal whether it speaks the kitty keyboard protocol; the answer, and
  // any key typed meanwhile, goes through the decoder like all input.
  bool ProbeKitty() {
    constexpr char kQuery[] = "\x1b[?u\x1b[c";
    if (::write(fd_, kQuery, sizeof kQuery - 1) != static_cast<ssize_t>(sizeof kQuery - 1))
      return false;
    // Terminals answer at once; over a slow link the answer may take a round trip.
    const std::uint64_t deadline = Lib::MonotonicMs() + 1000;
    while (!decoder_.DeviceAttributesSeen() && !ended_ && keys_.size() < kMaxWaiting) {
      const std::uint64_t now = Lib::MonotonicMs();
      if (now >= deadline) break;
      Pump(static_cast<int>(deadline - now));
    }
    kitty_ = decoder_.KittyReplySeen();
    return kitty_;
  }

 private:
  // Under the kitty protocol the terminal no longer turns Ctrl+C, Ctrl+Z and Ctrl+\ into
  // signals itself. (Pushed keys never get here as such: PushKey signals at once.)
  bool HasKey() {
    while (!keys_.empty()) {
      const int sig = kitty_ ? SignalOf(keys_.front()) : 0;
      if (sig == 0) return true;
      keys_.pop_front();
      ::kill(0, sig);
    }
    return false;
  }

  KeyEvent Pop() {
    const KeyEvent e = keys_.front();
    keys_.pop_front();
    return e;
  }

  // Every key joins the queue here. Without the backlog a key that still waits unread
  // does not join it again.
  void Add(const KeyEvent& e) {
    if (!IO::KeyBacklog() &&
        std::any_of(keys_.begin(), keys_.end(), [&e](const KeyEvent& k) { return SameKey(k, e); }))
      return;
    keys_.push_back(e);
  }

  void TakeDecoded() {
    while (decoder_.HasEvent()) Add(decoder_.Pop());
  }

  // Pushed keys join behind the terminal's keys read so far. One pushed while a terminal
  // key is still being decoded (a lone ESC not yet settled) waits behind that key.
  bool TakePushed() {
    PushedKeys& p = Pushed();
    if (!p.waiting.load() || decoder_.MsUntilSettle(Lib::MonotonicMs()) >= 0) return false;
    std::lock_guard guard(p.lock);
    for (const KeyEvent& e : p.events) Add(e);
    p.events.clear();
    p.waiting.store(false);
    return true;
  }

  // After a poll of standard input and of the push wake-up (when there is one): reads
  // what came, settles the decoder when no byte was waiting, takes the pushed keys.
  void AfterPoll(const pollfd (&p)[2]) {
    if (p[0].revents != 0) {
      ReadReady(p[0].revents);
    } else {
      decoder_.Advance(Lib::MonotonicMs());
    }
    TakeDecoded();
    if (p[1].fd >= 0 && p[1].revents != 0) {
      std::uint64_t count = 0;
      if (::read(p[1].fd, &count, sizeof count) < 0) count = 0;  // taken by an earlier read
    }
    TakePushed();
  }

  static pollfd WakeFd() { return pollfd{Pushed().wakeFd.load(), POLLIN, 0}; }

  // One wait of at most timeoutMs (-1: no limit), cut short when a pending ESC or
  // sequence falls due or a key is pushed, and one read. Reads nothing while `limit` keys
  // wait, so a flood of input stays in the kernel. Time settles the decoder only when the
  // poll found no byte waiting: a read may have stopped inside a sequence whose rest is
  // still in the terminal, however long the keys before it took to be used.
  // TRUE when it read or took something or saw the input end.
  bool Pump(int timeoutMs, std::size_t limit = kMaxWaiting) {
    if (ended_) {
      TakePushed();
      return true;
    }
    if (keys_.size() >= limit) return true;
    const std::int64_t settle = decoder_.MsUntilSettle(Lib::MonotonicMs());
    if (settle >= 0 && (timeoutMs < 0 || settle < timeoutMs)) timeoutMs = static_cast<int>(settle);
    pollfd p[2] = {{fd_, POLLIN, 0}, WakeFd()};
    const std::size_t before = keys_.size();
    const int r = ::poll(p, p[1].fd >= 0 ? 2 : 1, timeoutMs);
    if (r < 0) {
      if (errno != EINTR && errno != EAGAIN) End();
      return ended_;
    }
    AfterPoll(p);
    return r > 0 || keys_.size() > before;
  }

  // After poll reported the input ready: one read, stamped with the time it came.
  void ReadReady(short revents) {
    if ((revents & POLLNVAL) != 0) {
      End();
      return;
    }
    std::uint8_t buf[256];
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n > 0) {
      decoder_.Feed(std::span<const std::uint8_t>(buf, static_cast<std::size_t>(n)),
                    Lib::MonotonicMs());
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      End();  // end of file, or a terminal that hung up
    }
  }

 public:
  // Sleeps until the absolute CLOCK_MONOTONIC deadline, reading input as it comes: what
  // is typed during a pause keeps its own timing, so an Escape typed well before another
  // key (with nothing waiting for kSettleMs) stays an Escape instead of reading as Alt
  // with that key. Settles, like Pump, only when the wait found no byte waiting.
  void SleepUntil(const timespec& deadline) {
    for (;;) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      if (now.tv_sec > deadline.tv_sec ||
          (now.tv_sec == deadline.tv_sec && now.tv_nsec >= deadline.tv_nsec))
        return;
      if (ended_ || keys_.size() >= kMaxWaiting) {
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
        return;
      }
      std::int64_t leftNs = (static_cast<std::int64_t>(deadline.tv_sec) - now.tv_sec) * 1000000000 +
                            (deadline.tv_nsec - now.tv_nsec);
      const std::int64_t settle = decoder_.MsUntilSettle(Lib::MonotonicMs());
      if (settle >= 0) leftNs = std::min(leftNs, settle * 1000000);
      const timespec left{static_cast<time_t>(leftNs / 1000000000), leftNs % 1000000000};
      pollfd p[2] = {{fd_, POLLIN, 0}, WakeFd()};
      const int r = ::ppoll(p, p[1].fd >= 0 ? 2 : 1, &left, nullptr);
      if (r >= 0) {
        AfterPoll(p);
      } else if (errno != EINTR) {
        End();
      }
    }
  }

 private:
  void End() {
    ended_ = true;
    decoder_.Finish();
    TakeDecoded();
  }

  static constexpr std::size_t kMaxWaiting = 64;
  static constexpr std::size_t kMaxTaking = kMaxPushed;
  int fd_ = STDIN_FILENO;
  TermDecoder decoder_;
  std::deque<KeyEvent> keys_;  // decoded and pushed, in the order they came
  bool ended_ = false;
  bool kitty_ = false;
  bool idleFoundNothing_ = false;
  static constexpr int kLongIdle = 1000;  // empty 1 ms waits in a row: about a second
  int idleStreak_ = 0;
};

TerminalKeySource& Terminal() {
  static TerminalKeySource source;
  return source;
}

bool KittyWanted() {
  const char* term = std::getenv("TERM");
  if (term != nullptr && std::strcmp(term, "dumb") == 0) return false;
  const char* off = std::getenv("NOVA_LEGACY_KEYS");
  return off == nullptr || *off == '\0';
}

}  // namespace

KeyEventSource& TerminalSource() {
  return Terminal();
}

void SleepReadingInput(const timespec& deadline) {
  Terminal().SleepUntil(deadline);
}

void PushKey(const KeyEvent& event) {
  if (const int sig = SignalOf(event)) {  // Ctrl+C is Ctrl+C wherever it is typed
    ::kill(0, sig);
    return;
  }
  PushedKeys& p = Pushed();
  const int fd = p.wakeFd.load() >= 0 ? p.wakeFd.load() : MakeWakeFd(p);
  {
    std::lock_guard guard(p.lock);
    if (p.events.size() >= kMaxPushed) return;
    if (!IO::KeyBacklog() && std::any_of(p.events.begin(), p.events.end(),
                                         [&event](const KeyEvent& e) { return SameKey(e, event); }))
      return;  // would be dropped when taken anyway
    p.events.push_back(event);
    p.waiting.store(true);
  }
  const std::uint64_t one = 1;
  if (fd >= 0 && ::write(fd, &one, sizeof one) < 0) return;  // full: a wake-up waits anyway
}

void EnterRawMode() {
  static bool done = false;
  if (done) return;
  done = true;
  if (::isatty(STDIN_FILENO)) {
    gTtyFd = STDIN_FILENO;
  } else {
    gTtyFd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (gTtyFd < 0) return;  // no terminal at all: nothing to set up
  }
  if (::tcgetattr(gTtyFd, &gSaved) != 0) return;
  gRawSettings = gSaved;
  gRawSettings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  gRawSettings.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
  gRawSettings.c_cc[VMIN] = 1;
  gRawSettings.c_cc[VTIME] = 0;

  InstallSignalHandlers();
  std::atexit(RestoreAtExit);
  std::at_quick_exit(RestoreAtExit);  // a lost X connection ends the program that way
#ifdef NOVA_SANITIZED
  __sanitizer_set_death_callback(RestoreAtExit);  // a sanitizer report ends with _exit
#endif
  gPreviousTerminate = std::set_terminate(OnTerminate);
  gActive = 1;
  RawOn();
  // The protocol's answers arrive on the input we read, so only a terminal on standard
  // input is asked.
  if (gTtyFd == STDIN_FILENO && KittyWanted() && Terminal().ProbeKitty()) {
    gKitty = 1;
    WriteAll(gTtyFd, kKittyPush, sizeof kKittyPush - 1);
  }
}

void SetFatalHook(void (*hook)(int signal)) {
  gHook.store(hook);
  if (hook != nullptr) InstallSignalHandlers();
}

}  // namespace IO::detail
