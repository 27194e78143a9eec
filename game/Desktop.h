// A run as a desktop game (--desktop): the window's close ends it wherever the game is,
// and once standard input ends the keys come from the window and the pads alone.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "console/IO.h"
#include "console/Lib.h"

namespace NovaGunner {

// Thrown on the game thread once the window was closed: the run unwinds to its end and
// ends there, the recording closed, as leaving would end it.
struct WindowClosed {};

class DesktopRun {
 public:
  // Over the run's own key source and clock, which must outlive it.
  DesktopRun(IO::KeySource& keys, Lib::Clock& clock);

  // The source the run reads: the given one's keys and the window's, never an end of
  // input (an ended terminal is not Escape), and the clock that sleeps as the given one
  // does. Both end the run (WindowClosed) once the window was closed, outside a tick.
  IO::KeySource& Keys() { return keys_; }
  Lib::Clock& Clock() { return clock_; }
  // For the window's options: called on the window thread when the window closes (its
  // close box, the window manager's close, destroyed by another client). It may outlive
  // the run.
  std::function<void()> OnClose() const;

  // Game thread. Within a tick (from BeforeTick to AfterTick) the run is not ended: the
  // tick ends, without its pauses, and is recorded as every tick before it.
  void InTick(bool on) { inTick_ = on; }
  // Ends the run (throws WindowClosed) once the window was closed, outside a tick.
  void EndIfClosed() const;

 private:
  // What the window thread and IO's wake-ups share with the game thread.
  struct Signal {
    std::mutex lock;
    std::condition_variable changed;
    bool closed = false;
    bool woken = false;  // a key was pushed since the last wait
    IO::KeySource* inner = nullptr;
    void Wake(bool close);
    // Until woken or closed, or at most ms (negative: no limit).
    void Wait(int ms);
    bool Closed();
  };

  class DesktopKeys final : public IO::KeySource {
   public:
    DesktopKeys(DesktopRun& run, IO::KeySource& inner) : run_(run), inner_(inner) {}
    void Start(IO::KeyQueue& queue) override;
    void Poll() override;
    bool Wait() override;
    void Idle() override;
    bool PollToTake() override;
    bool Ended() const override { return false; }
    void Wake() override;

   private:
    DesktopRun& run_;
    IO::KeySource& inner_;
  };

  class DesktopPauses final : public Lib::Clock {
   public:
    DesktopPauses(DesktopRun& run, Lib::Clock& inner) : run_(run), inner_(inner) {}
    void Sleep(Lib::CARDINAL ms) override;
    std::uint64_t NowMs() override { return inner_.NowMs(); }

   private:
    DesktopRun& run_;
    Lib::Clock& inner_;
  };

  std::shared_ptr<Signal> signal_ = std::make_shared<Signal>();
  DesktopKeys keys_;
  DesktopPauses clock_;
  bool inTick_ = false;
};

}  // namespace NovaGunner
