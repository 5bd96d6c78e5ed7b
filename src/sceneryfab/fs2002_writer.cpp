// Lays out the bytes of FS2002 files: navaid records with 24-bit positions, airport chunks with
// runways and ground layouts, and the chain and lists of the facility file.

#include "sceneryfab/fs2002_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

namespace tarnvale::fab {

namespace {

constexpr std::uint32_t kFacilityMagic = 0x87654321;
constexpr std::size_t kFacilityMagicField = 118;
constexpr std::size_t kFacilityVersionField = 144;
constexpr std::size_t kAirportChainField = 156;
constexpr std::size_t kNavigationChainField = 164;
constexpr std::size_t kChunkHeadSize = 8;
constexpr std::size_t kListHeadSize = 24;  // head, 12 unread bytes, entry count
constexpr std::size_t kEntryHeadSize = 16;
constexpr std::uint32_t kSubObjectIlsIdent = 4;
constexpr std::uint32_t kSubObjectMarker = 7;

constexpr std::size_t kVorSectionField = 18;
constexpr std::size_t kLowestChannelField = 22;
constexpr std::size_t kHighestChannelField = 24;
constexpr std::size_t kNdbSectionField = 78;
constexpr std::size_t kChannelEntrySize = 5;
constexpr std::size_t kRunListEntrySize = 9;

constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerNm = 1852.0;
constexpr std::uint32_t kLowestChannelHz = 108'000'000;
constexpr std::uint32_t kChannelSpacingHz = 50'000;

std::uint32_t RoundedWord(double value) {
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::llround(value)));
}

std::uint32_t MetresToWholeFeet(double metres) { return RoundedWord(metres / kMetresPerFoot); }

std::uint32_t HeadingWord(double degrees) {
  const std::uint32_t turn = RoundedWord(degrees * 65536.0 / 360.0) & 0xFFFFu;
  return turn << 16;
}

std::uint32_t DesignatorCode(Designator designator) {
  switch (designator) {
    case Designator::Helipad:
      return 4;
    case Designator::Water:
      return 5;
    default:
      return static_cast<std::uint32_t>(designator);
  }
}

// Signed 24-bit position words of the navaid files, low 24 bits kept.
std::uint32_t Fs2002Latitude24(double degrees) {
  return RoundedWord(degrees * 5000875.0 / 90.0) & 0xFFFFFFu;
}
std::uint32_t Fs2002Longitude24(double degrees) {
  return RoundedWord(degrees / 360.0 * 16777216.0) & 0xFFFFFFu;
}

void Put24(ByteBuffer& out, std::uint32_t word) {
  out.U8(static_cast<std::uint8_t>(word))
      .U8(static_cast<std::uint8_t>(word >> 8))
      .U8(static_cast<std::uint8_t>(word >> 16));
}

std::uint8_t VorRangeCode(Single range_m) {
  const double nm = std::round(range_m.Value() / kMetresPerNm);
  constexpr std::array<std::pair<int, std::uint8_t>, 4> kCodes = {
      {{27, 16}, {37, 22}, {60, 36}, {195, 85}}};
  for (const auto& [range_nm, code] : kCodes) {
    if (nm == range_nm) return code;
  }
  return static_cast<std::uint8_t>(std::clamp(nm, 0.0, 255.0));
}

std::uint8_t NdbRangeClass(Single range_m) {
  const double nm = range_m.Value() / kMetresPerNm;
  constexpr std::array<double, 4> kClassRanges = {23, 38, 50, 75};
  std::uint8_t best = 1;
  for (std::uint8_t c = 1; c <= kClassRanges.size(); ++c) {
    if (std::fabs(kClassRanges[c - 1] - nm) < std::fabs(kClassRanges[best - 1] - nm)) best = c;
  }
  return best;
}

Fs2002Chunk SubObject(std::uint32_t kind, std::size_t body_size) {
  Fs2002Chunk chunk{kFs2002SubObjectChunk, Bytes(body_size, 0), std::nullopt};
  PutU32(chunk.body, 40 - kChunkHeadSize, kind);
  return chunk;
}

std::uint32_t MarkerKind(MarkerType type) {
  switch (type) {
    case MarkerType::Outer:
      return 8;
    case MarkerType::Middle:
      return 9;
    case MarkerType::Inner:
      return 10;
    case MarkerType::BackCourse:
      return 11;
  }
  return static_cast<std::uint32_t>(type);
}

// Offsets of `position` from `origin` along the parallel and the meridian.
struct Offsets {
  double east_m;
  double north_m;
};
Offsets OffsetsFrom(Position origin, Position position) {
  const double metres_per_degree = 60.0 * kMetresPerNm;
  const double cos_latitude = std::cos(origin.latitude * 3.14159265358979 / 180.0);
  return {(position.longitude - origin.longitude) * metres_per_degree * cos_latitude,
          (position.latitude - origin.latitude) * metres_per_degree};
}

std::uint32_t ElementSize(const Fs2002Group& group) {
  constexpr std::array<std::uint32_t, 4> kSizes = {12, 20, 32, 8};
  return kSizes[group.elements.index()];
}

void AppendElements(ByteBuffer& out, const std::vector<Fs2002TaxiwayPoint>& points) {
  for (const auto& point : points) out.U32(point.kind).F32(point.east_m).F32(point.north_m);
}
void AppendElements(ByteBuffer& out, const std::vector<Fs2002Parking>& parkings) {
  for (const auto& parking : parkings) {
    out.F32(parking.east_m).F32(parking.north_m).F32(parking.radius_m).U32(0).U32(parking.word);
  }
}
void AppendElements(ByteBuffer& out, const std::vector<Fs2002TaxiwayPath>& paths) {
  for (const auto& path : paths) {
    out.U32(path.kind)
        .Zeros(8)
        .U32(path.start_point)
        .U32(path.end_point)
        .Zeros(8)
        .U32(path.name_index);
  }
}
void AppendElements(ByteBuffer& out, const std::vector<std::string>& names) {
  for (const auto& name : names) out.Chars(name, 8);
}

Bytes SerializeDataBlock(const Fs2002AirportEntry& entry) {
  ByteBuffer out;
  out.U32(entry.block_word0).U32(0).U32(entry.block_word8).U32(0);
  for (const Fs2002Chunk& chunk : entry.chunks) out.Append(Serialize(chunk));
  return out.Zeros(kChunkHeadSize).Take();
}

std::size_t SerializedSize(const Fs2002ChainItem& item) {
  if (const auto* chunk = std::get_if<Fs2002Chunk>(&item))
    return kChunkHeadSize + chunk->body.size();
  std::size_t size = kListHeadSize;
  for (const auto& entry : std::get<Fs2002AirportList>(item).airports)
    size += kEntryHeadSize + entry.name.size();
  return size;
}

// An empty chain is not written at all.
std::size_t ChainSize(const std::vector<Fs2002ChainItem>& chain) {
  if (chain.empty()) return 0;
  std::size_t size = kChunkHeadSize;  // the end chunk
  for (const auto& item : chain) size += SerializedSize(item);
  return size;
}

// Appends the list chunk to `out` and the data blocks of its airports to
// `blocks`, which will start at file offset `blocks_start`.
void AppendAirportList(ByteBuffer& out, const Fs2002AirportList& list, std::size_t blocks_start,
                       ByteBuffer& blocks) {
  out.U32(kFs2002AirportListChunk)
      .U32(static_cast<std::uint32_t>(SerializedSize(list) - kChunkHeadSize));
  out.Zeros(12).U32(list.count.value_or(static_cast<std::uint32_t>(list.airports.size())));
  for (const Fs2002AirportEntry& entry : list.airports) {
    const std::uint32_t block =
        entry.has_data ? static_cast<std::uint32_t>(blocks_start + blocks.Size()) : 0;
    out.U32(entry.type).U32(static_cast<std::uint32_t>(kChunkHeadSize + entry.name.size()));
    out.U32(entry.tag).U32(block).Append(entry.name);
    if (entry.has_data) blocks.Append(SerializeDataBlock(entry));
  }
}

void AppendChain(ByteBuffer& out, const std::vector<Fs2002ChainItem>& chain,
                 std::size_t blocks_start, ByteBuffer& blocks) {
  if (chain.empty()) return;
  for (const Fs2002ChainItem& item : chain) {
    if (const auto* chunk = std::get_if<Fs2002Chunk>(&item)) {
      out.Append(Serialize(*chunk));
    } else {
      AppendAirportList(out, std::get<Fs2002AirportList>(item), blocks_start, blocks);
    }
  }
  out.Zeros(kChunkHeadSize);
}

Bytes CutTo(Bytes bytes, std::optional<std::size_t> length) {
  if (length) bytes.resize(*length, 0);
  return bytes;
}

std::size_t RunSize(const Fs2002Run& run) {
  std::size_t size = 1;
  for (const Bytes& record : run.records) size += record.size();
  return size;
}

void AppendRun(ByteBuffer& out, const Fs2002Run& run) {
  for (const Bytes& record : run.records) out.Append(record);
  out.U8(run.end);
}

// Appends a run list whose offsets count from `base` and, behind it, its runs.
void AppendRunList(ByteBuffer& out, const std::vector<Fs2002Run>& runs, std::size_t base) {
  std::size_t run_at = out.Size() + kRunListEntrySize * (runs.size() + 1);
  for (const Fs2002Run& run : runs) {
    out.U8(kFs2002RunListMark).U32(0).U32(static_cast<std::uint32_t>(run_at - base));
    run_at += RunSize(run);
  }
  out.Zeros(kRunListEntrySize);
  for (const Fs2002Run& run : runs) AppendRun(out, run);
}

}  // namespace

std::int32_t Fs2002LatitudeWord(double degrees) {
  return static_cast<std::int32_t>(RoundedWord(degrees / 90.0 * 10001750.0));
}

std::int32_t Fs2002LongitudeWord(double degrees) {
  return static_cast<std::int32_t>(RoundedWord(degrees / 360.0 * 4294967296.0));
}

std::uint32_t Fs2002PackedFrequency(std::uint32_t hz) {
  std::uint32_t units = hz / 100;
  std::uint32_t packed = 0;
  for (int digit = 0; digit < 8; ++digit, units /= 10) packed |= (units % 10) << (4 * digit);
  return packed;
}

std::uint16_t Fs2002ChannelNumber(std::uint32_t hz) {
  const std::uint32_t highest = kLowestChannelHz + kChannelSpacingHz * 0xFFFFu;
  if (hz < kLowestChannelHz || hz > highest) {
    throw std::invalid_argument("frequency " + std::to_string(hz) + " Hz is on no VOR channel");
  }
  return static_cast<std::uint16_t>((hz - kLowestChannelHz + kChannelSpacingHz / 2) /
                                    kChannelSpacingHz);
}

Bytes Serialize(const Fs2002Chunk& chunk) {
  ByteBuffer out;
  out.U32(chunk.type).U32(chunk.size.value_or(static_cast<std::uint32_t>(chunk.body.size())));
  return out.Append(chunk.body).Take();
}

Fs2002Chunk EncodeFs2002ReferencePoint(Position position, double altitude_m) {
  ByteBuffer body;
  body.Zeros(4).I32(Fs2002LatitudeWord(position.latitude));
  body.Zeros(4).I32(Fs2002LongitudeWord(position.longitude));
  body.Zeros(4).U32(RoundedWord(altitude_m));
  return {kFs2002ReferencePointChunk, body.Take(), std::nullopt};
}

Fs2002Chunk EncodeFs2002Ident(std::string_view ident) {
  ByteBuffer body;
  return {kFs2002IdentChunk, body.Text(ident).Take(), std::nullopt};
}

Fs2002Chunk EncodeFs2002Com(const Com& com) {
  ByteBuffer body;
  body.U32(Fs2002PackedFrequency(com.frequency_hz)).U32(static_cast<std::uint32_t>(com.type));
  return {kFs2002ComChunk, body.Take(), std::nullopt};
}

Fs2002Chunk EncodeFs2002Runway(const Runway& runway) {
  ByteBuffer body;
  body.Zeros(4).I32(Fs2002LatitudeWord(runway.centre.latitude));
  body.Zeros(4).I32(Fs2002LongitudeWord(runway.centre.longitude));
  body.Zeros(4).U32(RoundedWord(runway.altitude_m));
  body.U32(HeadingWord(runway.heading_deg.Value())).Zeros(4);
  body.U32(MetresToWholeFeet(runway.length_m.Value()))
      .U32(MetresToWholeFeet(runway.width_m.Value()));
  body.U32(DesignatorCode(runway.primary.designator))
      .U32(static_cast<std::uint32_t>(runway.primary.number));
  return {kFs2002RunwayChunk, body.Take(), std::nullopt};
}

Fs2002Chunk EncodeFs2002Helipad(const Start& start) {
  Runway helipad;
  helipad.centre = start.position;
  helipad.altitude_m = start.altitude_m;
  helipad.heading_deg = start.heading_deg;
  helipad.primary.number = start.runway_number;
  helipad.primary.designator = Designator::Helipad;
  return EncodeFs2002Runway(helipad);
}

Fs2002Chunk EncodeFs2002IlsIdent(std::uint32_t end, std::string_view ident) {
  Fs2002Chunk chunk = SubObject(kSubObjectIlsIdent, 48);
  PutU32(chunk.body, 48 - kChunkHeadSize, end);
  chunk.body.insert(chunk.body.end(), ident.begin(), ident.end());
  return chunk;
}

Fs2002Chunk EncodeFs2002Marker(const Marker& marker) {
  Fs2002Chunk chunk = SubObject(kSubObjectMarker, 40);
  PutU32(chunk.body, 12 - kChunkHeadSize,
         static_cast<std::uint32_t>(Fs2002LatitudeWord(marker.position.latitude)));
  PutU32(chunk.body, 20 - kChunkHeadSize,
         static_cast<std::uint32_t>(Fs2002LongitudeWord(marker.position.longitude)));
  PutU32(chunk.body, 44 - kChunkHeadSize, MarkerKind(marker.type));
  return chunk;
}

Fs2002Chunk EncodeFs2002GroundLayout(std::span<const Fs2002Group> groups) {
  ByteBuffer body;
  for (const Fs2002Group& group : groups) {
    const auto count = static_cast<std::uint32_t>(
        std::visit([](const auto& e) { return e.size(); }, group.elements));
    body.U32(group.count.value_or(count)).U32(group.element_size.value_or(ElementSize(group)));
    std::visit([&](const auto& elements) { AppendElements(body, elements); }, group.elements);
  }
  return {kFs2002GroundLayoutChunk, body.Take(), std::nullopt};
}

std::vector<Fs2002Group> Fs2002GroundLayoutOf(const Airport& airport) {
  std::vector<Fs2002TaxiwayPoint> points;
  for (const TaxiwayPoint& point : airport.taxiway_points) {
    const Offsets offsets = OffsetsFrom(airport.position, point.position);
    points.push_back(
        {static_cast<std::uint32_t>(point.type) - 1u, offsets.east_m, offsets.north_m});
  }
  std::vector<Fs2002Parking> parkings;
  for (const Parking& parking : airport.parkings) {
    const Offsets offsets = OffsetsFrom(airport.position, parking.position);
    const std::uint32_t word = (parking.name_code & 0x7Fu) | ((parking.number & 0x1FFFu) << 7) |
                               ((parking.type & 0x3Fu) << 20);
    parkings.push_back({offsets.east_m, offsets.north_m, parking.radius_m, word});
  }
  std::vector<Fs2002TaxiwayPath> paths;
  for (const TaxiwayPath& path : airport.taxiway_paths) {
    paths.push_back({static_cast<std::uint32_t>(path.type) - 1u, path.start_point, path.end_point,
                     path.name_index});
  }
  std::vector<Fs2002Group> groups;
  if (!points.empty()) groups.push_back({std::move(points), std::nullopt, std::nullopt});
  if (!parkings.empty()) groups.push_back({std::move(parkings), std::nullopt, std::nullopt});
  if (!paths.empty()) groups.push_back({std::move(paths), std::nullopt, std::nullopt});
  if (!airport.taxiway_names.empty())
    groups.push_back({airport.taxiway_names, std::nullopt, std::nullopt});
  return groups;
}

Fs2002AirportEntry MakeFs2002Airport(const Airport& airport, std::span<const Marker> markers) {
  Fs2002AirportEntry entry;
  const std::string name = airport.name.value_or("");
  entry.name.assign(name.begin(), name.end());
  std::vector<Fs2002Chunk>& chunks = entry.chunks;
  chunks.push_back(EncodeFs2002ReferencePoint(airport.position, airport.altitude_m));
  chunks.push_back(EncodeFs2002Ident(airport.ident.text));
  for (const Com& com : airport.coms) chunks.push_back(EncodeFs2002Com(com));
  for (const Runway& runway : airport.runways) {
    chunks.push_back(EncodeFs2002Runway(runway));
    if (!runway.primary.ils_ident.text.empty()) {
      chunks.push_back(EncodeFs2002IlsIdent(kFs2002PrimaryEnd, runway.primary.ils_ident.text));
    }
    if (!runway.secondary.ils_ident.text.empty()) {
      chunks.push_back(EncodeFs2002IlsIdent(kFs2002SecondaryEnd, runway.secondary.ils_ident.text));
    }
  }
  for (const Start& start : airport.starts) {
    if (start.type == StartType::Helipad) chunks.push_back(EncodeFs2002Helipad(start));
  }
  for (const Marker& marker : markers) chunks.push_back(EncodeFs2002Marker(marker));
  const std::vector<Fs2002Group> layout = Fs2002GroundLayoutOf(airport);
  if (!layout.empty()) chunks.push_back(EncodeFs2002GroundLayout(layout));
  return entry;
}

Fs2002Chunk EncodeFs2002Fix(const Intersection& intersection) {
  ByteBuffer body;
  body.Zeros(4).I32(Fs2002LatitudeWord(intersection.position.latitude));
  body.Zeros(4).I32(Fs2002LongitudeWord(intersection.position.longitude));
  body.Zeros(4).Chars(intersection.ident.text, 8);
  return {kFs2002FixRecord, body.Take(), std::nullopt};
}

Fs2002Chunk EncodeFs2002AirwayName(std::string_view name) {
  ByteBuffer body;
  return {kFs2002AirwayNameRecord, body.Chars(name, 8).Take(), std::nullopt};
}

Fs2002Chunk EncodeFs2002AirwayPoint(const AirwayPoint& point) {
  ByteBuffer body;
  body.Chars(point.ident.text, 8).Zeros(4).U32(MetresToWholeFeet(point.minimum_altitude_m.Value()));
  return {kFs2002AirwayPointRecord, body.Take(), std::nullopt};
}

Fs2002Chunk MakeFs2002List(std::uint32_t kind, std::vector<Fs2002Chunk> records) {
  ByteBuffer body;
  body.U32(kind).U32(0);
  for (const Fs2002Chunk& record : records) body.Append(Serialize(record));
  return {kFs2002NavigationListChunk, body.Take(), std::nullopt};
}

Fs2002Chunk MakeFs2002FixList(std::span<const Intersection> intersections) {
  std::vector<Fs2002Chunk> records;
  for (const Intersection& intersection : intersections)
    records.push_back(EncodeFs2002Fix(intersection));
  return MakeFs2002List(kFs2002FixListKind, std::move(records));
}

Fs2002Chunk MakeFs2002AirwayList(std::uint32_t kind, std::span<const Airway> airways) {
  std::vector<Fs2002Chunk> records;
  for (const Airway& airway : airways) {
    records.push_back(EncodeFs2002AirwayName(airway.name));
    for (const AirwayPoint& point : airway.points)
      records.push_back(EncodeFs2002AirwayPoint(point));
  }
  return MakeFs2002List(kind, std::move(records));
}

Bytes BuildFs2002FacilityFile(const Fs2002FacilityFile& file) {
  const std::size_t airport_chain_at = kFs2002FacilityHeaderSize;
  const std::size_t navigation_chain_at = airport_chain_at + ChainSize(file.airport_chain);
  const std::size_t blocks_at = navigation_chain_at + ChainSize(file.navigation_chain);
  ByteBuffer out;
  out.Zeros(kFs2002FacilityHeaderSize);
  out.PutU32(kFacilityMagicField, kFacilityMagic);
  out.PutU32(kFacilityVersionField, file.version);
  if (!file.airport_chain.empty())
    out.PutU32(kAirportChainField, static_cast<std::uint32_t>(airport_chain_at));
  if (!file.navigation_chain.empty()) {
    out.PutU32(kNavigationChainField, static_cast<std::uint32_t>(navigation_chain_at));
  }
  ByteBuffer blocks;
  AppendChain(out, file.airport_chain, blocks_at, blocks);
  AppendChain(out, file.navigation_chain, blocks_at, blocks);
  out.Append(blocks.View());
  return CutTo(out.Take(), file.length);
}

Bytes EncodeFs2002Vor(const Vor& vor) {
  ByteBuffer out;
  out.U8(4).U8(VorRangeCode(vor.range_m)).U16(0).U8(0);
  Put24(out, Fs2002Latitude24(vor.position.latitude));
  Put24(out, Fs2002Longitude24(vor.position.longitude));
  out.U16(0).U16(0).Chars(vor.ident.text, 5).Chars(vor.name.value_or(""), 24);
  return out.Take();
}

Bytes EncodeFs2002Ils(const Ils& ils, bool long_form) {
  ByteBuffer out;
  out.U8(long_form ? 6 : 5).U8(0).U16(0).U8(0);
  Put24(out, Fs2002Latitude24(ils.position.latitude));
  Put24(out, Fs2002Longitude24(ils.position.longitude));
  out.U16(0).U16(0).Chars(ils.ident.text, 5).Chars(ils.name.value_or(""), 24);
  return out.Zeros(long_form ? 12 : 10).Take();
}

Bytes EncodeFs2002Ndb(const Ndb& ndb) {
  const std::uint32_t tenths_khz = ndb.frequency_hz / 100;
  ByteBuffer out;
  out.U8(4).U8(static_cast<std::uint8_t>((tenths_khz / 100 % 10) << 4 | (tenths_khz / 10 % 10)));
  out.U8(static_cast<std::uint8_t>(tenths_khz / 1000))
      .U8(static_cast<std::uint8_t>(tenths_khz % 10));
  Put24(out, Fs2002Latitude24(ndb.position.latitude));
  Put24(out, Fs2002Longitude24(ndb.position.longitude));
  out.U16(0)
      .U8(NdbRangeClass(ndb.range_m))
      .Chars(ndb.ident.text, 5)
      .Chars(ndb.name.value_or(""), 24);
  return out.Take();
}

Bytes EncodeFs2002UnusedVorRecord() {
  Bytes record(17, 0);
  record[0] = 32;
  return record;
}

Bytes BuildFs2002VorFile(const Fs2002VorFile& file) {
  const std::size_t section = kFs2002NavaidHeaderSize;
  const std::size_t channel_count = file.channels.size();
  ByteBuffer out;
  out.Zeros(section);
  out.PutU32(kVorSectionField, static_cast<std::uint32_t>(section));
  out.PutU16(kLowestChannelField, file.lowest_channel);
  const auto last_given =
      static_cast<std::uint16_t>(file.lowest_channel + (channel_count ? channel_count - 1 : 0));
  out.PutU16(kHighestChannelField, file.highest_channel.value_or(last_given));
  out.Zeros(kChannelEntrySize * channel_count);
  for (std::size_t i = 0; i < channel_count; ++i) {
    const Fs2002Channel& channel = file.channels[i];
    const std::size_t entry = section + kChannelEntrySize * i;
    out.PutU8(entry, channel.flag.value_or(channel.runs.empty() ? 0 : 1));
    if (channel.runs.empty() && !channel.run_list_offset) continue;
    out.PutU32(entry + 1,
               channel.run_list_offset.value_or(static_cast<std::uint32_t>(out.Size() - section)));
    AppendRunList(out, channel.runs, section);
  }
  return CutTo(out.Take(), file.length);
}

Bytes BuildFs2002NdbFile(const Fs2002NdbFile& file) {
  const std::size_t section = kFs2002NavaidHeaderSize;
  ByteBuffer out;
  out.Zeros(section);
  out.PutU32(kNdbSectionField, static_cast<std::uint32_t>(section));
  AppendRunList(out, file.runs, section);
  return CutTo(out.Take(), file.length);
}

}  // namespace tarnvale::fab
