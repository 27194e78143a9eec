// The program's run: from the options and the platform services to the exit status.
#pragma once

#include <cstdint>
#include <optional>

#include "console/Lib.h"
#include "game/KeptPlays.h"
#include "game/Desktop.h"
#include "game/Options.h"
#include "game/Recorder.h"
#include "game/Replay.h"
#include "game/Services.h"
#include "game/Viewer.h"
#include "game/World.h"

namespace NovaGunner {

// One run of the program, made afresh by each Main. It owns what the run keeps beside the
// game: the recording and the count of plays (each play of --again has its own file), the
// trace, the pause, a demo's keys and a timedemo's clock, a desktop game's end at the
// window's close. It checks the options' files,
// starts the game on the services (a demo's keys and a timedemo's clock in place of the
// given ones), runs the session or the demo's play, and is told of every tick of the loop.
class Program final : public World::TickWatcher {
 public:
  // Runs the program as the options ask, on services. Returns the exit status.
  static int Main(const Options& options, const Services& services);

 private:
  Program(const Options& options, const Services& services)
      : options_(options), services_(services) {}
  int Go();
  int PlayDemo();  // --timedemo: the demo's play alone, no story, menu or ending screens
  int ViewDemo();  // --replay: the play in the viewer, which the player may take over
  void TakeOver();
  void RecordDemoUpTo(std::int64_t tick);  // the file anew: the demo's lines to tick
  int Results();  // the status once the results are printed: 3 if some were lost
  void BeforeTick(std::int64_t tick) override;
  void AfterTick(const World::TickReport& report, const World::TickInput& input) override;

  const Options& options_;
  Services services_;
  std::optional<Replay::DemoKeySource> demo_;
  std::optional<Viewer> viewer_;       // --replay's
  bool viewing_ = false;               // the viewer's play is under way, not taken over
  std::int64_t recorded_ = 0;          // while viewing: the ticks 1 to this are recorded
  std::optional<DesktopRun> desktop_;  // --desktop with a window
  Lib::VirtualClock virtualClock_;     // a timedemo's: its pauses take no time
  Recorder recorder_;
  bool recordLost_ = false;  // a later play's file could not be created
  int plays_ = 0;            // plays begun
  // With --keep-plays, each finished play of the game (not of a demo) kept as a file.
  KeptPlays::Keeper keeper_;
};

}  // namespace NovaGunner
