// The screenshot key's pictures: the surface as a PNG file in the player's pictures folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace Graph::detail {

// $XDG_PICTURES_DIR/nova-gunner, else ~/Pictures/nova-gunner, else the current folder.
std::filesystem::path ScreenshotFolder();

// Writes the picture (width x depth pixels, 0xRRGGBB row by row) exactly, as a PNG file of
// a new time-stamped name in folder (made when missing; no file is ever overwritten), and
// says on standard error where it went, or in one line why it could not.
void WriteScreenshot(const std::vector<std::uint32_t>& pixels, int width, int depth,
                     const std::filesystem::path& folder);

}  // namespace Graph::detail
