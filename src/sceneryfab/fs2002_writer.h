// Writes FS2002 BGL files of the three layouts the loader tells apart:
// VOR/ILS files (header word 18), NDB files (word 78) and facility files
// (0x87654321 at 118) holding airports and the navigation chain.
//
// Three layers, each usable on its own so that tests can state any byte:
//  1. Encode*: one model value to one chunk, record or element, which a test
//     may still change (a stored size, bytes poked into the body with
//     PutU32(chunk.body, offset - 8, ...)).
//  2. The file descriptions (Fs2002FacilityFile, Fs2002VorFile,
//     Fs2002NdbFile), whose every table word can be replaced and which can be
//     cut short.
//  3. Build*: a description to the bytes of a whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sceneryfab/byte_buffer.h"
#include "sceneryfab/model.h"

namespace tarnvale::fab {

// ------------------------------------------------------------------ values

// Latitude and longitude words of facility files: degrees x 10001750 / 90
// and degrees x 2^32 / 360, rounded to nearest (+180 wraps to -2^31).
std::int32_t Fs2002LatitudeWord(double degrees);
std::int32_t Fs2002LongitudeWord(double degrees);
// Eight packed decimal digits of `hz` in units of 100 Hz (0.0001 MHz).
std::uint32_t Fs2002PackedFrequency(std::uint32_t hz);
// The channel of a VOR or ILS frequency (108 MHz + 50 kHz per channel),
// rounded to the nearest channel. Throws std::invalid_argument below
// 108 MHz or above the highest channel.
std::uint16_t Fs2002ChannelNumber(std::uint32_t hz);

// ------------------------------------------------------------ facility files

// Chunk types of facility files.
inline constexpr std::uint32_t kFs2002ReferencePointChunk = 0x10001;
inline constexpr std::uint32_t kFs2002RunwayChunk = 0x10002;
inline constexpr std::uint32_t kFs2002SubObjectChunk = 0x10004;
inline constexpr std::uint32_t kFs2002IdentChunk = 0x10006;
inline constexpr std::uint32_t kFs2002GroundLayoutChunk = 0x11001;
inline constexpr std::uint32_t kFs2002ComChunk = 0x20001;
inline constexpr std::uint32_t kFs2002AirportListChunk = 0x30001;
inline constexpr std::uint32_t kFs2002AirportEntry = 0x30002;
inline constexpr std::uint32_t kFs2002NavigationListChunk = 1;
inline constexpr std::uint32_t kFs2002FixListKind = 6;
inline constexpr std::uint32_t kFs2002VictorListKind = 7;
inline constexpr std::uint32_t kFs2002JetListKind = 8;
inline constexpr std::uint32_t kFs2002FixRecord = 0x10008;
inline constexpr std::uint32_t kFs2002AirwayNameRecord = 0x10006;
inline constexpr std::uint32_t kFs2002AirwayPointRecord = 0x11002;
// Ends of a runway in an ILS ident sub-object.
inline constexpr std::uint32_t kFs2002PrimaryEnd = 2;
inline constexpr std::uint32_t kFs2002SecondaryEnd = 4;

inline constexpr std::size_t kFs2002FacilityHeaderSize = 168;

// A chunk or list record: u32 type, u32 size, then `body`. Offsets into
// `body` are chunk offsets minus 8.
struct Fs2002Chunk {
  std::uint32_t type = 0;
  Bytes body;
  std::optional<std::uint32_t> size;  // stored instead of body.size()
};

Bytes Serialize(const Fs2002Chunk& chunk);

// Airport chunks.
Fs2002Chunk EncodeFs2002ReferencePoint(Position position, double altitude_m);
Fs2002Chunk EncodeFs2002Ident(std::string_view ident);  // size = text length
Fs2002Chunk EncodeFs2002Com(const Com& com);            // kind = the ComType number
// Runway number and designator code come from the primary end: None 0,
// Left 1, Right 2, Center 3, Helipad 4; Water is written as 5 (no letter
// the format knows).
Fs2002Chunk EncodeFs2002Runway(const Runway& runway);
// A helipad start as a runway chunk of designator code 4 and length 0.
Fs2002Chunk EncodeFs2002Helipad(const Start& start);
// Sub-object kind 4: the ILS ident of runway end `end` (2 or 4).
Fs2002Chunk EncodeFs2002IlsIdent(std::uint32_t end, std::string_view ident);
// Sub-object kind 7 of BGL marker kind 8 outer, 9 middle, 10 inner, 11 back
// course.
Fs2002Chunk EncodeFs2002Marker(const Marker& marker);

// The ground layout as the format stores it: offsets in metres east and
// north of the airport's reference point.
struct Fs2002TaxiwayPoint {
  std::uint32_t kind = 0;  // 0 normal, 1 hold short
  Single east_m = 0.0;
  Single north_m = 0.0;
};
struct Fs2002Parking {
  Single east_m = 0.0;
  Single north_m = 0.0;
  Single radius_m = 0.0;
  std::uint32_t word = 0;  // bits 0..6 name code, 7..19 number, 20..25 type
};
struct Fs2002TaxiwayPath {
  std::uint32_t kind = 0;  // 0, 1 or 2
  std::uint32_t start_point = 0;
  std::uint32_t end_point = 0;
  std::uint32_t name_index = 0;
};
// One group: u32 count, u32 element size, the elements. Groups are written
// in the order given; `count` and `element_size` may be replaced.
struct Fs2002Group {
  std::variant<std::vector<Fs2002TaxiwayPoint>, std::vector<Fs2002Parking>,
               std::vector<Fs2002TaxiwayPath>, std::vector<std::string>>
      elements;
  std::optional<std::uint32_t> count;
  std::optional<std::uint32_t> element_size;
};
Fs2002Chunk EncodeFs2002GroundLayout(std::span<const Fs2002Group> groups);
// The groups of an airport's taxiway points, parkings, paths and names
// (those it has), placed relative to its position: east and north offsets
// along the parallel and the meridian, one minute of arc per 1852 m.
std::vector<Fs2002Group> Fs2002GroundLayoutOf(const Airport& airport);

// One airport entry of a list and the data block it points to.
struct Fs2002AirportEntry {
  Bytes name;                       // the bytes behind the entry's 16-byte head
  std::vector<Fs2002Chunk> chunks;  // the data block's chunks (the end chunk is added)
  std::uint32_t type = kFs2002AirportEntry;
  std::uint32_t tag = 0x50001;
  bool has_data = true;           // false: data block offset 0, no block
  std::uint32_t block_word0 = 1;  // data block words at +0 and +8
  std::uint32_t block_word8 = 1;
};

// Chunks in this order: reference point, ident, COMs, each runway followed
// by the ILS ident sub-objects of its ends, helipad starts, `markers`, the
// ground layout. The entry's name is the airport's name without a NUL.
Fs2002AirportEntry MakeFs2002Airport(const Airport& airport, std::span<const Marker> markers = {});

struct Fs2002AirportList {
  std::vector<Fs2002AirportEntry> airports;
  std::optional<std::uint32_t> count;  // stored instead of airports.size()
};

// Navigation list records.
Fs2002Chunk EncodeFs2002Fix(const Intersection& intersection);  // key = ident text, 8 bytes
Fs2002Chunk EncodeFs2002AirwayName(std::string_view name);
// Altitude in whole feet (the loader carries the word unconverted).
Fs2002Chunk EncodeFs2002AirwayPoint(const AirwayPoint& point);
// A navigation list chunk (type 1) of `kind` holding `records`; no end
// record is added.
Fs2002Chunk MakeFs2002List(std::uint32_t kind, std::vector<Fs2002Chunk> records);
Fs2002Chunk MakeFs2002FixList(std::span<const Intersection> intersections);
// Every airway of `airways`: its name record, then its points.
Fs2002Chunk MakeFs2002AirwayList(std::uint32_t kind, std::span<const Airway> airways);

// An element of the airport chain or the navigation chain.
using Fs2002ChainItem = std::variant<Fs2002Chunk, Fs2002AirportList>;

struct Fs2002FacilityFile {
  std::vector<Fs2002ChainItem> airport_chain;     // empty: header offset 0
  std::vector<Fs2002ChainItem> navigation_chain;  // empty: header offset 0
  std::uint32_t version = 1;                      // header word at 144
  std::optional<std::size_t> length;              // cut (or zero-extend) the file to this
};

// Header, the airport chain, the navigation chain (each ended by a chunk of
// type 0), then the data blocks of every airport in chain order.
Bytes BuildFs2002FacilityFile(const Fs2002FacilityFile& file);

// ------------------------------------------------------------ navaid files

inline constexpr std::size_t kFs2002NavaidHeaderSize = 128;
inline constexpr std::uint8_t kFs2002RunListMark = 21;

// Records of the VOR section (44, 54 or 56 bytes) and NDB section (42).
// Positions are 24-bit words: 5000875 = 90 degrees, 2^24 = 360 degrees.
// VOR range code: the range in nautical miles, or 16, 22, 36, 85 for 27,
// 37, 60, 195 NM (the codes themselves cannot be told).
Bytes EncodeFs2002Vor(const Vor& vor);
Bytes EncodeFs2002Ils(const Ils& ils, bool long_form = false);
// Range class 1..4 (23, 38, 50, 75 NM), the nearest to the range.
Bytes EncodeFs2002Ndb(const Ndb& ndb);
// Type 32, stepped over by the loader.
Bytes EncodeFs2002UnusedVorRecord();

// A run: records back to back, then one byte `end` that ends it.
struct Fs2002Run {
  std::vector<Bytes> records;
  std::uint8_t end = 0;
};

// A channel's entry of the VOR channel table and its run list.
struct Fs2002Channel {
  std::vector<Fs2002Run> runs;
  std::optional<std::uint8_t> flag;              // default: 1 when there are runs, else 0
  std::optional<std::uint32_t> run_list_offset;  // from the section start, instead of the true one
};

struct Fs2002VorFile {
  std::uint16_t lowest_channel = 0;
  std::vector<Fs2002Channel> channels;           // lowest_channel, lowest_channel + 1, ...
  std::optional<std::uint16_t> highest_channel;  // default: the last channel given
  std::optional<std::size_t> length;
};

struct Fs2002NdbFile {
  std::vector<Fs2002Run> runs;
  std::optional<std::size_t> length;
};

// Header; at the section offset (the header size) the channel table, then
// each channel's run list (ended by an entry not marked 21) and its runs.
Bytes BuildFs2002VorFile(const Fs2002VorFile& file);
// Header; at the section offset the run list, then the runs.
Bytes BuildFs2002NdbFile(const Fs2002NdbFile& file);

}  // namespace tarnvale::fab
