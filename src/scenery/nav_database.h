// The in-memory navigation database that one creation run fills.
//
// Decoders append records and always work on the last element of an array;
// the current airport is the last element of `Airports`. Every allocation an
// append makes can fail: it then throws std::bad_alloc, which the loader turns
// into its out-of-memory result. Tests drive those failures through the
// fault site DatabaseAllocation (platform/fault_injection.h), where each
// append, sub-array, text and index entry counts as one allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenery/byte_cursor.h"
#include "scenery/keyed_positions.h"
#include "scenery/record_origins.h"
#include "scenery/records.h"

namespace tarnvale {

class NavDatabase {
 public:
  NavDatabase() = default;
  virtual ~NavDatabase() = default;
  NavDatabase(const NavDatabase&) = delete;
  NavDatabase& operator=(const NavDatabase&) = delete;

  // The ten record arrays; each array's size is its count.
  RecordArray<FixRecord> Fixes;
  RecordArray<AirspaceRecord> Airspaces;
  RecordArray<FuelAreaRecord> FuelAreas;
  RecordArray<AirwayRecord> JetAirways;
  RecordArray<AirwayRecord> VictorAirways;
  RecordArray<AirportRecord> Airports;
  RecordArray<MarkerRecord> Markers;
  RecordArray<NavaidRecord> Vors;
  RecordArray<NavaidRecord> Ndbs;
  RecordArray<IlsRecord> Ilss;

  // Append a new, default (zero) record with its kind byte set. The
  // reference stays valid until the next append to the same array.
  AirportRecord& AppendAirport();
  FuelAreaRecord& AppendFuelArea();
  AirspaceRecord& AppendAirspace();
  NavaidRecord& AppendVor();
  NavaidRecord& AppendNdb();
  MarkerRecord& AppendMarker();
  IlsRecord& AppendIls();
  FixRecord& AppendFix();
  AirwayRecord& AppendJetAirway();
  AirwayRecord& AppendVictorAirway();

  // The current airport (last of `Airports`), or nullptr when there is none.
  AirportRecord* CurrentAirport();

  // Append a runway to the current airport; nullptr without an airport.
  RunwayRecord* AppendRunway();

  // Give the current airport a whole zero-filled sub-array of `count`
  // elements. False without an airport.
  [[nodiscard]] bool AllocateTaxiwayPoints(std::size_t count);
  [[nodiscard]] bool AllocateTaxiwayPaths(std::size_t count);
  [[nodiscard]] bool AllocateParkings(std::size_t count);
  [[nodiscard]] bool AllocateTaxiNames(std::size_t count);

  // Append a point to the last airway of `airways` (JetAirways or
  // VictorAirways), adding 21 to its FileSize. nullptr when the array is
  // empty.
  AirwayPointRecord* AppendAirwayPoint(RecordArray<AirwayRecord>& airways);

  // Append a vertex to the last airspace; nullptr when there is none.
  AirspaceVertexRecord* AppendVertex();

  // Make `text` a zero-filled block of exactly `length` bytes.
  void AllocateText(std::string& text, std::size_t length);

  // Index the last of `Fixes` under its FixKey: a later fix with the same
  // key wins. False without a fix; an index full at 2^32 - 1 positions counts
  // as memory run out.
  [[nodiscard]] bool IndexLastFix();
  // Leaves fixes unindexed from now on: a database that one file is read
  // into for AppendRecordsOf needs no index of its own.
  void LeaveFixesUnindexed() { index_fixes_ = false; }
  // The fix indexed under `key` (exact, case-sensitive), or nullptr.
  const FixRecord* FindFix(std::string_view key) const;
  const FixRecord* FindFix(const FixedText<9>& key) const;
  std::size_t FixIndexSize() const { return fix_index_.Size(); }
  // Gives `point` the position of the fix indexed under its key; false
  // when there is none, and the point is left as it was.
  bool PlaceAtFix(AirwayPointRecord& point) const;
  // Whether binding must look `point`'s fix up. Appending a file's records
  // (AppendRecordsOf) gives its airway points the position of the fix
  // indexed under their key so far, while index and points are still in
  // the cache; that position stands unless a later fix took over a key.
  bool PointNeedsFix(const AirwayPointRecord& point) const {
    return FixKeyTakenOver() || (point.Latitude == 0 && point.Longitude == 0);
  }
  // False when no point needs its fix looked up: every point appended with
  // a file's records found its fix, and no key was taken over.
  bool AnyPointNeedsFix() const { return FixKeyTakenOver() || points_without_fix_ != 0; }
  // Idents of the airports taken from FS2004 files, so that a later airport
  // with an ident already read is recognised without a scan of `Airports`.
  bool HasAirportIdent(const FixedText<6>& ident) const {
    return AirportWithIdent(ident).has_value();
  }
  // The position in `Airports` of the FS2004 airport remembered under `ident`.
  std::optional<std::uint32_t> AirportWithIdent(const FixedText<6>& ident) const;
  // Remembers the ident of the current airport; false without an airport.
  [[nodiscard]] bool RememberAirportIdent();

  // What reading noticed without writing it anywhere, for the run's report.
  struct ReadingNotes {
    // Records, sub-records and table entries passed over because they were
    // cut short or pointed outside their file.
    std::size_t malformed = 0;
    // Airport records of a later simulator generation, passed over.
    std::size_t later_airports = 0;
    // FS2004 airports dropped because an earlier airport had the same ident.
    struct DuplicateAirport {
      FixedText<6> ident{};
      std::uint32_t kept = 0;  // position in `Airports` of the airport that stays
    };
    std::vector<DuplicateAirport> duplicate_airports;
    // FS2002 airway points read while no airway had been started: they
    // belong to the last airway of an earlier file, if there is one.
    std::size_t points_without_airway = 0;
    // Fixes whose key a later fix took over in the index: both stay in
    // `Fixes`, airways find the later one.
    struct TakenOverFix {
      std::uint32_t loser = 0;  // positions in `Fixes`
      std::uint32_t winner = 0;
    };
    std::vector<TakenOverFix> taken_over_fixes{};
  };
  ReadingNotes notes;

  // True, after counting it as malformed, when a read went past the end of
  // `bytes`: the decoder then passes the record over.
  bool PassOverIfCutShort(const ByteCursor& bytes) {
    if (!bytes.Overrun()) return false;
    ++notes.malformed;
    return true;
  }

  // Appends every record of `file`, a database that one scenery file was
  // read into on its own, in its order, and adds its notes: as if the file
  // had been read into this database. Its fixes are indexed; with
  // `unique_airports` (FS2004) its airport idents are remembered and an
  // airport whose ident this database knows already is dropped and noted as
  // a duplicate. `file` keeps moved-from records: Clear it before reuse.
  void AppendRecordsOf(NavDatabase& file, bool unique_airports);

  // Marks that the records appended from now on come from the next scenery
  // file (numbered from 0), for FileOf and SuppliedBy. A run marks each file
  // before it is read or merged.
  void BeginFile();
  // The file that supplied entry `position` of `list`; none for records
  // appended before the first BeginFile.
  std::optional<std::size_t> FileOf(OriginList list, std::size_t position) const {
    return origins_.FileOf(list, position);
  }
  // How many entries of `list` file `file` supplied; with ListSize, what
  // each file gave that stayed and what reading dropped of it.
  std::size_t SuppliedBy(std::size_t file, OriginList list) const {
    return origins_.Supplied(file, list, ListSize(list));
  }
  std::size_t ListSize(OriginList list) const;
  std::size_t FilesBegun() const { return origins_.FileCount(); }

  // Empties every array, the indexes and the notes, keeping the arrays'
  // room, so that the next file read into this database grows nothing.
  void Clear();

  // Empty every array, the fix index, the airport idents and the notes. Safe
  // to call any number of times.
  void Release();

  // True when every array and the fix index are empty.
  bool Empty() const;

 private:
  const FixRecord* FindFix(const PackedKey& key) const;
  bool FixKeyTakenOver() const { return !notes.taken_over_fixes.empty(); }
  void IndexFix(std::size_t position);
  void RememberAirportIdent(std::size_t position);
  void AppendAirportsOf(NavDatabase& file, bool unique_airports);
  std::size_t TakeKnownFixPositions(RecordArray<AirwayRecord>& airways, std::size_t first);
  template <typename Record>
  Record& AppendTo(RecordArray<Record>& array, Record record);
  template <typename Record>
  bool AllocateSubArray(RecordArray<Record> AirportRecord::*member, std::size_t count);

  // Positions in `Fixes` and `Airports`.
  KeyedPositions fix_index_;
  KeyedPositions airport_idents_;
  RecordOrigins origins_;
  bool index_fixes_ = true;
  std::size_t points_without_fix_ = 0;  // airway points that no fix was found for yet
};

}  // namespace tarnvale
