// Writes the program's icon, the ship as the game draws it, as PNG files of the usual
// icon sizes, in the layout of an icon theme: OUTPUT_DIR/NxN/apps/nova-gunner.png.
// Usage: nova-icongen OUTPUT_DIR
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/Ship.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(v >> shift));
}

// One chunk: length, type, data, and the CRC of type and data.
void Chunk(Bytes& png, const char (&type)[5], const Bytes& data) {
  Put32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  Put32(png, static_cast<std::uint32_t>(
                 crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

// 8-bit RGBA, no interlace, each row with filter 0 (none).
Bytes Png(const std::vector<std::uint32_t>& argb, int side) {
  Bytes raw;
  for (int y = 0; y < side; ++y) {
    raw.push_back(0);
    for (int x = 0; x < side; ++x) {
      const std::uint32_t p = argb[static_cast<std::size_t>(y) * side + x];
      for (int shift : {16, 8, 0, 24}) raw.push_back(static_cast<unsigned char>(p >> shift));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
      Z_OK) {
    throw std::runtime_error("zlib could not compress the picture");
  }
  packed.resize(packedSize);
  Bytes header;
  Put32(header, static_cast<std::uint32_t>(side));
  Put32(header, static_cast<std::uint32_t>(side));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", {});
  return png;
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
      const Bytes png = Png(NovaGunner::ShipIcon(side), side);
      std::ofstream out(dir / "nova-gunner.png", std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(png.data()),
                static_cast<std::streamsize>(png.size()));
      if (!out.flush())
        throw std::runtime_error("cannot write " + (dir / "nova-gunner.png").string());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nova-icongen: %s\n", e.what());
    return 1;
  }
  return 0;
}
