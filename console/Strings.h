#pragma once

#include <span>
#include <string_view>

namespace Strings {
// Copies source (up to its first NUL) into destination; truncates to fit, and adds a
// NUL when there is room.
void Assign(std::string_view source, std::span<char> destination);
}  // namespace Strings
