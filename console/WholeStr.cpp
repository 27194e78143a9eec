#include "console/WholeStr.h"

namespace WholeStr {

void CardToStr(std::uint32_t value, std::span<char> text) {
  char digits[10];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  std::size_t i = 0;
  for (; i < n && i < text.size(); ++i) text[i] = digits[n - 1 - i];
  if (i < text.size()) text[i] = '\0';
}

}  // namespace WholeStr
