// FS2002 navigation chain: fix lists, victor and jet airway lists and
// further airport lists.
#pragma once

#include <cstddef>

#include "scenery/byte_cursor.h"
#include "scenery/fs2002_chunks.h"
#include "scenery/nav_database.h"
#include "scenery/records.h"

namespace tarnvale {

// Walks the chain from `first_chunk` (a file offset) to a chunk of type 0.
void ReadNavigationChain(NavDatabase& db, const ByteCursor& file, std::size_t first_chunk);

// Appends the fixes of a fix list chunk to `Fixes` and indexes them by key.
// The list ends at its first record of another type or at the chunk's end.
void DecodeFs2002Fixes(NavDatabase& db, const fs2002::Chunk& list);

// Appends the airways of an airway list chunk to `JetAirways` (kind
// RecordKind::JetAirway) or `VictorAirways` (RecordKind::VictorAirway). A point
// joins the last airway of its array, which an earlier chunk or file may have
// created; a point before any airway of that array is dropped.
void DecodeFs2002Airways(NavDatabase& db, const fs2002::Chunk& list, RecordKind kind);

}  // namespace tarnvale
