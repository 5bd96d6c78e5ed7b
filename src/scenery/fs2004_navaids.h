// FS2004 radio navigation aids: VOR and ILS (section type 19), NDB (23) and
// marker beacons (24).
#pragma once

#include "scenery/byte_cursor.h"
#include "scenery/fs2004_records.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// A VOR (types 1 to 3) becomes a navaid, an ILS (type 4) an ILS record for
// binding; other types add nothing.
void DecodeVorIls(NavDatabase& db, const ByteCursor& record);
void DecodeNdb(NavDatabase& db, const ByteCursor& record);
// Markers of types 0 to 3; a marker of any other type adds nothing.
void DecodeMarker(NavDatabase& db, const ByteCursor& record);

}  // namespace tarnvale
