// A growing little-endian byte buffer for building scenery files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sceneryfab/model.h"

namespace tarnvale::fab {

using Bytes = std::vector<std::uint8_t>;

class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(Bytes bytes) : bytes_(std::move(bytes)) {}

  // Appending at the end.
  ByteBuffer& U8(std::uint8_t value);
  ByteBuffer& U16(std::uint16_t value);
  ByteBuffer& U32(std::uint32_t value);
  ByteBuffer& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
  ByteBuffer& F32(Single value) { return U32(value.Bits()); }
  // `text` cut or NUL-padded to exactly `width` bytes.
  ByteBuffer& Chars(std::string_view text, std::size_t width);
  // `text` as it stands, no terminator.
  ByteBuffer& Text(std::string_view text);
  ByteBuffer& Append(std::span<const std::uint8_t> bytes);
  ByteBuffer& Zeros(std::size_t count);

  // Overwriting at `offset`; the buffer grows (zero-filled) when needed.
  void PutU8(std::size_t offset, std::uint8_t value);
  void PutU16(std::size_t offset, std::uint16_t value);
  void PutU32(std::size_t offset, std::uint32_t value);

  void Reserve(std::size_t size) { bytes_.reserve(size); }
  std::size_t Size() const { return bytes_.size(); }
  const Bytes& View() const { return bytes_; }
  Bytes Take() { return std::move(bytes_); }

 private:
  void Put(std::size_t offset, std::uint64_t value, std::size_t width);

  Bytes bytes_;
};

// Little-endian stores into a plain byte vector, growing it when needed.
void PutU8(Bytes& bytes, std::size_t offset, std::uint8_t value);
void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value);
void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value);

}  // namespace tarnvale::fab
