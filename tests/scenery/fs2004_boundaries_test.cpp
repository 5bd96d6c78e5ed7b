// Tests of the FS2004 boundary decoder: airspace class, box centre, altitudes, name, and the
// outline's lines, arcs and circles.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fs2004_test_support.h"
#include "scenery/bgl_loader.h"
#include "scenery/geometry.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_writer.h"

namespace tarnvale {
namespace {

using BT = fab::BoundaryType;
using PT = fab::BoundaryPointType;

fab::Boundary Box(fab::Position a, fab::Position b) {
  fab::Boundary boundary;
  boundary.type = BT::ClassC;
  boundary.corner_a = a;
  boundary.corner_b = b;
  return boundary;
}

// Loads `boundaries` as one boundary section.
void LoadBoundaries(NavDatabase& db, const std::vector<fab::Boundary>& boundaries) {
  std::vector<fab::Bytes> records;
  for (const fab::Boundary& boundary : boundaries)
    records.push_back(fab::Serialize(fab::EncodeBoundary(boundary)));
  ASSERT_EQ(testing::LoadRecords(db, fab::kFs2004Boundaries, std::move(records)), LoadResult::Ok);
}

const AirspaceRecord& LoadOne(NavDatabase& db, const fab::Boundary& boundary) {
  LoadBoundaries(db, {boundary});
  EXPECT_EQ(db.Airspaces.size(), 1u);
  return db.Airspaces.back();
}

void ExpectPointNear(std::int32_t latitude, std::int32_t longitude, const GeoPoint& expected) {
  // Corner words of the file are within a raw step of the degrees given.
  EXPECT_NEAR(latitude, expected.Latitude, 2);
  EXPECT_NEAR(longitude, expected.Longitude, 8);
}

std::vector<int> VertexTypes(const AirspaceRecord& airspace) {
  std::vector<int> types;
  for (const AirspaceVertexRecord& vertex : airspace.Vertices) types.push_back(vertex.VertexType);
  return types;
}

TEST(DecodeBoundary, AirspaceClassFromBoundaryType) {
  const std::pair<int, int> cases[] = {
      {0, 0},   {1, 0},   {2, 10},  {3, 11},  {4, 12},  {5, 13},  {6, 14},  {7, 15},  {8, 16},
      {9, 0},   {10, 0},  {11, 0},  {12, 0},  {13, 0},  {14, 26}, {15, 17}, {16, 18}, {17, 19},
      {18, 20}, {19, 21}, {20, 22}, {21, 25}, {22, 23}, {23, 24}, {24, 0},  {255, 0},
  };
  for (const auto& [type, airspace_class] : cases) {
    fab::Boundary boundary = Box({10, 20}, {9, 21});
    boundary.type = static_cast<BT>(type);
    NavDatabase db;
    LoadBoundaries(db, {boundary});
    ASSERT_EQ(db.Airspaces.size(), airspace_class == 0 ? 0u : 1u) << type;
    if (airspace_class != 0) {
      EXPECT_EQ(db.Airspaces[0].AirspaceClass, airspace_class) << type;
    }
  }
}

TEST(DecodeBoundary, CentreOfTheBoundingBox) {
  struct Case {
    const char* what;
    fab::Position a;
    fab::Position b;
    GeoPoint centre;
    bool corners_kept;
  };
  const Case cases[] = {
      {"diagonal of 84 NM", {10, 20}, {9, 21}, DestinationPointNm(10, 20, 135, 42), true},
      {"diagonal of 5120 ft",
       {10, 20},
       {9.99, 20.01},
       DestinationPointFeet(10, 20, 135, 2560),
       true},
      {"equal longitudes", {10, 20}, {9, 20}, {1111305, 238609294}, false},
      {"equal latitudes", {10, 20}, {10, 21}, {1111305, 238609294}, false},
  };
  for (const Case& c : cases) {
    NavDatabase db;
    const AirspaceRecord& airspace = LoadOne(db, Box(c.a, c.b));
    ExpectPointNear(airspace.CentreLatitude, airspace.CentreLongitude, c.centre);
    if (c.corners_kept) {
      testing::ExpectUnitsNear(airspace.CornerALatitude, airspace.CornerALongitude, c.a);
      testing::ExpectUnitsNear(airspace.CornerBLatitude, airspace.CornerBLongitude, c.b);
    } else {
      EXPECT_EQ(airspace.CornerALatitude, 0) << c.what;
      EXPECT_EQ(airspace.CornerBLatitude, 0) << c.what;
      EXPECT_EQ(airspace.CornerALongitude, 0) << c.what;
      EXPECT_EQ(airspace.CornerBLongitude, 0) << c.what;
    }
  }
}

TEST(DecodeBoundary, AltitudesNameAndWriterFields) {
  fab::Boundary boundary = Box({10, 20}, {9, 21});
  boundary.lower_altitude_m = 1000.0;
  boundary.upper_altitude_m = -30.0;
  boundary.name = "CHICAGO";
  NavDatabase db;
  const AirspaceRecord& airspace = LoadOne(db, boundary);
  EXPECT_EQ(airspace.LowerAltitudeFeet, 3280);
  EXPECT_EQ(airspace.UpperAltitudeFeet, -98);
  EXPECT_EQ(airspace.NameLength, 7);
  EXPECT_EQ(airspace.Name, std::string("CHICAGO\0\0", 9));
  // Left for the writer.
  EXPECT_EQ(airspace.NextOffset, 0);
  EXPECT_EQ(airspace.PartCount, 0);
  EXPECT_EQ(airspace.FirstVertexIndex, 0);
  EXPECT_EQ(airspace.LastVertexIndex, 0);
  EXPECT_EQ(airspace.SecondTextLength, 0);
  EXPECT_EQ(airspace.ThirdTextLength, 0);
}

TEST(DecodeBoundary, RecordOfTheFixedPartOnly) {
  fab::Boundary boundary = Box({10, 20}, {9, 21});
  boundary.name = "";  // a name sub-record of size 6
  NavDatabase db;
  const AirspaceRecord& named_empty = LoadOne(db, boundary);
  EXPECT_EQ(named_empty.NameLength, 0);
  EXPECT_TRUE(named_empty.Name.empty());
  NavDatabase bare_db;
  const AirspaceRecord& bare = LoadOne(bare_db, Box({10, 20}, {9, 21}));  // size 32
  EXPECT_EQ(bare.NameLength, 0);
  EXPECT_TRUE(bare.Vertices.empty());
}

fab::BoundaryPoint Point(PT type, fab::Position position, std::uint8_t origin = 0) {
  return {type, origin, position, 0.0};
}

fab::BoundaryPoint Circle(std::uint8_t origin, double radius_m) {
  return {PT::Circle, origin, {0, 0}, radius_m};
}

TEST(DecodeBoundary, OutlineVertices) {
  const fab::Position origin{10, 20};
  const fab::BoundaryPoint origin_point = Point(PT::Origin, origin);
  struct Case {
    const char* what;
    std::vector<std::vector<fab::BoundaryPoint>> outlines;
    std::vector<int> types;
  };
  const Case cases[] = {
      {"lines and a clockwise arc",
       {{origin_point, Point(PT::Start, {10.1, 20.1}), Point(PT::Line, {10.2, 20.2}),
         Point(PT::Line, {10.3, 20.3}), Point(PT::ArcClockwise, {10.4, 20.4})}},
       {0, 5, 5, 1, 3}},
      {"counter-clockwise arc",
       {{origin_point, Point(PT::ArcCounterClockwise, {10.4, 20.4})}},
       {1, 4}},
      {"circle", {{origin_point, Circle(0, 5000.0)}}, {1, 2}},
      {"origin of an earlier outline is not seen",
       {{origin_point, Point(PT::Start, {1, 1})}, {Point(PT::ArcClockwise, {2, 2})}},
       {0}},
      {"origin index beyond the origins", {{origin_point, Point(PT::ArcClockwise, {2, 2}, 1)}}, {}},
      {"unknown point types",
       {{Point(static_cast<PT>(0), {1, 1}), Point(static_cast<PT>(7), {1, 1})}},
       {}},
      {"outlines add up", {{Point(PT::Start, {1, 1})}, {Point(PT::Line, {2, 2})}}, {0, 5}},
  };
  for (const Case& c : cases) {
    fab::Boundary boundary = Box({10, 20}, {9, 21});
    boundary.outlines = c.outlines;
    NavDatabase db;
    const AirspaceRecord& airspace = LoadOne(db, boundary);
    EXPECT_EQ(VertexTypes(airspace), c.types) << c.what;
  }
}

TEST(DecodeBoundary, ArcVerticesSitAtTheOriginAndTheArcEnd) {
  fab::Boundary boundary = Box({10, 20}, {9, 21});
  boundary.outlines = {{Point(PT::Origin, {10, 20}), Point(PT::ArcClockwise, {10.4, 20.4})}};
  NavDatabase db;
  const AirspaceRecord& airspace = LoadOne(db, boundary);
  ASSERT_EQ(airspace.Vertices.size(), 2u);
  testing::ExpectUnitsNear(airspace.Vertices[0].Latitude, airspace.Vertices[0].Longitude, {10, 20});
  testing::ExpectUnitsNear(airspace.Vertices[1].Latitude, airspace.Vertices[1].Longitude,
                           {10.4, 20.4});
  EXPECT_EQ(airspace.Vertices[1].RadiusFeet, 0);
}

TEST(DecodeBoundary, CirclesSetRadiusAndCorners) {
  struct Case {
    double radius_m;
    std::int32_t radius_feet;
    GeoPoint north_west;
    GeoPoint south_east;
  };
  const Case cases[] = {
      {5000.0, 16404, DestinationPointNm(10, 20, 315, 5000.0 / 0.3048 / 6080),
       DestinationPointNm(10, 20, 135, 5000.0 / 0.3048 / 6080)},
      {1000.0, 3280, DestinationPointFeet(10, 20, 315, 1000.0 / 0.3048),
       DestinationPointFeet(10, 20, 135, 1000.0 / 0.3048)},
  };
  for (const Case& c : cases) {
    fab::Boundary boundary = Box({10, 20}, {10, 20});  // no box: the circle gives the corners
    boundary.outlines = {{Point(PT::Origin, {10, 20}), Circle(0, c.radius_m)}};
    NavDatabase db;
    const AirspaceRecord& airspace = LoadOne(db, boundary);
    ASSERT_EQ(airspace.Vertices.size(), 2u) << c.radius_m;
    const AirspaceVertexRecord& radius = airspace.Vertices[1];
    EXPECT_EQ(radius.RadiusFeet, c.radius_feet) << c.radius_m;
    EXPECT_EQ(radius.Latitude, 0) << c.radius_m;
    EXPECT_EQ(radius.Longitude, 0) << c.radius_m;
    ExpectPointNear(airspace.CornerALatitude, airspace.CornerALongitude, c.north_west);
    ExpectPointNear(airspace.CornerBLatitude, airspace.CornerBLongitude, c.south_east);
    ExpectPointNear(airspace.CentreLatitude, airspace.CentreLongitude, {1111305, 238609294});
  }
}

TEST(DecodeBoundary, TheLastCircleGivesTheCorners) {
  fab::Boundary boundary = Box({10, 20}, {9, 21});
  boundary.outlines = {{Point(PT::Origin, {10, 20}), Circle(0, 1000.0), Point(PT::Origin, {30, 40}),
                        Circle(1, 1000.0)}};
  NavDatabase db;
  const AirspaceRecord& airspace = LoadOne(db, boundary);
  ExpectPointNear(airspace.CornerALatitude, airspace.CornerALongitude,
                  DestinationPointFeet(30, 40, 315, 1000.0 / 0.3048));
}

TEST(DecodeBoundary, OnlyTwoHundredAndFiftyFiveOriginsAreKept) {
  std::vector<fab::BoundaryPoint> outline(256, Point(PT::Origin, {10, 20}));
  outline.push_back(Point(PT::ArcClockwise, {11, 21}, 254));
  outline.push_back(Point(PT::ArcClockwise, {11, 21}, 255));  // the 256th origin was not kept
  fab::Boundary boundary = Box({10, 20}, {9, 21});
  boundary.outlines = {outline};
  NavDatabase db;
  EXPECT_EQ(VertexTypes(LoadOne(db, boundary)), (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace tarnvale
