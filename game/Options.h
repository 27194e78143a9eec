// The program's command line: the options, declared once each in a table.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "graph/Bindings.h"

namespace NovaGunner {

struct Options {
  enum class Demo { None, Replay, Timedemo };
  Demo demo = Demo::None;
  std::string demoPath;    // with Replay or Timedemo
  std::string recordPath;  // with recording
  bool recording = false;
  bool headless = false;
  bool trace = false;
  bool tracePictures = false;  // a fingerprint of the whole picture after every tick
  // Every finished play kept in the data folder (--keep-plays; --desktop sets it too);
  // --best lists the best of them, each proven by its replay.
  bool keepPlays = false;
  bool best = false;
  std::int64_t from = -1;      // --replay: the viewer opens paused on this tick (-1: none)
  bool nosound = false;
  // The window: keys typed in it reach the game; each pixel a scale x scale block (0:
  // the largest that fits the display); full screen.
  bool windowKeys = false;
  int scale = 1;
  bool fullscreen = false;
  // Play comfort: a held key acts at most once per read; p pauses the play; after a
  // play the menu comes back, each play recorded to a file of its own.
  bool noKeyBacklog = false;
  bool pause = false;
  bool again = false;
  int volume = 100;  // of the sound, 0 to 100
  // The window's keys and pad buttons for each action (the terminal's keys stay its own).
  Graph::Bindings bindings;
};

// One option: all that the parser, --help, the tests and (later) a configuration file
// know of it. The table in Options.cpp holds one per option; a test holds the manual page,
// the README and the desktop entry to it.
struct OptionSpec {
  const char* names;          // "--record"; "-h,--help" with a short name
  const char* argument = "";  // its argument in --help ("FILE"); "" for a switch
  const char* takes = "";     // what the argument must be: "--record needs a file name"
  const char* group;          // where it applies: its heading in --help
  bool config = false;        // a configuration file may set it
  const char* help;           // its text in --help; '\n' goes on at the next line
  // Sets the option (a switch gets ""); false refuses the value. Null for --help and
  // --version, which print their text and end the run.
  bool (*apply)(Options&, const std::string& value) = nullptr;
};

// The options, in the order --help lists them.
std::span<const OptionSpec> OptionTable();

// Exit statuses, listed in --help and the manual page.
inline constexpr int kExitOk = 0;           // the run ended as designed
inline constexpr int kExitCannotRun = 1;    // no usable display, or the X connection was lost
inline constexpr int kExitBadInput = 2;     // bad arguments, a bad demo, an unwritable recording
inline constexpr int kExitWriteFailed = 3;  // the run ended, but output it wrote was lost

// Says on standard error why the input was refused; returns kExitBadInput.
int Refuse(const std::string& message);

// Reads argv into options. Returns -1 when the program is to run; otherwise the exit
// status, after printing the help text or the reason the command line was refused.
int ParseOptions(int argc, char** argv, Options& options);

}  // namespace NovaGunner
