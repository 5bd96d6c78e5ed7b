// Writes FS2004 BGL files from the plain values of model.h.
//
// Three layers, each usable on its own so that tests can state any byte:
//  1. Encode*: one model value to one Fs2004Record (id, body, sub-records),
//     which a test may still change (sizes, extra or reordered sub-records,
//     bytes poked into the body with PutU32(record.body, ...)).
//  2. Serialize: a record to its bytes.
//  3. Fs2004File: sections of subsections of serialized records, built into
//     a whole file with its header, section table, subsection tables and,
//     for boundaries, the record pointer list. Every table word can be
//     replaced, and the file cut short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sceneryfab/byte_buffer.h"
#include "sceneryfab/model.h"

namespace tarnvale::fab {

// Section types.
inline constexpr std::uint32_t kFs2004Airports = 3;
inline constexpr std::uint32_t kFs2004VorIls = 19;
inline constexpr std::uint32_t kFs2004Ndbs = 23;
inline constexpr std::uint32_t kFs2004Markers = 24;
inline constexpr std::uint32_t kFs2004Boundaries = 32;
inline constexpr std::uint32_t kFs2004Waypoints = 34;
inline constexpr std::uint32_t kFs2004SceneryObjects = 37;
inline constexpr std::uint32_t kFs2004NameLists = 39;

// Record and sub-record ids.
inline constexpr std::uint16_t kFs2004AirportId = 0x03;
inline constexpr std::uint16_t kFs2004RunwayId = 0x04;
inline constexpr std::uint16_t kFs2004StartId = 0x11;
inline constexpr std::uint16_t kFs2004ComId = 0x12;
inline constexpr std::uint16_t kFs2004VorIlsId = 0x13;
inline constexpr std::uint16_t kFs2004LocalizerId = 0x14;
inline constexpr std::uint16_t kFs2004NameId = 0x19;
inline constexpr std::uint16_t kFs2004TaxiwayPointsId = 0x1A;
inline constexpr std::uint16_t kFs2004ParkingsId = 0x1B;
inline constexpr std::uint16_t kFs2004TaxiwayPathsId = 0x1C;
inline constexpr std::uint16_t kFs2004TaxiwayNamesId = 0x1D;
inline constexpr std::uint16_t kFs2004NdbId = 0x17;
inline constexpr std::uint16_t kFs2004MarkerId = 0x18;
inline constexpr std::uint16_t kFs2004BoundaryId = 0x20;
inline constexpr std::uint16_t kFs2004WaypointId = 0x22;
inline constexpr std::uint16_t kFs2004TriggerId = 7;  // scenery object: trigger
inline constexpr std::uint16_t kFs2004BoundaryNameId = 25;
inline constexpr std::uint16_t kFs2004BoundaryPointsId = 33;

// Fixed sizes of what the writer emits.
inline constexpr std::size_t kFs2004HeaderSize = 56;
inline constexpr std::size_t kFs2004SectionEntrySize = 20;
inline constexpr std::size_t kFs2004SubsectionEntrySize = 16;
inline constexpr std::size_t kFs2004PointerEntrySize = 8;
inline constexpr std::size_t kFs2004AirportFixedSize = 52;  // first sub-record at 52
inline constexpr std::size_t kFs2004RunwaySize = 52;
inline constexpr std::size_t kFs2004RouteEntrySize = 33;
inline constexpr std::size_t kFs2004TriggerSize = 38;

// One record or sub-record: a u16 id, a size word, the body behind the
// header, then nested sub-records. Offsets into `body` are record offsets
// minus the header size (6, or 4 for short-size records).
struct Fs2004Record {
  std::uint16_t id = 0;
  Bytes body;
  std::vector<Fs2004Record> sub_records;
  std::optional<std::uint32_t> size;  // stored instead of the true size
  bool short_size = false;            // u16 size word (scenery objects)

  std::size_t HeaderSize() const { return short_size ? 4 : 6; }
};

Bytes Serialize(const Fs2004Record& record);

// Airports and their sub-records (in this order: runways, starts, COMs,
// name, taxiway points, parkings, taxiway paths, taxiway names).
Fs2004Record EncodeAirport(const Airport& airport);
Fs2004Record EncodeRunway(const Runway& runway);
Fs2004Record EncodeStart(const Start& start);
Fs2004Record EncodeCom(const Com& com);
Fs2004Record EncodeName(std::string_view name);  // id 0x19, text without NUL
Fs2004Record EncodeTaxiwayPoints(std::span<const TaxiwayPoint> points);
Fs2004Record EncodeParkings(std::span<const Parking> parkings);
Fs2004Record EncodeTaxiwayPaths(std::span<const TaxiwayPath> paths);
Fs2004Record EncodeTaxiwayNames(std::span<const std::string> names);
Fs2004Record EncodeFuelTrigger(const FuelTrigger& trigger);  // section 37, short size

// Navaids: VOR and ILS share section 19.
Fs2004Record EncodeVor(const Vor& vor);
Fs2004Record EncodeIls(const Ils& ils);
Fs2004Record EncodeNdb(const Ndb& ndb);
Fs2004Record EncodeMarker(const Marker& marker);
Fs2004Record EncodeWaypoint(const Intersection& intersection);

// Boundaries: the name sub-record, then one points sub-record per outline.
Fs2004Record EncodeBoundary(const Boundary& boundary);
Fs2004Record EncodeBoundaryName(std::string_view name);  // id 25
Fs2004Record EncodeBoundaryPoints(std::span<const BoundaryPoint> points);

struct Fs2004Subsection {
  std::vector<Bytes> records;
  std::optional<std::uint32_t> record_count;  // stored instead of records.size()
  // Stored instead of the file offset of the first record (boundaries: of
  // its index in the pointer list).
  std::optional<std::uint32_t> data_offset;
};

struct Fs2004Section {
  std::uint32_t type = 0;
  std::vector<Fs2004Subsection> subsections;
  std::optional<std::uint32_t> subsection_count;         // stored instead of the true count
  std::optional<std::uint32_t> subsection_table_offset;  // stored instead of the true offset
};

struct Fs2004File {
  std::vector<Fs2004Section> sections;
  std::uint16_t magic = 0x1992;
  std::optional<std::uint32_t> section_count;         // stored instead of the true count
  std::optional<std::uint32_t> section_table_offset;  // stored instead of 56
  std::optional<std::size_t> length;                  // cut (or zero-extend) the file to this
};

// Header (56 bytes), section table, each section's subsection table (a
// boundary section's pointer list right behind it), then the records of
// every section in order. The tables are written where they belong even
// when an override stores another word.
Bytes BuildFs2004File(const Fs2004File& file);

// A section of `type` holding `records`, at most `per_subsection` to a
// subsection (at least one subsection, even for no records).
Fs2004Section MakeFs2004Section(std::uint32_t type, std::vector<Bytes> records,
                                std::size_t per_subsection = 500);

// The serialized records of one kind of content, in order.
std::vector<Bytes> SerializeAll(std::span<const Fs2004Record> records);

// One file holding every non-empty kind of `content` in its own section:
// a name list of the airports (39, which the loader skips), airports (3),
// scenery objects (37), VOR/ILS (19), NDB (23), markers (24), waypoints
// (34), boundaries (32). Airways are taken from the intersections'
// routes, not from `content.airways`.
Fs2004File MakeFs2004File(const SceneryContent& content, std::size_t per_subsection = 500);

// A file of `approximate_size` bytes made only of sections Tarnvale skips
// (terrain-like and object-like types), filled from `seed`.
Bytes MakeFs2004SkippedFile(std::size_t approximate_size, std::uint64_t seed);

// How many records of each kind the loader adds for `content` written by
// this writer: keys "airports", "runways" (helipad starts included),
// "taxiway_points", "taxiway_paths", "parkings", "taxi_names",
// "fuel_areas", "vors", "ilss", "ndbs", "markers", "fixes",
// "victor_airways", "jet_airways", "airspaces". Airports are counted once
// per distinct ident.
std::map<std::string, std::size_t> CountFs2004Records(const SceneryContent& content);

}  // namespace tarnvale::fab
