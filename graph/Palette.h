// The sixteen standard colours (0xRRGGBB), colour numbers 0 to 15 after InitStdPalette.
#pragma once

#include <cstdint>

namespace Graph {

inline constexpr std::uint32_t kStdPalette[16] = {
    0x000000, 0x0000B0, 0x00B000, 0x008080, 0xB00000, 0x800080, 0xB06000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

}  // namespace Graph
