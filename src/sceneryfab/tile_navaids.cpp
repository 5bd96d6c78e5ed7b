// Radio navaids of a tile: ILS with their marker beacons, VORs and NDBs.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "sceneryfab/text.h"
#include "sceneryfab/tile_parts.h"

namespace tarnvale::fab {
namespace {

struct RunwayEndRef {
  double length = 0.0;
  std::size_t airport = 0, runway = 0;
  bool secondary = false;
};

// Every runway end of `airports`, longest runway first, primary end first.
std::vector<RunwayEndRef> EndsByLength(const std::vector<Airport>& airports) {
  std::vector<RunwayEndRef> ends;
  for (std::size_t a = 0; a < airports.size(); ++a) {
    for (std::size_t r = 0; r < airports[a].runways.size(); ++r) {
      const double length = airports[a].runways[r].length_m.Value();
      ends.push_back({length, a, r, false});
      ends.push_back({length - 0.5, a, r, true});
    }
  }
  std::stable_sort(ends.begin(), ends.end(),
                   [](const auto& x, const auto& y) { return x.length > y.length; });
  return ends;
}

std::uint32_t IlsFrequency(Random& random) {
  // Localizers use the odd-tenth channels from 108.10 to 111.95 MHz.
  const auto step = static_cast<std::uint32_t>(random.Below(40));
  return ChannelHz(10810 + (step / 2) * 20 + (step % 2) * 5);
}

// Outer and middle markers on the approach to `threshold`, now and then an
// inner one.
void AddMarkers(Random& random, std::vector<Marker>& markers, const Position& threshold,
                double approach, const Airport& airport) {
  const auto add = [&](MarkerType type, double distance) {
    markers.push_back(Marker{type, "", airport.region, Offset(threshold, approach, -distance),
                             airport.altitude_m, approach});
  };
  add(MarkerType::Outer, 7200.0);
  add(MarkerType::Middle, 1000.0);
  if (random.Chance(0.2)) add(MarkerType::Inner, 300.0);
}

void AddIls(TileContext& tile, SceneryContent& content, const RunwayEndRef& end,
            std::uint64_t number) {
  Airport& airport = content.airports[end.airport];
  Runway& runway = airport.runways[end.runway];
  RunwayEnd& served = end.secondary ? runway.secondary : runway.primary;
  const double approach = WrapHeading(runway.heading_deg.Value() + (end.secondary ? 180.0 : 0.0));
  const double half = runway.length_m.Value() / 2.0;
  Ils ils;
  ils.ident = std::string("I").append(
      tile.Code(CodeKind::Ils, number, 3));  // "I" + ... trips a false GCC 12 warning
  served.ils_ident = ils.ident;
  ils.region = tile.Frame().region;
  ils.name = "ILS RWY " + std::to_string(served.number);
  ils.position = Offset(runway.centre, approach, half + 300.0);  // beyond the far end
  ils.altitude_m = airport.altitude_m;
  ils.frequency_hz = IlsFrequency(tile.Draws());
  ils.range_m = 27.0 * 1852.0;
  ils.heading_deg = approach;
  ils.runway_number = served.number;
  ils.runway_designator = served.designator;
  ils.airport = airport.ident;
  content.ilss.push_back(ils);
  AddMarkers(tile.Draws(), content.markers, Offset(runway.centre, approach, -half), approach,
             airport);
}

}  // namespace

void AddIlss(TileContext& tile, SceneryContent& content) {
  const std::vector<RunwayEndRef> ends = EndsByLength(content.airports);
  const Range share = tile.Share(tile.Plan().ilss);
  for (std::size_t k = 0; k < share.Size() && k < ends.size(); ++k)
    AddIls(tile, content, ends[k], share.first + k);
}

Vor MakeVor(TileContext& tile, std::uint64_t number) {
  static constexpr VorType kTypes[] = {VorType::HighAltitude, VorType::HighAltitude,
                                       VorType::LowAltitude, VorType::Terminal};
  static constexpr double kRangesNm[] = {130.0, 130.0, 40.0, 25.0};
  Random& random = tile.Draws();
  const std::size_t kind = random.Below(std::size(kTypes));
  Vor vor;
  vor.type = kTypes[kind];
  vor.ident = tile.Code(CodeKind::Vor, number, 3);
  vor.region = tile.Frame().region;
  vor.name = Upper(PlaceName(random));
  vor.position = tile.Frame().RandomPoint(random);
  vor.altitude_m = std::floor(random.Between(0.0, 800.0));
  vor.frequency_hz = ChannelHz(11200 + 5 * static_cast<std::uint32_t>(random.Below(120)));
  vor.range_m = kRangesNm[kind] * 1852.0;
  vor.magnetic_variation_deg = std::floor(random.Between(-15.0, 15.0));
  return vor;
}

Ndb MakeNdb(TileContext& tile, std::uint64_t number) {
  static constexpr NdbType kTypes[] = {NdbType::CompassLocator, NdbType::Mh, NdbType::H,
                                       NdbType::Hh};
  static constexpr double kRangesNm[] = {15.0, 25.0, 50.0, 75.0};
  Random& random = tile.Draws();
  const std::size_t kind = random.Below(std::size(kTypes));
  Ndb ndb;
  ndb.type = kTypes[kind];
  ndb.ident = tile.Code(CodeKind::Ndb, number, random.Chance(0.5) ? 2 : 3);
  ndb.region = tile.Frame().region;
  ndb.name = Upper(PlaceName(random));
  ndb.position = tile.Frame().RandomPoint(random);
  ndb.altitude_m = std::floor(random.Between(0.0, 800.0));
  ndb.frequency_hz = 1000u * static_cast<std::uint32_t>(190 + random.Below(346)) +
                     (random.Chance(0.2) ? 500u : 0u);
  ndb.range_m = kRangesNm[kind] * 1852.0;
  return ndb;
}

}  // namespace tarnvale::fab
