// CPU time of the window and server threads over 10 s in which nothing is drawn.
// The window is shown when DISPLAY names a display, else the surface alone serves.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "graph/Graph.h"

namespace {

// Run time in nanoseconds of every thread of this process but the calling one.
std::map<int, long long> OtherThreadsCpu() {
  std::map<int, long long> cpu;
  DIR* dir = opendir("/proc/self/task");
  if (!dir) return cpu;
  const int self = gettid();
  while (dirent* e = readdir(dir)) {
    int tid = std::atoi(e->d_name);
    if (tid <= 0 || tid == self) continue;
    std::ifstream in("/proc/self/task/" + std::string(e->d_name) + "/schedstat");
    long long ns = 0;
    if (in >> ns) cpu[tid] = ns;
  }
  closedir(dir);
  return cpu;
}

}  // namespace

int main() {
  const char* display = std::getenv("DISPLAY");
  bool window = display && *display;
  if (!Graph::Init(1, 1, 1024, 700,
                   window ? Graph::WindowSystemKind::Sdl : Graph::WindowSystemKind::None, {}))
    return 1;
  for (Graph::CARDINAL i = 0; i < 20000; ++i) Graph::Plot(250 + i % 700, i / 700, i % 16);
  Graph::ReadPixel(0, 0);
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the last present goes out
  auto before = OtherThreadsCpu();
  std::this_thread::sleep_for(std::chrono::seconds(10));
  auto after = OtherThreadsCpu();
  std::printf("window: %s\n", window ? display : "none (surface only)");
  long long total = 0;
  for (auto [tid, ns] : after) {
    long long used = ns - (before.count(tid) ? before[tid] : 0);
    total += used;
    std::printf("thread %d: %lld ns of CPU in 10 s\n", tid, used);
  }
  std::printf("all service threads: %.3f ms of CPU in 10 s\n", total / 1e6);
  Graph::Exit();
  return 0;
}
