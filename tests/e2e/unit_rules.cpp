// The database's unit conversions and spherical-earth routines written out again, independently of
// the decoders, for the expected file bytes.

#include "e2e/unit_rules.h"

#include <cmath>

namespace tarnvale::e2e {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kRunwayDegree = 0.017453292519943278;

double Radians(double degrees) { return degrees * (kPi / 180.0); }
double ClampedAsin(double x) { return std::asin(x < 1.0 ? (x < -1.0 ? -1.0 : x) : 1.0); }
double ClampedAcos(double x) { return std::acos(x < 1.0 ? (x < -1.0 ? -1.0 : x) : 1.0); }
double PositiveModulo(double a, double b) { return a - std::floor(a / b) * b; }

// Latitudes in radians, longitudes in west-positive radians.
struct Sphere {
  double phi1, lambda1, phi2, lambda2;
};
Sphere OnSphere(double lat1, double lon1, double lat2, double lon2) {
  return {Radians(lat1), -lon1 * (kPi / 180.0), Radians(lat2), -lon2 * (kPi / 180.0)};
}

double CentralAngle(const Sphere& s) {
  if (Truncate(s.phi1 - s.phi2) != 0 || Truncate(s.lambda2 - s.lambda1) != 0) {
    return ClampedAcos(std::sin(s.phi1) * std::sin(s.phi2) +
                       std::cos(s.phi1) * std::cos(s.phi2) * std::cos(s.lambda1 - s.lambda2));
  }
  const double half_lat = std::sin((s.phi1 - s.phi2) / 2);
  const double half_lon = std::sin((s.lambda1 - s.lambda2) / 2);
  return 2 * ClampedAsin(std::sqrt(half_lat * half_lat +
                                   std::cos(s.phi1) * std::cos(s.phi2) * half_lon * half_lon));
}

double CappedMiles(double miles) { return miles > 32767 ? 32767 : miles; }

}  // namespace

std::int32_t Truncate(double value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(value)));
}

std::int32_t LatitudeUnits(double degrees) { return Truncate(degrees / 90 * 10001750); }
std::int32_t LongitudeUnits(double degrees) { return Truncate(degrees / 360 * 4294967296.0); }
Units UnitsOf(double latitude, double longitude) {
  return {LatitudeUnits(latitude), LongitudeUnits(longitude)};
}
std::int32_t WholeFeet(double metres) { return Truncate(metres / 0.3048); }

double Fs2004Latitude(std::uint32_t raw) { return 90 - raw * 180.0 / 536870911; }
double Fs2004Longitude(std::uint32_t raw) { return raw * 360.0 / 805306367 - 180; }
double Fs2004Metres(std::int32_t raw_millimetres) { return raw_millimetres * 0.001; }

RunwayEnds RunwayEndPoints(double latitude, double longitude, int heading, std::uint32_t length_m) {
  const std::uint32_t length = length_m > 300 ? length_m - 60 : length_m;
  const double north = length * std::cos(heading * kRunwayDegree);
  const double east = length * std::sin(heading * kRunwayDegree);
  const double lat_step = north * 360 * 0.5 / 40007000;
  const double lon_step = east * 360 * 0.5 / (std::cos(latitude * kRunwayDegree) * 40007000);
  auto wrapped = [](double lon) { return lon > 180 ? lon - 360 : (lon < -180 ? lon + 360 : lon); };
  return {UnitsOf(latitude - lat_step, wrapped(longitude - lon_step)),
          UnitsOf(latitude + lat_step, wrapped(longitude + lon_step))};
}

int InitialBearing(double lat1, double lon1, double lat2, double lon2) {
  const Sphere s = OnSphere(lat1, lon1, lat2, lon2);
  const double delta = CentralAngle(s);
  if (delta == 0) return 0;
  const double c = (std::sin(s.phi2) - std::sin(s.phi1) * std::cos(delta)) /
                   (std::sin(delta) * std::cos(s.phi1));
  const double course =
      std::sin(s.lambda2 - s.lambda1) < 0 ? ClampedAcos(c) : 2 * kPi - ClampedAcos(c);
  return static_cast<std::int16_t>(Truncate((180 / kPi) * course));
}

int DistanceNm(double lat1, double lon1, double lat2, double lon2) {
  return Truncate(CappedMiles(CentralAngle(OnSphere(lat1, lon1, lat2, lon2)) * (10800 / kPi)));
}

int DistanceFeet(double lat1, double lon1, double lat2, double lon2) {
  return Truncate(
      CappedMiles(CentralAngle(OnSphere(lat1, lon1, lat2, lon2)) * (10800 / kPi) * 6080));
}

Units DestinationPointNm(double latitude, double longitude, int bearing, double distance_nm) {
  const double phi1 = Radians(latitude);
  const double lambda1 = -longitude * (kPi / 180);
  const double theta = bearing * (kPi / 180);
  const double delta = (kPi / 10800) * std::fabs(distance_nm);
  const double phi2 = ClampedAsin(std::sin(phi1) * std::cos(delta) +
                                  std::cos(phi1) * std::sin(delta) * std::cos(theta));
  const double lambda2 =
      std::cos(phi2) == 0
          ? lambda1
          : PositiveModulo(
                lambda1 - ClampedAsin(std::sin(theta) * std::sin(delta) / std::cos(phi2)) + kPi,
                2 * kPi) -
                kPi;
  return {Truncate((180 / kPi) * phi2 / 90 * 10001750),
          Truncate((180 / kPi) * (-lambda2) / 360 * 4294967296)};
}

Units DestinationPointFeet(double latitude, double longitude, int bearing, double distance_feet) {
  return DestinationPointNm(latitude, longitude, bearing, std::fabs(distance_feet) / 6080);
}

Units DestinationPointMetres(double latitude, double longitude, int bearing, double distance_m) {
  return DestinationPointNm(latitude, longitude, bearing, std::fabs(distance_m) / 1852);
}

}  // namespace tarnvale::e2e
