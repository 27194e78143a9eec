// The keys typed in the window and the game pads' buttons, as console key events: exactly
// the events the same keys typed in the terminal give. Window thread only.
#pragma once

#include <SDL2/SDL.h>

#include <array>
#include <functional>
#include <map>
#include <string>

#include "console/KeyEvent.h"
#include "console/TermDecoder.h"
#include "graph/Bindings.h"

namespace Graph::detail {

class WindowKeys {
 public:
  using Sink = std::function<void(const IO::KeyEvent& event)>;
  // The keys bound to the game's actions give the events of the keys the game always read;
  // the window's own actions (mute, screenshot) go to `own`, never to the sink. Without a
  // sink the game's keys go nowhere.
  using Own = std::function<void(Action action)>;
  WindowKeys(Sink sink, Bindings bindings, Own own)
      : sink_(std::move(sink)), bindings_(std::move(bindings)), own_(std::move(own)) {}
  ~WindowKeys();
  WindowKeys(const WindowKeys&) = delete;
  WindowKeys& operator=(const WindowKeys&) = delete;

  // Takes a keyboard or game controller event (TRUE); anything else is the caller's.
  bool Handle(const SDL_Event& e, Uint64 nowMs);
  // Sends the game pad repeats due at nowMs; the milliseconds (at least 1) until the window
  // should call again: when the next repeat is due, else after kLookForPadsMs. SDL looks
  // for pads plugged in only while it takes events, so a window with nothing to show
  // would not notice one.
  int Repeat(Uint64 nowMs);

  // The pace of a held pad control, that of a keyboard's auto-repeat.
  static constexpr Uint64 kFirstRepeatMs = 250, kRepeatMs = 33;
  static constexpr int kLookForPadsMs = 500;

 private:
  // What a pad can press: the game's actions, the four directions first.
  enum Control { kUp, kDown, kLeft, kRight, kControls = kGameActions };
  struct Pad {
    SDL_GameController* handle = nullptr;
    std::array<bool, kControls> button{};
    std::array<bool, 4> stick{};  // the left stick out of its dead zone, by direction
    bool Held(int c) const { return button[c] || (c < 4 && stick[c]); }
  };

  // Decodes the bytes a terminal sends for a key and hands the events on.
  void Send(const std::string& bytes);
  void Key(const SDL_KeyboardEvent& key);
  void AddPad(int deviceIndex);
  void RemovePad(SDL_JoystickID id);
  // One source of a pad's control (a button, or the stick) is now held or not.
  void Update(SDL_JoystickID id, int control, bool fromStick, bool held, Uint64 nowMs);
  void Stick(SDL_JoystickID id, int negative, Sint16 value, Uint64 nowMs);

  Sink sink_;
  Bindings bindings_;
  Own own_;
  IO::TermDecoder decoder_;
  std::map<SDL_JoystickID, Pad> pads_;
  // The control that repeats: the last one pressed, while it is held.
  bool repeating_ = false;
  SDL_JoystickID repeatPad_ = -1;
  int repeatControl_ = 0;
  Uint64 nextRepeat_ = 0;
};

}  // namespace Graph::detail
