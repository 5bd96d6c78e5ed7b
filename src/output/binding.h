// Binding: completes runway ends with their ILS frequency and airway points
// with their intersection's position, after loading and before writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "domain/progress.h"
#include "scenery/nav_database.h"

namespace tarnvale {

enum class BindResult { Done, Cancelled };

// Threads that bind a world-sized database: each step splits its items in
// two halves from a few thousand items on.
inline constexpr unsigned kBindingThreads = 2;

// How BindIlsToRunways finds the ILS worth testing against a runway. Both
// give the same result on every database; the cross product compares every
// runway with every ILS and is kept as the reference for tests and benchmarks.
enum class IlsSearch { SpatialIndex, CrossProduct };

// Each step sets its own progress range on `view` and tests `cancel` at its
// check points; on Cancelled the caller takes the run's cancel ending.
//
// A runway end receives the frequency of every ILS less than 2 NM from the
// runway's centre whose ident equals the end's ILS ident (letter case
// significant); the last such ILS in `Ilss` order decides. An ILS without an
// ident binds to nothing.
[[nodiscard]] BindResult BindIlsToRunways(NavDatabase& db, ProgressView& view,
                                          const CancelFlag& cancel,
                                          IlsSearch search = IlsSearch::SpatialIndex);
// Each airway point whose FixKey is in the fix index (exact, case-sensitive)
// takes the position of that fix.
[[nodiscard]] BindResult BindFixesToJetAirways(NavDatabase& db, ProgressView& view,
                                               const CancelFlag& cancel);
[[nodiscard]] BindResult BindFixesToVictorAirways(NavDatabase& db, ProgressView& view,
                                                  const CancelFlag& cancel);

// One end of a runway: of `Airports[airport].Runways[runway]`.
struct RunwayEnd {
  std::size_t airport = 0;
  std::size_t runway = 0;
  bool primary = true;
};

// A runway end that an ILS binds to, and the ILS (position in `Ilss`) that
// gives it its frequency: the last one that binds to it.
struct IlsTie {
  RunwayEnd end;
  std::size_t decided_by = 0;
};

// The runway ends that ILS `ils` (position in `Ilss`) binds to by the rule
// of BindIlsToRunways, in airport and runway order. For `tarnvale-cli
// explain`: it walks every runway.
std::vector<IlsTie> RunwayEndsOfIls(const NavDatabase& db, std::size_t ils);

// Great-circle distance between two points given in degrees, in whole
// nautical miles (one per minute of arc), by the spherical law of cosines.
std::int32_t GreatCircleDistanceNm(double latitude1, double longitude1, double latitude2,
                                   double longitude2);

}  // namespace tarnvale
