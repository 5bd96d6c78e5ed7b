// Bounds-checked reading of little-endian values from untrusted bytes.
//
// Every read names an offset inside the cursor's window. A read that would
// reach outside the window returns 0 and marks the cursor as overrun instead
// of touching memory it does not own; decoders test `Overrun()` (or check
// `Contains` first) and drop what they read. Sub-windows (`Slice`) never
// reach outside their parent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarnvale {

// Brings bytes into a buffer before they are read, such as the parts of a
// file read on demand. Offsets count from the start of the buffer.
class ByteSource {
 public:
  // Brings in [offset, offset + count). A read inside the range that the
  // source last marked as in costs no call: decoders read field by field.
  void Require(std::size_t offset, std::size_t count) {
    if (offset >= in_begin_ && offset <= in_end_ && count <= in_end_ - offset) return;
    Fetch(offset, count);
  }

 protected:
  ~ByteSource() = default;
  // Brings in what Require asks for outside the range marked as in.
  virtual void Fetch(std::size_t offset, std::size_t count) = 0;
  // Marks [begin, end) as brought in.
  void MarkIn(std::size_t begin, std::size_t end) {
    in_begin_ = begin;
    in_end_ = end;
  }

 private:
  std::size_t in_begin_ = 0;
  std::size_t in_end_ = 0;
};

class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  // A window over the whole buffer of `source`: every read, also through
  // its slices, has `source` bring in the bytes it reads first.
  ByteCursor(std::span<const std::uint8_t> bytes, ByteSource& source)
      : bytes_(bytes), source_(&source) {}

  std::size_t Size() const { return bytes_.size(); }
  // The window's bytes as they stand: a source is not asked for them.
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

  // True when [offset, offset + count) lies inside the window (no overflow).
  bool Contains(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  // The window [offset, offset + count), or an empty cursor marked overrun
  // when that range is not inside this one.
  ByteCursor Slice(std::size_t offset, std::size_t count) const {
    if (!Contains(offset, count)) [[unlikely]] {
      overrun_ = true;
      ByteCursor empty;
      empty.overrun_ = true;
      return empty;
    }
    ByteCursor slice(bytes_.subspan(offset, count));
    slice.source_ = source_;
    slice.origin_ = origin_ + offset;
    return slice;
  }
  // The window from `offset` to the end (empty and overrun past the end).
  ByteCursor From(std::size_t offset) const;

  std::uint8_t U8(std::size_t offset) const { return Read<std::uint8_t>(offset); }
  std::uint16_t U16(std::size_t offset) const { return Read<std::uint16_t>(offset); }
  std::uint32_t U32(std::size_t offset) const { return Read<std::uint32_t>(offset); }
  std::int8_t I8(std::size_t offset) const { return static_cast<std::int8_t>(U8(offset)); }
  std::int16_t I16(std::size_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

  // `count` bytes at `offset` as characters (empty and overrun when outside).
  std::string_view Chars(std::size_t offset, std::size_t count) const;

  // True once any read or slice reached outside the window.
  bool Overrun() const { return overrun_; }

 private:
  // Decoders read millions of fields: the read is inline, and the compiler
  // makes one load of the byte loop.
  template <typename Unsigned>
  Unsigned Read(std::size_t offset) const {
    constexpr std::size_t kWidth = sizeof(Unsigned);
    if (!Contains(offset, kWidth)) [[unlikely]] {
      overrun_ = true;
      return 0;
    }
    BringIn(offset, kWidth);
    Unsigned value = 0;
    for (std::size_t i = 0; i < kWidth; ++i) {
      value = static_cast<Unsigned>(value | (Unsigned{bytes_[offset + i]} << (8 * i)));
    }
    return value;
  }
  // Has the source, if any, bring in [offset, offset + count) of the window.
  void BringIn(std::size_t offset, std::size_t count) const {
    if (source_) [[unlikely]]
      source_->Require(origin_ + offset, count);
  }

  std::span<const std::uint8_t> bytes_;
  ByteSource* source_ = nullptr;
  std::size_t origin_ = 0;  // where the window starts in the source's buffer
  mutable bool overrun_ = false;
};

}  // namespace tarnvale
