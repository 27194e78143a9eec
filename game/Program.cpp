// The program's run: its options' files checked, the game started on the run's services,
// the session or a demo's play, and what the run does around each tick.
#include "game/Program.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "console/IO.h"
#include "console/RawMode.h"
#include "game/NovaGunner.h"
#include "game/Pause.h"
#include "game/Session.h"
#include "game/Ship.h"
#include "graph/Graph.h"
#include "support/StandardSound.h"

namespace NovaGunner {

namespace {

// --nosound: every event plays nothing, and no sound device is touched.
class NoSound final : public StandardSound::SoundPlayer {
 public:
  bool Play(const char*, std::uint32_t) override { return true; }
};

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

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

int Program::Main(const Options& options, const Services& services) {
  Program run(options, services);
  return run.Go();
}

int Program::Go() {
  // Everything about the demo and the recording is checked before anything is drawn.
  const bool demo = options_.demo != Options::Demo::None;
  if (demo) {
    std::vector<Demo::TickInput> ticks;
    std::string error;
    if (!Replay::ReadDemo(options_.demoPath, ticks, error)) return Refuse(error);
    demo_.emplace(std::move(ticks));
    if (options_.from > demo_->LastTick()) {
      return Refuse("--from " + std::to_string(options_.from) + " is beyond the last tick of '" +
                    options_.demoPath + "' (" + std::to_string(demo_->LastTick()) + ")");
    }
  }
  if (options_.recording) {
    if (demo && SameFile(options_.demoPath, options_.recordPath)) {
      return Refuse("--record would overwrite the demo file being replayed");
    }
    std::string error;
    if (!recorder_.Open(options_.recordPath, error)) return Refuse(error);
  }

  if (options_.keepPlays && !demo) keeper_.Start(KeptPlays::Folder());

  // The run's services: a demo's keys, a timedemo's clock, silence with --nosound.
  Services services = services_;
  static NoSound noSound;
  if (demo) services.keys = &*demo_;
  if (options_.demo == Options::Demo::Timedemo) services.clock = &virtualClock_;
  if (options_.nosound) services.sounds = &noSound;
  const bool desktop =
      options_.desktop && !demo && services.window != Graph::WindowSystemKind::None;
  if (desktop) {
    desktop_.emplace(*services.keys, *services.clock);
    services.keys = &desktop_->Keys();
    services.clock = &desktop_->Clock();
  }
  StartOptions start;
  if (options_.demo == Options::Demo::Replay) {
    // The player's keys steer the viewer; the window's and a pad's always reach it.
    viewer_.emplace(*services_.keys, *demo_, *services.clock, *services.sounds);
    services.clock = &viewer_->Clock();
    services.sounds = &viewer_->Sounds();
    start.window.keySink = [this](const IO::KeyEvent& e) {
      if (IO::detail::SignalOf(e) != 0 || !viewer_->Push(e)) IO::PushKey(e);
    };
  }
  // A demo's keys are the recorded ones alone, each read as recorded.
  start.keys = {.backlog = demo || !options_.noKeyBacklog,
                .pushedKeys = !demo,
                .freshAnswers = options_.desktop};
  constexpr int kIconSide = 64;  // the ship at twice its size
  start.window = {options_.scale,      options_.fullscreen, options_.windowKeys || viewer_,
                  ShipIcon(kIconSide), kIconSide,           std::move(start.window.keySink)};
  start.window.bindings = options_.bindings;
  start.volume = options_.volume;
  start.window.keepAbove = !options_.desktop;
  if (desktop) start.window.closed = desktop_->OnClose();
  start.watcher = this;
  start.game = !demo;

  int status = kExitCannotRun;  // the message is the game's own; the status tells scripts
  if (StartUp(services, start)) {
    if (viewer_) {
      status = ViewDemo();
    } else if (demo) {
      status = PlayDemo();
    } else {
      try {
        Session(options_.again);
      } catch (const WindowClosed&) {
        // The player closed the window: the run ends here, as leaving would end it.
      }
      status = kExitOk;
    }
  }
  if ((!recorder_.Close() || recordLost_) && status == kExitOk) status = kExitWriteFailed;
  return status;
}

int Program::PlayDemo() {
  if (!options_.nosound) StandardSound::InitSound(true);
  BuildSprites();
  Background();

  const auto start = std::chrono::steady_clock::now();
  Run();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  IO::WrStr(Replay::OutcomeLine());
  const std::int64_t ticks = World::State().tick;
  char text[160];
  std::snprintf(text, sizeof text, "timedemo: %lld ticks in %.3f s (%.0f ticks/s)\n",
                static_cast<long long>(ticks), seconds,
                seconds > 0 ? static_cast<double>(ticks) / seconds : 0.0);
  IO::WrStr(text);
  return Results();
}

int Program::ViewDemo() {
  if (!options_.nosound) StandardSound::InitSound(true);
  BuildSprites();
  plays_ = 1;
  viewing_ = true;
  viewer_->StartKeys();
  viewer_->KeepStart();
  if (options_.from < 0) {
    Background();
    World::StartRun();
  } else {  // the seek starts the play itself, without its wait
    viewer_->Seek(options_.from);
    viewer_->Pause();
    const std::int64_t at = World::State().tick;
    if (options_.tracePictures) IO::WrStr(Replay::PictureLine(at, Graph::SurfaceFingerprint()));
    IO::WrStr("paused at tick " + std::to_string(at) + "\n");
  }
  // The play tick by tick, as Run plays it, the viewer asked before each tick.
  bool stopped = false;
  for (;;) {
    const Viewer::Next next = viewing_ ? viewer_->Between() : Viewer::Next::Tick;
    if (next == Viewer::Next::Quit) {
      stopped = !World::State().exit;
      break;
    }
    if (next == Viewer::Next::TakeOver) TakeOver();
    if (World::State().exit) break;
    BeforeTick(World::State().tick + 1);
    World::Tick();
    AfterTick(World::Report(), World::State().input);
  }
  if (!viewing_) {  // taken over: the rest is a normal play's
    SessionAfterPlay(options_.again);
    return Results();
  }
  viewing_ = false;
  if (options_.recording) RecordDemoUpTo(World::State().tick);
  IO::WrStr(stopped ? "stopped at tick " + std::to_string(World::State().tick) + "\n"
                    : Replay::OutcomeLine());
  return Results();
}

void Program::TakeOver() {
  if (options_.recording) RecordDemoUpTo(World::State().tick);
  viewing_ = false;
  const std::vector<IO::KeyEvent> typed = viewer_->HandOver();
  // From here the play's keys are the player's, as in any play.
  IO::Init(*services_.keys, {.backlog = !options_.noKeyBacklog, .pushedKeys = true});
  for (const IO::KeyEvent& e : typed) IO::PushKey(e);
}

void Program::RecordDemoUpTo(std::int64_t tick) {
  if (recorded_ == tick) return;
  std::string error;
  if (!recorder_.Open(options_.recordPath, error)) {
    std::fprintf(stderr, "nova-gunner: %s\n", error.c_str());
    recordLost_ = true;
    return;
  }
  for (const Demo::TickInput& t : demo_->Ticks())
    if (t.tick <= tick) recorder_.Write(t);
  recorded_ = tick;
}

int Program::Results() {
  if (IO::WriteFailed()) {
    std::fprintf(stderr, "nova-gunner: the results could not all be written to standard output\n");
    return kExitWriteFailed;
  }
  return kExitOk;
}

void Program::BeforeTick(std::int64_t tick) {
  if (desktop_) desktop_->EndIfClosed();
  if (tick == 1 && !viewing_ && ++plays_ > 1 && options_.recording) {
    std::string error;
    if (!recorder_.Open(PlayFile(options_.recordPath, plays_), error)) {
      std::fprintf(stderr, "nova-gunner: %s; this play goes on unrecorded\n", error.c_str());
      recordLost_ = true;
    }
  }
  if (tick == 1) keeper_.Begin();
  if (demo_ && (viewing_ || !viewer_)) demo_->BeginTick(tick);
  if (options_.pause) PauseOnKey();
  if (desktop_) desktop_->InTick(true);
}

void Program::AfterTick(const World::TickReport& report, const World::TickInput& input) {
  if (desktop_) desktop_->InTick(false);
  if (!viewing_) {
    recorder_.Write(input);
  } else if (report.tick == recorded_ + 1) {  // after a seek, the demo's lines at the end
    recorder_.Write(input);
    recorded_ = report.tick;
  }
  keeper_.Add(input);
  if (World::State().exit) keeper_.End(report.tick, Replay::OutcomeLine());
  if (options_.trace) IO::WrStr(Replay::TraceLine(report));
  if (options_.tracePictures) {
    IO::WrStr(Replay::PictureLine(report.tick, Graph::SurfaceFingerprint()));
  }
}

}  // namespace NovaGunner
