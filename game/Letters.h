// The big title letters' art (Letters.cpp): data alone.
#pragma once

namespace NovaGunner::Letters {

inline constexpr int kCell = 38;

// One glyph row per string, 'a' the ground and 'b' the stroke; the NUL after the 38
// cells is never read.
using Glyph = char[kCell][kCell + 1];

extern const Glyph A, E, G, I, M, Y, W, N, O, R, V, U;

}  // namespace NovaGunner::Letters
