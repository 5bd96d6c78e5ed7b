// Entry points of the three FS2002 file layouts, chosen by the loader from
// the header words at offsets 18, 78 and 118. Each returns kFs2002Done, also
// for files it cannot make sense of, and kFs2002OutOfMemory (1) only when
// memory ran out; records appended before that stay in the database.
#pragma once

#include "scenery/byte_cursor.h"
#include "scenery/nav_database.h"

namespace tarnvale {

inline constexpr int kFs2002Done = 0;
inline constexpr int kFs2002OutOfMemory = 1;

// First layout: VOR and ILS transmitters filed by frequency channel.
int ReadFs2002VorSection(NavDatabase& db, const ByteCursor& file);
// Second layout: NDBs.
int ReadFs2002NdbSection(NavDatabase& db, const ByteCursor& file);
// Third layout: airports and the navigation chain of fixes and airways.
int ReadFs2002FacilityData(NavDatabase& db, const ByteCursor& file);

}  // namespace tarnvale
