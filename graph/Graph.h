// Graph: one graphics window served by its own window and server threads.
// Every drawing call hands one request to the server thread through a one-place
// command slot and returns; only GetImage waits for its own result.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "console/KeyEvent.h"

namespace Graph {

using CARDINAL = std::uint32_t;
using INTEGER = std::int32_t;

// Set by Init.
extern CARDINAL Width;
extern CARDINAL Depth;
extern CARDINAL NumPColor;
extern CARDINAL Columns;
extern CARDINAL Rows;

// Raster modes of PutImage (the platform's raster-operation codes).
extern const CARDINAL _GPSET;    // S
extern const CARDINAL _GPRESET;  // S AND NOT D
extern const CARDINAL _GAND;     // S AND D
extern const CARDINAL _GOR;      // S OR D
extern const CARDINAL _GXOR;     // S XOR D

extern const CARDINAL LNSTYLE_SOLID;
extern const CARDINAL LNSTYLE_SHORTDASH;
extern const CARDINAL LNSTYLE_DOT;
extern const CARDINAL LNSTYLE_DASHDOT;
extern const CARDINAL LNSTYLE_DASHDOUBLEDOT;
extern const CARDINAL LNSTYLE_INVISIBLE;

extern const CARDINAL PATSYM_HORIZ;
extern const CARDINAL PATSYM_VERT;
extern const CARDINAL PATSYM_DIAG2;
extern const CARDINAL PATSYM_DIAG1;
extern const CARDINAL PATSYM_DENSE2;
extern const CARDINAL PATSYM_DENSE1;
extern const CARDINAL PATSYM_SOLID;

// Opens the window at screen (x, y), outer size width x depth, and starts the threads.
// FALSE (after a message) when it cannot; never waits forever.
bool Init(INTEGER x, INTEGER y, CARDINAL width, CARDINAL depth);

void Plot(CARDINAL x, CARDINAL y, CARDINAL colour);
void Line(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour);
void Rectangle(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour, bool fill);
// The text ends at its first NUL or at the end of the view; at most 257 characters are drawn.
void RawOutText(CARDINAL x, CARDINAL y, CARDINAL colour, std::string_view text);
void GetImage(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL& image);
void PutImage(CARDINAL x, CARDINAL y, CARDINAL image, CARDINAL mode);

void InitStdPalette();
INTEGER RemapAllPalette(std::span<const CARDINAL> colours);
void SetLineStyle(CARDINAL style);
void SetBkMix(bool opaque);
CARDINAL SetBkColor(CARDINAL colour);
void ClearScreen(CARDINAL mode);
void SetTextWindow(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2);
void Exit();

// ---- Platform selection and inspection (not part of the game's own vocabulary) ----

enum class WindowSystemKind {
  Sdl,   // a real window on the display (the default)
  None,  // the surface alone: tests and --headless runs
};
// Chooses the window system for the next Init; call before Init.
void UseWindowSystem(WindowSystemKind kind);

// How the window shows the surface and what it does with keys; set before Init. The
// defaults are the window as it always was: 1024 x 700, the keyboard handed back to the
// terminal. The surface, the drawing rules and GetImage never change with them.
struct WindowOptions {
  int scale = 1;            // every surface pixel an N x N block (1 to 8); 0: the largest
                            // N whose window fits the display's usable area
  bool fullscreen = false;  // start full screen; Alt+Enter and F11 toggle at any time
  bool windowKeys = false;  // keys typed in the window and game pad buttons go to the key
                            // sink; the window keeps the keyboard focus
  // The window's icon: iconSize x iconSize pixels, 0xAARRGGBB row by row; none if empty.
  std::vector<std::uint32_t> icon{};
  int iconSize = 0;
};
void SetWindowOptions(const WindowOptions& options);
const WindowOptions& CurrentWindowOptions();

// Where the window's keys go with windowKeys: called on the window thread with each
// key-down (auto-repeats included) as a console key event. nullptr: nowhere.
using KeySink = void (*)(const IO::KeyEvent& event);
void SetKeySink(KeySink sink);
KeySink CurrentKeySink();

// Text shown over the picture by the window only (empty: none): the font's characters four
// times their size, white on a black box, centred on the play field (the picture right of
// x 250), as many characters as fit on one line. The surface, ReadPixel and ReadSurface
// keep the picture. It stays over a later window too; shown and taken away at once.
void SetOverlayText(std::string_view text);

// Failure messages of Init go to this sink instead of an error box (tests, where a
// modal box would hang). Without a sink they are shown in an error box where a display
// exists and written to standard error where none does, or when the environment has
// NOVA_GRAPH_MESSAGES=stderr.
void SetMessageSink(std::function<void(std::string_view message)> sink);

// Waits until every request made so far is carried out, then returns the surface
// pixel (x, y) as 0xRRGGBB (0 outside the surface).
std::uint32_t ReadPixel(CARDINAL x, CARDINAL y);
// The same for the whole surface, row by row (Width * Depth words of 0xRRGGBB).
std::vector<std::uint32_t> ReadSurface();
// The same for the fingerprint of the whole surface (Raster::Fingerprint), taken in place:
// one number that pins every pixel, cheap enough to take after every tick of a play.
std::uint64_t SurfaceFingerprint();

}  // namespace Graph
