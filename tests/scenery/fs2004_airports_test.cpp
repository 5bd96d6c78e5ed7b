// Tests of the FS2004 airport decoder: ident and reference point, runways, helipads, frequencies,
// names, ground layouts, and fuel triggers.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "fs2004_test_support.h"
#include "scenery/bgl_loader.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_writer.h"

namespace tarnvale {
namespace {

using testing::Feet;
using testing::LoadContent;
using testing::LoadRecord;

fab::Airport SampleAirport(const std::string& ident = "KJFK") {
  fab::Airport airport;
  airport.ident = ident;
  airport.region = "K6";
  airport.position = {40.639751, -73.778925};
  airport.altitude_m = 3.962;
  return airport;
}

const AirportRecord& LoadOneAirport(NavDatabase& db, const fab::Airport& airport) {
  fab::SceneryContent content;
  content.airports.push_back(airport);
  EXPECT_EQ(LoadContent(db, content), LoadResult::Ok);
  EXPECT_EQ(db.Airports.size(), 1u);
  return db.Airports.back();
}

TEST(DecodeAirport, ReadsTheReferencePointAndIdent) {
  NavDatabase db;
  const AirportRecord& airport = LoadOneAirport(db, SampleAirport());
  EXPECT_EQ(airport.Kind, 1);
  EXPECT_EQ(TextOf(airport.Ident), "KJFK");
  testing::ExpectUnitsNear(airport.Latitude, airport.Longitude, SampleAirport().position);
  EXPECT_EQ(airport.AltitudeFeet, 12);  // 3.962 m = 12.998 ft
  EXPECT_EQ(airport.NameLength, 0);
  EXPECT_TRUE(airport.Name.empty());
  EXPECT_EQ(airport.HasTowerOrGround, 0);
  EXPECT_EQ(airport.FileSize, 55u);
}

TEST(DecodeAirport, FirstAirportOfAnIdentWinsAcrossFiles) {
  NavDatabase db;
  fab::Airport first = SampleAirport();
  first.name = "First";
  fab::Airport second = SampleAirport();
  second.name = "Second";
  second.runways.emplace_back();
  second.coms.push_back({fab::ComType::Tower, 119100000, "TWR"});
  fab::SceneryContent same_file;
  same_file.airports = {first, second, SampleAirport("KLGA")};
  ASSERT_EQ(LoadContent(db, same_file), LoadResult::Ok);
  fab::SceneryContent later_file;
  later_file.airports = {second};
  ASSERT_EQ(LoadContent(db, later_file), LoadResult::Ok);

  ASSERT_EQ(db.Airports.size(), 2u);
  EXPECT_EQ(db.Airports[0].Name, std::string("First") + '\0');
  EXPECT_TRUE(db.Airports[0].Runways.empty());
  EXPECT_EQ(db.Airports[0].TowerFrequency, 0);
  EXPECT_EQ(TextOf(db.Airports[1].Ident), "KLGA");
  EXPECT_TRUE(db.Airports[1].Runways.empty());

  db.Release();  // a new run starts afresh
  ASSERT_EQ(LoadContent(db, later_file), LoadResult::Ok);
  ASSERT_EQ(db.Airports.size(), 1u);
  EXPECT_EQ(db.Airports[0].Runways.size(), 1u);
}

// Distance in metres between two points given in database units, on the
// sphere the runway end computation uses.
double MetresBetween(std::int32_t lat1, std::int32_t lon1, std::int32_t lat2, std::int32_t lon2) {
  const double north = (lat2 - lat1) / 10001750.0 * 10001750.0;
  const double latitude = (lat1 / 10001750.0) * 90.0 * std::numbers::pi / 180.0;
  const double east = (lon2 - lon1) / 4294967296.0 * 40007000.0 * std::cos(latitude);
  return std::hypot(north, east);
}

TEST(DecodeRunway, FillsARunwayFromItsSubRecord) {
  struct Case {
    const char* what;
    double heading;
    double length;
    fab::Designator primary;
    fab::Designator secondary;
    std::int16_t expected_heading;
    std::int16_t expected_opposite;
    const char* primary_designation;
    const char* secondary_designation;
    double half_length;  // metres from the centre to each end
  };
  using D = fab::Designator;
  const Case cases[] = {
      {"left and right", 92.0, 1000.0, D::Left, D::Right, 92, 272, "9L", "27R", 470.0},
      {"heading 359.7", 359.7, 2000.0, D::Center, D::Center, 359, 179, "9C", "27C", 970.0},
      {"heading 10.2", 10.2, 250.0, D::Water, D::None, 10, 190, "9W", "27", 125.0},
      {"heading below 2", 1.5, 300.0, D::None, D::Helipad, 1, 181, "9", "27", 150.0},
      {"heading 180", 180.0, 301.0, D::None, D::None, 180, 0, "9", "27", 120.5},
  };
  for (const Case& c : cases) {
    fab::Airport airport = SampleAirport();
    fab::Runway runway;
    runway.centre = {40.5, -73.5};
    runway.altitude_m = 30.5;
    runway.length_m = c.length;
    runway.width_m = 45.0;
    runway.heading_deg = c.heading;
    runway.primary = {9, c.primary, "IJFK"};
    runway.secondary = {27, c.secondary, ""};
    airport.runways.push_back(runway);
    NavDatabase db;
    const AirportRecord& record = LoadOneAirport(db, airport);
    ASSERT_EQ(record.Runways.size(), 1u) << c.what;
    const RunwayRecord& r = record.Runways[0];
    testing::ExpectUnitsNear(r.Latitude, r.Longitude, runway.centre);
    EXPECT_EQ(r.AltitudeFeet, 100) << c.what;
    EXPECT_EQ(r.Heading, c.expected_heading) << c.what;
    EXPECT_EQ(r.OppositeHeading, c.expected_opposite) << c.what;
    EXPECT_EQ(r.LengthFeet, Feet(c.length)) << c.what;
    EXPECT_EQ(r.WidthFeet, 147) << c.what;
    EXPECT_EQ(r.IsHelipad, 0) << c.what;
    EXPECT_EQ(TextOf(r.PrimaryDesignation), c.primary_designation) << c.what;
    EXPECT_EQ(TextOf(r.SecondaryDesignation), c.secondary_designation) << c.what;
    EXPECT_EQ(TextOf(r.PrimaryIlsIdent), "IJFK") << c.what;
    EXPECT_EQ(TextOf(r.SecondaryIlsIdent), "") << c.what;
    EXPECT_EQ(r.PrimaryIlsFrequency, 0) << c.what;
    EXPECT_NEAR(MetresBetween(r.Latitude, r.Longitude, r.PrimaryEndLatitude, r.PrimaryEndLongitude),
                c.half_length, 1.0)
        << c.what;
    EXPECT_NEAR(
        MetresBetween(r.Latitude, r.Longitude, r.SecondaryEndLatitude, r.SecondaryEndLongitude),
        c.half_length, 1.0)
        << c.what;
    // The secondary end lies ahead on the heading: north for headings near 0.
    if (c.expected_heading < 45 || c.expected_heading > 315) {
      EXPECT_GT(r.SecondaryEndLatitude, r.PrimaryEndLatitude) << c.what;
    }
    EXPECT_EQ(record.FileSize, 55u + 72u) << c.what;
  }
}

TEST(DecodeAirport, HelipadStartsBecomeHelipadRunways) {
  fab::Airport airport = SampleAirport();
  fab::Start helipad{2, fab::Designator::None, fab::StartType::Helipad, {40.6, -73.7}, 6.2, 45.9};
  fab::Start runway_start{4,   fab::Designator::Left, fab::StartType::Runway, {40.6, -73.7}, 0.0,
                          40.0};
  airport.starts = {runway_start, helipad};
  NavDatabase db;
  const AirportRecord& record = LoadOneAirport(db, airport);
  ASSERT_EQ(record.Runways.size(), 1u);
  const RunwayRecord& pad = record.Runways[0];
  EXPECT_EQ(pad.IsHelipad, 1);
  EXPECT_EQ(TextOf(pad.PrimaryDesignation), "2H");
  EXPECT_EQ(TextOf(pad.SecondaryDesignation), "");
  EXPECT_EQ(pad.Heading, 45);
  EXPECT_EQ(pad.AltitudeFeet, 20);
  testing::ExpectUnitsNear(pad.Latitude, pad.Longitude, helipad.position);
  EXPECT_EQ(pad.PrimaryEndLatitude, 0);
  EXPECT_EQ(pad.SecondaryEndLongitude, 0);
  EXPECT_EQ(pad.LengthFeet, 0);
  EXPECT_EQ(pad.WidthFeet, 0);
  EXPECT_EQ(pad.OppositeHeading, 0);
}

TEST(DecodeAirport, GroundAndTowerFrequencies) {
  using C = fab::ComType;
  struct Case {
    const char* what;
    std::vector<fab::Com> coms;
    std::int32_t ground;
    std::int32_t tower;
    std::uint8_t has_tower_or_ground;
  };
  const Case cases[] = {
      {"approach only", {{C::Approach, 127400000, "APP"}}, 0, 0, 0},
      {"ground and tower",
       {{C::Tower, 119100000, "T"}, {C::Ground, 121900000, "G"}},
       121900000,
       119100000,
       1},
      {"ground only", {{C::Ground, 121750000, ""}}, 121750000, 0, 1},
      {"later tower wins", {{C::Tower, 118000000, ""}, {C::Tower, 118500000, ""}}, 0, 118500000, 1},
  };
  for (const Case& c : cases) {
    fab::Airport airport = SampleAirport();
    airport.coms = c.coms;
    NavDatabase db;
    const AirportRecord& record = LoadOneAirport(db, airport);
    EXPECT_EQ(record.GroundFrequency, c.ground) << c.what;
    EXPECT_EQ(record.TowerFrequency, c.tower) << c.what;
    EXPECT_EQ(record.HasTowerOrGround, c.has_tower_or_ground) << c.what;
  }
}

TEST(DecodeAirport, Names) {
  using namespace std::string_literals;
  struct Case {
    std::string name;
    std::uint16_t length;
    std::string stored;
  };
  const Case cases[] = {
      {"Kennedy Intl", 13, "Kennedy Intl\0"s},
      {"", 0, ""},                    // sub-record of size 6
      {"AB\0CD"s, 6, "AB\0\0\0\0"s},  // copying stops at a NUL
  };
  for (const Case& c : cases) {
    fab::Airport airport = SampleAirport();
    airport.name = c.name;
    NavDatabase db;
    const AirportRecord& record = LoadOneAirport(db, airport);
    EXPECT_EQ(record.NameLength, c.length) << c.name;
    EXPECT_EQ(record.Name, c.stored) << c.name;
    EXPECT_EQ(record.FileSize, 55u + c.length) << c.name;
  }
}

TEST(DecodeAirport, GroundLayout) {
  fab::Airport airport = SampleAirport();
  airport.name = "Kennedy";
  airport.taxiway_points = {{1, {40.64, -73.78}}, {2, {40.65, -73.79}}, {3, {40.66, -73.80}}};
  fab::Parking with_airlines{12, 5, 4095, 23.0, 90.0, {40.641, -73.781}, {"BAW", "AAL"}};
  fab::Parking plain{63, 15, 7, 0.3048 * 50, 0.0, {40.642, -73.782}, {}};
  airport.parkings = {with_airlines, plain};
  airport.taxiway_paths = {{0, 2, 4, 1, 20.0}, {2, 4095, 15, 255, 10.0}};
  airport.taxiway_names = {"A", "TWELVECH", "B1"};
  NavDatabase db;
  const AirportRecord& record = LoadOneAirport(db, airport);

  ASSERT_EQ(record.TaxiwayPoints.size(), 3u);
  EXPECT_EQ(record.TaxiwayPoints[1].PointType, 2);
  testing::ExpectUnitsNear(record.TaxiwayPoints[2].Latitude, record.TaxiwayPoints[2].Longitude,
                           airport.taxiway_points[2].position);

  ASSERT_EQ(record.Parkings.size(), 2u);
  const ParkingRecord& first = record.Parkings[0];
  EXPECT_EQ(first.ParkingName, 12);
  EXPECT_EQ(first.ParkingType, 5);
  EXPECT_EQ(first.Number, 4095);
  EXPECT_EQ(first.RadiusFeet, 75);
  testing::ExpectUnitsNear(first.Latitude, first.Longitude, with_airlines.position);
  const ParkingRecord& second = record.Parkings[1];  // read 28 bytes behind the first
  EXPECT_EQ(second.ParkingName, 63);
  EXPECT_EQ(second.ParkingType, 15);
  EXPECT_EQ(second.Number, 7);
  EXPECT_EQ(second.RadiusFeet, 49);  // 50 ft in metres, as a single, is a hair under 50 ft
  testing::ExpectUnitsNear(second.Latitude, second.Longitude, plain.position);

  ASSERT_EQ(record.TaxiwayPaths.size(), 2u);
  EXPECT_EQ(record.TaxiwayPaths[0].StartPoint, 0);
  EXPECT_EQ(record.TaxiwayPaths[0].EndPoint, 2);
  EXPECT_EQ(record.TaxiwayPaths[0].PathType, 4);
  EXPECT_EQ(record.TaxiwayPaths[0].NameIndex, 1);
  EXPECT_EQ(record.TaxiwayPaths[1].StartPoint, 2);
  EXPECT_EQ(record.TaxiwayPaths[1].EndPoint, 4095);
  EXPECT_EQ(record.TaxiwayPaths[1].PathType, 15);
  EXPECT_EQ(record.TaxiwayPaths[1].NameIndex, 255);

  ASSERT_EQ(record.TaxiNames.size(), 3u);
  EXPECT_EQ(std::string(record.TaxiNames[0].Name.data(), 8), std::string("A\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(std::string(record.TaxiNames[1].Name.data(), 8), "TWELVECH");
  EXPECT_EQ(TextOf(record.TaxiNames[2].Name), "B1");

  EXPECT_EQ(record.NameLength, 8);
  EXPECT_EQ(record.FileSize, 55u + 8 + 9 * 3 + 16 * 2 + 16 * 2 + 8 * 3);
}

TEST(DecodeAirport, ALaterTaxiwayTableReplacesTheEarlier) {
  fab::Fs2004Record airport = fab::EncodeAirport(SampleAirport());
  const fab::TaxiwayPoint three[] = {{1, {1, 1}}, {1, {2, 2}}, {1, {3, 3}}};
  const fab::TaxiwayPoint one[] = {{4, {4, 4}}};
  airport.sub_records.push_back(fab::EncodeTaxiwayPoints(three));
  airport.sub_records.push_back(fab::EncodeTaxiwayPoints(one));
  NavDatabase db;
  ASSERT_EQ(LoadRecord(db, fab::kFs2004Airports, airport), LoadResult::Ok);
  ASSERT_EQ(db.Airports.back().TaxiwayPoints.size(), 1u);
  EXPECT_EQ(db.Airports.back().TaxiwayPoints[0].PointType, 4);
  EXPECT_EQ(db.Airports.back().FileSize, 55u + 9);
}

TEST(DecodeAirport, EntriesBeyondTheirSubRecordAreDropped) {
  struct Case {
    const char* what;
    fab::Fs2004Record sub;
    std::uint16_t claimed_count;
  };
  const fab::TaxiwayPoint points[] = {{1, {1, 1}}, {2, {2, 2}}};
  const fab::Parking parkings[] = {{1, 1, 1, 10.0, 0.0, {1, 1}, {"ABC"}},
                                   {2, 2, 2, 10.0, 0.0, {2, 2}, {}}};
  const fab::TaxiwayPath paths[] = {{0, 1, 1, 0, 1.0}, {1, 0, 1, 0, 1.0}};
  const std::string names[] = {"A", "B"};
  const Case cases[] = {
      {"points", fab::EncodeTaxiwayPoints(points), 50},
      {"parkings", fab::EncodeParkings(parkings), 3},
      {"paths", fab::EncodeTaxiwayPaths(paths), 9},
      {"names", fab::EncodeTaxiwayNames(names), 60000},
  };
  for (const Case& c : cases) {
    fab::Fs2004Record airport = fab::EncodeAirport(SampleAirport());
    fab::Fs2004Record sub = c.sub;
    fab::PutU16(sub.body, 0, c.claimed_count);  // the count word, behind the header
    airport.sub_records.push_back(sub);
    NavDatabase db;
    ASSERT_EQ(LoadRecord(db, fab::kFs2004Airports, airport), LoadResult::Ok) << c.what;
    const AirportRecord& record = db.Airports.back();
    const std::size_t kept = record.TaxiwayPoints.size() + record.Parkings.size() +
                             record.TaxiwayPaths.size() + record.TaxiNames.size();
    EXPECT_EQ(kept, 2u) << c.what;
  }
}

fab::FuelTrigger Trigger(std::uint16_t type, std::uint32_t availability) {
  return fab::FuelTrigger{{47.25, 11.35}, 580.0, type, availability};
}

TEST(DecodeFuelTrigger, RecordsTheLastAvailableGrade) {
  struct Case {
    const char* what;
    fab::FuelTrigger trigger;
    std::size_t areas;
    std::uint8_t fuel_type;
    std::uint8_t availability;
  };
  const Case cases[] = {
      {"grades 0, 1 and 5", Trigger(0, 0x00000C05), 1, 5, 3},
      {"no grade", Trigger(0, 0), 1, 0, 0},
      {"grade 12", Trigger(0, fab::FuelGrade(12, 2)), 1, 12, 2},
      {"bits above grade 12 ignored", Trigger(0, 0xFC000000 | fab::FuelGrade(3, 1)), 1, 3, 1},
      {"not a refuelling trigger", Trigger(1, 0x00000C05), 0, 0, 0},
  };
  for (const Case& c : cases) {
    fab::SceneryContent content;
    content.fuel_triggers = {c.trigger, Trigger(1, 0)};
    NavDatabase db;
    ASSERT_EQ(LoadContent(db, content), LoadResult::Ok) << c.what;
    ASSERT_EQ(db.FuelAreas.size(), c.areas) << c.what;
    if (c.areas == 0) continue;
    const FuelAreaRecord& fuel = db.FuelAreas[0];
    EXPECT_EQ(fuel.Kind, 2) << c.what;
    EXPECT_EQ(fuel.FileSize, 15u) << c.what;
    EXPECT_EQ(fuel.FuelType, c.fuel_type) << c.what;
    EXPECT_EQ(fuel.Availability, c.availability) << c.what;
    testing::ExpectUnitsNear(fuel.Latitude, fuel.Longitude, c.trigger.position);
  }
}

TEST(DecodeFuelTrigger, WalksPastOtherSceneryObjectsByTheirShortSize) {
  // A non-trigger object between two triggers: the u16 size word steps over
  // it, where the longitude behind it would make a 32-bit size far too big.
  fab::Fs2004Record other = fab::EncodeFuelTrigger(Trigger(0, 1));
  other.id = 0x0B;  // a library object
  other.body.resize(80, 0xEE);
  NavDatabase db;
  ASSERT_EQ(testing::LoadRecords(
                db, fab::kFs2004SceneryObjects,
                {fab::Serialize(fab::EncodeFuelTrigger(Trigger(0, 1))), fab::Serialize(other),
                 fab::Serialize(fab::EncodeFuelTrigger(Trigger(0, 0x00000C05)))}),
            LoadResult::Ok);
  ASSERT_EQ(db.FuelAreas.size(), 2u);
  EXPECT_EQ(db.FuelAreas[1].FuelType, 5);
}

}  // namespace
}  // namespace tarnvale
