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

void StartProgress(RunView& view, std::size_t steps) {
  view.SetProgressRange(0, static_cast<std::int32_t>(steps + 2));
  view.SetProgressStep(1);
  view.SetProgressPosition(0);
}

// Copies the ILS frequency into each end of the runway that names the ILS,
// when the ILS is near enough to the runway's centre.
void BindIlsToRunway(RunwayRecord& runway, const IlsRecord& ils) {
  const std::string_view ident = TextOf(ils.Ident);
  if (ident.empty()) return;
  const std::int32_t distance = GreatCircleDistanceNm(
      LatitudeUnitsToDegrees(ils.Latitude), LongitudeUnitsToDegrees(ils.Longitude),
      LatitudeUnitsToDegrees(runway.Latitude), LongitudeUnitsToDegrees(runway.Longitude));
  if (distance >= kBindingRangeNm) return;
  if (TextOf(runway.PrimaryIlsIdent) == ident) runway.PrimaryIlsFrequency = ils.Frequency;
  if (TextOf(runway.SecondaryIlsIdent) == ident) runway.SecondaryIlsFrequency = ils.Frequency;
}

bool NamesAnIls(const RunwayRecord& runway) {
  return runway.PrimaryIlsIdent[0] != '\0' || runway.SecondaryIlsIdent[0] != '\0';
}

// Walks every runway that names an ILS and tests it against the ILS indices
// (ascending) that `find_candidates(runway)` yields. The cancel request is tested once per
// airport and before every comparison.
template <typename FindCandidates>
BindResult BindRunways(NavDatabase& db, RunView& view, const CancelFlag& cancel,
                       FindCandidates find_candidates) {
  StartProgress(view, db.Airports.size());
  for (AirportRecord& airport : db.Airports) {
    if (cancel) return BindResult::Cancelled;
    for (RunwayRecord& runway : airport.Runways) {
      if (!NamesAnIls(runway)) continue;  // no ILS can bind to it
      for (const std::size_t index : find_candidates(runway)) {
        if (cancel) return BindResult::Cancelled;
        BindIlsToRunway(runway, db.Ilss[index]);
      }
    }
    view.StepProgress();
  }
  return BindResult::Done;
}

// Gives the points of airways [from, to) the position of their fix, stepping
// `view` (when given) after each airway. False when cancelled.
bool BindAirwayRange(RecordArray<AirwayRecord>& airways, std::size_t from, std::size_t to,
                     const NavDatabase& db, const CancelFlag& cancel, RunView* view) {
  for (std::size_t a = from; a < to; ++a) {
    for (AirwayPointRecord& point : airways[a].Points) {
      if (cancel) return false;
      if (const FixRecord* fix = db.FindFix(point.FixKey)) {
        point.Latitude = fix->Latitude;
        point.Longitude = fix->Longitude;
      }
    }
    if (view) view->StepProgress();
  }
  return true;
}

// A world holds tens of thousands of airways, whose lookups wait on memory
// all over the intersection index. From this many airways on, a helper
// thread binds the second half while this thread binds the first and
// reports progress; each airway's points are written by one thread only.
constexpr std::size_t kAirwaysForTwoThreads = 8192;

BindResult BindFixesToAirways(RecordArray<AirwayRecord>& airways, const NavDatabase& db,
                              RunView& view, const CancelFlag& cancel) {
  StartProgress(view, airways.size());
  std::size_t split = airways.size() >= kAirwaysForTwoThreads ? airways.size() / 2 : airways.size();
  bool second_half_done = true;
  std::thread helper;
  if (split < airways.size()) {
    try {
      helper = std::thread([&] {
        second_half_done = BindAirwayRange(airways, split, airways.size(), db, cancel, nullptr);
      });
    } catch (const std::system_error&) {
      split = airways.size();  // no thread to be had: bind everything here
    }
  }
  const bool first_half_done = BindAirwayRange(airways, 0, split, db, cancel, &view);
  if (helper.joinable()) helper.join();
  if (!first_half_done || !second_half_done) return BindResult::Cancelled;
  if (split < airways.size()) view.SetProgressPosition(static_cast<std::int32_t>(airways.size()));
  return BindResult::Done;
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

BindResult BindIlsToRunways(NavDatabase& db, RunView& view, const CancelFlag& cancel,
                            IlsSearch search) {
  if (search == IlsSearch::CrossProduct) {
    std::vector<std::size_t> every_ils(db.Ilss.size());
    std::iota(every_ils.begin(), every_ils.end(), std::size_t{0});
    return BindRunways(db, view, cancel,
                       [&](const RunwayRecord&) -> const std::vector<std::size_t>& {
                         return every_ils;
                       });
  }
  const IlsGrid grid(db.Ilss);
  std::vector<std::size_t> candidates;
  return BindRunways(db, view, cancel,
                     [&](const RunwayRecord& runway) -> const std::vector<std::size_t>& {
                       grid.FindCandidates(runway.Latitude, runway.Longitude, candidates);
                       return candidates;
                     });
}

BindResult BindFixesToJetAirways(NavDatabase& db, RunView& view, const CancelFlag& cancel) {
  return BindFixesToAirways(db.JetAirways, db, view, cancel);
}

BindResult BindFixesToVictorAirways(NavDatabase& db, RunView& view, const CancelFlag& cancel) {
  return BindFixesToAirways(db.VictorAirways, db, view, cancel);
}

}  // namespace tarnvale
