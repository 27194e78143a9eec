// Replays, timedemos and recorded plays: the options around the game's own run.
#include "game/Replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "console/KeyCodes.h"
#include "console/Lib.h"
#include "console/Terminal.h"
#include "game/NovaGunner.h"
#include "game/Recorder.h"
#include "game/Ship.h"
#include "graph/Graph.h"
#include "support/StandardSound.h"

namespace NovaGunner::Replay {

namespace {

constexpr std::size_t kMaxDemoBytes = 64u << 20;

}  // namespace

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

// ---- Hooks of Run.
bool tracing = false;
bool tracingPictures = false;
bool pausing = false;
Recorder recorder;
std::string recordPath;   // empty: no recording
bool recordLost = false;  // a later play's file could not be created
int plays = 0;
DemoKeySource* demoKeys = nullptr;

// p, or the Pause key of the window.
bool IsPauseKey(const IO::KeyEvent& e) {
  constexpr std::uint32_t kCtrlAlt = IO::LEFT_CTRL | IO::RIGHT_CTRL | IO::LEFT_ALT | IO::RIGHT_ALT;
  return e.virtualKey == 0x13 || (e.character == 'p' && (e.state & kCtrlAlt) == 0);
}

// Between two ticks: the game reads nothing and draws nothing until the same key comes
// again; keys typed meanwhile wait in their order.
void Pause() {
  Graph::SetOverlayText("PAUSED");
  do {
    Lib::Delay(20);
  } while (!IO::TakeKey(IsPauseKey));
  Graph::SetOverlayText("");
}

// FILE for the first play, then FILE-2, FILE-3 ... before the extension.
std::string PlayFile(const std::string& path, int play) {
  if (play == 1) return path;
  const std::size_t slash = path.rfind('/');
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
      dot == (slash == std::string::npos ? 0 : slash + 1)) {
    dot = path.size();
  }
  return path.substr(0, dot) + "-" + std::to_string(play) + path.substr(dot);
}

void BeforeTick(std::int64_t tick) {
  if (tick == 1 && ++plays > 1 && !recordPath.empty()) {
    std::string error;
    if (!recorder.Open(PlayFile(recordPath, plays), error)) {
      std::fprintf(stderr, "nova-gunner: %s; this play goes on unrecorded\n", error.c_str());
      recordLost = true;
    }
  }
  if (demoKeys != nullptr) demoKeys->BeginTick(tick);
  if (pausing && IO::TakeKey(IsPauseKey)) Pause();
}

void AfterTick(const World::TickReport& r, const World::TickInput& input) {
  recorder.Write(input);
  if (tracing) IO::WrStr(TraceLine(r));
  if (tracingPictures) IO::WrStr(PictureLine(r.tick, Graph::SurfaceFingerprint()));
}

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

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// The demo's play alone: no story, menu or ending screens.
int PlayDemo(const Options& options, Graph::WindowSystemKind system,
             const Graph::WindowOptions& window) {
  const bool timedemo = options.demo == Options::Demo::Timedemo;
  if (!StartUp(false, system, window)) return kExitCannotRun;
  if (!options.nosound) StandardSound::InitSound(true);
  BuildSprites();
  Background();

  const auto start = std::chrono::steady_clock::now();
  Run();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  IO::WrStr(OutcomeLine());
  if (timedemo) {
    const std::int64_t ticks = World::State().tick;
    char text[160];
    std::snprintf(text, sizeof text, "timedemo: %lld ticks in %.3f s (%.0f ticks/s)\n",
                  static_cast<long long>(ticks), seconds,
                  seconds > 0 ? static_cast<double>(ticks) / seconds : 0.0);
    IO::WrStr(text);
  }
  if (IO::WriteFailed()) {
    std::fprintf(stderr, "nova-gunner: the results could not all be written to standard output\n");
    return kExitWriteFailed;
  }
  return kExitOk;
}

}  // namespace

int Main(const Options& options) {
  // Everything about the demo and the recording is checked before anything is drawn.
  std::vector<Demo::TickInput> ticks;
  const bool demo = options.demo != Options::Demo::None;
  if (demo) {
    std::string text, error, fault;
    int faultLine = 0;
    if (!ReadFile(options.demoPath, text, error)) return Refuse(error);
    if (!Demo::Parse(text, ticks, faultLine, fault)) {
      return Refuse(options.demoPath + ":" + std::to_string(faultLine) + ": " + fault);
    }
  }
  if (options.recording) {
    if (demo && SameFile(options.demoPath, options.recordPath)) {
      return Refuse("--record would overwrite the demo file being replayed");
    }
    std::string error;
    if (!recorder.Open(options.recordPath, error)) return Refuse(error);
    recordPath = options.recordPath;
  }

  tracing = options.trace;
  tracingPictures = options.tracePictures;
  pausing = options.pause;
  World::SetHooks({BeforeTick, AfterTick});
  // The run's keys and pauses: the terminal's, or a demo's keys (on a virtual clock for a
  // timedemo), unless a test or bench brings its own.
  static DemoKeySource source({});
  static Lib::VirtualClock virtualClock;
  static Lib::RealClock realClock;
  if (demo) {
    source = DemoKeySource(std::move(ticks));
    demoKeys = &source;
  }
  IO::KeySource& keys = options.keys != nullptr ? *options.keys
                        : demo                  ? source
                                                : IO::TerminalKeys();
  Lib::Clock& clock = options.clock != nullptr                  ? *options.clock
                      : options.demo == Options::Demo::Timedemo ? virtualClock
                      : &keys == &IO::TerminalKeys()            ? IO::TerminalClock()
                                                                : realClock;
  if (options.sounds != nullptr) StandardSound::SetSoundPlayer(options.sounds);
  const auto system =
      options.headless ? Graph::WindowSystemKind::None : Graph::WindowSystemKind::Sdl;
  constexpr int kIconSide = 64;  // the ship at twice its size
  Graph::WindowOptions window{options.scale, options.fullscreen, options.windowKeys,
                              ShipIcon(kIconSide), kIconSide};
  if (options.windowKeys) window.keySink = IO::PushKey;
  if (options.nosound) StandardSound::Silence();

  Lib::Init(clock);
  // A demo's keys are the recorded ones alone, each read as recorded.
  IO::Init(keys, {.backlog = demo || !options.noKeyBacklog, .pushedKeys = !demo});
  int status = demo ? PlayDemo(options, system, window) : Body(options.again, system, window);
  if ((!recorder.Close() || recordLost) && status == kExitOk) status = kExitWriteFailed;
  return status;
}

}  // namespace NovaGunner::Replay
