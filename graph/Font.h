// The text font of Graph: one fixed-width bitmap face, 256 single-byte characters.
#pragma once

#include <cstdint>

namespace Graph::Font {

extern const int kCellWidth;
extern const int kCellHeight;
extern const int kAscent;
extern const int kDescent;
// kGlyphs[c][row]: one byte per pixel row of character c, the leftmost pixel in bit 7.
extern const std::uint8_t kGlyphs[256][14];

}  // namespace Graph::Font
