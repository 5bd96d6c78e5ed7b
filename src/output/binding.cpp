// Binds ILS frequencies to the runway ends that name them and intersection positions to airway
// points, on two threads for a world-sized database.

#include "output/binding.h"

#include <cmath>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

#include "output/ils_grid.h"
#include "scenery/geometry.h"

namespace tarnvale {

namespace {

constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kNmPerRadian = 10800.0 / kPi;
// An ILS binds when it lies less than this many whole miles from the centre.
constexpr std::int32_t kBindingRangeNm = 2;

void StartProgress(ProgressView& view, std::size_t steps) {
  view.SetProgressRange(0, static_cast<std::int32_t>(steps + 2));
  view.SetProgressStep(1);
  view.SetProgressPosition(0);
}

// Whether the ILS has an ident and lies near enough to the runway's centre
// to bind to an end that names it.
bool InBindingRange(const RunwayRecord& runway, const IlsRecord& ils) {
  if (ils.Ident[0] == '\0') return false;
  const std::int32_t distance = GreatCircleDistanceNm(
      LatitudeUnitsToDegrees(ils.Latitude), LongitudeUnitsToDegrees(ils.Longitude),
      LatitudeUnitsToDegrees(runway.Latitude), LongitudeUnitsToDegrees(runway.Longitude));
  return distance < kBindingRangeNm;
}

bool EndNames(const RunwayRecord& runway, bool primary, const IlsRecord& ils) {
  return TextOf(primary ? runway.PrimaryIlsIdent : runway.SecondaryIlsIdent) == TextOf(ils.Ident);
}

// Copies the ILS frequency into each end of the runway that names the ILS,
// when the ILS is near enough to the runway's centre.
void BindIlsToRunway(RunwayRecord& runway, const IlsRecord& ils) {
  if (!InBindingRange(runway, ils)) return;
  if (EndNames(runway, true, ils)) runway.PrimaryIlsFrequency = ils.Frequency;
  if (EndNames(runway, false, ils)) runway.SecondaryIlsFrequency = ils.Frequency;
}

bool NamesAnIls(const RunwayRecord& runway) {
  return runway.PrimaryIlsIdent[0] != '\0' || runway.SecondaryIlsIdent[0] != '\0';
}

// A world holds tens of thousands of airports and airways, and binding them
// mostly waits on memory. From this many items on, a helper thread binds the
// second half while this thread binds the first half and reports progress;
// each item is written by one thread only.
constexpr std::size_t kItemsForTwoThreads = 8192;

// Runs `bind_range(from, to, view)` over the items [0, count), on two
// threads from kItemsForTwoThreads items on; the helper's half gets no view,
// and the position moves to the end once both are done. `bind_range`
// returns false when cancelled.
template <typename BindRange>
BindResult BindInTwoHalves(std::size_t count, ProgressView& view, BindRange bind_range) {
  static_assert(kBindingThreads == 2);
  std::size_t split = count >= kItemsForTwoThreads ? count / 2 : count;
  bool second_half_done = true;
  std::thread helper;
  if (split < count) {
    try {
      helper = std::thread([&] { second_half_done = bind_range(split, count, nullptr); });
    } catch (const std::system_error&) {
      split = count;  // no thread to be had: bind everything here
    }
  }
  const bool first_half_done = bind_range(0, split, &view);
  if (helper.joinable()) helper.join();
  if (!first_half_done || !second_half_done) return BindResult::Cancelled;
  if (split < count) view.SetProgressPosition(static_cast<std::int32_t>(count));
  return BindResult::Done;
}

// Tests every runway that names an ILS, in airports [from, to), against the
// ILS indices (ascending) that `find_candidates(runway, buffer)` yields,
// stepping `view` (when given) after each airport. The cancel request is
// tested once per airport and before every comparison. False when
// cancelled.
template <typename FindCandidates>
bool BindAirportRange(NavDatabase& db, std::size_t from, std::size_t to, const CancelFlag& cancel,
                      ProgressView* view, FindCandidates find_candidates) {
  std::vector<std::size_t> buffer;
  for (std::size_t a = from; a < to; ++a) {
    if (cancel) return false;
    for (RunwayRecord& runway : db.Airports[a].Runways) {
      if (!NamesAnIls(runway)) continue;  // no ILS can bind to it
      for (const std::size_t index : find_candidates(runway, buffer)) {
        if (cancel) return false;
        BindIlsToRunway(runway, db.Ilss[index]);
      }
    }
    if (view) view->StepProgress();
  }
  return true;
}

template <typename FindCandidates>
BindResult BindRunways(NavDatabase& db, ProgressView& view, const CancelFlag& cancel,
                       FindCandidates find_candidates) {
  StartProgress(view, db.Airports.size());
  return BindInTwoHalves(db.Airports.size(), view,
                         [&](std::size_t from, std::size_t to, ProgressView* v) {
                           return BindAirportRange(db, from, to, cancel, v, find_candidates);
                         });
}

// Looks up the fix of each point of `airway` that needs one. False when
// cancelled.
bool BindAirway(AirwayRecord& airway, const NavDatabase& db, const CancelFlag& cancel) {
  for (AirwayPointRecord& point : airway.Points) {
    if (cancel) return false;
    if (db.PointNeedsFix(point)) db.PlaceAtFix(point);
  }
  return true;
}

// Gives the points of airways [from, to) the position of their fix, stepping
// `view` (when given) after each airway. When no point needs a fix, the
// airways are only counted off. False when cancelled.
bool BindAirwayRange(RecordArray<AirwayRecord>& airways, std::size_t from, std::size_t to,
                     const NavDatabase& db, const CancelFlag& cancel, ProgressView* view) {
  const bool lookups = db.AnyPointNeedsFix();
  for (std::size_t a = from; a < to; ++a) {
    const bool bound = lookups ? BindAirway(airways[a], db, cancel) : !cancel;
    if (!bound) return false;
    if (view) view->StepProgress();
  }
  return true;
}

BindResult BindFixesToAirways(RecordArray<AirwayRecord>& airways, const NavDatabase& db,
                              ProgressView& view, const CancelFlag& cancel) {
  StartProgress(view, airways.size());
  return BindInTwoHalves(airways.size(), view,
                         [&](std::size_t from, std::size_t to, ProgressView* v) {
                           return BindAirwayRange(airways, from, to, db, cancel, v);
                         });
}

}  // namespace

std::int32_t GreatCircleDistanceNm(double latitude1, double longitude1, double latitude2,
                                   double longitude2) {
  const double phi1 = latitude1 * kRadiansPerDegree;
  const double lambda1 = longitude1 * kRadiansPerDegree;
  const double phi2 = latitude2 * kRadiansPerDegree;
  const double lambda2 = longitude2 * kRadiansPerDegree;
  const double c = std::sin(phi1) * std::sin(phi2) +
                   std::cos(phi1) * std::cos(phi2) * std::cos(lambda1 - lambda2);
  // Rounding can push c just past 1 for coinciding points (distance 0) or
  // past -1 for opposite points (half the globe): clamp instead of taking
  // the arc cosine of a value outside its domain. The result lies in
  // 0..10800, well inside the 16-bit range the distance is compared in.
  return static_cast<std::int32_t>(ClampedAcos(c) * kNmPerRadian);
}

BindResult BindIlsToRunways(NavDatabase& db, ProgressView& view, const CancelFlag& cancel,
                            IlsSearch search) {
  if (search == IlsSearch::CrossProduct) {
    std::vector<std::size_t> every_ils(db.Ilss.size());
    std::iota(every_ils.begin(), every_ils.end(), std::size_t{0});
    return BindRunways(
        db, view, cancel,
        [&](const RunwayRecord&, std::vector<std::size_t>&) -> const std::vector<std::size_t>& {
          return every_ils;
        });
  }
  const IlsGrid grid(db.Ilss);
  return BindRunways(db, view, cancel,
                     [&](const RunwayRecord& runway,
                         std::vector<std::size_t>& buffer) -> const std::vector<std::size_t>& {
                       grid.FindCandidates(runway.Latitude, runway.Longitude, buffer);
                       return buffer;
                     });
}

std::vector<IlsTie> RunwayEndsOfIls(const NavDatabase& db, std::size_t ils) {
  std::vector<IlsTie> ties;
  const IlsRecord& transmitter = db.Ilss.at(ils);
  for (std::size_t a = 0; a < db.Airports.size(); ++a) {
    const RecordArray<RunwayRecord>& runways = db.Airports[a].Runways;
    for (std::size_t r = 0; r < runways.size(); ++r) {
      if (!InBindingRange(runways[r], transmitter)) continue;
      for (const bool primary : {true, false}) {
        if (!EndNames(runways[r], primary, transmitter)) continue;
        std::size_t decider = ils;
        for (std::size_t later = ils + 1; later < db.Ilss.size(); ++later) {
          const IlsRecord& other = db.Ilss[later];
          if (EndNames(runways[r], primary, other) && InBindingRange(runways[r], other)) {
            decider = later;
          }
        }
        ties.push_back({{a, r, primary}, decider});
      }
    }
  }
  return ties;
}

BindResult BindFixesToJetAirways(NavDatabase& db, ProgressView& view, const CancelFlag& cancel) {
  return BindFixesToAirways(db.JetAirways, db, view, cancel);
}

BindResult BindFixesToVictorAirways(NavDatabase& db, ProgressView& view, const CancelFlag& cancel) {
  return BindFixesToAirways(db.VictorAirways, db, view, cancel);
}

}  // namespace tarnvale
