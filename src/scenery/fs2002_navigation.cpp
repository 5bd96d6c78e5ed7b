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
constexpr std::size_t kListKindMinSize = 12;
constexpr std::size_t kFirstListRecord = 16;

constexpr std::uint32_t kFixRecord = 0x10008;
constexpr std::uint32_t kAirwayNameRecord = 0x10006;
constexpr std::uint32_t kAirwayPointRecord = 0x11002;
// Whole sizes (head included) a record needs for the fields read from it.
constexpr std::size_t kFixMinSize = 36;
constexpr std::size_t kAirwayNameMinSize = 16;
constexpr std::size_t kAirwayPointMinSize = 24;
constexpr std::size_t kKeyCharacters = 8;

// The records of a list chunk from its first record to the first that does
// not fit inside the chunk.
std::optional<Chunk> FirstRecord(const Chunk& list) { return ChunkAt(list.bytes, kFirstListRecord); }
std::optional<Chunk> NextRecord(const Chunk& list, const Chunk& record) {
  return ChunkAt(list.bytes, record.next);
}

int DecodeFix(NavDatabase& db, const ByteCursor& bytes) {
  FixRecord* fix = db.AppendFix();
  if (!fix) return kFs2002OutOfMemory;
  fs2002::CopyTrimmedText(fix->FixKey, bytes, 28, kKeyCharacters);
  fix->Latitude = bytes.I32(12);
  fix->Longitude = bytes.I32(20);
  return db.IndexLastFix() ? kFs2002Done : kFs2002OutOfMemory;
}

int StartAirway(NavDatabase& db, const ByteCursor& bytes, RecordKind kind) {
  AirwayRecord* airway =
      kind == RecordKind::JetAirway ? db.AppendJetAirway() : db.AppendVictorAirway();
  if (!airway) return kFs2002OutOfMemory;
  fs2002::CopyTrimmedText(airway->Name, bytes, 8, kKeyCharacters);
  return kFs2002Done;
}

int AddAirwayPoint(NavDatabase& db, const ByteCursor& bytes, RecordArray<AirwayRecord>& airways) {
  if (airways.empty()) return kFs2002Done;
  AirwayPointRecord* point = db.AppendAirwayPoint(airways);
  if (!point) return kFs2002OutOfMemory;
  fs2002::CopyTrimmedText(point->FixKey, bytes, 8, kKeyCharacters);
  // The scenery's own altitude value, carried as it stands.
  point->AltitudeFeet = bytes.I32(20);
  return kFs2002Done;
}

int DecodeAirwayRecord(NavDatabase& db, const Chunk& record, RecordKind kind) {
  if (record.type == kAirwayNameRecord && record.bytes.Size() >= kAirwayNameMinSize) {
    return StartAirway(db, record.bytes, kind);
  }
  if (record.type == kAirwayPointRecord && record.bytes.Size() >= kAirwayPointMinSize) {
    return AddAirwayPoint(db, record.bytes,
                          kind == RecordKind::JetAirway ? db.JetAirways : db.VictorAirways);
  }
  return kFs2002Done;
}

int DecodeListChunk(NavDatabase& db, const Chunk& list) {
  if (list.bytes.Size() < kListKindMinSize) return kFs2002Done;
  switch (list.bytes.U32(8)) {
    case kFixList:
      return DecodeFs2002Fixes(db, list);
    case kVictorAirwayList:
      return DecodeFs2002Airways(db, list, RecordKind::VictorAirway);
    case kJetAirwayList:
      return DecodeFs2002Airways(db, list, RecordKind::JetAirway);
    default:
      return kFs2002Done;
  }
}

}  // namespace

int ReadNavigationChain(NavDatabase& db, const ByteCursor& file, std::size_t first_chunk) {
  for (auto chunk = ChunkAt(file, first_chunk); chunk && chunk->type != 0;
       chunk = ChunkAt(file, chunk->next)) {
    int result = kFs2002Done;
    if (chunk->type == kListChunk) result = DecodeListChunk(db, *chunk);
    if (chunk->type == fs2002::kAirportListChunk) result = ReadAirportList(db, file, *chunk);
    if (result != kFs2002Done) return kFs2002OutOfMemory;
  }
  return kFs2002Done;
}

int DecodeFs2002Fixes(NavDatabase& db, const Chunk& list) {
  for (auto record = FirstRecord(list); record && record->type == kFixRecord;
       record = NextRecord(list, *record)) {
    if (record->bytes.Size() < kFixMinSize) continue;
    if (DecodeFix(db, record->bytes) != kFs2002Done) return kFs2002OutOfMemory;
  }
  return kFs2002Done;
}

int DecodeFs2002Airways(NavDatabase& db, const Chunk& list, RecordKind kind) {
  for (auto record = FirstRecord(list); record && record->type != 0;
       record = NextRecord(list, *record)) {
    if (DecodeAirwayRecord(db, *record, kind) != kFs2002Done) return kFs2002OutOfMemory;
  }
  return kFs2002Done;
}

}  // namespace tarnvale
