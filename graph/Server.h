// The server thread of Graph and what it shares with the game thread: the one-place slot
// through which each drawing request is handed over, and the two events around it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graph/Event.h"
#include "graph/Raster.h"
#include "graph/WindowSystem.h"

namespace Graph::detail {

constexpr std::size_t kTextMax = 257;
constexpr std::size_t kPaletteSize = 1025;

enum Command : std::uint8_t {
  kNothing = 0,
  kGetImage = 1,
  kSetLineStyle = 2,
  kSetFillMask = 3,
  kRemapPalette = 4,
  kSetBkColor = 7,
  kSetBkMix = 8,
  kPlot = 9,
  kRectangle = 10,
  kLine = 11,
  kOutText = 18,
  kPutImage = 20,
  kOpenSurfaces = 22,
};

// The one-place mailbox between the game thread and the server thread. It belongs to
// whoever holds the server: the game thread from claiming the idle event to signalling
// ready, the server thread from then until it signals idle again.
struct Slot {
  std::uint8_t code = kNothing;
  std::uint32_t p[6] = {};
  char text[kTextMax + 1] = {};
  std::uint32_t result = 0;
  std::size_t paletteCount = 0;
  std::uint32_t palette[kPaletteSize] = {};
};

// Drawing settings, kept by the server thread.
struct Settings {
  Raster::LineStyle lineStyle = Raster::LineStyle::Solid;
  std::uint32_t fillPattern = 8;
  bool opaqueText = true;
  Raster::Colour background = 0;
};

// The events and the slot pass between the two threads' cores on every request: each
// sits on a cache line of its own.
struct Service {
  alignas(64) ManualResetEvent ready;  // a request waits in the slot
  alignas(64) ManualResetEvent idle;   // the server is free and the slot holds the last result
  alignas(64) Slot slot;
  alignas(64) char apart = 0;
  WindowShared shared;
  std::unique_ptr<WindowSystem> windowSystem;
  // Server thread only.
  Settings settings;
  std::array<Raster::Colour, kPaletteSize> palette{};
  std::vector<Raster::Image> images;
};

// Never destroyed: the server thread runs until the process ends and may still be
// carrying out a request while static objects are torn down.
inline Service& S() {
  static Service* service = new Service;
  return *service;
}

// Starts the server thread, which runs to the end of the process; FALSE when it cannot.
bool StartServer();

}  // namespace Graph::detail
