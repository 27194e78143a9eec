// Each key is described to the terminal decoder as a terminal speaking the kitty keyboard
// protocol sends it, so the window gives the very events the terminal gives for the key:
// the same character, scan code, virtual key and modifier flags, and so the same codes.
#include "graph/WindowKeys.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace Graph::detail {

namespace {

// Kitty's numbers for the keypad keys with Num Lock on (0 to 9, then . / * - + Enter =),
// and for 0 to 9 and . with it off (Insert, End, Down, Page Down, Left, Begin, Right,
// Home, Up, Page Up, Delete).
constexpr std::uint32_t kKeypadDigit = 57399, kKeypadPeriod = 57409;
constexpr std::uint32_t kKeypadOff[11] = {57425, 57424, 57420, 57422, 57417, 57427,
                                          57418, 57423, 57419, 57421, 57426};

// The first code point of UTF-8 text (0 for none).
std::uint32_t FirstCodePoint(const char* text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  if (s[0] < 0x80) return s[0];
  const int more = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : 1;
  std::uint32_t cp = s[0] & (0x3Fu >> more);
  for (int i = 1; i <= more; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[i] & 0x3Fu);
  }
  return cp;
}

// X11 queues a key's text behind its key-down in the same pass, though events pushed by
// other threads may come between: the key's text is the first text event before the next
// key event. It is taken from the queue, so that one key press gives one event.
std::uint32_t TakeTextOfKey() {
  SDL_Event ahead[16];
  const int n = SDL_PeepEvents(ahead, 16, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
  for (int i = 0; i < n; ++i) {
    if (ahead[i].type == SDL_KEYDOWN || ahead[i].type == SDL_KEYUP) break;
    if (ahead[i].type != SDL_TEXTINPUT) continue;
    SDL_Event text;
    if (SDL_PeepEvents(&text, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) != 1) break;
    return FirstCodePoint(text.text.text);
  }
  return 0;
}

// The terminal's bytes for each of the game's actions, as its first default key gives them
// unmodified: the arrows, Space, 0, Enter, Escape, h and p.
const char* const kControlKeys[kGameActions] = {
    "\x1b[1;1A",     "\x1b[1;1B",  "\x1b[1;1D",  "\x1b[1;1C",       "\x1b[32;1;32u",
    "\x1b[48;1;48u", "\x1b[13;1u", "\x1b[27;1u", "\x1b[104;1;104u", "\x1b[112;1;112u"};

const Bindings kDefaults;

// Out of the dead zone the stick presses its direction once beyond kStickOn, and lets go
// only back within kStickOff, so a stick held near the edge does not chatter.
constexpr Sint16 kStickOn = 16000, kStickOff = 8000;

}  // namespace

WindowKeys::~WindowKeys() {
  for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.handle);
}

bool WindowKeys::Handle(const SDL_Event& e, Uint64 nowMs) {
  switch (e.type) {
    case SDL_KEYDOWN:
      Key(e.key);
      return true;
    case SDL_TEXTINPUT:  // text with no key-down before it: an input method's
      Send(e.text.text);
      return true;
    case SDL_KEYUP:
    case SDL_TEXTEDITING:
      return true;
    case SDL_CONTROLLERDEVICEADDED:
      AddPad(e.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      RemovePad(e.cdevice.which);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
      const int action = bindings_.ActionOfButton(e.cbutton.button);
      if (action >= kGameActions) {
        if (down && own_) own_(static_cast<Action>(action));
      } else if (action >= 0 && sink_) {
        Update(e.cbutton.which, action, false, down, nowMs);
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
        Stick(e.caxis.which, kLeft, e.caxis.value, nowMs);
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
        Stick(e.caxis.which, kUp, e.caxis.value, nowMs);
      return true;
    default:
      return false;
  }
}

void WindowKeys::Key(const SDL_KeyboardEvent& k) {
  const SDL_Keycode key = k.keysym.sym;
  const Uint16 mod = k.keysym.mod;
  const bool ctrl = (mod & KMOD_CTRL) != 0, shift = (mod & KMOD_SHIFT) != 0;
  bool alt = (mod & KMOD_ALT) != 0;
  if ((key == SDLK_RETURN && alt) || key == SDLK_F11) return;  // the window's: full screen
  const bool character = key >= 0x20 && key != SDLK_DELETE && (key & SDLK_SCANCODE_MASK) == 0;
  std::uint32_t text = character ? TakeTextOfKey() : 0;
  // A key bound elsewhere gives its action's key, whatever the modifiers; a key the game
  // always read, now bound to nothing, gives nothing.
  const int action = bindings_.ActionOfKey(key);
  if (action >= kGameActions) {
    if (!k.repeat && own_) own_(static_cast<Action>(action));
    return;
  }
  if (!sink_) return;
  if (action >= 0 && std::ranges::count(kDefaults.keys[action], key) == 0)
    return Send(kControlKeys[action]);
  if (const int was = kDefaults.ActionOfKey(key); action < 0 && was >= 0 && was < kGameActions)
    return;
  if (text != 0 && !ctrl && (mod & KMOD_LALT) == 0) alt = false;  // AltGr made a character
  if (ctrl || alt) text = 0;                                      // as kitty: no text then
  const unsigned m = 1 + (shift ? 1 : 0) + (alt ? 2 : 0) + (ctrl ? 4 : 0) +
                     ((mod & KMOD_CAPS) != 0 ? 64 : 0) + ((mod & KMOD_NUM) != 0 ? 128 : 0);
  const std::string mods = ";" + std::to_string(m);
  auto csi = [&](unsigned n, char final) { return "\x1b[" + std::to_string(n) + mods + final; };
  auto kitty = [&](std::uint32_t code) {
    return "\x1b[" + std::to_string(code) + mods + (text != 0 ? ";" + std::to_string(text) : "") +
           "u";
  };
  const bool numLock = (mod & KMOD_NUM) != 0;
  std::string bytes;
  if (character) {
    bytes = kitty(static_cast<std::uint32_t>(key));
  } else if (key >= SDLK_F1 && key <= SDLK_F4) {
    bytes = csi(1, static_cast<char>('P' + key - SDLK_F1));
  } else if (key >= SDLK_F5 && key <= SDLK_F12) {
    constexpr unsigned kFunction[] = {15, 17, 18, 19, 20, 21, 23, 24};  // F5 to F12
    bytes = csi(kFunction[key - SDLK_F5], '~');
  } else if (key >= SDLK_KP_1 && key <= SDLK_KP_0) {
    const int digit = key == SDLK_KP_0 ? 0 : key - SDLK_KP_1 + 1;
    bytes = kitty(numLock ? kKeypadDigit + digit : kKeypadOff[digit]);
  } else {
    switch (key) {
      case SDLK_RETURN:
        bytes = kitty(13);
        break;
      case SDLK_ESCAPE:
        bytes = kitty(27);
        break;
      case SDLK_TAB:
        bytes = kitty(9);
        break;
      case SDLK_BACKSPACE:
        bytes = kitty(127);
        break;
      case SDLK_UP:
        bytes = csi(1, 'A');
        break;
      case SDLK_DOWN:
        bytes = csi(1, 'B');
        break;
      case SDLK_RIGHT:
        bytes = csi(1, 'C');
        break;
      case SDLK_LEFT:
        bytes = csi(1, 'D');
        break;
      case SDLK_HOME:
        bytes = csi(1, 'H');
        break;
      case SDLK_END:
        bytes = csi(1, 'F');
        break;
      case SDLK_INSERT:
        bytes = csi(2, '~');
        break;
      case SDLK_DELETE:
        bytes = csi(3, '~');
        break;
      case SDLK_PAGEUP:
        bytes = csi(5, '~');
        break;
      case SDLK_PAGEDOWN:
        bytes = csi(6, '~');
        break;
      case SDLK_KP_PERIOD:
        bytes = kitty(numLock ? kKeypadPeriod : kKeypadOff[10]);
        break;
      case SDLK_KP_DIVIDE:
        bytes = kitty(57410);
        break;
      case SDLK_KP_MULTIPLY:
        bytes = kitty(57411);
        break;
      case SDLK_KP_MINUS:
        bytes = kitty(57412);
        break;
      case SDLK_KP_PLUS:
        bytes = kitty(57413);
        break;
      case SDLK_KP_ENTER:
        bytes = kitty(57414);
        break;
      case SDLK_KP_EQUALS:
        bytes = kitty(57415);
        break;
      case SDLK_PAUSE:
        bytes = kitty(57362);  // Pause, as a console reports it: virtual key 0x13
        break;
      default:
        break;  // modifier keys alone give nothing, as in a terminal without kitty
    }
  }
  if (!bytes.empty()) Send(bytes);
}

void WindowKeys::Send(const std::string& bytes) {
  decoder_.Feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  while (decoder_.HasEvent()) {
    const IO::KeyEvent e = decoder_.Pop();
    if (e.isKey && e.keyDown && sink_) sink_(e);
  }
}

void WindowKeys::AddPad(int deviceIndex) {
  SDL_GameController* handle = SDL_GameControllerOpen(deviceIndex);
  if (handle == nullptr) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle));
  if (pads_.count(id) != 0) {
    SDL_GameControllerClose(handle);  // told twice of the same pad
    return;
  }
  pads_[id].handle = handle;
}

void WindowKeys::RemovePad(SDL_JoystickID id) {
  auto it = pads_.find(id);
  if (it == pads_.end()) return;
  SDL_GameControllerClose(it->second.handle);
  pads_.erase(it);
  if (repeatPad_ == id) repeating_ = false;
}

void WindowKeys::Update(SDL_JoystickID id, int control, bool fromStick, bool held, Uint64 nowMs) {
  auto it = pads_.find(id);
  if (it == pads_.end()) return;
  Pad& pad = it->second;
  const bool was = pad.Held(control);
  (fromStick ? pad.stick[control] : pad.button[control]) = held;
  if (pad.Held(control) == was) return;
  if (!was) {
    Send(kControlKeys[control]);
    repeating_ = true;
    repeatPad_ = id;
    repeatControl_ = control;
    nextRepeat_ = nowMs + kFirstRepeatMs;
  } else if (repeating_ && repeatPad_ == id && repeatControl_ == control) {
    repeating_ = false;
  }
}

void WindowKeys::Stick(SDL_JoystickID id, int negative, Sint16 value, Uint64 nowMs) {
  auto it = pads_.find(id);
  if (it == pads_.end()) return;
  const std::array<bool, 4>& stick = it->second.stick;
  const int positive = negative + 1;
  Update(id, negative, true, value < (stick[negative] ? -kStickOff : -kStickOn), nowMs);
  Update(id, positive, true, value > (stick[positive] ? kStickOff : kStickOn), nowMs);
}

int WindowKeys::Repeat(Uint64 nowMs) {
  if (!repeating_) return kLookForPadsMs;
  if (nowMs >= nextRepeat_) {
    Send(kControlKeys[repeatControl_]);
    // A late wake-up repeats once and goes on from now, as a keyboard does: no burst.
    nextRepeat_ = nowMs - nextRepeat_ < kRepeatMs ? nextRepeat_ + kRepeatMs : nowMs + kRepeatMs;
  }
  return static_cast<int>(std::max<Uint64>(1, nextRepeat_ - nowMs));
}

}  // namespace Graph::detail
