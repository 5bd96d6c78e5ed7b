// Records of the navigation database.
//
// Each record holds the fields that the database files carry, in file order.
// The in-memory structs use natural alignment; the packed little-endian byte
// layouts live in the encoders of the database files writer, which assert the
// packed sizes (kAirportRecordSize and friends) against what they emit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenery/record_memory.h"

namespace tarnvale {

// First byte of most records, telling what the record is.
enum class RecordKind : std::uint8_t {
  Airport = 1,
  FuelArea = 2,
  Marker = 3,
  Vor = 4,
  Ndb = 5,
  Fix = 6,
  JetAirway = 7,
  VictorAirway = 8,
};

// A fixed-width NUL-terminated text field as stored in a record.
template <std::size_t N>
using FixedText = std::array<char, N>;

// The text of a fixed field, up to its first NUL (or the whole field).
template <std::size_t N>
std::string_view TextOf(const FixedText<N>& field) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return {field.data(), length};
}

// Stores `text` in a fixed field, cut to fit, with every byte behind it zero.
// `room` is how many characters may be stored (N - 1 for NUL-terminated
// fields, N for a taxiway name which needs no terminator).
template <std::size_t N>
void SetText(FixedText<N>& field, std::string_view text, std::size_t room = N - 1) {
  field.fill('\0');
  const std::size_t length = text.size() < room ? text.size() : room;
  for (std::size_t i = 0; i < length; ++i) field[i] = text[i];
}

// Packed sizes of the records in the database files.
inline constexpr std::size_t kAirportRecordSize = 79;
inline constexpr std::size_t kRunwayRecordSize = 72;
inline constexpr std::size_t kTaxiwayPointRecordSize = 9;
inline constexpr std::size_t kTaxiwayPathRecordSize = 16;
inline constexpr std::size_t kParkingRecordSize = 16;
inline constexpr std::size_t kTaxiNameRecordSize = 8;
inline constexpr std::size_t kFuelAreaRecordSize = 15;
inline constexpr std::size_t kMarkerRecordSize = 14;
inline constexpr std::size_t kNavaidRecordSize = 30;
inline constexpr std::size_t kIlsRecordSize = 18;
inline constexpr std::size_t kFixRecordSize = 22;
inline constexpr std::size_t kAirwayRecordSize = 22;
inline constexpr std::size_t kAirwayPointRecordSize = 21;
inline constexpr std::size_t kAirspaceRecordSize = 73;
inline constexpr std::size_t kAirspaceVertexRecordSize = 13;

struct RunwayRecord {
  std::int32_t Latitude = 0;  // runway centre (helipad: its position)
  std::int32_t Longitude = 0;
  std::int32_t AltitudeFeet = 0;
  std::int32_t PrimaryEndLatitude = 0;
  std::int32_t PrimaryEndLongitude = 0;
  std::int32_t SecondaryEndLatitude = 0;
  std::int32_t SecondaryEndLongitude = 0;
  std::uint8_t Reserved28 = 0;
  std::uint8_t IsHelipad = 0;
  std::int16_t Heading = 0;
  std::int16_t OppositeHeading = 0;
  std::int32_t LengthFeet = 0;
  std::int32_t WidthFeet = 0;
  std::int32_t PrimaryIlsFrequency = 0;  // filled by binding
  std::int32_t SecondaryIlsFrequency = 0;
  FixedText<6> PrimaryIlsIdent{};
  FixedText<6> SecondaryIlsIdent{};
  FixedText<5> PrimaryDesignation{};
  FixedText<5> SecondaryDesignation{};
};

struct TaxiwayPointRecord {
  std::uint8_t PointType = 0;
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
};

struct TaxiwayPathRecord {
  std::int32_t PathType = 0;
  std::int32_t StartPoint = 0;  // index into the airport's TaxiwayPoints
  std::int32_t EndPoint = 0;
  std::int32_t NameIndex = 0;  // index into the airport's TaxiNames
};

struct ParkingRecord {
  std::uint8_t ParkingType = 0;
  std::int16_t Number = 0;
  std::uint8_t ParkingName = 0;  // the scenery's name code of the parking
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  std::int32_t RadiusFeet = 0;
};

// An 8-character name padded with NULs; a full-length name has no terminator.
struct TaxiNameRecord {
  FixedText<8> Name{};
};

// Variable texts are a (u16 length, bytes) pair: `Name` holds the text block,
// at least `NameLength` bytes, of which the files carry exactly `NameLength`.
struct AirportRecord {
  std::uint8_t Kind = static_cast<std::uint8_t>(RecordKind::Airport);
  std::uint32_t FileSize = 0;
  std::uint8_t HasTowerOrGround = 0;
  std::uint16_t NameLength = 0;  // including the NUL; 0 = no name
  std::string Name;
  FixedText<6> Ident{};
  std::uint8_t Reserved18 = 0;
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  std::int32_t AltitudeFeet = 0;
  std::int32_t GroundFrequency = 0;
  std::int32_t TowerFrequency = 0;
  RecordArray<RunwayRecord> Runways;
  RecordArray<TaxiwayPointRecord> TaxiwayPoints;
  RecordArray<TaxiwayPathRecord> TaxiwayPaths;
  RecordArray<ParkingRecord> Parkings;
  RecordArray<TaxiNameRecord> TaxiNames;
};

struct FuelAreaRecord {
  std::uint8_t Kind = static_cast<std::uint8_t>(RecordKind::FuelArea);
  std::uint32_t FileSize = kFuelAreaRecordSize;
  std::uint8_t FuelType = 0;      // index 0..12 of a fuel grade
  std::uint8_t Availability = 0;  // 2-bit availability code 1..3
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
};

struct MarkerRecord {
  std::uint8_t Kind = static_cast<std::uint8_t>(RecordKind::Marker);
  std::uint32_t FileSize = kMarkerRecordSize;
  std::uint8_t MarkerType = 0;  // 0 inner, 1 middle, 2 outer, 3 back course
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
};

// A VOR (kind 4) or an NDB (kind 5).
struct NavaidRecord {
  std::uint8_t Kind = 0;
  std::uint32_t FileSize = 0;  // 26 + NameLength
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  std::uint16_t NameLength = 0;  // including the NUL; 0 = no name
  std::string Name;
  FixedText<6> Ident{};
  std::int32_t Frequency = 0;
  std::uint8_t RangeNm = 0;  // whole nautical miles, modulo 256
};

// Held only for binding; never written.
struct IlsRecord {
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  FixedText<6> Ident{};
  std::int32_t Frequency = 0;
};

struct FixRecord {
  std::uint8_t Kind = static_cast<std::uint8_t>(RecordKind::Fix);
  std::uint32_t FileSize = kFixRecordSize;
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  FixedText<9> FixKey{};  // region + ident (FS2004) or the stored name (FS2002)
};

struct AirwayPointRecord {
  std::int32_t Latitude = 0;  // copied from the fix by binding
  std::int32_t Longitude = 0;
  std::int32_t AltitudeFeet = 0;  // minimum altitude of the leg to this point
  FixedText<9> FixKey{};
};

// A jet (kind 7) or victor (kind 8) airway.
struct AirwayRecord {
  std::uint8_t Kind = 0;
  std::uint32_t FileSize = 18;  // 18 + 21 per point
  FixedText<9> Name{};
  RecordArray<AirwayPointRecord> Points;
};

struct AirspaceVertexRecord {
  std::uint8_t VertexType = 0;
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  std::int32_t RadiusFeet = 0;  // circles only
};

struct AirspaceRecord {
  std::int32_t NextOffset = 0;  // set while writing
  std::uint8_t AirspaceClass = 0;
  std::int32_t CentreLatitude = 0;
  std::int32_t CentreLongitude = 0;
  std::int32_t CornerALatitude = 0;
  std::int32_t CornerBLatitude = 0;
  std::int32_t CornerALongitude = 0;
  std::int32_t CornerBLongitude = 0;
  std::uint16_t NameLength = 0;  // name bytes from the BGL, no added NUL
  std::string Name;              // NameLength + 2 bytes, zero-filled behind
  std::uint16_t SecondTextLength = 0;
  std::string SecondText;
  std::uint16_t ThirdTextLength = 0;
  std::string ThirdText;
  std::int16_t PartCount = 0;         // set while writing
  std::int32_t FirstVertexIndex = 0;  // set while writing
  RecordArray<AirspaceVertexRecord> Vertices;
  std::int32_t LastVertexIndex = 0;  // set while writing
  std::int32_t LowerAltitudeFeet = 0;
  std::int32_t UpperAltitudeFeet = 0;
};

// Size of an airport in world_airports.dat, once it is complete.
std::uint32_t AirportFileSize(const AirportRecord& airport);

// Size of a VOR or NDB in world_navaids.dat.
inline std::uint32_t NavaidFileSize(const NavaidRecord& navaid) { return 26u + navaid.NameLength; }

}  // namespace tarnvale
