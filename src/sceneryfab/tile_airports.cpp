// Airports of a tile: runways, starts, COMs, ground layouts and fuel triggers.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "sceneryfab/tile_parts.h"

namespace tarnvale::fab {
namespace {

// A taxiway "A" beside an airport's main runway with exits "B" to it, and
// an apron row of parkings joined to the taxiway by "C".
class GroundLayout {
 public:
  GroundLayout(Airport& airport, Random& random)
      : airport_(airport),
        random_(random),
        runway_(airport.runways.front()),
        heading_(runway_.heading_deg.Value()),
        length_(runway_.length_m.Value()) {}

  void Build() {
    airport_.taxiway_names = {"A", "B", "C", "APRON"};
    AddApron(AddTaxiway());
  }

 private:
  static constexpr std::uint8_t kNormal = 1, kHoldShort = 2;                   // point types
  static constexpr std::uint8_t kTaxi = 1, kRunwayPath = 2, kParkingPath = 3;  // path types
  static constexpr std::uint8_t kNameA = 0, kNameB = 1, kNameC = 2, kNameApron = 3;

  Position Beside(double along, double across) const {
    return Offset(Offset(runway_.centre, heading_, along), heading_ + 90.0, across);
  }

  std::uint16_t Point(std::uint8_t type, const Position& at) {
    airport_.taxiway_points.push_back(TaxiwayPoint{type, at});
    return static_cast<std::uint16_t>(airport_.taxiway_points.size() - 1);
  }

  void Path(std::uint16_t from, std::uint16_t to, std::uint8_t type, std::uint8_t name) {
    airport_.taxiway_paths.push_back(TaxiwayPath{from, to, type, name, 23.0});
  }

  // Returns the taxiway's middle point, where the apron joins it.
  std::uint16_t AddTaxiway() {
    const std::size_t count =
        std::clamp<std::size_t>(static_cast<std::size_t>(length_ / 250.0), 4, 14);
    std::uint16_t previous = 0, middle = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const double along =
          -length_ / 2.0 + length_ * static_cast<double>(k) / static_cast<double>(count - 1);
      const std::uint16_t at = Point(kNormal, Beside(along, 180.0));
      if (k > 0) Path(previous, at, kTaxi, kNameA);
      if (k == count / 2) middle = at;
      if (k == 0 || k == count / 2 || k + 1 == count) AddExit(at, along);
      previous = at;
    }
    return middle;
  }

  void AddExit(std::uint16_t from, double along) {
    const std::uint16_t hold = Point(kHoldShort, Beside(along, 75.0));
    Path(from, hold, kTaxi, kNameB);
    Path(hold, Point(kNormal, Beside(along, 0.0)), kRunwayPath, kNameB);
  }

  void AddApron(std::uint16_t join) {
    const std::size_t stands = 4 + static_cast<std::size_t>(random_.Below(17));
    std::uint16_t previous = 0;
    for (std::size_t j = 0; j < stands; ++j) {
      const double along = (static_cast<double>(j) - static_cast<double>(stands) / 2.0) * 60.0;
      const std::uint16_t apron = Point(kNormal, Beside(along, 330.0));
      if (j > 0) Path(previous, apron, kTaxi, kNameApron);
      if (j == stands / 2) Path(join, apron, kTaxi, kNameC);
      Path(apron, static_cast<std::uint16_t>(airport_.parkings.size()), kParkingPath, kNameApron);
      airport_.parkings.push_back(MakeParking(Beside(along, 375.0), j));
      previous = apron;
    }
  }

  Parking MakeParking(const Position& at, std::size_t number) {
    Parking parking;
    parking.name_code = static_cast<std::uint8_t>(random_.Below(12));
    parking.type = static_cast<std::uint8_t>(1 + random_.Below(10));
    parking.number = static_cast<std::uint16_t>(number + 1);
    parking.radius_m = std::floor(random_.Between(10.0, 36.0));
    parking.heading_deg = WrapHeading(heading_ - 90.0);  // facing the taxiway
    parking.position = at;
    if (random_.Chance(0.2))
      parking.airline_codes.push_back(LetterCode(random_.Below(17576), 3, 0));
    return parking;
  }

  Airport& airport_;
  Random& random_;
  const Runway runway_;
  const double heading_;
  const double length_;
};

enum class AirportSize { Small, Medium, Large };

AirportSize PickSize(Random& random) {
  const double draw = random.Unit();
  return draw < 0.6 ? AirportSize::Small : draw < 0.9 ? AirportSize::Medium : AirportSize::Large;
}

std::size_t RunwayCount(Random& random, AirportSize size) {
  const double draw = random.Unit();
  switch (size) {
    case AirportSize::Small:
      return draw < 0.92 ? 1 : 2;
    case AirportSize::Medium:
      return draw < 0.5 ? 1 : draw < 0.95 ? 2 : 3;
    case AirportSize::Large:
      return draw < 0.5 ? 2 : 3;
  }
  return 1;
}

int RunwayNumber(double heading) {
  const int number = static_cast<int>(std::lround(heading / 10.0)) % 36;
  return number == 0 ? 36 : number;
}

int OppositeNumber(int number) { return number > 18 ? number - 18 : number + 18; }

Runway MakeRunway(Random& random, const Airport& airport, AirportSize size, double heading,
                  const Position& centre) {
  static constexpr double kLengths[][2] = {{500, 1500}, {1400, 2800}, {2500, 4000}};
  static constexpr double kWidths[][2] = {{18, 30}, {30, 45}, {45, 60}};
  static constexpr std::uint16_t kSurfaces[] = {0, 1, 4, 4};
  const auto s = static_cast<std::size_t>(size);
  Runway runway;
  runway.centre = centre;
  runway.altitude_m = airport.altitude_m;
  runway.length_m = std::floor(random.Between(kLengths[s][0], kLengths[s][1]));
  runway.width_m = std::floor(random.Between(kWidths[s][0], kWidths[s][1]));
  runway.heading_deg = heading;
  runway.surface = Pick(random, kSurfaces);
  runway.primary.number = RunwayNumber(heading);
  runway.secondary.number = OppositeNumber(runway.primary.number);
  return runway;
}

// A second runway 350 m to the right of the first: the two become left and right.
void AddParallel(Random& random, Airport& airport, AirportSize size, double heading,
                 const Position& centre) {
  airport.runways.push_back(
      MakeRunway(random, airport, size, heading, Offset(centre, heading + 90.0, 350.0)));
  Runway& left = airport.runways.front();
  Runway& right = airport.runways.back();
  left.primary.designator = right.secondary.designator = Designator::Left;
  left.secondary.designator = right.primary.designator = Designator::Right;
}

void AddRunways(Random& random, Airport& airport, AirportSize size) {
  const double main_heading = std::floor(random.Between(0.0, 360.0) * 10.0) / 10.0;
  const Position main_centre =
      Offset(airport.position, random.Between(0.0, 360.0), random.Between(0.0, 400.0));
  airport.runways.push_back(MakeRunway(random, airport, size, main_heading, main_centre));
  const std::size_t count = RunwayCount(random, size);
  for (std::size_t r = 1; r < count; ++r) {
    if (r == 1 && random.Chance(0.5)) {
      AddParallel(random, airport, size, main_heading, main_centre);
    } else {
      const double heading = WrapHeading(main_heading + random.Between(40.0, 140.0));
      const Position centre =
          Offset(main_centre, random.Between(0.0, 360.0), random.Between(100.0, 600.0));
      airport.runways.push_back(MakeRunway(random, airport, size, heading, centre));
    }
  }
}

void AddStarts(Random& random, Airport& airport) {
  for (const Runway& runway : airport.runways) {
    const double heading = runway.heading_deg.Value();
    const double half = runway.length_m.Value() / 2.0;
    airport.starts.push_back(Start{runway.primary.number, runway.primary.designator,
                                   StartType::Runway, Offset(runway.centre, heading, -half),
                                   airport.altitude_m, heading});
    airport.starts.push_back(Start{runway.secondary.number, runway.secondary.designator,
                                   StartType::Runway, Offset(runway.centre, heading, half),
                                   airport.altitude_m, WrapHeading(heading + 180.0)});
  }
  if (random.Chance(0.05)) {
    airport.starts.push_back(Start{1, Designator::None, StartType::Helipad,
                                   Offset(airport.position, random.Between(0.0, 360.0), 250.0),
                                   airport.altitude_m, std::floor(random.Between(0.0, 360.0))});
  }
}

std::uint32_t ComFrequency(Random& random) {
  return 118000000u + 25000u * static_cast<std::uint32_t>(random.Below(720));
}

void AddComs(Random& random, Airport& airport, AirportSize size) {
  const bool towered = size != AirportSize::Small || random.Chance(0.3);
  if (towered) airport.coms.push_back(Com{ComType::Tower, ComFrequency(random), "TOWER"});
  if (towered && (size == AirportSize::Large || random.Chance(0.7))) {
    airport.coms.push_back(Com{ComType::Ground, ComFrequency(random), "GROUND"});
  }
  if (size == AirportSize::Large)
    airport.coms.push_back(Com{ComType::Atis, ComFrequency(random), "ATIS"});
  if (!towered) airport.coms.push_back(Com{ComType::Unicom, ComFrequency(random), "UNICOM"});
}

FuelTrigger MakeFuelTrigger(Random& random, const Airport& airport) {
  FuelTrigger trigger;
  trigger.position = Offset(airport.position, random.Between(0.0, 360.0), 150.0);
  trigger.altitude_m = airport.altitude_m;
  trigger.trigger_type = random.Chance(0.05) ? 1 : kRefuelTrigger;
  for (int grade = 0; grade < 13; ++grade) {
    if (random.Chance(0.2)) {
      trigger.fuel_availability |=
          FuelGrade(grade, 1 + static_cast<std::uint32_t>(random.Below(3)));
    }
  }
  return trigger;
}

}  // namespace

Airport MakeAirport(TileContext& tile, std::uint64_t number,
                    std::vector<FuelTrigger>& fuel_triggers) {
  static constexpr const char* kSuffixes[] = {"", " Regional", " Municipal", " Airfield", " Field"};
  Random& random = tile.Draws();
  const AirportSize size = PickSize(random);
  Airport airport;
  airport.ident = tile.Code(CodeKind::Airport, number, 4);
  airport.region = tile.Frame().region;
  airport.name =
      PlaceName(random) + (size == AirportSize::Large ? " International" : Pick(random, kSuffixes));
  airport.position = tile.Frame().RandomPoint(random, 0.1);
  airport.altitude_m = std::floor(random.Unit() * random.Unit() * 1500.0);  // most airports lie low
  AddRunways(random, airport, size);
  AddStarts(random, airport);
  AddComs(random, airport, size);
  if (random.Chance(tile.Plan().ground_layout_share)) GroundLayout(airport, random).Build();
  if (random.Chance(0.35)) fuel_triggers.push_back(MakeFuelTrigger(random, airport));
  return airport;
}

}  // namespace tarnvale::fab
