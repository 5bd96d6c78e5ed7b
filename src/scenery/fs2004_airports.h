// FS2004 airports (section type 3) with their runways, helipads, COM
// frequencies, names and ground layouts, and refuelling triggers among the
// scenery objects (section type 37).
#pragma once

#include "scenery/byte_cursor.h"
#include "scenery/fs2004_records.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// One airport record. An airport whose ident was read before (from this or
// an earlier file) is skipped whole: the first one read wins.
void DecodeAirport(NavDatabase& db, const ByteCursor& record);

// One runway sub-record, appended to the current airport.
void DecodeRunway(NavDatabase& db, const ByteCursor& runway);

// One scenery-object record; only refuelling triggers add a fuel area.
void DecodeFuelTrigger(NavDatabase& db, const ByteCursor& record);

}  // namespace tarnvale
