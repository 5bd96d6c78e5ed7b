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
// DestinationPointMetres(...).Latitude, without working out the longitude.
std::int32_t DestinationLatitudeMetres(double latitude, std::int16_t bearing, double distance);

// Initial great-circle course from point 1 to point 2, whole degrees 0..360
// (a course due north comes out as 359 or 360).
std::int16_t InitialBearing(double latitude1, double longitude1, double latitude2,
                            double longitude2);
// Great-circle distance in whole feet / nautical miles, capped at 32767.
std::int32_t DistanceFeet(double latitude1, double longitude1, double latitude2, double longitude2);
std::int32_t DistanceNm(double latitude1, double longitude1, double latitude2, double longitude2);

}  // namespace tarnvale
