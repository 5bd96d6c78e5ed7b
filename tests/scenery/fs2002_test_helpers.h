// Small builders shared by the FS2002 reader tests: facility files around a
// few chunks, and reading built bytes straight into a database.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "scenery/byte_cursor.h"
#include "scenery/fs2002_readers.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2002_writer.h"
#include "sceneryfab/model.h"

namespace tarnvale::testing {

// One airport entry named `name` (no NUL) whose data block holds `chunks`.
inline fab::Fs2002AirportEntry Fs2002Entry(std::vector<fab::Fs2002Chunk> chunks,
                                           std::string_view name = "") {
  fab::Fs2002AirportEntry entry;
  entry.name.assign(name.begin(), name.end());
  entry.chunks = std::move(chunks);
  return entry;
}

// A facility file whose airport chain holds one list of `entries`.
inline fab::Bytes Fs2002AirportFile(std::vector<fab::Fs2002AirportEntry> entries) {
  fab::Fs2002FacilityFile file;
  file.airport_chain.push_back(fab::Fs2002AirportList{std::move(entries), std::nullopt});
  return fab::BuildFs2002FacilityFile(file);
}

// A facility file with one airport whose data block holds `chunks`.
inline fab::Bytes Fs2002AirportFile(std::vector<fab::Fs2002Chunk> chunks) {
  return Fs2002AirportFile({Fs2002Entry(std::move(chunks))});
}

// A facility file whose navigation chain is `chain`.
inline fab::Bytes Fs2002NavigationFile(std::vector<fab::Fs2002ChainItem> chain) {
  fab::Fs2002FacilityFile file;
  file.navigation_chain = std::move(chain);
  return fab::BuildFs2002FacilityFile(file);
}

inline Fs2002Result ReadFs2002Facility(NavDatabase& db, const fab::Bytes& bytes) {
  return ReadFs2002FacilityData(db, ByteCursor(bytes));
}

// A little of everything FS2002 scenery holds: two airports (runways with
// ILS idents, a helipad, frequencies, a ground layout), markers, VORs, ILS,
// NDBs, fixes, and victor and jet airways through them.
inline fab::SceneryContent SampleFs2002Content() {
  fab::SceneryContent content;
  fab::Airport sea;
  sea.ident = "KSEA";
  sea.name = "Seattle Tacoma Intl";
  sea.position = {47.45, -122.31};
  sea.altitude_m = 132.0;
  sea.coms = {{fab::ComType::Ground, 121900000, ""}, {fab::ComType::Tower, 119900000, ""}};
  fab::Runway runway;
  runway.centre = sea.position;
  runway.length_m = 3627.0;
  runway.width_m = 46.0;
  runway.heading_deg = 180.0;
  runway.primary = {16, fab::Designator::Left, "ISNQ"};
  runway.secondary = {34, fab::Designator::Right, "IBEJ"};
  sea.runways = {runway};
  runway.primary = {16, fab::Designator::Center, ""};
  runway.secondary = {34, fab::Designator::Center, ""};
  sea.runways.push_back(runway);
  fab::Start helipad;
  helipad.type = fab::StartType::Helipad;
  helipad.position = {47.452, -122.30};
  sea.starts = {helipad};
  sea.taxiway_points = {{1, {47.451, -122.311}}, {2, {47.449, -122.309}}};
  fab::Parking parking;
  parking.name_code = 5;
  parking.type = 2;
  parking.number = 12;
  parking.radius_m = 15.0;
  parking.position = {47.4505, -122.305};
  sea.parkings = {parking};
  sea.taxiway_paths = {{0, 1, 1, 0, 20.0}};
  sea.taxiway_names = {"A", "B12"};
  fab::Airport bfi;
  bfi.ident = "KBFI";
  bfi.name = "Boeing Field";
  bfi.position = {47.53, -122.30};
  bfi.runways = {runway};
  content.airports = {sea, bfi};

  fab::Marker outer;
  outer.position = {47.2, -122.31};
  fab::Marker middle = outer;
  middle.type = fab::MarkerType::Middle;
  middle.position = {47.53, -122.29};
  content.markers = {outer, middle};

  fab::Vor vor;
  vor.ident = "SEA";
  vor.name = "SEATTLE";
  vor.position = {47.43, -122.31};
  vor.frequency_hz = 116800000;
  vor.range_m = 60 * 1852.0;
  content.vors = {vor};
  fab::Ils ils;
  ils.ident = "ISNQ";
  ils.frequency_hz = 110300000;
  ils.position = {47.43, -122.31};
  fab::Ils ils2 = ils;
  ils2.ident = "IBEJ";
  content.ilss = {ils, ils2};
  fab::Ndb ndb;
  ndb.ident = "OS";
  ndb.name = "OSHKOSH";
  ndb.frequency_hz = 335400;
  ndb.range_m = 50 * 1852.0;
  content.ndbs = {ndb, ndb};

  for (const char* ident : {"ALPHA", "BRAVO", "CHARL"}) {
    fab::Intersection fix;
    fix.ident = ident;
    fix.position = {47.0 + content.intersections.size(), -122.0};
    content.intersections.push_back(fix);
  }
  content.airways = {{"V23", fab::RouteLevel::Victor, {{"ALPHA", {}, 0.0}, {"BRAVO", {}, 3048.0}}},
                     {"J5", fab::RouteLevel::Jet, {{"BRAVO", {}, 0.0}, {"CHARL", {}, 0.0}}},
                     {"B1", fab::RouteLevel::Both, {{"ALPHA", {}, 0.0}}}};
  return content;
}

}  // namespace tarnvale::testing
