// The walk over an FS2004 file: header, section table, subsection tables,
// records, and the record pointer list of boundary sections, handing each
// record of a navigation section to its decoder.
#pragma once

#include "scenery/bgl_bytes.h"
#include "scenery/fs2004_records.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// The FS2004 header as far as the walk reads it: the magic word at offset 2,
// then the section table's offset and, ending at 24, the section count.
inline constexpr std::uint16_t kFs2004Magic = 0x1992;
inline constexpr std::size_t kFs2004HeaderSize = 24;

// Decodes every navigation record of the FS2004 file in `bytes`. A file
// without the 0x1992 magic word or without sections adds nothing; malformed
// tables and records are skipped. An append that finds no memory throws
// std::bad_alloc.
void ReadFs2004File(NavDatabase& db, BglBytes& bytes);

}  // namespace tarnvale
