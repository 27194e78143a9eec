// The replay viewer: the player's keys steer the viewing of a replay (pause, step, speed,
// exact seeks) and never reach the game, whose keys are the demo file's.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "console/IO.h"
#include "console/KeyQueue.h"
#include "console/Lib.h"
#include "game/Replay.h"
#include "support/SoundPlayer.h"

namespace NovaGunner {

class Viewer {
 public:
  static constexpr std::int64_t kSeekTicks = 167;  // Left and Right: 10 s of play
  enum class Next { Tick, Quit, TakeOver };

  // player: the keys that steer the viewing, started into the viewer's own queue (so
  // IO, the game's reader, never sees them); demo: the game's keys. clock and sounds are
  // the run's: the game is to be handed Clock() and Sounds(), which the viewer paces and
  // silences. Each must outlive the viewer.
  Viewer(IO::KeySource& player, Replay::DemoKeySource& demo, Lib::Clock& clock,
         StandardSound::SoundPlayer& sounds)
      : player_(player), demo_(demo), clock_(clock), sounds_(sounds) {}

  Lib::Clock& Clock() { return clock_; }
  StandardSound::SoundPlayer& Sounds() { return sounds_; }
  void StartKeys() { player_.Start(queue_); }
  // Just before the play's background is drawn: the picture it is drawn over, which a
  // seek puts back first (the background leaves some of it, the bottom row among them).
  void KeepStart();
  // Any thread (the window's keys): a key for the viewer. FALSE once the play was handed
  // over: the key is the game's then.
  bool Push(const IO::KeyEvent& event);

  // Between two ticks of the viewed play, and after its last: acts on the player's keys
  // (holding there while paused) and says what comes next. With no key ever pressed it
  // holds nowhere and ends at the play's end, as a plain replay.
  Next Between();
  // Shows the picture of tick n exactly (0: before the first tick; beyond the play's end:
  // its last): a new play, re-simulated to n at full speed, silent, the window held until
  // the picture is drawn. The picture depends on all the play drew before, so nothing
  // less than the whole play from its start gives it.
  void Seek(std::int64_t n);
  void Pause();
  // The player takes the play over: the keys typed after the viewer's last are handed
  // back for the game, the overlay goes, speed 1 and sounds come back.
  std::vector<IO::KeyEvent> HandOver();
  // The play's last tick (found once, by re-simulating the whole play).
  std::int64_t End();

 private:
  // Paces the run's pauses by the speed, and skips them while re-simulating.
  class PacedClock final : public Lib::Clock {
   public:
    explicit PacedClock(Lib::Clock& inner) : inner(inner) {}
    void Sleep(Lib::CARDINAL ms) override;
    std::uint64_t NowMs() override { return inner.NowMs(); }
    Lib::Clock& inner;
    int quarters = 4;  // the speed in quarters: 1 is a quarter, 64 sixteen times
    bool skip = false;
    std::uint64_t carry = 0;  // quarter milliseconds owed
  };
  // Sounds at speed 1 alone, and never while re-simulating.
  class GatedSound final : public StandardSound::SoundPlayer {
   public:
    explicit GatedSound(StandardSound::SoundPlayer& inner) : inner(inner) {}
    bool Play(const char* file, std::uint32_t flags) override {
      return !on || inner.Play(file, flags);
    }
    void Prepare(const std::vector<std::string>& files) override { inner.Prepare(files); }
    StandardSound::SoundPlayer& inner;
    bool on = true;
  };

  std::optional<Next> Act(const IO::KeyEvent& event);
  void Resimulate(std::int64_t n);  // a new play run silently to tick n (or its end)
  void FindEnd();  // end_ set by a run to the play's end, which is where it leaves the play
  void SetSpeed(int index);
  void ShowOverlay();

  IO::KeySource& player_;
  Replay::DemoKeySource& demo_;
  PacedClock clock_;
  GatedSound sounds_;
  IO::KeyQueue queue_;
  std::atomic<bool> handed_{false};
  bool engaged_ = false;  // a viewer key was pressed: the overlay shows, the end holds
  bool paused_ = false;
  int speed_ = 2;            // index into the speeds, 2 being 1x
  std::int64_t end_ = -1;    // the play's last tick, once known
  std::uint32_t start_ = 0;  // the picture before the background: an image handle
};

}  // namespace NovaGunner
