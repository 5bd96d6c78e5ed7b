// Little-endian encoding of database records, field by field in file order.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "output/record_layouts.h"

namespace tarnvale {

// A layout visitor that stores each field's bytes at its cursor and moves
// past them. The caller gives it room for the whole record: a record is
// sized once and then written without a check per field.
class LittleEndianEncoder {
 public:
  explicit LittleEndianEncoder(char* out) : out_(out) {}

  template <std::integral T>
  void Field(std::string_view, T value) {
    // Composed in a local array and stored at once: a byte stored through
    // out_ might alias out_ itself, so the compiler would reload it after
    // every byte.
    const auto bits = static_cast<std::make_unsigned_t<T>>(value);
    unsigned char bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
      bytes[i] = static_cast<unsigned char>((bits >> (8 * i)) & 0xFFu);
    std::memcpy(out_, bytes, sizeof(T));
    out_ += sizeof(T);
  }
  template <std::size_t N>
  void Field(std::string_view, const FixedText<N>& text) {
    std::memcpy(out_, text.data(), N);
    out_ += N;
  }
  // The length, then exactly that many bytes of the text block; a block
  // shorter than its length is made up with NULs.
  void Text(std::string_view, std::string_view, std::uint16_t length, const std::string& text) {
    Field({}, length);
    const std::size_t stored = text.size() < length ? text.size() : length;
    std::memcpy(out_, text.data(), stored);
    std::memset(out_ + stored, 0, length - stored);
    out_ += length;
  }
  template <typename E>
  void Count(std::string_view, const RecordArray<E>& elements) {
    Field({}, static_cast<std::uint32_t>(elements.size()));
  }
  template <typename E>
  void Elements(std::string_view, const RecordArray<E>& elements) {
    for (const E& element : elements) VisitLayout(element, *this);
  }

 private:
  char* out_;
};

// Appends the file bytes of `record` to `out`.
template <typename Record>
void EncodeRecord(const Record& record, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + FileRecordSize(record));
  LittleEndianEncoder encoder(out.data() + start);
  VisitLayout(record, encoder);
}

}  // namespace tarnvale
