#pragma once

#include <cstdint>
#include <span>

namespace WholeStr {
// Decimal digits of value into text; a NUL follows when there is room; only the
// leading digits that fit when text is too short.
void CardToStr(std::uint32_t value, std::span<char> text);
}  // namespace WholeStr
