// The settings file: its lines read through the option table's rows, the settings in force
// written back as a file, and the file found, read and replaced whole.
#include "game/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "console/WriteAll.h"

namespace NovaGunner {

namespace {

constexpr char kHeader[] =
    "# Nova Gunner's settings, read at every start; the command line wins over them.\n"
    "# One KEY = VALUE a line (a switch takes true or false); # or ; starts a comment.\n";

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The key of a row: its long name without the dashes ("no-key-backlog").
std::string Key(const OptionSpec& row) {
  return LongName(row).substr(2);
}

const OptionSpec* RowOfKey(std::string_view key) {
  for (const OptionSpec& row : OptionTable())
    if (Key(row) == key) return &row;
  return nullptr;
}

// A switch's value in a file as "true" or "false"; "" when it is neither.
std::string SwitchValue(std::string_view value) {
  std::string word(value);
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* on : {"true", "yes", "on", "1"})
    if (word == on) return "true";
  for (const char* off : {"false", "no", "off", "0"})
    if (word == off) return "false";
  return "";
}

// A switch's value is what its apply changes: on when turning it off changes something.
std::string Shown(const OptionSpec& row, const Options& options) {
  if (row.show != nullptr) return row.show(options);
  Options off = options;
  row.apply(off, "false");
  return off == options ? "false" : "true";
}

enum class Read { Done, Missing, Failed };

Read ReadWhole(const std::string& path, std::string& text, std::string& error) {
  constexpr std::size_t kMaxBytes = 1 << 20;  // far beyond any settings file
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 && errno == ENOENT) return Read::Missing;
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    error = path + ": cannot read the settings: " +
            (fd >= 0 ? std::string("it is a directory") : std::strerror(errno));
    if (fd >= 0) ::close(fd);
    return Read::Failed;
  }
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() > kMaxBytes) {
      error = path + ": cannot read the settings: " +
              (n < 0 ? std::strerror(errno) : std::string("the file is too large"));
      ::close(fd);
      return Read::Failed;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return Read::Done;
}

// The folders leading to path's file, made where missing.
void MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    ::mkdir(path.substr(0, slash).c_str(), 0755);  // an existing one, or the write fails below
}

// Replaces the file by text through a new file renamed over it, so that a write cut short
// (a full disk) leaves the old file as it was. kExitWriteFailed when it could not.
int WriteWhole(const std::string& path, const std::string& text, bool makeFolders) {
  if (makeFolders) MakeFolders(path);
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  const mode_t mask = ::umask(0);  // the mode a new file would get
  ::umask(mask);
  bool ok = fd >= 0 && ::fchmod(fd, 0666 & ~mask) == 0 &&
            IO::WriteAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
  const int reason = errno;
  if (fd >= 0 && ::close(fd) != 0 && ok) ok = false;
  if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) {
    std::printf("nova-gunner: settings written to %s\n", path.c_str());
    return std::fflush(stdout) == 0 ? kExitOk : kExitWriteFailed;
  }
  const int why = ok ? errno : reason;
  if (fd >= 0) ::unlink(temporary.c_str());
  std::fprintf(stderr, "nova-gunner: cannot write the settings to '%s': %s\n", path.c_str(),
               std::strerror(why));
  return kExitWriteFailed;
}

}  // namespace

bool ApplySettings(std::string_view text, Options& options, std::set<std::string>& set,
                   SettingsFault& fault) {
  int number = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = Trim(text.substr(at, end - at));
    at = end + 1;
    ++number;
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    const auto refuse = [&](std::string reason) {
      fault = {number, std::string(key.substr(0, key.find_first_of(" \t"))), std::move(reason)};
      return false;
    };
    if (equals == std::string_view::npos) return refuse("a line says KEY = VALUE");
    const OptionSpec* row = RowOfKey(key);
    if (row == nullptr) return refuse("no such setting");
    if (!row->config || row->apply == nullptr) return refuse("cannot be set in a settings file");
    std::string value(Trim(line.substr(equals + 1)));
    if (!*row->argument) {
      const std::string word = SwitchValue(value);
      if (word.empty())
        return refuse("takes true or false (yes/no, on/off, 1/0), not '" + value + "'");
      value = word;
    }
    if (!row->apply(options, value)) {  // an empty value may be one: a binding to no keys
      return refuse(value.empty() ? std::string("needs ") + row->takes
                                  : std::string("takes ") + row->takes + ", not '" + value + "'");
    }
    set.insert(LongName(*row));
  }
  return true;
}

std::string SettingsText(const Options& options) {
  std::string text = kHeader;
  for (const OptionSpec& row : OptionTable()) {
    if (!row.config || row.apply == nullptr) continue;
    text += "\n# ";
    for (const char* c = row.help; *c != '\0'; ++c)
      text += *c == '\n' ? std::string("\n# ") : std::string(1, *c);
    text += "\n" + Key(row) + " = " + Shown(row, options) + "\n";
  }
  return text;
}

void ApplyDesktop(Options& options, const std::set<std::string>& set) {
  static constexpr std::pair<const char*, const char*> kMeans[] = {
      {"window-keys", "true"}, {"scale", "auto"}, {"no-key-backlog", "true"},
      {"pause", "true"},       {"again", "true"}, {"keep-plays", "true"}};
  if (!options.desktop) return;
  for (const auto& [key, value] : kMeans) {
    const OptionSpec* row = RowOfKey(key);
    if (row != nullptr && !set.contains(LongName(*row))) row->apply(options, value);
  }
}

std::string DefaultSettingsPath() {
  constexpr char kFile[] = "/nova-gunner/nova-gunner.ini";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return config + std::string(kFile);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home + std::string("/.config") + kFile;
  return "";
}

int ReadOptions(int argc, char** argv, Options& options) {
  Options line;
  std::vector<Given> given;
  if (const int status = ParseOptions(argc, argv, line, &given); status >= 0) return status;
  const std::string path = line.configPath.empty() ? DefaultSettingsPath() : line.configPath;
  Options settled;
  std::set<std::string> set;
  if (!line.noConfig && !path.empty()) {
    std::string text, error;
    const Read read = ReadWhole(path, text, error);
    // A missing default file is no fault, nor a named one that --write-config is to make.
    if (read == Read::Missing && !line.configPath.empty() && !line.writeConfig)
      return Refuse(path + ": cannot read the settings: " + std::strerror(ENOENT));
    if (read == Read::Failed) return Refuse(error);
    SettingsFault fault;
    if (read == Read::Done && !ApplySettings(text, settled, set, fault))
      return Refuse(path + ":" + std::to_string(fault.line) + ": " + fault.key + ": " +
                    fault.reason);
  }
  for (const Given& g : given) {
    g.row->apply(settled, g.value);
    set.insert(LongName(*g.row));
  }
  ApplyDesktop(settled, set);
  options = settled;
  if (!options.writeConfig) return -1;
  if (path.empty()) return Refuse("--write-config needs HOME or XDG_CONFIG_HOME, or --config FILE");
  return WriteWhole(path, SettingsText(options), line.configPath.empty());
}

}  // namespace NovaGunner
