// The command line: its refusals in the program's words, and the documents that list the
// options held to the table.
#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <set>
#include <sstream>

#include "game/Options.h"
#include "tests/common/Io.h"

namespace {

using namespace NovaGunner;

struct Parsed {
  int status = 0;
  Options options;
  std::string out, err;
};

Parsed Parse(std::vector<std::string> words) {
  words.insert(words.begin(), "nova-gunner");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  Parsed p;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  p.status = ParseOptions(static_cast<int>(argv.size()), argv.data(), p.options);
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
    if (!message.empty()) {
      EXPECT_EQ(p.err + p.out, "nova-gunner: " + message + "\n");
    }
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
  for (const OptionSpec& spec : OptionTable()) declared += spec.names + std::string(" ");
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
  // The desktop entry's options are the table's, and start the game.
  std::smatch exec;
  const std::string desktop = ReadFile(NOVA_SOURCE_DIR "/data/nova-gunner.desktop.in");
  ASSERT_TRUE(std::regex_search(desktop, exec, std::regex("\nExec=nova-gunner(.*)")));
  std::istringstream line(exec[1].str());
  EXPECT_EQ(Parse({std::istream_iterator<std::string>(line), {}}).status, -1) << exec[0];
}

}  // namespace
