#include "scenery/fs2002_readers.h"

#include <cstdint>

#include "scenery/fs2002_airports.h"
#include "scenery/fs2002_chunks.h"
#include "scenery/fs2002_navigation.h"

namespace tarnvale {

namespace {

// Extended header of a facility file.
constexpr std::size_t kFacilityVersionField = 144;
constexpr std::uint32_t kFacilityVersion = 1;
constexpr std::size_t kAirportChainField = 156;
constexpr std::size_t kNavigationChainField = 164;

int ReadFacilityData(NavDatabase& db, const ByteCursor& file) {
  if (file.U32(kFacilityVersionField) != kFacilityVersion) return kFs2002Done;
  const std::uint32_t airport_chain = file.U32(kAirportChainField);
  if (airport_chain != 0 && ReadAirportChain(db, file, airport_chain) != kFs2002Done) {
    return kFs2002OutOfMemory;
  }
  const std::uint32_t navigation_chain = file.U32(kNavigationChainField);
  if (navigation_chain != 0 && ReadNavigationChain(db, file, navigation_chain) != kFs2002Done) {
    return kFs2002OutOfMemory;
  }
  return kFs2002Done;
}

}  // namespace

int ReadFs2002FacilityData(NavDatabase& db, const ByteCursor& file) {
  return fs2002::GuardMemory([&] { return ReadFacilityData(db, file); });
}

}  // namespace tarnvale
