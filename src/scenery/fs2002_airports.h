// FS2002 airports: the airport chain, airport lists and the decoding of one
// airport with its runways, frequencies and marker beacons.
//
// Chunks too short for the fields they should hold are stepped over; an
// append that finds no memory throws std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scenery/byte_cursor.h"
#include "scenery/fs2002_chunks.h"
#include "scenery/nav_database.h"

namespace tarnvale {

namespace fs2002 {
inline constexpr std::uint32_t kAirportListChunk = 0x30001;
}  // namespace fs2002

// Walks the chain of chunks from `first_chunk` (a file offset) to a chunk of
// type 0, reading every airport list chunk it holds.
void ReadAirportChain(NavDatabase& db, const ByteCursor& file, std::size_t first_chunk);

// Decodes the airports of one airport list chunk. Its entries are read up to
// the entry count and never past the end of the list chunk.
void ReadAirportList(NavDatabase& db, const ByteCursor& file, const fs2002::Chunk& list);

// Appends one airport named by the first `name_length` bytes behind the
// entry's 16-byte head and decodes the chunks of its data block, which
// starts at the file offset `data_block`.
void DecodeFs2002Airport(NavDatabase& db, const ByteCursor& file, std::uint16_t name_length,
                         const fs2002::Chunk& entry, std::size_t data_block);

// Appends the runway of a runway chunk to the current airport and applies the
// unbroken run of sub-chunks behind it. Returns the offset of the first chunk
// behind that run.
std::size_t DecodeFs2002Runway(NavDatabase& db, const ByteCursor& file,
                               const fs2002::Chunk& runway);

// Appends the marker beacon of a sub-object chunk of kind 7; a marker of an
// unknown kind adds nothing.
void DecodeFs2002Marker(NavDatabase& db, const ByteCursor& sub_chunk);

}  // namespace tarnvale
