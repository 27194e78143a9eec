// Lib: delays through a replaceable clock, and the library's lagged random generator.
#pragma once

#include <time.h>

#include <cstdint>
#include <functional>

namespace Lib {

using CARDINAL = std::uint32_t;

// Time source for Delay. The real one sleeps; a virtual one only advances its count.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(CARDINAL ms) = 0;
  // Milliseconds since some fixed start.
  virtual std::uint64_t NowMs() = 0;
};

class RealClock final : public Clock {
 public:
  void Sleep(CARDINAL ms) override;
  std::uint64_t NowMs() override;
};

// Pauses take no time. onSleep, when set, is called after each pause has advanced the
// count: tests and benchmarks look at the screen or type keys there.
class VirtualClock final : public Clock {
 public:
  void Sleep(CARDINAL ms) override {
    now_ += ms;
    if (onSleep) onSleep(ms);
  }
  std::uint64_t NowMs() override { return now_; }
  std::function<void(CARDINAL ms)> onSleep;

 private:
  std::uint64_t now_ = 0;
};

// The monotonic clock behind the real clock and the terminal's waits: milliseconds
// since some fixed start, and the absolute CLOCK_MONOTONIC time ms from now.
std::uint64_t MonotonicMs();
timespec MonotonicDeadline(CARDINAL ms);
// How many Delays have begun: IO tells a run of back-to-back polls by it.
std::uint64_t DelayCount();

// Starts the module: every later Delay pauses on clock, which must outlive its use (in the
// program the terminal's, whose pauses read the keys typed; a virtual one in tests and
// timedemos). Before it, Delay sleeps. The first start also leaves the generator unseeded.
void Init(Clock& clock);
void Delay(CARDINAL ms);
CARDINAL RANDOM(CARDINAL range);
void RANDOMIZE();

// The seeding step of RANDOM with value s (RANDOMIZE uses it with a clock value).
void SeedRandom(CARDINAL s);
// Back to the unseeded state of a fresh start, for tests and replays.
void ResetRandom();

}  // namespace Lib
