// The unit conversions and spherical-earth routines of the database, written
// out here a second time from the decoding rules (same operations, same
// order, same truncation), so that expected file bytes never come from the
// code under test.
#pragma once

#include <cstdint>

namespace tarnvale::e2e {

// A position in database units.
struct Units {
  std::int32_t latitude = 0;
  std::int32_t longitude = 0;
};

// Toward zero through a 64-bit integer, low 32 bits kept.
std::int32_t Truncate(double value);

std::int32_t LatitudeUnits(double degrees);   // trunc(degrees / 90 x 10001750)
std::int32_t LongitudeUnits(double degrees);  // trunc(degrees / 360 x 2^32)
Units UnitsOf(double latitude, double longitude);
std::int32_t WholeFeet(double metres);  // trunc(metres / 0.3048)

// Raw FS2004 words to degrees and metres.
double Fs2004Latitude(std::uint32_t raw);
double Fs2004Longitude(std::uint32_t raw);
double Fs2004Metres(std::int32_t raw_millimetres);

// The runway end points of a centre (degrees), a whole heading and a whole
// length in metres: primary end first.
struct RunwayEnds {
  Units primary;
  Units secondary;
};
RunwayEnds RunwayEndPoints(double latitude, double longitude, int heading, std::uint32_t length_m);

// Great-circle helpers on the one-minute-per-mile sphere with pi taken as
// 3.14159265358979.
int InitialBearing(double lat1, double lon1, double lat2, double lon2);
int DistanceNm(double lat1, double lon1, double lat2, double lon2);
int DistanceFeet(double lat1, double lon1, double lat2, double lon2);
Units DestinationPointNm(double latitude, double longitude, int bearing, double distance_nm);
Units DestinationPointFeet(double latitude, double longitude, int bearing, double distance_feet);
Units DestinationPointMetres(double latitude, double longitude, int bearing, double distance_m);

}  // namespace tarnvale::e2e
