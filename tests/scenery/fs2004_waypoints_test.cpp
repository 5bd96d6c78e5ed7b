// Tests of the FS2004 waypoint decoder: point keys, fixes indexed, and one airway segment per route
// entry with its leg altitudes.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fs2004_test_support.h"
#include "scenery/bgl_loader.h"
#include "scenery/fs2004_waypoints.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_encoding.h"
#include "sceneryfab/fs2004_writer.h"

namespace tarnvale {
namespace {

using testing::LoadContent;

fab::Intersection Waypoint(const char* ident, std::vector<fab::Route> routes = {}) {
  fab::Intersection waypoint;
  waypoint.ident = ident;
  waypoint.region = "K6";
  waypoint.position = {41.0, -74.0};
  waypoint.routes = std::move(routes);
  return waypoint;
}

fab::RouteNeighbour Neighbour(const char* ident, double altitude_m) {
  return {ident, "K6", altitude_m};
}

std::vector<std::string> Keys(const AirwayRecord& airway) {
  std::vector<std::string> keys;
  for (const AirwayPointRecord& point : airway.Points) keys.emplace_back(TextOf(point.FixKey));
  return keys;
}

TEST(PointKey, IsRegionThenIdentTrimmed) {
  struct Case {
    fab::Ident ident;
    fab::Ident region;
    const char* key;
  };
  const Case cases[] = {
      {"VPRC", "LK", "LKVPRC"},
      {"MERIT", "K6", "K6MERIT"},
      {"ABCDE", fab::Ident::FromWord(0xFFFFFFFF), "DVABCDE"},  // only bits 0..10 are the region
      {"ABC", "", "ABC"},
      {"ABC", " ", "ABC"},  // a blank region is trimmed away with the key
      {"", "LK", "LK"},
      {"", "", ""},
  };
  // The second pass gets the keys that the first one decoded and kept.
  for (int pass = 0; pass < 2; ++pass) {
    for (const Case& c : cases) {
      const FixedText<9> key =
          PointKey(fab::Fs2004IdentWord(c.ident), fab::Fs2004RegionWord(c.region));
      EXPECT_EQ(TextOf(key), c.key) << c.key;
      for (std::size_t i = TextOf(key).size(); i < key.size(); ++i)
        EXPECT_EQ(key[i], '\0') << c.key;
    }
  }
}

TEST(DecodeWaypoint, EveryWaypointIsAnIndexedFix) {
  fab::Intersection second = Waypoint("MERIT");
  second.position = {42.0, -75.0};
  fab::SceneryContent content;
  content.intersections = {Waypoint("MERIT"), Waypoint("HAAYS"), second};
  content.intersections[1].type = fab::IntersectionType::Vor;  // the type is not looked at
  NavDatabase db;
  ASSERT_EQ(LoadContent(db, content), LoadResult::Ok);
  ASSERT_EQ(db.Fixes.size(), 3u);
  EXPECT_EQ(db.Fixes[0].Kind, 6);
  EXPECT_EQ(db.Fixes[0].FileSize, 22u);
  EXPECT_EQ(TextOf(db.Fixes[0].FixKey), "K6MERIT");
  testing::ExpectUnitsNear(db.Fixes[0].Latitude, db.Fixes[0].Longitude,
                           content.intersections[0].position);
  EXPECT_EQ(db.FixIndexSize(), 2u);
  const FixRecord* merit = db.FindFix("K6MERIT");
  ASSERT_NE(merit, nullptr);
  EXPECT_EQ(merit->Latitude, db.Fixes[2].Latitude);  // the later one wins
  EXPECT_TRUE(db.VictorAirways.empty());
  EXPECT_TRUE(db.JetAirways.empty());
}

TEST(DecodeWaypoint, EachRouteEntryIsOneSegment) {
  using L = fab::RouteLevel;
  struct Case {
    const char* what;
    fab::Route route;
    std::vector<std::string> victor_keys;
    std::vector<std::string> jet_keys;
  };
  const fab::RouteNeighbour before = Neighbour("ALPHA", 3050.0);
  const fab::RouteNeighbour after = Neighbour("BRAVO", 1524.5);
  const fab::RouteNeighbour absent{fab::Ident::FromWord(31), "K6", 1000.0};
  const std::vector<std::string> all = {"K6ALPHA", "K6MERIT", "K6BRAVO"};
  const Case cases[] = {
      {"victor with both neighbours", {L::Victor, "V16", before, after}, all, {}},
      {"jet, first of its route", {L::Jet, "J80", std::nullopt, after}, {}, {"K6MERIT", "K6BRAVO"}},
      {"victor, last of its route",
       {L::Victor, "V16", before, std::nullopt},
       {"K6ALPHA", "K6MERIT"},
       {}},
      {"both levels", {L::Both, "V16", before, after}, all, all},
      {"unknown level", {static_cast<L>(4), "V16", before, after}, {}, {}},
      {"ident words up to 31 mean no neighbour",
       {L::Victor, "V16", absent, absent},
       {"K6MERIT"},
       {}},
  };
  for (const Case& c : cases) {
    fab::SceneryContent content;
    content.intersections = {Waypoint("MERIT", {c.route})};
    NavDatabase db;
    ASSERT_EQ(LoadContent(db, content), LoadResult::Ok) << c.what;
    ASSERT_EQ(db.VictorAirways.size(), c.victor_keys.empty() ? 0u : 1u) << c.what;
    ASSERT_EQ(db.JetAirways.size(), c.jet_keys.empty() ? 0u : 1u) << c.what;
    for (const AirwayRecord& airway : db.VictorAirways) {
      EXPECT_EQ(airway.Kind, 8) << c.what;
      EXPECT_EQ(Keys(airway), c.victor_keys) << c.what;
      EXPECT_EQ(airway.FileSize, 18u + 21u * c.victor_keys.size()) << c.what;
    }
    for (const AirwayRecord& airway : db.JetAirways) {
      EXPECT_EQ(airway.Kind, 7) << c.what;
      EXPECT_EQ(Keys(airway), c.jet_keys) << c.what;
    }
  }
}

TEST(DecodeWaypoint, SegmentPointsCarryTheLegAltitudes) {
  fab::SceneryContent content;
  content.intersections = {
      Waypoint("MERIT", {{fab::RouteLevel::Victor, "V16     ", Neighbour("ALPHA", 3050.0),
                          Neighbour("BRAVO", 1524.5)}})};
  NavDatabase db;
  ASSERT_EQ(LoadContent(db, content), LoadResult::Ok);
  ASSERT_EQ(db.VictorAirways.size(), 1u);
  const AirwayRecord& airway = db.VictorAirways[0];
  EXPECT_EQ(std::string(airway.Name.data(), airway.Name.size()), std::string("V16\0\0\0\0\0\0", 9));
  ASSERT_EQ(airway.Points.size(), 3u);
  EXPECT_EQ(airway.Points[0].AltitudeFeet, 10006);
  EXPECT_EQ(airway.Points[1].AltitudeFeet, 0);
  EXPECT_EQ(airway.Points[2].AltitudeFeet, 5001);
  for (const AirwayPointRecord& point : airway.Points) {
    EXPECT_EQ(point.Latitude, 0);  // filled by binding
    EXPECT_EQ(point.Longitude, 0);
  }
}

TEST(DecodeWaypoint, RouteEntriesBeyondTheRecordAreDropped) {
  fab::Fs2004Record record = fab::EncodeWaypoint(
      Waypoint("MERIT", {{fab::RouteLevel::Victor, "V1", std::nullopt, Neighbour("BRAVO", 0.0)}}));
  record.body[1] = 9;  // claims nine route entries, holds one
  NavDatabase db;
  ASSERT_EQ(testing::LoadRecord(db, fab::kFs2004Waypoints, record), LoadResult::Ok);
  EXPECT_EQ(db.Fixes.size(), 1u);
  EXPECT_EQ(db.VictorAirways.size(), 1u);
}

}  // namespace
}  // namespace tarnvale
