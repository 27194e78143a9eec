// Lib: delays through a replaceable clock, and the library's lagged random generator.
#pragma once

#include <cstdint>

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

class VirtualClock final : public Clock {
 public:
  void Sleep(CARDINAL ms) override { now_ += ms; }
  std::uint64_t NowMs() override { return now_; }

 private:
  std::uint64_t now_ = 0;
};

// Uses clock for every later Delay (nullptr: the real clock). Must outlive its use.
void SetClock(Clock* clock);
Clock& CurrentClock();

void Init();
void Delay(CARDINAL ms);
CARDINAL RANDOM(CARDINAL range);
void RANDOMIZE();

// The seeding step of RANDOM with value s (RANDOMIZE uses it with a clock value).
void SeedRandom(CARDINAL s);
// Back to the unseeded state of a fresh start, for tests and replays.
void ResetRandom();

}  // namespace Lib
