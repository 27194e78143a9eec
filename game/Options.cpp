// The command line: one table of the options, from which CLI11 builds the parser and the
// help text; the refusals keep the program's own words.
#include "game/Options.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <string_view>

namespace NovaGunner {

namespace {

constexpr char kVersion[] = "Nova Gunner " NOVA_VERSION "\n";

// Where an option applies: its heading in --help.
constexpr char kDemos[] = "Recording and replaying";
constexpr char kPlay[] = "The play";
constexpr char kWindow[] = "The window";
constexpr char kSettings[] = "The settings file";
constexpr char kAbout[] = "About the program";

template <bool Options::*field>
bool Set(Options& options, const std::string& value) {
  options.*field = value != "false";
  return true;
}

template <Options::Demo demo>
bool SetDemo(Options& options, const std::string& file) {
  options.demo = demo;
  options.demoPath = file;
  return true;
}

constexpr char kKeyNames[] =
    "SDL's names of keys and pad: with SDL's names of pad buttons,\n"
    "separated by commas (Space, Left Ctrl, F9, pad:a)";

// A binding's row: the window keys and pad buttons of one action.
template <Graph::Action action>
constexpr OptionSpec Binding(const char* names, const char* help) {
  return {.names = names,
          .argument = "KEYS",
          .takes = kKeyNames,
          .group = kWindow,
          .config = true,
          .help = help,
          .apply = [](Options& o,
                      const std::string& keys) { return Graph::Bind(o.bindings, action, keys); },
          .show = [](const Options& o) { return Graph::BindingText(o.bindings, action); }};
}

const OptionSpec kTable[] = {
    {.names = "--record",
     .argument = "FILE",
     .takes = "a file name",
     .group = kDemos,
     .help = "play as usual and write the keys of the play to FILE",
     .apply =
         [](Options& o, const std::string& file) {
           o.recordPath = file;
           o.recording = true;
           return true;
         }},
    {.names = "--replay",
     .argument = "FILE",
     .takes = "a demo file name",
     .group = kDemos,
     .help = "play the keys of demo FILE at the normal pace, then print the outcome",
     .apply = SetDemo<Options::Demo::Replay>},
    {.names = "--timedemo",
     .argument = "FILE",
     .takes = "a demo file name",
     .group = kDemos,
     .help = "as --replay, without waiting between ticks; prints ticks per second",
     .apply = SetDemo<Options::Demo::Timedemo>},
    {.names = "--headless",
     .group = kDemos,
     .help = "with --replay or --timedemo: no window, drawing off-screen only",
     .apply = Set<&Options::headless>},
    {.names = "--trace",
     .group = kDemos,
     .help = "print one line of figures after every tick of the play",
     .apply = Set<&Options::trace>},
    {.names = "--trace-pictures",
     .group = kDemos,
     .help = "print a fingerprint of the whole picture after every tick:\n"
             "'picture TICK HASH', HASH 16 hex digits",
     .apply = Set<&Options::tracePictures>},
    {.names = "--keep-plays",
     .group = kDemos,
     .config = true,
     .help = "keep every finished play as a demo file, with its outcome,\n"
             "in $XDG_DATA_HOME/nova-gunner/plays",
     .apply = Set<&Options::keepPlays>},
    {.names = "--best",
     .group = kDemos,
     .help = "list the ten best kept plays, each proven by its replay;\n"
             "--replay best (or best:N) replays the best (the N-th)",
     .apply = Set<&Options::best>},
    {.names = "--from",
     .argument = "N",
     .takes = "a tick number",
     .group = kDemos,
     .help = "with --replay: open the viewer paused on the picture of tick N",
     .apply =
         [](Options& o, const std::string& n) {
           if (n.size() > 9 || n.find_first_not_of("0123456789") != std::string::npos) return false;
           o.from = std::stoll(n);
           return true;
         }},
    {.names = "--nosound",
     .group = kPlay,
     .config = true,
     .help = "play no sounds",
     .apply = Set<&Options::nosound>},
    {.names = "--no-key-backlog",
     .group = kPlay,
     .config = true,
     .help = "a held key acts once per tick at most and stops when released\n"
             "(without it, keys typed while the game is busy wait and act\n"
             "later, and a held key piles up)",
     .apply = Set<&Options::noKeyBacklog>},
    {.names = "--pause",
     .group = kPlay,
     .config = true,
     .help = "during the play p (or Pause in the window) pauses and goes on",
     .apply = Set<&Options::pause>},
    {.names = "--again",
     .group = kPlay,
     .config = true,
     .help = "after a play, back to the menu for another; Esc there ends\n"
             "with the credits; --record writes FILE, FILE-2, ... per play",
     .apply = Set<&Options::again>},
    {.names = "--volume",
     .argument = "0-100",
     .takes = "a number from 0 to 100",
     .group = kPlay,
     .config = true,
     .help = "the sound's loudness: 100 (the default) as always, 0 silent;\n"
             "the mute key (F9) in the window turns the sound off and on",
     .apply =
         [](Options& o, const std::string& n) {
           if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != n.npos ||
               std::stoi(n) > 100)
             return false;
           o.volume = std::stoi(n);
           return true;
         },
     .show = [](const Options& o) { return std::to_string(o.volume); }},
    {.names = "--window-keys",
     .group = kWindow,
     .config = true,
     .help = "keys typed in the window reach the game too, and a game pad:\n"
             "D-pad or left stick the arrows, A fire (Space), B bomb (0),\n"
             "Start Enter, Back Escape, Y h",
     .apply = Set<&Options::windowKeys>},
    {.names = "--scale",
     .argument = "N|auto",
     .takes = "a number from 1 to 8, or auto",
     .group = kWindow,
     .config = true,
     .help = "show every pixel as an N x N block (1 to 8); auto: the largest\n"
             "that fits the screen",
     .apply =
         [](Options& o, const std::string& n) {
           if (n == "auto") {
             o.scale = 0;
           } else if (n.size() == 1 && n[0] >= '1' && n[0] <= '8') {
             o.scale = n[0] - '0';
           } else {
             return false;
           }
           return true;
         },
     .show =
         [](const Options& o) {
           return o.scale == 0 ? std::string("auto") : std::to_string(o.scale);
         }},
    {.names = "--fullscreen",
     .group = kWindow,
     .config = true,
     .help = "start full screen; Alt+Enter or F11 in the window switches",
     .apply = Set<&Options::fullscreen>},
    // The window's keys and pad buttons, not the terminal's: a terminal has its own keys.
    Binding<Graph::Action::Up>("--bind-up", "window keys and pad buttons for up (Up, pad:dpup)"),
    Binding<Graph::Action::Down>("--bind-down", "... for down (Down, pad:dpdown)"),
    Binding<Graph::Action::Left>("--bind-left", "... for left (Left, pad:dpleft)"),
    Binding<Graph::Action::Right>("--bind-right", "... for right (Right, pad:dpright)"),
    Binding<Graph::Action::Fire>("--bind-fire", "... for fire (Space, pad:a)"),
    Binding<Graph::Action::Bomb>("--bind-bomb", "... for a bomb (0, pad:b)"),
    Binding<Graph::Action::Enter>("--bind-enter", "... for Enter (Return, pad:start)"),
    Binding<Graph::Action::Escape>("--bind-escape", "... for Escape (Escape, pad:back)"),
    Binding<Graph::Action::Help>("--bind-help", "... for the help page (H, pad:y)"),
    Binding<Graph::Action::Pause>("--bind-pause", "... for the pause of --pause (P, Pause)"),
    Binding<Graph::Action::Mute>("--bind-mute",
                                 "window keys that turn the sound off and on (F9);\n"
                                 "the game never sees them"),
    Binding<Graph::Action::Screenshot>("--bind-screenshot",
                                       "window keys that save the picture as a PNG file in\n"
                                       "$XDG_PICTURES_DIR/nova-gunner or ~/Pictures/nova-gunner\n"
                                       "(F12); the game never sees them"),
    {.names = "--desktop",
     .group = kWindow,
     .config = true,
     .help = "play as a desktop game: as --window-keys --scale auto\n"
             "--no-key-backlog --pause --again --keep-plays, unless set\n"
             "otherwise; closing the window ends the run; no terminal is\n"
             "needed; a result screen waits for a key typed after it\n"
             "showed; the window is not kept above others",
     .apply = Set<&Options::desktop>},
    {.names = "--config",
     .argument = "FILE",
     .takes = "a file name",
     .group = kSettings,
     .help = "read the settings from FILE instead of\n"
             "$XDG_CONFIG_HOME/nova-gunner/nova-gunner.ini",
     .apply =
         [](Options& o, const std::string& file) {
           o.configPath = file;
           return true;
         }},
    {.names = "--no-config",
     .group = kSettings,
     .help = "read no settings file",
     .apply = Set<&Options::noConfig>},
    {.names = "--write-config",
     .group = kSettings,
     .help = "write the settings in force to the settings file (or --config\n"
             "FILE), each with its help as a comment, and end",
     .apply = Set<&Options::writeConfig>},
    {.names = "-h,--help", .group = kAbout, .help = "show this text"},
    {.names = "--version", .group = kAbout, .help = "show the name and version"},
};

constexpr char kWithout[] = "Without options: the game, from its introduction to the credits.\n";

constexpr char kFooter[] =
    "Keys: in the menu Enter plays, h opens the help page, Esc leaves; in the play the\n"
    "arrows move the ship, Space fires, 0 throws a bomb, Esc gives up.\n"
    "The --bind options bind the keys of the window (with --window-keys) and pad\n"
    "buttons to the game's actions; the terminal's keys are never rebound.\n"
    "Exit status: 0 the run ended as designed; 1 the program could not run (no usable\n"
    "display, the X connection lost); 2 bad arguments, a bad settings file or demo\n"
    "file, or a recording that cannot be created; 3 the run ended, but a recording\n"
    "(any play's, with --again), the printed results or the settings written could\n"
    "not all be written (the reason is on standard error).";

// CLI11's layout, with what the program does without options under the usage line, and
// one blank line between groups.
class Layout : public CLI::Formatter {
 public:
  Layout() {
    column_width(20);
    label("OPTIONS", "options");
  }
  std::string make_usage(const CLI::App* app, std::string name) const override {
    return CLI::Formatter::make_usage(app, std::move(name)) + kWithout + "\n";
  }
  std::string make_group(std::string group, bool positional,
                         std::vector<const CLI::Option*> options) const override {
    return CLI::Formatter::make_group(std::move(group), positional, std::move(options)).substr(1);
  }
};

// The table as CLI11 options, each with its row.
struct Parser {
  CLI::App app{"Nova Gunner " NOVA_VERSION, "nova-gunner"};
  std::map<const CLI::Option*, const OptionSpec*> rows;

  Parser() {
    app.set_help_flag();  // --help is a row of the table
    app.allow_extras();   // unknown words are refused below, in the program's words
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.formatter(std::make_shared<Layout>());
    app.footer(kFooter);
    for (const OptionSpec& row : kTable) {
      CLI::Option* option = *row.argument ? app.add_option(row.names)->type_name(row.argument)
                                           : app.add_flag(row.names);
      option->description(row.help)->group(row.group)->configurable(row.config);
      rows[option] = &row;
    }
  }

  // The row of a command-line word, "--scale" or "--scale=...": nullptr when none.
  const OptionSpec* RowOf(std::string_view word) {
    const CLI::Option* option =
        app.get_option_no_throw(std::string(word.substr(0, word.find('='))));
    return option != nullptr ? rows.at(option) : nullptr;
  }
};

std::string Needs(const OptionSpec& row) {
  return LongName(row) + " needs " + row.takes;
}

// Prints text; kExitWriteFailed when it could not be written in full.
int Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kExitOk : kExitWriteFailed;
}

}  // namespace

std::span<const OptionSpec> OptionTable() {
  return kTable;
}

std::string LongName(const OptionSpec& row) {
  const std::string_view names = row.names;
  return std::string(names.substr(names.rfind(',') + 1));  // npos + 1: from the start
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "nova-gunner: %s\n", message.c_str());
  return kExitBadInput;
}

int ParseOptions(int argc, char** argv, Options& options, std::vector<Given>* given) {
  options = Options{};
  Parser parser;
  try {
    parser.app.parse(argc, argv);
  } catch (const CLI::ArgumentMismatch& e) {
    // An option takes the word after it whatever it is: only the last word lacks one.
    const OptionSpec* row = parser.RowOf(argv[argc - 1]);
    return Refuse(row != nullptr ? Needs(*row) : e.what());
  } catch (const CLI::ParseError& e) {
    return Refuse(e.what());
  }
  if (const auto unknown = parser.app.remaining(); !unknown.empty()) {
    return Refuse("unknown option '" + unknown.front() + "' (see --help)");
  }
  // In the order given, so that the last of an option given twice holds.
  std::map<const CLI::Option*, std::size_t> used;
  for (const CLI::Option* option : parser.app.parse_order()) {
    const OptionSpec& row = *parser.rows.at(option);
    const std::string& value = option->results().at(used[option]++);
    if (row.apply == nullptr) {
      return Print(LongName(row) == "--version" ? kVersion : parser.app.help());
    }
    if (!*row.argument) {
      // CLI11 would take "--fullscreen=no" for the switch itself: refuse it as before.
      if (value != "true")
        return Refuse("unknown option '" + LongName(row) + "=" + value + "' (see --help)");
      row.apply(options, value);
    } else if (value.empty()) {
      return Refuse(Needs(row));
    } else if (!row.apply(options, value)) {
      return Refuse(LongName(row) + " takes " + row.takes + ", not '" + value + "'");
    }
    if (given != nullptr) given->push_back({&row, value});
  }
  const auto count = [&](const char* name) { return parser.app.count(name); };
  if (count("--replay") + count("--timedemo") > 1) {
    return Refuse("give only one of --replay and --timedemo");
  }
  if (options.best && (options.demo != Options::Demo::None || options.recording)) {
    return Refuse("--best lists the kept plays: give it without --replay, --timedemo, --record");
  }
  if (options.from >= 0 && options.demo != Options::Demo::Replay) {
    return Refuse("--from needs --replay");
  }
  if (options.headless && options.demo == Options::Demo::None) {
    return Refuse("--headless needs --replay or --timedemo");
  }
  return -1;
}

}  // namespace NovaGunner
