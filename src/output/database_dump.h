// Shows database file records as text lines or JSON: `tarnvale-cli dump`.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "output/database_reader.h"

namespace tarnvale {

// The record's fields in file order as "Name=value" pairs on one line.
// Texts are quoted, shown up to their NUL, with quotes, backslashes and
// control bytes escaped and 8-bit bytes read as Latin-1. Sub-records appear
// as `Runways=[{...} {...}]`.
std::string FormatRecordFields(const DatabaseRecord& record);
// The same for the records that are no file's records of their own: an ILS
// (held for binding) and one point of an airway.
std::string FormatRecordFields(const IlsRecord& ils);
std::string FormatRecordFields(const AirwayPointRecord& point);

// The record's fields in file order as a JSON object (texts as UTF-8 read
// from Latin-1, sub-records as arrays of objects).
nlohmann::ordered_json RecordFieldsToJson(const DatabaseRecord& record);
nlohmann::ordered_json RecordFieldsToJson(const IlsRecord& ils);
nlohmann::ordered_json RecordFieldsToJson(const AirwayPointRecord& point);

// Reads each file and writes its records to `out`: a heading line and one
// line per record ("#3 @418 Kind=1 ..."), or with `json` one JSON array
// holding an object per file. Each file that cannot be read or parsed is
// named on `errors` with the place and reason; the records before the fault
// are still shown. Records are written as they are read, in pieces of
// 64 KiB, and dropped, so a file of any size costs no more memory than its
// largest record. Returns 0 when every file parsed, otherwise 1.
[[nodiscard]] int DumpDatabaseFiles(const std::vector<std::filesystem::path>& files, bool json,
                                    std::ostream& out, std::ostream& errors);

}  // namespace tarnvale
