// Replays: demo files read, their keys given back tick by tick, and the lines they print.
#include "game/Replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "console/KeyCodes.h"
#include "game/NovaGunner.h"

namespace NovaGunner::Replay {

void DemoKeySource::BeginTick(std::int64_t tick) {
  if (queue_ == nullptr) return;
  queue_->Clear();
  while (next_ < ticks_.size() && ticks_[next_].tick < tick) ++next_;  // missed: gone
  if (next_ >= ticks_.size() || ticks_[next_].tick != tick) return;
  const Demo::TickInput& t = ticks_[next_++];
  if (t.count == 2 && t.codes[0] == 0 && t.codes[1] == 0) {
    queue_->Push(IO::EventFor(0));  // the arrow reader's 0 is a key of its own
  }
  queue_->Push(IO::EventFor(t.codes[0], t.codes[1]));
}

std::string TraceLine(const World::TickReport& r) {
  char text[256];
  std::snprintf(text, sizeof text, "tick %lld %d %d %d %u %d %d %d %d %d %lld %lld %d\n",
                static_cast<long long>(r.tick), r.x, r.y, r.hitpoints, r.score, r.kogelsover,
                r.rakettenover, r.aantalvijanden, r.alive, r.aantalbox,
                static_cast<long long>(r.fired), static_cast<long long>(r.shots), r.bosshitpoints);
  return text;
}

std::string PictureLine(std::int64_t tick, std::uint64_t fingerprint) {
  char text[64];
  std::snprintf(text, sizeof text, "picture %lld %016llx\n", static_cast<long long>(tick),
                static_cast<unsigned long long>(fingerprint));
  return text;
}

std::string OutcomeLine() {
  const World::TickReport r = World::Report();
  const bool won = !gameover && win;
  char text[200];
  std::snprintf(text, sizeof text,
                "outcome: %s ticks=%lld score=%u hitpoints=%d bullets=%d bombs=%d\n",
                won ? "won" : "lost", static_cast<long long>(r.tick), r.score, r.hitpoints,
                r.kogelsover, r.rakettenover);
  return text;
}

namespace {

constexpr std::size_t kMaxDemoBytes = 64u << 20;

bool ReadFile(const std::string& path, std::string& text, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    error = "cannot read demo file '" + path +
            "': " + (fd >= 0 ? std::string("it is a directory") : std::strerror(errno));
    if (fd >= 0) ::close(fd);
    return false;
  }
  text.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = "cannot read demo file '" + path + "': " + std::strerror(errno);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > kMaxDemoBytes) error = "demo file '" + path + "' is too large";
    if (!error.empty()) break;
  }
  ::close(fd);
  return error.empty();
}

}  // namespace

bool ReadDemo(const std::string& path, std::vector<Demo::TickInput>& ticks, std::string& error) {
  std::string text, fault;
  int faultLine = 0;
  if (!ReadFile(path, text, error)) return false;
  if (Demo::Parse(text, ticks, faultLine, fault)) return true;
  error = path + ":" + std::to_string(faultLine) + ": " + fault;
  return false;
}

}  // namespace NovaGunner::Replay
