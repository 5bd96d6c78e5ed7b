// The view of one scenery file's bytes that the loader and the FS2004 walk
// share, whether the file is in memory or read from disk on request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "scenery/byte_cursor.h"

namespace tarnvale {

// The bytes of one scenery file as the loader walks it: a window of the
// file's full size whose parts are brought in on request. Only bytes brought
// in can be read: every cursor it hands out either covers a range brought
// in or brings in what each read reaches.
class BglBytes : public ByteSource {
 public:
  explicit BglBytes(std::span<const std::uint8_t> bytes) : file_(bytes) {}
  virtual ~BglBytes() = default;
  BglBytes(const BglBytes&) = delete;
  BglBytes& operator=(const BglBytes&) = delete;

  std::size_t Size() const { return file_.Size(); }
  // [offset, offset + count) of the file, brought in; an empty cursor marked
  // overrun, bringing in nothing, when that range is not inside the file.
  ByteCursor Bring(std::size_t offset, std::size_t count) {
    if (file_.Contains(offset, count)) Require(offset, count);
    return file_.Slice(offset, count);
  }
  // The file as a cursor that brings in the bytes of each read itself.
  ByteCursor OnDemand() { return ByteCursor(file_.Bytes(), *this); }

 private:
  ByteCursor file_;
};

}  // namespace tarnvale
