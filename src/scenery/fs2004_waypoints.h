// FS2004 waypoints (section type 34): each becomes a fix, and each airway
// route through it one short airway segment of previous, this and next
// waypoint.
#pragma once

#include <cstdint>

#include "scenery/byte_cursor.h"
#include "scenery/fs2004_records.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// The FixKey of a waypoint: its region text followed by its ident text,
// blanks trimmed. Binding finds an airway point's fix by this same text.
FixedText<9> PointKey(std::uint32_t ident_word, std::uint32_t region_word);

void DecodeWaypoint(NavDatabase& db, const ByteCursor& record);

}  // namespace tarnvale
