// Spherical-earth helpers: destination points, initial course and distance.
//
// The earth is a sphere on which one nautical mile is one minute of arc; pi
// is taken as 3.14159265358979 for every degree-radian conversion. Inside
// the formulas longitudes are west-positive. Results are truncated toward
// zero to 64 bits and keep their low 32 bits (16 for a bearing).
#pragma once

#include <cstdint>

namespace tarnvale {

inline constexpr double kPi = 3.14159265358979;
inline constexpr double kMetresPerNm = 1852.0;
inline constexpr double kFeetPerNm = 6080.0;

// A position in degrees, north and east positive.
struct Degrees {
  double latitude = 0.0;
  double longitude = 0.0;
};

// A position in database units (latitude and longitude units).
struct GeoPoint {
  std::int32_t Latitude = 0;
  std::int32_t Longitude = 0;
  friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

// asin / acos of x clamped to -1..1, so rounding never leaves the domain.
double ClampedAsin(double x);
double ClampedAcos(double x);

// a - floor(a / b) x b: for b > 0 the result lies in 0..b.
double PositiveModulo(double a, double b);

// The point reached from (latitude, longitude) in degrees on the course
// `bearing` (whole degrees true) after abs(distance), given in metres, feet
// (6080 to the nautical mile) or nautical miles.
GeoPoint DestinationPointMetres(double latitude, double longitude, std::int16_t bearing,
                                double distance);
GeoPoint DestinationPointFeet(double latitude, double longitude, std::int16_t bearing,
                              double distance);
GeoPoint DestinationPointNm(double latitude, double longitude, std::int16_t bearing,
                            double distance);

// Destinations from one reference point along the four compass courses, by
// distances in metres. An airport's ground layout places every taxiway point
// and parking this way around its reference point, so the sines and cosines
// of the reference latitude and of the courses are worked out once.
class CompassDestinations {
 public:
  explicit CompassDestinations(const Degrees& reference);

  // The latitude `north` metres north of the reference (south when
  // negative), as DestinationPointMetres gives it on course 0 (180), without
  // working out the longitude; the reference's own latitude when `north` is
  // zero or not a number.
  std::int32_t LatitudeMetres(double north) const;
  // The longitude `east` metres east of the reference (west when negative),
  // as DestinationPointMetres gives it on course 90 (270); the reference's
  // own longitude when `east` is zero or not a number.
  std::int32_t LongitudeMetres(double east) const;

 private:
  Degrees reference_;
  double lambda_ = 0.0;  // the reference longitude in west-positive radians
  double sin_phi_ = 0.0;
  double cos_phi_ = 0.0;
};

// Initial great-circle course from point 1 to point 2, whole degrees 0..360
// (a course due north comes out as 359 or 360).
std::int16_t InitialBearing(double latitude1, double longitude1, double latitude2,
                            double longitude2);
// Great-circle distance in whole feet / nautical miles, capped at 32767.
std::int32_t DistanceFeet(double latitude1, double longitude1, double latitude2, double longitude2);
std::int32_t DistanceNm(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace tarnvale
