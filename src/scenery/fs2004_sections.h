// The walk over an FS2004 file: header, section table, subsection tables,
// records, and the record pointer list of boundary sections, handing each
// record of a navigation section to its decoder.
#pragma once

#include "scenery/bgl_loader.h"
#include "scenery/fs2004_records.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// Decodes every navigation record of the FS2004 file in `bytes`. A file
// without the 0x1992 magic word or without sections adds nothing; malformed
// tables and records are skipped. An append that finds no memory throws
// std::bad_alloc.
void ReadFs2004File(NavDatabase& db, BglBytes& bytes);

}  // namespace tarnvale
