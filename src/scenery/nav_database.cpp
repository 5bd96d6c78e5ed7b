// The navigation database's appends, sub-arrays and texts, its indexes of fixes and airport idents,
// and the merging of one file's records into the run's.

#include "scenery/nav_database.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <utility>

#include "platform/fault_injection.h"

namespace tarnvale {

namespace {

// Every allocation of an append is counted, so that a test can fail any one.
void TakeAllocation() { platform::CountAllocation(platform::FaultSite::DatabaseAllocation); }

}  // namespace

std::uint32_t AirportFileSize(const AirportRecord& airport) {
  return static_cast<std::uint32_t>(55u + airport.NameLength +
                                    kRunwayRecordSize * airport.Runways.size() +
                                    kTaxiwayPointRecordSize * airport.TaxiwayPoints.size() +
                                    kTaxiwayPathRecordSize * airport.TaxiwayPaths.size() +
                                    kParkingRecordSize * airport.Parkings.size() +
                                    kTaxiNameRecordSize * airport.TaxiNames.size());
}

template <typename Record>
Record& NavDatabase::AppendTo(RecordArray<Record>& array, Record record) {
  TakeAllocation();
  array.push_back(std::move(record));
  return array.back();
}

namespace {

// Fills `block` with `count` zero elements; a count beyond what the block can
// ever hold is memory run out too.
template <typename Block>
void AssignZeros(Block& block, std::size_t count) {
  if (count > block.max_size()) throw std::bad_alloc();
  block.assign(count, typename Block::value_type{});
}

}  // namespace

namespace {

NavaidRecord NewNavaid(RecordKind kind) {
  NavaidRecord navaid;
  navaid.Kind = static_cast<std::uint8_t>(kind);
  navaid.FileSize = 26;
  return navaid;
}

AirwayRecord NewAirway(RecordKind kind) {
  AirwayRecord airway;
  airway.Kind = static_cast<std::uint8_t>(kind);
  return airway;
}

}  // namespace

AirportRecord& NavDatabase::AppendAirport() { return AppendTo(Airports, AirportRecord{}); }
FuelAreaRecord& NavDatabase::AppendFuelArea() { return AppendTo(FuelAreas, FuelAreaRecord{}); }
AirspaceRecord& NavDatabase::AppendAirspace() { return AppendTo(Airspaces, AirspaceRecord{}); }
NavaidRecord& NavDatabase::AppendVor() { return AppendTo(Vors, NewNavaid(RecordKind::Vor)); }
NavaidRecord& NavDatabase::AppendNdb() { return AppendTo(Ndbs, NewNavaid(RecordKind::Ndb)); }
MarkerRecord& NavDatabase::AppendMarker() { return AppendTo(Markers, MarkerRecord{}); }
IlsRecord& NavDatabase::AppendIls() { return AppendTo(Ilss, IlsRecord{}); }
FixRecord& NavDatabase::AppendFix() { return AppendTo(Fixes, FixRecord{}); }
AirwayRecord& NavDatabase::AppendJetAirway() {
  return AppendTo(JetAirways, NewAirway(RecordKind::JetAirway));
}
AirwayRecord& NavDatabase::AppendVictorAirway() {
  return AppendTo(VictorAirways, NewAirway(RecordKind::VictorAirway));
}

AirportRecord* NavDatabase::CurrentAirport() {
  return Airports.empty() ? nullptr : &Airports.back();
}

RunwayRecord* NavDatabase::AppendRunway() {
  AirportRecord* airport = CurrentAirport();
  return airport ? &AppendTo(airport->Runways, RunwayRecord{}) : nullptr;
}

template <typename Record>
bool NavDatabase::AllocateSubArray(RecordArray<Record> AirportRecord::*member, std::size_t count) {
  AirportRecord* airport = CurrentAirport();
  if (!airport) return false;
  TakeAllocation();
  AssignZeros(airport->*member, count);
  return true;
}

bool NavDatabase::AllocateTaxiwayPoints(std::size_t count) {
  return AllocateSubArray(&AirportRecord::TaxiwayPoints, count);
}
bool NavDatabase::AllocateTaxiwayPaths(std::size_t count) {
  return AllocateSubArray(&AirportRecord::TaxiwayPaths, count);
}
bool NavDatabase::AllocateParkings(std::size_t count) {
  return AllocateSubArray(&AirportRecord::Parkings, count);
}
bool NavDatabase::AllocateTaxiNames(std::size_t count) {
  return AllocateSubArray(&AirportRecord::TaxiNames, count);
}

AirwayPointRecord* NavDatabase::AppendAirwayPoint(RecordArray<AirwayRecord>& airways) {
  if (airways.empty()) return nullptr;
  RecordArray<AirwayPointRecord>& points = airways.back().Points;
  // Most airways are one FS2004 segment of up to three points: room for them
  // at once saves two regrowths each.
  constexpr std::size_t kSegmentPoints = 3;
  if (points.empty()) points.reserve(kSegmentPoints);
  AirwayPointRecord& point = AppendTo(points, AirwayPointRecord{});
  airways.back().FileSize += kAirwayPointRecordSize;
  ++points_without_fix_;
  return &point;
}

AirspaceVertexRecord* NavDatabase::AppendVertex() {
  return Airspaces.empty() ? nullptr : &AppendTo(Airspaces.back().Vertices, AirspaceVertexRecord{});
}

void NavDatabase::AllocateText(std::string& text, std::size_t length) {
  TakeAllocation();
  AssignZeros(text, length);
}

namespace {

// Positions are 32-bit, with one value kept free.
constexpr std::size_t kMostPositions = 0xFFFFFFFE;

// An index of `records` records has no room for more positions: memory ran
// out as far as the index goes.
void CheckPositionRoom(std::size_t records) {
  if (records > kMostPositions) throw std::bad_alloc();
}

template <typename Record, std::size_t N>
auto KeyAt(const RecordArray<Record>& records, FixedText<N> Record::*field) {
  return
      [&records, field](std::uint32_t position) { return PackedKey::Of(records[position].*field); };
}

// Brings in the index entry of the key of the record a few places after
// `i`, so that its insert or lookup, when the loop gets there, does not wait
// on memory.
template <typename Record, std::size_t N>
void PrefetchKeyAhead(const KeyedPositions& index, const RecordArray<Record>& records,
                      std::size_t i, FixedText<N> Record::*field) {
  constexpr std::size_t kRecordsAhead = 8;
  if (i + kRecordsAhead < records.size()) {
    index.Prefetch(PackedKey::Of(records[i + kRecordsAhead].*field));
  }
}

}  // namespace

bool NavDatabase::IndexLastFix() {
  if (Fixes.empty()) return false;
  if (index_fixes_) IndexFix(Fixes.size() - 1);
  return true;
}

void NavDatabase::IndexFix(std::size_t position) {
  CheckPositionRoom(position + 1);
  TakeAllocation();
  const auto winner = static_cast<std::uint32_t>(position);
  if (const std::optional<std::uint32_t> loser = fix_index_.Assign(
          PackedKey::Of(Fixes[position].FixKey), winner, KeyAt(Fixes, &FixRecord::FixKey))) {
    notes.taken_over_fixes.push_back({*loser, winner});
  }
}

const FixRecord* NavDatabase::FindFix(std::string_view key) const {
  const std::optional<PackedKey> packed = PackedKey::Of(key);
  return packed ? FindFix(*packed) : nullptr;
}

const FixRecord* NavDatabase::FindFix(const FixedText<9>& key) const {
  return FindFix(PackedKey::Of(key));
}

const FixRecord* NavDatabase::FindFix(const PackedKey& key) const {
  const std::optional<std::uint32_t> position =
      fix_index_.Find(key, KeyAt(Fixes, &FixRecord::FixKey));
  return position ? &Fixes[*position] : nullptr;
}

std::optional<std::uint32_t> NavDatabase::AirportWithIdent(const FixedText<6>& ident) const {
  return airport_idents_.Find(PackedKey::Of(ident), KeyAt(Airports, &AirportRecord::Ident));
}

bool NavDatabase::RememberAirportIdent() {
  if (Airports.empty()) return false;
  RememberAirportIdent(Airports.size() - 1);
  return true;
}

void NavDatabase::RememberAirportIdent(std::size_t position) {
  CheckPositionRoom(position + 1);
  TakeAllocation();
  airport_idents_.Assign(PackedKey::Of(Airports[position].Ident),
                         static_cast<std::uint32_t>(position),
                         KeyAt(Airports, &AirportRecord::Ident));
}

namespace {

// Gives `records` room for `more` records behind its own. A run's arrays
// grow file by file to tens of megabytes, and every regrowth moves the
// records into fresh memory that the system must clear first: they grow
// fourfold, which moves and clears about half as much as doubling. Room
// that is never filled is never touched, so it costs no memory.
template <typename Record>
void MakeRoom(RecordArray<Record>& records, std::size_t more) {
  const std::size_t needed = records.size() + more;
  if (needed <= records.capacity()) return;
  constexpr std::size_t kGrowth = 4;
  const std::size_t grown = records.capacity() <= records.max_size() / kGrowth
                                ? kGrowth * records.capacity()
                                : records.max_size();
  records.reserve(std::max(needed, grown));
}

// Moves the records of `from` behind those of `to`.
template <typename Record>
void MoveRecords(RecordArray<Record>& to, RecordArray<Record>& from) {
  MakeRoom(to, from.size());
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

}  // namespace

void NavDatabase::AppendRecordsOf(NavDatabase& file, bool unique_airports) {
  const std::size_t first_fix = Fixes.size();
  MoveRecords(Fixes, file.Fixes);
  // Index entries are spread over the whole index.
  for (std::size_t position = first_fix; position < Fixes.size(); ++position) {
    PrefetchKeyAhead(fix_index_, Fixes, position, &FixRecord::FixKey);
    IndexFix(position);
  }
  AppendAirportsOf(file, unique_airports);
  MoveRecords(Airspaces, file.Airspaces);
  MoveRecords(FuelAreas, file.FuelAreas);
  const std::size_t first_jet = JetAirways.size();
  const std::size_t first_victor = VictorAirways.size();
  MoveRecords(JetAirways, file.JetAirways);
  MoveRecords(VictorAirways, file.VictorAirways);
  points_without_fix_ += TakeKnownFixPositions(JetAirways, first_jet) +
                         TakeKnownFixPositions(VictorAirways, first_victor);
  MoveRecords(Markers, file.Markers);
  MoveRecords(Vors, file.Vors);
  MoveRecords(Ndbs, file.Ndbs);
  MoveRecords(Ilss, file.Ilss);
  notes.malformed += file.notes.malformed;
  notes.later_airports += file.notes.later_airports;
  notes.points_without_airway += file.notes.points_without_airway;
}

// The file's own duplicates come first: they were dropped while it was read.
// They name airports of the file, which all follow those of this database
// in order, since a file with duplicates of its own whose airports this
// database knows is read again straight into it (MergeLoadedFile).
void NavDatabase::AppendAirportsOf(NavDatabase& file, bool unique_airports) {
  const auto first = static_cast<std::uint32_t>(Airports.size());
  for (ReadingNotes::DuplicateAirport duplicate : file.notes.duplicate_airports) {
    duplicate.kept += first;
    notes.duplicate_airports.push_back(duplicate);
  }
  RecordArray<AirportRecord>& airports = file.Airports;
  if (!unique_airports) return MoveRecords(Airports, airports);
  MakeRoom(Airports, airports.size());
  for (std::size_t i = 0; i < airports.size(); ++i) {
    PrefetchKeyAhead(airport_idents_, airports, i, &AirportRecord::Ident);
    AirportRecord& airport = airports[i];
    if (const std::optional<std::uint32_t> kept = AirportWithIdent(airport.Ident)) {
      notes.duplicate_airports.push_back({airport.Ident, *kept});
      continue;
    }
    Airports.push_back(std::move(airport));
    RememberAirportIdent(Airports.size() - 1);
  }
}

// Gives the points of airways from `first` on the position of the fix
// indexed under their key, where there is one yet; returns how many points
// found none.
std::size_t NavDatabase::TakeKnownFixPositions(RecordArray<AirwayRecord>& airways,
                                               std::size_t first) {
  std::size_t without_fix = 0;
  for (std::size_t a = first; a < airways.size(); ++a) {
    for (AirwayPointRecord& point : airways[a].Points) {
      if (!PlaceAtFix(point)) ++without_fix;
    }
  }
  return without_fix;
}

bool NavDatabase::PlaceAtFix(AirwayPointRecord& point) const {
  const FixRecord* fix = FindFix(point.FixKey);
  if (!fix) return false;
  point.Latitude = fix->Latitude;
  point.Longitude = fix->Longitude;
  return true;
}

void NavDatabase::BeginFile() {
  RecordOrigins::Sizes sizes{};
  for (std::size_t list = 0; list < kOriginLists; ++list) {
    sizes[list] = static_cast<std::uint32_t>(ListSize(static_cast<OriginList>(list)));
  }
  origins_.BeginFile(sizes);
}

std::size_t NavDatabase::ListSize(OriginList list) const {
  switch (list) {
    case OriginList::Airports:
      return Airports.size();
    case OriginList::FuelAreas:
      return FuelAreas.size();
    case OriginList::Airspaces:
      return Airspaces.size();
    case OriginList::Vors:
      return Vors.size();
    case OriginList::Ndbs:
      return Ndbs.size();
    case OriginList::Markers:
      return Markers.size();
    case OriginList::Ilss:
      return Ilss.size();
    case OriginList::Fixes:
      return Fixes.size();
    case OriginList::JetAirways:
      return JetAirways.size();
    case OriginList::VictorAirways:
      return VictorAirways.size();
    case OriginList::DuplicateAirports:
      return notes.duplicate_airports.size();
    case OriginList::LaterAirports:
      return notes.later_airports;
  }
  return 0;
}

void NavDatabase::Clear() {
  points_without_fix_ = 0;
  origins_.Clear();
  fix_index_.Clear();
  airport_idents_.Clear();
  Fixes.clear();
  Airspaces.clear();
  FuelAreas.clear();
  JetAirways.clear();
  VictorAirways.clear();
  Airports.clear();
  Markers.clear();
  Vors.clear();
  Ndbs.clear();
  Ilss.clear();
  notes = ReadingNotes();
}

void NavDatabase::Release() {
  const record_memory::WholeRelease whole;
  points_without_fix_ = 0;
  origins_.Release();
  fix_index_.Release();
  airport_idents_.Release();
  // Swap with empty vectors so the memory is given back, not just cleared.
  RecordArray<FixRecord>().swap(Fixes);
  RecordArray<AirspaceRecord>().swap(Airspaces);
  RecordArray<FuelAreaRecord>().swap(FuelAreas);
  RecordArray<AirwayRecord>().swap(JetAirways);
  RecordArray<AirwayRecord>().swap(VictorAirways);
  RecordArray<AirportRecord>().swap(Airports);
  RecordArray<MarkerRecord>().swap(Markers);
  RecordArray<NavaidRecord>().swap(Vors);
  RecordArray<NavaidRecord>().swap(Ndbs);
  RecordArray<IlsRecord>().swap(Ilss);
  notes = ReadingNotes();
}

bool NavDatabase::Empty() const {
  return fix_index_.Size() == 0 && airport_idents_.Size() == 0 && Fixes.empty() &&
         Airspaces.empty() && FuelAreas.empty() && JetAirways.empty() && VictorAirways.empty() &&
         Airports.empty() && Markers.empty() && Vors.empty() && Ndbs.empty() && Ilss.empty();
}

}  // namespace tarnvale
