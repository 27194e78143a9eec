// Titles in big letters: each letter plotted pixel by pixel from its glyph (Letters.cpp).
// Letters are never kept as images: each call plots the whole glyph again, so a letter
// drawn after COLOR changes picks up the new ground colour.
#include "game/Letters.h"
#include "game/NovaGunner.h"
#include "graph/Graph.h"

namespace NovaGunner {

namespace {

void DrawGlyph(const Letters::Glyph& map, const Object& at, bool b) {
  if (!b) {
    // Covers the glyph's square and the column and row before it.
    Graph::Rectangle(at.x, at.y, at.x + 40, at.y + 40, 0, true);
    return;
  }
  // Indexed by the map letter, 'a' first; filled at every draw so that 'a' takes
  // the ground colour of this moment.
  const CARDINAL colorMap[16] = {COLOR, 4, 2, 3, 1, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int c = 0; c < Letters::kCell; ++c) {
    for (int row = 0; row < Letters::kCell; ++row) {
      const unsigned cell = static_cast<unsigned char>(map[row][c]) - 'a';
      Graph::Plot(at.x + 1 + c, at.y + 1 + row, colorMap[cell & 15]);
    }
  }
}

}  // namespace

void letterA(Object a, bool b) {
  DrawGlyph(Letters::A, a, b);
}
void letterE(Object e, bool b) {
  DrawGlyph(Letters::E, e, b);
}
void letterG(Object g, bool b) {
  DrawGlyph(Letters::G, g, b);
}
void letterI(Object i, bool b) {
  DrawGlyph(Letters::I, i, b);
}
void letterM(Object m, bool b) {
  DrawGlyph(Letters::M, m, b);
}
void letterY(Object y, bool b) {
  DrawGlyph(Letters::Y, y, b);
}
void letterW(Object w, bool b) {
  DrawGlyph(Letters::W, w, b);
}
void letterN(Object n, bool b) {
  DrawGlyph(Letters::N, n, b);
}
void letterO(Object o, bool b) {
  DrawGlyph(Letters::O, o, b);
}
void letterR(Object r, bool b) {
  DrawGlyph(Letters::R, r, b);
}
void letterV(Object v, bool b) {
  DrawGlyph(Letters::V, v, b);
}
void letterU(Object u, bool b) {
  DrawGlyph(Letters::U, u, b);
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
