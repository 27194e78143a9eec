// libFuzzer harness over the terminal decoder and the key queue. On every input: no
// sanitizer report, at most one event per byte, and the same events whether the bytes
// come whole or in pieces of any length, however late, with no Advance between. A second
// pass spreads them with Advance and pushes the events into a key queue as the terminal
// does, beside keys pushed from elsewhere (the window's), with reads, takes and clears
// between: the queue gives them in the order they could first be seen, a key still
// being decoded holding later pushes behind it, and drops one only by the backlog rule.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <tuple>
#include <utility>
#include <vector>

#include "console/KeyQueue.h"
#include "console/TermDecoder.h"

namespace {

using IO::KeyEvent;
using IO::TermDecoder;
using Event = std::tuple<bool, bool, std::uint16_t, std::uint16_t, IO::CHAR, std::uint32_t>;

std::vector<Event> Drain(TermDecoder& d) {
  std::vector<Event> out;
  while (d.HasEvent()) {
    const KeyEvent e = d.Pop();
    out.emplace_back(e.isKey, e.keyDown, e.virtualKey, e.scanCode, e.character, e.state);
  }
  return out;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

// The events of the input fed in pieces of `piece` bytes (the last one takes the rest),
// each a second after the one before.
std::vector<Event> Decode(const std::uint8_t* data, std::size_t size, std::size_t piece) {
  TermDecoder d;
  for (std::size_t at = 0; at < size; at += piece)
    d.Feed({data + at, std::min(piece, size - at)}, 7 + at * 1000);
  d.Finish();
  return Drain(d);
}

// One source's events in the queue, in the order pushed, each with the step from which
// it can be seen (0: held, not yet).
using Waiting = std::deque<std::pair<KeyEvent, std::uint64_t>>;

// What the queue has to give next: the earliest seen of the sources' first events.
Waiting* Next(Waiting& a, Waiting& b) {
  const bool seenA = !a.empty() && a.front().second != 0;
  const bool seenB = !b.empty() && b.front().second != 0;
  if (!seenA && !seenB) return nullptr;
  return !seenB || (seenA && a.front().second < b.front().second) ? &a : &b;
}

IO::CHAR takeChar = 0;
bool TakeMatch(const KeyEvent& e) {
  return e.character == takeChar;
}

// The queue beside the timed decoder, driven by the input's bytes.
class QueueCheck {
 public:
  explicit QueueCheck(bool backlog) : backlog_(backlog) { queue_.SetBacklog(backlog); }

  // The decoder's new events, pushed as the terminal pushes them.
  void FromTerminal(TermDecoder& d) {
    while (d.HasEvent()) {
      const KeyEvent e = d.Pop();
      Arrive(terminal_, e, queue_.PushAhead(e), ++step_);
    }
    if (d.Settled()) {
      queue_.Release();
      for (auto& w : window_)
        if (w.second == 0) w.second = ++step_;
    } else {
      queue_.Hold();
    }
    held_ = !d.Settled();
  }

  // A key pushed from elsewhere; it carries a state bit no terminal key has.
  void FromWindow(std::uint8_t b) {
    const KeyEvent e{true, (b & 0x20) == 0, 0, 0, static_cast<IO::CHAR>(0x40 | (b & 7)), 0x8000};
    Arrive(window_, e, queue_.Push(e), held_ ? 0 : ++step_);
  }

  void Read() {
    Waiting* next = Next(terminal_, window_);
    KeyEvent e;
    Check(queue_.Pop(e) == (next != nullptr));
    if (next == nullptr) return;
    Check(IO::SameKey(next->front().first, e));
    next->pop_front();
  }

  // Takes the first seen key-down with character c, wherever it waits.
  void Take(IO::CHAR c) {
    Waiting* from = nullptr;
    Waiting::iterator first;
    for (Waiting* w : {&terminal_, &window_}) {
      auto it = std::find_if(w->begin(), w->end(), [c](const auto& x) {
        return x.second != 0 && x.first.isKey && x.first.keyDown && x.first.character == c;
      });
      if (it != w->end() && (from == nullptr || it->second < first->second)) from = w, first = it;
    }
    takeChar = c;
    Check(queue_.Take(TakeMatch) == (from != nullptr));
    if (from != nullptr) from->erase(first);
  }

  void Clear() {
    queue_.Clear();
    terminal_.clear(), window_.clear();
  }

  // Everything comes out, and then nothing.
  void Finish() {
    Check(!held_);
    while (!terminal_.empty() || !window_.empty()) Read();
    KeyEvent e;
    Check(!queue_.Pop(e) && queue_.Size() == 0);
  }

 private:
  // Only the backlog rule drops an event: then an equal one waits.
  void Arrive(Waiting& to, const KeyEvent& e, bool joined, std::uint64_t seenFrom) {
    auto same = [&e](const auto& w) { return IO::SameKey(w.first, e); };
    const bool equalWaits = std::any_of(terminal_.begin(), terminal_.end(), same) ||
                            std::any_of(window_.begin(), window_.end(), same);
    Check(joined == (backlog_ || !equalWaits));
    if (joined) to.emplace_back(e, seenFrom);
  }

  IO::KeyQueue queue_;
  bool backlog_;
  bool held_ = false;
  std::uint64_t step_ = 0;
  Waiting terminal_, window_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<Event> expected = Decode(data, size, size + 1);
  Check(expected.size() <= size);
  // Every piece length for short inputs (so a cut at every offset), a spread for long ones.
  for (std::size_t piece = 1; piece < size; piece += size < 64 ? 1 : size / 32)
    Check(Decode(data, size, piece) == expected);

  // Time passing between bytes: a byte's low bits choose the gap before the next one; its
  // high bits what happens at the queue meanwhile.
  TermDecoder timed;
  QueueCheck queue(size > 0 && (data[0] & 1) != 0);
  std::uint64_t now = 0;
  std::size_t events = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    timed.Feed({data + i, 1}, now);
    now += (b & 3) * 30;
    const std::int64_t wait = timed.MsUntilSettle(now);
    Check(wait >= -1 && wait <= static_cast<std::int64_t>(TermDecoder::kSettleMs));
    timed.Advance(now);
    events += timed.EventCount();
    queue.FromTerminal(timed);
    if ((b & 0x80) != 0) queue.FromWindow(b);
    if (b % 5 == 0) queue.Read();
    if (b % 7 == 0) queue.Take(static_cast<IO::CHAR>(b % 3 == 0 ? 0x40 | (b & 7) : b & 0x7F));
    if (b == 0xFF) queue.Clear();
  }
  timed.Finish();
  Check(events + timed.EventCount() <= size && timed.MsUntilSettle(now) == -1);
  queue.FromTerminal(timed);
  queue.Finish();
  return 0;
}
