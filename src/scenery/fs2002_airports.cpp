// Reads FS2002 airports: the airport chain and lists, each airport's reference point, frequencies,
// runways with their ILS idents, and ground layout.

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

constexpr std::size_t kFirstListEntry = 24;

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
constexpr std::array<DesignatorSuffixes, 5> kDesignatorSuffixes = {
    {{"", ""}, {"L", "R"}, {"R", "L"}, {"C", "C"}, {"H", "H"}}};
constexpr std::uint32_t kHighestRunwayNumber = 36;

// Exact frequency in Hz from eight packed digits in units of 0.0001 MHz,
// keeping the low 32 bits of what nibbles above 9 may blow up.
std::int32_t PackedMegahertzToHz(std::uint32_t packed) {
  const std::uint64_t hz = static_cast<std::uint64_t>(BcdToDecimal(packed)) * 100u;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(hz));
}

void StoreAirportName(NavDatabase& db, AirportRecord& airport, const Chunk& entry,
                      std::uint16_t name_length) {
  if (name_length > kLongestAirportName) name_length = kLongestAirportName;
  const std::uint16_t stored_length = static_cast<std::uint16_t>(name_length + 1);
  db.AllocateText(airport.Name, stored_length);
  airport.NameLength = stored_length;
  const ByteCursor text = entry.bytes.From(kAirportEntryHeadSize);
  for (std::size_t i = 0; i < name_length && text.Contains(i, 1) && text.U8(i) != 0; ++i) {
    airport.Name[i] = static_cast<char>(text.U8(i));
  }
}

// The airport's reference point: copied as it stands into the record (FS2002
// position words are database units), and kept in degrees for placing the
// ground layout. A chunk too short for it changes nothing.
void ReadReferencePoint(AirportRecord& airport, const ByteCursor& bytes, Degrees& reference) {
  const std::int32_t latitude = bytes.I32(12);
  const std::int32_t longitude = bytes.I32(20);
  const std::int32_t altitude_metres = bytes.I32(28);
  if (bytes.Overrun()) return;
  airport.Latitude = latitude;
  airport.Longitude = longitude;
  airport.AltitudeFeet = MetresToFeet(altitude_metres);
  reference = {LatitudeUnitsToDegrees(latitude), LongitudeUnitsToDegrees(longitude)};
}

void ReadFrequency(AirportRecord& airport, const ByteCursor& bytes) {
  const std::uint32_t kind = bytes.U32(12);
  const std::uint32_t packed = bytes.U32(8);
  if (bytes.Overrun() || (kind != kGroundFrequency && kind != kTowerFrequency)) return;
  airport.HasTowerOrGround = 1;
  const std::int32_t hz = PackedMegahertzToHz(packed);
  (kind == kGroundFrequency ? airport.GroundFrequency : airport.TowerFrequency) = hz;
}

// The kind of a sub-object chunk; a chunk too short for it reads kind 0,
// which is none of the kinds decoded.
std::uint32_t SubObjectKind(const Chunk& sub_object) { return sub_object.bytes.U32(40); }

// Decodes one airport chunk other than a runway.
void DecodeAirportChunk(NavDatabase& db, const Chunk& chunk, Degrees& reference) {
  AirportRecord& airport = *db.CurrentAirport();
  switch (chunk.type) {
    case kReferencePointChunk:
      return ReadReferencePoint(airport, chunk.bytes, reference);
    case kIdentifierChunk:
      return fs2002::CopyTrimmedText(airport.Ident, chunk.bytes, fs2002::kChunkHeadSize,
                                     chunk.size & 0xFFFFu);
    case kFrequencyChunk:
      return ReadFrequency(airport, chunk.bytes);
    case kSubObjectChunk:
      if (SubObjectKind(chunk) == kSubObjectMarker) DecodeFs2002Marker(db, chunk.bytes);
      return;
    case kGroundLayoutChunk:
      return DecodeFs2002GroundLayout(db, chunk, reference);
    default:
      return;
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

// The runway of a runway chunk; `bytes` is overrun when the chunk is too
// short for it.
RunwayRecord ReadRunway(const ByteCursor& bytes) {
  RunwayRecord runway;
  const Degrees centre = fs2002::PositionAt(bytes, 12, 20);
  const std::int32_t turn = static_cast<std::int32_t>(bytes.U32(32) >> 16);
  runway.Heading = NormalizeHeading(static_cast<std::int16_t>(turn * 360 / 65536));
  runway.OppositeHeading = NormalizeHeading(static_cast<std::int16_t>(runway.Heading - 180));
  const auto length_metres =
      static_cast<std::uint32_t>(TruncateToInt64(bytes.U32(40) * kMetresPerFoot));
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
  return runway;
}

// An ILS identifier sub-chunk names the ILS of one runway end; an empty text
// clears that end's identifier. A chunk too short for the end word reads end 0.
void ReadIlsIdent(RunwayRecord& runway, const Chunk& sub_chunk) {
  const std::uint32_t end = sub_chunk.bytes.U32(48);
  if (end != kIlsPrimaryEnd && end != kIlsSecondaryEnd) return;
  const auto text_length = static_cast<std::uint16_t>(sub_chunk.size - 48);
  FixedText<6> ident{};
  if (text_length != 0) fs2002::CopyTrimmedText(ident, sub_chunk.bytes, 56, text_length);
  (end == kIlsPrimaryEnd ? runway.PrimaryIlsIdent : runway.SecondaryIlsIdent) = ident;
}

// `runway` is null when the runway chunk was too short to make a runway of.
void DecodeRunwaySubChunk(NavDatabase& db, RunwayRecord* runway, const Chunk& sub_chunk) {
  const std::uint32_t kind = SubObjectKind(sub_chunk);
  if (kind == kSubObjectIlsIdent && runway) ReadIlsIdent(*runway, sub_chunk);
  if (kind == kSubObjectMarker) DecodeFs2002Marker(db, sub_chunk.bytes);
}

// An entry too short for its tag word reads tag 0 and is passed over.
void DecodeListedAirport(NavDatabase& db, const ByteCursor& file, const Chunk& entry) {
  if (entry.type != kAirportEntry) return;
  const auto name_length = static_cast<std::uint16_t>(((entry.size + 8u) & 0xFFFFu) - 16u);
  const std::uint32_t data_block = entry.bytes.U32(12);
  const bool decodable = entry.bytes.U32(8) == kAirportEntryTag && data_block != 0 &&
                         file.Contains(data_block, kDataBlockHeadSize) &&
                         file.U32(data_block) == 1 && file.U32(data_block + 8) == 1;
  if (decodable) DecodeFs2002Airport(db, file, name_length, entry, data_block);
}

}  // namespace

void ReadAirportChain(NavDatabase& db, const ByteCursor& file, std::size_t first_chunk) {
  for (auto chunk = ChunkAt(file, first_chunk); chunk && chunk->type != 0;
       chunk = ChunkAt(file, chunk->next)) {
    if (chunk->type == fs2002::kAirportListChunk) ReadAirportList(db, file, *chunk);
  }
}

void ReadAirportList(NavDatabase& db, const ByteCursor& file, const Chunk& list) {
  const std::uint32_t count = list.bytes.U32(20);
  if (db.PassOverIfCutShort(list.bytes)) return;
  std::size_t position = kFirstListEntry;
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto entry = ChunkAt(list.bytes, position);
    if (!entry) break;
    DecodeListedAirport(db, file, *entry);
    position = entry->next;
  }
}

void DecodeFs2002Airport(NavDatabase& db, const ByteCursor& file, std::uint16_t name_length,
                         const Chunk& entry, std::size_t data_block) {
  AirportRecord& airport = db.AppendAirport();
  if (name_length != 0) StoreAirportName(db, airport, entry, name_length);
  Degrees reference;
  std::size_t position = data_block + kDataBlockHeadSize;
  for (auto chunk = ChunkAt(file, position); chunk && chunk->type != 0;
       chunk = ChunkAt(file, position)) {
    if (chunk->type == kRunwayChunk) {
      position = DecodeFs2002Runway(db, file, *chunk);
      continue;
    }
    DecodeAirportChunk(db, *chunk, reference);
    position = chunk->next;
  }
  airport.FileSize = AirportFileSize(airport);
}

std::size_t DecodeFs2002Runway(NavDatabase& db, const ByteCursor& file, const Chunk& runway) {
  RunwayRecord* record = nullptr;
  const RunwayRecord read = ReadRunway(runway.bytes);
  if (!db.PassOverIfCutShort(runway.bytes)) {
    record = db.AppendRunway();
    if (record) *record = read;
  }
  std::size_t position = runway.next;
  for (auto sub_chunk = ChunkAt(file, position); sub_chunk && sub_chunk->type == kSubObjectChunk;
       sub_chunk = ChunkAt(file, position)) {
    DecodeRunwaySubChunk(db, record, *sub_chunk);
    position = sub_chunk->next;
  }
  return position;
}

void DecodeFs2002Marker(NavDatabase& db, const ByteCursor& sub_chunk) {
  // BGL marker kinds 8 outer, 9 middle, 10 inner, 11 back course; a chunk
  // too short for the kind word reads kind 0.
  static constexpr std::array<std::uint8_t, 4> kMarkerTypes = {2, 1, 0, 3};
  const std::uint32_t kind = sub_chunk.U32(44);
  if (kind < 8 || kind > 11) return;
  const Degrees position = fs2002::PositionAt(sub_chunk, 12, 20);
  MarkerRecord& marker = db.AppendMarker();
  marker.MarkerType = kMarkerTypes[kind - 8];
  marker.Latitude = LatitudeToUnits(position.latitude);
  marker.Longitude = LongitudeToUnits(position.longitude);
}

}  // namespace tarnvale
