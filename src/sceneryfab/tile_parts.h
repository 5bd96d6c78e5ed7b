// The makers of a tile's parts, by what they build. Each draws from the
// tile's random source; BuildTile calls them in a fixed order.
#pragma once

#include <cstdint>
#include <vector>

#include "sceneryfab/model.h"
#include "sceneryfab/tile_context.h"

namespace tarnvale::fab {

// Airport `number` of the world with its runways, starts, COMs and, now and
// then, a ground layout; a fuel trigger beside it goes to `fuel_triggers`.
Airport MakeAirport(TileContext& tile, std::uint64_t number,
                    std::vector<FuelTrigger>& fuel_triggers);

// The tile's share of ILS on the longest runway ends of `content`'s
// airports, with their marker beacons.
void AddIlss(TileContext& tile, SceneryContent& content);
Vor MakeVor(TileContext& tile, std::uint64_t number);
Ndb MakeNdb(TileContext& tile, std::uint64_t number);

// The tile's share of intersections, then of airways through them.
void AddIntersections(TileContext& tile, std::vector<Intersection>& intersections);
void AddAirways(TileContext& tile, const std::vector<Intersection>& intersections,
                std::vector<Airway>& airways);

// Mostly airspaces; now and then a centre or tower boundary, which yields none.
Boundary MakeBoundary(TileContext& tile);

}  // namespace tarnvale::fab
