// Reads FS2004 airport records: runways, helipads, COM frequencies, names, taxiway points, paths
// and names, parkings, and refuelling triggers.

#include "scenery/fs2004_airports.h"

#include <cstdint>
#include <string>

#include "scenery/decoding.h"

namespace tarnvale {

namespace {

// FS2004 airport records carry this id; a later simulator generation gives
// its airports, of another layout, ids of their own.
constexpr std::uint16_t kAirportId = 0x03;

// Sub-record ids of an airport record.
constexpr std::uint16_t kRunwayId = 0x04;
constexpr std::uint16_t kStartId = 0x11;
constexpr std::uint16_t kComId = 0x12;
constexpr std::uint16_t kNameId = 0x19;
constexpr std::uint16_t kTaxiwayPointsId = 0x1A;
constexpr std::uint16_t kParkingsId = 0x1B;
constexpr std::uint16_t kTaxiwayPathsId = 0x1C;
constexpr std::uint16_t kTaxiwayNamesId = 0x1D;

constexpr std::size_t kAirportFirstSubRecord = 52;
constexpr std::size_t kTableCountSize = 8;  // header and u16 entry count
constexpr std::size_t kTaxiwayPointSize = 12;
constexpr std::size_t kTaxiwayPathSize = 20;
constexpr std::size_t kTaxiwayNameSize = 8;
constexpr std::size_t kParkingFixedSize = 20;  // airline codes follow, 4 bytes each

constexpr std::uint8_t kHelipadStart = 3;
constexpr std::uint16_t kGroundCom = 5;
constexpr std::uint16_t kTowerCom = 6;

constexpr std::uint16_t kTriggerId = 7;
constexpr std::uint16_t kRefuellingTrigger = 0;
constexpr int kFuelGrades = 13;

std::string Designation(std::uint8_t number, std::uint8_t designator) {
  static constexpr const char* kLetters[] = {"", "L", "R", "C", "W"};
  return std::to_string(number) + (designator < 5 ? kLetters[designator] : "");
}

// A start too short for its fields (the heading is the last) adds nothing.
void DecodeHelipadStart(NavDatabase& db, const ByteCursor& start) {
  if ((start.U8(7) >> 4) != kHelipadStart) return;
  RunwayRecord helipad;
  const GeoPoint position = ReadPosition(start, 8, 12);
  helipad.Latitude = position.Latitude;
  helipad.Longitude = position.Longitude;
  helipad.AltitudeFeet = ReadAltitudeFeet(start, 16);
  helipad.Heading = TruncateLow16(DecodeFloat(start.U32(20)));
  if (db.PassOverIfCutShort(start)) return;
  helipad.IsHelipad = 1;
  SetText(helipad.PrimaryDesignation, std::to_string(start.U8(6)) + "H");
  *db.AppendRunway() = helipad;
}

void DecodeCom(AirportRecord& airport, const ByteCursor& com) {
  const std::uint16_t type = com.U16(6);
  const std::int32_t frequency = com.I32(8);
  if (com.Overrun()) return;
  if (type == kGroundCom) {
    airport.GroundFrequency = frequency;
  } else if (type == kTowerCom) {
    airport.TowerFrequency = frequency;
  } else {
    return;
  }
  airport.HasTowerOrGround = 1;
}

// The entry count of a taxiway table, cut to the entries of `entry_size`
// bytes that lie inside the sub-record.
std::size_t FittingEntries(const ByteCursor& sub, std::size_t entry_size) {
  const std::size_t count = sub.U16(6);
  const std::size_t room = sub.Size() > kTableCountSize ? sub.Size() - kTableCountSize : 0;
  return count < room / entry_size ? count : room / entry_size;
}

// A taxiway table of fixed-size entries: the current airport's sub-array
// (allocated by `allocate`) gets one element per entry, filled by `fill`.
template <typename Fill>
void DecodeTable(NavDatabase& db, const ByteCursor& sub, std::size_t entry_size,
                 bool (NavDatabase::*allocate)(std::size_t), Fill fill) {
  const std::size_t count = FittingEntries(sub, entry_size);
  if (count == 0) return;
  if (!(db.*allocate)(count)) return;
  for (std::size_t k = 0; k < count; ++k)
    fill(k, sub.Slice(kTableCountSize + k * entry_size, entry_size));
}

void DecodeTaxiwayPoints(NavDatabase& db, AirportRecord& airport, const ByteCursor& sub) {
  DecodeTable(db, sub, kTaxiwayPointSize, &NavDatabase::AllocateTaxiwayPoints,
              [&](std::size_t k, const ByteCursor& entry) {
                const GeoPoint position = ReadPosition(entry, 4, 8);
                airport.TaxiwayPoints[k] = {entry.U8(0), position.Latitude, position.Longitude};
              });
}

void DecodeTaxiwayPaths(NavDatabase& db, AirportRecord& airport, const ByteCursor& sub) {
  DecodeTable(db, sub, kTaxiwayPathSize, &NavDatabase::AllocateTaxiwayPaths,
              [&](std::size_t k, const ByteCursor& entry) {
                const std::uint32_t v = entry.U32(2);
                airport.TaxiwayPaths[k] = {static_cast<std::int32_t>((v >> 16) & 0xF), entry.U16(0),
                                           static_cast<std::int32_t>(v & 0xFFF),
                                           static_cast<std::int32_t>(v >> 24)};
              });
}

void DecodeTaxiwayNames(NavDatabase& db, AirportRecord& airport, const ByteCursor& sub) {
  DecodeTable(db, sub, kTaxiwayNameSize, &NavDatabase::AllocateTaxiNames,
              [&](std::size_t k, const ByteCursor& entry) {
                SetText(airport.TaxiNames[k].Name, TextUpToNul(entry, 0, kTaxiwayNameSize),
                        kTaxiwayNameSize);
              });
}

// Size of the parking entry at `offset` (20 bytes and 4 per airline code),
// or 0 when it does not lie inside the sub-record.
std::size_t ParkingEntrySize(const ByteCursor& sub, std::size_t offset) {
  const std::size_t size = kParkingFixedSize + std::size_t{4} * (sub.U32(offset) >> 24);
  return sub.Contains(offset, size) ? size : 0;
}

// How many parking entries, of the count the sub-record gives, lie inside it.
std::size_t FittingParkings(const ByteCursor& sub) {
  const std::size_t count = sub.U16(6);
  std::size_t offset = kTableCountSize;
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t size = ParkingEntrySize(sub, offset);
    if (size == 0) return k;
    offset += size;
  }
  return count;
}

void DecodeParkings(NavDatabase& db, AirportRecord& airport, const ByteCursor& sub) {
  const std::size_t count = FittingParkings(sub);
  if (count == 0) return;
  if (!db.AllocateParkings(count)) return;
  std::size_t offset = kTableCountSize;
  for (ParkingRecord& parking : airport.Parkings) {
    const std::size_t size = ParkingEntrySize(sub, offset);
    const ByteCursor entry = sub.Slice(offset, size);
    const std::uint32_t w = entry.U32(0);
    const GeoPoint position = ReadPosition(entry, 12, 16);
    parking.ParkingType = static_cast<std::uint8_t>((w >> 8) & 0xF);
    parking.Number = static_cast<std::int16_t>((w >> 12) & 0xFFF);
    parking.ParkingName = static_cast<std::uint8_t>(w & 0x3F);
    parking.Latitude = position.Latitude;
    parking.Longitude = position.Longitude;
    parking.RadiusFeet = MetresToFeet(DecodeFloat(entry.U32(4)));
    offset += size;
  }
}

void DecodeAirportSubRecord(NavDatabase& db, AirportRecord& airport, std::uint16_t id,
                            const ByteCursor& sub) {
  switch (id) {
    case kRunwayId:
      return DecodeRunway(db, sub);
    case kStartId:
      return DecodeHelipadStart(db, sub);
    case kComId:
      return DecodeCom(airport, sub);
    case kNameId:
      return ReadNameSubRecord(db, sub, airport.NameLength, airport.Name);
    case kTaxiwayPointsId:
      return DecodeTaxiwayPoints(db, airport, sub);
    case kParkingsId:
      return DecodeParkings(db, airport, sub);
    case kTaxiwayPathsId:
      return DecodeTaxiwayPaths(db, airport, sub);
    case kTaxiwayNamesId:
      return DecodeTaxiwayNames(db, airport, sub);
    default:
      return;
  }
}

}  // namespace

// A record too short for its fixed fields (the ident word is the last) adds
// nothing. An airport record of a later simulator generation is passed over
// (and counted): its layout is another, and an airport read from it would
// have no runways, name or frequencies, yet hide every later airport of its
// ident.
void DecodeAirport(NavDatabase& db, const ByteCursor& record) {
  const FixedText<6> ident = DecodeIdent(record.U32(40) >> 5);
  if (db.PassOverIfCutShort(record)) return;
  if (record.U16(0) != kAirportId) {
    ++db.notes.later_airports;
    return;
  }
  if (const std::optional<std::uint32_t> kept = db.AirportWithIdent(ident)) {
    db.notes.duplicate_airports.push_back({ident, *kept});
    return;
  }
  AirportRecord& airport = db.AppendAirport();
  airport.Ident = ident;
  static_cast<void>(db.RememberAirportIdent());  // the airport was just appended
  const GeoPoint position = ReadPosition(record, 12, 16);
  airport.Latitude = position.Latitude;
  airport.Longitude = position.Longitude;
  airport.AltitudeFeet = ReadAltitudeFeet(record, 20);
  ForEachSubRecord(record, kAirportFirstSubRecord, [&](std::uint16_t id, const ByteCursor& sub) {
    DecodeAirportSubRecord(db, airport, id, sub);
  });
  airport.FileSize = AirportFileSize(airport);
}

// A sub-record too short for its fields (the heading is the last) adds
// nothing.
void DecodeRunway(NavDatabase& db, const ByteCursor& runway) {
  const Degrees centre = ReadDegrees(runway, 20, 24);
  const double length_metres = DecodeFloat(runway.U32(32));
  const std::int16_t heading = TruncateLow16(DecodeFloat(runway.U32(40)));
  if (db.PassOverIfCutShort(runway)) return;
  const RunwayEnds ends =
      ComputeRunwayEnds(centre.latitude, centre.longitude, heading,
                        static_cast<std::uint32_t>(TruncateLow32(length_metres)));
  RunwayRecord* record = db.AppendRunway();
  const GeoPoint centre_units = ToUnits(centre);
  record->Latitude = centre_units.Latitude;
  record->Longitude = centre_units.Longitude;
  record->AltitudeFeet = ReadAltitudeFeet(runway, 28);
  record->PrimaryEndLatitude = ends.primary.Latitude;
  record->PrimaryEndLongitude = ends.primary.Longitude;
  record->SecondaryEndLatitude = ends.secondary.Latitude;
  record->SecondaryEndLongitude = ends.secondary.Longitude;
  record->Heading = heading;
  record->OppositeHeading = NormalizeHeading(static_cast<std::int16_t>(heading - 180));
  record->LengthFeet = MetresToFeet(length_metres);
  record->WidthFeet = MetresToFeet(DecodeFloat(runway.U32(36)));
  record->PrimaryIlsIdent = DecodeIdent(runway.U32(12));
  record->SecondaryIlsIdent = DecodeIdent(runway.U32(16));
  SetText(record->PrimaryDesignation, Designation(runway.U8(8), runway.U8(9)));
  SetText(record->SecondaryDesignation, Designation(runway.U8(10), runway.U8(11)));
}

// A trigger too short for its fields (the fuel availability word is the
// last) adds nothing.
void DecodeFuelTrigger(NavDatabase& db, const ByteCursor& record) {
  const std::uint32_t availability = record.U32(34);
  if (record.U16(0) != kTriggerId || db.PassOverIfCutShort(record) ||
      record.U16(28) != kRefuellingTrigger)
    return;
  FuelAreaRecord& fuel = db.AppendFuelArea();
  const GeoPoint position = ReadPosition(record, 4, 8);
  fuel.Latitude = position.Latitude;
  fuel.Longitude = position.Longitude;
  for (int grade = 0; grade < kFuelGrades; ++grade) {
    const std::uint32_t code = (availability >> (2 * grade)) & 3u;
    if (code != 0) {
      fuel.FuelType = static_cast<std::uint8_t>(grade);
      fuel.Availability = static_cast<std::uint8_t>(code);
    }
  }
}

}  // namespace tarnvale
