// Drives console_poll_child on a pseudo-terminal and prints what the key wait costs.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/Pty.h"

using namespace std::chrono_literals;

namespace {

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct Report {
  int code = -1;
  long long wall = 0, cpu = 0, waited = 0;
};

// The next "K ..." line the child writes after position from.
bool NextReport(testing_pty::PtyProcess& p, std::size_t& from, Report& r) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  for (;;) {
    const std::string& out = p.Output();
    std::size_t k = out.find("K ", from);
    std::size_t end = k == std::string::npos ? k : out.find('\n', k);
    if (end != std::string::npos) {
      std::istringstream in(out.substr(k + 2, end - k - 2));
      in >> r.code >> r.wall >> r.cpu >> r.waited;
      from = end;
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) return false;
    p.Read(1ms);
  }
}

double Ms(long long ns) {
  return static_cast<double>(ns) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
  const int samples = argc > 2 ? std::atoi(argv[2]) : 300;

  testing_pty::PtyProcess p;
  testing_pty::PtyOptions o;
  o.argv = {POLL_CHILD_PATH};
  o.env = {"TERM=xterm"};
  if (!p.Start(o) || !p.WaitFor("READY", 5s)) {
    std::fprintf(stderr, "console_poll_child did not start\n");
    return 1;
  }
  std::size_t from = p.Output().find("READY");

  // CPU while the menu-style loop waits with nothing typed.
  std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
  p.Write("c");
  Report idle;
  if (!NextReport(p, from, idle)) return 1;
  std::printf("menu wait: %.3f s waited, %.1f ms CPU = %.2f %% of a core\n", idle.waited / 1e9,
              Ms(idle.cpu),
              100.0 * static_cast<double>(idle.cpu) / static_cast<double>(idle.waited));

  // Latency: byte written to the terminal -> RdKey returned it, at random moments.
  std::mt19937 rng(1);
  std::vector<long long> latency;
  for (int i = 0; i < samples; ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 8000));
    const long long sent = NowNs();
    p.Write("a");
    Report r;
    if (!NextReport(p, from, r) || r.code != 'a') return 1;
    latency.push_back(r.wall - sent);
  }
  std::sort(latency.begin(), latency.end());
  std::printf("key latency over %d keys: median %.3f ms, p99 %.3f ms, max %.3f ms\n", samples,
              Ms(latency[latency.size() / 2]), Ms(latency[latency.size() * 99 / 100]),
              Ms(latency.back()));
  p.Write("q");
  p.Wait(5s);

  // Once per tick the poll never waits.
  testing_pty::PtyProcess t;
  o.argv = {POLL_CHILD_PATH, "tick"};
  if (!t.Start(o) || !t.WaitFor("TICK", 30s)) return 1;
  t.Read(100ms);
  long long med = 0, p99 = 0, max = 0, lateMed = 0, lateP99 = 0;
  std::istringstream in(t.Output().substr(t.Output().find("TICK") + 5));
  in >> med >> p99 >> max >> lateMed >> lateP99;
  std::printf("one poll per tick: median %.1f us, p99 %.1f us, max %.1f us per KeyPressed\n",
              med / 1e3, p99 / 1e3, max / 1e3);
  std::printf("Lib.Delay(2) while reading the terminal: late by median %.1f us, p99 %.1f us\n",
              lateMed / 1e3, lateP99 / 1e3);
  return 0;
}
