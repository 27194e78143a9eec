// Writes the program's icon, the ship as the game draws it, as PNG files of the usual
// icon sizes, in the layout of an icon theme: OUTPUT_DIR/NxN/apps/nova-gunner.png.
// Usage: nova-icongen OUTPUT_DIR
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/Ship.h"

namespace {

// 8-bit RGBA through libpng, the library the program's screenshots use.
void WritePng(const std::filesystem::path& path, const std::vector<std::uint32_t>& argb, int side) {
  std::vector<png_byte> rgba;
  for (std::uint32_t p : argb)
    for (int shift : {16, 8, 0, 24}) rgba.push_back(static_cast<png_byte>(p >> shift));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = static_cast<png_uint_32>(side);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path.string() + ": " + image.message);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  try {
    for (int side : {16, 32, 48, 64, 128, 256}) {
      const std::string size = std::to_string(side) + "x" + std::to_string(side);
      const std::filesystem::path dir = std::filesystem::path(argv[1]) / size / "apps";
      std::filesystem::create_directories(dir);
      WritePng(dir / "nova-gunner.png", NovaGunner::ShipIcon(side), side);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nova-icongen: %s\n", e.what());
    return 1;
  }
  return 0;
}
