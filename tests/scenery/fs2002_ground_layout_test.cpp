// Tests of the FS2002 ground layout reader: offsets from the reference point, kinds and parking
// words, and the walk over the groups.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "scenery/decoding.h"
#include "scenery/fs2002_test_helpers.h"
#include "scenery/geometry.h"
#include "sceneryfab/fs2002_writer.h"

namespace tarnvale {
namespace {

using fab::Fs2002Group;
using fab::Fs2002Parking;
using fab::Fs2002TaxiwayPath;
using fab::Fs2002TaxiwayPoint;
using testing::Fs2002AirportFile;
using testing::ReadFs2002Facility;

// The reference point of the airports below, in degrees as the reader
// takes it from the stored words.
const fab::Position kReference{47.45, -122.31};
double ReferenceLatitude() {
  return fab::Fs2002LatitudeWord(kReference.latitude) * 90.0 / 10001750.0;
}
double ReferenceLongitude() {
  return fab::Fs2002LongitudeWord(kReference.longitude) * 360.0 / 4294967296.0;
}

Fs2002Group Points(std::vector<Fs2002TaxiwayPoint> points) {
  return {std::move(points), std::nullopt, std::nullopt};
}

AirportRecord ReadLayout(std::vector<Fs2002Group> groups, bool reference_first = true) {
  std::vector<fab::Fs2002Chunk> chunks = {fab::EncodeFs2002GroundLayout(groups)};
  const auto reference = fab::EncodeFs2002ReferencePoint(kReference, 0.0);
  chunks.insert(reference_first ? chunks.begin() : chunks.end(), reference);
  NavDatabase db;
  EXPECT_EQ(ReadFs2002Facility(db, Fs2002AirportFile(chunks)), Fs2002Result::Done);
  EXPECT_EQ(db.Airports.size(), 1u);
  return db.Airports.empty() ? AirportRecord{} : db.Airports[0];
}

TEST(Fs2002GroundLayout, OffsetsMoveAlongTheMeridianAndTheParallelIndependently) {
  struct Case {
    float east, north;
  };
  const std::vector<Case> cases = {{0, 0}, {100, 0}, {0, 250}, {-75.5f, -30}, {1200, -800}};
  std::vector<Fs2002TaxiwayPoint> points;
  for (const Case& c : cases) points.push_back({0, c.east, c.north});
  const AirportRecord airport = ReadLayout({Points(points)});
  ASSERT_EQ(airport.TaxiwayPoints.size(), cases.size());
  const double lat = ReferenceLatitude();
  const double lon = ReferenceLongitude();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::int32_t latitude =
        c.north == 0 ? LatitudeToUnits(lat)
                     : DestinationPointMetres(lat, lon, c.north > 0 ? 0 : 180, c.north).Latitude;
    const std::int32_t longitude =
        c.east == 0 ? LongitudeToUnits(lon)
                    : DestinationPointMetres(lat, lon, c.east > 0 ? 90 : 270, c.east).Longitude;
    EXPECT_EQ(airport.TaxiwayPoints[i].Latitude, latitude) << c.east << "," << c.north;
    EXPECT_EQ(airport.TaxiwayPoints[i].Longitude, longitude) << c.east << "," << c.north;
  }
  // About one latitude unit per metre north; 100 m east of 47.45 N is
  // 100 / (111120 cos 47.45) degrees.
  EXPECT_NEAR(airport.TaxiwayPoints[2].Latitude - airport.TaxiwayPoints[0].Latitude, 250.0, 1.0);
  EXPECT_NEAR(airport.TaxiwayPoints[1].Longitude - airport.TaxiwayPoints[0].Longitude,
              100.0 / (111120.0 * std::cos(47.45 * 3.14159265358979 / 180)) / 360 * 4294967296.0,
              20.0);
}

TEST(Fs2002GroundLayout, ALayoutBeforeTheReferencePointIsPlacedFromZeroZero) {
  const AirportRecord airport = ReadLayout({Points({{0, 0, 0}, {0, 100, 0}})}, false);
  ASSERT_EQ(airport.TaxiwayPoints.size(), 2u);
  EXPECT_EQ(airport.TaxiwayPoints[0].Latitude, 0);
  EXPECT_EQ(airport.TaxiwayPoints[0].Longitude, 0);
  EXPECT_EQ(airport.TaxiwayPoints[1].Latitude, 0);
  EXPECT_EQ(airport.TaxiwayPoints[1].Longitude, DestinationPointMetres(0, 0, 90, 100).Longitude);
  EXPECT_EQ(airport.Latitude, fab::Fs2002LatitudeWord(kReference.latitude));
}

TEST(Fs2002GroundLayout, KindsMapAndParkingWordsUnpack) {
  const std::vector<Fs2002Group> groups = {
      Points({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}),
      {std::vector<Fs2002Parking>{{0, 0, 10.0, 0x00200605}}, std::nullopt, std::nullopt},
      {std::vector<Fs2002TaxiwayPath>{{0, 1, 2, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, {3, 99, 100, 7}},
       std::nullopt, std::nullopt},
      {std::vector<std::string>{"ALPHA", "TWELVECH"}, std::nullopt, std::nullopt},
  };
  const AirportRecord airport = ReadLayout(groups);
  ASSERT_EQ(airport.TaxiwayPoints.size(), 3u);
  EXPECT_EQ(airport.TaxiwayPoints[0].PointType, 1);
  EXPECT_EQ(airport.TaxiwayPoints[1].PointType, 2);
  EXPECT_EQ(airport.TaxiwayPoints[2].PointType, 0);
  ASSERT_EQ(airport.Parkings.size(), 1u);
  EXPECT_EQ(airport.Parkings[0].ParkingType, 2);
  EXPECT_EQ(airport.Parkings[0].Number, 12);
  EXPECT_EQ(airport.Parkings[0].ParkingName, 5);
  EXPECT_EQ(airport.Parkings[0].RadiusFeet, 32);
  ASSERT_EQ(airport.TaxiwayPaths.size(), 4u);
  const std::int32_t path_types[] = {1, 2, 3, 0};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(airport.TaxiwayPaths[i].PathType, path_types[i]);
  EXPECT_EQ(airport.TaxiwayPaths[0].StartPoint, 1);
  EXPECT_EQ(airport.TaxiwayPaths[0].EndPoint, 2);
  // Indices are carried unchecked.
  EXPECT_EQ(airport.TaxiwayPaths[3].StartPoint, 99);
  EXPECT_EQ(airport.TaxiwayPaths[3].NameIndex, 7);
  ASSERT_EQ(airport.TaxiNames.size(), 2u);
  EXPECT_EQ(std::string(airport.TaxiNames[0].Name.data(), 8), std::string("ALPHA\0\0\0", 8));
  EXPECT_EQ(std::string(airport.TaxiNames[1].Name.data(), 8), "TWELVECH");  // no terminator
  EXPECT_EQ(airport.FileSize, 55u + 9 * 3 + 16 * 1 + 16 * 4 + 8 * 2);
}

TEST(Fs2002GroundLayout, GroupWalkStopsAtAnUnknownSizeOrAGroupPastTheChunk) {
  Fs2002Group unknown = Points({{0, 5, 5}});
  unknown.element_size = 16;
  Fs2002Group too_many = Points({{0, 5, 5}});
  too_many.count = 2;
  const Fs2002Group empty = {std::vector<Fs2002Parking>{}, std::nullopt, std::nullopt};
  struct Case {
    const char* name;
    std::vector<Fs2002Group> groups;
    std::size_t points, parkings;
  };
  const std::vector<Case> cases = {
      {"empty group allocates nothing", {empty, Points({{0, 1, 1}})}, 1, 0},
      {"unknown element size ends the walk", {unknown, Points({{0, 1, 1}})}, 0, 0},
      {"group reaching past the chunk", {too_many}, 0, 0},
      {"later group replaces the earlier",
       {Points({{0, 1, 1}, {0, 2, 2}}), Points({{1, 3, 3}})},
       1,
       0},
  };
  for (const Case& c : cases) {
    const AirportRecord airport = ReadLayout(c.groups);
    EXPECT_EQ(airport.TaxiwayPoints.size(), c.points) << c.name;
    EXPECT_EQ(airport.Parkings.size(), c.parkings) << c.name;
  }
}

}  // namespace
}  // namespace tarnvale
