// FS2002 VOR and NDB sections: run lists of records filed by frequency
// channel (VOR and ILS) or in one list (NDB).
#include <cstdint>

#include "scenery/decoding.h"
#include "scenery/fs2002_chunks.h"
#include "scenery/fs2002_readers.h"

namespace tarnvale::fs2002 {

namespace {

constexpr std::size_t kChannelEntrySize = 5;
constexpr std::uint8_t kChannelInUse = 1;
constexpr std::size_t kRunListEntrySize = 9;
constexpr std::uint8_t kRunListEntryMark = 21;

constexpr std::int8_t kVorRecord = 4;
constexpr std::int8_t kIlsRecord = 5;
constexpr std::int8_t kLongIlsRecord = 6;
constexpr std::int8_t kUnusedVorSectionRecord = 32;
constexpr std::int8_t kNdbRecord = 4;
constexpr std::size_t kNdbRecordSize = 42;

constexpr std::size_t kIdentCharacters = 5;
constexpr std::size_t kNameCharacters = 24;

// Record sizes of the VOR section by type; 0 for a type that ends a run.
std::size_t VorSectionRecordSize(std::int8_t type) {
  switch (type) {
    case kVorRecord:
      return 44;
    case kIlsRecord:
      return 54;
    case kLongIlsRecord:
      return 56;
    case kUnusedVorSectionRecord:
      return 17;
    default:
      return 0;
  }
}

// Calls `read_run(start)` for each entry of the run list at `list_start`; run
// offsets count from `base`. The list ends at an entry not marked 21 or at
// the end of the file.
template <typename ReadRun>
void WalkRunList(const ByteCursor& file, std::size_t list_start, std::size_t base,
                 ReadRun&& read_run) {
  for (std::size_t entry = list_start;
       file.Contains(entry, kRunListEntrySize) && file.U8(entry) == kRunListEntryMark;
       entry += kRunListEntrySize) {
    read_run(base + file.U32(entry + 5));
  }
}

// Position packed as a signed 24-bit latitude (5000875 = 90 degrees) followed
// by a signed 24-bit longitude (2^24 = 360 degrees); each is read as the i32
// that ends with it, shifted right with its sign.
GeoPoint PackedPosition(const ByteCursor& record, std::size_t latitude_offset) {
  const std::int32_t latitude = record.I32(latitude_offset - 1) >> 8;
  const std::int32_t longitude = record.I32(latitude_offset + 2) >> 8;
  return {LatitudeToUnits(latitude * 90.0 / 5000875.0),
          LongitudeToUnits(longitude / 16777216.0 * 360.0)};
}

struct NavaidTexts {
  FixedText<6> ident{};
  FixedText<25> name{};
};

NavaidTexts ReadTexts(const ByteCursor& record, std::size_t ident_offset) {
  NavaidTexts texts;
  CopyTrimmedText(texts.ident, record, ident_offset, kIdentCharacters);
  CopyTrimmedText(texts.name, record, ident_offset + kIdentCharacters, kNameCharacters);
  return texts;
}

// Position, ident and name of a VOR or NDB.
void FillNavaid(NavDatabase& db, NavaidRecord& navaid, const ByteCursor& record,
                std::size_t latitude_offset, std::size_t ident_offset) {
  const GeoPoint position = PackedPosition(record, latitude_offset);
  navaid.Latitude = position.Latitude;
  navaid.Longitude = position.Longitude;
  const NavaidTexts texts = ReadTexts(record, ident_offset);
  navaid.Ident = texts.ident;
  const std::string_view name = TextOf(texts.name);
  if (!name.empty()) {
    db.AllocateText(navaid.Name, name.size() + 1);
    navaid.Name.replace(0, name.size(), name);
    navaid.NameLength = static_cast<std::uint16_t>(name.size() + 1);
  }
  navaid.FileSize = NavaidFileSize(navaid);
}

std::uint8_t VorRange(std::uint8_t code) {
  switch (code) {
    case 16:
      return 27;
    case 22:
      return 37;
    case 36:
      return 60;
    case 85:
      return 195;
    default:
      return code;
  }
}

// NDB range classes 1 to 4; any other class gives no range.
std::uint8_t NdbRange(std::uint8_t range_class) {
  switch (range_class) {
    case 1:
      return 23;
    case 2:
      return 38;
    case 3:
      return 50;
    case 4:
      return 75;
    default:
      return 0;
  }
}

// Channel c is c x 0.05 MHz above 108 MHz; the low 32 bits are kept.
std::int32_t ChannelFrequencyHz(std::uint32_t channel) {
  const std::uint64_t hz = 108'000'000u + 50'000u * static_cast<std::uint64_t>(channel);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(hz));
}

void AddVor(NavDatabase& db, const ByteCursor& record, std::int32_t frequency) {
  NavaidRecord& vor = db.AppendVor();
  vor.Frequency = frequency;
  vor.RangeNm = VorRange(record.U8(1));
  FillNavaid(db, vor, record, 5, 15);
}

void AddIls(NavDatabase& db, const ByteCursor& record, std::int32_t frequency) {
  IlsRecord& ils = db.AppendIls();
  const GeoPoint position = PackedPosition(record, 5);
  ils.Latitude = position.Latitude;
  ils.Longitude = position.Longitude;
  ils.Ident = ReadTexts(record, 15).ident;
  ils.Frequency = frequency;
}

void ReadVorRun(NavDatabase& db, const ByteCursor& file, std::size_t position,
                std::int32_t frequency) {
  while (file.Contains(position, 1)) {
    const std::int8_t type = file.I8(position);
    const std::size_t size = VorSectionRecordSize(type);
    if (size == 0 || !file.Contains(position, size)) break;
    const ByteCursor record = file.Slice(position, size);
    if (type == kVorRecord) AddVor(db, record, frequency);
    if (type == kIlsRecord || type == kLongIlsRecord) AddIls(db, record, frequency);
    position += size;
  }
}

// Exact frequency in Hz: tens and units as packed digits at +1, hundreds at
// +2 and tenths of kHz at +3.
std::int32_t NdbFrequencyHz(const ByteCursor& record) {
  const std::uint8_t tens_units = record.U8(1);
  return (tens_units >> 4) * 10'000 + (tens_units & 0xF) * 1'000 + record.U8(2) * 100'000 +
         record.U8(3) * 100;
}

void AddNdb(NavDatabase& db, const ByteCursor& record) {
  NavaidRecord& ndb = db.AppendNdb();
  ndb.Frequency = NdbFrequencyHz(record);
  ndb.RangeNm = NdbRange(record.U8(12));
  FillNavaid(db, ndb, record, 4, 13);
}

void ReadNdbRun(NavDatabase& db, const ByteCursor& file, std::size_t position) {
  for (; file.Contains(position, kNdbRecordSize) && file.I8(position) == kNdbRecord;
       position += kNdbRecordSize) {
    AddNdb(db, file.Slice(position, kNdbRecordSize));
  }
}

}  // namespace

void ReadVorSection(NavDatabase& db, const ByteCursor& file) {
  const std::size_t section = file.U32(kVorSectionField);
  const std::uint32_t lowest = file.U16(kLowestChannelField);
  const std::uint32_t highest = file.U16(kHighestChannelField);
  for (std::uint32_t channel = lowest; channel <= highest; ++channel) {
    const std::size_t entry = section + kChannelEntrySize * (channel - lowest);
    if (!file.Contains(entry, kChannelEntrySize)) break;
    const std::uint32_t run_list = file.U32(entry + 1);
    if (file.U8(entry) != kChannelInUse || run_list == 0) continue;
    const std::int32_t frequency = ChannelFrequencyHz(channel);
    WalkRunList(file, section + run_list, section,
                [&](std::size_t run) { ReadVorRun(db, file, run, frequency); });
  }
}

void ReadNdbSection(NavDatabase& db, const ByteCursor& file) {
  const std::size_t section = file.U32(kNdbSectionField);
  WalkRunList(file, section, section, [&](std::size_t run) { ReadNdbRun(db, file, run); });
}

}  // namespace tarnvale::fs2002
