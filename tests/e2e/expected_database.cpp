// The database files a run over the sample installation must write, computed field by field from
// the sample's values through each simulator's file words.

#include "e2e/expected_database.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "e2e/sample_scenery.h"
#include "e2e/unit_rules.h"
#include "output/le_bytes.h"
#include "sceneryfab/fs2002_writer.h"
#include "sceneryfab/fs2004_encoding.h"

namespace tarnvale::e2e {

namespace {

using testing::LeBytes;

struct Degrees {
  double latitude = 0.0;
  double longitude = 0.0;
};

std::int32_t SignExtended24(long long word) {
  const auto low = static_cast<std::int32_t>(word & 0xFFFFFF);
  return (low & 0x800000) ? low - 0x1000000 : low;
}

std::int16_t NormalizedHeading(int heading) {
  return static_cast<std::int16_t>(heading > 360 ? heading - 360
                                                 : (heading < 0 ? heading + 360 : heading));
}

// How the values of the sample reach the database from the files the
// builder writes for one simulator version.
class Reading {
 public:
  explicit Reading(FsVersion fs_version) : fs2004_(fs_version == FsVersion::Fs2004) {}

  bool Fs2004() const { return fs2004_; }

  // FS2004: the raw words decoded; FS2002: the scaled words of runway
  // centres and markers taken back to degrees.
  Degrees ScaledDegrees(fab::Position p) const {
    if (fs2004_) {
      return {Fs2004Latitude(fab::EncodeFs2004Latitude(p.latitude)),
              Fs2004Longitude(fab::EncodeFs2004Longitude(p.longitude))};
    }
    return {fab::Fs2002LatitudeWord(p.latitude) * 8.998425275576774e-6,
            fab::Fs2002LongitudeWord(p.longitude) * 8.381903171539307e-8};
  }
  Units Scaled(fab::Position p) const {
    const Degrees d = ScaledDegrees(p);
    return UnitsOf(d.latitude, d.longitude);
  }
  // Airport reference points and fixes: FS2002 words are copied as they stand.
  Units Reference(fab::Position p) const {
    if (fs2004_) return Scaled(p);
    return {fab::Fs2002LatitudeWord(p.latitude), fab::Fs2002LongitudeWord(p.longitude)};
  }
  // VOR, ILS and NDB: FS2002 keeps them as 24-bit words (rounded by the builder).
  Units Navaid(fab::Position p) const {
    if (fs2004_) return Scaled(p);
    const std::int32_t a = SignExtended24(std::llround(p.latitude * 5000875.0 / 90.0));
    const std::int32_t o = SignExtended24(std::llround(p.longitude / 360.0 * 16777216.0));
    return UnitsOf(a * 90.0 / 5000875, o / 16777216.0 * 360);
  }
  // FS2004 millimetres; FS2002 whole metres.
  std::int32_t AltitudeFeet(double metres) const {
    if (fs2004_) return WholeFeet(Fs2004Metres(fab::EncodeFs2004Altitude(metres)));
    return WholeFeet(static_cast<double>(std::llround(metres)));
  }
  // FS2002 frequencies are taken to the exact whole hertz they stand for
  // (packed decimal in units of 100 Hz; a channel's 108 MHz + 50 kHz steps;
  // an NDB's kHz and tenths), where arithmetic in double precision would
  // leave some a hertz low (256.4 kHz as 256399 Hz).
  std::int32_t ComHz(std::uint32_t hz) const {
    return static_cast<std::int32_t>(fs2004_ ? hz : hz / 100 * 100);
  }
  std::int32_t ChannelHz(std::uint32_t hz) const {
    if (fs2004_) return static_cast<std::int32_t>(hz);
    const std::uint32_t channel = (hz - 108'000'000 + 25'000) / 50'000;
    return static_cast<std::int32_t>(108'000'000 + 50'000 * channel);
  }
  std::int32_t NdbHz(std::uint32_t hz) const {
    return static_cast<std::int32_t>(fs2004_ ? hz : hz / 100 * 100);
  }
  std::string FixKey(const fab::Ident& region, const fab::Ident& ident) const {
    return fs2004_ ? region.text + ident.text : ident.text;
  }
  // FS2004: metres to feet; FS2002: whole feet written by the builder, carried unconverted.
  std::int32_t AirwayAltitudeFeet(fab::Single metres) const {
    if (fs2004_) return WholeFeet(metres.Value());
    return static_cast<std::int32_t>(std::llround(metres.Value() / 0.3048));
  }

 private:
  bool fs2004_;
};

// ------------------------------------------------------------ airports

struct RunwayRow {
  Units centre;
  std::int32_t altitude_feet = 0;
  Units primary_end;
  Units secondary_end;
  bool helipad = false;
  std::int16_t heading = 0;
  std::int16_t opposite = 0;
  std::int32_t length_feet = 0;
  std::int32_t width_feet = 0;
  std::int32_t primary_ils_hz = 0;
  std::int32_t secondary_ils_hz = 0;
  std::string primary_ils, secondary_ils, primary_designation, secondary_designation;
};

LeBytes& PutUnits(LeBytes& out, Units units) {
  return out.I32(units.latitude).I32(units.longitude);
}

LeBytes RunwayBytes(const RunwayRow& r) {
  LeBytes out;
  PutUnits(out, r.centre).I32(r.altitude_feet);
  PutUnits(out, r.primary_end);
  PutUnits(out, r.secondary_end).U8(0).U8(r.helipad ? 1 : 0).I16(r.heading).I16(r.opposite);
  out.I32(r.length_feet).I32(r.width_feet).I32(r.primary_ils_hz).I32(r.secondary_ils_hz);
  out.Text(r.primary_ils, 6).Text(r.secondary_ils, 6);
  return out.Text(r.primary_designation, 5).Text(r.secondary_designation, 5);
}

std::string Letter(fab::Designator designator) {
  static const char* const kLetters[] = {"", "L", "R", "C", "W"};
  const auto code = static_cast<unsigned>(designator);
  return code < 5 ? kLetters[code] : "";
}

RunwayRow Fs2004Runway(const Reading& reading, const fab::Runway& runway) {
  RunwayRow row;
  const Degrees centre = reading.ScaledDegrees(runway.centre);
  row.centre = UnitsOf(centre.latitude, centre.longitude);
  row.altitude_feet = reading.AltitudeFeet(runway.altitude_m);
  row.heading = static_cast<std::int16_t>(Truncate(runway.heading_deg.Value()));
  row.opposite = NormalizedHeading(row.heading - 180);
  const RunwayEnds ends =
      RunwayEndPoints(centre.latitude, centre.longitude, row.heading,
                      static_cast<std::uint32_t>(Truncate(runway.length_m.Value())));
  row.primary_end = ends.primary;
  row.secondary_end = ends.secondary;
  row.length_feet = WholeFeet(runway.length_m.Value());
  row.width_feet = WholeFeet(runway.width_m.Value());
  row.primary_ils = runway.primary.ils_ident.text;
  row.secondary_ils = runway.secondary.ils_ident.text;
  row.primary_designation =
      std::to_string(runway.primary.number) + Letter(runway.primary.designator);
  row.secondary_designation =
      std::to_string(runway.secondary.number) + Letter(runway.secondary.designator);
  return row;
}

// The far end of a left runway is the right one, and the other way round.
fab::Designator MirroredDesignator(fab::Designator designator) {
  if (designator == fab::Designator::Left) return fab::Designator::Right;
  if (designator == fab::Designator::Right) return fab::Designator::Left;
  return designator;
}

// FS2002 runways carry whole feet and a 16-bit heading; the opposite end's
// number and letter follow from the primary end.
RunwayRow Fs2002Runway(const Reading& reading, const fab::Runway& runway, bool helipad) {
  RunwayRow row;
  const Degrees centre = reading.ScaledDegrees(runway.centre);
  row.centre = UnitsOf(centre.latitude, centre.longitude);
  row.altitude_feet = reading.AltitudeFeet(runway.altitude_m);
  const long long turn = std::llround(runway.heading_deg.Value() * 65536.0 / 360.0) & 0xFFFF;
  row.heading = NormalizedHeading(static_cast<int>(turn * 360 / 65536));
  row.opposite = NormalizedHeading(row.heading - 180);
  row.length_feet = static_cast<std::int32_t>(std::llround(runway.length_m.Value() / 0.3048));
  row.width_feet = static_cast<std::int32_t>(std::llround(runway.width_m.Value() / 0.3048));
  const auto length_m = static_cast<std::uint32_t>(Truncate(row.length_feet * 0.3048));
  const RunwayEnds ends = RunwayEndPoints(centre.latitude, centre.longitude, row.heading, length_m);
  row.primary_end = ends.primary;
  row.secondary_end = ends.secondary;
  row.helipad = helipad;
  row.primary_ils = runway.primary.ils_ident.text;
  row.secondary_ils = runway.secondary.ils_ident.text;
  const int number = runway.primary.number;
  const int opposite = number + 18 > 36 ? number + 18 - 36 : number + 18;
  const std::string primary_letter = helipad ? "H" : Letter(runway.primary.designator);
  const std::string secondary_letter =
      helipad ? "H" : Letter(MirroredDesignator(runway.primary.designator));
  row.primary_designation = std::to_string(number) + primary_letter;
  row.secondary_designation = std::to_string(opposite) + secondary_letter;
  return row;
}

// FS2004 keeps only the position, altitude, heading and number of a helipad;
// FS2002 stores it as a runway of designator "helipad" and no length.
RunwayRow Helipad(const Reading& reading, const fab::Start& start) {
  if (!reading.Fs2004()) {
    fab::Runway as_runway;
    as_runway.centre = start.position;
    as_runway.altitude_m = start.altitude_m;
    as_runway.heading_deg = start.heading_deg;
    as_runway.primary.number = start.runway_number;
    return Fs2002Runway(reading, as_runway, true);
  }
  RunwayRow row;
  row.centre = reading.Scaled(start.position);
  row.altitude_feet = reading.AltitudeFeet(start.altitude_m);
  row.helipad = true;
  row.heading = static_cast<std::int16_t>(Truncate(start.heading_deg.Value()));
  row.primary_designation = std::to_string(start.runway_number) + "H";
  return row;
}

std::vector<RunwayRow> RunwaysOf(const Reading& reading, const fab::Airport& airport) {
  std::vector<RunwayRow> rows;
  for (const fab::Runway& runway : airport.runways) {
    rows.push_back(reading.Fs2004() ? Fs2004Runway(reading, runway)
                                    : Fs2002Runway(reading, runway, false));
  }
  for (const fab::Start& start : airport.starts) {
    if (start.type == fab::StartType::Helipad) rows.push_back(Helipad(reading, start));
  }
  return rows;
}

struct LayoutPositions {
  std::vector<Units> points;
  std::vector<Units> parkings;
};

// One offset of an FS2002 ground layout: the longitude moved along the
// great circle due east or west of the reference point, the latitude along
// the meridian.
Units OffsetPosition(Degrees reference, fab::Single east_m, fab::Single north_m) {
  const double east = east_m.Value();
  const double north = north_m.Value();
  const double lat = reference.latitude;
  const double lon = reference.longitude;
  const std::int32_t longitude = east > 0   ? DestinationPointMetres(lat, lon, 90, east).longitude
                                 : east < 0 ? DestinationPointMetres(lat, lon, 270, east).longitude
                                            : LongitudeUnits(lon);
  const std::int32_t latitude = north > 0   ? DestinationPointMetres(lat, lon, 0, north).latitude
                                : north < 0 ? DestinationPointMetres(lat, lon, 180, north).latitude
                                            : LatitudeUnits(lat);
  return {latitude, longitude};
}

// FS2004 gives taxiway points and parkings their own positions; FS2002 gives
// offsets from the reference point (as the builder computes them).
LayoutPositions PositionsOf(const Reading& reading, const fab::Airport& airport) {
  LayoutPositions positions;
  if (reading.Fs2004()) {
    for (const fab::TaxiwayPoint& point : airport.taxiway_points)
      positions.points.push_back(reading.Scaled(point.position));
    for (const fab::Parking& parking : airport.parkings)
      positions.parkings.push_back(reading.Scaled(parking.position));
    return positions;
  }
  const Degrees reference{
      fab::Fs2002LatitudeWord(airport.position.latitude) * 90.0 / 10001750,
      fab::Fs2002LongitudeWord(airport.position.longitude) * 360.0 / 4294967296.0};
  for (const fab::Fs2002Group& group : fab::Fs2002GroundLayoutOf(airport)) {
    if (const auto* points = std::get_if<std::vector<fab::Fs2002TaxiwayPoint>>(&group.elements)) {
      for (const auto& p : *points)
        positions.points.push_back(OffsetPosition(reference, p.east_m, p.north_m));
    }
    if (const auto* parkings = std::get_if<std::vector<fab::Fs2002Parking>>(&group.elements)) {
      for (const auto& p : *parkings)
        positions.parkings.push_back(OffsetPosition(reference, p.east_m, p.north_m));
    }
  }
  return positions;
}

// Point, path and parking codes of the sample read back the same from both
// versions' files.
LeBytes GroundLayoutBytes(const Reading& reading, const fab::Airport& airport) {
  const LayoutPositions positions = PositionsOf(reading, airport);
  LeBytes out;
  out.U32(static_cast<std::uint32_t>(airport.taxiway_points.size()));
  for (std::size_t i = 0; i < airport.taxiway_points.size(); ++i) {
    PutUnits(out.U8(airport.taxiway_points[i].type), positions.points[i]);
  }
  out.U32(static_cast<std::uint32_t>(airport.taxiway_paths.size()));
  for (const fab::TaxiwayPath& path : airport.taxiway_paths) {
    out.I32(path.type).I32(path.start_point).I32(path.end_point).I32(path.name_index);
  }
  out.U32(static_cast<std::uint32_t>(airport.parkings.size()));
  for (std::size_t i = 0; i < airport.parkings.size(); ++i) {
    const fab::Parking& parking = airport.parkings[i];
    out.U8(parking.type).I16(static_cast<std::int16_t>(parking.number)).U8(parking.name_code);
    PutUnits(out, positions.parkings[i]).I32(WholeFeet(parking.radius_m.Value()));
  }
  out.U32(static_cast<std::uint32_t>(airport.taxiway_names.size()));
  for (const std::string& name : airport.taxiway_names) out.Text(name, 8);
  return out;
}

// A text with its NUL, preceded by its u16 length (0 and nothing for none).
LeBytes& PutCountedName(LeBytes& out, const std::optional<std::string>& name) {
  if (!name) return out.U16(0);
  return out.U16(static_cast<std::uint16_t>(name->size() + 1)).Text(*name, name->size() + 1);
}

std::uint32_t ComFrequency(const fab::Airport& airport, fab::ComType type) {
  for (const fab::Com& com : airport.coms) {
    if (com.type == type) return com.frequency_hz;
  }
  return 0;
}

LeBytes AirportBytes(const Reading& reading, const fab::Airport& airport,
                     const std::vector<RunwayRow>& runways) {
  const LeBytes layout = GroundLayoutBytes(reading, airport);
  const std::size_t name_length = airport.name ? airport.name->size() + 1 : 0;
  const std::size_t file_size = 55 + name_length + 72 * runways.size() +
                                9 * airport.taxiway_points.size() +
                                16 * airport.taxiway_paths.size() + 16 * airport.parkings.size() +
                                8 * airport.taxiway_names.size();
  const std::uint32_t ground = ComFrequency(airport, fab::ComType::Ground);
  const std::uint32_t tower = ComFrequency(airport, fab::ComType::Tower);
  LeBytes out;
  out.U8(1).U32(static_cast<std::uint32_t>(file_size)).U8(ground || tower ? 1 : 0);
  PutCountedName(out, airport.name).Text(airport.ident.text, 6).U8(0);
  PutUnits(out, reading.Reference(airport.position)).I32(reading.AltitudeFeet(airport.altitude_m));
  out.I32(ground ? reading.ComHz(ground) : 0).I32(tower ? reading.ComHz(tower) : 0);
  out.U32(static_cast<std::uint32_t>(runways.size()));
  for (const RunwayRow& runway : runways) out.Append(RunwayBytes(runway));
  return out.Append(layout);
}

// Binding: the ILS IAAA lies half a mile from Alpha Field's runway and gives
// its primary end a frequency; IBBB lies 30 miles from Bravo Strip and binds
// nowhere.
LeBytes AirportsFile(const Reading& reading, const fab::SceneryContent& content) {
  std::vector<RunwayRow> alpha = RunwaysOf(reading, content.airports[0]);
  alpha[0].primary_ils_hz = reading.ChannelHz(content.ilss[0].frequency_hz);
  return AirportBytes(reading, content.airports[0], alpha)
      .Append(AirportBytes(reading, content.airports[1], RunwaysOf(reading, content.airports[1])));
}

// ------------------------------------------------------------ navaids

LeBytes BeaconBytes(std::uint8_t kind, Units position, const fab::RadioBeacon& beacon,
                    std::int32_t hz) {
  const std::size_t name_length = beacon.name ? beacon.name->size() + 1 : 0;
  LeBytes out;
  PutUnits(out.U8(kind).U32(static_cast<std::uint32_t>(26 + name_length)), position);
  PutCountedName(out, beacon.name).Text(beacon.ident.text, 6).I32(hz);
  return out.U8(static_cast<std::uint8_t>(Truncate(beacon.range_m.Value() / 1852)));
}

// The builder's FS2002 range codes and classes stand for exactly the
// sample's ranges (200 and 27 NM; 50 and 23 NM).
LeBytes NavaidsFile(const Reading& reading, const fab::SceneryContent& content) {
  LeBytes out;
  for (const fab::Vor& vor : content.vors) {
    out.Append(
        BeaconBytes(4, reading.Navaid(vor.position), vor, reading.ChannelHz(vor.frequency_hz)));
  }
  for (const fab::Ndb& ndb : content.ndbs) {
    out.Append(BeaconBytes(5, reading.Navaid(ndb.position), ndb, reading.NdbHz(ndb.frequency_hz)));
  }
  return out;
}

LeBytes MarkersFile(const Reading& reading, const fab::SceneryContent& content) {
  LeBytes out;
  for (const fab::Marker& marker : content.markers) {
    PutUnits(out.U8(3).U32(14).U8(static_cast<std::uint8_t>(marker.type)),
             reading.Scaled(marker.position));
  }
  return out;
}

// ------------------------------------------------------------ fixes, airways

LeBytes FixesFile(const Reading& reading, const fab::SceneryContent& content) {
  LeBytes out;
  for (const fab::Intersection& fix : content.intersections) {
    PutUnits(out.U8(6).U32(22), reading.Reference(fix.position))
        .Text(reading.FixKey(fix.region, fix.ident), 9);
  }
  return out;
}

struct PointRow {
  const fab::AirwayPoint* point;
  std::int32_t altitude_feet;
};

// Points are bound to the fix of the same key.
LeBytes AirwayBytes(const Reading& reading, const fab::SceneryContent& content, std::uint8_t kind,
                    const std::string& name, const std::vector<PointRow>& points) {
  LeBytes out;
  out.U8(kind).U32(static_cast<std::uint32_t>(18 + 21 * points.size())).Text(name, 9);
  out.U32(static_cast<std::uint32_t>(points.size()));
  for (const PointRow& row : points) {
    for (const fab::Intersection& fix : content.intersections) {
      if (fix.ident.text == row.point->ident.text) PutUnits(out, reading.Reference(fix.position));
    }
    out.I32(row.altitude_feet).Text(reading.FixKey(row.point->region, row.point->ident), 9);
  }
  return out;
}

// FS2002 keeps each airway whole.
LeBytes Fs2002AirwaysFile(const Reading& reading, const fab::SceneryContent& content,
                          fab::RouteLevel level) {
  LeBytes out;
  for (const fab::Airway& airway : content.airways) {
    if (airway.level != level) continue;
    std::vector<PointRow> rows;
    for (const fab::AirwayPoint& point : airway.points) {
      rows.push_back({&point, reading.AirwayAltitudeFeet(point.minimum_altitude_m)});
    }
    out.Append(
        AirwayBytes(reading, content, level == fab::RouteLevel::Jet ? 7 : 8, airway.name, rows));
  }
  return out;
}

// FS2004 gives one short airway per waypoint and route through it: the
// previous point (with the altitude of the leg to this one), this point
// (altitude 0) and the next point (with the altitude of the leg to it).
LeBytes Fs2004AirwaysFile(const Reading& reading, const fab::SceneryContent& content,
                          fab::RouteLevel level) {
  LeBytes out;
  for (const fab::Intersection& fix : content.intersections) {
    for (const fab::Airway& airway : content.airways) {
      for (std::size_t i = 0; i < airway.points.size(); ++i) {
        if (airway.level != level || airway.points[i].ident.text != fix.ident.text) continue;
        std::vector<PointRow> rows;
        const std::int32_t leg_in = reading.AirwayAltitudeFeet(airway.points[i].minimum_altitude_m);
        if (i > 0) rows.push_back({&airway.points[i - 1], leg_in});
        rows.push_back({&airway.points[i], 0});
        if (i + 1 < airway.points.size()) {
          rows.push_back({&airway.points[i + 1],
                          reading.AirwayAltitudeFeet(airway.points[i + 1].minimum_altitude_m)});
        }
        out.Append(AirwayBytes(reading, content, level == fab::RouteLevel::Jet ? 7 : 8, airway.name,
                               rows));
      }
    }
  }
  return out;
}

LeBytes AirwaysFile(const Reading& reading, const fab::SceneryContent& content,
                    fab::RouteLevel level) {
  return reading.Fs2004() ? Fs2004AirwaysFile(reading, content, level)
                          : Fs2002AirwaysFile(reading, content, level);
}

// ------------------------------------------------------------ FS2004 only

// The last available grade of the availability word wins.
LeBytes FuelAreasFile(const Reading& reading, const fab::SceneryContent& content) {
  LeBytes out;
  for (const fab::FuelTrigger& trigger : content.fuel_triggers) {
    std::uint8_t grade = 0;
    std::uint8_t availability = 0;
    for (std::uint8_t g = 0; g <= 12; ++g) {
      const auto code = static_cast<std::uint8_t>((trigger.fuel_availability >> (2 * g)) & 3);
      if (code) grade = g, availability = code;
    }
    PutUnits(out.U8(2).U32(15).U8(grade).U8(availability), reading.Scaled(trigger.position));
  }
  return out;
}

std::uint8_t AirspaceClass(fab::BoundaryType type) {
  switch (type) {
    case fab::BoundaryType::ClassC:
      return 12;
    case fab::BoundaryType::Restricted:
      return 17;
    default:
      return 0;  // the sample has no other kind
  }
}

struct AirspaceRow {
  Units centre;
  Units corner_a;  // corners as latitude A, latitude B, longitude A, longitude B in the file
  Units corner_b;
  LeBytes vertices;
  std::uint32_t vertex_count = 0;
};

void AddVertex(AirspaceRow& row, std::uint8_t type, Units position, std::int32_t radius_feet = 0) {
  PutUnits(row.vertices.U8(type), position).I32(radius_feet);
  ++row.vertex_count;
}

// The centre of the bounding box: half its diagonal from corner A, in whole
// miles, or in whole feet for a box under a mile across.
void PlaceBox(AirspaceRow& row, Degrees a, Degrees b) {
  row.corner_a = UnitsOf(a.latitude, a.longitude);
  row.corner_b = UnitsOf(b.latitude, b.longitude);
  const auto miles =
      static_cast<std::int16_t>(DistanceNm(a.latitude, a.longitude, b.latitude, b.longitude));
  const int course = InitialBearing(a.latitude, a.longitude, b.latitude, b.longitude);
  if (miles >= 1) {
    row.centre = DestinationPointNm(a.latitude, a.longitude, course, miles / 2);
  } else {
    const auto feet =
        static_cast<std::int16_t>(DistanceFeet(a.latitude, a.longitude, b.latitude, b.longitude));
    row.centre = DestinationPointFeet(a.latitude, a.longitude, course, feet / 2);
  }
}

// A circle's corners lie at its radius toward north-west and south-east.
void PlaceCircleCorners(AirspaceRow& row, Degrees origin, double radius_m) {
  const double feet = radius_m / 0.3048;
  const bool short_radius = feet / 6080 < 1;
  auto toward = [&](int bearing) {
    return short_radius
               ? DestinationPointFeet(origin.latitude, origin.longitude, bearing, feet)
               : DestinationPointNm(origin.latitude, origin.longitude, bearing, feet / 6080);
  };
  row.corner_a = toward(315);
  row.corner_b = toward(135);
}

void AddOutline(AirspaceRow& row, const Reading& reading,
                const std::vector<fab::BoundaryPoint>& points) {
  using enum fab::BoundaryPointType;
  std::vector<fab::Position> origins;
  for (const fab::BoundaryPoint& point : points) {
    const Units at = reading.Scaled(point.position);
    switch (point.type) {
      case Start:
        AddVertex(row, 0, at);
        break;
      case Line:
        AddVertex(row, 5, at);
        break;
      case Origin:
        origins.push_back(point.position);
        break;
      case ArcClockwise:
      case ArcCounterClockwise:
        AddVertex(row, 1, reading.Scaled(origins.at(point.origin_index)));
        AddVertex(row, point.type == ArcClockwise ? 3 : 4, at);
        break;
      case Circle:
        AddVertex(row, 1, reading.Scaled(origins.at(point.origin_index)));
        AddVertex(row, 2, {}, WholeFeet(point.radius_m.Value()));
        PlaceCircleCorners(row, reading.ScaledDegrees(origins.at(point.origin_index)),
                           point.radius_m.Value());
        break;
    }
  }
}

LeBytes AirspaceBytes(const Reading& reading, const fab::Boundary& boundary,
                      std::size_t file_offset) {
  AirspaceRow row;
  PlaceBox(row, reading.ScaledDegrees(boundary.corner_a), reading.ScaledDegrees(boundary.corner_b));
  for (const auto& outline : boundary.outlines) AddOutline(row, reading, outline);
  const std::size_t name_length = boundary.name ? boundary.name->size() : 0;
  LeBytes out;
  out.I32(static_cast<std::int32_t>(file_offset + 57 + name_length + row.vertices.Size()));
  PutUnits(out.U8(AirspaceClass(boundary.type)), row.centre);
  out.I32(row.corner_a.latitude)
      .I32(row.corner_b.latitude)
      .I32(row.corner_a.longitude)
      .I32(row.corner_b.longitude);
  out.U16(static_cast<std::uint16_t>(name_length)).Text(boundary.name.value_or(""), name_length);
  out.U16(0).U16(0).I16(1).U32(row.vertex_count).I32(0).Append(row.vertices);
  out.I32(row.vertex_count ? static_cast<std::int32_t>(row.vertex_count - 1) : 0);
  return out.I32(reading.AltitudeFeet(boundary.lower_altitude_m))
      .I32(reading.AltitudeFeet(boundary.upper_altitude_m));
}

LeBytes AirspacesFile(const Reading& reading, const fab::SceneryContent& content) {
  LeBytes out;
  for (const fab::Boundary& boundary : content.boundaries)
    out.Append(AirspaceBytes(reading, boundary, out.Size()));
  return out;
}

}  // namespace

std::map<std::string, std::string> ExpectedDatabaseFiles(TargetProgram target_program,
                                                         FsVersion fs_version) {
  const Reading reading(fs_version);
  const fab::SceneryContent content = SampleContent(fs_version);
  std::map<std::string, std::string> files;
  files["world_airports.dat"] = AirportsFile(reading, content).Str();
  if (fs_version == FsVersion::Fs2004)
    files["world_fuel_areas.dat"] = FuelAreasFile(reading, content).Str();
  if (target_program != TargetProgram::Radar) return files;
  if (fs_version == FsVersion::Fs2004)
    files["additional_airspaces.dat"] = AirspacesFile(reading, content).Str();
  files["world_navaids.dat"] = NavaidsFile(reading, content).Str();
  files["world_markers.dat"] = MarkersFile(reading, content).Str();
  files["world_fixpoints.dat"] = FixesFile(reading, content).Str();
  files["world_airways_v.dat"] = AirwaysFile(reading, content, fab::RouteLevel::Victor).Str();
  files["world_airways_j.dat"] = AirwaysFile(reading, content, fab::RouteLevel::Jet).Str();
  return files;
}

}  // namespace tarnvale::e2e
