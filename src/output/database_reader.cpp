#include "output/database_reader.h"

#include <algorithm>
#include <array>
#include <concepts>
#include <fstream>
#include <iterator>
#include <system_error>

#include "output/record_layouts.h"
#include "platform/ascii_text.h"
#include "scenery/byte_cursor.h"

namespace tarnvale {

namespace {

// A layout visitor that fills a record from the bytes at `offset`. Reading
// past the end yields zeros and marks the decoder overrun; a sub-array count
// larger than the bytes left could hold is refused before anything is
// allocated for it.
class LittleEndianDecoder {
 public:
  LittleEndianDecoder(ByteCursor bytes, std::size_t offset) : bytes_(bytes), offset_(offset) {}

  template <std::integral T>
  void Field(std::string_view, T& value) {
    if constexpr (sizeof(T) == 1) {
      value = static_cast<T>(bytes_.U8(offset_));
    } else if constexpr (sizeof(T) == 2) {
      value = static_cast<T>(bytes_.U16(offset_));
    } else {
      static_assert(sizeof(T) == 4, "database fields are 1, 2 or 4 bytes wide");
      value = static_cast<T>(bytes_.U32(offset_));
    }
    offset_ += sizeof(T);
  }
  template <std::size_t N>
  void Field(std::string_view, FixedText<N>& text) {
    const std::string_view chars = bytes_.Chars(offset_, N);
    text.fill('\0');
    std::copy(chars.begin(), chars.end(), text.begin());
    offset_ += N;
  }
  void Text(std::string_view, std::string_view, std::uint16_t& length, std::string& text) {
    Field({}, length);
    text = std::string(bytes_.Chars(offset_, length));
    offset_ += length;
  }
  template <typename E>
  void Count(std::string_view, RecordArray<E>& elements) {
    std::uint32_t count = 0;
    Field({}, count);
    const std::size_t left = offset_ < bytes_.Size() ? bytes_.Size() - offset_ : 0;
    if (count > left / FileRecordSize(E{})) {
      count_too_large_ = true;
      count = 0;
    }
    elements.resize(count);
  }
  template <typename E>
  void Elements(std::string_view, RecordArray<E>& elements) {
    for (E& element : elements) VisitLayout(element, *this);
  }

  bool Overrun() const { return count_too_large_ || bytes_.Overrun(); }
  std::size_t Offset() const { return offset_; }

 private:
  ByteCursor bytes_;
  std::size_t offset_;
  bool count_too_large_ = false;
};

std::string CheckKind(std::uint8_t kind, const std::vector<RecordKind>& expected) {
  std::string wanted;
  for (const RecordKind allowed : expected) {
    if (kind == static_cast<std::uint8_t>(allowed)) return {};
    wanted += (wanted.empty() ? "" : " or ") + std::to_string(static_cast<int>(allowed));
  }
  return "kind " + std::to_string(kind) + " where " + wanted + " was expected";
}

std::string CheckFileSize(std::uint32_t file_size, std::size_t length) {
  if (file_size == length) return {};
  return "FileSize " + std::to_string(file_size) + " differs from the record's length " +
         std::to_string(length);
}

std::string CheckNextOffset(std::int32_t next_offset, std::size_t end) {
  if (static_cast<std::uint32_t>(next_offset) == end) return {};
  return "NextOffset " + std::to_string(next_offset) + " differs from the record's end " +
         std::to_string(end);
}

// What a sound record of a file holds.
struct RecordRules {
  std::vector<RecordKind> kinds;  // the kind bytes the file may hold
  bool file_size_is_length = false;
};

// The reason a record is unsound, or the empty text.
template <typename Record>
std::string CheckRecord(const Record& record, const RecordRules& rules, std::size_t offset,
                        std::size_t length) {
  if constexpr (std::same_as<Record, AirspaceRecord>) {
    return CheckNextOffset(record.NextOffset, offset + length);  // no kind, no FileSize
  } else {
    std::string reason = CheckKind(record.Kind, rules.kinds);
    if (reason.empty() && rules.file_size_is_length) reason = CheckFileSize(record.FileSize, length);
    return reason;
  }
}

// Reads records of type `Record` back to back until the end of the bytes.
template <typename Record>
void ParseRecords(ByteCursor bytes, const RecordRules& rules, DatabaseFileContents& contents) {
  std::size_t offset = 0;
  while (offset < bytes.Size()) {
    const std::size_t number = contents.records.size() + 1;
    Record record;
    LittleEndianDecoder decoder(bytes, offset);
    VisitLayout(record, decoder);
    if (decoder.Overrun()) {
      contents.failure = ParseFailure{offset, number,
                                      "the record runs past the end of the file (" +
                                          std::to_string(bytes.Size() - offset) + " bytes left)"};
      return;
    }
    const std::size_t length = decoder.Offset() - offset;
    if (std::string reason = CheckRecord(record, rules, offset, length); !reason.empty()) {
      contents.failure = ParseFailure{offset, number, std::move(reason)};
      return;
    }
    contents.records.push_back({offset, std::move(record)});
    offset += length;  // every layout has fixed bytes: always advances
  }
}

struct FileType {
  DatabaseFileKind kind;
  std::string_view name;
};

constexpr std::array<FileType, 9> kFileTypes = {{
    {DatabaseFileKind::Airports, "world_airports.dat"},
    {DatabaseFileKind::FuelAreas, "world_fuel_areas.dat"},
    {DatabaseFileKind::Airspaces, "additional_airspaces.dat"},
    {DatabaseFileKind::Navaids, "world_navaids.dat"},
    {DatabaseFileKind::Markers, "world_markers.dat"},
    {DatabaseFileKind::Fixpoints, "world_fixpoints.dat"},
    {DatabaseFileKind::VictorAirways, "world_airways_v.dat"},
    {DatabaseFileKind::JetAirways, "world_airways_j.dat"},
    {DatabaseFileKind::MagneticDeclination, "magdec.bgl"},
}};

void ParseByKind(DatabaseFileKind kind, ByteCursor bytes, DatabaseFileContents& contents) {
  switch (kind) {
    case DatabaseFileKind::Airports:
      return ParseRecords<AirportRecord>(bytes, {{RecordKind::Airport}, true}, contents);
    case DatabaseFileKind::FuelAreas:
      return ParseRecords<FuelAreaRecord>(bytes, {{RecordKind::FuelArea}}, contents);
    case DatabaseFileKind::Airspaces:
      return ParseRecords<AirspaceRecord>(bytes, {}, contents);
    case DatabaseFileKind::Navaids:
      return ParseRecords<NavaidRecord>(bytes, {{RecordKind::Vor, RecordKind::Ndb}, true},
                                        contents);
    case DatabaseFileKind::Markers:
      // An unrecognised marker type has FileSize 0: only the kind is checked.
      return ParseRecords<MarkerRecord>(bytes, {{RecordKind::Marker}}, contents);
    case DatabaseFileKind::Fixpoints:
      return ParseRecords<FixRecord>(bytes, {{RecordKind::Fix}}, contents);
    case DatabaseFileKind::VictorAirways:
      return ParseRecords<AirwayRecord>(bytes, {{RecordKind::VictorAirway}, true}, contents);
    case DatabaseFileKind::JetAirways:
      return ParseRecords<AirwayRecord>(bytes, {{RecordKind::JetAirway}, true}, contents);
    case DatabaseFileKind::MagneticDeclination:
      return;  // the simulator's own file, copied unchanged
  }
}

}  // namespace

std::optional<DatabaseFileKind> DatabaseFileKindOf(std::string_view file_name) {
  for (const FileType& type : kFileTypes) {
    if (platform::EqualsIgnoreCase(file_name, type.name)) return type.kind;
  }
  return std::nullopt;
}

std::string_view DatabaseFileName(DatabaseFileKind kind) {
  for (const FileType& type : kFileTypes) {
    if (type.kind == kind) return type.name;
  }
  return {};
}

DatabaseFileContents ParseDatabaseFile(DatabaseFileKind kind,
                                       std::span<const std::uint8_t> bytes) {
  DatabaseFileContents contents;
  contents.kind = kind;
  contents.size = bytes.size();
  ParseByKind(kind, ByteCursor(bytes), contents);
  return contents;
}

DatabaseFileContents ReadDatabaseFile(const std::filesystem::path& path) {
  const std::optional<DatabaseFileKind> kind = DatabaseFileKindOf(path.filename().string());
  if (!kind) {
    DatabaseFileContents unknown;
    unknown.failure = ParseFailure{0, 0, "not a database file of Tarnvale (unknown name)"};
    return unknown;
  }
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, error)) in.open(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    DatabaseFileContents unreadable;
    unreadable.kind = kind;
    unreadable.failure = ParseFailure{0, 0, "the file cannot be read"};
    return unreadable;
  }
  return ParseDatabaseFile(*kind, bytes);
}

std::string DescribeFailure(const ParseFailure& failure) {
  if (failure.record_number == 0) return failure.reason;
  return "record " + std::to_string(failure.record_number) + " at byte offset " +
         std::to_string(failure.offset) + ": " + failure.reason;
}

}  // namespace tarnvale
