// The fast paths of a world-sized run give exactly what the plain
// algorithms give: the airport ident set against a scan of the airports
// already read, the ILS grid against the cross product, the fix index against
// a scan of the fixes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "output/binding.h"
#include "scenery/bgl_loader.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/preset_generator.h"
#include "support/recording_run_view.h"

namespace tarnvale {
namespace {

// A small world whose tiles are loaded in an order that repeats some, so
// that whole files of duplicate airports come late.
class SmallWorld {
 public:
  SmallWorld() : world_(fab::PlanFor(fab::Preset::World, 1.0 / 32), 7) {}

  std::vector<std::size_t> LoadOrder() const {
    const std::size_t last = std::min<std::size_t>(world_.TileCount(), 4) - 1;
    return {0, last, 0, 1 % (last + 1), last, 2 % (last + 1), 1 % (last + 1)};
  }

  void Load(NavDatabase& db) const {
    for (const std::size_t tile : LoadOrder()) {
      const fab::Bytes file = fab::BuildFs2004File(fab::MakeFs2004File(world_.GenerateTile(tile)));
      ASSERT_EQ(LoadBglBytes(db, file, FsVersion::Fs2004), LoadResult::Ok);
    }
  }

  // Airport idents in load order, each kept only when no airport before it
  // had the same ident.
  std::vector<std::string> AirportsByScan() const {
    std::vector<std::string> kept;
    for (const std::size_t tile : LoadOrder()) {
      for (const fab::Airport& airport : world_.GenerateTile(tile).airports) {
        if (std::find(kept.begin(), kept.end(), airport.ident.text) == kept.end()) {
          kept.push_back(airport.ident.text);
        }
      }
    }
    return kept;
  }

 private:
  fab::WorldGenerator world_;
};

using RunwayFrequencies = std::vector<std::array<std::int32_t, 2>>;

RunwayFrequencies Bound(NavDatabase& db, IlsSearch search) {
  testing::RecordingRunView view;
  const CancelFlag cancel{false};
  EXPECT_EQ(BindIlsToRunways(db, view, cancel, search), BindResult::Done);
  RunwayFrequencies frequencies;
  for (const AirportRecord& airport : db.Airports) {
    for (const RunwayRecord& runway : airport.Runways) {
      frequencies.push_back({runway.PrimaryIlsFrequency, runway.SecondaryIlsFrequency});
    }
  }
  return frequencies;
}

// The position of the last fix with the point's key, or none.
const FixRecord* LastFixByScan(const NavDatabase& db, const AirwayPointRecord& point) {
  const auto found = std::find_if(db.Fixes.rbegin(), db.Fixes.rend(), [&](const FixRecord& fix) {
    return TextOf(fix.FixKey) == TextOf(point.FixKey);
  });
  return found == db.Fixes.rend() ? nullptr : &*found;
}

TEST(OptimisedAgainstPlain, DuplicateAirportsAreThoseAScanFinds) {
  const SmallWorld world;
  NavDatabase db;
  world.Load(db);
  std::vector<std::string> loaded;
  for (const AirportRecord& airport : db.Airports) loaded.emplace_back(TextOf(airport.Ident));
  EXPECT_EQ(loaded, world.AirportsByScan());
}

TEST(OptimisedAgainstPlain, IlsGridBindsAsTheCrossProduct) {
  const SmallWorld world;
  NavDatabase indexed;
  NavDatabase plain;
  world.Load(indexed);
  world.Load(plain);
  ASSERT_FALSE(indexed.Ilss.empty());
  const RunwayFrequencies frequencies = Bound(indexed, IlsSearch::SpatialIndex);
  EXPECT_EQ(frequencies, Bound(plain, IlsSearch::CrossProduct));
  EXPECT_TRUE(std::any_of(frequencies.begin(), frequencies.end(),
                          [](const auto& ends) { return ends[0] != 0 || ends[1] != 0; }));
}

TEST(OptimisedAgainstPlain, FixIndexBindsAirwaysAsAScanOfTheFixes) {
  const SmallWorld world;
  NavDatabase db;
  world.Load(db);
  testing::RecordingRunView view;
  const CancelFlag cancel{false};
  ASSERT_EQ(BindFixesToJetAirways(db, view, cancel), BindResult::Done);
  ASSERT_EQ(BindFixesToVictorAirways(db, view, cancel), BindResult::Done);
  std::size_t bound = 0;
  for (const auto* airways : {&db.JetAirways, &db.VictorAirways}) {
    for (const AirwayRecord& airway : *airways) {
      for (const AirwayPointRecord& point : airway.Points) {
        const FixRecord* fix = LastFixByScan(db, point);
        EXPECT_EQ(point.Latitude, fix ? fix->Latitude : 0) << TextOf(point.FixKey);
        EXPECT_EQ(point.Longitude, fix ? fix->Longitude : 0) << TextOf(point.FixKey);
        bound += fix != nullptr;
      }
    }
  }
  EXPECT_GT(bound, 0u);
}

}  // namespace
}  // namespace tarnvale
