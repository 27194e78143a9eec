// Game figures: ticks per second of a headless timedemo of the long play, the length of
// a tick at the real pace (mean and worst), peak memory, and the cost of a sound event.
//
//   game_bench [runs]     (default 3 timedemo runs)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/SdlMixerPlayer.h"
#include "support/StandardSound.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Child {
  int status = -1;
  long maxRssKb = 0;
  std::vector<std::pair<double, std::string>> lines;  // arrival (s since start), text
};

// Runs the game with args; every line of its standard output is stamped on arrival.
Child RunGame(const std::vector<std::string>& args) {
  Child c;
  int fds[2];
  if (::pipe(fds) != 0) return c;
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 1);
    ::close(fds[0]);
    ::close(fds[1]);
    std::vector<char*> argv{const_cast<char*>(NOVA_GUNNER_PATH),
                            const_cast<char*>("--no-config")};  // the faithful program
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(NOVA_GUNNER_PATH, argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string partial;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) {
    const double at = std::chrono::duration<double>(Clock::now() - start).count();
    partial.append(buf, static_cast<std::size_t>(n));
    for (std::size_t nl; (nl = partial.find('\n')) != std::string::npos;) {
      c.lines.emplace_back(at, partial.substr(0, nl));
      partial.erase(0, nl + 1);
    }
  }
  ::close(fds[0]);
  rusage usage{};
  int status = 0;
  ::wait4(pid, &status, 0, &usage);
  c.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  c.maxRssKb = usage.ru_maxrss;
  return c;
}

void Timedemo(int runs) {
  const std::string demo = std::string(NOVA_DEMO_DIR) + "/long-play.demo";
  std::printf("timedemo --headless of long-play.demo (%d runs)\n", runs);
  double best = 0;
  long rss = 0;
  for (int i = 0; i < runs; ++i) {
    const Child c = RunGame({"--timedemo", demo, "--headless", "--nosound"});
    for (const auto& [at, text] : c.lines) {
      if (text.rfind("timedemo:", 0) != 0) continue;
      long long ticks = 0;
      double seconds = 0;
      std::sscanf(text.c_str(), "timedemo: %lld ticks in %lf s", &ticks, &seconds);
      const double rate = seconds > 0 ? static_cast<double>(ticks) / seconds : 0;
      best = std::max(best, rate);
      std::printf(
          "  run %d: %lld ticks in %.3f s = %.0f ticks/s (%.3f ms per tick), "
          "whole run %.2f s\n",
          i + 1, ticks, seconds, rate, rate > 0 ? 1000.0 / rate : 0.0, at);
    }
    rss = std::max(rss, c.maxRssKb);
    if (c.status != 0) std::printf("  run %d ended with status %d\n", i + 1, c.status);
  }
  std::printf("  best: %.0f ticks/s (target >= 5000)\n", best);
  std::printf("  peak memory (max RSS): %.1f MiB\n", static_cast<double>(rss) / 1024.0);
}

void RealPace(int ticks) {
  // The long play's first keys, then Escape: a play of exactly `ticks` ticks.
  char name[] = "/tmp/nova-bench-XXXXXX";
  const int fd = ::mkstemp(name);
  std::string text = "# pace\n";
  for (int t = 1; t <= 12; ++t) text += std::to_string(t) + " 0 80\n";
  text += std::to_string(ticks) + " 27\n";
  if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return;
  ::close(fd);
  const Child c = RunGame({"--replay", name, "--headless", "--nosound", "--trace"});
  ::unlink(name);
  std::vector<double> stamps;
  for (const auto& [at, line] : c.lines) {
    if (line.rfind("tick ", 0) == 0) stamps.push_back(at);
  }
  if (stamps.size() < 3) {
    std::printf("real-pace replay: too few ticks (%zu)\n", stamps.size());
    return;
  }
  std::vector<double> lengths;
  for (std::size_t i = 1; i < stamps.size(); ++i)
    lengths.push_back(1000 * (stamps[i] - stamps[i - 1]));
  double sum = 0;
  for (double l : lengths) sum += l;
  std::vector<double> sorted = lengths;
  std::sort(sorted.begin(), sorted.end());
  const double mean = sum / static_cast<double>(lengths.size());
  std::printf("real-pace --replay --headless, %zu ticks\n", lengths.size());
  std::printf(
      "  tick length: mean %.3f ms, median %.3f ms, p99 %.3f ms, worst %.3f ms "
      "(60 ms delay + work)\n",
      mean, sorted[sorted.size() / 2], sorted[sorted.size() * 99 / 100], sorted.back());
  std::printf("  peak memory (max RSS): %.1f MiB\n", static_cast<double>(c.maxRssKb) / 1024.0);
}

// One asynchronous event with an audio device (SDL's disk driver into /dev/null), more
// effects at once than there are channels; the first event opens the device.
void SoundEvents() {
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  StandardSound::SdlMixerPlayer player({NOVA_SOUND_DIR});
  StandardSound::Init(player);
  StandardSound::InitSound(true);
  const auto start = Clock::now();
  for (int i = 0; i < 1000; ++i)
    StandardSound::PlaySoundEvent(i % 3 == 0 ? StandardSound::BOOM : StandardSound::FIRE);
  const std::chrono::duration<double, std::micro> took = Clock::now() - start;
  player.Close();
  std::printf("sound: 1000 asynchronous events with a device: %.1f us each\n", took.count() / 1000);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  Timedemo(runs);
  RealPace(300);
  SoundEvents();
  return 0;
}
