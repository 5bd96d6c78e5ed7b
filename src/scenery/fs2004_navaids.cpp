#include "scenery/fs2004_navaids.h"

#include <cstdint>

#include "scenery/decoding.h"

namespace tarnvale {

namespace {

constexpr std::size_t kBeaconFixedSize = 36;  // through the ident word
constexpr std::size_t kBeaconFirstSubRecord = 40;
constexpr std::size_t kMarkerFixedSize = 16;
constexpr std::uint16_t kNameId = 0x19;
constexpr std::uint8_t kIlsType = 4;
constexpr std::uint8_t kLastMarkerType = 3;
constexpr double kMetresPerNm = 1852.0;

// The fields VOR and NDB records share, at their own offsets.
struct BeaconLayout {
  std::size_t longitude;
  std::size_t latitude;
  std::size_t frequency;
};
constexpr BeaconLayout kVorLayout{8, 12, 20};
constexpr BeaconLayout kNdbLayout{12, 16, 8};

FixedText<6> BeaconIdent(const ByteCursor& record) { return DecodeIdent(record.U32(32) >> 5); }

DecodeResult FillBeacon(NavDatabase& db, NavaidRecord* beacon, const ByteCursor& record,
                        const BeaconLayout& layout) {
  if (!beacon) return DecodeResult::OutOfMemory;
  const GeoPoint position = ReadPosition(record, layout.longitude, layout.latitude);
  beacon->Latitude = position.Latitude;
  beacon->Longitude = position.Longitude;
  beacon->Frequency = record.I32(layout.frequency);
  // Whole nautical miles, kept modulo 256: 300 NM is stored as 44.
  beacon->RangeNm = static_cast<std::uint8_t>(TruncateLow32(DecodeFloat(record.U32(24)) / kMetresPerNm));
  beacon->Ident = BeaconIdent(record);
  const DecodeResult result =
      ForEachSubRecord(record, kBeaconFirstSubRecord, [&](std::uint16_t id, const ByteCursor& sub) {
        return id == kNameId ? ReadNameSubRecord(db, sub, beacon->NameLength, beacon->Name)
                             : DecodeResult::Done;
      });
  beacon->FileSize = NavaidFileSize(*beacon);
  return result;
}

DecodeResult DecodeIls(NavDatabase& db, const ByteCursor& record) {
  IlsRecord* ils = db.AppendIls();
  if (!ils) return DecodeResult::OutOfMemory;
  const GeoPoint position = ReadPosition(record, kVorLayout.longitude, kVorLayout.latitude);
  ils->Latitude = position.Latitude;
  ils->Longitude = position.Longitude;
  ils->Ident = BeaconIdent(record);
  ils->Frequency = record.I32(kVorLayout.frequency);
  return DecodeResult::Done;
}

}  // namespace

DecodeResult DecodeVorIls(NavDatabase& db, const ByteCursor& record) {
  if (!record.Contains(0, kBeaconFixedSize)) return DecodeResult::Done;
  const std::uint8_t type = record.U8(6);
  if (type >= 1 && type <= 3) return FillBeacon(db, db.AppendVor(), record, kVorLayout);
  if (type == kIlsType) return DecodeIls(db, record);
  return DecodeResult::Done;
}

DecodeResult DecodeNdb(NavDatabase& db, const ByteCursor& record) {
  if (!record.Contains(0, kBeaconFixedSize)) return DecodeResult::Done;
  return FillBeacon(db, db.AppendNdb(), record, kNdbLayout);
}

DecodeResult DecodeMarker(NavDatabase& db, const ByteCursor& record) {
  if (!record.Contains(0, kMarkerFixedSize) || record.U8(7) > kLastMarkerType) return DecodeResult::Done;
  MarkerRecord* marker = db.AppendMarker();
  if (!marker) return DecodeResult::OutOfMemory;
  const GeoPoint position = ReadPosition(record, 8, 12);
  marker->MarkerType = record.U8(7);
  marker->Latitude = position.Latitude;
  marker->Longitude = position.Longitude;
  return DecodeResult::Done;
}

}  // namespace tarnvale
