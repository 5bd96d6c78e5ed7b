// The byte layout of every record in the database files, written down once.
//
// `VisitLayout(record, visitor)` walks a record's fields in file order and
// hands each to the visitor with its name:
//   visitor.Field(name, value)          an integer (its C++ type gives its
//                                       width) or a fixed text of N bytes
//   visitor.Text(length_name, name, length, text)
//                                       a u16 length and that many bytes
//   visitor.Count(name, elements)       the u32 count of a sub-array
//   visitor.Elements(name, elements)    the sub-records, back to back
// The little-endian encoder, the file reader behind `dump` and the record
// formatters are visitors, so the writer and the reader cannot disagree.
// In memory each text and sub-array stands for a 4-byte pointer that the
// files never carry; PackedRecordSize counts those too and is checked at
// compile time against the packed record sizes.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "scenery/records.h"

namespace tarnvale {

// `R` is `Record`, possibly const: one layout serves reading and writing.
template <typename R, typename Record>
concept LayoutOf = std::same_as<std::remove_const_t<R>, Record>;

template <LayoutOf<RunwayRecord> R, typename V>
constexpr void VisitLayout(R& runway, V& v) {
  v.Field("Latitude", runway.Latitude);
  v.Field("Longitude", runway.Longitude);
  v.Field("AltitudeFeet", runway.AltitudeFeet);
  v.Field("PrimaryEndLatitude", runway.PrimaryEndLatitude);
  v.Field("PrimaryEndLongitude", runway.PrimaryEndLongitude);
  v.Field("SecondaryEndLatitude", runway.SecondaryEndLatitude);
  v.Field("SecondaryEndLongitude", runway.SecondaryEndLongitude);
  v.Field("Reserved28", runway.Reserved28);
  v.Field("IsHelipad", runway.IsHelipad);
  v.Field("Heading", runway.Heading);
  v.Field("OppositeHeading", runway.OppositeHeading);
  v.Field("LengthFeet", runway.LengthFeet);
  v.Field("WidthFeet", runway.WidthFeet);
  v.Field("PrimaryIlsFrequency", runway.PrimaryIlsFrequency);
  v.Field("SecondaryIlsFrequency", runway.SecondaryIlsFrequency);
  v.Field("PrimaryIlsIdent", runway.PrimaryIlsIdent);
  v.Field("SecondaryIlsIdent", runway.SecondaryIlsIdent);
  v.Field("PrimaryDesignation", runway.PrimaryDesignation);
  v.Field("SecondaryDesignation", runway.SecondaryDesignation);
}

template <LayoutOf<TaxiwayPointRecord> R, typename V>
constexpr void VisitLayout(R& point, V& v) {
  v.Field("PointType", point.PointType);
  v.Field("Latitude", point.Latitude);
  v.Field("Longitude", point.Longitude);
}

template <LayoutOf<TaxiwayPathRecord> R, typename V>
constexpr void VisitLayout(R& path, V& v) {
  v.Field("PathType", path.PathType);
  v.Field("StartPoint", path.StartPoint);
  v.Field("EndPoint", path.EndPoint);
  v.Field("NameIndex", path.NameIndex);
}

template <LayoutOf<ParkingRecord> R, typename V>
constexpr void VisitLayout(R& parking, V& v) {
  v.Field("ParkingType", parking.ParkingType);
  v.Field("Number", parking.Number);
  v.Field("ParkingName", parking.ParkingName);
  v.Field("Latitude", parking.Latitude);
  v.Field("Longitude", parking.Longitude);
  v.Field("RadiusFeet", parking.RadiusFeet);
}

template <LayoutOf<TaxiNameRecord> R, typename V>
constexpr void VisitLayout(R& taxi_name, V& v) {
  v.Field("Name", taxi_name.Name);
}

template <LayoutOf<AirportRecord> R, typename V>
constexpr void VisitLayout(R& airport, V& v) {
  v.Field("Kind", airport.Kind);
  v.Field("FileSize", airport.FileSize);
  v.Field("HasTowerOrGround", airport.HasTowerOrGround);
  v.Text("NameLength", "Name", airport.NameLength, airport.Name);
  v.Field("Ident", airport.Ident);
  v.Field("Reserved18", airport.Reserved18);
  v.Field("Latitude", airport.Latitude);
  v.Field("Longitude", airport.Longitude);
  v.Field("AltitudeFeet", airport.AltitudeFeet);
  v.Field("GroundFrequency", airport.GroundFrequency);
  v.Field("TowerFrequency", airport.TowerFrequency);
  v.Count("RunwayCount", airport.Runways);
  v.Elements("Runways", airport.Runways);
  v.Count("TaxiwayPointCount", airport.TaxiwayPoints);
  v.Elements("TaxiwayPoints", airport.TaxiwayPoints);
  v.Count("TaxiwayPathCount", airport.TaxiwayPaths);
  v.Elements("TaxiwayPaths", airport.TaxiwayPaths);
  v.Count("ParkingCount", airport.Parkings);
  v.Elements("Parkings", airport.Parkings);
  v.Count("TaxiNameCount", airport.TaxiNames);
  v.Elements("TaxiNames", airport.TaxiNames);
}

template <LayoutOf<FuelAreaRecord> R, typename V>
constexpr void VisitLayout(R& fuel_area, V& v) {
  v.Field("Kind", fuel_area.Kind);
  v.Field("FileSize", fuel_area.FileSize);
  v.Field("FuelType", fuel_area.FuelType);
  v.Field("Availability", fuel_area.Availability);
  v.Field("Latitude", fuel_area.Latitude);
  v.Field("Longitude", fuel_area.Longitude);
}

template <LayoutOf<MarkerRecord> R, typename V>
constexpr void VisitLayout(R& marker, V& v) {
  v.Field("Kind", marker.Kind);
  v.Field("FileSize", marker.FileSize);
  v.Field("MarkerType", marker.MarkerType);
  v.Field("Latitude", marker.Latitude);
  v.Field("Longitude", marker.Longitude);
}

template <LayoutOf<NavaidRecord> R, typename V>
constexpr void VisitLayout(R& navaid, V& v) {
  v.Field("Kind", navaid.Kind);
  v.Field("FileSize", navaid.FileSize);
  v.Field("Latitude", navaid.Latitude);
  v.Field("Longitude", navaid.Longitude);
  v.Text("NameLength", "Name", navaid.NameLength, navaid.Name);
  v.Field("Ident", navaid.Ident);
  v.Field("Frequency", navaid.Frequency);
  v.Field("RangeNm", navaid.RangeNm);
}

// Never written to a file; listed for its packed size.
template <LayoutOf<IlsRecord> R, typename V>
constexpr void VisitLayout(R& ils, V& v) {
  v.Field("Latitude", ils.Latitude);
  v.Field("Longitude", ils.Longitude);
  v.Field("Ident", ils.Ident);
  v.Field("Frequency", ils.Frequency);
}

template <LayoutOf<FixRecord> R, typename V>
constexpr void VisitLayout(R& fix, V& v) {
  v.Field("Kind", fix.Kind);
  v.Field("FileSize", fix.FileSize);
  v.Field("Latitude", fix.Latitude);
  v.Field("Longitude", fix.Longitude);
  v.Field("FixKey", fix.FixKey);
}

template <LayoutOf<AirwayPointRecord> R, typename V>
constexpr void VisitLayout(R& point, V& v) {
  v.Field("Latitude", point.Latitude);
  v.Field("Longitude", point.Longitude);
  v.Field("AltitudeFeet", point.AltitudeFeet);
  v.Field("FixKey", point.FixKey);
}

template <LayoutOf<AirwayRecord> R, typename V>
constexpr void VisitLayout(R& airway, V& v) {
  v.Field("Kind", airway.Kind);
  v.Field("FileSize", airway.FileSize);
  v.Field("Name", airway.Name);
  v.Count("PointCount", airway.Points);
  v.Elements("Points", airway.Points);
}

template <LayoutOf<AirspaceVertexRecord> R, typename V>
constexpr void VisitLayout(R& vertex, V& v) {
  v.Field("VertexType", vertex.VertexType);
  v.Field("Latitude", vertex.Latitude);
  v.Field("Longitude", vertex.Longitude);
  v.Field("RadiusFeet", vertex.RadiusFeet);
}

template <LayoutOf<AirspaceRecord> R, typename V>
constexpr void VisitLayout(R& airspace, V& v) {
  v.Field("NextOffset", airspace.NextOffset);
  v.Field("AirspaceClass", airspace.AirspaceClass);
  v.Field("CentreLatitude", airspace.CentreLatitude);
  v.Field("CentreLongitude", airspace.CentreLongitude);
  v.Field("CornerALatitude", airspace.CornerALatitude);
  v.Field("CornerBLatitude", airspace.CornerBLatitude);
  v.Field("CornerALongitude", airspace.CornerALongitude);
  v.Field("CornerBLongitude", airspace.CornerBLongitude);
  v.Text("NameLength", "Name", airspace.NameLength, airspace.Name);
  v.Text("SecondTextLength", "SecondText", airspace.SecondTextLength, airspace.SecondText);
  v.Text("ThirdTextLength", "ThirdText", airspace.ThirdTextLength, airspace.ThirdText);
  v.Field("PartCount", airspace.PartCount);
  v.Count("VertexCount", airspace.Vertices);
  v.Field("FirstVertexIndex", airspace.FirstVertexIndex);
  v.Elements("Vertices", airspace.Vertices);
  v.Field("LastVertexIndex", airspace.LastVertexIndex);
  v.Field("LowerAltitudeFeet", airspace.LowerAltitudeFeet);
  v.Field("UpperAltitudeFeet", airspace.UpperAltitudeFeet);
}

// --- Sizes ---------------------------------------------------------------------

// Counts the bytes a record occupies in a file and the pointers it holds in
// its packed in-memory form.
class LayoutSizer {
 public:
  template <typename T>
  constexpr void Field(std::string_view, const T&) {
    file_bytes_ += sizeof(T);  // integers and fixed texts: no padding
  }
  constexpr void Text(std::string_view, std::string_view, std::uint16_t length,
                      const std::string&) {
    file_bytes_ += sizeof(std::uint16_t) + length;
    ++pointers_;
  }
  template <typename E>
  constexpr void Count(std::string_view, const RecordArray<E>&) {
    file_bytes_ += sizeof(std::uint32_t);
  }
  template <typename E>
  constexpr void Elements(std::string_view, const RecordArray<E>& elements) {
    // Sub-records hold no texts and no arrays of their own: each takes the
    // bytes of an empty one, so a record is sized without walking them.
    constexpr LayoutSizer kOne = OfEmpty<E>();
    static_assert(kOne.Pointers() == 0);
    file_bytes_ += elements.size() * kOne.FileBytes();
    ++pointers_;
  }
  constexpr std::size_t FileBytes() const { return file_bytes_; }
  constexpr std::size_t Pointers() const { return pointers_; }

  // The sizes of a default record: no texts, empty arrays.
  template <typename Record>
  static constexpr LayoutSizer OfEmpty() {
    Record empty{};  // not const: GCC 12 rejects a const std::string here
    LayoutSizer sizer;
    VisitLayout(std::as_const(empty), sizer);
    return sizer;
  }

 private:
  std::size_t file_bytes_ = 0;
  std::size_t pointers_ = 0;
};

// Bytes `record` occupies in its database file.
template <typename Record>
constexpr std::size_t FileRecordSize(const Record& record) {
  LayoutSizer sizer;
  VisitLayout(record, sizer);
  return sizer.FileBytes();
}

// Size of the packed in-memory record: its fixed file bytes plus a 4-byte
// pointer for each text and sub-array.
template <typename Record>
constexpr std::size_t PackedRecordSize() {
  const LayoutSizer sizer = LayoutSizer::OfEmpty<Record>();
  return sizer.FileBytes() + 4 * sizer.Pointers();
}

static_assert(PackedRecordSize<RunwayRecord>() == kRunwayRecordSize);
static_assert(PackedRecordSize<TaxiwayPointRecord>() == kTaxiwayPointRecordSize);
static_assert(PackedRecordSize<TaxiwayPathRecord>() == kTaxiwayPathRecordSize);
static_assert(PackedRecordSize<ParkingRecord>() == kParkingRecordSize);
static_assert(PackedRecordSize<TaxiNameRecord>() == kTaxiNameRecordSize);
static_assert(PackedRecordSize<FuelAreaRecord>() == kFuelAreaRecordSize);
static_assert(PackedRecordSize<MarkerRecord>() == kMarkerRecordSize);
static_assert(PackedRecordSize<IlsRecord>() == kIlsRecordSize);
static_assert(PackedRecordSize<FixRecord>() == kFixRecordSize);
static_assert(PackedRecordSize<AirwayRecord>() == kAirwayRecordSize);
static_assert(PackedRecordSize<AirwayPointRecord>() == kAirwayPointRecordSize);
static_assert(PackedRecordSize<AirspaceVertexRecord>() == kAirspaceVertexRecordSize);
// Records holding a std::string: clang 14 cannot evaluate libstdc++ 12's
// constexpr std::string (used by the fuzz build); GCC checks them.
#if !defined(__clang__)
static_assert(PackedRecordSize<AirportRecord>() == kAirportRecordSize);
static_assert(PackedRecordSize<NavaidRecord>() == kNavaidRecordSize);
static_assert(PackedRecordSize<AirspaceRecord>() == kAirspaceRecordSize);
#endif

}  // namespace tarnvale
