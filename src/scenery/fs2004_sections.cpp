#include "scenery/fs2004_sections.h"

#include <cstdint>
#include <optional>

#include "scenery/fs2004_airports.h"
#include "scenery/fs2004_boundaries.h"
#include "scenery/fs2004_navaids.h"
#include "scenery/fs2004_waypoints.h"

namespace tarnvale {

namespace {

constexpr std::size_t kSectionEntrySize = 20;
constexpr std::size_t kSubsectionEntrySize = 16;
constexpr std::size_t kPointerEntrySize = 8;

constexpr std::uint32_t kBoundarySection = 32;

using RecordDecoder = void (*)(NavDatabase&, const ByteCursor&);

struct SectionKind {
  std::uint32_t type;
  RecordDecoder decode;
  SizeWord size_word;
};

// Sections whose records are read one after another. Boundary sections
// (32) go through their pointer list; name lists (39) and every other type
// are passed over.
constexpr SectionKind kSequentialSections[] = {
    {3, DecodeAirport, SizeWord::U32},   {19, DecodeVorIls, SizeWord::U32},
    {23, DecodeNdb, SizeWord::U32},      {24, DecodeMarker, SizeWord::U32},
    {34, DecodeWaypoint, SizeWord::U32}, {37, DecodeFuelTrigger, SizeWord::U16},
};

const SectionKind* SequentialSection(std::uint32_t type) {
  for (const SectionKind& kind : kSequentialSections) {
    if (kind.type == type) return &kind;
  }
  return nullptr;
}

// One file's walk. In a well-formed file no two records and no two table
// entries share bytes, so the walk never visits more record bytes, nor
// more subsection and pointer entry bytes, than the file holds. Tables that
// point into each other could make it visit the same bytes over and over;
// the walk stops once a file has used up either allowance.
//
// Every table entry or record that lies outside the file, and the stop,
// count once as malformed in the database's reading notes.
class Fs2004Walk {
 public:
  Fs2004Walk(NavDatabase& db, BglBytes& bytes)
      : db_(db),
        bytes_(bytes),
        file_(bytes.File()),
        record_bytes_left_(file_.Size()),
        table_bytes_left_(file_.Size()) {}

  void Run() {
    bytes_.Require(0, kFs2004HeaderSize);
    if (!file_.Contains(0, kFs2004HeaderSize) || file_.U16(2) != kFs2004Magic) return;
    const std::size_t table = file_.U32(4);
    const std::size_t count = file_.U32(20);
    for (std::size_t i = 0; i < count && !stopped_; ++i) {
      const std::size_t entry = table + i * kSectionEntrySize;
      bytes_.Require(entry, kSectionEntrySize);
      if (!Inside(entry, kSectionEntrySize)) break;
      WalkSection(file_.Slice(entry, kSectionEntrySize));
    }
  }

 private:
  bool Take(std::size_t& allowance, std::size_t amount) {
    if (amount > allowance) {
      stopped_ = true;
      ++db_.notes.malformed;
      return false;
    }
    allowance -= amount;
    return true;
  }

  // The subsection table entry `index`, or nothing when it lies outside
  // the file or the allowance is used up.
  std::optional<ByteCursor> SubsectionEntry(std::size_t table, std::size_t index) {
    const std::size_t entry = table + index * kSubsectionEntrySize;
    if (!Take(table_bytes_left_, kSubsectionEntrySize)) return std::nullopt;
    bytes_.Require(entry, kSubsectionEntrySize);
    if (!Inside(entry, kSubsectionEntrySize)) return std::nullopt;
    return file_.Slice(entry, kSubsectionEntrySize);
  }

  void WalkSection(const ByteCursor& section) {
    const std::uint32_t type = section.U32(0);
    const SectionKind* kind = SequentialSection(type);
    if (!kind && type != kBoundarySection) return;
    const std::size_t count = section.U32(8);
    const std::size_t table = section.U32(12);
    for (std::size_t j = 0; j < count && !stopped_; ++j) {
      const std::optional<ByteCursor> subsection = SubsectionEntry(table, j);
      if (!subsection) break;
      const std::size_t records = subsection->U32(4);
      const std::size_t first = subsection->U32(8);
      if (records == 0) continue;
      if (kind) {
        WalkRecords(*kind, first, records);
      } else {
        WalkBoundaries(table + count * kSubsectionEntrySize + first * kPointerEntrySize, records);
      }
    }
  }

  // The record at `position`, brought in whole, when it is well-formed and
  // the record allowance covers it.
  std::optional<ByteCursor> LoadRecord(std::size_t position, SizeWord size_word) {
    bytes_.Require(position, kRecordHeaderSize);
    if (!Inside(position, kRecordHeaderSize)) return std::nullopt;
    bytes_.Require(position, RecordSize(file_, position, size_word));
    std::optional<ByteCursor> record = RecordAt(file_, position, size_word);
    if (!record) {
      ++db_.notes.malformed;
      return std::nullopt;
    }
    if (!Take(record_bytes_left_, record->Size())) return std::nullopt;
    return record;
  }

  void WalkRecords(const SectionKind& kind, std::size_t position, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
      const std::optional<ByteCursor> record = LoadRecord(position, kind.size_word);
      if (!record) break;  // the rest of the subsection cannot be found
      kind.decode(db_, *record);
      position += record->Size();
    }
  }

  // Each pointer entry holds the file offset of one boundary record.
  void WalkBoundaries(std::size_t pointers, std::size_t count) {
    for (std::size_t k = 0; k < count && !stopped_; ++k) {
      const std::size_t entry = pointers + k * kPointerEntrySize;
      if (!Take(table_bytes_left_, kPointerEntrySize)) break;
      bytes_.Require(entry, 4);
      if (!Inside(entry, 4)) break;
      const std::optional<ByteCursor> record = LoadRecord(file_.U32(entry), SizeWord::U32);
      if (record) DecodeBoundary(db_, *record);
    }
  }

  // True when [offset, offset + count) lies inside the file; counts a
  // malformed entry otherwise.
  bool Inside(std::size_t offset, std::size_t count) {
    if (file_.Contains(offset, count)) return true;
    ++db_.notes.malformed;
    return false;
  }

  NavDatabase& db_;
  BglBytes& bytes_;
  const ByteCursor& file_;
  std::size_t record_bytes_left_;
  std::size_t table_bytes_left_;
  bool stopped_ = false;
};

}  // namespace

void ReadFs2004File(NavDatabase& db, BglBytes& bytes) { Fs2004Walk(db, bytes).Run(); }

}  // namespace tarnvale
