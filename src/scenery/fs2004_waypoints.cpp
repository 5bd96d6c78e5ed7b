// Reads FS2004 waypoint records: each an intersection, and each of its routes a short airway
// segment with its keys decoded once.

#include "scenery/fs2004_waypoints.h"

#include <array>
#include <vector>

#include "scenery/decoding.h"

namespace tarnvale {

namespace {

constexpr std::size_t kFirstRouteEntry = 28;
constexpr std::size_t kRouteEntrySize = 33;
constexpr std::size_t kRouteNameSize = 8;
constexpr std::uint32_t kLastAbsentIdentWord = 31;  // ident bits all zero

constexpr std::uint8_t kVictorRoute = 1;
constexpr std::uint8_t kJetRoute = 2;
constexpr std::uint8_t kVictorAndJetRoute = 3;

// A neighbour on a route, at `offset` inside the route entry.
struct Neighbour {
  std::size_t offset;
};
constexpr Neighbour kNextWaypoint{9};
constexpr Neighbour kPreviousWaypoint{21};

void AppendPoint(NavDatabase& db, RecordArray<AirwayRecord>& airways, const FixedText<9>& key,
                 std::int32_t altitude_feet) {
  AirwayPointRecord& point = *db.AppendAirwayPoint(airways);
  point.FixKey = key;
  point.AltitudeFeet = altitude_feet;
}

// Appends the neighbour's point when the route names one.
void AppendNeighbour(NavDatabase& db, RecordArray<AirwayRecord>& airways, const ByteCursor& route,
                     Neighbour neighbour) {
  const std::uint32_t ident_word = route.U32(neighbour.offset);
  if (ident_word <= kLastAbsentIdentWord) return;
  const FixedText<9> key = PointKey(ident_word, route.U32(neighbour.offset + 4));
  const double altitude_metres = DecodeFloat(route.U32(neighbour.offset + 8));
  AppendPoint(db, airways, key, MetresToFeet(altitude_metres));
}

void BuildSegment(NavDatabase& db, RecordKind kind, const ByteCursor& route,
                  const FixedText<9>& this_key) {
  const bool victor = kind == RecordKind::VictorAirway;
  RecordArray<AirwayRecord>& airways = victor ? db.VictorAirways : db.JetAirways;
  AirwayRecord& airway = victor ? db.AppendVictorAirway() : db.AppendJetAirway();
  SetText(airway.Name, TextUpToNul(route, 1, kRouteNameSize));
  TrimBlanks(airway.Name);
  AppendNeighbour(db, airways, route, kPreviousWaypoint);
  AppendPoint(db, airways, this_key, 0);
  AppendNeighbour(db, airways, route, kNextWaypoint);
}

void DecodeRoute(NavDatabase& db, const ByteCursor& route, const FixedText<9>& this_key) {
  const std::uint8_t type = route.U8(0);
  if (type == kVictorRoute || type == kVictorAndJetRoute) {
    BuildSegment(db, RecordKind::VictorAirway, route, this_key);
  }
  if (type == kJetRoute || type == kVictorAndJetRoute) {
    BuildSegment(db, RecordKind::JetAirway, route, this_key);
  }
}

// The region of a key is one of 2048 values, decoded once: every
// intersection and every airway point of a world names one.
const FixedText<6>& Region(std::uint32_t region_word) {
  constexpr std::uint32_t kRegionBits = 0x7FF;
  static const std::array<FixedText<6>, kRegionBits + 1> kRegions = [] {
    std::array<FixedText<6>, kRegionBits + 1> regions{};
    for (std::uint32_t word = 0; word <= kRegionBits; ++word) regions[word] = DecodeIdent(word);
    return regions;
  }();
  return kRegions[region_word & kRegionBits];
}

FixedText<9> JoinedKey(std::uint32_t ident_word, std::uint32_t region_word) {
  const FixedText<6>& region = Region(region_word);
  const FixedText<6> ident = DecodeIdent(ident_word >> 5);
  FixedText<9> key{};
  // A region has at most three characters and an ident five: they fit.
  std::size_t length = 0;
  for (std::size_t i = 0; i < region.size() && region[i] != '\0'; ++i) key[length++] = region[i];
  for (std::size_t i = 0; i < ident.size() && ident[i] != '\0' && length < key.size() - 1; ++i) {
    key[length++] = ident[i];
  }
  TrimBlanks(key);
  return key;
}

}  // namespace

// An intersection's key is decoded for the intersection and again for each
// airway point that names it, mostly among the records just before and
// after it: the last keys decoded on this thread are kept by their words.
FixedText<9> PointKey(std::uint32_t ident_word, std::uint32_t region_word) {
  struct Kept {
    std::uint64_t words = 0;
    FixedText<9> key{};  // what words 0 decode to
  };
  constexpr std::size_t kKept = 1024;
  thread_local std::array<Kept, kKept> kept;
  const std::uint64_t words = (std::uint64_t{ident_word} << 32) | region_word;
  Kept& slot = kept[(words * 0x9E3779B97F4A7C15ULL) >> 54];
  if (slot.words != words) slot = {words, JoinedKey(ident_word, region_word)};
  return slot.key;
}

// A record too short for its fixed fields (the region word is the last)
// adds nothing.
void DecodeWaypoint(NavDatabase& db, const ByteCursor& record) {
  FixRecord read;
  const GeoPoint position = ReadPosition(record, 8, 12);
  read.Latitude = position.Latitude;
  read.Longitude = position.Longitude;
  read.FixKey = PointKey(record.U32(20), record.U32(24));
  if (db.PassOverIfCutShort(record)) return;
  FixRecord& fix = db.AppendFix() = read;
  static_cast<void>(db.IndexLastFix());  // the fix was just appended
  const std::size_t routes = record.U8(7);
  for (std::size_t k = 0; k < routes; ++k) {
    const ByteCursor route = record.Slice(kFirstRouteEntry + k * kRouteEntrySize, kRouteEntrySize);
    if (db.PassOverIfCutShort(route)) break;  // entries beyond the record
    DecodeRoute(db, route, fix.FixKey);
  }
}

}  // namespace tarnvale
