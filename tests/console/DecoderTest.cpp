// The terminal decoder: byte sequences to console key events, however the bytes are
// split, the settle time of a lone ESC, and what must never turn into keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/TermDecoder.h"

namespace {

using namespace IO;

struct Ev {
  std::uint16_t vk, sc;
  CHAR ch;
  std::uint32_t state;
  bool down = true;
  bool operator==(const Ev&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Ev& e) {
  return os << "{vk " << e.vk << " sc " << e.sc << " ch " << int(e.ch) << " state " << e.state
            << (e.down ? "}" : " up}");
}

std::vector<Ev> Drain(TermDecoder& d) {
  std::vector<Ev> out;
  while (d.HasEvent()) {
    KeyEvent k = d.Pop();
    out.push_back({k.virtualKey, k.scanCode, k.character, k.state, k.keyDown});
  }
  return out;
}

void Feed(TermDecoder& d, std::string_view s, std::uint64_t ms) {
  d.Feed({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}, ms);
}

// Feeds the pieces at one instant, then the input ends.
std::vector<Ev> Decode(const std::vector<std::string_view>& pieces) {
  TermDecoder d;
  for (auto piece : pieces) Feed(d, piece, 1000);
  d.Finish();
  return Drain(d);
}

constexpr std::uint32_t E = ENHANCED_KEY, S = SHIFT, C = LEFT_CTRL, A = LEFT_ALT;

const Ev kUp{0x26, 72, 0, E}, kDown{0x28, 80, 0, E}, kRight{0x27, 77, 0, E}, kLeft{0x25, 75, 0, E},
    kHome{0x24, 71, 0, E}, kEnd{0x23, 79, 0, E}, kEsc{0x1B, 1, 27, 0}, kEnter{0x0D, 28, 13, 0},
    kIns{0x2D, 82, 0, E}, kDel{0x2E, 83, 0, E}, kPgUp{0x21, 73, 0, E}, kPadEnter{0x0D, 28, 13, E},
    kPad5{0x0C, 76, 0, 0}, kBad{0, 0, '?', 0}, kShiftKey{0x10, 42, 0, 0},
    kRightCtrl{0x11, 29, 0, RIGHT_CTRL | E}, kF1{0x70, 59, 0, 0}, kF3{0x72, 61, 0, 0},
    kF5{0x74, 63, 0, 0}, kF6{0x75, 64, 0, 0}, kF10{0x79, 68, 0, 0}, kF11{0x7A, 87, 0, 0},
    kF12{0x7B, 88, 0, 0};
Ev With(Ev e, std::uint32_t st, bool down = true) {
  e.state |= st;
  e.down = down;
  return e;
}
Ev Ch(char c, std::uint16_t vk, std::uint16_t sc, std::uint32_t st = 0) {
  return {vk, sc, static_cast<CHAR>(c), st};
}

// One row per way of encoding keys; each row holds a representative few of its keys.
const std::vector<std::pair<std::string, std::vector<Ev>>> kTable = {
    {"aA0 ?~",
     {Ch('a', 'A', 30), Ch('A', 'A', 30, S), Ch('0', '0', 11), Ch(' ', 0x20, 57),
      Ch('?', 0xBF, 53, S), Ch('~', 0xC0, 41, S)}},
    {"\r\n\t\x7f\x01\x1a\x1c\x1f\x1b",
     {kEnter, kEnter, Ch(9, 9, 15), Ch(8, 8, 14), Ch(1, 'A', 30, C), Ch(26, 'Z', 44, C),
      Ch(0x1C, 0xDC, 43, C), Ch(0x1F, 0xBD, 12, C), kEsc}},
    // arrows and the editing block, CSI and SS3, with modifiers, rxvt's forms
    {"\x1b[A\x1b[B\x1bOC\x1bOD\x1b[1;2A\x1b[1;5D\x1b[1;3C\x1b[1;8B\x1b[a\x1bOd",
     {kUp, kDown, kRight, kLeft, With(kUp, S), With(kLeft, C), With(kRight, A),
      With(kDown, S | A | C), With(kUp, S), With(kLeft, C)}},
    {"\x1b[H\x1bOF\x1b[1~\x1b[4~\x1b[2~\x1b[3~\x1b[5;5~\x1b[2$\x1b[5^\x1b[3@\x1b[E\x1bOE",
     {kHome, kEnd, kHome, kEnd, kIns, kDel, With(kPgUp, C), With(kIns, S), With(kPgUp, C),
      With(kDel, C | S), kPad5, kPad5}},
    // function keys: xterm, vt220, Linux console, rxvt's shifted ones
    {"\x1bOP\x1b[11~\x1b[17~\x1b[21~\x1b[23~\x1b[24~\x1b[[E\x1b[[A\x1b[1;2P\x1b[15;5~\x1b[25~\x1b["
     "34~",
     {kF1, kF1, kF6, kF10, kF11, kF12, kF5, kF1, With(kF1, S), With(kF5, C), With(kF3, S),
      With(kF10, S)}},
    // keypad in application mode, Shift+Tab
    {"\x1bOM\x1bOp\x1bOy\x1bOj\x1bOo\x1b[Z",
     {kPadEnter, Ch('0', 0x60, 82), Ch('9', 0x69, 73), Ch('*', 0x6A, 55), Ch('/', 0x6F, 53, E),
      Ch(9, 9, 15, S)}},
    // Alt as an ESC prefix
    {"\x1b\x1b[A\x1b\x1b\x1bx\x1bX\x1b\x01\x1b\r\x1b[",
     {With(kUp, A), kEsc, kEsc, Ch('x', 'X', 45, A), Ch('X', 'X', 45, A | S), Ch(1, 'A', 30, A | C),
      With(kEnter, A), Ch('[', 0xDB, 26, A)}},
    // UTF-8: Latin-1 passes; other characters, broken, overlong, surrogate and cut-short
    // bytes become one '?' each
    {"\xc3\xa9\x1b\xc3\xbf\xe2\x82\xac\xff\xc3z\xe0\x80\xaf\xed\xa0\x80\xf0\x9f",
     {Ch('\xe9', 0, 0), Ch('\xff', 0, 0, A), kBad, kBad, kBad, Ch('z', 'Z', 44), kBad, kBad, kBad,
      kBad, kBad, kBad, kBad}},
    // C1 controls, a lone continuation byte, an overlong lead, past U+10FFFF
    {"\xc2\x9f\x80\x9b\xc0\xaf\xf4\x90\x80\x80", std::vector<Ev>(9, kBad)},
    // never keys: mouse reports, paste marks, focus, answers, unknown and overlong
    {"\x1b[M !!\x1b[M\xff\xff\xffk\x1b[200~hi\x1b[201~",
     {Ch('k', 'K', 37), Ch('h', 'H', 35), Ch('i', 'I', 23)}},
    {"\x1b[<0;10;20M\x1b[32;5;6M\x1b[I\x1b[O\x1b[?62;22c\x1b[?15u\x1b[99~\x1b[1;5X\x1b[>1;2m", {}},
    // 48 bytes of a sequence are too many, up to its end; 47 are not
    {"\x1b[" + std::string(48, '1') + "Ab\x1b[" + std::string(48, '2') + "~c\x1b[" +
         std::string(47, '3') + "A\x1b[" + std::string(100, ';') + "\rx\x1b[1;5\r\x1b[12",
     {Ch('b', 'B', 48), Ch('c', 'C', 46), kUp, kEnter, Ch('x', 'X', 45), kEnter}},
    // xterm modifyOtherKeys; kitty: presses, repeats, releases, shifted keys, lone
    // modifiers, functional keys, text
    {"\x1b[27;5;97~\x1b[27;3;120~\x1b[97u\x1b[97;1:2u\x1b[97;1:3u\x1b[49:33;2u\x1b[97;65u"
     "\x1b[97;5u\x1b[97;129u",
     {Ch(1, 'A', 30, C), Ch('x', 'X', 45, A), Ch('a', 'A', 30), Ch('a', 'A', 30),
      With(Ch('a', 'A', 30), 0, false), Ch('!', '1', 2, S), Ch('A', 'A', 30, CAPSLOCK_ON),
      Ch(1, 'A', 30, C), Ch('a', 'A', 30, NUMLOCK_ON)}},
    {"\x1b[57441;2u\x1b[57441;1:3u\x1b[57448;5u\x1b[13u\x1b[27u\x1b[1;1:3A\x1b[57399u"
     "\x1b[57408u\x1b[233u\x1b[57428u",
     {With(kShiftKey, S), With(kShiftKey, 0, false), kRightCtrl, kEnter, kEsc, With(kUp, 0, false),
      Ch('0', 0x60, 82), Ch('9', 0x69, 73), Ch('\xe9', 0, 0)}},
};

TEST(Decoder, TableWholeByteByByteAndSplitAtEveryOffset) {
  for (const auto& [bytes, events] : kTable) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    const std::string_view b = bytes;
    ASSERT_EQ(Decode({b}), events);
    std::vector<std::string_view> single;
    for (std::size_t i = 0; i < b.size(); ++i) single.push_back(b.substr(i, 1));
    EXPECT_EQ(Decode(single), events);
    for (std::size_t k = 1; k < b.size(); ++k)
      EXPECT_EQ(Decode({b.substr(0, k), b.substr(k)}), events) << "split at " << k;
  }
  TermDecoder d;  // the answers to the start-up query are noted, not typed
  Feed(d, "x\x1b[?1u\x1b[?62;c", 0);
  EXPECT_TRUE(d.KittyReplySeen() && d.DeviceAttributesSeen());
  EXPECT_EQ(Drain(d), std::vector<Ev>{Ch('x', 'X', 45)});
}

TEST(Decoder, LoneEscapeSettlesOnlyThroughAdvanceAfterFiftyMilliseconds) {
  TermDecoder d;
  EXPECT_EQ(d.MsUntilSettle(0), -1);
  Feed(d, "\x1b", 100);
  EXPECT_EQ(d.MsUntilSettle(130), 20);
  d.Advance(149);
  EXPECT_FALSE(d.HasEvent());
  d.Advance(150);
  EXPECT_EQ(Drain(d), std::vector<Ev>{kEsc});
  EXPECT_EQ(d.MsUntilSettle(150), -1);
  Feed(d, "\x1b", 300);  // in time it makes a sequence
  Feed(d, "[A", 349);
  EXPECT_EQ(Drain(d), std::vector<Ev>{kUp});
  Feed(d, "\x1b[1;5", 400);  // an unfinished sequence is dropped when it settles
  d.Advance(450);
  Feed(d, "A", 451);
  EXPECT_EQ(Drain(d), std::vector<Ev>{Ch('A', 'A', 30, S)});
  // With no Advance in between, bytes join up however late they come: a read that stopped
  // inside a sequence is never split into an Escape, and ESC with a byte is Alt with it.
  const std::pair<const char*, int> late[] = {{" \x1b", 500},  {" ", 530},     {"\x1b", 560},
                                              {"\x1b[A", 580}, {"\x1b[", 600}, {"C", 5000},
                                              {"\x1b", 6000},  {"OB", 9000}};
  for (auto [bytes, ms] : late) Feed(d, bytes, ms);
  EXPECT_EQ(Drain(d), (std::vector<Ev>{Ch(' ', 0x20, 57), Ch(' ', 0x20, 57, A), With(kUp, A),
                                       kRight, kDown}));
}

}  // namespace
