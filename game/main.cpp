// Entry point: the standard descriptors made safe, the options, the real platform
// services, and the program's run on them.
#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "console/Terminal.h"
#include "game/Best.h"
#include "game/KeptPlays.h"
#include "game/Options.h"
#include "game/Program.h"
#include "game/Services.h"
#include "game/Settings.h"
#include "support/SdlMixerPlayer.h"

namespace {

// A descriptor 0-2 left closed by whoever started us would be taken by the next file
// opened (the X connection, say), and console text would go into it: fill it first.
// Read-only, so that input ends at once and output fails as honestly as on the closed
// descriptor: a replay's results that went nowhere still give a failing status.
void OpenClosedStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {  // cannot happen: the lowest free number is fd
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  OpenClosedStandardDescriptors();
  // Console text to a reader that has gone (nova-gunner | less, then q) is dropped, as
  // any console write that fails; the game goes on.
  ::signal(SIGPIPE, SIG_IGN);
  // A recording that reaches the file size limit is reported and kept whole, as on a full
  // disk, instead of the limit's signal ending the program with it.
  ::signal(SIGXFSZ, SIG_IGN);
  // SIGINT and SIGTERM end the program in every mode. Left alone, SDL's start (the window's,
  // or the sound's alone in a headless replay) would turn them into a quit event that
  // nothing reads. Set here, before any thread starts SDL.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  NovaGunner::Options options;
  const int refused = NovaGunner::ReadOptions(argc, argv, options);
  if (refused >= 0) return refused;
  // A play's proof is its replay in a process of this same program: a fresh game each.
  constexpr char kSelf[] = "/proc/self/exe";
  if (options.best) return NovaGunner::Best::List(NovaGunner::KeptPlays::Folder(), kSelf);
  if (options.demo != NovaGunner::Options::Demo::None &&
      NovaGunner::Best::IsBestName(options.demoPath)) {
    std::string error;
    if (!NovaGunner::Best::Resolve(options.demoPath, NovaGunner::KeptPlays::Folder(), kSelf,
                                   options.demoPath, error))
      return NovaGunner::Refuse(error);
  }
  const NovaGunner::Services services{
      .keys = &IO::TerminalKeys(),
      .clock = &IO::TerminalClock(),
      .sounds = &StandardSound::ProgramSoundPlayer(),
      .window = options.headless ? Graph::WindowSystemKind::None : Graph::WindowSystemKind::Sdl};
  return NovaGunner::Program::Main(options, services);
}
