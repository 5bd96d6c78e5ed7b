// Walks an FS2004 file through its section and subsection tables to its records, within an
// allowance of bytes that a file of looping tables cannot exceed.

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

// Records larger than this are brought in as their decoder reads them
// rather than whole: no real record comes near it, and a record that claims
// to span a huge file then costs only the bytes its decoder reads.
constexpr std::size_t kLargestWholeRecord = std::size_t{1024} * 1024;

// One file's walk. Every count, offset and size it reads is checked against
// the file before the bytes it names are brought in, so a file that claims
// more than it holds costs nothing for it. In a well-formed file no two
// records and no two table entries share bytes, so the walk never visits
// more record bytes, nor more table bytes, than the file holds. Tables that
// point into each other could make it visit the same bytes over and over;
// the walk stops once a file has used up either allowance.
//
// Every table or record that does not lie inside the file, and the stop,
// count once as malformed in the database's reading notes.
class Fs2004Walk {
 public:
  Fs2004Walk(NavDatabase& db, BglBytes& bytes)
      : db_(db), bytes_(bytes), record_bytes_left_(bytes.Size()), table_bytes_left_(bytes.Size()) {}

  void Run() {
    const ByteCursor header = bytes_.Bring(0, kFs2004HeaderSize);
    if (header.Overrun() || header.U16(2) != kFs2004Magic) return;
    const std::optional<ByteCursor> sections =
        Table(header.U32(4), header.U32(20), kSectionEntrySize);
    if (!sections) return;
    for (std::size_t entry = 0; entry < sections->Size() && !stopped_; entry += kSectionEntrySize) {
      WalkSection(sections->Slice(entry, kSectionEntrySize));
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

  // The table of `count` entries of `entry_size` bytes at `offset`, brought
  // in whole; nothing when it has no entries, does not lie inside the file,
  // or the table allowance does not cover it.
  std::optional<ByteCursor> Table(std::size_t offset, std::size_t count, std::size_t entry_size) {
    if (count == 0) return std::nullopt;
    if (count > bytes_.Size() / entry_size) {  // more entries than the file has room for
      ++db_.notes.malformed;
      return std::nullopt;
    }
    const std::size_t size = count * entry_size;
    if (!Inside(offset, size) || !Take(table_bytes_left_, size)) return std::nullopt;
    return bytes_.Bring(offset, size);
  }

  void WalkSection(const ByteCursor& section) {
    const std::uint32_t type = section.U32(0);
    const SectionKind* kind = SequentialSection(type);
    if (!kind && type != kBoundarySection) return;
    const std::size_t count = section.U32(8);
    const std::size_t table = section.U32(12);
    const std::optional<ByteCursor> subsections = Table(table, count, kSubsectionEntrySize);
    if (!subsections) return;
    for (std::size_t j = 0; j < count && !stopped_; ++j) {
      const ByteCursor subsection =
          subsections->Slice(j * kSubsectionEntrySize, kSubsectionEntrySize);
      const std::size_t records = subsection.U32(4);
      const std::size_t first = subsection.U32(8);
      if (records == 0) continue;
      if (kind) {
        WalkRecords(*kind, first, records);
      } else {
        WalkBoundaries(table + count * kSubsectionEntrySize + first * kPointerEntrySize, records);
      }
    }
  }

  // The record at `position` when it is well-formed and the record
  // allowance covers it: brought in whole, or read on demand when larger
  // than any real record.
  std::optional<ByteCursor> LoadRecord(std::size_t position, SizeWord size_word) {
    const ByteCursor header = bytes_.Bring(position, kRecordHeaderSize);
    const std::size_t size = RecordSize(header, 0, size_word);  // 0 outside the file
    if (size < kRecordHeaderSize) {
      ++db_.notes.malformed;
      return std::nullopt;
    }
    if (!Inside(position, size) || !Take(record_bytes_left_, size)) return std::nullopt;
    if (size > kLargestWholeRecord) return bytes_.OnDemand().Slice(position, size);
    return bytes_.Bring(position, size);
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
    const std::optional<ByteCursor> list = Table(pointers, count, kPointerEntrySize);
    if (!list) return;
    for (std::size_t k = 0; k < count && !stopped_; ++k) {
      const std::optional<ByteCursor> record =
          LoadRecord(list->U32(k * kPointerEntrySize), SizeWord::U32);
      if (record) DecodeBoundary(db_, *record);
    }
  }

  // True when [offset, offset + count) lies inside the file; counts a
  // malformed entry otherwise.
  bool Inside(std::size_t offset, std::size_t count) {
    if (offset <= bytes_.Size() && count <= bytes_.Size() - offset) return true;
    ++db_.notes.malformed;
    return false;
  }

  NavDatabase& db_;
  BglBytes& bytes_;
  std::size_t record_bytes_left_;
  std::size_t table_bytes_left_;
  bool stopped_ = false;
};

}  // namespace

void ReadFs2004File(NavDatabase& db, BglBytes& bytes) { Fs2004Walk(db, bytes).Run(); }

}  // namespace tarnvale
