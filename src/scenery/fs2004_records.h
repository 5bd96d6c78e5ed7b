// What every FS2004 record decoder shares: the record header, the walk over
// sub-records, names and positions.
//
// FS2004 records and sub-records start with a u16 id and a size (bytes,
// header included) at offset 2. Decoders see one record through a
// ByteCursor window that holds exactly that record, so nothing they read can
// reach into the next record or outside the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "scenery/byte_cursor.h"
#include "scenery/geometry.h"
#include "scenery/nav_database.h"

namespace tarnvale {

inline constexpr std::size_t kRecordHeaderSize = 6;

// Width of a record's size word: u32 for most records, u16 for scenery
// objects (their longitude starts at offset 4).
enum class SizeWord { U32, U16 };

std::uint32_t RecordSize(const ByteCursor& bytes, std::size_t position, SizeWord width);

// The window of the record at `position`: present when its header lies
// inside `bytes`, its size covers the 6-byte header and the whole record
// lies inside `bytes`.
std::optional<ByteCursor> RecordAt(const ByteCursor& bytes, std::size_t position,
                                   SizeWord width = SizeWord::U32);

// Calls `visit(id, sub_record)` for each sub-record of `record` from offset
// `first`, in file order, while the next sub-record is a well-formed record
// inside `record`.
template <typename Visit>
void ForEachSubRecord(const ByteCursor& record, std::size_t first, Visit&& visit) {
  std::size_t position = first;
  while (const std::optional<ByteCursor> sub = RecordAt(record, position)) {
    visit(sub->U16(0), *sub);
    position += sub->Size();
  }
}

// The characters of a name sub-record (offset 6 to its end) as a text block
// of `length` = characters + 1 bytes, copying stopped at a NUL and the rest
// zero. A sub-record of size 6 gives no name (length 0, empty block).
void ReadNameSubRecord(NavDatabase& db, const ByteCursor& sub, std::uint16_t& length,
                       std::string& name);

// Raw FS2004 position words at the given offsets, in degrees.
Degrees ReadDegrees(const ByteCursor& bytes, std::size_t longitude_offset,
                    std::size_t latitude_offset);

// Degrees in database units.
GeoPoint ToUnits(const Degrees& degrees);
// Raw FS2004 position words at the given offsets, in database units.
GeoPoint ReadPosition(const ByteCursor& bytes, std::size_t longitude_offset,
                      std::size_t latitude_offset);
// Raw FS2004 altitude word (millimetres) at `offset`, in whole feet.
std::int32_t ReadAltitudeFeet(const ByteCursor& bytes, std::size_t offset);

}  // namespace tarnvale
