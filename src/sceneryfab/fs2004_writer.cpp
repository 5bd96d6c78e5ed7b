// Encodes FS2004 records and sub-records from the plain values of model.h, and lays them out in
// sections and subsections of a whole file.

#include "sceneryfab/fs2004_writer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>

#include "sceneryfab/fs2004_encoding.h"
#include "sceneryfab/random.h"

namespace tarnvale::fab {

namespace {

// Position words in the order most records keep them: longitude, latitude,
// altitude.
ByteBuffer& Place(ByteBuffer& out, const Position& position, double altitude_m) {
  out.U32(EncodeFs2004Longitude(position.longitude)).U32(EncodeFs2004Latitude(position.latitude));
  return out.I32(EncodeFs2004Altitude(altitude_m));
}

ByteBuffer& LongitudeLatitude(ByteBuffer& out, const Position& position) {
  return out.U32(EncodeFs2004Longitude(position.longitude))
      .U32(EncodeFs2004Latitude(position.latitude));
}

template <typename Count>
Count CheckedCount(std::size_t count, const char* what) {
  if (count > std::numeric_limits<Count>::max()) {
    throw std::length_error(std::string("too many ") + what +
                            " for one FS2004 record: " + std::to_string(count));
  }
  return static_cast<Count>(count);
}

std::uint8_t Code(Designator designator) { return static_cast<std::uint8_t>(designator); }

Fs2004Record Make(std::uint16_t id, ByteBuffer body) {
  return Fs2004Record{id, body.Take(), {}, {}, false};
}

// A sub-record of `count` fixed entries, each appended by `entry`.
template <typename Item, typename Write>
Fs2004Record ListRecord(std::uint16_t id, std::span<const Item> items, const char* what,
                        Write entry) {
  ByteBuffer body;
  body.U16(CheckedCount<std::uint16_t>(items.size(), what));
  for (const Item& item : items) entry(body, item);
  return Make(id, std::move(body));
}

std::size_t SerializedSize(const Fs2004Record& record) {
  std::size_t size = record.HeaderSize() + record.body.size();
  for (const Fs2004Record& sub : record.sub_records) size += SerializedSize(sub);
  return size;
}

void SerializeInto(const Fs2004Record& record, ByteBuffer& out) {
  const std::size_t true_size = SerializedSize(record);
  out.U16(record.id);
  if (record.short_size) {
    if (!record.size && true_size > 0xFFFF) {
      throw std::length_error("scenery object larger than a 16-bit size: " +
                              std::to_string(true_size));
    }
    out.U16(
        static_cast<std::uint16_t>(record.size.value_or(static_cast<std::uint32_t>(true_size))));
  } else {
    out.U32(record.size.value_or(CheckedCount<std::uint32_t>(true_size, "bytes")));
  }
  out.Append(record.body);
  for (const Fs2004Record& sub : record.sub_records) SerializeInto(sub, out);
}

// The neighbour fields of a route entry: ident word, region word, altitude.
void Neighbour(ByteBuffer& out, const std::optional<RouteNeighbour>& neighbour) {
  if (!neighbour) {
    out.Zeros(12);
    return;
  }
  out.U32(Fs2004IdentWord(neighbour->ident))
      .U32(Fs2004RegionWord(neighbour->region))
      .F32(neighbour->altitude_m);
}

void NameIfAny(Fs2004Record& record, const std::optional<std::string>& name) {
  if (name) record.sub_records.push_back(EncodeName(*name));
}

// Fields shared by VOR and ILS records from offset 8 to 40.
void VorIlsCommon(ByteBuffer& body, const Position& position, double altitude_m,
                  std::uint32_t frequency_hz, Single range_m, Single magnetic_variation,
                  const Ident& ident, std::uint32_t region_word) {
  Place(body, position, altitude_m).U32(frequency_hz).F32(range_m).F32(magnetic_variation);
  body.U32(Fs2004IdentWord(ident)).U32(region_word);
}

bool IsAirspaceType(BoundaryType type) {
  const auto code = static_cast<unsigned>(type);
  return (code >= 2 && code <= 8) || (code >= 14 && code <= 23);
}

}  // namespace

Bytes Serialize(const Fs2004Record& record) {
  ByteBuffer out;
  SerializeInto(record, out);
  return out.Take();
}

// ---------------------------------------------------------------- airports

Fs2004Record EncodeAirport(const Airport& airport) {
  ByteBuffer body;
  body.U8(static_cast<std::uint8_t>(std::min<std::size_t>(airport.runways.size(), 255)))
      .U8(static_cast<std::uint8_t>(std::min<std::size_t>(airport.coms.size(), 255)))
      .U8(static_cast<std::uint8_t>(std::min<std::size_t>(airport.starts.size(), 255)))
      .Zeros(3);  // approaches, aprons, helipads
  Place(body, airport.position, airport.altitude_m);
  Place(body, airport.position, airport.altitude_m);  // tower
  body.F32(0.0).U32(Fs2004IdentWord(airport.ident)).U32(Fs2004RegionWord(airport.region)).U32(0);
  Fs2004Record record = Make(kFs2004AirportId, std::move(body));
  auto& subs = record.sub_records;
  for (const Runway& runway : airport.runways) subs.push_back(EncodeRunway(runway));
  for (const Start& start : airport.starts) subs.push_back(EncodeStart(start));
  for (const Com& com : airport.coms) subs.push_back(EncodeCom(com));
  NameIfAny(record, airport.name);
  if (!airport.taxiway_points.empty()) subs.push_back(EncodeTaxiwayPoints(airport.taxiway_points));
  if (!airport.parkings.empty()) subs.push_back(EncodeParkings(airport.parkings));
  if (!airport.taxiway_paths.empty()) subs.push_back(EncodeTaxiwayPaths(airport.taxiway_paths));
  if (!airport.taxiway_names.empty()) subs.push_back(EncodeTaxiwayNames(airport.taxiway_names));
  return record;
}

Fs2004Record EncodeRunway(const Runway& runway) {
  ByteBuffer body;
  body.U16(runway.surface)
      .U8(static_cast<std::uint8_t>(runway.primary.number))
      .U8(Code(runway.primary.designator))
      .U8(static_cast<std::uint8_t>(runway.secondary.number))
      .U8(Code(runway.secondary.designator))
      .U32(Fs2004UnshiftedIdentWord(runway.primary.ils_ident))
      .U32(Fs2004UnshiftedIdentWord(runway.secondary.ils_ident));
  Place(body, runway.centre, runway.altitude_m);
  body.F32(runway.length_m).F32(runway.width_m).F32(runway.heading_deg);
  body.F32(0.0).U16(0).U8(0).U8(0);  // pattern altitude, markings, lights, pattern flags
  return Make(kFs2004RunwayId, std::move(body));
}

Fs2004Record EncodeStart(const Start& start) {
  ByteBuffer body;
  const auto type_and_designator = static_cast<std::uint8_t>(
      (static_cast<unsigned>(start.type) << 4) | (Code(start.designator) & 0x0F));
  body.U8(static_cast<std::uint8_t>(start.runway_number)).U8(type_and_designator);
  Place(body, start.position, start.altitude_m).F32(start.heading_deg);
  return Make(kFs2004StartId, std::move(body));
}

Fs2004Record EncodeCom(const Com& com) {
  ByteBuffer body;
  body.U16(static_cast<std::uint16_t>(com.type)).U32(com.frequency_hz).Text(com.name);
  return Make(kFs2004ComId, std::move(body));
}

Fs2004Record EncodeName(std::string_view name) {
  ByteBuffer body;
  body.Text(name);
  return Make(kFs2004NameId, std::move(body));
}

Fs2004Record EncodeTaxiwayPoints(std::span<const TaxiwayPoint> points) {
  return ListRecord(kFs2004TaxiwayPointsId, points, "taxiway points",
                    [](ByteBuffer& out, const TaxiwayPoint& p) {
                      out.U8(p.type).U8(0).U16(0);
                      LongitudeLatitude(out, p.position);
                    });
}

Fs2004Record EncodeParkings(std::span<const Parking> parkings) {
  return ListRecord(kFs2004ParkingsId, parkings, "parkings", [](ByteBuffer& out, const Parking& p) {
    const auto airlines = CheckedCount<std::uint8_t>(p.airline_codes.size(), "airline codes");
    out.U32((p.name_code & 0x3Fu) | ((p.type & 0x0Fu) << 8) | ((p.number & 0xFFFu) << 12) |
            (static_cast<std::uint32_t>(airlines) << 24));
    out.F32(p.radius_m).F32(p.heading_deg);
    LongitudeLatitude(out, p.position);
    for (const std::string& code : p.airline_codes) out.Chars(code, 4);
  });
}

Fs2004Record EncodeTaxiwayPaths(std::span<const TaxiwayPath> paths) {
  return ListRecord(
      kFs2004TaxiwayPathsId, paths, "taxiway paths", [](ByteBuffer& out, const TaxiwayPath& p) {
        out.U16(p.start_point).U16(p.end_point & 0x0FFF).U8(p.type & 0x0F).U8(p.name_index);
        out.U8(0).U8(0).F32(p.width_m).F32(0.0).U32(0);  // edge flags, pad, width, weight, reserved
      });
}

Fs2004Record EncodeTaxiwayNames(std::span<const std::string> names) {
  return ListRecord(kFs2004TaxiwayNamesId, names, "taxiway names",
                    [](ByteBuffer& out, const std::string& name) { out.Chars(name, 8); });
}

Fs2004Record EncodeFuelTrigger(const FuelTrigger& trigger) {
  ByteBuffer body;
  Place(body, trigger.position, trigger.altitude_m);
  body.Zeros(12);  // flags, pitch, bank, heading, image complexity, pad
  body.U16(trigger.trigger_type).F32(0.0).U32(trigger.fuel_availability);
  Fs2004Record record = Make(kFs2004TriggerId, std::move(body));
  record.short_size = true;
  return record;
}

// ----------------------------------------------------------------- navaids

Fs2004Record EncodeVor(const Vor& vor) {
  ByteBuffer body;
  body.U8(static_cast<std::uint8_t>(vor.type)).U8(0);
  VorIlsCommon(body, vor.position, vor.altitude_m, vor.frequency_hz, vor.range_m,
               vor.magnetic_variation_deg, vor.ident, Fs2004RegionWord(vor.region));
  Fs2004Record record = Make(kFs2004VorIlsId, std::move(body));
  NameIfAny(record, vor.name);
  return record;
}

Fs2004Record EncodeIls(const Ils& ils) {
  constexpr std::uint8_t kIlsType = 4;
  ByteBuffer body;
  body.U8(kIlsType).U8(0);
  const std::uint32_t airport_bits =
      ils.airport.word ? *ils.airport.word : PackIdent(ils.airport.text);
  VorIlsCommon(body, ils.position, ils.altitude_m, ils.frequency_hz, ils.range_m, 0.0, ils.ident,
               Fs2004RegionWord(ils.region) | ((airport_bits & 0x1FFFFF) << 11));
  Fs2004Record record = Make(kFs2004VorIlsId, std::move(body));
  ByteBuffer localizer;
  localizer.U8(static_cast<std::uint8_t>(ils.runway_number)).U8(Code(ils.runway_designator));
  localizer.F32(ils.heading_deg).F32(5.0);  // course width
  record.sub_records.push_back(Make(kFs2004LocalizerId, std::move(localizer)));
  NameIfAny(record, ils.name);
  return record;
}

Fs2004Record EncodeNdb(const Ndb& ndb) {
  ByteBuffer body;
  body.U16(static_cast<std::uint16_t>(ndb.type)).U32(ndb.frequency_hz);
  Place(body, ndb.position, ndb.altitude_m).F32(ndb.range_m).F32(0.0);
  body.U32(Fs2004IdentWord(ndb.ident)).U32(Fs2004RegionWord(ndb.region));
  Fs2004Record record = Make(kFs2004NdbId, std::move(body));
  NameIfAny(record, ndb.name);
  return record;
}

Fs2004Record EncodeMarker(const Marker& marker) {
  ByteBuffer body;
  const double turns = marker.heading_deg / 360.0;
  body.U8(static_cast<std::uint8_t>(static_cast<int>((turns - std::floor(turns)) * 256.0) & 0xFF))
      .U8(static_cast<std::uint8_t>(marker.type));
  Place(body, marker.position, marker.altitude_m);
  body.U32(Fs2004IdentWord(marker.ident)).U32(Fs2004RegionWord(marker.region));
  return Make(kFs2004MarkerId, std::move(body));
}

Fs2004Record EncodeWaypoint(const Intersection& intersection) {
  ByteBuffer body;
  body.U8(static_cast<std::uint8_t>(intersection.type))
      .U8(CheckedCount<std::uint8_t>(intersection.routes.size(), "routes"));
  LongitudeLatitude(body, intersection.position).F32(0.0);  // magnetic variation
  body.U32(Fs2004IdentWord(intersection.ident)).U32(Fs2004RegionWord(intersection.region));
  for (const Route& route : intersection.routes) {
    body.U8(static_cast<std::uint8_t>(route.level)).Chars(route.name, 8);
    Neighbour(body, route.next);
    Neighbour(body, route.previous);
  }
  return Make(kFs2004WaypointId, std::move(body));
}

// -------------------------------------------------------------- boundaries

Fs2004Record EncodeBoundary(const Boundary& boundary) {
  ByteBuffer body;
  body.U8(static_cast<std::uint8_t>(boundary.type)).U8(0);
  body.U32(EncodeFs2004Longitude(boundary.corner_a.longitude))
      .U32(EncodeFs2004Latitude(boundary.corner_b.latitude))
      .I32(EncodeFs2004Altitude(boundary.lower_altitude_m))
      .U32(EncodeFs2004Longitude(boundary.corner_b.longitude))
      .U32(EncodeFs2004Latitude(boundary.corner_a.latitude))
      .I32(EncodeFs2004Altitude(boundary.upper_altitude_m));
  Fs2004Record record = Make(kFs2004BoundaryId, std::move(body));
  if (boundary.name) record.sub_records.push_back(EncodeBoundaryName(*boundary.name));
  for (const auto& outline : boundary.outlines)
    record.sub_records.push_back(EncodeBoundaryPoints(outline));
  return record;
}

Fs2004Record EncodeBoundaryName(std::string_view name) {
  Fs2004Record record = EncodeName(name);
  record.id = kFs2004BoundaryNameId;
  return record;
}

Fs2004Record EncodeBoundaryPoints(std::span<const BoundaryPoint> points) {
  return ListRecord(kFs2004BoundaryPointsId, points, "boundary points",
                    [](ByteBuffer& out, const BoundaryPoint& p) {
                      out.U8(static_cast<std::uint8_t>(p.type)).U8(p.origin_index);
                      out.U32(EncodeFs2004Latitude(p.position.latitude));
                      if (p.type == BoundaryPointType::Circle) {
                        out.F32(p.radius_m);
                      } else {
                        out.U32(EncodeFs2004Longitude(p.position.longitude));
                      }
                    });
}

// ------------------------------------------------------------------- files

namespace {

struct SectionLayout {
  std::size_t subsection_table = 0;
  std::size_t data = 0;  // first record of the section
  std::size_t data_size = 0;
};

std::size_t RecordCount(const Fs2004Section& section) {
  std::size_t count = 0;
  for (const Fs2004Subsection& subsection : section.subsections) count += subsection.records.size();
  return count;
}

std::size_t SubsectionDataSize(const Fs2004Subsection& subsection) {
  std::size_t size = 0;
  for (const Bytes& record : subsection.records) size += record.size();
  return size;
}

// Tables first (each section's subsection table, with a boundary section's
// pointer list right behind it), then every section's records.
std::vector<SectionLayout> LayOut(const Fs2004File& file) {
  std::vector<SectionLayout> layouts(file.sections.size());
  std::size_t at = kFs2004HeaderSize + kFs2004SectionEntrySize * file.sections.size();
  for (std::size_t i = 0; i < file.sections.size(); ++i) {
    const Fs2004Section& section = file.sections[i];
    layouts[i].subsection_table = at;
    at += kFs2004SubsectionEntrySize * section.subsections.size();
    if (section.type == kFs2004Boundaries) at += kFs2004PointerEntrySize * RecordCount(section);
  }
  for (std::size_t i = 0; i < file.sections.size(); ++i) {
    layouts[i].data = at;
    for (const Fs2004Subsection& subsection : file.sections[i].subsections) {
      layouts[i].data_size += SubsectionDataSize(subsection);
    }
    at += layouts[i].data_size;
  }
  return layouts;
}

std::uint32_t Word(std::size_t value) {
  return CheckedCount<std::uint32_t>(value, "bytes in one file");
}

void WriteHeader(const Fs2004File& file, ByteBuffer& out) {
  out.U16(0x0201).U16(file.magic);
  out.U32(file.section_table_offset.value_or(kFs2004HeaderSize));
  out.Zeros(12);  // time stamps and version word
  out.U32(file.section_count.value_or(Word(file.sections.size())));
  out.Zeros(kFs2004HeaderSize - out.Size());
}

void WriteSectionTable(const Fs2004File& file, const std::vector<SectionLayout>& layouts,
                       ByteBuffer& out) {
  for (std::size_t i = 0; i < file.sections.size(); ++i) {
    const Fs2004Section& section = file.sections[i];
    out.U32(section.type).U32(1);
    out.U32(section.subsection_count.value_or(Word(section.subsections.size())));
    out.U32(section.subsection_table_offset.value_or(Word(layouts[i].subsection_table)));
    out.U32(Word(layouts[i].data_size));
  }
}

// One section's subsection table; a boundary section's pointer list follows.
void WriteSubsectionTable(const Fs2004Section& section, const SectionLayout& layout,
                          ByteBuffer& out) {
  const bool boundaries = section.type == kFs2004Boundaries;
  std::size_t record_at = layout.data;
  std::size_t list_index = 0;
  for (std::size_t j = 0; j < section.subsections.size(); ++j) {
    const Fs2004Subsection& subsection = section.subsections[j];
    const std::size_t first = boundaries ? list_index : record_at;
    out.U32(Word(j)).U32(subsection.record_count.value_or(Word(subsection.records.size())));
    out.U32(subsection.data_offset.value_or(Word(first))).U32(Word(SubsectionDataSize(subsection)));
    record_at += SubsectionDataSize(subsection);
    list_index += subsection.records.size();
  }
  if (!boundaries) return;
  record_at = layout.data;
  for (const Fs2004Subsection& subsection : section.subsections) {
    for (const Bytes& record : subsection.records) {
      out.U32(Word(record_at)).U32(Word(record.size()));
      record_at += record.size();
    }
  }
}

}  // namespace

Bytes BuildFs2004File(const Fs2004File& file) {
  const std::vector<SectionLayout> layouts = LayOut(file);
  ByteBuffer out;
  out.Reserve(layouts.empty() ? kFs2004HeaderSize : layouts.back().data + layouts.back().data_size);
  WriteHeader(file, out);
  WriteSectionTable(file, layouts, out);
  for (std::size_t i = 0; i < file.sections.size(); ++i)
    WriteSubsectionTable(file.sections[i], layouts[i], out);
  for (const Fs2004Section& section : file.sections) {
    for (const Fs2004Subsection& subsection : section.subsections) {
      for (const Bytes& record : subsection.records) out.Append(record);
    }
  }
  Bytes bytes = out.Take();
  if (file.length) bytes.resize(*file.length, 0);
  return bytes;
}

Fs2004Section MakeFs2004Section(std::uint32_t type, std::vector<Bytes> records,
                                std::size_t per_subsection) {
  if (per_subsection == 0)
    throw std::invalid_argument("a subsection must hold at least one record");
  Fs2004Section section;
  section.type = type;
  for (std::size_t first = 0; first < records.size() || first == 0; first += per_subsection) {
    Fs2004Subsection subsection;
    const std::size_t end = std::min(records.size(), first + per_subsection);
    for (std::size_t i = first; i < end; ++i) subsection.records.push_back(std::move(records[i]));
    section.subsections.push_back(std::move(subsection));
  }
  return section;
}

std::vector<Bytes> SerializeAll(std::span<const Fs2004Record> records) {
  std::vector<Bytes> serialized;
  serialized.reserve(records.size());
  for (const Fs2004Record& record : records) serialized.push_back(Serialize(record));
  return serialized;
}

namespace {

template <typename Item, typename Encode>
std::vector<Bytes> EncodeEach(const std::vector<Item>& items, Encode encode) {
  std::vector<Bytes> records;
  records.reserve(items.size());
  for (const Item& item : items) records.push_back(Serialize(encode(item)));
  return records;
}

// A name list as the simulator keeps one beside its airports: idents and
// names. The loader passes over the whole section.
Bytes AirportNameList(const std::vector<Airport>& airports) {
  ByteBuffer out;
  out.U16(0x27).U32(0).U32(CheckedCount<std::uint32_t>(airports.size(), "airports"));
  for (const Airport& airport : airports) {
    out.U32(Fs2004IdentWord(airport.ident)).Chars(airport.name.value_or(""), 24);
  }
  Bytes bytes = out.Take();
  PutU32(bytes, 2, Word(bytes.size()));
  return bytes;
}

void AddSection(Fs2004File& file, std::uint32_t type, std::vector<Bytes> records,
                std::size_t per_subsection) {
  if (!records.empty())
    file.sections.push_back(MakeFs2004Section(type, std::move(records), per_subsection));
}

Bytes RandomBlock(Random& random, std::size_t size) {
  Bytes block(size);
  for (std::size_t k = 0; k + 8 <= size; k += 8) {
    const std::uint64_t word = random.Next();
    for (std::size_t b = 0; b < 8; ++b) block[k + b] = static_cast<std::uint8_t>(word >> (8 * b));
  }
  return block;
}

}  // namespace

Fs2004File MakeFs2004File(const SceneryContent& content, std::size_t per_subsection) {
  Fs2004File file;
  if (!content.airports.empty()) {
    file.sections.push_back(
        MakeFs2004Section(kFs2004NameLists, {AirportNameList(content.airports)}));
  }
  AddSection(file, kFs2004Airports, EncodeEach(content.airports, EncodeAirport), per_subsection);
  AddSection(file, kFs2004SceneryObjects, EncodeEach(content.fuel_triggers, EncodeFuelTrigger),
             per_subsection);
  std::vector<Bytes> vor_ils = EncodeEach(content.vors, EncodeVor);
  for (Bytes& ils : EncodeEach(content.ilss, EncodeIls)) vor_ils.push_back(std::move(ils));
  AddSection(file, kFs2004VorIls, std::move(vor_ils), per_subsection);
  AddSection(file, kFs2004Ndbs, EncodeEach(content.ndbs, EncodeNdb), per_subsection);
  AddSection(file, kFs2004Markers, EncodeEach(content.markers, EncodeMarker), per_subsection);
  AddSection(file, kFs2004Waypoints, EncodeEach(content.intersections, EncodeWaypoint),
             per_subsection);
  AddSection(file, kFs2004Boundaries, EncodeEach(content.boundaries, EncodeBoundary),
             per_subsection);
  return file;
}

Bytes MakeFs2004SkippedFile(std::size_t approximate_size, std::uint64_t seed) {
  // Terrain, object placement and texture-like section types: none is one
  // the loader reads.
  constexpr std::uint32_t kSkippedTypes[] = {101, 103, 35, 43, 38};
  constexpr std::size_t kBlock = 64 * 1024;
  constexpr std::size_t kBlocksPerSection = 16;
  Random random(seed);
  Fs2004File file;
  std::size_t written = 0;
  do {
    if (file.sections.empty() || file.sections.back().subsections.size() == kBlocksPerSection) {
      file.sections.push_back(Fs2004Section{
          kSkippedTypes[file.sections.size() % std::size(kSkippedTypes)], {}, {}, {}});
    }
    const std::size_t size =
        std::clamp<std::size_t>(approximate_size - written, 8, kBlock) & ~std::size_t{7};
    file.sections.back().subsections.push_back(
        Fs2004Subsection{{RandomBlock(random, size)}, {}, {}});
    written += size;
  } while (written < approximate_size);
  return BuildFs2004File(file);
}

// ---------------------------------------------------------------- counting

std::map<std::string, std::size_t> CountFs2004Records(const SceneryContent& content) {
  std::map<std::string, std::size_t> counts;
  for (const char* kind : {"airports", "runways", "taxiway_points", "taxiway_paths", "parkings",
                           "taxi_names", "fuel_areas", "vors", "ilss", "ndbs", "markers", "fixes",
                           "victor_airways", "jet_airways", "airspaces"}) {
    counts[kind] = 0;
  }
  std::set<std::uint32_t> idents;
  for (const Airport& airport : content.airports) {
    if (!idents.insert(Fs2004IdentWord(airport.ident) >> 5).second) continue;
    ++counts["airports"];
    counts["runways"] += airport.runways.size();
    counts["runways"] +=
        std::count_if(airport.starts.begin(), airport.starts.end(),
                      [](const Start& start) { return start.type == StartType::Helipad; });
    counts["taxiway_points"] += airport.taxiway_points.size();
    counts["taxiway_paths"] += airport.taxiway_paths.size();
    counts["parkings"] += airport.parkings.size();
    counts["taxi_names"] += airport.taxiway_names.size();
  }
  counts["fuel_areas"] +=
      std::count_if(content.fuel_triggers.begin(), content.fuel_triggers.end(),
                    [](const FuelTrigger& t) { return t.trigger_type == kRefuelTrigger; });
  counts["vors"] += std::count_if(content.vors.begin(), content.vors.end(), [](const Vor& vor) {
    return static_cast<int>(vor.type) >= 1 && static_cast<int>(vor.type) <= 3;
  });
  counts["ilss"] += content.ilss.size();
  counts["ndbs"] += content.ndbs.size();
  counts["markers"] += content.markers.size();
  counts["fixes"] += content.intersections.size();
  for (const Intersection& intersection : content.intersections) {
    for (const Route& route : intersection.routes) {
      if (route.level == RouteLevel::Victor || route.level == RouteLevel::Both)
        ++counts["victor_airways"];
      if (route.level == RouteLevel::Jet || route.level == RouteLevel::Both)
        ++counts["jet_airways"];
    }
  }
  counts["airspaces"] += std::count_if(content.boundaries.begin(), content.boundaries.end(),
                                       [](const Boundary& b) { return IsAirspaceType(b.type); });
  return counts;
}

}  // namespace tarnvale::fab
