// Little-endian values appended to, or put at an offset into, the bytes of a scenery file being
// built.

#include "sceneryfab/byte_buffer.h"

namespace tarnvale::fab {

namespace {

void PutLittleEndian(Bytes& bytes, std::size_t offset, std::uint64_t value, std::size_t width) {
  if (bytes.size() < offset + width) bytes.resize(offset + width, 0);
  for (std::size_t i = 0; i < width; ++i) {
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace

ByteBuffer& ByteBuffer::U8(std::uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

ByteBuffer& ByteBuffer::U16(std::uint16_t value) {
  Put(bytes_.size(), value, 2);
  return *this;
}

ByteBuffer& ByteBuffer::U32(std::uint32_t value) {
  Put(bytes_.size(), value, 4);
  return *this;
}

ByteBuffer& ByteBuffer::Chars(std::string_view text, std::size_t width) {
  const std::size_t kept = text.size() < width ? text.size() : width;
  Text(text.substr(0, kept));
  return Zeros(width - kept);
}

ByteBuffer& ByteBuffer::Text(std::string_view text) {
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

ByteBuffer& ByteBuffer::Append(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

ByteBuffer& ByteBuffer::Zeros(std::size_t count) {
  bytes_.resize(bytes_.size() + count, 0);
  return *this;
}

void ByteBuffer::PutU8(std::size_t offset, std::uint8_t value) { Put(offset, value, 1); }
void ByteBuffer::PutU16(std::size_t offset, std::uint16_t value) { Put(offset, value, 2); }
void ByteBuffer::PutU32(std::size_t offset, std::uint32_t value) { Put(offset, value, 4); }

void ByteBuffer::Put(std::size_t offset, std::uint64_t value, std::size_t width) {
  PutLittleEndian(bytes_, offset, value, width);
}

void PutU8(Bytes& bytes, std::size_t offset, std::uint8_t value) {
  PutLittleEndian(bytes, offset, value, 1);
}
void PutU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  PutLittleEndian(bytes, offset, value, 2);
}
void PutU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  PutLittleEndian(bytes, offset, value, 4);
}

}  // namespace tarnvale::fab
