// The big title letters: twelve heavy block capitals, 38 pixels square, plotted
// pixel by pixel from their glyph maps ('a' the ground, 'b' the stroke). Letters are
// never kept as images: each call plots the whole glyph again, so a letter drawn
// after COLOR changes picks up the new ground colour.
#include "game/Letters.h"

#include "graph/Graph.h"

namespace NovaGunner {

namespace {

constexpr int CELL = 38;

// One glyph row per string; the NUL after the 38 cells is never read.
using GlyphMap = char[CELL][CELL + 1];

void DrawGlyph(const GlyphMap& map, const Object& at, bool b) {
  if (!b) {
    // Covers the glyph's square and the column and row before it.
    Graph::Rectangle(at.x, at.y, at.x + 40, at.y + 40, 0, true);
    return;
  }
  // Indexed by the map letter, 'a' first; filled at every draw so that 'a' takes
  // the ground colour of this moment.
  const CARDINAL colorMap[16] = {COLOR, 4, 2, 3, 1, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int c = 0; c < CELL; ++c) {
    for (int row = 0; row < CELL; ++row) {
      const unsigned cell = static_cast<unsigned char>(map[row][c]) - 'a';
      Graph::Plot(at.x + 1 + c, at.y + 1 + row, colorMap[cell & 15]);
    }
  }
}

}  // namespace

void letterA(Object a, bool b) {
  // clang-format off
  static constexpr GlyphMap letterA = {
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaa",
    "aabbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterA, a, b);
}

void letterE(Object e, bool b) {
  // clang-format off
  static constexpr GlyphMap letterE = {
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterE, e, b);
}

void letterG(Object g, bool b) {
  // clang-format off
  static constexpr GlyphMap letterG = {
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaa",
    "aabbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaabbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "aabbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbaa",
    "aabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
  };
  // clang-format on
  DrawGlyph(letterG, g, b);
}

void letterI(Object i, bool b) {
  // clang-format off
  static constexpr GlyphMap letterI = {
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
  };
  // clang-format on
  DrawGlyph(letterI, i, b);
}

void letterM(Object m, bool b) {
  // clang-format off
  static constexpr GlyphMap letterM = {
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbabbbbbbbbbbbbbbbbbbbbabbbbbbbb",
    "bbbbbbbbabbbbbbbbbbbbbbbbbbbbabbbbbbbb",
    "bbbbbbbbaabbbbbbbbbbbbbbbbbbaabbbbbbbb",
    "bbbbbbbbaabbbbbbbbbbbbbbbbbbaabbbbbbbb",
    "bbbbbbbbaaabbbbbbbbbbbbbbbbaaabbbbbbbb",
    "bbbbbbbbaaabbbbbbbbbbbbbbbbaaabbbbbbbb",
    "bbbbbbbbaaaabbbbbbbbbbbbbbaaaabbbbbbbb",
    "bbbbbbbbaaaabbbbbbbbbbbbbbaaaabbbbbbbb",
    "bbbbbbbbaaaaabbbbbbbbbbbbaaaaabbbbbbbb",
    "bbbbbbbbaaaaabbbbbbbbbbbbaaaaabbbbbbbb",
    "bbbbbbbbaaaaaabbbbbbbbbbaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaabbbbbbbbbbaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaabbbbbbbbaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaabbbbbbbbaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaabbbbbbaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaabbbbbbaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaabbbbaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaabbbbaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterM, m, b);
}

void letterY(Object y, bool b) {
  // clang-format off
  static constexpr GlyphMap letterY = {
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
  };
  // clang-format on
  DrawGlyph(letterY, y, b);
}

void letterW(Object w, bool b) {
  // clang-format off
  static constexpr GlyphMap letterW = {
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaabbbbaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaabbbbaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaabbbbbbaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaabbbbbbaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaabbbbbbbbaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaabbbbbbbbaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaabbbbbbbbbbaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaabbbbbbbbbbaaaaaabbbbbbbb",
    "bbbbbbbbaaaaabbbbbbbbbbbbaaaaabbbbbbbb",
    "bbbbbbbbaaaaabbbbbbbbbbbbaaaaabbbbbbbb",
    "bbbbbbbbaaaabbbbbbbbbbbbbbaaaabbbbbbbb",
    "bbbbbbbbaaaabbbbbbbbbbbbbbaaaabbbbbbbb",
    "bbbbbbbbaaabbbbbbbbbbbbbbbbaaabbbbbbbb",
    "bbbbbbbbaaabbbbbbbbbbbbbbbbaaabbbbbbbb",
    "bbbbbbbbaabbbbbbbbbbbbbbbbbbaabbbbbbbb",
    "bbbbbbbbaabbbbbbbbbbbbbbbbbbaabbbbbbbb",
    "bbbbbbbbabbbbbbbbbbbbbbbbbbbbabbbbbbbb",
    "bbbbbbbbabbbbbbbbbbbbbbbbbbbbabbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterW, w, b);
}

void letterN(Object n, bool b) {
  // clang-format off
  static constexpr GlyphMap letterN = {
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbbaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbbbaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbabbbbbbbbaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaabbbbbbbbaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaabbbbbbbbaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaabbbbbbbbaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaabbbbbbbbaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaabbbbbbbbaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaabbbbbbbbaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaabbbbbbbbaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaabbbbbbbbaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaabbbbbbbbaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaabbbbbbbbaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaabbbbbbbbaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaabbbbbbbbaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaabbbbbbbbaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaabbbbbbbbaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaabbbbbbbbabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaabbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaabbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaabbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaabbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaabbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaabbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaabbbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaabbbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterN, n, b);
}

void letterO(Object o, bool b) {
  // clang-format off
  static constexpr GlyphMap letterO = {
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaa",
    "aabbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "aabbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbaa",
    "aabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
  };
  // clang-format on
  DrawGlyph(letterO, o, b);
}

void letterR(Object r, bool b) {
  // clang-format off
  static constexpr GlyphMap letterR = {
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbaaaaaaaabbbbbbbbaaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaabbbbbbbbaaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaabbbbbbbbaaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaabbbbbbbbaaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaabbbbbbbbaaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaabbbbbbbbaaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaabbbbbbbbaaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaabbbbbbbbaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaabbbbbbbbaaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaabbbbbbbbaaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaabbbbbbbbaaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaabbbbbbbbaaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaabbbbbbbbaaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbbaa",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaabbbbbbbba",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterR, r, b);
}

void letterV(Object v, bool b) {
  // clang-format off
  static constexpr GlyphMap letterV = {
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "abbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbba",
    "abbbbbbbbaaaaaaaaaaaaaaaaaaaabbbbbbbba",
    "aabbbbbbbbaaaaaaaaaaaaaaaaaabbbbbbbbaa",
    "aabbbbbbbbaaaaaaaaaaaaaaaaaabbbbbbbbaa",
    "aabbbbbbbbaaaaaaaaaaaaaaaaaabbbbbbbbaa",
    "aaabbbbbbbbaaaaaaaaaaaaaaaabbbbbbbbaaa",
    "aaabbbbbbbbaaaaaaaaaaaaaaaabbbbbbbbaaa",
    "aaaabbbbbbbbaaaaaaaaaaaaaabbbbbbbbaaaa",
    "aaaabbbbbbbbaaaaaaaaaaaaaabbbbbbbbaaaa",
    "aaaabbbbbbbbaaaaaaaaaaaaaabbbbbbbbaaaa",
    "aaaaabbbbbbbbaaaaaaaaaaaabbbbbbbbaaaaa",
    "aaaaabbbbbbbbaaaaaaaaaaaabbbbbbbbaaaaa",
    "aaaaaabbbbbbbbaaaaaaaaaabbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbaaaaaaaaaabbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbaaaaaaaaaabbbbbbbbaaaaaa",
    "aaaaaaabbbbbbbbaaaaaaaabbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbaaaaaaaabbbbbbbbaaaaaaa",
    "aaaaaaaabbbbbbbbaaaaaabbbbbbbbaaaaaaaa",
    "aaaaaaaabbbbbbbbaaaaaabbbbbbbbaaaaaaaa",
    "aaaaaaaaabbbbbbbbaaaabbbbbbbbaaaaaaaaa",
    "aaaaaaaaabbbbbbbbaaaabbbbbbbbaaaaaaaaa",
    "aaaaaaaaabbbbbbbbaaaabbbbbbbbaaaaaaaaa",
    "aaaaaaaaaabbbbbbbbaabbbbbbbbaaaaaaaaaa",
    "aaaaaaaaaabbbbbbbbaabbbbbbbbaaaaaaaaaa",
    "aaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaa",
    "aaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaa",
    "aaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaa",
    "aaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaa",
    "aaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaa",
    "aaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaa",
    "aaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaa",
    "aaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaabbbbbbbbaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaabbbbbbbbaaaaaaaaaaaaaaa",
  };
  // clang-format on
  DrawGlyph(letterV, v, b);
}

void letterU(Object u, bool b) {
  // clang-format off
  static constexpr GlyphMap letterU = {
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbaaaaaaaaaaaaaaaaaaaaaabbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
  };
  // clang-format on
  DrawGlyph(letterU, u, b);
}

void DrawTitle(std::span<const TitleLetter> title, INTEGER y) {
  for (const TitleLetter& letter : title) {
    Object at{};
    at.x = letter.x;
    at.y = y;
    letter.draw(at, true);
  }
}

}  // namespace NovaGunner
