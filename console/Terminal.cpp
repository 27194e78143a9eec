// The key source over standard input, and the clock that reads it while it pauses.
#include "console/Terminal.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "console/RawMode.h"
#include "console/TermDecoder.h"

namespace IO {

namespace {

bool KittyWanted() {
  const char* term = std::getenv("TERM");
  if (term != nullptr && std::strcmp(term, "dumb") == 0) return false;
  const char* off = std::getenv("NOVA_LEGACY_KEYS");
  return off == nullptr || *off == '\0';
}

// Decodes what standard input sends into the queue. A wait polls standard input beside an
// eventfd that PushKey's wake-up writes, so a key pushed from another thread ends it.
class TerminalKeySource final : public KeySource {
 public:
  void Start(KeyQueue& queue) override {
    queue_ = &queue;
    // The protocol's answers arrive on the input we read, so only a terminal on standard
    // input is asked.
    if (detail::EnterRawMode() && KittyWanted() && ProbeKitty()) detail::KittyOn();
  }

  void Poll() override {
    // Right after Idle found nothing there is nothing new to look for.
    if (queue_->Size() == 0 && !idleFoundNothing_) Pump(0);
    idleFoundNothing_ = false;
  }

  bool Wait() override {
    if (ended_) return false;
    Pump(-1);
    return true;
  }

  // Each wait ends at once when input arrives, so its length delays no key. It is 1 ms;
  // after a second of nothing at all it grows to 2 ms, which halves what a menu left
  // waiting costs (one wake-up costs some 25 us on a virtual machine).
  void Idle() override {
    if (queue_->Size() > 0 || ended_) return;
    idleFoundNothing_ = !Pump(idleStreak_ >= kLongIdle ? 2 : 1);
    idleStreak_ = idleFoundNothing_ ? std::min(idleStreak_ + 1, kLongIdle) : 0;
  }

  // Reads on even behind a full queue (the key may be behind it), up to kMaxTaking keys.
  bool PollToTake() override {
    Pump(0, kMaxTaking);
    idleFoundNothing_ = false;
    return true;
  }

  bool Ended() const override { return ended_; }

  void Wake() override {
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0 && ::write(wakeFd_, &one, sizeof one) < 0) return;  // full: it wakes anyway
  }

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
      if (queue_ == nullptr || ended_ || queue_->Size() >= kMaxWaiting) {
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
        return;
      }
      std::int64_t leftNs = (static_cast<std::int64_t>(deadline.tv_sec) - now.tv_sec) * 1000000000 +
                            (deadline.tv_nsec - now.tv_nsec);
      const std::int64_t settle = decoder_.MsUntilSettle(Lib::MonotonicMs());
      if (settle >= 0) leftNs = std::min(leftNs, settle * 1000000);
      const timespec left{static_cast<time_t>(leftNs / 1000000000), leftNs % 1000000000};
      pollfd p[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
      const int r = ::ppoll(p, wakeFd_ >= 0 ? 2 : 1, &left, nullptr);
      if (r >= 0) {
        AfterPoll(p);
      } else if (errno != EINTR) {
        End();
      }
    }
  }

 private:
  // Asks the terminal whether it speaks the kitty keyboard protocol; the answer, and
  // any key typed meanwhile, goes through the decoder like all input.
  bool ProbeKitty() {
    constexpr char kQuery[] = "\x1b[?u\x1b[c";
    if (::write(fd_, kQuery, sizeof kQuery - 1) != static_cast<ssize_t>(sizeof kQuery - 1))
      return false;
    // Terminals answer at once; over a slow link the answer may take a round trip.
    const std::uint64_t deadline = Lib::MonotonicMs() + 1000;
    while (!decoder_.DeviceAttributesSeen() && !ended_ && queue_->Size() < kMaxWaiting) {
      const std::uint64_t now = Lib::MonotonicMs();
      if (now >= deadline) break;
      Pump(static_cast<int>(deadline - now));
    }
    kitty_ = decoder_.KittyReplySeen();
    return kitty_;
  }

  // Every decoded key joins the queue here. Under the kitty protocol the terminal no longer
  // turns Ctrl+C, Ctrl+Z and Ctrl+\ into signals itself: they act as they are read. While a
  // key is still being decoded (a lone ESC not yet settled), keys pushed meanwhile wait
  // behind it.
  void TakeDecoded() {
    while (decoder_.HasEvent()) {
      const KeyEvent e = decoder_.Pop();
      if (const int sig = kitty_ ? detail::SignalOf(e) : 0) {
        ::kill(0, sig);
      } else {
        queue_->PushAhead(e);
      }
    }
    if (decoder_.Settled()) {
      queue_->Release();
    } else {
      queue_->Hold();
    }
  }

  // After a poll of standard input and of the wake-up: reads what came, settles the
  // decoder when no byte was waiting.
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
  }

  // One wait of at most timeoutMs (-1: no limit), cut short when a pending ESC or
  // sequence falls due or a key is pushed, and one read. Reads nothing while `limit` keys
  // wait, so a flood of input stays in the kernel. Time settles the decoder only when the
  // poll found no byte waiting: a read may have stopped inside a sequence whose rest is
  // still in the terminal, however long the keys before it took to be used.
  // TRUE when it read something, was woken or saw the input end.
  bool Pump(int timeoutMs, std::size_t limit = kMaxWaiting) {
    if (ended_ || queue_->Size() >= limit) return true;
    const std::int64_t settle = decoder_.MsUntilSettle(Lib::MonotonicMs());
    if (settle >= 0 && (timeoutMs < 0 || settle < timeoutMs)) timeoutMs = static_cast<int>(settle);
    pollfd p[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const std::size_t before = queue_->Size();
    const int r = ::poll(p, wakeFd_ >= 0 ? 2 : 1, timeoutMs);
    if (r < 0) {
      if (errno != EINTR && errno != EAGAIN) End();
      return ended_;
    }
    AfterPoll(p);
    return r > 0 || queue_->Size() > before;
  }

  // After poll reported the input ready: one read, stamped with the time it came.
  void ReadReady(short revents) {
    if ((revents & POLLNVAL) != 0) {
      End();
      return;
    }
    std::uint8_t buf[kReadBytes];
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n > 0) {
      decoder_.Feed(std::span<const std::uint8_t>(buf, static_cast<std::size_t>(n)),
                    Lib::MonotonicMs());
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      End();  // end of file, or a terminal that hung up
    }
  }

  void End() {
    ended_ = true;
    decoder_.Finish();
    TakeDecoded();
  }

  static constexpr std::size_t kMaxWaiting = 64;
  static constexpr std::size_t kReadBytes = 256;
  // As many as the queue holds, less room for what one read decodes (at most an event a
  // byte, the bytes still waiting in the decoder too): a read never overfills it.
  static constexpr std::size_t kMaxTaking = KeyQueue::kCapacity - 2 * kReadBytes;
  static constexpr int kLongIdle = 1000;  // empty 1 ms waits in a row: about a second
  const int fd_ = STDIN_FILENO;
  // Made before any thread can push; -1 when the system has none to give: a pushed key
  // then waits for the next poll.
  const int wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  KeyQueue* queue_ = nullptr;
  TermDecoder decoder_;
  bool ended_ = false;
  bool kitty_ = false;
  bool idleFoundNothing_ = false;
  int idleStreak_ = 0;
};

TerminalKeySource& Terminal() {
  static TerminalKeySource source;
  return source;
}

class TerminalPauses final : public Lib::Clock {
 public:
  void Sleep(Lib::CARDINAL ms) override { Terminal().SleepUntil(Lib::MonotonicDeadline(ms)); }
  std::uint64_t NowMs() override { return Lib::MonotonicMs(); }
};

}  // namespace

KeySource& TerminalKeys() {
  return Terminal();
}

Lib::Clock& TerminalClock() {
  static TerminalPauses clock;
  return clock;
}

}  // namespace IO
