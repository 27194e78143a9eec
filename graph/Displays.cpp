#include "graph/Displays.h"

#include <SDL2/SDL.h>
#include <strings.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

namespace Graph::detail {

namespace {

// SDL 2.26's Wayland driver crashes while starting where the compositor offers no seat
// (a headless one, one without input devices), and shows no window without a shell: whether
// the compositor (WAYLAND_DISPLAY, else the default one) offers what the driver needs.
bool WaylandOffersWindows() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return false;
  static constexpr const char* kNeeded[] = {"wl_compositor", "wl_shm", "xdg_wm_base", "wl_seat"};
  static const wl_registry_listener listener = {
      [](void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
        for (unsigned i = 0; i < std::size(kNeeded); ++i)
          if (std::strcmp(interface, kNeeded[i]) == 0) *static_cast<unsigned*>(data) |= 1u << i;
      },
      [](void*, wl_registry*, std::uint32_t) {}};
  unsigned offered = 0;
  wl_registry* registry = wl_display_get_registry(display);
  bool ok = registry && wl_registry_add_listener(registry, &listener, &offered) == 0 &&
            wl_display_roundtrip(display) >= 0 && offered == (1u << std::size(kNeeded)) - 1;
  if (registry) wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return ok;
}

// Starts SDL's video on the first driver that works of those SDL_VIDEODRIVER lists, else
// of X11 (where DISPLAY names a display) and Wayland (where WAYLAND_DISPLAY names one).
// On a Wayland desktop XWayland comes first, as in SDL 2's own order: only there does the
// window get its X11 extras (place, frame, focus given back). Wayland is tried only where
// the compositor offers what SDL's driver needs. With no display named nothing is tried:
// SDL's Wayland probe would print its own complaint on standard error.
bool StartAnyVideo() {
  auto named = [](const char* name) {
    const char* v = std::getenv(name);
    return std::string(v ? v : "");
  };
  std::string drivers = named("SDL_VIDEODRIVER");
  if (drivers.empty())
    drivers = (named("DISPLAY").empty() ? "" : "x11,") +
              std::string(named("WAYLAND_DISPLAY").empty() ? "" : "wayland");
  for (std::size_t at = 0, end = 0; at < drivers.size(); at = end + 1) {
    end = std::min(drivers.find(',', at), drivers.size());
    const std::string driver = drivers.substr(at, end - at);
    if (driver.empty() || (strcasecmp(driver.c_str(), "wayland") == 0 && !WaylandOffersWindows()))
      continue;
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  }
  return false;
}

}  // namespace

// Without a bus address and without the usual per-user bus, libdbus would fork and run
// dbus-launch to start a bus for this display: milliseconds at every start, and a bus
// daemon that outlives the game where dbus-launch is installed. Said "no bus" instead.
void NoBusAutolaunch() {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS")) return;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && ::access((std::string(runtime) + "/bus").c_str(), F_OK) == 0) return;
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

VideoDriver StartVideo() {
  if (!StartAnyVideo()) return VideoDriver::None;
  // Without a display SDL quietly picks an invisible driver; only a real one will do.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) return VideoDriver::X11;
  if (driver && std::strcmp(driver, "wayland") == 0) return VideoDriver::Wayland;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return VideoDriver::None;
}

}  // namespace Graph::detail
