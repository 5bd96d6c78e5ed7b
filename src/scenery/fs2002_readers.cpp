// The three FS2002 file layouts told apart by their header words, each read with running out of
// memory kept for the caller.

#include "scenery/fs2002_readers.h"

#include <new>

#include "scenery/fs2002_airports.h"
#include "scenery/fs2002_navigation.h"

namespace tarnvale {

namespace {

constexpr std::uint32_t kFacilityVersion = 1;

using Reader = void (*)(NavDatabase&, const ByteCursor&);

Fs2002Result ReadGuarded(Reader read, NavDatabase& db, const ByteCursor& file) {
  try {
    read(db, file);
    return Fs2002Result::Done;
  } catch (const std::bad_alloc&) {
    return Fs2002Result::OutOfMemory;
  }
}

}  // namespace

Fs2002Result ReadFs2002VorSection(NavDatabase& db, const ByteCursor& file) {
  return ReadGuarded(fs2002::ReadVorSection, db, file);
}

Fs2002Result ReadFs2002NdbSection(NavDatabase& db, const ByteCursor& file) {
  return ReadGuarded(fs2002::ReadNdbSection, db, file);
}

Fs2002Result ReadFs2002FacilityData(NavDatabase& db, const ByteCursor& file) {
  return ReadGuarded(fs2002::ReadFacilityData, db, file);
}

namespace fs2002 {

// Words past the end of a short file read as 0, which names no layout.
void ReadFile(NavDatabase& db, const ByteCursor& file) {
  if (file.U32(kVorSectionField) != 0) return ReadVorSection(db, file);
  if (file.U32(kNdbSectionField) != 0) return ReadNdbSection(db, file);
  if (file.U32(kFacilityMarkField) == kFacilityMark) ReadFacilityData(db, file);
}

void ReadFacilityData(NavDatabase& db, const ByteCursor& file) {
  if (file.U32(kFacilityVersionField) != kFacilityVersion) return;
  const std::uint32_t airport_chain = file.U32(kAirportChainField);
  if (airport_chain != 0) ReadAirportChain(db, file, airport_chain);
  const std::uint32_t navigation_chain = file.U32(kNavigationChainField);
  if (navigation_chain != 0) ReadNavigationChain(db, file, navigation_chain);
}

}  // namespace fs2002

}  // namespace tarnvale
