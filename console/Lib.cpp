// Lib: Delay through a replaceable clock; the additive lagged generator RANDOM.
#include "console/Lib.h"

#include <time.h>

#include <array>
#include <cerrno>

namespace Lib {

namespace {

Clock* gClock = nullptr;
std::uint64_t gDelays = 0;

std::array<CARDINAL, 55> gTable{};
CARDINAL gJ = 0;  // the word the next step overwrites
CARDINAL gK = 0;  // the word added to it; (0, 0) means "not seeded yet"

}  // namespace

std::uint64_t MonotonicMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::uint64_t>(t.tv_sec) * 1000u +
         static_cast<std::uint64_t>(t.tv_nsec) / 1000000u;
}

timespec MonotonicDeadline(CARDINAL ms) {
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += ms / 1000;
  deadline.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  return deadline;
}

void RealClock::Sleep(CARDINAL ms) {
  // An absolute deadline keeps the sleep exact across signal interruptions.
  const timespec deadline = MonotonicDeadline(ms);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

std::uint64_t RealClock::NowMs() {
  return MonotonicMs();
}

std::uint64_t DelayCount() {
  return gDelays;
}

void Init(Clock& clock) {
  gClock = &clock;
  static bool done = false;
  if (done) return;
  done = true;
  ResetRandom();
}

void Delay(CARDINAL ms) {
  ++gDelays;
  static RealClock real;
  (gClock != nullptr ? *gClock : real).Sleep(ms);
}

void ResetRandom() {
  gTable.fill(0);
  gJ = 0;
  gK = 0;
}

void SeedRandom(CARDINAL s) {
  CARDINAL x = s;
  for (CARDINAL& word : gTable) {
    x = x * 3141592621u + 17u;
    word = x >> 16;
  }
  gJ = 54;
  gK = 23;
}

CARDINAL RANDOM(CARDINAL range) {
  if (gJ == 0 && gK == 0) {
    SeedRandom(12345);
  } else {
    gJ = gJ == 0 ? 54 : gJ - 1;
    gK = gK == 0 ? 54 : gK - 1;
  }
  gTable[gJ] += gTable[gK];
  return range != 0 ? gTable[gJ] % range : gTable[gJ];
}

void RANDOMIZE() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  const CARDINAL second =
      static_cast<CARDINAL>(local.tm_sec < 59 ? local.tm_sec : 59);  // leap second
  const CARDINAL hundredths = static_cast<CARDINAL>(now.tv_nsec / 10000000L);
  SeedRandom(second * hundredths);
}

}  // namespace Lib
