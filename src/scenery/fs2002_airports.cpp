#include "scenery/fs2002_airports.h"

#include <array>
#include <string>

#include "scenery/decoding.h"
#include "scenery/fs2002_ground_layout.h"

namespace tarnvale {

namespace {

using fs2002::Chunk;
using fs2002::ChunkAt;

constexpr std::uint32_t kAirportEntry = 0x30002;
constexpr std::uint32_t kAirportEntryTag = 0x50001;
constexpr std::size_t kAirportEntryHeadSize = 16;
constexpr std::size_t kDataBlockHeadSize = 16;

constexpr std::uint32_t kReferencePointChunk = 0x10001;
constexpr std::uint32_t kRunwayChunk = 0x10002;
constexpr std::uint32_t kSubObjectChunk = 0x10004;
constexpr std::uint32_t kIdentifierChunk = 0x10006;
constexpr std::uint32_t kGroundLayoutChunk = 0x11001;
constexpr std::uint32_t kFrequencyChunk = 0x20001;

// Whole sizes (head included) a chunk needs for the fields read from it.
constexpr std::size_t kListChunkMinSize = 24;
constexpr std::size_t kReferencePointMinSize = 32;
constexpr std::size_t kFrequencyMinSize = 16;
constexpr std::size_t kRunwayMinSize = 56;
constexpr std::size_t kSubObjectMinSize = 44;
constexpr std::size_t kIlsIdentMinSize = 52;
constexpr std::size_t kMarkerMinSize = 48;

constexpr std::uint32_t kSubObjectIlsIdent = 4;
constexpr std::uint32_t kSubObjectMarker = 7;
constexpr std::uint32_t kIlsPrimaryEnd = 2;
constexpr std::uint32_t kIlsSecondaryEnd = 4;
constexpr std::uint32_t kGroundFrequency = 5;
constexpr std::uint32_t kTowerFrequency = 6;

// The NameLength field counts the NUL and is 16 bits wide.
constexpr std::uint16_t kLongestAirportName = 0xFFFE;

struct DesignatorSuffixes {
  const char* primary;
  const char* secondary;
};
constexpr std::uint32_t kHelipadDesignator = 4;
constexpr std::array<DesignatorSuffixes, 5> kDesignatorSuffixes = {{
    {"", ""}, {"L", "R"}, {"R", "L"}, {"C", "C"}, {"H", "H"}}};
constexpr std::uint32_t kHighestRunwayNumber = 36;

bool Holds(const Chunk& chunk, std::size_t size) { return chunk.bytes.Size() >= size; }

// Exact frequency in Hz from eight packed digits in units of 0.0001 MHz,
// keeping the low 32 bits of what nibbles above 9 may blow up.
std::int32_t PackedMegahertzToHz(std::uint32_t packed) {
  const std::uint64_t hz = static_cast<std::uint64_t>(BcdToDecimal(packed)) * 100u;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(hz));
}

bool StoreAirportName(NavDatabase& db, AirportRecord& airport, const Chunk& entry,
                      std::uint16_t name_length) {
  if (name_length > kLongestAirportName) name_length = kLongestAirportName;
  const std::uint16_t stored_length = static_cast<std::uint16_t>(name_length + 1);
  if (!db.AllocateText(airport.Name, stored_length)) return false;
  airport.NameLength = stored_length;
  const ByteCursor text = entry.bytes.From(kAirportEntryHeadSize);
  for (std::size_t i = 0; i < name_length && text.Contains(i, 1) && text.U8(i) != 0; ++i) {
    airport.Name[i] = static_cast<char>(text.U8(i));
  }
  return true;
}

// The airport's reference point: copied as it stands into the record, and
// kept in degrees for placing the ground layout.
void ReadReferencePoint(AirportRecord& airport, const ByteCursor& bytes,
                        fs2002::Degrees& reference) {
  airport.Latitude = bytes.I32(12);
  airport.Longitude = bytes.I32(20);
  airport.AltitudeFeet = MetresToFeet(bytes.I32(28));
  reference.latitude = bytes.I32(12) * 90.0 / 10001750.0;
  reference.longitude = bytes.I32(20) * 360.0 / 4294967296.0;
}

void ReadFrequency(AirportRecord& airport, const ByteCursor& bytes) {
  const std::uint32_t kind = bytes.U32(12);
  if (kind != kGroundFrequency && kind != kTowerFrequency) return;
  airport.HasTowerOrGround = 1;
  const std::int32_t hz = PackedMegahertzToHz(bytes.U32(8));
  (kind == kGroundFrequency ? airport.GroundFrequency : airport.TowerFrequency) = hz;
}

// Decodes one airport chunk other than a runway.
int DecodeAirportChunk(NavDatabase& db, const Chunk& chunk, fs2002::Degrees& reference) {
  AirportRecord& airport = *db.CurrentAirport();
  switch (chunk.type) {
    case kReferencePointChunk:
      if (Holds(chunk, kReferencePointMinSize)) ReadReferencePoint(airport, chunk.bytes, reference);
      return kFs2002Done;
    case kIdentifierChunk:
      fs2002::CopyTrimmedText(airport.Ident, chunk.bytes, fs2002::kChunkHeadSize,
                              chunk.size & 0xFFFFu);
      return kFs2002Done;
    case kFrequencyChunk:
      if (Holds(chunk, kFrequencyMinSize)) ReadFrequency(airport, chunk.bytes);
      return kFs2002Done;
    case kSubObjectChunk:
      if (Holds(chunk, kSubObjectMinSize) && chunk.bytes.U32(40) == kSubObjectMarker) {
        return DecodeFs2002Marker(db, chunk.bytes);
      }
      return kFs2002Done;
    case kGroundLayoutChunk:
      return DecodeFs2002GroundLayout(db, chunk, reference);
    default:
      return kFs2002Done;
  }
}

void SetDesignations(RunwayRecord& runway, std::uint32_t number, std::uint32_t designator) {
  if (number > kHighestRunwayNumber || designator >= kDesignatorSuffixes.size()) return;
  std::uint32_t opposite = number + 18;
  if (opposite > kHighestRunwayNumber) opposite -= kHighestRunwayNumber;
  const DesignatorSuffixes& suffixes = kDesignatorSuffixes[designator];
  SetText(runway.PrimaryDesignation, std::to_string(number) + suffixes.primary);
  SetText(runway.SecondaryDesignation, std::to_string(opposite) + suffixes.secondary);
  runway.IsHelipad = designator == kHelipadDesignator ? 1 : 0;
}

void FillRunway(RunwayRecord& runway, const ByteCursor& bytes) {
  const fs2002::Degrees centre = fs2002::PositionAt(bytes, 12, 20);
  const std::int32_t turn = static_cast<std::int32_t>(bytes.U32(32) >> 16);
  runway.Heading = NormalizeHeading(static_cast<std::int16_t>(turn * 360 / 65536));
  runway.OppositeHeading = NormalizeHeading(static_cast<std::int16_t>(runway.Heading - 180));
  const auto length_metres = static_cast<std::uint32_t>(TruncateToInt64(bytes.U32(40) * 0.3048));
  const RunwayEnds ends =
      ComputeRunwayEnds(centre.latitude, centre.longitude, runway.Heading, length_metres);
  runway.Latitude = LatitudeToUnits(centre.latitude);
  runway.Longitude = LongitudeToUnits(centre.longitude);
  runway.AltitudeFeet = MetresToFeet(bytes.I32(28));
  runway.PrimaryEndLatitude = ends.primary.Latitude;
  runway.PrimaryEndLongitude = ends.primary.Longitude;
  runway.SecondaryEndLatitude = ends.secondary.Latitude;
  runway.SecondaryEndLongitude = ends.secondary.Longitude;
  runway.LengthFeet = bytes.I32(40);
  runway.WidthFeet = bytes.I32(44);
  SetDesignations(runway, bytes.U32(52), bytes.U32(48));
}

// An ILS identifier sub-chunk names the ILS of one runway end; an empty text
// clears that end's identifier.
void ReadIlsIdent(RunwayRecord& runway, const Chunk& sub_chunk) {
  if (!Holds(sub_chunk, kIlsIdentMinSize)) return;
  const std::uint32_t end = sub_chunk.bytes.U32(48);
  if (end != kIlsPrimaryEnd && end != kIlsSecondaryEnd) return;
  const auto text_length = static_cast<std::uint16_t>(sub_chunk.size - 48);
  FixedText<6> ident{};
  if (text_length != 0) fs2002::CopyTrimmedText(ident, sub_chunk.bytes, 56, text_length);
  (end == kIlsPrimaryEnd ? runway.PrimaryIlsIdent : runway.SecondaryIlsIdent) = ident;
}

// `runway` is null when the runway chunk was too short to make a runway of.
int DecodeRunwaySubChunk(NavDatabase& db, RunwayRecord* runway, const Chunk& sub_chunk) {
  if (!Holds(sub_chunk, kSubObjectMinSize)) return kFs2002Done;
  switch (sub_chunk.bytes.U32(40)) {
    case kSubObjectIlsIdent:
      if (runway) ReadIlsIdent(*runway, sub_chunk);
      return kFs2002Done;
    case kSubObjectMarker:
      return DecodeFs2002Marker(db, sub_chunk.bytes);
    default:
      return kFs2002Done;
  }
}

int DecodeListedAirport(NavDatabase& db, const ByteCursor& file, const Chunk& entry) {
  if (entry.type != kAirportEntry || !Holds(entry, kAirportEntryHeadSize)) return kFs2002Done;
  const auto name_length = static_cast<std::uint16_t>(((entry.size + 8u) & 0xFFFFu) - 16u);
  const std::uint32_t data_block = entry.bytes.U32(12);
  const bool decodable = entry.bytes.U32(8) == kAirportEntryTag && data_block != 0 &&
                         file.Contains(data_block, kDataBlockHeadSize) &&
                         file.U32(data_block) == 1 && file.U32(data_block + 8) == 1;
  return decodable ? DecodeFs2002Airport(db, file, name_length, entry, data_block) : kFs2002Done;
}

}  // namespace

int ReadAirportChain(NavDatabase& db, const ByteCursor& file, std::size_t first_chunk) {
  for (auto chunk = ChunkAt(file, first_chunk); chunk && chunk->type != 0;
       chunk = ChunkAt(file, chunk->next)) {
    if (chunk->type != fs2002::kAirportListChunk) continue;
    if (ReadAirportList(db, file, *chunk) != kFs2002Done) return kFs2002OutOfMemory;
  }
  return kFs2002Done;
}

int ReadAirportList(NavDatabase& db, const ByteCursor& file, const Chunk& list) {
  if (!Holds(list, kListChunkMinSize)) return kFs2002Done;
  const std::uint32_t count = list.bytes.U32(20);
  std::size_t position = kListChunkMinSize;
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto entry = ChunkAt(list.bytes, position);
    if (!entry) break;
    if (DecodeListedAirport(db, file, *entry) != kFs2002Done) return kFs2002OutOfMemory;
    position = entry->next;
  }
  return kFs2002Done;
}

int DecodeFs2002Airport(NavDatabase& db, const ByteCursor& file, std::uint16_t name_length,
                        const Chunk& entry, std::size_t data_block) {
  AirportRecord* airport = db.AppendAirport();
  if (!airport) return kFs2002OutOfMemory;
  if (name_length != 0 && !StoreAirportName(db, *airport, entry, name_length)) {
    return kFs2002OutOfMemory;
  }
  fs2002::Degrees reference;
  std::size_t position = data_block + kDataBlockHeadSize;
  for (auto chunk = ChunkAt(file, position); chunk && chunk->type != 0;
       chunk = ChunkAt(file, position)) {
    if (chunk->type == kRunwayChunk) {
      const std::optional<std::size_t> next = DecodeFs2002Runway(db, file, *chunk);
      if (!next) return kFs2002OutOfMemory;
      position = *next;
      continue;
    }
    if (DecodeAirportChunk(db, *chunk, reference) != kFs2002Done) return kFs2002OutOfMemory;
    position = chunk->next;
  }
  airport = db.CurrentAirport();
  airport->FileSize = AirportFileSize(*airport);
  return kFs2002Done;
}

std::optional<std::size_t> DecodeFs2002Runway(NavDatabase& db, const ByteCursor& file,
                                              const Chunk& runway) {
  RunwayRecord* record = nullptr;
  if (Holds(runway, kRunwayMinSize)) {
    record = db.AppendRunway();
    if (!record) return std::nullopt;
    FillRunway(*record, runway.bytes);
  }
  std::size_t position = runway.next;
  for (auto sub_chunk = ChunkAt(file, position); sub_chunk && sub_chunk->type == kSubObjectChunk;
       sub_chunk = ChunkAt(file, position)) {
    if (DecodeRunwaySubChunk(db, record, *sub_chunk) != kFs2002Done) return std::nullopt;
    position = sub_chunk->next;
  }
  return position;
}

int DecodeFs2002Marker(NavDatabase& db, const ByteCursor& sub_chunk) {
  if (sub_chunk.Size() < kMarkerMinSize) return kFs2002Done;
  // BGL marker kinds 8 outer, 9 middle, 10 inner, 11 back course.
  static constexpr std::array<std::uint8_t, 4> kMarkerTypes = {2, 1, 0, 3};
  const std::uint32_t kind = sub_chunk.U32(44);
  if (kind < 8 || kind > 11) return kFs2002Done;
  MarkerRecord* marker = db.AppendMarker();
  if (!marker) return kFs2002OutOfMemory;
  const fs2002::Degrees position = fs2002::PositionAt(sub_chunk, 12, 20);
  marker->MarkerType = kMarkerTypes[kind - 8];
  marker->Latitude = LatitudeToUnits(position.latitude);
  marker->Longitude = LongitudeToUnits(position.longitude);
  return kFs2002Done;
}

}  // namespace tarnvale
