// libFuzzer harness over the terminal decoder. On every input: no sanitizer report, at most
// one event per byte, and the same events whether the bytes come whole or in pieces of any
// length, however late, with no Advance between. A second pass spreads them with Advance:
// the settle wait stays within its bounds and ends with the input. The decoded events then go
// through the key queue, popped at moments the input chooses: with the backlog they come out
// all and in order; without it, in order, none invented, and none while an equal one waits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "console/KeyQueue.h"
#include "console/TermDecoder.h"

namespace {

using IO::KeyEvent;
using IO::TermDecoder;
using Event = std::tuple<bool, bool, std::uint16_t, std::uint16_t, IO::CHAR, std::uint32_t>;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The events of the input fed in pieces of `piece` bytes (the last one takes the rest),
// each a second after the one before.
Event Of(const KeyEvent& e) {
  return {e.isKey, e.keyDown, e.virtualKey, e.scanCode, e.character, e.state};
}

std::vector<Event> Decode(const std::uint8_t* data, std::size_t size, std::size_t piece) {
  TermDecoder d;
  for (std::size_t at = 0; at < size; at += piece)
    d.Feed({data + at, std::min(piece, size - at)}, 7 + at * 1000);
  d.Finish();
  std::vector<Event> out;
  while (d.HasEvent()) {
    out.push_back(Of(d.Pop()));
  }
  return out;
}

void ThroughTheQueue(const std::uint8_t* data, std::size_t size) {
  TermDecoder d;
  d.Feed({data, size}, 7);
  d.Finish();
  std::vector<KeyEvent> in;
  while (d.HasEvent()) in.push_back(d.Pop());
  for (bool backlog : {true, false}) {
    IO::KeyQueue queue;
    queue.SetBacklog(backlog);
    std::vector<KeyEvent> waiting;  // what the queue should hold
    std::vector<Event> expected, out;
    for (std::size_t i = 0; i < in.size(); ++i) {
      const bool joins =
          backlog || std::none_of(waiting.begin(), waiting.end(),
                                  [&](const KeyEvent& w) { return SameKey(w, in[i]); });
      Check(queue.Push(in[i]) == joins);
      if (joins) waiting.push_back(in[i]);
      if (data[i] & 4) {  // the game reads everything waiting
        for (const KeyEvent& w : waiting) expected.push_back(Of(w));
        waiting.clear();
        for (KeyEvent e; queue.Pop(e);) out.push_back(Of(e));
      }
    }
    for (const KeyEvent& w : waiting) expected.push_back(Of(w));
    for (KeyEvent e; queue.Pop(e);) out.push_back(Of(e));
    Check(out == expected && (!backlog || out.size() == in.size()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<Event> expected = Decode(data, size, size + 1);
  Check(expected.size() <= size);
  // Every piece length for short inputs (so a cut at every offset), a spread for long ones.
  for (std::size_t piece = 1; piece < size; piece += size < 64 ? 1 : size / 32)
    Check(Decode(data, size, piece) == expected);

  // Time passing between bytes: a byte's low bits choose the gap before the next one.
  TermDecoder timed;
  std::uint64_t now = 0;
  std::size_t events = 0;
  for (std::size_t i = 0; i < size; ++i) {
    timed.Feed({data + i, 1}, now);
    now += (data[i] & 3) * 30;
    const std::int64_t wait = timed.MsUntilSettle(now);
    Check(wait >= -1 && wait <= static_cast<std::int64_t>(TermDecoder::kSettleMs));
    timed.Advance(now);
    events += timed.EventCount();
    while (timed.HasEvent()) timed.Pop();
  }
  timed.Finish();
  Check(events + timed.EventCount() <= size && timed.MsUntilSettle(now) == -1);
  ThroughTheQueue(data, size);
  return 0;
}
