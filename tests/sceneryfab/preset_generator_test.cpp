// Tests of the preset generator: airway routes, plans that scale, tiles that repeat with their
// seed, and believable ILS, airways and totals.

#include "sceneryfab/preset_generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "sceneryfab/fs2004_writer.h"

namespace tarnvale::fab {
namespace {

TEST(AttachRoutes, GivesEachPointItsNeighboursAndLegAltitudes) {
  std::vector<Intersection> fixes(3);
  for (int i = 0; i < 3; ++i) {
    fixes[static_cast<std::size_t>(i)].ident = std::string(1, static_cast<char>('A' + i));
    fixes[static_cast<std::size_t>(i)].region = "EG";
  }
  const Airway airway{
      "J1",
      RouteLevel::Jet,
      {{"A", "EG", 0.0}, {"B", "EG", 5000.0}, {"C", "EG", 6000.0}, {"D", "EG", 7000.0}}};
  AttachRoutes(fixes, {airway});
  ASSERT_EQ(fixes[0].routes.size(), 1u);
  EXPECT_FALSE(fixes[0].routes[0].previous);
  EXPECT_EQ(fixes[0].routes[0].next->ident.text, "B");
  EXPECT_EQ(fixes[0].routes[0].next->altitude_m, Single(5000.0));
  const Route& middle = fixes[1].routes.at(0);
  EXPECT_EQ(middle.level, RouteLevel::Jet);
  EXPECT_EQ(middle.name, "J1");
  EXPECT_EQ(middle.previous->ident.text, "A");
  EXPECT_EQ(middle.previous->altitude_m, Single(5000.0));  // the leg A-B
  EXPECT_EQ(middle.next->ident.text, "C");
  EXPECT_EQ(middle.next->altitude_m, Single(6000.0));      // the leg B-C
  EXPECT_EQ(fixes[2].routes.at(0).next->ident.text, "D");  // D is not here but still named
}

TEST(PresetPlan, ScalesTilesAndTotalsTogether) {
  const PresetPlan full = PlanFor(Preset::World, 1.0);
  EXPECT_EQ(full.airports, 24000u);
  EXPECT_GE(full.tiles, 200u);
  const PresetPlan small = PlanFor(Preset::World, 0.01);
  EXPECT_EQ(small.airports, 240u);
  EXPECT_EQ(small.intersections, 750u);
  EXPECT_EQ(small.tiles, 2u);
  EXPECT_LE(small.areas, small.tiles);
  EXPECT_EQ(PlanFor(Preset::Demo, 0.001).tiles, 1u);
  for (double bad : {0.0, -1.0, std::nan(""), HUGE_VAL, 1e9})
    EXPECT_THROW(PlanFor(Preset::World, bad), std::invalid_argument) << bad;
}

std::vector<Bytes> TileFiles(std::uint64_t seed, std::size_t tile) {
  const WorldGenerator world(PlanFor(Preset::Demo, 1.0), seed);
  return {BuildFs2004File(MakeFs2004File(world.GenerateTile(tile)))};
}

TEST(WorldGenerator, SameSeedSameBytesOtherSeedOtherBytes) {
  EXPECT_EQ(TileFiles(7, 1), TileFiles(7, 1));
  EXPECT_NE(TileFiles(7, 1), TileFiles(8, 1));
  EXPECT_NE(TileFiles(7, 0), TileFiles(7, 1));
}

double DistanceNm(const Position& a, const Position& b) {
  const double north = (a.latitude - b.latitude) * 60.0;
  const double east =
      (a.longitude - b.longitude) * 60.0 * std::cos(a.latitude * 3.14159265358979 / 180.0);
  return std::sqrt(north * north + east * east);
}

// Everything of a small world, tile by tile.
std::vector<SceneryContent> SmallWorld() {
  const WorldGenerator world(PlanFor(Preset::World, 0.05), 3);
  std::vector<SceneryContent> tiles;
  for (std::size_t t = 0; t < world.TileCount(); ++t) tiles.push_back(world.GenerateTile(t));
  return tiles;
}

TEST(WorldGenerator, TotalsMatchThePlanAndAirportIdentsAreUnique) {
  const PresetPlan plan = PlanFor(Preset::World, 0.05);
  std::set<std::string> idents;
  std::size_t airports = 0, vors = 0, ilss = 0, fixes = 0, boundaries = 0;
  for (const SceneryContent& tile : SmallWorld()) {
    for (const Airport& airport : tile.airports) idents.insert(airport.ident.text);
    airports += tile.airports.size();
    vors += tile.vors.size();
    ilss += tile.ilss.size();
    fixes += tile.intersections.size();
    boundaries += tile.boundaries.size();
  }
  EXPECT_EQ(airports, plan.airports);
  EXPECT_EQ(idents.size(), plan.airports);
  EXPECT_EQ(vors, plan.vors);
  EXPECT_EQ(ilss, plan.ilss);
  EXPECT_EQ(fixes, plan.intersections);
  EXPECT_EQ(boundaries, plan.boundaries);
}

TEST(WorldGenerator, EveryIlsLiesNearTheRunwayEndThatNamesIt) {
  for (const SceneryContent& tile : SmallWorld()) {
    for (const Ils& ils : tile.ilss) {
      bool served = false;
      for (const Airport& airport : tile.airports) {
        for (const Runway& runway : airport.runways) {
          const bool names = runway.primary.ils_ident.text == ils.ident.text ||
                             runway.secondary.ils_ident.text == ils.ident.text;
          served = served || (names && DistanceNm(ils.position, runway.centre) < 1.9);
        }
      }
      EXPECT_TRUE(served) << ils.ident.text;
    }
  }
}

TEST(WorldGenerator, AirwaysRunThroughSharedIntersectionsOfTheirTile) {
  std::size_t shared = 0;
  for (const SceneryContent& tile : SmallWorld()) {
    std::map<std::string, std::size_t> airways_through;
    for (const Intersection& fix : tile.intersections)
      airways_through[fix.region.text + fix.ident.text] = 0;
    for (const Airway& airway : tile.airways) {
      EXPECT_GE(airway.points.size(), 2u);
      for (const AirwayPoint& point : airway.points) {
        const auto found = airways_through.find(point.region.text + point.ident.text);
        ASSERT_NE(found, airways_through.end()) << airway.name;
        ++found->second;
      }
    }
    for (const auto& [key, count] : airways_through) shared += count > 1 ? 1 : 0;
  }
  EXPECT_GT(shared, 0u);
}

TEST(WorldGenerator, DemoHoldsEveryKindOfRecord) {
  const WorldGenerator world(PlanFor(Preset::Demo, 1.0), 1);
  std::map<std::string, std::size_t> totals;
  std::set<BoundaryPointType> shapes;
  for (std::size_t t = 0; t < world.TileCount(); ++t) {
    const SceneryContent tile = world.GenerateTile(t);
    for (const auto& [kind, count] : CountFs2004Records(tile)) totals[kind] += count;
    for (const Boundary& boundary : tile.boundaries) {
      for (const BoundaryPoint& point : boundary.outlines.at(0)) shapes.insert(point.type);
    }
  }
  for (const auto& [kind, count] : totals) EXPECT_GT(count, 0u) << kind;
  EXPECT_EQ(shapes.size(), 6u);  // lines, origins, both arcs and circles
}

}  // namespace
}  // namespace tarnvale::fab
