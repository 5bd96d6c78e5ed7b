// Reads FS2004 boundary records into airspaces: class, altitude limits, name, bounding box, and the
// outline's lines, arcs and circles.

#include "scenery/fs2004_boundaries.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "scenery/decoding.h"
#include "scenery/geometry.h"

namespace tarnvale {

namespace {

constexpr std::size_t kBoundaryFirstSubRecord = 32;
constexpr std::uint16_t kNameId = 25;
constexpr std::uint16_t kPointsId = 33;
constexpr std::size_t kPointsFirst = 8;  // behind the header and the u16 count
constexpr std::size_t kPointSize = 10;
constexpr std::size_t kMaxOrigins = 255;  // the origin count is 8 bits wide

// AirspaceClass by BoundaryType; 0 where a type yields no airspace.
constexpr std::array<std::uint8_t, 24> kAirspaceClasses = {
    0, 0, 10, 11, 12, 13, 14, 15, 16, 0, 0, 0, 0, 0, 26, 17, 18, 19, 20, 21, 22, 25, 23, 24};

// Vertex types of the outline.
enum VertexType : std::uint8_t {
  kStartVertex = 0,
  kCentreVertex = 1,
  kCircleVertex = 2,
  kClockwiseArcVertex = 3,
  kCounterClockwiseArcVertex = 4,
  kLineVertex = 5,
};

// Point types of a points sub-record.
enum PointType : std::uint8_t {
  kStartPoint = 1,
  kLinePoint = 2,
  kOriginPoint = 3,
  kClockwiseArcPoint = 4,
  kCounterClockwiseArcPoint = 5,
  kCirclePoint = 6,
};

// A boundary point's raw position words.
struct RawPoint {
  std::uint32_t latitude = 0;
  std::uint32_t longitude = 0;

  Degrees InDegrees() const { return {Fs2004Latitude(latitude), Fs2004Longitude(longitude)}; }
};

// The centres (origins) met so far in one points sub-record.
class OriginList {
 public:
  // Origins beyond the 255 an 8-bit count can name are not kept.
  void Add(const RawPoint& origin) {
    if (count_ < kMaxOrigins) origins_[count_++] = origin;
  }
  const RawPoint* Find(std::uint8_t index) const {
    return index < count_ ? &origins_[index] : nullptr;
  }

 private:
  std::array<RawPoint, kMaxOrigins> origins_{};
  std::size_t count_ = 0;
};

void AppendVertex(NavDatabase& db, std::uint8_t type, const GeoPoint& position,
                  std::int32_t radius_feet = 0) {
  *db.AppendVertex() = {type, position.Latitude, position.Longitude, radius_feet};
}

void SetBoxCentre(AirspaceRecord& airspace, const Degrees& a, const Degrees& b) {
  if (a.longitude == b.longitude || a.latitude == b.latitude) {
    const GeoPoint corner = ToUnits(a);
    airspace.CentreLatitude = corner.Latitude;
    airspace.CentreLongitude = corner.Longitude;
    return;
  }
  const GeoPoint corner_a = ToUnits(a);
  const GeoPoint corner_b = ToUnits(b);
  airspace.CornerALatitude = corner_a.Latitude;
  airspace.CornerBLatitude = corner_b.Latitude;
  airspace.CornerALongitude = corner_a.Longitude;
  airspace.CornerBLongitude = corner_b.Longitude;
  // Halfway along the diagonal, in whole nautical miles or, under one, in
  // whole feet; the halving drops the fraction.
  const auto nm =
      static_cast<std::int16_t>(DistanceNm(a.latitude, a.longitude, b.latitude, b.longitude));
  const std::int16_t course = InitialBearing(a.latitude, a.longitude, b.latitude, b.longitude);
  GeoPoint centre;
  if (nm >= 1) {
    const int half_nm = nm / 2;
    centre = DestinationPointNm(a.latitude, a.longitude, course, half_nm);
  } else {
    const auto feet =
        static_cast<std::int16_t>(DistanceFeet(a.latitude, a.longitude, b.latitude, b.longitude));
    const int half_feet = feet / 2;
    centre = DestinationPointFeet(a.latitude, a.longitude, course, half_feet);
  }
  airspace.CentreLatitude = centre.Latitude;
  airspace.CentreLongitude = centre.Longitude;
}

// A circle: its centre, its radius, and the airspace's corners at the
// radius toward north-west and south-east.
void DecodeCircle(NavDatabase& db, const RawPoint& origin, const ByteCursor& point) {
  const Degrees centre = origin.InDegrees();
  AppendVertex(db, kCentreVertex, ToUnits(centre));
  const double radius_metres = DecodeFloat(point.U32(6));
  AppendVertex(db, kCircleVertex, GeoPoint{}, MetresToFeet(radius_metres));
  const double radius_feet = radius_metres / kMetresPerFoot;
  const bool under_a_mile = radius_feet / kFeetPerNm < 1.0;
  const auto corner = [&](std::int16_t course) {
    return under_a_mile
               ? DestinationPointFeet(centre.latitude, centre.longitude, course, radius_feet)
               : DestinationPointNm(centre.latitude, centre.longitude, course,
                                    radius_feet / kFeetPerNm);
  };
  const GeoPoint north_west = corner(315);
  const GeoPoint south_east = corner(135);
  AirspaceRecord& airspace = db.Airspaces.back();
  airspace.CornerALatitude = north_west.Latitude;
  airspace.CornerBLatitude = south_east.Latitude;
  airspace.CornerALongitude = north_west.Longitude;
  airspace.CornerBLongitude = south_east.Longitude;
}

// An arc or a circle: the vertices of the point around its origin. A point
// naming no stored origin adds nothing.
void DecodeAroundOrigin(NavDatabase& db, const OriginList& origins, const ByteCursor& point,
                        std::uint8_t type) {
  const RawPoint* origin = origins.Find(point.U8(1));
  if (!origin) return;
  if (type == kCirclePoint) return DecodeCircle(db, *origin, point);
  AppendVertex(db, kCentreVertex, ToUnits(origin->InDegrees()));
  const std::uint8_t arc_end =
      type == kClockwiseArcPoint ? kClockwiseArcVertex : kCounterClockwiseArcVertex;
  AppendVertex(db, arc_end, ReadPosition(point, 6, 2));
}

void DecodePoint(NavDatabase& db, OriginList& origins, const ByteCursor& point) {
  const std::uint8_t type = point.U8(0);
  switch (type) {
    case kStartPoint:
      return AppendVertex(db, kStartVertex, ReadPosition(point, 6, 2));
    case kLinePoint:
      return AppendVertex(db, kLineVertex, ReadPosition(point, 6, 2));
    case kOriginPoint:
      return origins.Add({point.U32(2), point.U32(6)});
    case kClockwiseArcPoint:
    case kCounterClockwiseArcPoint:
    case kCirclePoint:
      return DecodeAroundOrigin(db, origins, point, type);
    default:
      return;
  }
}

// The points that lie inside the sub-record, in order; origins are seen
// only by the points of their own sub-record.
void DecodePoints(NavDatabase& db, const ByteCursor& sub) {
  OriginList origins;
  const std::size_t count = sub.U16(6);
  for (std::size_t k = 0; k < count; ++k) {
    const ByteCursor point = sub.Slice(kPointsFirst + k * kPointSize, kPointSize);
    if (db.PassOverIfCutShort(point)) break;
    DecodePoint(db, origins, point);
  }
}

// The name's bytes (size - 6, in 16 bits) in a block two bytes longer, so
// that it always ends in a NUL. A later name replaces an earlier one.
void DecodeName(NavDatabase& db, AirspaceRecord& airspace, const ByteCursor& sub) {
  const auto length = static_cast<std::uint16_t>(sub.Size() - kRecordHeaderSize);
  airspace.NameLength = length;
  airspace.Name.clear();
  if (length == 0) return;
  db.AllocateText(airspace.Name, std::size_t{length} + 2);
  const std::string_view text = TextUpToNul(sub, kRecordHeaderSize, length);
  std::copy(text.begin(), text.end(), airspace.Name.begin());
}

}  // namespace

// A record too short for its fixed fields (the upper altitude is the last)
// adds nothing.
void DecodeBoundary(NavDatabase& db, const ByteCursor& record) {
  const std::uint8_t type = record.U8(6);
  const std::int32_t upper_altitude_feet = ReadAltitudeFeet(record, 28);
  if (db.PassOverIfCutShort(record) || type >= kAirspaceClasses.size() ||
      kAirspaceClasses[type] == 0)
    return;
  AirspaceRecord& airspace = db.AppendAirspace();
  airspace.AirspaceClass = kAirspaceClasses[type];
  SetBoxCentre(airspace, ReadDegrees(record, 8, 24), ReadDegrees(record, 20, 12));
  airspace.LowerAltitudeFeet = ReadAltitudeFeet(record, 16);
  airspace.UpperAltitudeFeet = upper_altitude_feet;
  ForEachSubRecord(record, kBoundaryFirstSubRecord, [&](std::uint16_t id, const ByteCursor& sub) {
    if (id == kNameId) DecodeName(db, airspace, sub);
    if (id == kPointsId) DecodePoints(db, sub);
  });
}

}  // namespace tarnvale
