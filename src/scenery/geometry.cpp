// Spherical-earth routines: destination points on a course, distances, and the compass courses
// computed through the C library.

#include "scenery/geometry.h"

#include <cmath>

#include "scenery/units.h"

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

// A start point: its west-positive longitude in radians, and the sine and
// cosine of its latitude.
struct StartPoint {
  double lambda;
  double sin_phi;
  double cos_phi;
};

StartPoint StartAt(double latitude, double longitude) {
  const RadianPoint start = ToRadians(latitude, longitude);
  return {start.lambda, std::sin(start.phi), std::cos(start.phi)};
}

// The sine and cosine of a course in whole degrees.
struct Course {
  double sin_theta;
  double cos_theta;
};

Course CourseOf(std::int16_t bearing) {
  const double theta = bearing * kRadiansPerDegree;
  return {std::sin(theta), std::cos(theta)};
}

// The cosine of a course in whole degrees, where a latitude alone is wanted.
double CourseCosine(std::int16_t bearing) { return std::cos(bearing * kRadiansPerDegree); }

// The four compass courses, from the same library calls as any other course:
// latitudes alone take the cosine alone. The bearings are read at run time,
// since sines and cosines the compiler works out itself may differ from the
// C library's in the last bit.
struct Compass {
  double north_cos;
  double south_cos;
  Course east;
  Course west;
};

const Compass& TheCompass() {
  static volatile const std::int16_t kBearings[] = {0, 180, 90, 270};
  static const Compass compass{CourseCosine(kBearings[0]), CourseCosine(kBearings[1]),
                               CourseOf(kBearings[2]), CourseOf(kBearings[3])};
  return compass;
}

// The angle, in radians, of `nm` nautical miles.
double ArcOf(double nm) { return kRadiansPerNm * nm; }

// The latitude, in radians, reached from `start` on a course of cosine
// `cos_theta` after an angle of sine `sin_delta` and cosine `cos_delta`.
double DestinationPhi(const StartPoint& start, double cos_theta, double sin_delta,
                      double cos_delta) {
  return ClampedAsin(start.sin_phi * cos_delta + start.cos_phi * sin_delta * cos_theta);
}

GeoPoint DestinationPoint(const StartPoint& start, const Course& course, double delta) {
  const double sin_delta = std::sin(delta);
  const double phi2 = DestinationPhi(start, course.cos_theta, sin_delta, std::cos(delta));
  double lambda2 = start.lambda;
  if (const double cos_phi2 = std::cos(phi2); cos_phi2 != 0.0) {
    lambda2 =
        PositiveModulo(start.lambda - ClampedAsin(course.sin_theta * sin_delta / cos_phi2) + kPi,
                       2.0 * kPi) -
        kPi;
  }
  return GeoPoint{LatitudeToUnits(kDegreesPerRadian * phi2),
                  LongitudeToUnits(kDegreesPerRadian * (-lambda2))};
}

std::int32_t DestinationLatitude(const StartPoint& start, double cos_theta, double delta) {
  return LatitudeToUnits(kDegreesPerRadian *
                         DestinationPhi(start, cos_theta, std::sin(delta), std::cos(delta)));
}

GeoPoint DestinationPoint(double latitude, double longitude, std::int16_t bearing, double nm) {
  return DestinationPoint(StartAt(latitude, longitude), CourseOf(bearing), ArcOf(nm));
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

CompassDestinations::CompassDestinations(const Degrees& reference) : reference_(reference) {
  const StartPoint start = StartAt(reference.latitude, reference.longitude);
  lambda_ = start.lambda;
  sin_phi_ = start.sin_phi;
  cos_phi_ = start.cos_phi;
}

std::int32_t CompassDestinations::LatitudeMetres(double north) const {
  if (!(north > 0) && !(north < 0)) return LatitudeToUnits(reference_.latitude);
  const StartPoint start{lambda_, sin_phi_, cos_phi_};
  const double cos_theta = north > 0 ? TheCompass().north_cos : TheCompass().south_cos;
  return DestinationLatitude(start, cos_theta, ArcOf(std::fabs(north) / kMetresPerNm));
}

std::int32_t CompassDestinations::LongitudeMetres(double east) const {
  if (!(east > 0) && !(east < 0)) return LongitudeToUnits(reference_.longitude);
  const StartPoint start{lambda_, sin_phi_, cos_phi_};
  const Course& course = east > 0 ? TheCompass().east : TheCompass().west;
  return DestinationPoint(start, course, ArcOf(std::fabs(east) / kMetresPerNm)).Longitude;
}

}  // namespace tarnvale
