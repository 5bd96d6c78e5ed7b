// Reads the FS2002 navigation chain: fix lists, and victor and jet airway lists point by point.

#include "scenery/fs2002_navigation.h"

#include <cstdint>
#include <optional>

#include "scenery/fs2002_airports.h"

namespace tarnvale {

namespace {

using fs2002::Chunk;
using fs2002::ChunkAt;

constexpr std::uint32_t kListChunk = 1;
constexpr std::uint32_t kFixList = 6;
constexpr std::uint32_t kVictorAirwayList = 7;
constexpr std::uint32_t kJetAirwayList = 8;
constexpr std::size_t kFirstListRecord = 16;

constexpr std::uint32_t kFixRecord = 0x10008;
constexpr std::uint32_t kAirwayNameRecord = 0x10006;
constexpr std::uint32_t kAirwayPointRecord = 0x11002;
constexpr std::size_t kKeyCharacters = 8;

// The records of a list chunk from its first record to the first that does
// not fit inside the chunk.
std::optional<Chunk> FirstRecord(const Chunk& list) {
  return ChunkAt(list.bytes, kFirstListRecord);
}
std::optional<Chunk> NextRecord(const Chunk& list, const Chunk& record) {
  return ChunkAt(list.bytes, record.next);
}

// A record too short for its fields (the key is the last) adds nothing.
void DecodeFix(NavDatabase& db, const ByteCursor& bytes) {
  FixRecord read;
  fs2002::CopyTrimmedText(read.FixKey, bytes, 28, kKeyCharacters);
  read.Latitude = bytes.I32(12);
  read.Longitude = bytes.I32(20);
  if (db.PassOverIfCutShort(bytes)) return;
  db.AppendFix() = read;
  static_cast<void>(db.IndexLastFix());  // the fix was just appended
}

void StartAirway(NavDatabase& db, const ByteCursor& bytes, RecordKind kind) {
  FixedText<9> name;
  fs2002::CopyTrimmedText(name, bytes, 8, kKeyCharacters);
  if (db.PassOverIfCutShort(bytes)) return;
  (kind == RecordKind::JetAirway ? db.AppendJetAirway() : db.AppendVictorAirway()).Name = name;
}

void AddAirwayPoint(NavDatabase& db, const ByteCursor& bytes, RecordArray<AirwayRecord>& airways) {
  if (airways.empty()) {
    ++db.notes.points_without_airway;
    return;
  }
  FixedText<9> key;
  fs2002::CopyTrimmedText(key, bytes, 8, kKeyCharacters);
  // The scenery's own altitude value, carried as it stands.
  const std::int32_t altitude = bytes.I32(20);
  if (db.PassOverIfCutShort(bytes)) return;
  AirwayPointRecord& point = *db.AppendAirwayPoint(airways);
  point.FixKey = key;
  point.AltitudeFeet = altitude;
}

void DecodeAirwayRecord(NavDatabase& db, const Chunk& record, RecordKind kind) {
  if (record.type == kAirwayNameRecord) StartAirway(db, record.bytes, kind);
  if (record.type == kAirwayPointRecord) {
    AddAirwayPoint(db, record.bytes,
                   kind == RecordKind::JetAirway ? db.JetAirways : db.VictorAirways);
  }
}

// A list too short for its kind word reads kind 0, which names no list.
void DecodeListChunk(NavDatabase& db, const Chunk& list) {
  switch (list.bytes.U32(8)) {
    case kFixList:
      return DecodeFs2002Fixes(db, list);
    case kVictorAirwayList:
      return DecodeFs2002Airways(db, list, RecordKind::VictorAirway);
    case kJetAirwayList:
      return DecodeFs2002Airways(db, list, RecordKind::JetAirway);
    default:
      return;
  }
}

}  // namespace

void ReadNavigationChain(NavDatabase& db, const ByteCursor& file, std::size_t first_chunk) {
  for (auto chunk = ChunkAt(file, first_chunk); chunk && chunk->type != 0;
       chunk = ChunkAt(file, chunk->next)) {
    if (chunk->type == kListChunk) DecodeListChunk(db, *chunk);
    if (chunk->type == fs2002::kAirportListChunk) ReadAirportList(db, file, *chunk);
  }
}

void DecodeFs2002Fixes(NavDatabase& db, const Chunk& list) {
  for (auto record = FirstRecord(list); record && record->type == kFixRecord;
       record = NextRecord(list, *record)) {
    DecodeFix(db, record->bytes);
  }
}

void DecodeFs2002Airways(NavDatabase& db, const Chunk& list, RecordKind kind) {
  for (auto record = FirstRecord(list); record && record->type != 0;
       record = NextRecord(list, *record)) {
    DecodeAirwayRecord(db, *record, kind);
  }
}

}  // namespace tarnvale
