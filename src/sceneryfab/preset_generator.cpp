#include "sceneryfab/preset_generator.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "sceneryfab/random.h"
#include "sceneryfab/text.h"

namespace tarnvale::fab {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kMetresPerDegree = 111320.0;

double Radians(double degrees) { return degrees * kPi / 180.0; }

double WrapLongitude(double longitude) {
  if (longitude >= 180.0) return longitude - 360.0;
  if (longitude < -180.0) return longitude + 360.0;
  return longitude;
}

double WrapHeading(double heading) { return heading - 360.0 * std::floor(heading / 360.0); }

// The point `metres` from `from` on true course `course` (flat earth, good
// enough over the few tens of kilometres an airport or airspace spans).
Position Offset(const Position& from, double course, double metres) {
  const double north = metres * std::cos(Radians(course));
  const double east = metres * std::sin(Radians(course));
  return {from.latitude + north / kMetresPerDegree,
          WrapLongitude(from.longitude + east / (kMetresPerDegree * std::cos(Radians(from.latitude))))};
}

// The half-open range of items of part `index` when `total` items are
// spread evenly over `parts` parts; parts beyond `parts` continue the count.
struct Range {
  std::uint64_t first = 0;
  std::uint64_t end = 0;
  std::size_t Size() const { return static_cast<std::size_t>(end - first); }
};

Range Share(std::size_t total, std::size_t parts, std::size_t index) {
  return {static_cast<std::uint64_t>(total) * index / parts, static_cast<std::uint64_t>(total) * (index + 1) / parts};
}

// The `index`-th code of `length` letters; distinct for indices below
// 26^length, scattered over the alphabet by a multiplier prime to 26.
std::string LetterCode(std::uint64_t index, int length, std::uint64_t salt) {
  std::uint64_t space = 1;
  for (int i = 0; i < length; ++i) space *= 26;
  std::uint64_t value = (index % space * 7919 + salt) % space;
  std::string code(static_cast<std::size_t>(length), 'A');
  for (int i = length - 1; i >= 0; --i) {
    code[static_cast<std::size_t>(i)] = static_cast<char>('A' + value % 26);
    value /= 26;
  }
  return code;
}

template <typename T, std::size_t N>
const T& Pick(Random& random, const T (&items)[N]) {
  return items[random.Below(N)];
}

std::string PlaceName(Random& random) {
  static constexpr const char* kStarts[] = {"Bel", "Cor", "Dun", "Esk", "Fal", "Gra", "Hal", "Ker", "Lin", "Mar",
                                            "Nor", "Ost", "Pel", "Ros", "Sal", "Tor", "Val", "Wes", "Yar", "Zan"};
  static constexpr const char* kMiddles[] = {"", "a", "e", "i", "o", "an", "en", "ar", "or", "il"};
  static constexpr const char* kEnds[] = {"by", "dale", "ford", "ham", "mouth", "ton", "vik",
                                          "wick", "stad", "burg", "field", "port", "mere", "holt"};
  return std::string(Pick(random, kStarts)) + Pick(random, kMiddles) + Pick(random, kEnds);
}

struct TileFrame {
  double south = 0.0, north = 0.0, west = 0.0, east = 0.0;
  std::string region;

  Position RandomPoint(Random& random, double margin = 0.0) const {
    const double lat_margin = std::min(margin, (north - south) / 4);
    const double lon_margin = std::min(margin, (east - west) / 4);
    return {random.Between(south + lat_margin, north - lat_margin), random.Between(west + lon_margin, east - lon_margin)};
  }
};

// Tiles lie in a grid over the plan's box, row by row from the south-west;
// indices past the grid start it again.
TileFrame FrameOf(const PresetPlan& plan, std::size_t index) {
  const double width = plan.east - plan.west;
  const double height = plan.north - plan.south;
  const auto columns = static_cast<std::size_t>(
      std::max(1.0, std::ceil(std::sqrt(static_cast<double>(plan.tiles) * width / height))));
  const std::size_t rows = (plan.tiles + columns - 1) / columns;
  const std::size_t cell = index % (rows * columns);
  TileFrame frame;
  frame.south = plan.south + height * static_cast<double>(cell / columns) / static_cast<double>(rows);
  frame.north = frame.south + height / static_cast<double>(rows);
  frame.west = plan.west + width * static_cast<double>(cell % columns) / static_cast<double>(columns);
  frame.east = frame.west + width / static_cast<double>(columns);
  static constexpr char kSecond[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  frame.region = {static_cast<char>('A' + index / 36 % 26), kSecond[index % 36]};
  return frame;
}

// Frequencies in Hz on 50 kHz channels.
std::uint32_t ChannelHz(std::uint32_t hundredths_mhz) { return hundredths_mhz * 10000u; }

std::uint32_t IlsFrequency(Random& random) {
  // Localizers use the odd-tenth channels from 108.10 to 111.95 MHz.
  const auto step = static_cast<std::uint32_t>(random.Below(40));
  return ChannelHz(10810 + (step / 2) * 20 + (step % 2) * 5);
}

std::uint32_t ComFrequency(Random& random) {
  return 118000000u + 25000u * static_cast<std::uint32_t>(random.Below(720));
}

int RunwayNumber(double heading) {
  const int number = static_cast<int>(std::lround(heading / 10.0)) % 36;
  return number == 0 ? 36 : number;
}

int OppositeNumber(int number) { return number > 18 ? number - 18 : number + 18; }

}  // namespace

namespace {

// A taxiway "A" beside an airport's main runway with exits "B" to it, and
// an apron row of parkings joined to the taxiway by "C".
class GroundLayout {
 public:
  GroundLayout(Airport& airport, Random& random)
      : airport_(airport), random_(random), runway_(airport.runways.front()),
        heading_(runway_.heading_deg.Value()), length_(runway_.length_m.Value()) {}

  void Build() {
    airport_.taxiway_names = {"A", "B", "C", "APRON"};
    AddApron(AddTaxiway());
  }

 private:
  static constexpr std::uint8_t kNormal = 1, kHoldShort = 2;                 // point types
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
    const std::size_t count = std::clamp<std::size_t>(static_cast<std::size_t>(length_ / 250.0), 4, 14);
    std::uint16_t previous = 0, middle = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const double along = -length_ / 2.0 + length_ * static_cast<double>(k) / static_cast<double>(count - 1);
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
    if (random_.Chance(0.2)) parking.airline_codes.push_back(LetterCode(random_.Below(17576), 3, 0));
    return parking;
  }

  Airport& airport_;
  Random& random_;
  const Runway runway_;
  const double heading_;
  const double length_;
};

enum class AirportSize { Small, Medium, Large };

// Salts that keep the identifier codes of different kinds apart.
enum class CodeKind : std::uint64_t { Airport = 1, Ils, Vor, Ndb, Intersection };

class TileBuilder {
 public:
  TileBuilder(const PresetPlan& plan, std::size_t index, std::uint64_t seed)
      : plan_(plan), index_(index), seed_(seed), frame_(FrameOf(plan, index)), random_(DeriveSeed(seed, index)) {}

  SceneryContent Build() {
    for (std::uint64_t n = TileShare(plan_.airports).first; n < TileShare(plan_.airports).end; ++n) {
      content_.airports.push_back(MakeAirport(n));
    }
    AddIlss();
    for (std::uint64_t n = TileShare(plan_.vors).first; n < TileShare(plan_.vors).end; ++n) content_.vors.push_back(MakeVor(n));
    for (std::uint64_t n = TileShare(plan_.ndbs).first; n < TileShare(plan_.ndbs).end; ++n) content_.ndbs.push_back(MakeNdb(n));
    AddIntersections();
    AddAirways();
    AttachRoutes(content_.intersections, content_.airways);
    for (std::size_t n = 0; n < TileShare(plan_.boundaries).Size(); ++n) content_.boundaries.push_back(MakeBoundary());
    return std::move(content_);
  }

 private:
  Range TileShare(std::size_t total) const { return Share(total, plan_.tiles, index_); }

  std::string Code(CodeKind kind, std::uint64_t number, int length) const {
    return LetterCode(number, length, DeriveSeed(seed_, ~static_cast<std::uint64_t>(kind)));
  }

  // ------------------------------------------------------------ airports

  AirportSize PickSize() {
    const double draw = random_.Unit();
    return draw < 0.6 ? AirportSize::Small : draw < 0.9 ? AirportSize::Medium : AirportSize::Large;
  }

  Airport MakeAirport(std::uint64_t number) {
    static constexpr const char* kSuffixes[] = {"", " Regional", " Municipal", " Airfield", " Field"};
    const AirportSize size = PickSize();
    Airport airport;
    airport.ident = Code(CodeKind::Airport, number, 4);
    airport.region = frame_.region;
    airport.name = PlaceName(random_) + (size == AirportSize::Large ? " International" : Pick(random_, kSuffixes));
    airport.position = frame_.RandomPoint(random_, 0.1);
    airport.altitude_m = std::floor(random_.Unit() * random_.Unit() * 1500.0);  // most airports lie low
    AddRunways(airport, size);
    AddStarts(airport);
    AddComs(airport, size);
    if (random_.Chance(plan_.ground_layout_share)) GroundLayout(airport, random_).Build();
    if (random_.Chance(0.35)) content_.fuel_triggers.push_back(MakeFuelTrigger(airport));
    return airport;
  }

  std::size_t RunwayCount(AirportSize size) {
    const double draw = random_.Unit();
    switch (size) {
      case AirportSize::Small: return draw < 0.92 ? 1 : 2;
      case AirportSize::Medium: return draw < 0.5 ? 1 : draw < 0.95 ? 2 : 3;
      case AirportSize::Large: return draw < 0.5 ? 2 : 3;
    }
    return 1;
  }

  Runway MakeRunway(const Airport& airport, AirportSize size, double heading, const Position& centre) {
    static constexpr double kLengths[][2] = {{500, 1500}, {1400, 2800}, {2500, 4000}};
    static constexpr double kWidths[][2] = {{18, 30}, {30, 45}, {45, 60}};
    static constexpr std::uint16_t kSurfaces[] = {0, 1, 4, 4};
    const auto s = static_cast<std::size_t>(size);
    Runway runway;
    runway.centre = centre;
    runway.altitude_m = airport.altitude_m;
    runway.length_m = std::floor(random_.Between(kLengths[s][0], kLengths[s][1]));
    runway.width_m = std::floor(random_.Between(kWidths[s][0], kWidths[s][1]));
    runway.heading_deg = heading;
    runway.surface = Pick(random_, kSurfaces);
    runway.primary.number = RunwayNumber(heading);
    runway.secondary.number = OppositeNumber(runway.primary.number);
    return runway;
  }

  void AddRunways(Airport& airport, AirportSize size) {
    const double main_heading = std::floor(random_.Between(0.0, 360.0) * 10.0) / 10.0;
    const Position main_centre = Offset(airport.position, random_.Between(0.0, 360.0), random_.Between(0.0, 400.0));
    airport.runways.push_back(MakeRunway(airport, size, main_heading, main_centre));
    const std::size_t count = RunwayCount(size);
    for (std::size_t r = 1; r < count; ++r) {
      if (r == 1 && random_.Chance(0.5)) {
        AddParallel(airport, size, main_heading, main_centre);
      } else {
        const double heading = WrapHeading(main_heading + random_.Between(40.0, 140.0));
        airport.runways.push_back(
            MakeRunway(airport, size, heading, Offset(main_centre, random_.Between(0.0, 360.0), random_.Between(100.0, 600.0))));
      }
    }
  }

  // A second runway 350 m to the right of the first: the two become left and right.
  void AddParallel(Airport& airport, AirportSize size, double heading, const Position& centre) {
    airport.runways.push_back(MakeRunway(airport, size, heading, Offset(centre, heading + 90.0, 350.0)));
    Runway& left = airport.runways.front();
    Runway& right = airport.runways.back();
    left.primary.designator = right.secondary.designator = Designator::Left;
    left.secondary.designator = right.primary.designator = Designator::Right;
  }

  void AddStarts(Airport& airport) {
    for (const Runway& runway : airport.runways) {
      const double heading = runway.heading_deg.Value();
      const double half = runway.length_m.Value() / 2.0;
      airport.starts.push_back(Start{runway.primary.number, runway.primary.designator, StartType::Runway,
                                     Offset(runway.centre, heading, -half), airport.altitude_m, heading});
      airport.starts.push_back(Start{runway.secondary.number, runway.secondary.designator, StartType::Runway,
                                     Offset(runway.centre, heading, half), airport.altitude_m,
                                     WrapHeading(heading + 180.0)});
    }
    if (random_.Chance(0.05)) {
      airport.starts.push_back(Start{1, Designator::None, StartType::Helipad,
                                     Offset(airport.position, random_.Between(0.0, 360.0), 250.0),
                                     airport.altitude_m, std::floor(random_.Between(0.0, 360.0))});
    }
  }

  void AddComs(Airport& airport, AirportSize size) {
    const bool towered = size != AirportSize::Small || random_.Chance(0.3);
    if (towered) airport.coms.push_back(Com{ComType::Tower, ComFrequency(random_), "TOWER"});
    if (towered && (size == AirportSize::Large || random_.Chance(0.7))) {
      airport.coms.push_back(Com{ComType::Ground, ComFrequency(random_), "GROUND"});
    }
    if (size == AirportSize::Large) airport.coms.push_back(Com{ComType::Atis, ComFrequency(random_), "ATIS"});
    if (!towered) airport.coms.push_back(Com{ComType::Unicom, ComFrequency(random_), "UNICOM"});
  }

  FuelTrigger MakeFuelTrigger(const Airport& airport) {
    FuelTrigger trigger;
    trigger.position = Offset(airport.position, random_.Between(0.0, 360.0), 150.0);
    trigger.altitude_m = airport.altitude_m;
    trigger.trigger_type = random_.Chance(0.05) ? 1 : kRefuelTrigger;
    for (int grade = 0; grade < 13; ++grade) {
      if (random_.Chance(0.2)) trigger.fuel_availability |= FuelGrade(grade, 1 + static_cast<std::uint32_t>(random_.Below(3)));
    }
    return trigger;
  }

  // ----------------------------------------------------------------- ILS

  struct RunwayEndRef {
    double length = 0.0;
    std::size_t airport = 0, runway = 0;
    bool secondary = false;
  };

  // The longest runway ends of the tile get the tile's share of ILS.
  void AddIlss() {
    std::vector<RunwayEndRef> ends;
    for (std::size_t a = 0; a < content_.airports.size(); ++a) {
      for (std::size_t r = 0; r < content_.airports[a].runways.size(); ++r) {
        const double length = content_.airports[a].runways[r].length_m.Value();
        ends.push_back({length, a, r, false});
        ends.push_back({length - 0.5, a, r, true});  // primary ends first
      }
    }
    std::stable_sort(ends.begin(), ends.end(), [](const auto& x, const auto& y) { return x.length > y.length; });
    const Range share = TileShare(plan_.ilss);
    for (std::size_t k = 0; k < share.Size() && k < ends.size(); ++k) AddIls(ends[k], share.first + k);
  }

  void AddIls(const RunwayEndRef& end, std::uint64_t number) {
    Airport& airport = content_.airports[end.airport];
    Runway& runway = airport.runways[end.runway];
    RunwayEnd& served = end.secondary ? runway.secondary : runway.primary;
    const double approach = WrapHeading(runway.heading_deg.Value() + (end.secondary ? 180.0 : 0.0));
    const double half = runway.length_m.Value() / 2.0;
    Ils ils;
    ils.ident = "I" + Code(CodeKind::Ils, number, 3);
    served.ils_ident = ils.ident;
    ils.region = frame_.region;
    ils.name = "ILS RWY " + std::to_string(served.number);
    ils.position = Offset(runway.centre, approach, half + 300.0);  // beyond the far end
    ils.altitude_m = airport.altitude_m;
    ils.frequency_hz = IlsFrequency(random_);
    ils.range_m = 27.0 * 1852.0;
    ils.heading_deg = approach;
    ils.runway_number = served.number;
    ils.runway_designator = served.designator;
    ils.airport = airport.ident;
    content_.ilss.push_back(ils);
    const Position threshold = Offset(runway.centre, approach, -half);
    AddMarker(MarkerType::Outer, threshold, approach, 7200.0, airport);
    AddMarker(MarkerType::Middle, threshold, approach, 1000.0, airport);
    if (random_.Chance(0.2)) AddMarker(MarkerType::Inner, threshold, approach, 300.0, airport);
  }

  void AddMarker(MarkerType type, const Position& threshold, double approach, double distance, const Airport& airport) {
    content_.markers.push_back(
        Marker{type, "", airport.region, Offset(threshold, approach, -distance), airport.altitude_m, approach});
  }

  // ------------------------------------------------------- VOR and NDB

  Vor MakeVor(std::uint64_t number) {
    static constexpr VorType kTypes[] = {VorType::HighAltitude, VorType::HighAltitude, VorType::LowAltitude,
                                         VorType::Terminal};
    static constexpr double kRangesNm[] = {130.0, 130.0, 40.0, 25.0};
    const std::size_t kind = random_.Below(std::size(kTypes));
    Vor vor;
    vor.type = kTypes[kind];
    vor.ident = Code(CodeKind::Vor, number, 3);
    vor.region = frame_.region;
    vor.name = Upper(PlaceName(random_));
    vor.position = frame_.RandomPoint(random_);
    vor.altitude_m = std::floor(random_.Between(0.0, 800.0));
    vor.frequency_hz = ChannelHz(11200 + 5 * static_cast<std::uint32_t>(random_.Below(120)));
    vor.range_m = kRangesNm[kind] * 1852.0;
    vor.magnetic_variation_deg = std::floor(random_.Between(-15.0, 15.0));
    return vor;
  }

  Ndb MakeNdb(std::uint64_t number) {
    static constexpr NdbType kTypes[] = {NdbType::CompassLocator, NdbType::Mh, NdbType::H, NdbType::Hh};
    static constexpr double kRangesNm[] = {15.0, 25.0, 50.0, 75.0};
    const std::size_t kind = random_.Below(std::size(kTypes));
    Ndb ndb;
    ndb.type = kTypes[kind];
    ndb.ident = Code(CodeKind::Ndb, number, random_.Chance(0.5) ? 2 : 3);
    ndb.region = frame_.region;
    ndb.name = Upper(PlaceName(random_));
    ndb.position = frame_.RandomPoint(random_);
    ndb.altitude_m = std::floor(random_.Between(0.0, 800.0));
    ndb.frequency_hz = 1000u * static_cast<std::uint32_t>(190 + random_.Below(346)) + (random_.Chance(0.2) ? 500u : 0u);
    ndb.range_m = kRangesNm[kind] * 1852.0;
    return ndb;
  }

  // ---------------------------------------------------------- airways

  void AddIntersections() {
    const Range share = TileShare(plan_.intersections);
    for (std::uint64_t n = share.first; n < share.end; ++n) {
      Intersection intersection;
      intersection.ident = Code(CodeKind::Intersection, n, 5);
      intersection.region = frame_.region;
      intersection.position = frame_.RandomPoint(random_);
      content_.intersections.push_back(std::move(intersection));
    }
  }

  // The nearest intersection ahead of `from` within 70 degrees of `course`
  // that the airway has not visited, or `from` itself when there is none.
  std::size_t NextAhead(std::size_t from, double course, const std::vector<bool>& visited) const {
    const double kCosine70 = std::cos(Radians(70.0));
    const auto& fixes = content_.intersections;
    const Position& origin = fixes[from].position;
    const double shrink = std::cos(Radians(origin.latitude));
    const double ahead_north = std::cos(Radians(course));
    const double ahead_east = std::sin(Radians(course));
    std::size_t best = from;
    double best_distance = 1e300;
    for (std::size_t i = 0; i < fixes.size(); ++i) {
      if (visited[i]) continue;
      const double north = fixes[i].position.latitude - origin.latitude;
      const double east = (fixes[i].position.longitude - origin.longitude) * shrink;
      const double distance = north * north + east * east;
      const double along = north * ahead_north + east * ahead_east;
      if (along > 0.0 && along * along > kCosine70 * kCosine70 * distance && distance < best_distance) {
        best = i;
        best_distance = distance;
      }
    }
    return best;
  }

  Airway MakeAirway(std::uint64_t number, std::size_t start) {
    static constexpr RouteLevel kLevels[] = {RouteLevel::Victor, RouteLevel::Victor, RouteLevel::Jet, RouteLevel::Both};
    static constexpr const char* kPrefixes[] = {"V", "V", "J", "T"};
    const std::size_t kind = random_.Below(std::size(kLevels));
    const bool high = kLevels[kind] != RouteLevel::Victor;
    Airway airway;
    airway.level = kLevels[kind];
    airway.name = kPrefixes[kind] + std::to_string(number % 999 + 1);
    std::vector<bool> visited(content_.intersections.size(), false);
    const double course = random_.Between(0.0, 360.0);
    const std::size_t length = 4 + static_cast<std::size_t>(random_.Below(11));
    std::size_t at = start;
    for (std::size_t k = 0; k < length; ++k) {
      visited[at] = true;
      const Intersection& fix = content_.intersections[at];
      const double altitude = k == 0 ? 0.0 : std::floor(high ? random_.Between(5500, 11000) : random_.Between(600, 5000));
      airway.points.push_back(AirwayPoint{fix.ident, fix.region, altitude});
      const std::size_t next = NextAhead(at, course, visited);
      if (next == at) break;
      at = next;
    }
    return airway;
  }

  // Airways start half the time at an intersection an earlier airway
  // passes, so that routes cross and share points.
  void AddAirways() {
    if (content_.intersections.size() < 2) return;
    const Range share = TileShare(plan_.airways);
    for (std::uint64_t n = share.first; n < share.end; ++n) {
      std::size_t start = random_.Below(content_.intersections.size());
      if (!content_.airways.empty() && random_.Chance(0.5)) {
        const Airway& earlier = content_.airways[random_.Below(content_.airways.size())];
        const std::string& ident = earlier.points[random_.Below(earlier.points.size())].ident.text;
        for (std::size_t i = 0; i < content_.intersections.size(); ++i) {
          if (content_.intersections[i].ident.text == ident) start = i;
        }
      }
      Airway airway = MakeAirway(n, start);
      if (airway.points.size() >= 2) content_.airways.push_back(std::move(airway));
    }
  }

  // --------------------------------------------------------- airspaces

  // Mostly airspaces; now and then a centre or tower boundary, which yields none.
  Boundary MakeBoundary() {
    static constexpr BoundaryType kTypes[] = {
        BoundaryType::ClassB,     BoundaryType::ClassC,  BoundaryType::ClassD,   BoundaryType::ClassE,
        BoundaryType::Moa,        BoundaryType::Restricted, BoundaryType::Prohibited, BoundaryType::Danger,
        BoundaryType::Warning,    BoundaryType::Training, BoundaryType::ModeC,   BoundaryType::Centre,
        BoundaryType::Tower};
    static constexpr const char* kLabels[] = {"CLASS B", "CLASS C", "CLASS D", "CLASS E", "MOA", "RESTRICTED", "PROHIBITED",
                                              "DANGER", "WARNING", "TRAINING", "MODE C", "CENTER", "TOWER"};
    constexpr std::size_t kAirspaceTypes = 11;
    const std::size_t kind = random_.Chance(0.03) ? kAirspaceTypes + random_.Below(2) : random_.Below(kAirspaceTypes);
    Boundary boundary;
    boundary.type = kTypes[kind];
    boundary.name = Upper(PlaceName(random_)) + " " + kLabels[kind];
    const Position centre = frame_.RandomPoint(random_, 0.6);
    const double radius = random_.Between(5000.0, 50000.0);
    const double shape = random_.Unit();
    boundary.outlines.push_back(shape < 0.4   ? Circle(centre, radius)
                                : shape < 0.7 ? PolygonWithArc(centre, radius)
                                              : Polygon(centre, radius));
    boundary.lower_altitude_m = std::floor(random_.Between(0.0, 1500.0));
    boundary.upper_altitude_m = boundary.lower_altitude_m + std::floor(random_.Between(600.0, 6000.0));
    SetCorners(boundary, centre, radius * 1.3);
    return boundary;
  }

  static std::vector<BoundaryPoint> Circle(const Position& centre, double radius) {
    return {BoundaryPoint{BoundaryPointType::Origin, 0, centre, 0.0},
            BoundaryPoint{BoundaryPointType::Circle, 0, centre, std::floor(radius)}};
  }

  std::vector<BoundaryPoint> Polygon(const Position& centre, double radius) {
    const std::size_t corners = 4 + static_cast<std::size_t>(random_.Below(5));
    std::vector<BoundaryPoint> points;
    for (std::size_t k = 0; k < corners; ++k) {
      const double course = 360.0 * static_cast<double>(k) / static_cast<double>(corners) + random_.Between(-10.0, 10.0);
      points.push_back(BoundaryPoint{k == 0 ? BoundaryPointType::Start : BoundaryPointType::Line, 0,
                                     Offset(centre, course, radius * random_.Between(0.8, 1.3)), 0.0});
    }
    return points;
  }

  // Two sides of a sector joined by an arc around its apex.
  std::vector<BoundaryPoint> PolygonWithArc(const Position& centre, double radius) {
    const double from = random_.Between(0.0, 360.0);
    const double to = from + random_.Between(60.0, 200.0);
    const bool clockwise = random_.Chance(0.5);
    const auto arc = clockwise ? BoundaryPointType::ArcClockwise : BoundaryPointType::ArcCounterClockwise;
    const Position first = Offset(centre, clockwise ? from : to, radius);
    const Position last = Offset(centre, clockwise ? to : from, radius);
    return {BoundaryPoint{BoundaryPointType::Origin, 0, centre, 0.0}, BoundaryPoint{BoundaryPointType::Start, 0, centre, 0.0},
            BoundaryPoint{BoundaryPointType::Line, 0, first, 0.0}, BoundaryPoint{arc, 0, last, 0.0},
            BoundaryPoint{BoundaryPointType::Line, 0, centre, 0.0}};
  }

  static void SetCorners(Boundary& boundary, const Position& centre, double reach) {
    const Position north_west = Offset(Offset(centre, 0.0, reach), 270.0, reach);
    const Position south_east = Offset(Offset(centre, 180.0, reach), 90.0, reach);
    boundary.corner_a = north_west;
    boundary.corner_b = south_east;
  }

  const PresetPlan& plan_;
  std::size_t index_;
  std::uint64_t seed_;
  TileFrame frame_;
  Random random_;
  SceneryContent content_;
};

PresetPlan BasePlan(Preset preset) {
  PresetPlan plan;
  if (preset == Preset::World) {
    plan.tiles = 240;
    plan.areas = 12;
    plan.south = -56.0, plan.north = 72.0, plan.west = -180.0, plan.east = 180.0;
    plan.airports = 24000, plan.ilss = 3300, plan.vors = 3700, plan.ndbs = 5800;
    plan.intersections = 75000, plan.airways = 9000, plan.boundaries = 6200;
    plan.ground_layout_share = 0.3;
    plan.skipped_files_per_area = 4;
    plan.skipped_bytes_per_navigation_byte = 10.0;
  } else {
    plan.tiles = 3;
    plan.areas = 2;
    plan.south = 45.0, plan.north = 48.5, plan.west = 5.5, plan.east = 11.5;
    plan.airports = 36, plan.ilss = 10, plan.vors = 8, plan.ndbs = 10;
    plan.intersections = 60, plan.airways = 9, plan.boundaries = 12;
    plan.ground_layout_share = 0.5;
    plan.skipped_files_per_area = 2;
    plan.skipped_bytes_per_navigation_byte = 2.0;
  }
  plan.inactive_area = true;
  return plan;
}

std::size_t Scaled(std::size_t count, double scale) {
  return static_cast<std::size_t>(std::llround(static_cast<double>(count) * scale));
}

}  // namespace

PresetPlan PlanFor(Preset preset, double scale) {
  if (!std::isfinite(scale) || scale <= 0.0 || scale > 1000.0) {
    throw std::invalid_argument("scale must be a number above 0 and at most 1000, not " + std::to_string(scale));
  }
  PresetPlan plan = BasePlan(preset);
  plan.tiles = std::max<std::size_t>(1, Scaled(plan.tiles, scale));
  plan.areas = std::min(plan.areas, plan.tiles);
  for (std::size_t* count : {&plan.airports, &plan.ilss, &plan.vors, &plan.ndbs, &plan.intersections, &plan.airways,
                             &plan.boundaries}) {
    *count = Scaled(*count, scale);
  }
  return plan;
}

WorldGenerator::WorldGenerator(PresetPlan plan, std::uint64_t seed) : plan_(plan), seed_(seed) {}

TileInfo WorldGenerator::Tile(std::size_t index) const {
  return TileInfo{std::min(index * plan_.areas / plan_.tiles, plan_.areas - 1), ZeroPadded(index, 4)};
}

std::vector<AreaInfo> WorldGenerator::Areas() const {
  std::vector<AreaInfo> areas;
  for (std::size_t a = 0; a < plan_.areas; ++a) {
    const std::string number = ZeroPadded(a + 1, 2);
    areas.push_back(AreaInfo{"Region " + number, "Region" + number});
  }
  return areas;
}

SceneryContent WorldGenerator::GenerateTile(std::size_t index) const { return TileBuilder(plan_, index, seed_).Build(); }

}  // namespace tarnvale::fab
