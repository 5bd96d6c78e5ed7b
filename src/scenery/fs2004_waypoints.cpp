#include "scenery/fs2004_waypoints.h"

#include <vector>

#include "scenery/decoding.h"

namespace tarnvale {

namespace {

constexpr std::size_t kWaypointFixedSize = 28;  // route entries follow
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

DecodeResult AppendPoint(NavDatabase& db, RecordArray<AirwayRecord>& airways,
                         const FixedText<9>& key, std::int32_t altitude_feet) {
  AirwayPointRecord* point = db.AppendAirwayPoint(airways);
  if (!point) return DecodeResult::OutOfMemory;
  point->FixKey = key;
  point->AltitudeFeet = altitude_feet;
  return DecodeResult::Done;
}

// Appends the neighbour's point when the route names one.
DecodeResult AppendNeighbour(NavDatabase& db, RecordArray<AirwayRecord>& airways,
                             const ByteCursor& route, Neighbour neighbour) {
  const std::uint32_t ident_word = route.U32(neighbour.offset);
  if (ident_word <= kLastAbsentIdentWord) return DecodeResult::Done;
  const FixedText<9> key = PointKey(ident_word, route.U32(neighbour.offset + 4));
  const double altitude_metres = DecodeFloat(route.U32(neighbour.offset + 8));
  return AppendPoint(db, airways, key, MetresToFeet(altitude_metres));
}

DecodeResult BuildSegment(NavDatabase& db, RecordKind kind, const ByteCursor& route,
                          const FixedText<9>& this_key) {
  const bool victor = kind == RecordKind::VictorAirway;
  RecordArray<AirwayRecord>& airways = victor ? db.VictorAirways : db.JetAirways;
  AirwayRecord* airway = victor ? db.AppendVictorAirway() : db.AppendJetAirway();
  if (!airway) return DecodeResult::OutOfMemory;
  SetText(airway->Name, TextUpToNul(route, 1, kRouteNameSize));
  TrimBlanks(airway->Name);
  if (AppendNeighbour(db, airways, route, kPreviousWaypoint) == DecodeResult::OutOfMemory ||
      AppendPoint(db, airways, this_key, 0) == DecodeResult::OutOfMemory) {
    return DecodeResult::OutOfMemory;
  }
  return AppendNeighbour(db, airways, route, kNextWaypoint);
}

DecodeResult DecodeRoute(NavDatabase& db, const ByteCursor& route, const FixedText<9>& this_key) {
  const std::uint8_t type = route.U8(0);
  if ((type == kVictorRoute || type == kVictorAndJetRoute) &&
      BuildSegment(db, RecordKind::VictorAirway, route, this_key) == DecodeResult::OutOfMemory) {
    return DecodeResult::OutOfMemory;
  }
  if (type == kJetRoute || type == kVictorAndJetRoute) {
    return BuildSegment(db, RecordKind::JetAirway, route, this_key);
  }
  return DecodeResult::Done;
}

}  // namespace

FixedText<9> PointKey(std::uint32_t ident_word, std::uint32_t region_word) {
  const FixedText<6> region = DecodeIdent(region_word & 0x7FF);
  const FixedText<6> ident = DecodeIdent(ident_word >> 5);
  FixedText<9> key{};
  // A region has at most three characters and an ident five: they fit.
  std::size_t length = 0;
  for (const std::string_view part : {TextOf(region), TextOf(ident)}) {
    for (const char c : part) {
      if (length < key.size() - 1) key[length++] = c;
    }
  }
  TrimBlanks(key);
  return key;
}

DecodeResult DecodeWaypoint(NavDatabase& db, const ByteCursor& record) {
  if (!record.Contains(0, kWaypointFixedSize)) return DecodeResult::Done;
  FixRecord* fix = db.AppendFix();
  if (!fix) return DecodeResult::OutOfMemory;
  const GeoPoint position = ReadPosition(record, 8, 12);
  fix->Latitude = position.Latitude;
  fix->Longitude = position.Longitude;
  fix->FixKey = PointKey(record.U32(20), record.U32(24));
  if (!db.IndexLastFix()) return DecodeResult::OutOfMemory;
  const std::size_t routes = record.U8(7);
  for (std::size_t k = 0; k < routes; ++k) {
    const std::size_t offset = kWaypointFixedSize + k * kRouteEntrySize;
    if (!record.Contains(offset, kRouteEntrySize)) break;  // entries beyond the record
    if (DecodeRoute(db, record.Slice(offset, kRouteEntrySize), fix->FixKey) == DecodeResult::OutOfMemory) {
      return DecodeResult::OutOfMemory;
    }
  }
  return DecodeResult::Done;
}

}  // namespace tarnvale
