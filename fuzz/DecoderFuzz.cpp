// libFuzzer harness over the terminal decoder. On every input: no crash, no sanitizer
// report, at most one event per byte, and the same events whether the bytes come whole,
// one by one or split at any point. A second pass spreads the bytes over time.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "console/TermDecoder.h"

namespace {

using IO::KeyEvent;
using IO::TermDecoder;

bool Same(const KeyEvent& a, const KeyEvent& b) {
  return a.isKey == b.isKey && a.keyDown == b.keyDown && a.virtualKey == b.virtualKey &&
         a.scanCode == b.scanCode && a.character == b.character && a.state == b.state;
}

std::vector<KeyEvent> Drain(TermDecoder& d) {
  std::vector<KeyEvent> out;
  while (d.HasEvent()) out.push_back(d.Pop());
  return out;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckSame(const std::vector<KeyEvent>& a, const std::vector<KeyEvent>& b) {
  Check(a.size() == b.size());
  for (std::size_t i = 0; i < a.size(); ++i) Check(Same(a[i], b[i]));
}

std::vector<KeyEvent> Split(const std::uint8_t* data, std::size_t size, std::size_t at) {
  TermDecoder d;
  d.Feed({data, at}, 7);
  d.Feed({data + at, size - at}, 7);
  d.Finish();
  return Drain(d);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TermDecoder whole;
  whole.Feed({data, size}, 7);
  whole.Finish();
  const std::vector<KeyEvent> expected = Drain(whole);
  Check(expected.size() <= size);

  TermDecoder single;
  for (std::size_t i = 0; i < size; ++i) single.Feed({data + i, 1}, 7);
  single.Finish();
  CheckSame(Drain(single), expected);

  // Every split point for short inputs, a spread of them for long ones.
  const std::size_t step = size < 64 ? 1 : size / 32;
  for (std::size_t at = 1; at < size; at += step) CheckSame(Split(data, size, at), expected);

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
    events += Drain(timed).size();
  }
  timed.Finish();
  events += Drain(timed).size();
  Check(events <= size);
  Check(timed.MsUntilSettle(now) == -1);
  return 0;
}
