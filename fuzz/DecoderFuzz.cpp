// libFuzzer harness over the terminal decoder. On every input: no sanitizer report, at most
// one event per byte, and the same events whether the bytes come whole or in pieces of any
// length, however late, with no Advance between. A second pass spreads them with Advance:
// the settle wait stays within its bounds and ends with the input. (The key queue's rules
// are KeyQueueTest's.)
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

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
std::vector<Event> Decode(const std::uint8_t* data, std::size_t size, std::size_t piece) {
  TermDecoder d;
  for (std::size_t at = 0; at < size; at += piece)
    d.Feed({data + at, std::min(piece, size - at)}, 7 + at * 1000);
  d.Finish();
  std::vector<Event> out;
  while (d.HasEvent()) {
    const KeyEvent e = d.Pop();
    out.emplace_back(e.isKey, e.keyDown, e.virtualKey, e.scanCode, e.character, e.state);
  }
  return out;
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
  return 0;
}
