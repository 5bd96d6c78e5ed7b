// The world of a preset cut into tiles, each tile's content made from its own random source in a
// fixed order.

#include "sceneryfab/preset_generator.h"

#include <algorithm>
#include <string>
#include <vector>

#include "sceneryfab/text.h"
#include "sceneryfab/tile_parts.h"

namespace tarnvale::fab {

namespace {

// Makes an item for each number of the tile's share of `total` items.
template <typename Item, typename Make>
void AddShare(const TileContext& tile, std::size_t total, std::vector<Item>& items, Make make) {
  const Range share = tile.Share(total);
  for (std::uint64_t n = share.first; n < share.end; ++n) items.push_back(make(n));
}

// Everything of one tile, its parts made in a fixed order from the tile's
// random source.
SceneryContent BuildTile(const PresetPlan& plan, std::size_t index, std::uint64_t seed) {
  TileContext tile(plan, index, seed);
  SceneryContent content;
  AddShare(tile, plan.airports, content.airports,
           [&](std::uint64_t n) { return MakeAirport(tile, n, content.fuel_triggers); });
  AddIlss(tile, content);
  AddShare(tile, plan.vors, content.vors, [&](std::uint64_t n) { return MakeVor(tile, n); });
  AddShare(tile, plan.ndbs, content.ndbs, [&](std::uint64_t n) { return MakeNdb(tile, n); });
  AddIntersections(tile, content.intersections);
  AddAirways(tile, content.intersections, content.airways);
  AttachRoutes(content.intersections, content.airways);
  AddShare(tile, plan.boundaries, content.boundaries,
           [&](std::uint64_t) { return MakeBoundary(tile); });
  return content;
}

}  // namespace

WorldGenerator::WorldGenerator(PresetPlan plan, std::uint64_t seed) : plan_(plan), seed_(seed) {}

TileInfo WorldGenerator::Tile(std::size_t index) const {
  return TileInfo{std::min(index * plan_.areas / plan_.tiles, plan_.areas - 1),
                  ZeroPadded(index, 4)};
}

std::vector<AreaInfo> WorldGenerator::Areas() const {
  std::vector<AreaInfo> areas;
  for (std::size_t a = 0; a < plan_.areas; ++a) {
    const std::string number = ZeroPadded(a + 1, 2);
    areas.push_back(AreaInfo{"Region " + number, "Region" + number});
  }
  return areas;
}

SceneryContent WorldGenerator::GenerateTile(std::size_t index) const {
  return BuildTile(plan_, index, seed_);
}

}  // namespace tarnvale::fab
