#include "console/Strings.h"

#include <algorithm>

namespace Strings {

void Assign(std::string_view source, std::span<char> destination) {
  std::size_t len = source.find('\0');
  if (len == std::string_view::npos) len = source.size();
  const std::size_t n = std::min(len, destination.size());
  std::copy_n(source.data(), n, destination.data());
  if (n < destination.size()) destination[n] = '\0';
}

}  // namespace Strings
