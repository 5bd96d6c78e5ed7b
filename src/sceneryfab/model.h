// Plain values of everything the scenery builder can put into a simulator's
// scenery: positions in degrees, lengths and altitudes in metres,
// frequencies in Hz, identifiers and names as text.
//
// The model is shared by the FS2004 writer and the FS2002 writers; each
// encodes the parts its file layout can hold. A few fields can carry raw
// words instead of plain values (`Single::FromBits`, `Ident::FromWord`) so
// that tests can state odd bytes without building records by hand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnvale::fab {

// A 32-bit IEEE single as the files store it: made from a number (rounded
// to the nearest single) or from its raw bits.
class Single {
 public:
  constexpr Single() = default;
  Single(double value);  // NOLINT: implicit on purpose, `runway.heading_deg = 90.0`
  static constexpr Single FromBits(std::uint32_t bits) {
    Single single;
    single.bits_ = bits;
    return single;
  }
  constexpr std::uint32_t Bits() const { return bits_; }
  double Value() const;  // the single widened to double
  friend constexpr bool operator==(Single, Single) = default;

 private:
  std::uint32_t bits_ = 0;
};

// An identifier or region code as text (at most 5 or 2 characters of
// blank, 0-9 and A-Z in FS2004 files). `FromWord` makes the FS2004 writer
// store exactly `word` in the whole 32-bit field (ident bits, region bits
// and the bits beside them); the text then stays empty.
struct Ident {
  std::string text;
  std::optional<std::uint32_t> word;

  Ident() = default;
  Ident(std::string value) : text(std::move(value)) {}  // NOLINT: implicit
  Ident(const char* value) : text(value) {}             // NOLINT: implicit
  static Ident FromWord(std::uint32_t raw) {
    Ident ident;
    ident.word = raw;
    return ident;
  }
};

// Degrees: latitude north positive (-90..90), longitude east positive
// (-180..180).
struct Position {
  double latitude = 0.0;
  double longitude = 0.0;
};

// ---------------------------------------------------------------- airports

// Letter of a runway end. FS2004 codes: None 0, Left 1, Right 2, Center 3,
// Water 4; any other enumerator value is written as its number.
enum class Designator : std::uint8_t {
  None = 0,
  Left = 1,
  Right = 2,
  Center = 3,
  Water = 4,
  Helipad = 5
};

struct RunwayEnd {
  int number = 0;  // 0..36
  Designator designator = Designator::None;
  Ident ils_ident;  // ident of the ILS serving this end, empty for none
};

struct Runway {
  Position centre;
  double altitude_m = 0.0;
  Single length_m = 0.0;
  Single width_m = 0.0;
  Single heading_deg = 0.0;  // true heading of the primary end
  std::uint16_t surface = 0;
  RunwayEnd primary;
  RunwayEnd secondary;
};

// Kind of a start position (FS2004 start sub-record, bits 4..7 of byte 7).
enum class StartType : std::uint8_t { Runway = 1, Water = 2, Helipad = 3 };

struct Start {
  int runway_number = 0;
  Designator designator = Designator::None;
  StartType type = StartType::Runway;
  Position position;
  double altitude_m = 0.0;
  Single heading_deg = 0.0;
};

// Frequency kind of an airport COM (FS2004 codes).
// clang-format off
enum class ComType : std::uint16_t {
  Atis = 1, Multicom = 2, Unicom = 3, Ctaf = 4, Ground = 5, Tower = 6,
  Clearance = 7, Approach = 8, Departure = 9, Centre = 10, Fss = 11,
};
// clang-format on

struct Com {
  ComType type = ComType::Tower;
  std::uint32_t frequency_hz = 0;
  std::string name;
};

struct TaxiwayPoint {
  std::uint8_t type = 1;  // 1 normal, 2 hold short, ...
  Position position;
};

struct Parking {
  std::uint8_t name_code = 0;  // 0..63
  std::uint8_t type = 0;       // 0..15
  std::uint16_t number = 0;    // 0..4095
  Single radius_m = 0.0;
  Single heading_deg = 0.0;
  Position position;
  std::vector<std::string> airline_codes;  // 4 characters each
};

struct TaxiwayPath {
  std::uint16_t start_point = 0;  // index into the airport's taxiway points
  std::uint16_t end_point = 0;    // 0..4095
  std::uint8_t type = 1;          // 0..15
  std::uint8_t name_index = 0;    // index into the airport's taxiway names
  Single width_m = 0.0;
};

struct Airport {
  Ident ident;
  Ident region;
  std::optional<std::string> name;  // nullopt: no name at all; "": an empty one
  Position position;
  double altitude_m = 0.0;
  std::vector<Runway> runways;
  std::vector<Start> starts;
  std::vector<Com> coms;
  std::vector<TaxiwayPoint> taxiway_points;
  std::vector<Parking> parkings;
  std::vector<TaxiwayPath> taxiway_paths;
  std::vector<std::string> taxiway_names;  // 8 characters at most
};

// Refuelling and other triggers among the scenery objects (FS2004 only).
inline constexpr std::uint16_t kRefuelTrigger = 0;

// The two-bit availability `code` (0..3) of fuel grade `grade` (0..12),
// placed in the trigger's availability word.
constexpr std::uint32_t FuelGrade(int grade, std::uint32_t code) {
  return (code & 3u) << (2 * grade);
}

struct FuelTrigger {
  Position position;
  double altitude_m = 0.0;
  std::uint16_t trigger_type = kRefuelTrigger;
  std::uint32_t fuel_availability = 0;  // OR of FuelGrade(...)
};

// ----------------------------------------------------------------- navaids

// What every radio beacon has.
struct RadioBeacon {
  Ident ident;
  Ident region;
  std::optional<std::string> name;
  Position position;
  double altitude_m = 0.0;
  std::uint32_t frequency_hz = 0;
  Single range_m = 0.0;
};

enum class VorType : std::uint8_t { Terminal = 1, LowAltitude = 2, HighAltitude = 3 };

struct Vor : RadioBeacon {
  VorType type = VorType::HighAltitude;  // FS2004: other values are passed over
  Single magnetic_variation_deg = 0.0;
};

struct Ils : RadioBeacon {
  Single heading_deg = 0.0;  // localizer course
  int runway_number = 0;
  Designator runway_designator = Designator::None;
  Ident airport;  // ident of the airport whose runway it serves
};

enum class NdbType : std::uint16_t { CompassLocator = 0, Mh = 1, H = 2, Hh = 3 };

struct Ndb : RadioBeacon {
  NdbType type = NdbType::H;
};

enum class MarkerType : std::uint8_t { Inner = 0, Middle = 1, Outer = 2, BackCourse = 3 };

struct Marker {
  MarkerType type = MarkerType::Outer;  // FS2004: other values are recorded empty
  Ident ident;
  Ident region;
  Position position;
  double altitude_m = 0.0;
  double heading_deg = 0.0;
};

// ---------------------------------------------------- waypoints, airways

// Which airway arrays a route feeds (FS2004 route type codes).
enum class RouteLevel : std::uint8_t { Victor = 1, Jet = 2, Both = 3 };

struct RouteNeighbour {
  Ident ident;
  Ident region;
  Single altitude_m = 0.0;  // minimum altitude of the leg toward it
};

// One airway passing through an intersection, as FS2004 stores it.
struct Route {
  RouteLevel level = RouteLevel::Victor;
  std::string name;  // 8 characters at most, blank-padded in the file
  std::optional<RouteNeighbour> previous;
  std::optional<RouteNeighbour> next;
};

enum class IntersectionType : std::uint8_t {
  Named = 1,
  Unnamed = 2,
  Vor = 3,
  Ndb = 4,
  OffRoute = 5
};

struct Intersection {
  IntersectionType type = IntersectionType::Named;
  Ident ident;
  Ident region;
  Position position;
  std::vector<Route> routes;
};

struct AirwayPoint {
  Ident ident;
  Ident region;
  Single minimum_altitude_m = 0.0;  // of the leg arriving at this point
};

// A whole airway as a list of intersections (the FS2002 form); FS2004
// spreads it over the routes of its intersections (AttachRoutes).
struct Airway {
  std::string name;
  RouteLevel level = RouteLevel::Victor;
  std::vector<AirwayPoint> points;
};

// Adds to every intersection the routes of the airways that pass through
// it (matched by region and ident text), in airway order.
void AttachRoutes(std::vector<Intersection>& intersections, const std::vector<Airway>& airways);

// ------------------------------------------------------------- airspaces

// FS2004 boundary types.
// clang-format off
enum class BoundaryType : std::uint8_t {
  None = 0, Centre = 1, ClassA = 2, ClassB = 3, ClassC = 4, ClassD = 5, ClassE = 6,
  ClassF = 7, ClassG = 8, Tower = 9, Clearance = 10, Ground = 11, Departure = 12,
  Approach = 13, Moa = 14, Restricted = 15, Prohibited = 16, Warning = 17, Alert = 18,
  Danger = 19, NationalPark = 20, ModeC = 21, Radar = 22, Training = 23,
};

enum class BoundaryPointType : std::uint8_t {
  Start = 1, Line = 2, Origin = 3, ArcClockwise = 4, ArcCounterClockwise = 5, Circle = 6,
};
// clang-format on

struct BoundaryPoint {
  BoundaryPointType type = BoundaryPointType::Line;
  std::uint8_t origin_index = 0;  // arcs and circles: which origin of this outline
  Position position;              // a circle stores only the latitude
  Single radius_m = 0.0;          // circles: stored in place of the longitude
};

struct Boundary {
  BoundaryType type = BoundaryType::ClassC;
  Position corner_a;  // north-west corner of the bounding box
  Position corner_b;  // south-east corner
  double lower_altitude_m = 0.0;
  double upper_altitude_m = 0.0;
  std::optional<std::string> name;
  std::vector<std::vector<BoundaryPoint>> outlines;  // one points sub-record each
};

// ---------------------------------------------------------------- bundles

// Everything one group of scenery files holds.
struct SceneryContent {
  std::vector<Airport> airports;
  std::vector<FuelTrigger> fuel_triggers;
  std::vector<Vor> vors;
  std::vector<Ils> ilss;
  std::vector<Ndb> ndbs;
  std::vector<Marker> markers;
  std::vector<Intersection> intersections;  // with their routes attached
  std::vector<Airway> airways;              // the same airways, whole
  std::vector<Boundary> boundaries;
};

}  // namespace tarnvale::fab
