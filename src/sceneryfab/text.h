// Small text helpers of the scenery builder.
#pragma once

#include <cctype>
#include <cstddef>
#include <string>

namespace tarnvale::fab {

// `value` in decimal with leading zeros up to `width` digits.
inline std::string ZeroPadded(std::size_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

inline std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace tarnvale::fab
