#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace installer::testing {

// The UTF-16LE bytes of `text`, two per unit, low byte first; `bom` puts FF FE in front.
inline std::vector<std::uint8_t> Le(const std::u16string& text, bool bom = true) {
  std::vector<std::uint8_t> bytes;
  if (bom) bytes = {0xFF, 0xFE};
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

inline std::u16string Repeat(char16_t unit, std::size_t count) {
  return std::u16string(count, unit);
}

}  // namespace installer::testing
