// One FS2004 record of every kind, loaded through the scenery builder's files, and the records
// counted per kind.

#include "fs2004_test_support.h"

namespace tarnvale::testing {

// One record of every kind the FS2004 decoders read.
fab::SceneryContent OneOfEach() {
  fab::SceneryContent content;
  fab::Airport airport;
  airport.ident = "LOWI";
  airport.region = "LO";
  airport.name = "Innsbruck";
  airport.position = {47.26, 11.34};
  fab::Runway runway;
  runway.centre = {47.26, 11.35};
  runway.length_m = 2000.0;
  runway.width_m = 45.0;
  runway.heading_deg = 260.0;
  runway.primary = {26, fab::Designator::None, "OEV"};
  runway.secondary = {8, fab::Designator::None, ""};
  airport.runways = {runway};
  airport.starts = {
      {1, fab::Designator::None, fab::StartType::Helipad, {47.261, 11.341}, 580.0, 90.0}};
  airport.coms = {{fab::ComType::Tower, 120100000, "TWR"},
                  {fab::ComType::Ground, 121800000, "GND"}};
  airport.taxiway_points = {{1, {47.26, 11.34}}, {2, {47.261, 11.342}}};
  airport.parkings = {{3, 4, 12, 20.0, 0.0, {47.262, 11.343}, {"AUA"}}};
  airport.taxiway_paths = {{0, 1, 1, 0, 15.0}};
  airport.taxiway_names = {"A"};
  content.airports = {airport};
  content.fuel_triggers = {{{47.262, 11.344}, 580.0, fab::kRefuelTrigger, 0x00000C05}};
  fab::Vor vor;
  vor.ident = "INN";
  vor.name = "Innsbruck";
  vor.position = {47.22, 11.4};
  vor.frequency_hz = 111850000;
  vor.range_m = 92600.0;
  content.vors = {vor};
  fab::Ils ils;
  ils.ident = "OEV";
  ils.position = {47.25, 11.3};
  ils.frequency_hz = 109700000;
  content.ilss = {ils};
  fab::Ndb ndb;
  ndb.ident = "RTT";
  ndb.name = "Rattenberg";
  ndb.position = {47.43, 11.94};
  ndb.frequency_hz = 303000;
  content.ndbs = {ndb};
  fab::Marker marker;
  marker.position = {47.3, 11.2};
  content.markers = {marker};
  fab::Intersection waypoint;
  waypoint.ident = "NORIN";
  waypoint.region = "LO";
  waypoint.position = {47.5, 11.5};
  waypoint.routes = {{fab::RouteLevel::Both, "Y108", fab::RouteNeighbour{"KPT", "LO", 3000.0},
                      fab::RouteNeighbour{"BRENO", "LI", 4000.0}}};
  content.intersections = {waypoint};
  fab::Boundary boundary;
  boundary.type = fab::BoundaryType::ClassD;
  boundary.corner_a = {47.4, 11.1};
  boundary.corner_b = {47.1, 11.6};
  boundary.name = "INNSBRUCK CTR";
  boundary.outlines = {{{fab::BoundaryPointType::Origin, 0, {47.26, 11.34}, 0.0},
                        {fab::BoundaryPointType::Start, 0, {47.3, 11.2}, 0.0},
                        {fab::BoundaryPointType::Line, 0, {47.2, 11.5}, 0.0},
                        {fab::BoundaryPointType::ArcClockwise, 0, {47.3, 11.2}, 0.0},
                        {fab::BoundaryPointType::Circle, 0, {0, 0}, 9000.0}}};
  content.boundaries = {boundary};
  return content;
}

std::map<std::string, std::size_t> Counts(const NavDatabase& db) {
  std::map<std::string, std::size_t> counts = {
      {"airports", db.Airports.size()},
      {"fuel_areas", db.FuelAreas.size()},
      {"vors", db.Vors.size()},
      {"ilss", db.Ilss.size()},
      {"ndbs", db.Ndbs.size()},
      {"markers", db.Markers.size()},
      {"fixes", db.Fixes.size()},
      {"victor_airways", db.VictorAirways.size()},
      {"jet_airways", db.JetAirways.size()},
      {"airspaces", db.Airspaces.size()},
      {"runways", 0},
      {"taxiway_points", 0},
      {"taxiway_paths", 0},
      {"parkings", 0},
      {"taxi_names", 0},
  };
  for (const AirportRecord& airport : db.Airports) {
    counts["runways"] += airport.Runways.size();
    counts["taxiway_points"] += airport.TaxiwayPoints.size();
    counts["taxiway_paths"] += airport.TaxiwayPaths.size();
    counts["parkings"] += airport.Parkings.size();
    counts["taxi_names"] += airport.TaxiNames.size();
  }
  return counts;
}

}  // namespace tarnvale::testing
