// The command line: its refusals in the program's words, and the documents that list the
// options held to the table.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "game/Options.h"
#include "game/Settings.h"
#include "tests/common/Io.h"

namespace {

using namespace NovaGunner;

struct Parsed {
  int status = 0;
  Options options;
  std::string out, err;
};

// With the settings file when `file` (ReadOptions), else the command line alone.
Parsed Parse(std::vector<std::string> words, bool file = false) {
  words.insert(words.begin(), "nova-gunner");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  Parsed p;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int argc = static_cast<int>(argv.size());
  p.status =
      file ? ReadOptions(argc, argv.data(), p.options) : ParseOptions(argc, argv.data(), p.options);
  p.err = testing::internal::GetCapturedStderr();
  p.out = testing::internal::GetCapturedStdout();
  return p;
}

TEST(Options, RefusalsSayWhatIsWrongWithStatusTwo) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--trace", "--record"}, "--record needs a file name"},
      {{"--timedemo", ""}, "--timedemo needs a demo file name"},
      {{"--scale", "08"}, "--scale takes a number from 1 to 8, or auto, not '08'"},
      {{"--scale", "0"}, "--scale takes a number from 1 to 8, or auto, not '0'"},
      {{"--scale", "9"}, "--scale takes a number from 1 to 8, or auto, not '9'"},
      {{"--volume", "101"}, "--volume takes a number from 0 to 100, not '101'"},
      {{"--bind-fire", "Space, Spcae"},
       "--bind-fire takes SDL's names of keys and pad: with SDL's names of pad buttons,\n"
       "separated by commas (Space, Left Ctrl, F9, pad:a), not 'Space, Spcae'"},
      {{"--bind-mute", "pad:q"}, ""},
      {{"--bind-bomb", "Z,"}, ""},
      {{"--nosound", "--fast"}, "unknown option '--fast' (see --help)"},
      {{"--fullscreen=no"}, "unknown option '--fullscreen=no' (see --help)"},  // not a yes
      {{"--headless", "--trace"}, "--headless needs --replay or --timedemo"},
      {{"--replay", "a", "--timedemo", "b"}, "give only one of --replay and --timedemo"},
      {{"--best", "--record", "a"},
       "--best lists the kept plays: give it without --replay, --timedemo, --record"},
      {{"--timedemo", "a", "--from", "5"}, "--from needs --replay"},
      {{"--replay", "a", "--from", "-1"}, "--from takes a tick number, not '-1'"}};
  for (const auto& [words, message] : cases) {
    const Parsed p = Parse(words);
    EXPECT_EQ(p.status, kExitBadInput) << message;
    EXPECT_TRUE(message.empty() || p.err + p.out == "nova-gunner: " + message + "\n") << p.err;
  }
  // A binding takes its keys from the action that had them; unknown names change nothing.
  const Options bound = Parse({"--bind-bomb", "space , Z, pad:x", "--volume", "0"}).options;
  using enum Graph::Action;
  EXPECT_EQ(bound.bindings.ActionOfKey(' '), int(Bomb));
  EXPECT_EQ(bound.bindings.ActionOfKey('z'), int(Bomb));
  EXPECT_EQ(bound.bindings.ActionOfKey('0'), -1);
  EXPECT_EQ(bound.bindings.ActionOfButton(2), int(Bomb));  // x
  EXPECT_TRUE(bound.bindings.keys[int(Fire)].empty());
  EXPECT_EQ(bound.volume, 0);
  // The last of an option given twice holds.
  EXPECT_EQ(Parse({"--scale", "auto", "--scale", "8"}).options.scale, 8);
  EXPECT_EQ(Parse({"--scale", "8", "--scale", "auto"}).options.scale, 0);
}

// The first group of each match of pattern in text, "\\-" read as "-".
std::set<std::string> Names(const std::string& text, const char* pattern) {
  std::set<std::string> names;
  const std::regex re(pattern, std::regex::multiline);
  for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m)
    names.insert(std::regex_replace((*m)[1].str(), std::regex(R"(\\-)"), "-"));
  return names;
}

// From the line starting with `from` to the next line starting with `to`.
std::string Part(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t start = text.find("\n" + from);
  EXPECT_NE(start, std::string::npos) << from;
  return text.substr(start, text.find("\n" + to, start + 1) - start);
}

// Each document names exactly the options of the table, no fewer, no more.
TEST(Options, HelpManualPageAndReadmeListTheTablesOptions) {
  std::string declared;
  for (const OptionSpec& row : OptionTable()) declared += row.names + std::string(" ");
  const std::set<std::string> table = Names(declared, "(--[a-z-]+)");
  const Parsed help = Parse({"--help"}), version = Parse({"--version"});
  EXPECT_TRUE(version.status == kExitOk && help.out.starts_with(version.out)) << version.out;
  EXPECT_TRUE(version.out.starts_with("Nova Gunner ") &&
              version.out.find('\n') + 1 == version.out.size());
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_EQ(Names(help.out, R"(^  (?:-., ?)?(--[a-z-]+))"), table) << help.out;
  const std::string man = ReadFile(NOVA_SOURCE_DIR "/data/nova-gunner.6");
  EXPECT_EQ(Names(Part(man, ".SH OPTIONS", ".SH"), R"(^\.TP\n\.BI? (\\-\\-[a-z\\-]+))"), table);
  EXPECT_EQ(Names(Part(man, ".SH SYNOPSIS", ".SH"), R"(^\.RB \[ (\\-\\-[a-z\\-]+))"), table);
  const std::string readme = ReadFile(NOVA_SOURCE_DIR "/README.md");
  EXPECT_EQ(Names(Part(readme, "## Options", "#"), R"(^\| `(--[a-z-]+))"), table);
  // The keys of the settings file are the rows a file may set.
  std::set<std::string> keys;
  for (const OptionSpec& row : OptionTable())
    if (row.config) {
      keys.insert(LongName(row).substr(2));
      EXPECT_TRUE(!*row.argument || row.show != nullptr) << row.names << ": --write-config";
    }
  EXPECT_EQ(Names(Part(readme, "Keys: `", ""), "`([a-z-]+)`"), keys);
  const std::string manKeys = Part(man, "Keys: ", "");
  EXPECT_EQ(Names(manKeys.substr(manKeys.find(':')), R"(([a-z][a-z\\-]+))"), keys);
  // The desktop entry's options are the table's, and start the game.
  std::smatch exec;
  const std::string desktop = ReadFile(NOVA_SOURCE_DIR "/data/nova-gunner.desktop.in");
  ASSERT_TRUE(std::regex_search(desktop, exec, std::regex("\nExec=nova-gunner(.*)")));
  std::istringstream line(exec[1].str());
  EXPECT_EQ(Parse({std::istream_iterator<std::string>(line), {}}).status, -1) << exec[0];
}

// The settings file's lines, read without a file, through the rows the command line uses.
TEST(Options, SettingsLinesSetTheRowsOrSayWhichLineAndKeyAreWrong) {
  Options o;
  std::set<std::string> set;
  SettingsFault f;
  EXPECT_TRUE(
      ApplySettings("# note\n; note\n\n  scale = 3 \r\nnosound=yes\nfullscreen = off\n"
                    "window-keys = 1\n",
                    o, set, f));
  EXPECT_TRUE(o.scale == 3 && o.nosound && o.windowKeys && !o.fullscreen);
  EXPECT_EQ(set, (std::set<std::string>{"--scale", "--nosound", "--fullscreen", "--window-keys"}));
  const std::tuple<const char*, int, const char*, const char*> bad[] = {
      {"scale = 2\n\nspeed = 9\n", 3, "speed", "no such setting"},
      {"scale = 9", 1, "scale", "takes a number from 1 to 8, or auto, not '9'"},
      {"scale =", 1, "scale", "needs a number from 1 to 8, or auto"},
      {"pause = maybe", 1, "pause", "takes true or false (yes/no, on/off, 1/0), not 'maybe'"},
      {"record = x.demo", 1, "record", "cannot be set in a settings file"},
      {"help = true", 1, "help", "cannot be set in a settings file"},
      {"write-config = true", 1, "write-config", "cannot be set in a settings file"},
      {"# fine\nfullscreen on", 2, "fullscreen", "a line says KEY = VALUE"}};
  for (const auto& [text, line, key, reason] : bad) {
    Options any;
    EXPECT_FALSE(ApplySettings(text, any, set, f)) << text;
    EXPECT_EQ((std::tuple{f.line, f.key, f.reason}), (std::tuple{line, key, reason})) << text;
  }
  // --desktop's meaning gives way to what the file or the command line set.
  Options d;
  set.clear();
  EXPECT_TRUE(ApplySettings("desktop = on\nscale = 2\npause = no\n", d, set, f));
  ApplyDesktop(d, set);
  EXPECT_TRUE(d.windowKeys && d.noKeyBacklog && d.again && !d.pause && d.scale == 2);
  EXPECT_EQ(Parse({"--desktop", "--no-config"}, true).options.scale, 0);
}

// The settings written read back to the same options; the command line wins over them.
TEST(Options, WrittenSettingsReadBackAndTheCommandLineWinsOverThem) {
  ScratchDir home;
  ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);  // each test runs in a process of its own
  const Parsed written = Parse({"--desktop", "--scale", "3", "--nosound", "--write-config"}, true);
  EXPECT_EQ(written.status, kExitOk) << written.err;
  const std::string file = home.path() / "nova-gunner/nova-gunner.ini";
  EXPECT_NE(ReadFile(file).find("\n# show every pixel as an N x N block"), std::string::npos);
  Options expected = written.options;
  expected.writeConfig = false;
  const Parsed read = Parse({}, true);
  EXPECT_TRUE(read.status == -1 && read.options == expected) << read.err;
  EXPECT_EQ(Parse({"--scale", "1"}, true).options.scale, 1);
  EXPECT_FALSE(Parse({"--no-config"}, true).options.nosound);
  const std::string other = home.File("other.ini", "nosound = no\n\nfullscreen = maybe\n");
  const Parsed bad = Parse({"--config", other}, true);
  EXPECT_EQ(bad.status, kExitBadInput);
  EXPECT_EQ(bad.err,
            "nova-gunner: " + other +
                ":3: fullscreen: takes true or false (yes/no, on/off, 1/0), not 'maybe'\n");
  EXPECT_EQ(Parse({"--config", home.File("none.ini")}, true).status, kExitBadInput);
  // A write cut short (here by a file size limit, as a full disk would) keeps the old file.
  const std::string kept = home.File("kept.ini", "scale = 2\n");
  // SIGXFSZ ignored by the shell too: under ThreadSanitizer the program's own ignoring does
  // not hold (ReplayTest checks it in the other builds).
  const std::string command = "trap '' XFSZ; ulimit -f 0; " + std::string(NOVA_GUNNER_PATH) +
                              " --write-config --config " + kept + " 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  std::string said(200, '\0');
  said.resize(std::fread(said.data(), 1, said.size(), pipe));
  EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), kExitWriteFailed) << said;
  EXPECT_EQ(said, "nova-gunner: cannot write the settings to '" + kept + "': File too large\n");
  EXPECT_EQ(ReadFile(kept), "scale = 2\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()), {}),
            3);  // no temporary
}

}  // namespace
