// Sprites: every picture of a game object held as a map of letters with a colour map,
// plotted once into the window at start-up and captured as an image.
#include <array>
#include <string_view>

#include "game/NovaGunner.h"
#include "game/Ship.h"
#include "graph/Graph.h"

namespace NovaGunner {

namespace {

using ColorMap = std::array<CARDINAL, 8>;  // indexed by letter - 'a'

// Plots a map cell by cell, column after column, one pixel right of and below (x0, y0).
template <std::size_t Rows>
void PlotMap(const std::string_view (&map)[Rows], const ColorMap& colorMap, CARDINAL x0,
             CARDINAL y0) {
  const std::size_t width = map[0].size();
  for (std::size_t c = 0; c < width; ++c) {
    for (std::size_t r = 0; r < Rows; ++r) {
      Graph::Plot(x0 + 1 + c, y0 + 1 + r, colorMap[map[r][c] - 'a']);
    }
  }
}

template <std::size_t Rows>
constexpr bool WellFormed(const std::string_view (&map)[Rows], std::size_t width) {
  for (const auto& row : map) {
    if (row.size() != width) return false;
    for (char ch : row) {
      if (ch < 'a' || ch > 'h') return false;
    }
  }
  return true;
}

// Art of the larger sprites (the ship's is in Ship.h): the enemy is a domed walker under a
// crown of spikes, the boss a fortress between two towers, the explosion a ragged burst.
// One row of a map per line.
// clang-format off
constexpr std::string_view vijand[34] = {
    "aaaaaahhaaaaaaaahaaaaaaaahhaaaaaaa",
    "aaaaaaahhaaaaaaahaaaaaaahhaaaaaaaa",
    "aaaaaaaahhaaaaaahaaaaaahhaaaaaaaaa",
    "aaaaaaaaahhaaaaahaaaaahhaaaaaaaaaa",
    "aaaaaaaaaahhaaaahaaaahhaaaaaaaaaaa",
    "aaaaaaaaaaahhaaahaaahhaaaaaaaaaaaa",
    "aaaaaaaagggggggggggggggggaaaaaaaaa",
    "aaaaaaagggggggggggggggggggaaaaaaaa",
    "aaaaaaggggggfgggfgggfggggggaaaaaaa",
    "aaaaaggggggfggggfggggfggggggaaaaaa",
    "aaaaggggggfgggggfgggggfggggggaaaaa",
    "aaaggggggfggggggfggggggfggggggaaaa",
    "aaggggggfgggggggfgggggggfggggggaaa",
    "agggggggggggggggggggggggggggggggaa",
    "ggggggggggggggggggggggggggggggggga",
    "aaaadddddddddddddddddddddddddaaaaa",
    "aaaadddddddddddddddddddddddddaaaaa",
    "aaaaadcccccccccdddcccccccccdaaaaaa",
    "aaaaadcccccccccdddcccccccccdaaaaaa",
    "aaaaaacccccccccdddcccccccccaaaaaaa",
    "aaaaaadddddddddddddddddddddaaaaaaa",
    "aaaaaaadddddddddddddddddddaaaaaaaa",
    "aaaaaaadddddddddddddddddddaaaaaaaa",
    "aaaaaaaadddddddddddddddddaaaaaaaaa",
    "aaaaaaaadddddddddddddddddaaaaaaaaa",
    "aaaaaaaaggaaaaaaaaaaaaaggaaaaaaaaa",
    "aaaaaaggaaaaaaaaaaaaaaaaaggaaaaaaa",
    "aaaaggaaaaaaaaaaaaaaaaaaaaaggaaaaa",
    "aaaggaaaaaaaaaaaaaaaaaaaaaaaggaaaa",
    "aaaggaaaaaaaaaaaaaaaaaaaaaaaggaaaa",
    "aaaaggaaaaaaaaaaaaaaaaaaaaaggaaaaa",
    "aaaaaaggaaaaaaaaaaaaaaaaaggaaaaaaa",
    "aaaaaaaaaggaaaaaaaaaaaggaaaaaaaaaa",
    "aaaaaaaaaaaaggaaaaaggaaaaaaaaaaaaa",
};
constexpr std::string_view toren[63] = {
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaa",
    "aaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbbaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbaaaa",
    "aaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaa",
    "aaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaa",
    "aaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaacccccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhcccccccccaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaacccccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhccccccccaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaacccccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhccccccccaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaacccccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhccccccccaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaacccccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhccccccccaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbcccccccccccccccccccccccccccccccccchhhhhhhhhhhcccccccccccccccccccccccccccccccccccbbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaa",
    "aaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbcccccccccccccccccccccccccccccccccchhhhhhhhhhhcccccccccccccccccccccccccccccccccccbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "aaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbcccccccccccccccccccccccccccccccccchhhhhhhhhhhcccccccccccccccccccccccccccccccccccbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "aaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbcccccccccccccccccccccccccccccccccchhhhhhhhhhhcccccccccccccccccccccccccccccccccccbbbbbbbbbbbbbbbbbbbbbbbbaaaaaaaa",
    "aaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaacccccccccccccccccccchhhhhhhhhhhccccccccccccccccccccaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaa",
    "aaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaacccccccccccccccccccchhhhhhhhhhhccccccccccccccccccccaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaa",
    "aaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaacccccccccccccccccccchhhhhhhhhhhccccccccccccccccccccaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbaaaaaaaaa",
    "aaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaacccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhccccccaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaa",
    "aaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhccccccaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbaaaaaaaaaa",
    "aaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhcccccaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaa",
    "aaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaccccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhcccccaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaa",
    "aaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaacccchhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhcccccaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbaaaaaaaaaaa",
    "aaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaa",
    "aaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbaaaaaaaaaaaa",
    "aaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaa",
    "aaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaa",
    "aaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaacccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaccccccccccccccccccccccccccccccccccccaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaccccccccccccccccddddccccccccccccccccaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaccccccccccccccdddddddcccccccccccccccaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaccccccccccccdddddddddddcccccccccccccaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaacccccccccccddddddddddddddccccccccccaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaccccccccdddddddddddddddddcccccccccaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaccccccdddddddddddddddddddddcccccccaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaacccccddddddddddddddddddddddddcccccaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaccdddddddddddddddddddddddddddcccaaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaaccdddddddddddddddddddddddddddcccaaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaccdddddddddddddddddddddddddddcccaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaacccdddddddddddddddddddddddddccccaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaacccccddddddddddddddddddddddccccaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaacccccddddddddddddddddddddcccccaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaccccccddddddddddddddddddccccccaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
};
constexpr std::string_view expl[42] = {
    "aaaaaaaaaaaaaaaaccccccccccaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaccccccccccccaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaccccccccccccaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaccccccccccccccaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaccccccccccccccccaaaaaaaaaaaaa",
    "aaaaaaaaaaaacccccccccccccccccaaaaaaaaaaaaa",
    "aaaaaaaaaaacccccccccccccccccccaaaaaaaaaaaa",
    "aaaaaaaaaccccccccccccccccccccccccaaaaaaaaa",
    "aaaaacccccccccccccccccccccccccccccccaaaaaa",
    "aaacccccccccccccccccccccccccccccccccccaaaa",
    "aaaccccccccfffcccccccccccccccffccccccccaaa",
    "aaccccccccfffffcccccccccccffffffcccccccaaa",
    "aaaccccccccffffffcffcfffcffffffcccccccccaa",
    "aaaccccccccffffffffffffffffffffccccccccaaa",
    "aaacccccccccffffffffffffffffffcccccccccaaa",
    "aacccccccccccfffffffffffffffffcccccccccaaa",
    "aacccccccccccffffffffffffffffcccccccccccaa",
    "accccccccccccffffffffffffffffccccccccccccc",
    "cccccccccccccfffffffffffffffffcccccccccccc",
    "cccccccccccccfffffffffffffffffcccccccccccc",
    "cccccccccccccffffffffffffffffccccccccccccc",
    "cccccccccccccffffffffffffffffccccccccccccc",
    "cccccccccccccffffffffffffffffccccccccccccc",
    "cccccccccccccfffffffffffffffcccccccccccccc",
    "cccccccccccccffffffffffffffffccccccccccccc",
    "ccccccccccccffffffffffffffffffcccccccccccc",
    "ccccccccccccffffffffffffffffffcccccccccccc",
    "cccccccccccffffffffffffffffffffccccccccccc",
    "accccccccccffffffffcffffffffffffcccccccccc",
    "aaaacccaaaffffffcccccccccccffffccaaaaaaaaa",
    "aaaaaaaaaaffffccccccccccccccfffaaaaaaaaaaa",
    "aaaaaaaaaaaccccccccccccccccccccaaaaaaaaaaa",
    "aaaaaaaaaacccccccccccccccccccccaaaaaaaaaaa",
    "aaaaaaaaaaccccccccccccccccccccccaaaaaaaaaa",
    "aaaaaaaaaaacccccccccccccccccccccaaaaaaaaaa",
    "aaaaaaaaaaccccccccccccccccccccccaaaaaaaaaa",
    "aaaaaaaaaaccccccccccccccccccccccaaaaaaaaaa",
    "aaaaaaaaaaccccccccccccccccccccccaaaaaaaaaa",
    "aaaaaaaaaaccccccccccccccccccccccaaaaaaaaaa",
    "aaaaaaaaaacccccccccccccccccccccaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
};

constexpr std::string_view sbox[20] = {
    "aaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaa", "aabbbbbbbbbbbbbbbbaa",
    "aabbbggbbbbbbggbbbaa", "aabbbggbbggbbggbbbaa", "aaabbbggbggbggbbbaaa",
    "aaabbbggbggbggbbbaaa", "aaabbbggbggbggbbbaaa", "aaaabbbggggggbbbaaaa",
    "aaaabbbggggggbbbaaaa", "aaaabbbbggggbbbbaaaa", "aaaaabbbggggbbbaaaaa",
    "aaaaabbbggggbbbaaaaa", "aaaaaabbbggbbbaaaaaa", "aaaaaaabbggbbaaaaaaa",
    "aaaaaaaabbbbaaaaaaaa", "aaaaaaaaabbaaaaaaaaa", "aaaaaaaaabbaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaa",
};
constexpr std::string_view pisbox[20] = {
    "aaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaa",
    "aaaaaaaaaaaaaaaaaaaa", "adddaaaaaaaaaaaaaaaa", "adddddaaaaaaaaaaaaaa",
    "aaddddddddddddddddaa", "aaadddddddddddddddaa", "aaadddddddddddddddaa",
    "aaadddddddddddddddaa", "aaadddddddddaaaaaaaa", "aaaddddddddaaaaaaaaa",
    "aaaddddddaaaaaaaaaaa", "aaadddddaaaaaaaaaaaa", "aaadddddaaaaaaaaaaaa",
    "aaadddddaaafaaaafaaa", "aaadddddaafffaafffaa", "aaadddddaafffaafffaa",
    "aaaaaaaaaafffaafffaa", "aaaaaaaaaafffaafffaa",
};
constexpr std::string_view bbox[20] = {
    "dddddbbbbbbbbbbddddd", "dddddbbbbbbbbbbddddd", "ddddddbbbbbbbbdddddd",
    "ddddddbbbbbbbbdddddd", "dddddddbbbbbbddddddd", "dddddddbbbbbbddddddd",
    "ddddddddbbbbdddddddd", "ddddddddbbbbdddddddd", "dddddddddbbddddddddd",
    "ddddddddbbbbdddddddd", "ddddddbbbbbbbbdddddd", "ddddbbbbbbbbbbbbdddd",
    "ddbbbbbbbddbbbbbbbdd", "bbbbbbbbddddbbbbbbbb", "bbbbbbbbddddbbbbbbbb",
    "bbbbbbbddddddbbbbbbb", "bbbbbbbddddddbbbbbbb", "bbbbbbddddddddbbbbbb",
    "bbbbbbddddddddbbbbbb", "bbbbbddddddddddbbbbb",
};
constexpr std::string_view rocket[18] = {
    "aaaaaaacaaaaaaa", "aaaaaacccaaaaaa", "aaaaacccccaaaaa", "aaaacccccccaaaa",
    "aaaacccccccaaaa", "aaaacccccccaaaa", "aaaacccccccaaaa", "aaaacccccccaaaa",
    "aaaacccccccaaaa", "aaaacccccccaaaa", "aaaeccccccceaaa", "aaeeccccccceeaa",
    "aeeeccccccceeea", "eeeeccccccceeee", "eeeeccccccceeee", "eeeeccccccceeee",
    "eeeaaaaaaaaaeee", "eeaaaaaaaaaaaee",
};

// clang-format on

static_assert(WellFormed(gezelf, 33) && WellFormed(vijand, 34) && WellFormed(toren, 144) &&
              WellFormed(expl, 42) && WellFormed(sbox, 20) && WellFormed(pisbox, 20) &&
              WellFormed(bbox, 20) && WellFormed(rocket, 15));

// The three boxes share one working place and one way of capturing.
void InitBox(const std::string_view (&map)[20], const ColorMap& colorMap, CARDINAL& handle) {
  PlotMap(map, colorMap, 300, 500);
  Graph::GetImage(301, 500, 319, 519, handle);
  Graph::Rectangle(300, 500, 322, 522, 0, true);
}

}  // namespace

void InitYou() {
  const CARDINAL x0 = you.x;
  const CARDINAL y0 = you.y;
  ColorMap colorMap = kGezelfColours;
  PlotMap(gezelf, colorMap, x0, y0);
  Graph::GetImage(x0 + 1, y0 + 1, x0 + 32, y0 + 33, bitmapyououtro);
  colorMap[0] = 0;
  PlotMap(gezelf, colorMap, x0, y0);
  // Captured with its corner at the ship's own place, so putting it there matches.
  Graph::GetImage(x0, y0, x0 + 33, y0 + 34, bitmapyou);
}

void InitThem() {
  ColorMap colorMap{0, 14, 1, 4, 2, 10, 8, 15};
  PlotMap(vijand, colorMap, 500, 500);
  Graph::GetImage(500, 500, 534, 534, bitmapthem);
  Graph::Rectangle(500, 500, 535, 536, 0, true);
  colorMap[0] = 9;
  PlotMap(vijand, colorMap, 500, 500);
  Graph::GetImage(501, 501, 533, 533, bitmapthemoutro);
  Graph::Rectangle(500, 500, 536, 536, 0, true);
}

void InitBigboss() {
  const ColorMap colorMap{0, 11, 12, 4, 2, 15, 6, 9};
  PlotMap(toren, colorMap, 300, 300);
  Graph::GetImage(301, 301, 444, 363, bitmapbigboss);
  Graph::Rectangle(300, 300, 446, 365, 0, true);
}

void InitSchildbox() {
  InitBox(sbox, {6, 14, 1, 8, 2, 10, 4, 15}, bitmapschildbox);
}
void InitKogelbox() {
  InitBox(pisbox, {6, 14, 1, 12, 2, 10, 8, 15}, bitmapkogelbox);
}
void InitRaketbox() {
  InitBox(bbox, {8, 14, 1, 6, 2, 10, 4, 15}, bitmapraketbox);
}

void InitRaket() {
  const ColorMap colorMap{0, 14, 9, 12, 10, 10, 8, 15};
  PlotMap(rocket, colorMap, 550, 550);
  Graph::GetImage(551, 551, 565, 568, bitmapraket);
  Graph::Rectangle(550, 550, 584, 585, 0, true);
}

void InitExplode() {
  const ColorMap colorMap{0, 14, 12, 12, 10, 4, 14, 15};
  PlotMap(expl, colorMap, 340, 340);
  Graph::GetImage(341, 341, 383, 383, bitmapexplosie);
  Graph::Rectangle(340, 340, 384, 384, 0, true);
}

}  // namespace NovaGunner
