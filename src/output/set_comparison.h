// What differs between two database sets: records added, removed and
// changed, by kind and ident, and which fields of a changed record differ.
//
// Records are matched by kind and key: the ident of an airport, VOR or NDB,
// the key of an intersection, the name of an airway or airspace, and the
// position (with the fuel or marker type) of the records that have no
// ident. Of several records of one key, identical ones pair first, then the
// rest in file order; what is left over is added or removed.
//
// Both sets are read record by record, twice: first to a 16-byte digest of
// each record, then once more for the keys and fields of those that differ.
// Memory grows with the number of records (a few dozen bytes each) and of
// differences, never with the size of a record or a file.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnvale {

// The kinds of record compared, in the order they are told.
enum class ComparedKind {
  Airports,
  FuelAreas,
  Airspaces,
  Vors,
  Ndbs,
  Markers,
  Fixes,
  JetAirways,
  VictorAirways,
};
inline constexpr std::size_t kComparedKinds = 9;

// "airports", "fuel areas", ..., as the run's record counts name them.
std::string_view ComparedKindName(ComparedKind kind);

struct ChangedRecord {
  std::string key;
  std::vector<std::string_view> fields;  // the fields that differ, in file order
};

struct KindComparison {
  ComparedKind kind = ComparedKind::Airports;
  std::size_t old_count = 0;
  std::size_t new_count = 0;
  std::vector<std::string> added;      // keys, in the new set's order
  std::vector<std::string> removed;    // in the old set's order
  std::vector<ChangedRecord> changed;  // in the new set's order
};

struct SetComparison {
  std::array<KindComparison, kComparedKinds> kinds;
  // "<file>: <reason>" for each file that could not be read whole; the
  // records before the fault are compared.
  std::vector<std::string> failures;

  // No record added, removed or changed, and every file read whole.
  bool Same() const;
};

// The database files of a set: the record files of a folder (names in any
// letter case, magdec.bgl left out), or the one file given. Empty when the
// path names nothing.
std::vector<std::filesystem::path> DatabaseSetFiles(const std::filesystem::path& folder_or_file);

// Compares the records of `old_files` with those of `new_files`.
SetComparison CompareDatabaseSets(const std::vector<std::filesystem::path>& old_files,
                                  const std::vector<std::filesystem::path>& new_files);

}  // namespace tarnvale
