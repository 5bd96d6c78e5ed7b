// Reads the database files back into records: for `tarnvale-cli dump` and
// for tests that check what the writer wrote.
//
// Every byte is read through a ByteCursor, so a damaged or foreign file can
// only fail to parse, never be read outside its bounds. Parsing stops at the
// first record that does not fit its layout and says where and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "scenery/records.h"

namespace tarnvale {

enum class DatabaseFileKind {
  Airports,
  FuelAreas,
  Airspaces,
  Navaids,
  Markers,
  Fixpoints,
  VictorAirways,
  JetAirways,
  MagneticDeclination,  // the copy of magdec.bgl: recognised, not parsed
};

// The kind of the file named `file_name` (letter case ignored), if it is one
// of the files the writer makes.
std::optional<DatabaseFileKind> DatabaseFileKindOf(std::string_view file_name);

// The writer's own (lower-case) name for files of `kind`.
std::string_view DatabaseFileName(DatabaseFileKind kind);

using DatabaseRecord = std::variant<AirportRecord, FuelAreaRecord, AirspaceRecord, NavaidRecord,
                                    MarkerRecord, FixRecord, AirwayRecord>;

struct ParsedRecord {
  std::size_t offset = 0;  // where the record starts in the file
  DatabaseRecord record;
};

struct ParseFailure {
  std::size_t offset = 0;         // where the faulty record starts
  std::size_t record_number = 0;  // counted from 1; 0 when the whole file is at fault
  std::string reason;
};

struct DatabaseFileContents {
  std::optional<DatabaseFileKind> kind;  // none when the name is not recognised
  std::uintmax_t size = 0;               // bytes in the file
  std::vector<ParsedRecord> records;     // every record read before a failure
  std::optional<ParseFailure> failure;
};

// Parses `bytes` as a file of `kind`.
DatabaseFileContents ParseDatabaseFile(DatabaseFileKind kind, std::span<const std::uint8_t> bytes);

// Reads and parses the file at `path`, its kind taken from its name.
DatabaseFileContents ReadDatabaseFile(const std::filesystem::path& path);

// "record 3 at byte offset 418: <reason>", or the bare reason for a failure
// of the whole file.
std::string DescribeFailure(const ParseFailure& failure);

}  // namespace tarnvale
