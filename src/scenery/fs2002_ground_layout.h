// FS2002 airport ground layout: taxiway points, parkings, taxiway paths and
// taxiway names of the current airport.
#pragma once

#include "scenery/fs2002_chunks.h"
#include "scenery/nav_database.h"

namespace tarnvale {

// Decodes the groups of a ground layout chunk (type 0x11001) into the current
// airport. Positions are given in metres east and north of `reference`, the
// airport's reference point in degrees (0, 0 before the airport has one).
// A later group of a kind replaces the earlier one.
void DecodeFs2002GroundLayout(NavDatabase& db, const fs2002::Chunk& layout,
                              const Degrees& reference);

}  // namespace tarnvale
