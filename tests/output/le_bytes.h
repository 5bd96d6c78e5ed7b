// Expected file bytes spelled out value by value, independent of the
// encoders under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnvale::testing {

class LeBytes {
 public:
  LeBytes& U8(std::uint8_t value) {
    bytes_ += static_cast<char>(value);
    return *this;
  }
  LeBytes& U16(std::uint16_t value) { return U8(value & 0xFF).U8(value >> 8); }
  LeBytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
  LeBytes& I16(std::int16_t value) { return U16(static_cast<std::uint16_t>(value)); }
  LeBytes& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
  // `text` followed by NULs up to `width` bytes.
  LeBytes& Text(std::string_view text, std::size_t width) {
    bytes_ += text;
    bytes_.append(width - text.size(), '\0');
    return *this;
  }
  LeBytes& Append(const LeBytes& more) {
    bytes_ += more.bytes_;
    return *this;
  }
  const std::string& Str() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

}  // namespace tarnvale::testing
