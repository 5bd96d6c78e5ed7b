// Tests of the spherical-earth routines: course and distance, destination points, poles, and
// clamping.

#include "scenery/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace tarnvale {
namespace {

TEST(Geometry, CourseAndDistanceBetweenPoints) {
  struct Case {
    const char* what;
    double lat1, lon1, lat2, lon2;
    std::int16_t bearing;
    std::int32_t nm;
    std::int32_t feet;
  };
  const Case cases[] = {
      {"south-east, haversine", 10, 20, 9, 21, 135, 84, 32767},
      {"north-east, haversine", 10, 20, 11, 21, 44, 84, 32767},
      {"far apart, cosine form", 10, 20, 60, 90, 29, 4284, 32767},
      {"western hemisphere", 45, -120, 40, -110, 120, 533, 32767},
      {"under a mile", 10, 20, 9.99, 20.01, 135, 0, 5120},
      {"same point", 10, 20, 10, 20, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InitialBearing(c.lat1, c.lon1, c.lat2, c.lon2), c.bearing) << c.what;
    EXPECT_EQ(DistanceNm(c.lat1, c.lon1, c.lat2, c.lon2), c.nm) << c.what;
    EXPECT_EQ(DistanceFeet(c.lat1, c.lon1, c.lat2, c.lon2), c.feet) << c.what;
  }
}

TEST(Geometry, CourseDueNorthComesOutAtTheTopOfTheRange) {
  const std::int16_t bearing = InitialBearing(10, 20, 11, 20);
  EXPECT_TRUE(bearing == 359 || bearing == 360) << bearing;
}

TEST(Geometry, DistanceNmIsCapped) {
  EXPECT_LE(DistanceNm(89, 0, -89, 179), 32767);
  EXPECT_EQ(DistanceNm(0, 0, 0, 180), 10800);
}

TEST(Geometry, DestinationPoints) {
  struct Case {
    const char* what;
    GeoPoint actual;
    GeoPoint expected;
  };
  const Case cases[] = {
      {"60 NM east along the equator", DestinationPointNm(0, 0, 90, 60), {0, 11930464}},
      {"no distance", DestinationPointMetres(10, 20, 45, 0), {1111305, 238609294}},
      {"negative distance", DestinationPointMetres(10, 20, 90, -1852),
       DestinationPointMetres(10, 20, 90, 1852)},
      {"bearing 360 is bearing 0", DestinationPointNm(10, 20, 360, 30),
       DestinationPointNm(10, 20, 0, 30)},
      {"feet and metres agree", DestinationPointFeet(10, 20, 135, 6080),
       DestinationPointMetres(10, 20, 135, 1852)},
      {"60 NM north", DestinationPointNm(0, 0, 0, 60), {111130, 0}},
      {"to the date line", DestinationPointNm(0, 179, 90, 60), {0, -2147483648}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.actual.Latitude, c.expected.Latitude) << c.what;
    EXPECT_EQ(c.actual.Longitude, c.expected.Longitude) << c.what;
  }
}

TEST(Geometry, DestinationAtAPoleKeepsItsLongitude) {
  const GeoPoint pole = DestinationPointNm(89, 20, 0, 60);
  EXPECT_EQ(pole.Latitude, 10001750);
}

TEST(Geometry, ClampingAndModulo) {
  EXPECT_DOUBLE_EQ(ClampedAsin(1.0000001), std::asin(1.0));
  EXPECT_DOUBLE_EQ(ClampedAsin(-2), -std::asin(1.0));
  EXPECT_DOUBLE_EQ(ClampedAcos(1.0000001), 0.0);
  EXPECT_DOUBLE_EQ(ClampedAcos(-1.5), std::acos(-1.0));
  EXPECT_DOUBLE_EQ(PositiveModulo(-1, 2 * kPi), 2 * kPi - 1);
  EXPECT_DOUBLE_EQ(PositiveModulo(7, 2), 1);
}

}  // namespace
}  // namespace tarnvale
