// Which window keys and game pad buttons do what: the game's actions, each read by the game
// as the key it always was, and the window's own (mute, screenshot), which the game never
// sees. The terminal's keys are the terminal's and are not bound here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Graph {

// The game's actions first, in the order of the pad's controls (the four directions
// first); then the window's own.
enum class Action {
  Up,
  Down,
  Left,
  Right,
  Fire,
  Bomb,
  Enter,
  Escape,
  Help,
  Pause,
  Mute,
  Screenshot
};
inline constexpr int kActions = 12;
inline constexpr int kGameActions = 10;  // Up to Pause

struct Bindings {
  // Per action: SDL key codes (SDL_Keycode) and game controller buttons
  // (SDL_GameControllerButton). The defaults are the keys the game always read, and F9
  // and F12.
  std::array<std::vector<std::int32_t>, kActions> keys, buttons;
  Bindings();
  // The action of a key or a pad button, or -1.
  int ActionOfKey(std::int32_t key) const;
  int ActionOfButton(int button) const;
  bool operator==(const Bindings&) const = default;
};

// "fire" for Action::Fire.
const char* ActionName(Action action);

// Binds the action to the keys and buttons named in text, separated by commas: SDL's
// names of keys ("Space", "Left Ctrl", "F9", "Z") and "pad:" with SDL's name of a game
// controller button ("pad:a", "pad:dpup"); they are taken from any other action. A blank
// text binds nothing to it. FALSE, with bindings unchanged, when a name is unknown or
// missing.
bool Bind(Bindings& bindings, Action action, std::string_view text);
// The action's keys and buttons in the form Bind reads ("Space, pad:a").
std::string BindingText(const Bindings& bindings, Action action);

}  // namespace Graph
