#include "scenery/geometry.h"

#include <cmath>

#include "scenery/decoding.h"

namespace tarnvale {

namespace {

constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kDegreesPerRadian = 180.0 / kPi;
constexpr double kRadiansPerNm = kPi / 10800.0;
constexpr double kNmPerRadian = 10800.0 / kPi;
constexpr double kDistanceCap = 32767.0;

// Latitudes in radians and longitudes in west-positive radians.
struct RadianPoint {
  double phi;
  double lambda;
};

RadianPoint ToRadians(double latitude, double longitude) {
  return {latitude * kRadiansPerDegree, -longitude * kRadiansPerDegree};
}

double SquaredSine(double x) {
  const double s = std::sin(x);
  return s * s;
}

// Angle between two points seen from the earth's centre. Points a radian or
// more apart in latitude or longitude use the cosine form; closer ones the
// haversine form, which keeps its precision at short range.
double CentralAngle(RadianPoint a, RadianPoint b) {
  if (TruncateToInt64(a.phi - b.phi) != 0 || TruncateToInt64(b.lambda - a.lambda) != 0) {
    return ClampedAcos(std::sin(a.phi) * std::sin(b.phi) +
                       std::cos(a.phi) * std::cos(b.phi) * std::cos(a.lambda - b.lambda));
  }
  return 2.0 * ClampedAsin(std::sqrt(SquaredSine((a.phi - b.phi) / 2.0) +
                                     std::cos(a.phi) * std::cos(b.phi) *
                                         SquaredSine((a.lambda - b.lambda) / 2.0)));
}

// The latitude, in radians, reached from latitude `phi` on the course
// `theta` after the angle `delta` (both in radians).
double DestinationPhi(double phi, double theta, double delta) {
  return ClampedAsin(std::sin(phi) * std::cos(delta) +
                     std::cos(phi) * std::sin(delta) * std::cos(theta));
}

GeoPoint DestinationPoint(double latitude, double longitude, std::int16_t bearing, double nm) {
  const RadianPoint start = ToRadians(latitude, longitude);
  const double theta = bearing * kRadiansPerDegree;
  const double delta = kRadiansPerNm * nm;
  const double phi2 = DestinationPhi(start.phi, theta, delta);
  double lambda2 = start.lambda;
  if (std::cos(phi2) != 0.0) {
    lambda2 =
        PositiveModulo(
            start.lambda - ClampedAsin(std::sin(theta) * std::sin(delta) / std::cos(phi2)) + kPi,
            2.0 * kPi) -
        kPi;
  }
  return GeoPoint{LatitudeToUnits(kDegreesPerRadian * phi2),
                  LongitudeToUnits(kDegreesPerRadian * (-lambda2))};
}

double DistanceInNm(double latitude1, double longitude1, double latitude2, double longitude2) {
  return CentralAngle(ToRadians(latitude1, longitude1), ToRadians(latitude2, longitude2)) *
         kNmPerRadian;
}

std::int32_t CappedWhole(double value) {
  return TruncateLow32(value > kDistanceCap ? kDistanceCap : value);
}

}  // namespace

double ClampedAsin(double x) {
  double t = x < 1.0 ? x : 1.0;
  if (t < -1.0) t = -1.0;
  return std::asin(t);
}

double ClampedAcos(double x) {
  double t = x < 1.0 ? x : 1.0;
  if (t < -1.0) t = -1.0;
  return std::acos(t);
}

double PositiveModulo(double a, double b) { return a - std::floor(a / b) * b; }

GeoPoint DestinationPointMetres(double latitude, double longitude, std::int16_t bearing,
                                double distance) {
  return DestinationPoint(latitude, longitude, bearing, std::fabs(distance) / kMetresPerNm);
}

std::int32_t DestinationLatitudeMetres(double latitude, std::int16_t bearing, double distance) {
  const double phi2 = DestinationPhi(ToRadians(latitude, 0).phi, bearing * kRadiansPerDegree,
                                     kRadiansPerNm * (std::fabs(distance) / kMetresPerNm));
  return LatitudeToUnits(kDegreesPerRadian * phi2);
}

GeoPoint DestinationPointFeet(double latitude, double longitude, std::int16_t bearing,
                              double distance) {
  return DestinationPoint(latitude, longitude, bearing, std::fabs(distance) / kFeetPerNm);
}

GeoPoint DestinationPointNm(double latitude, double longitude, std::int16_t bearing,
                            double distance) {
  return DestinationPoint(latitude, longitude, bearing, std::fabs(distance));
}

std::int16_t InitialBearing(double latitude1, double longitude1, double latitude2,
                            double longitude2) {
  const RadianPoint a = ToRadians(latitude1, longitude1);
  const RadianPoint b = ToRadians(latitude2, longitude2);
  const double delta = CentralAngle(a, b);
  if (delta == 0.0) return 0;
  const double c =
      (std::sin(b.phi) - std::sin(a.phi) * std::cos(delta)) / (std::sin(delta) * std::cos(a.phi));
  const double course =
      std::sin(b.lambda - a.lambda) < 0.0 ? ClampedAcos(c) : 2.0 * kPi - ClampedAcos(c);
  return TruncateLow16(kDegreesPerRadian * course);
}

std::int32_t DistanceFeet(double latitude1, double longitude1, double latitude2,
                          double longitude2) {
  return CappedWhole(DistanceInNm(latitude1, longitude1, latitude2, longitude2) * kFeetPerNm);
}

std::int32_t DistanceNm(double latitude1, double longitude1, double latitude2, double longitude2) {
  return CappedWhole(DistanceInNm(latitude1, longitude1, latitude2, longitude2));
}

}  // namespace tarnvale
