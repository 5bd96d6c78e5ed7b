// Entry points of the three FS2002 file layouts, chosen by the loader from
// the header words at offsets 18, 78 and 118. Each returns 0 on success and
// 1 when memory ran out.
#pragma once

#include "scenery/byte_cursor.h"
#include "scenery/nav_database.h"

namespace tarnvale {

int ReadFs2002VorSection(NavDatabase& db, const ByteCursor& file);
int ReadFs2002NdbSection(NavDatabase& db, const ByteCursor& file);
int ReadFs2002FacilityData(NavDatabase& db, const ByteCursor& file);

}  // namespace tarnvale
