#include "graph/Server.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

namespace Graph::detail {

namespace {

using Raster::Area;
using Raster::Colour;
using Raster::Pixels;

Colour ColourOf(std::uint32_t number) {
  return S().palette[number & 0xFF];
}

// Carries out the request in the slot on one picture. Settings change on the surface
// run only, so that they hold whether or not a window is drawn as well.
Area Exec(const Slot& s, const Pixels& px, bool surfaceRun) {
  Service& sv = S();
  const std::uint32_t* p = s.p;
  switch (s.code) {
    case kGetImage: {
      sv.images.push_back(Raster::Capture(px, static_cast<int>(p[0]), static_cast<int>(p[1]),
                                          static_cast<int>(p[2]) + 1, static_cast<int>(p[3]) + 1));
      sv.slot.result = static_cast<std::uint32_t>(sv.images.size());
      return Area{};
    }
    case kSetLineStyle:
      sv.settings.lineStyle = static_cast<Raster::LineStyle>(p[0]);
      return Area{};
    case kSetFillMask:
      sv.settings.fillPattern = p[0];
      return Area{};
    case kRemapPalette:
      for (std::size_t i = 0; i < s.paletteCount; ++i) sv.palette[i] = s.palette[i] & 0xFFFFFF;
      return Area{};
    case kSetBkColor:
      if (surfaceRun) sv.settings.background = ColourOf(p[0]);
      return Area{};
    case kSetBkMix:
      if (surfaceRun) sv.settings.opaqueText = p[0] != 0;
      return Area{};
    case kPlot:
      return Raster::Plot(px, p[0], p[1], ColourOf(p[2]));
    case kRectangle:
      if (p[5]) return Raster::FillRect(px, p[0], p[1], p[2], p[3], ColourOf(p[4]));
      return Raster::FrameRect(px, p[0], p[1], p[2], p[3], ColourOf(p[4]), sv.settings.lineStyle);
    case kLine:
      return Raster::Line(px, p[0], p[1], p[2], p[3], ColourOf(p[4]), sv.settings.lineStyle);
    case kOutText:
      return Raster::Text(px, p[0], p[1], std::string_view(s.text, strnlen(s.text, kTextMax)),
                          ColourOf(p[2]), sv.settings.opaqueText, sv.settings.background);
    case kPutImage:
      if (p[2] == 0 || p[2] > sv.images.size()) return Area{};  // not a handle GetImage made
      return Raster::Put(px, p[0], p[1], sv.images[p[2] - 1], p[3]);
    default:
      return Area{};
  }
}

void RaiseServerPriority() {
  // One step above normal where allowed; an unprivileged process is refused, which is fine.
  pid_t tid = static_cast<pid_t>(syscall(SYS_gettid));
  errno = 0;
  int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
  if (errno == 0) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice - 1);
}

void ServerLoop() {
  Service& sv = S();
  WindowShared& sh = sv.shared;
  RaiseServerPriority();
  sv.idle.Set();
  for (;;) {
    sv.ready.Wait();
    sv.ready.Reset();
    const Slot& s = sv.slot;
    if (s.code <= kRemapPalette) {
      Pixels px{sh.surface.data(), sh.width, sh.depth};
      Exec(s, px, true);
    } else {
      {
        std::lock_guard lock(sh.surfaceLock);
        Exec(s, Pixels{sh.surface.data(), sh.width, sh.depth}, true);
      }
      std::lock_guard lock(sh.windowLock);
      if (sh.alive) {
        Area changed = Exec(s, Pixels{sh.window.data(), sh.width, sh.depth}, false);
        if (!changed.Empty()) {
          sh.dirty.Add(changed);
          sv.windowSystem->Changed();
        }
      }
    }
    sv.idle.Set();
  }
}

}  // namespace

bool StartServer() {
  try {
    std::thread(ServerLoop).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

}  // namespace Graph::detail
