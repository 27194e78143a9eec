// Waits for keys the way the menu does (KeyPressed in a loop without pause) and reports,
// per key, when RdKey returned it and the CPU time spent waiting. With "tick" it instead
// times single KeyPressed polls made once per 2 ms tick, as the game loop makes them.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "console/IO.h"
#include "console/Lib.h"
#include "console/Terminal.h"

namespace {
long long Ns(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

void Say(const char* text) {
  IO::WrStr(text);
  IO::WrLn();
}
}  // namespace

int main(int argc, char** argv) {
  Lib::Init(IO::TerminalClock());
  IO::Init(IO::TerminalKeys());
  char line[160];
  if (argc > 1 && std::strcmp(argv[1], "tick") == 0) {
    std::vector<long long> costs, overshoot;
    for (int i = 0; i < 2000; ++i) {
      const long long start = Ns(CLOCK_MONOTONIC);
      IO::KeyPressed();
      const long long polled = Ns(CLOCK_MONOTONIC);
      costs.push_back(polled - start);
      Lib::Delay(2);  // the pause reads the terminal while it waits
      overshoot.push_back(Ns(CLOCK_MONOTONIC) - polled - 2000000);
    }
    std::sort(costs.begin(), costs.end());
    std::sort(overshoot.begin(), overshoot.end());
    std::snprintf(line, sizeof line, "TICK %lld %lld %lld %lld %lld", costs[costs.size() / 2],
                  costs[costs.size() * 99 / 100], costs.back(), overshoot[overshoot.size() / 2],
                  overshoot[overshoot.size() * 99 / 100]);
    Say(line);
    return 0;
  }
  Say("READY");
  for (;;) {
    const long long wall0 = Ns(CLOCK_MONOTONIC), cpu0 = Ns(CLOCK_PROCESS_CPUTIME_ID);
    while (!IO::KeyPressed()) {
    }
    const int c = IO::RdKey();
    const long long wall = Ns(CLOCK_MONOTONIC), cpu = Ns(CLOCK_PROCESS_CPUTIME_ID);
    std::snprintf(line, sizeof line, "K %d %lld %lld %lld", c, wall, cpu - cpu0, wall - wall0);
    Say(line);
    if (c == 'q') return 0;
  }
}
