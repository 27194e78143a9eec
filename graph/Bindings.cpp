#include "graph/Bindings.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace Graph {

namespace {

constexpr const char* kNames[kActions] = {"up",    "down",   "left", "right", "fire", "bomb",
                                          "enter", "escape", "help", "pause", "mute", "screenshot"};

std::string_view Trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

Bindings::Bindings() {
  using enum Action;
  auto set = [this](Action a, std::vector<std::int32_t> k, std::vector<std::int32_t> b) {
    keys[static_cast<int>(a)] = std::move(k);
    buttons[static_cast<int>(a)] = std::move(b);
  };
  set(Up, {SDLK_UP}, {SDL_CONTROLLER_BUTTON_DPAD_UP});
  set(Down, {SDLK_DOWN}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN});
  set(Left, {SDLK_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT});
  set(Right, {SDLK_RIGHT}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT});
  set(Fire, {SDLK_SPACE}, {SDL_CONTROLLER_BUTTON_A});
  set(Bomb, {SDLK_0}, {SDL_CONTROLLER_BUTTON_B});
  set(Enter, {SDLK_RETURN}, {SDL_CONTROLLER_BUTTON_START});
  set(Escape, {SDLK_ESCAPE}, {SDL_CONTROLLER_BUTTON_BACK});
  set(Help, {SDLK_h}, {SDL_CONTROLLER_BUTTON_Y});
  set(Pause, {SDLK_p, SDLK_PAUSE}, {});
  set(Mute, {SDLK_F9}, {});
  set(Screenshot, {SDLK_F12}, {});
}

int Bindings::ActionOfKey(std::int32_t key) const {
  for (int a = 0; a < kActions; ++a)
    if (std::ranges::count(keys[a], key) != 0) return a;
  return -1;
}

int Bindings::ActionOfButton(int button) const {
  for (int a = 0; a < kActions; ++a)
    if (std::ranges::count(buttons[a], button) != 0) return a;
  return -1;
}

const char* ActionName(Action action) {
  return kNames[static_cast<int>(action)];
}

bool Bind(Bindings& bindings, Action action, std::string_view text) {
  std::vector<std::int32_t> keys, buttons;
  const bool none = Trimmed(text).empty();  // what the settings file writes for no keys
  for (std::size_t start = 0; !none && start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string name(Trimmed(text.substr(start, comma - start)));
    start = comma + 1;
    if (name.rfind("pad:", 0) == 0) {
      const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(name.c_str() + 4);
      if (b == SDL_CONTROLLER_BUTTON_INVALID) return false;
      buttons.push_back(b);
    } else {
      const SDL_Keycode k = name.empty() ? SDLK_UNKNOWN : SDL_GetKeyFromName(name.c_str());
      if (k == SDLK_UNKNOWN) return false;
      keys.push_back(k);
    }
  }
  // A key or button does one thing: the latest binding takes it from any other action.
  for (int a = 0; a < kActions; ++a) {
    std::erase_if(bindings.keys[a], [&](std::int32_t k) { return std::ranges::count(keys, k); });
    std::erase_if(bindings.buttons[a],
                  [&](std::int32_t b) { return std::ranges::count(buttons, b); });
  }
  bindings.keys[static_cast<int>(action)] = std::move(keys);
  bindings.buttons[static_cast<int>(action)] = std::move(buttons);
  return true;
}

std::string BindingText(const Bindings& bindings, Action action) {
  std::string text;
  const auto add = [&text](const std::string& name) { text += (text.empty() ? "" : ", ") + name; };
  for (const std::int32_t k : bindings.keys[static_cast<int>(action)]) add(SDL_GetKeyName(k));
  for (const std::int32_t b : bindings.buttons[static_cast<int>(action)]) {
    const char* name =
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(b));
    add(std::string("pad:") + (name != nullptr ? name : "?"));
  }
  return text;
}

}  // namespace Graph
