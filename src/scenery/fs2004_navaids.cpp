// Reads FS2004 VOR, ILS, NDB and marker beacon records.

#include "scenery/fs2004_navaids.h"

#include <cstdint>

#include "scenery/decoding.h"
#include "scenery/geometry.h"

namespace tarnvale {

namespace {

constexpr std::size_t kBeaconFirstSubRecord = 40;
constexpr std::uint16_t kNameId = 0x19;
constexpr std::uint8_t kIlsType = 4;
constexpr std::uint8_t kLastMarkerType = 3;

// The fields VOR and NDB records share, at their own offsets.
struct BeaconLayout {
  std::size_t longitude;
  std::size_t latitude;
  std::size_t frequency;
};
constexpr BeaconLayout kVorLayout{8, 12, 20};
constexpr BeaconLayout kNdbLayout{12, 16, 8};

// The fixed fields of a VOR, ILS or NDB record; `record` is overrun when it
// is too short for them (the ident word is the last).
struct BeaconFields {
  GeoPoint position;
  std::int32_t frequency;
  std::uint8_t range_nm;
  FixedText<6> ident;
};

BeaconFields ReadBeaconFields(const ByteCursor& record, const BeaconLayout& layout) {
  return {ReadPosition(record, layout.longitude, layout.latitude), record.I32(layout.frequency),
          // Whole nautical miles, kept modulo 256: 300 NM is stored as 44.
          static_cast<std::uint8_t>(TruncateLow32(DecodeFloat(record.U32(24)) / kMetresPerNm)),
          DecodeIdent(record.U32(32) >> 5)};
}

void AddBeacon(NavDatabase& db, NavaidRecord& beacon, const ByteCursor& record,
               const BeaconFields& fields) {
  beacon.Latitude = fields.position.Latitude;
  beacon.Longitude = fields.position.Longitude;
  beacon.Frequency = fields.frequency;
  beacon.RangeNm = fields.range_nm;
  beacon.Ident = fields.ident;
  ForEachSubRecord(record, kBeaconFirstSubRecord, [&](std::uint16_t id, const ByteCursor& sub) {
    if (id == kNameId) ReadNameSubRecord(db, sub, beacon.NameLength, beacon.Name);
  });
  beacon.FileSize = NavaidFileSize(beacon);
}

void AddIls(NavDatabase& db, const BeaconFields& fields) {
  IlsRecord& ils = db.AppendIls();
  ils.Latitude = fields.position.Latitude;
  ils.Longitude = fields.position.Longitude;
  ils.Ident = fields.ident;
  ils.Frequency = fields.frequency;
}

}  // namespace

void DecodeVorIls(NavDatabase& db, const ByteCursor& record) {
  const BeaconFields fields = ReadBeaconFields(record, kVorLayout);
  if (db.PassOverIfCutShort(record)) return;
  const std::uint8_t type = record.U8(6);
  if (type >= 1 && type <= 3) AddBeacon(db, db.AppendVor(), record, fields);
  if (type == kIlsType) AddIls(db, fields);
}

void DecodeNdb(NavDatabase& db, const ByteCursor& record) {
  const BeaconFields fields = ReadBeaconFields(record, kNdbLayout);
  if (!db.PassOverIfCutShort(record)) AddBeacon(db, db.AppendNdb(), record, fields);
}

// A record too short for its position adds nothing.
void DecodeMarker(NavDatabase& db, const ByteCursor& record) {
  const GeoPoint position = ReadPosition(record, 8, 12);
  if (db.PassOverIfCutShort(record) || record.U8(7) > kLastMarkerType) return;
  MarkerRecord& marker = db.AppendMarker();
  marker.MarkerType = record.U8(7);
  marker.Latitude = position.Latitude;
  marker.Longitude = position.Longitude;
}

}  // namespace tarnvale
