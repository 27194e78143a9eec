// The settings file: "key = value" lines that set the rows of the option table marked as
// settable in a file, read before the command line, which wins over them.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "game/Options.h"

namespace NovaGunner {

// Why a line of the settings file was refused.
struct SettingsFault {
  int line = 0;
  std::string key;  // the line's key (its first word when it has no '=')
  std::string reason;
};

// Applies each "key = value" line of text through the row whose long name without its
// dashes is the key, as the command line would; blank lines and lines that start with #
// or ; say nothing. A switch takes true, false, yes, no, on, off, 1 or 0. Puts the long
// names of the rows set into `set`. FALSE at the first bad line, told in `fault`.
bool ApplySettings(std::string_view text, Options& options, std::set<std::string>& set,
                   SettingsFault& fault);

// The settings in force as a file that ApplySettings reads back to them: every row a file
// may set, after its help as comment lines.
std::string SettingsText(const Options& options);

// What --desktop means, for each of its options that the file or the command line did not
// set (those named in `set`).
void ApplyDesktop(Options& options, const std::set<std::string>& set);

// $XDG_CONFIG_HOME/nova-gunner/nova-gunner.ini, or under $HOME/.config when
// XDG_CONFIG_HOME is unset, empty or relative; "" when neither is known.
std::string DefaultSettingsPath();

// The options in force: the settings file (the default one, --config FILE or none with
// --no-config), then the command line (ParseOptions), then what --desktop implies. With
// --write-config they are written to the file. Returns -1 when the program is to run;
// otherwise the exit status, after --help, --version, --write-config or a refusal.
int ReadOptions(int argc, char** argv, Options& options);

}  // namespace NovaGunner
