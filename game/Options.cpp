// The command line: the options, their checks and the help text.
#include "game/Options.h"

#include <cstdio>
#include <string_view>

namespace NovaGunner {

namespace {

constexpr char kVersion[] = "Nova Gunner " NOVA_VERSION "\n";

constexpr char kUsage[] =
    "Nova Gunner " NOVA_VERSION
    "\n"
    "Usage: nova-gunner [options]\n"
    "Without options: the game, from its introduction to the credits.\n"
    "  --record FILE     play as usual and write the keys of the play to FILE\n"
    "  --replay FILE     play the keys of demo FILE at the normal pace, then print the "
    "outcome\n"
    "  --timedemo FILE   as --replay, without waiting between ticks; prints ticks per "
    "second\n"
    "  --headless        with --replay or --timedemo: no window, drawing off-screen only\n"
    "  --trace           print one line of figures after every tick of the play\n"
    "  --trace-pictures  print a fingerprint of the whole picture after every tick:\n"
    "                    'picture TICK HASH', HASH 16 hex digits\n"
    "  --nosound         play no sounds\n"
    "  --window-keys     keys typed in the window reach the game too, and a game pad:\n"
    "                    D-pad or left stick the arrows, A fire (Space), B bomb (0),\n"
    "                    Start Enter, Back Escape, Y h\n"
    "  --scale N|auto    show every pixel as an N x N block (1 to 8); auto: the largest\n"
    "                    that fits the screen\n"
    "  --fullscreen      start full screen; Alt+Enter or F11 in the window switches\n"
    "  --no-key-backlog  a held key acts once per tick at most and stops when released\n"
    "                    (without it, keys typed while the game is busy wait and act\n"
    "                    later, and a held key piles up)\n"
    "  --pause           during the play p (or Pause in the window) pauses and goes on\n"
    "  --again           after a play, back to the menu for another; Esc there ends\n"
    "                    with the credits; --record writes FILE, FILE-2, ... per play\n"
    "  --help            show this text\n"
    "  --version         show the name and version\n"
    "Keys: in the menu Enter plays, h opens the help page, Esc leaves; in the play the\n"
    "arrows move the ship, Space fires, 0 throws a bomb, Esc gives up.\n"
    "Exit status: 0 the run ended as designed; 1 the program could not run (no usable\n"
    "display, the X connection lost); 2 bad arguments, a bad demo file, or a recording\n"
    "that cannot be created; 3 the run ended, but the recording or the printed results\n"
    "could not all be written (the reason is on standard error).\n";

// Prints text; kExitWriteFailed when it could not be written in full.
int Print(const char* text) {
  std::fputs(text, stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kExitOk : kExitWriteFailed;
}

}  // namespace

int Refuse(const std::string& message) {
  std::fprintf(stderr, "nova-gunner: %s\n", message.c_str());
  return kExitBadInput;
}

int ParseOptions(int argc, char** argv, Options& options) {
  options = Options{};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return false;
      into = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      return Print(kUsage);
    } else if (arg == "--version") {
      return Print(kVersion);
    } else if (arg == "--record") {
      if (!value(options.recordPath)) return Refuse("--record needs a file name");
      options.recording = true;
    } else if (arg == "--replay" || arg == "--timedemo") {
      if (options.demo != Options::Demo::None) {
        return Refuse("give only one of --replay and --timedemo");
      }
      if (!value(options.demoPath)) return Refuse(std::string(arg) + " needs a demo file name");
      options.demo = arg == "--replay" ? Options::Demo::Replay : Options::Demo::Timedemo;
    } else if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--trace-pictures") {
      options.tracePictures = true;
    } else if (arg == "--nosound") {
      options.nosound = true;
    } else if (arg == "--window-keys") {
      options.windowKeys = true;
    } else if (arg == "--fullscreen") {
      options.fullscreen = true;
    } else if (arg == "--no-key-backlog") {
      options.noKeyBacklog = true;
    } else if (arg == "--pause") {
      options.pause = true;
    } else if (arg == "--again") {
      options.again = true;
    } else if (arg == "--scale") {
      std::string scale;
      if (!value(scale)) return Refuse("--scale needs a number from 1 to 8, or auto");
      if (scale == "auto") {
        options.scale = 0;
      } else if (scale.size() == 1 && scale[0] >= '1' && scale[0] <= '8') {
        options.scale = scale[0] - '0';
      } else {
        return Refuse("--scale takes a number from 1 to 8, or auto, not '" + scale + "'");
      }
    } else {
      return Refuse("unknown option '" + std::string(arg) + "' (see --help)");
    }
  }
  if (options.headless && options.demo == Options::Demo::None) {
    return Refuse("--headless needs --replay or --timedemo");
  }
  return -1;
}

}  // namespace NovaGunner
