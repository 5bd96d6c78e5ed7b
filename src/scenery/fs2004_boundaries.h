// FS2004 airspace boundaries (section type 32) to airspaces: class, bounding
// box and its centre, altitude limits, name, and the outline as the file
// gives it (lines, arc centres and ends, circle centres and radii).
#pragma once

#include "scenery/byte_cursor.h"
#include "scenery/fs2004_records.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// One boundary record; a boundary type without an airspace class adds
// nothing.
void DecodeBoundary(NavDatabase& db, const ByteCursor& record);

}  // namespace tarnvale
