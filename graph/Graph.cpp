// The public calls of Graph: the game thread's side of the request protocol and the
// module state. The server thread is in Server.cpp.
#include "graph/Graph.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "graph/Font.h"
#include "graph/Palette.h"
#include "graph/Raster.h"
#include "graph/Server.h"
#include "graph/WindowSystem.h"

namespace Graph {

CARDINAL Width = 0;
CARDINAL Depth = 0;
CARDINAL NumPColor = 0;
CARDINAL Columns = 0;
CARDINAL Rows = 0;

const CARDINAL _GPSET = Raster::kCopy;
const CARDINAL _GPRESET = Raster::kAndNot;
const CARDINAL _GAND = Raster::kAnd;
const CARDINAL _GOR = Raster::kOr;
const CARDINAL _GXOR = Raster::kXor;

const CARDINAL LNSTYLE_SOLID = 0;
const CARDINAL LNSTYLE_SHORTDASH = 1;
const CARDINAL LNSTYLE_DOT = 2;
const CARDINAL LNSTYLE_DASHDOT = 3;
const CARDINAL LNSTYLE_DASHDOUBLEDOT = 4;
const CARDINAL LNSTYLE_INVISIBLE = 5;

const CARDINAL PATSYM_HORIZ = 0;
const CARDINAL PATSYM_VERT = 1;
const CARDINAL PATSYM_DIAG2 = 2;
const CARDINAL PATSYM_DIAG1 = 3;
const CARDINAL PATSYM_DENSE2 = 4;
const CARDINAL PATSYM_DENSE1 = 5;
const CARDINAL PATSYM_SOLID = 8;

namespace {

using detail::kTextMax;
using detail::S;
using detail::Slot;
using detail::WindowShared;
using Raster::Pixels;

// Game-thread state.
bool initialised = false;
bool serverRunning = false;
bool sdlUsed = false;
WindowSystemKind windowKind = WindowSystemKind::Sdl;
CARDINAL backgroundNumber = 0;
CARDINAL fillPattern = 8;
struct {
  CARDINAL x1 = 1, y1 = 1, x2 = 1, y2 = 1;
} textWindow;
std::function<void(std::string_view)> messageSink;

void Message(std::string_view text, std::string_view caption) {
  if (messageSink) {
    messageSink(text);
    return;
  }
  const char* mode = std::getenv("NOVA_GRAPH_MESSAGES");
  bool box = !(mode && std::strcmp(mode, "stderr") == 0) && windowKind == WindowSystemKind::Sdl &&
             S().windowSystem && S().windowSystem->CanShowBox();
  if (box && detail::ShowErrorBox(caption, text)) return;
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

// ---- game thread: the request protocol ----

// Waits until the server has finished the previous request and takes the slot.
// FALSE when no server runs (before a successful Init): the request is dropped.
bool Claim() {
  if (!serverRunning) return false;
  S().idle.Wait();
  S().idle.Reset();
  return true;
}

void Post(detail::Command code, std::initializer_list<CARDINAL> params) {
  if (!Claim()) return;
  Slot& s = S().slot;
  std::copy(params.begin(), params.end(), s.p);
  s.code = code;
  S().ready.Set();
}

// A drawing whose whole area lies right of or below the surface changes no pixel, so it
// needs no hand-over to the server (enemies that sank below the window keep moving and
// firing there for the rest of a game).
bool OffSurface(CARDINAL left, CARDINAL top) {
  return left >= Width || top >= Depth;
}

// Runs `read` over the surface once every earlier request is carried out.
template <typename F>
bool WithSurfaceSettled(F read) {
  if (!Claim()) return false;
  {
    std::lock_guard lock(S().shared.surfaceLock);
    read(S().shared);
  }
  S().idle.Set();
  return true;
}

// Makes the surfaces and opens the window; FALSE after a message, or silently without a
// display. The server is not drawing meanwhile.
bool OpenSurfacesAndWindow(INTEGER x, INTEGER y, WindowOptions options) {
  detail::Service& sv = S();
  WindowShared& sh = sv.shared;
  sh.width = static_cast<int>(Width);
  sh.depth = static_cast<int>(Depth);
  try {
    sh.surface.assign(static_cast<std::size_t>(Width) * Depth, 0);
    sh.window.assign(static_cast<std::size_t>(Width) * Depth, 0);
  } catch (const std::bad_alloc&) {
    Message("Couldn't create main window", "Graph");
    return false;
  }
  sv.windowSystem.reset();
  if (windowKind == WindowSystemKind::Sdl) {
    sdlUsed = true;
    sv.windowSystem = detail::MakeSdlWindowSystem();
    if (!sv.windowSystem->Open(x, y, sh, std::move(options), Message)) return false;
  }
  return true;
}

// Removes the window when the program ends.
struct Finaliser {
  ~Finaliser() {
    Exit();
    if (sdlUsed) detail::ReleaseSdl();
  }
} finaliser;

}  // namespace

bool Init(INTEGER x, INTEGER y, CARDINAL width, CARDINAL depth) {
  return Init(x, y, width, depth, WindowSystemKind::Sdl, WindowOptions{});
}

bool Init(INTEGER x, INTEGER y, CARDINAL width, CARDINAL depth, WindowSystemKind system,
          WindowOptions options) {
  if (initialised) {
    Message("Graph window was already created", "Graph");
    return false;
  }
  initialised = true;
  windowKind = system;
  Width = width;
  Depth = depth;
  // After an Exit the server still runs: hold it while the surfaces and window change.
  bool held = Claim();
  bool opened = OpenSurfacesAndWindow(x, y, std::move(options));
  if (held) S().idle.Set();
  if (!opened) return false;
  if (!serverRunning) serverRunning = detail::StartServer();
  if (!serverRunning) {
    Message("Graph server not run", "Graph");
    return false;
  }
  Post(detail::kOpenSurfaces, {});
  NumPColor = 1u << 24;  // true colour: more than any palette holds
  InitStdPalette();
  SetLineStyle(LNSTYLE_SOLID);
  SetBkMix(true);
  SetBkColor(0);
  ClearScreen(0);
  Rows = (Depth - std::min<CARDINAL>(Depth, Font::kDescent)) / Font::kCellHeight;
  Columns = Width / Font::kCellWidth;
  SetTextWindow(1, 1, Columns, Rows);
  return true;
}

void Plot(CARDINAL x, CARDINAL y, CARDINAL colour) {
  if (OffSurface(x, y)) return;
  Post(detail::kPlot, {x, y, colour});
}

void Line(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour) {
  if (OffSurface(std::min(x1, x2), std::min(y1, y2))) return;
  Post(detail::kLine, {x1, y1, x2, y2, colour});
}

void Rectangle(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour, bool fill) {
  if (OffSurface(std::min(x1, x2), std::min(y1, y2))) return;
  Post(detail::kRectangle, {x1, y1, x2, y2, colour, fill ? 1u : 0u});
}

void RawOutText(CARDINAL x, CARDINAL y, CARDINAL colour, std::string_view text) {
  if (OffSurface(x, y) || !Claim()) return;
  Slot& s = S().slot;
  std::size_t n = 0;
  while (n < text.size() && n < kTextMax && text[n] != '\0') ++n;
  std::memcpy(s.text, text.data(), n);
  s.text[n] = '\0';
  s.p[0] = x;
  s.p[1] = y;
  s.p[2] = colour;
  s.code = detail::kOutText;
  S().ready.Set();
}

void GetImage(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL& image) {
  if (!serverRunning || Width == 0 || Depth == 0) {
    image = 0;
    return;
  }
  x1 = std::min(x1, Width - 1);
  x2 = std::min(x2, Width - 1);
  y1 = std::min(y1, Depth - 1);
  y2 = std::min(y2, Depth - 1);
  Post(detail::kGetImage,
       {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1});
  S().idle.Wait();
  image = S().slot.result;
}

void PutImage(CARDINAL x, CARDINAL y, CARDINAL image, CARDINAL mode) {
  if (OffSurface(x, y)) return;
  Post(detail::kPutImage, {x, y, image, mode});
}

void InitStdPalette() {
  RemapAllPalette(kStdPalette);
}

INTEGER RemapAllPalette(std::span<const CARDINAL> colours) {
  if (NumPColor < colours.size()) return -1;
  if (!Claim()) return 0;
  Slot& s = S().slot;
  s.paletteCount = std::min<std::size_t>(colours.size(), detail::kPaletteSize - 1);
  std::copy_n(colours.begin(), s.paletteCount, s.palette);
  s.code = detail::kRemapPalette;
  S().ready.Set();
  return 0;
}

void SetLineStyle(CARDINAL style) {
  Post(detail::kSetLineStyle, {style});
}

void SetBkMix(bool opaque) {
  Post(detail::kSetBkMix, {opaque ? 1u : 0u});
}

CARDINAL SetBkColor(CARDINAL colour) {
  CARDINAL previous = backgroundNumber;
  backgroundNumber = colour;
  Post(detail::kSetBkColor, {colour});
  return previous;
}

void ClearScreen(CARDINAL mode) {
  CARDINAL x1, y1, x2, y2;
  if (mode == 0) {
    // The whole surface: a filled rectangle stops two short of its far corner.
    x1 = 0, y1 = 0, x2 = Width + 1, y2 = Depth + 1;
  } else if (mode == 2) {
    x1 = (textWindow.x1 - 1) * Font::kCellWidth, y1 = (textWindow.y1 - 1) * Font::kCellHeight;
    x2 = textWindow.x2 * Font::kCellWidth, y2 = textWindow.y2 * Font::kCellHeight;
  } else {
    return;
  }
  // A clearing is always solid, whatever pattern is in force.
  CARDINAL previous = fillPattern;
  if (previous != PATSYM_SOLID) Post(detail::kSetFillMask, {PATSYM_SOLID});
  Rectangle(x1, y1, x2, y2, backgroundNumber, true);
  if (previous != PATSYM_SOLID) Post(detail::kSetFillMask, {previous});
}

void SetTextWindow(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2) {
  auto clampTo = [](CARDINAL v, CARDINAL top) {
    return std::clamp<CARDINAL>(v, 1, std::max<CARDINAL>(top, 1));
  };
  x1 = clampTo(x1, Columns), x2 = clampTo(x2, Columns);
  y1 = clampTo(y1, Rows), y2 = clampTo(y2, Rows);
  textWindow = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

void Exit() {
  if (!initialised) return;
  initialised = false;
  if (S().windowSystem) S().windowSystem->Close();
}

void SetOverlayText(std::string_view text, double bar) {
  detail::Service& sv = S();
  std::lock_guard lock(sv.shared.windowLock);
  if (text == sv.shared.overlayText && bar == sv.shared.overlayBar) return;
  sv.shared.overlayText.assign(text);
  sv.shared.overlayBar = bar;
  sv.shared.overlayVersion++;
  if (sv.shared.alive && sv.windowSystem) sv.windowSystem->Changed();
}

void HoldWindow(bool hold) {
  detail::Service& sv = S();
  std::lock_guard lock(sv.shared.windowLock);
  sv.shared.held = hold;
  if (!hold && sv.shared.alive && sv.windowSystem) sv.windowSystem->Changed();
}

void SetMessageSink(std::function<void(std::string_view)> sink) {
  messageSink = std::move(sink);
}

std::uint32_t ReadPixel(CARDINAL x, CARDINAL y) {
  std::uint32_t pixel = 0;
  WithSurfaceSettled([&](const WindowShared& sh) {
    if (x < static_cast<CARDINAL>(sh.width) && y < static_cast<CARDINAL>(sh.depth))
      pixel = sh.surface[static_cast<std::size_t>(y) * sh.width + x];
  });
  return pixel;
}

std::vector<std::uint32_t> ReadSurface() {
  std::vector<std::uint32_t> pixels;
  WithSurfaceSettled(
      [&](const WindowShared& sh) { pixels.assign(sh.surface.begin(), sh.surface.end()); });
  return pixels;
}

std::uint64_t SurfaceFingerprint() {
  std::uint64_t fingerprint = 0;
  WithSurfaceSettled([&](WindowShared& sh) {
    fingerprint = Raster::Fingerprint(Pixels{sh.surface.data(), sh.width, sh.depth});
  });
  return fingerprint;
}

}  // namespace Graph
