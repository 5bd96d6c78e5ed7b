// Reads the database files back into records: for `tarnvale-cli dump` and
// for tests that check what the writer wrote.
//
// Every byte is read through a ByteCursor, so a damaged or foreign file can
// only fail to parse, never be read outside its bounds. Parsing stops at the
// first record that does not fit its layout and says where and why. A file
// is read through a window of fixed size, so reading one record by record
// costs no more memory than its largest record, whatever the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "output/output_files.h"
#include "platform/system_file.h"
#include "scenery/records.h"

namespace tarnvale {

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

// What reading a file found, apart from the records themselves.
struct DatabaseFileSummary {
  std::optional<DatabaseFileKind> kind;  // none when the name is not recognised
  std::uintmax_t size = 0;               // bytes in the file
  std::size_t record_count = 0;          // records read before a failure
  std::optional<ParseFailure> failure;
};

struct DatabaseFileContents : DatabaseFileSummary {
  std::vector<ParsedRecord> records;  // every record read before a failure
};

// Receives each record as soon as it is parsed. The record is valid until
// the handler returns; the next one is decoded into its memory.
using RecordHandler = std::function<void(const ParsedRecord&)>;

// A database file opened for reading record by record.
class DatabaseFileStream {
 public:
  // Opens the file at `path`, its kind taken from its name. A path that
  // names nothing or a folder, an unknown name, or a file that cannot be
  // opened is a failure of the whole file.
  explicit DatabaseFileStream(const std::filesystem::path& path);
  ~DatabaseFileStream();
  DatabaseFileStream(const DatabaseFileStream&) = delete;
  DatabaseFileStream& operator=(const DatabaseFileStream&) = delete;

  // Kind and size from the opening; record count and failure of the last
  // ReadRecords.
  const DatabaseFileSummary& Summary() const { return summary_; }

  // Parses the file from its start, handing each record to `on_record`
  // and keeping none. May be called again to read the file anew.
  const DatabaseFileSummary& ReadRecords(const RecordHandler& on_record);

 private:
  std::optional<platform::InputFile> file_;
  DatabaseFileSummary summary_;
};

// Parses `bytes` as a file of `kind`.
[[nodiscard]] DatabaseFileContents ParseDatabaseFile(DatabaseFileKind kind,
                                                     std::span<const std::uint8_t> bytes);

// Reads and parses the file at `path`, its kind taken from its name.
[[nodiscard]] DatabaseFileContents ReadDatabaseFile(const std::filesystem::path& path);

// "record 3 at byte offset 418: <reason>", or the bare reason for a failure
// of the whole file.
std::string DescribeFailure(const ParseFailure& failure);

}  // namespace tarnvale
