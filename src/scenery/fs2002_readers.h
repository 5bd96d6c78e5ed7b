// The three FS2002 file layouts, told apart by the words of their header.
//
// The readers append what they decode and let std::bad_alloc pass; files
// they cannot make sense of add nothing. The entry points below catch it and
// return Fs2002Result::OutOfMemory; records appended before that stay in the
// database.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scenery/byte_cursor.h"
#include "scenery/nav_database.h"

namespace tarnvale {

enum class Fs2002Result { Done = 0, OutOfMemory = 1 };

// Entry points of the three layouts; each returns Done or, when memory ran
// out, OutOfMemory.
// First layout: VOR and ILS transmitters filed by frequency channel.
[[nodiscard]] Fs2002Result ReadFs2002VorSection(NavDatabase& db, const ByteCursor& file);
// Second layout: NDBs.
[[nodiscard]] Fs2002Result ReadFs2002NdbSection(NavDatabase& db, const ByteCursor& file);
// Third layout: airports and the navigation chain of fixes and airways.
[[nodiscard]] Fs2002Result ReadFs2002FacilityData(NavDatabase& db, const ByteCursor& file);

namespace fs2002 {

// Header words. A VOR file names its section at 18, an NDB file its section
// at 78; a facility file carries the mark at 118 and its extended header.
inline constexpr std::size_t kVorSectionField = 18;
inline constexpr std::size_t kLowestChannelField = 22;
inline constexpr std::size_t kHighestChannelField = 24;
inline constexpr std::size_t kNdbSectionField = 78;
inline constexpr std::size_t kFacilityMarkField = 118;
inline constexpr std::uint32_t kFacilityMark = 0x87654321;
inline constexpr std::size_t kFacilityVersionField = 144;
inline constexpr std::size_t kAirportChainField = 156;
inline constexpr std::size_t kNavigationChainField = 164;

// Reads the file in the layout its header words name; a file of none of the
// three adds nothing. Lets std::bad_alloc pass.
void ReadFile(NavDatabase& db, const ByteCursor& file);

void ReadVorSection(NavDatabase& db, const ByteCursor& file);
void ReadNdbSection(NavDatabase& db, const ByteCursor& file);
void ReadFacilityData(NavDatabase& db, const ByteCursor& file);

}  // namespace fs2002

}  // namespace tarnvale
