// The sample installation's content: two airports, two ILS, VORs, NDBs, markers, three
// intersections on a victor and a jet airway, and for FS2004 a fuel trigger and airspaces.

#include "e2e/sample_scenery.h"

#include <utility>

#include "sceneryfab/fs2002_format.h"
#include "sceneryfab/installation_writer.h"
#include "sceneryfab/scenery_format.h"

namespace tarnvale::e2e {

namespace {

fab::Com ComOf(fab::ComType type, std::uint32_t hz) { return {type, hz, ""}; }

fab::Runway RunwayOf(const fab::Airport& airport, double length_m, double width_m,
                     double heading_deg, fab::RunwayEnd primary, fab::RunwayEnd secondary) {
  return {airport.position,   airport.altitude_m,  length_m, width_m, heading_deg, 0,
          std::move(primary), std::move(secondary)};
}

fab::Airport AlphaField() {
  fab::Airport airport;
  airport.ident = "KAAA";
  airport.region = "K1";
  airport.name = "Alpha Field";
  airport.position = {45.0, -120.0};
  airport.altitude_m = 100.0;
  airport.coms = {ComOf(fab::ComType::Atis, 127'000'000), ComOf(fab::ComType::Ground, 121'900'000),
                  ComOf(fab::ComType::Tower, 118'300'000)};
  airport.runways = {RunwayOf(airport, 2000.0, 45.0, 90.0, {9, fab::Designator::Left, "IAAA"},
                              {27, fab::Designator::Right, ""})};
  fab::Start runway_start{
      9, fab::Designator::Left, fab::StartType::Runway, {45.0, -120.01}, 100.0, 90.0};
  fab::Start helipad{2,   fab::Designator::None, fab::StartType::Helipad, {45.01, -120.01}, 101.0,
                     45.0};
  airport.starts = {runway_start, helipad};
  return airport;
}

// Taxiway points north-west of, on and south-east of the reference point,
// and a parking further out; FS2002 keeps them as offsets from it.
void AddGroundLayout(fab::Airport& airport) {
  airport.taxiway_points = {{1, {45.501, -119.501}},
                            {2, {45.502, -119.502}},
                            {1, {45.5, -119.5}},
                            {1, {45.499, -119.498}}};
  // Name code 5, type 3, number 12, radius 20 m, one airline code.
  airport.parkings = {{5, 3, 12, 20.0, 0.0, {45.503, -119.503}, {"ABCD"}}};
  airport.taxiway_paths = {{0, 1, 2, 1, 15.0}};
  airport.taxiway_names = {"ALPHA", "BRAVOCHA"};
}

fab::Airport BravoStrip() {
  fab::Airport airport;
  airport.ident = "KBBB";
  airport.region = "K1";
  airport.position = {45.5, -119.5};
  airport.altitude_m = 250.0;
  airport.runways = {RunwayOf(airport, 250.0, 30.0, 180.0, {18, fab::Designator::None, ""},
                              {36, fab::Designator::None, "IBBB"})};
  AddGroundLayout(airport);
  return airport;
}

fab::Ils IlsOf(const char* ident, fab::Position position, std::uint32_t hz, const char* airport,
               int runway) {
  fab::Ils ils;
  ils.ident = ident;
  ils.region = "K1";
  ils.position = position;
  ils.frequency_hz = hz;
  ils.range_m = 50000.0;
  ils.heading_deg = 90.0;
  ils.runway_number = runway;
  ils.airport = airport;
  return ils;
}

template <typename Beacon>
Beacon BeaconOf(const char* ident, std::optional<std::string> name, fab::Position position,
                std::uint32_t hz, double range_m) {
  Beacon beacon;
  beacon.ident = ident;
  beacon.region = "K1";
  beacon.name = std::move(name);
  beacon.position = position;
  beacon.frequency_hz = hz;
  beacon.range_m = range_m;
  return beacon;
}

fab::Marker MarkerOf(fab::MarkerType type, fab::Position position) {
  fab::Marker marker;
  marker.type = type;
  marker.ident = "AA";
  marker.region = "K1";
  marker.position = position;
  return marker;
}

fab::Intersection IntersectionOf(const char* ident, fab::Position position) {
  fab::Intersection intersection;
  intersection.ident = ident;
  intersection.region = "K1";
  intersection.position = position;
  return intersection;
}

fab::AirwayPoint PointOf(const char* ident, double minimum_altitude_m) {
  return {ident, "K1", minimum_altitude_m};
}

fab::BoundaryPoint Vertex(fab::BoundaryPointType type, fab::Position position) {
  return {type, 0, position, 0.0};
}

std::vector<fab::Boundary> Airspaces() {
  using enum fab::BoundaryPointType;
  fab::Boundary class_c;
  class_c.type = fab::BoundaryType::ClassC;
  class_c.corner_a = {46.0, -121.0};
  class_c.corner_b = {45.5, -120.5};
  class_c.upper_altitude_m = 3048.0;
  class_c.name = "PORTLAND C";
  class_c.outlines = {{Vertex(Start, {45.9, -120.9}), Vertex(Line, {45.9, -120.6}),
                       Vertex(Origin, {45.7, -120.75}), Vertex(ArcClockwise, {45.6, -120.6})}};
  fab::Boundary restricted;
  restricted.type = fab::BoundaryType::Restricted;
  restricted.corner_a = {44.9, -120.2};
  restricted.corner_b = {44.8, -120.1};
  restricted.lower_altitude_m = 304.8;
  restricted.upper_altitude_m = 1524.0;
  restricted.outlines = {{Vertex(Origin, {44.85, -120.15}), {Circle, 0, {44.85, 0.0}, 5000.0}}};
  return {class_c, restricted};
}

}  // namespace

fab::SceneryContent SampleContent(FsVersion fs_version) {
  fab::SceneryContent content;
  content.airports = {AlphaField(), BravoStrip()};
  content.ilss = {IlsOf("IAAA", {45.0, -120.012}, 110'300'000, "KAAA", 9),
                  IlsOf("IBBB", {46.0, -119.5}, 111'100'000, "KBBB", 36)};
  content.vors = {BeaconOf<fab::Vor>("AVR", "ALPHA", {45.2, -120.3}, 113'900'000, 370400.0),
                  BeaconOf<fab::Vor>("BVR", std::nullopt, {44.8, -119.7}, 116'000'000, 50004.0)};
  content.ndbs = {BeaconOf<fab::Ndb>("ND", "NORTH", {45.3, -119.9}, 335'400, 92600.0),
                  BeaconOf<fab::Ndb>("SD", std::nullopt, {44.7, -120.4}, 256'400, 42596.0)};
  content.markers = {MarkerOf(fab::MarkerType::Outer, {45.0, -120.05}),
                     MarkerOf(fab::MarkerType::Middle, {45.0, -120.03})};
  content.intersections = {IntersectionOf("ALPHA", {45.1, -120.2}),
                           IntersectionOf("BRAVO", {45.2, -120.0}),
                           IntersectionOf("CHARL", {45.3, -119.8})};
  content.airways = {
      {"V1",
       fab::RouteLevel::Victor,
       {PointOf("ALPHA", 0.0), PointOf("BRAVO", 1524.0), PointOf("CHARL", 1828.8)}},
      {"J5", fab::RouteLevel::Jet, {PointOf("ALPHA", 0.0), PointOf("CHARL", 5486.4)}}};
  fab::AttachRoutes(content.intersections, content.airways);
  if (fs_version == FsVersion::Fs2004) {
    content.fuel_triggers = {{{45.001, -120.001},
                              100.0,
                              fab::kRefuelTrigger,
                              fab::FuelGrade(1, 3) | fab::FuelGrade(5, 2)}};
    content.boundaries = Airspaces();
  }
  return content;
}

std::filesystem::path WriteSampleInstallation(const std::filesystem::path& root,
                                              FsVersion fs_version) {
  fab::Installation installation(root, fs_version);
  const std::filesystem::path folder = installation.AddArea({"Sample", "Scenery\\Sample"});
  installation.WriteSceneryCfg();
  const fab::SceneryFormat format =
      fs_version == FsVersion::Fs2004 ? fab::Fs2004Format() : fab::Fs2002Format();
  format.write_content(SampleContent(fs_version), folder, "SAMPLE");
  return root / fab::MagdecRelativePath(fs_version);
}

}  // namespace tarnvale::e2e
