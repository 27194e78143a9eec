// The player's ship: its map of letters and its colours. The game draws it (InitYou), and
// the program's icon is made from it (ShipIcon), so both show the same picture.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "graph/Palette.h"

namespace NovaGunner {

// The ship points up. One row of the map per line; each letter a colour, 'a' the background.
// clang-format off
inline constexpr std::string_view gezelf[34] = {
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaadddaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaadddddaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaadddddddaaaaaaaaaaaaaa",
    "aaaaaaaaaaadddddddddaaaaaaaaaaaaa",
    "aaaaaaaaaadddddddddddaaaaaaaaaaaa",
    "aaaaaaaaadddddddddddddaaaaaaaaaaa",
    "aaaaaaaadddddddddddddddaaaaaaaaaa",
    "aaaaaaaadddddddddddddddaaaaaaaaaa",
    "aaaaaaaadddddddddddddddaaaaaaaaaa",
    "aaaaaaaaddddddcccddddddaaaaaaaaaa",
    "aaaaaaafdddddcccccdddddfaaaaaaaaa",
    "aaaaaaffddddcccccccddddffaaaaaaaa",
    "aaaaaaffddddcccccccddddffaaaaaaaa",
    "aaaaafffddddcccccccddddfffaaaaaaa",
    "aaaaffffdddddcccccdddddffffaaaaaa",
    "aaaaffffddddddcccddddddffffaaaaaa",
    "aaafffffdddddddddddddddfffffaaaaa",
    "aaafffffdddddddddddddddfffffaaaaa",
    "aaffffffdddddddddddddddffffffaaaa",
    "afffffffdddddddddddddddfffffffaaa",
    "afffffffdddddddddddddddfffffffaaa",
    "ffffffffdddddddddddddddffffffffaa",
    "ffffffffdddddddddddddddffffffffaa",
    "ffffffffdddddddddddddddffffffffaa",
    "ffffffffdddddddddddddddffffffffaa",
    "aaaaadddddaaaadddddaaaadddddaaaaa",
    "aaaaadddddaaaadddddaaaadddddaaaaa",
    "aaaaaahhhaaaaaahhhaaaaaahhhaaaaaa",
    "aaaaahhhhhaaaahhhhhaaaahhhhhaaaaa",
    "aaaahhhhhhhaahhhhhhhaahhhhhhhaaaa",
};
// clang-format on

// The colour numbers of InitYou, by letter - 'a' (the background's is replaced in play).
inline constexpr std::array<std::uint32_t, 8> kGezelfColours{9, 14, 9, 12, 10, 2, 8, 15};

// The ship as a side x side icon, 0xAARRGGBB row by row, the background transparent (0).
// The drawn part of the map is centred at the largest whole-number blow-up that fits;
// where even one pixel a cell is too much, each d x d block of cells (the smallest d
// that fits) takes its most frequent letter, a drawn one where it ties with the background.
inline std::vector<std::uint32_t> ShipIcon(int side) {
  constexpr int kRows = static_cast<int>(std::size(gezelf));
  constexpr int kCols = static_cast<int>(gezelf[0].size());
  int top = kRows, bottom = 0, left = kCols, right = 0;  // the drawn cells, bounds included
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) {
      if (gezelf[r][c] == 'a') continue;
      top = std::min(top, r), bottom = std::max(bottom, r);
      left = std::min(left, c), right = std::max(right, c);
    }
  }
  const int longest = std::max(right - left + 1, bottom - top + 1);
  const int blowUp = std::max(1, side / longest);  // pixels a cell
  const int shrink = (longest + side - 1) / side;  // cells a pixel, each way
  const int outW = ((right - left + 1) * blowUp + shrink - 1) / shrink;
  const int outH = ((bottom - top + 1) * blowUp + shrink - 1) / shrink;
  const int x0 = (side - outW) / 2, y0 = (side - outH) / 2;
  std::vector<std::uint32_t> icon(static_cast<std::size_t>(side) * side, 0);
  for (int y = 0; y < outH; ++y) {
    for (int x = 0; x < outW; ++x) {
      std::array<int, 8> count{};
      const int r0 = top + y * shrink / blowUp, c0 = left + x * shrink / blowUp;
      for (int r = r0; r < std::min(r0 + shrink, bottom + 1); ++r) {
        for (int c = c0; c < std::min(c0 + shrink, right + 1); ++c) ++count[gezelf[r][c] - 'a'];
      }
      // The first most frequent letter, the background counted last.
      int letter = 0;
      for (int l = 1; l < 8; ++l) {
        if (count[l] > count[letter] || (letter == 0 && count[l] > 0 && count[l] == count[0])) {
          letter = l;
        }
      }
      if (letter != 0) {
        icon[static_cast<std::size_t>(y0 + y) * side + x0 + x] =
            0xFF000000u | Graph::kStdPalette[kGezelfColours[letter]];
      }
    }
  }
  return icon;
}

}  // namespace NovaGunner
