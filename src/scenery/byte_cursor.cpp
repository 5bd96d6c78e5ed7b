// The byte cursor's windows from an offset, and its texts of fixed length.

#include "scenery/byte_cursor.h"

namespace tarnvale {

ByteCursor ByteCursor::From(std::size_t offset) const {
  return Slice(offset, offset <= bytes_.size() ? bytes_.size() - offset : 0);
}

std::string_view ByteCursor::Chars(std::size_t offset, std::size_t count) const {
  if (!Contains(offset, count)) {
    overrun_ = true;
    return {};
  }
  BringIn(offset, count);
  return {reinterpret_cast<const char*>(bytes_.data() + offset), count};
}

}  // namespace tarnvale
