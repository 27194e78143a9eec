#include "graph/Screenshot.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <system_error>

namespace Graph::detail {

namespace {

// A new file of the picture's time-stamped name, "-2", "-3" ... added when one exists.
std::FILE* NewFile(const std::filesystem::path& folder, std::filesystem::path& path) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H-%M-%S", &local);
  for (int n = 1; n < 1000; ++n) {
    path = folder /
           (std::string("nova-gunner-") + stamp + (n > 1 ? "-" + std::to_string(n) : "") + ".png");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) return ::fdopen(fd, "wb");
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

}  // namespace

std::filesystem::path ScreenshotFolder() {
  const char* pictures = std::getenv("XDG_PICTURES_DIR");
  if (pictures != nullptr && *pictures != '\0')
    return std::filesystem::path(pictures) / "nova-gunner";
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0')
    return std::filesystem::path(home) / "Pictures" / "nova-gunner";
  return ".";
}

void WriteScreenshot(const std::vector<std::uint32_t>& pixels, int width, int depth,
                     const std::filesystem::path& folder) {
  std::vector<png_byte> rgb;
  rgb.reserve(pixels.size() * 3);
  for (std::uint32_t p : pixels)
    rgb.insert(rgb.end(), {png_byte(p >> 16), png_byte(p >> 8), png_byte(p)});
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::filesystem::path path = folder;
  std::FILE* file = ec ? nullptr : NewFile(folder, path);
  std::string why = ec ? ec.message() : file == nullptr ? std::strerror(errno) : "";
  if (file != nullptr) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(depth);
    image.format = PNG_FORMAT_RGB;
    image.flags = PNG_IMAGE_FLAG_FAST;
    const bool written = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
      why = !written ? image.message : std::strerror(errno);
      std::filesystem::remove(path, ec);  // no half picture left behind
    }
  }
  if (why.empty()) {
    std::fprintf(stderr, "nova-gunner: screenshot %s\n", path.c_str());
  } else {
    std::fprintf(stderr, "nova-gunner: no screenshot: cannot write in %s: %s\n", folder.c_str(),
                 why.c_str());
  }
}

}  // namespace Graph::detail
