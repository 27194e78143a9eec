// Graph: one graphics window served by its own window and server threads.
// Every drawing call hands one request to the server thread through a one-place
// command slot and returns; only GetImage waits for its own result.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "graph/WindowOptions.h"

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
// The same on the window system given (None: the surface alone, no window), the window
// made as the options say; they reach the window as it opens. The four-argument Init is
// this with an SDL window of the default options.
bool Init(INTEGER x, INTEGER y, CARDINAL width, CARDINAL depth, WindowSystemKind system,
          WindowOptions options);

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

// ---- Beyond the game's own vocabulary: the overlay, messages, inspection ----

// Text shown over the picture by the window only (empty: none): the font's characters four
// times their size, white on a black box, centred on the play field (the picture right of
// x 250), as many characters as fit on one line. The surface, ReadPixel and ReadSurface
// keep the picture. It stays over a later window too; shown and taken away at once. With
// a bar (0 to 1, how much is filled) a thin bar runs under the text and the box sits at
// the foot of the play field (Present::OverlayOf).
void SetOverlayText(std::string_view text, double bar = -1);
// Held, the window shows nothing new (a burst of drawing that only its end should show);
// let go, it shows at once everything drawn meanwhile.
void HoldWindow(bool hold);

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
