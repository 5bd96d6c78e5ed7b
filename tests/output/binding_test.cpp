// Tests of binding: ILS to runway ends by distance and ident with either search, fixes to airway
// points by key, progress, cancel, and two threads on large arrays.

#include "output/binding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "output/recording_view.h"

namespace tarnvale {
namespace {

using testing::RecordingView;

// About 36 degrees north; 3685 latitude units are 1.9896 NM, 3704 are
// 1.9998 NM and 3705 are 2.0003 NM.
constexpr std::int32_t kLatitude = 4'000'000;
constexpr std::int32_t kLongitude = -150'000'000;
constexpr std::int32_t kFrequency = 110'500'000;

RunwayRecord Runway(std::int32_t latitude, std::int32_t longitude, std::string_view primary,
                    std::string_view secondary = "") {
  RunwayRecord runway;
  runway.Latitude = latitude;
  runway.Longitude = longitude;
  SetText(runway.PrimaryIlsIdent, primary);
  SetText(runway.SecondaryIlsIdent, secondary);
  return runway;
}

void AddAirport(NavDatabase& db, RecordArray<RunwayRecord> runways) {
  db.AppendAirport().Runways = std::move(runways);
}

void AddIls(NavDatabase& db, std::int32_t latitude, std::int32_t longitude, std::string_view ident,
            std::int32_t frequency) {
  IlsRecord* ils = &db.AppendIls();
  ils->Latitude = latitude;
  ils->Longitude = longitude;
  SetText(ils->Ident, ident);
  ils->Frequency = frequency;
}

TEST(GreatCircleDistanceNm, WholeMinutesOfArc) {
  struct Case {
    double lat1, lon1, lat2, lon2;
    std::int32_t nm;
  };
  const Case cases[] = {
      // Distances half a mile past a whole one, clear of rounding.
      {0, 0, 1.0083333, 0, 60},         // along a meridian
      {0, 0, 0, 1.0083333, 60},         // along the equator
      {0, 179.5, 0, -179.4916667, 60},  // across the 180 degree meridian
      {89.5, 0, 89.4916667, 180, 60},   // across the pole
      {45, 10, 45, 10, 0},              // the same point
      {0, 0, 0.0333, 0, 1},             // 1.998 minutes truncate to 1
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GreatCircleDistanceNm(c.lat1, c.lon1, c.lat2, c.lon2), c.nm)
        << c.lat1 << "," << c.lon1 << " to " << c.lat2 << "," << c.lon2;
  }
}

TEST(GreatCircleDistanceNm, CoincidingPointsAreZeroWhereverRoundingLeavesTheDomain) {
  // For some of these the cosine sum rounds to just above 1.
  for (double latitude = -90; latitude <= 90; latitude += 0.37) {
    EXPECT_EQ(GreatCircleDistanceNm(latitude, 12.3, latitude, 12.3), 0) << latitude;
  }
}

TEST(GreatCircleDistanceNm, OppositePointsAreHalfTheGlobeApartNotNear) {
  for (double latitude = -89.5; latitude <= 89.5; latitude += 0.73) {
    EXPECT_GE(GreatCircleDistanceNm(latitude, 10.0, -latitude, -170.0), 10799) << latitude;
  }
}

class BindIlsTest : public ::testing::TestWithParam<IlsSearch> {
 protected:
  BindResult Bind() { return BindIlsToRunways(db, view, cancel, GetParam()); }
  const RunwayRecord& RunwayAt(std::size_t airport, std::size_t runway) const {
    return db.Airports[airport].Runways[runway];
  }

  NavDatabase db;
  RecordingView view;
  CancelFlag cancel{false};
};

TEST_P(BindIlsTest, BindsByDistanceFromTheRunwayCentre) {
  struct Case {
    std::int32_t north_units;
    bool bound;
  };
  const Case cases[] = {{0, true}, {3685, true}, {3704, true}, {3705, false}, {-3705, false}};
  for (const Case& c : cases) {
    db.Release();
    AddAirport(db, {Runway(kLatitude, kLongitude, "IABC", "IABC")});
    AddIls(db, kLatitude + c.north_units, kLongitude, "IABC", kFrequency);
    ASSERT_EQ(Bind(), BindResult::Done);
    const std::int32_t expected = c.bound ? kFrequency : 0;
    EXPECT_EQ(RunwayAt(0, 0).PrimaryIlsFrequency, expected) << c.north_units;
    EXPECT_EQ(RunwayAt(0, 0).SecondaryIlsFrequency, expected) << c.north_units;
  }
}

TEST_P(BindIlsTest, EachEndTakesOnlyTheIlsOfItsOwnIdent) {
  AddAirport(db, {Runway(kLatitude, kLongitude, "IAAA", "IBBB"),
                  Runway(kLatitude + 500, kLongitude, "IBBB", "")});
  AddIls(db, kLatitude, kLongitude, "IBBB", 111'100'000);
  AddIls(db, kLatitude + 100, kLongitude, "IAAA", 109'900'000);
  ASSERT_EQ(Bind(), BindResult::Done);
  EXPECT_EQ(RunwayAt(0, 0).PrimaryIlsFrequency, 109'900'000);
  EXPECT_EQ(RunwayAt(0, 0).SecondaryIlsFrequency, 111'100'000);
  // Two runways naming one ILS both receive it.
  EXPECT_EQ(RunwayAt(0, 1).PrimaryIlsFrequency, 111'100'000);
  EXPECT_EQ(RunwayAt(0, 1).SecondaryIlsFrequency, 0);
}

TEST_P(BindIlsTest, IdentsCompareWithLetterCaseAndEmptyIdentsNeverBind) {
  AddAirport(db, {Runway(kLatitude, kLongitude, "isea", "")});
  AddIls(db, kLatitude, kLongitude, "ISEA", 110'100'000);
  AddIls(db, kLatitude, kLongitude, "", 110'300'000);
  ASSERT_EQ(Bind(), BindResult::Done);
  EXPECT_EQ(RunwayAt(0, 0).PrimaryIlsFrequency, 0);
  EXPECT_EQ(RunwayAt(0, 0).SecondaryIlsFrequency, 0);
}

TEST_P(BindIlsTest, TheSameIdentAtTwoDistantAirportsBindsEachToItsOwn) {
  AddAirport(db, {Runway(kLatitude, kLongitude, "IXYZ")});
  AddAirport(db, {Runway(-kLatitude, 50'000'000, "IXYZ")});
  AddIls(db, -kLatitude, 50'000'000, "IXYZ", 108'700'000);
  AddIls(db, kLatitude, kLongitude, "IXYZ", 110'900'000);
  ASSERT_EQ(Bind(), BindResult::Done);
  EXPECT_EQ(RunwayAt(0, 0).PrimaryIlsFrequency, 110'900'000);
  EXPECT_EQ(RunwayAt(1, 0).PrimaryIlsFrequency, 108'700'000);
}

TEST_P(BindIlsTest, TheLastMatchingIlsInArrayOrderDecides) {
  AddAirport(db, {Runway(kLatitude, kLongitude, "IDUP")});
  AddIls(db, kLatitude + 3000, kLongitude, "IDUP", 1);
  AddIls(db, kLatitude, kLongitude, "IDUP", 2);
  AddIls(db, kLatitude - 3000, kLongitude, "IDUP", 3);
  AddIls(db, kLatitude + 9000, kLongitude, "IDUP", 4);  // too far
  ASSERT_EQ(Bind(), BindResult::Done);
  EXPECT_EQ(RunwayAt(0, 0).PrimaryIlsFrequency, 3);
  // As explain tells it: the three in range are tied to the end, which the
  // last of them decides.
  for (std::size_t ils = 0; ils < db.Ilss.size(); ++ils) {
    const std::vector<IlsTie> ties = RunwayEndsOfIls(db, ils);
    ASSERT_EQ(ties.size(), ils < 3 ? 1u : 0u) << ils;
    if (ties.empty()) continue;
    EXPECT_TRUE(ties[0].end.primary);
    EXPECT_EQ(ties[0].decided_by, 2u) << ils;
  }
}

TEST_P(BindIlsTest, ReportsOneProgressStepPerAirport) {
  AddAirport(db, {});
  AddAirport(db, {Runway(kLatitude, kLongitude, "IABC")});
  AddIls(db, kLatitude, kLongitude, "IABC", kFrequency);
  ASSERT_EQ(Bind(), BindResult::Done);
  EXPECT_EQ(view.calls,
            (std::vector<std::string>{"range 0 4", "step 1", "position 0", "stepit", "stepit"}));
}

TEST_P(BindIlsTest, CancelStopsBeforeTheNextAirport) {
  for (int i = 0; i < 3; ++i) AddAirport(db, {Runway(kLatitude, kLongitude, "IABC")});
  AddIls(db, kLatitude, kLongitude, "IABC", kFrequency);
  view.on_step = [&] { cancel = true; };
  EXPECT_EQ(Bind(), BindResult::Cancelled);
  EXPECT_EQ(RunwayAt(0, 0).PrimaryIlsFrequency, kFrequency);
  EXPECT_EQ(RunwayAt(1, 0).PrimaryIlsFrequency, 0);
  EXPECT_EQ(RunwayAt(2, 0).PrimaryIlsFrequency, 0);
}

// World-sized airport arrays are bound by two threads; every runway still
// gets the ILS near it, and the bar ends at the full position.
TEST_P(BindIlsTest, LargeArraysBindEveryAirport) {
  constexpr int kAirports = 10000;
  constexpr std::int32_t kSpacing = 20000;  // about 11 NM between airports
  for (int i = 0; i < kAirports; ++i) {
    AddAirport(db, {Runway(kLatitude + i % 100 * kSpacing, kLongitude + i / 100 * kSpacing * 100,
                           "IABC")});
  }
  for (int i = 0; i < kAirports; i += 97) {
    AddIls(db, kLatitude + i % 100 * kSpacing, kLongitude + i / 100 * kSpacing * 100, "IABC",
           100 + i);
  }
  ASSERT_EQ(Bind(), BindResult::Done);
  for (int i = 0; i < kAirports; ++i) {
    ASSERT_EQ(RunwayAt(i, 0).PrimaryIlsFrequency, i % 97 == 0 ? 100 + i : 0) << i;
  }
  EXPECT_EQ(view.calls.back(), "position " + std::to_string(kAirports));
}

INSTANTIATE_TEST_SUITE_P(BothSearches, BindIlsTest,
                         ::testing::Values(IlsSearch::SpatialIndex, IlsSearch::CrossProduct),
                         [](const auto& info) {
                           return info.param == IlsSearch::SpatialIndex ? "SpatialIndex"
                                                                        : "CrossProduct";
                         });

class BindFixesTest : public ::testing::Test {
 protected:
  void AddFix(std::string_view key, std::int32_t latitude, std::int32_t longitude) {
    FixRecord fix;
    SetText(fix.FixKey, key);
    fix.Latitude = latitude;
    fix.Longitude = longitude;
    db.AppendFix() = fix;
    ASSERT_TRUE(db.IndexLastFix());
  }
  void AddAirway(RecordArray<AirwayRecord>& airways, std::vector<std::string_view> keys) {
    airways.emplace_back();
    for (const std::string_view key : keys) SetText(db.AppendAirwayPoint(airways)->FixKey, key);
  }

  NavDatabase db;
  RecordingView view;
  CancelFlag cancel{false};
};

TEST_F(BindFixesTest, PointsTakeThePositionOfTheFixWithTheirExactKey) {
  AddFix("K2ABCDE", 100, 200);
  AddFix("K2ABCDE", 300, 400);  // the later fix of a key wins
  AddFix("K2FGHIJ", 500, 600);
  AddAirway(db.VictorAirways, {"K2ABCDE", "k2fghij", "K2NONE", "K2FGHIJ"});
  ASSERT_EQ(BindFixesToVictorAirways(db, view, cancel), BindResult::Done);
  const RecordArray<AirwayPointRecord>& points = db.VictorAirways[0].Points;
  EXPECT_EQ(points[0].Latitude, 300);
  EXPECT_EQ(points[0].Longitude, 400);
  EXPECT_EQ(points[1].Latitude, 0);   // letter case differs
  EXPECT_EQ(points[2].Longitude, 0);  // no such fix
  EXPECT_EQ(points[3].Latitude, 500);
  EXPECT_EQ(points[3].Longitude, 600);
}

TEST_F(BindFixesTest, JetAndVictorStepsEachBindOnlyTheirOwnArray) {
  AddFix("FIX1", 7, 8);
  AddAirway(db.JetAirways, {"FIX1"});
  AddAirway(db.JetAirways, {});
  AddAirway(db.VictorAirways, {"FIX1"});
  ASSERT_EQ(BindFixesToJetAirways(db, view, cancel), BindResult::Done);
  EXPECT_EQ(db.JetAirways[0].Points[0].Latitude, 7);
  EXPECT_EQ(db.VictorAirways[0].Points[0].Latitude, 0);
  EXPECT_EQ(view.calls,
            (std::vector<std::string>{"range 0 4", "step 1", "position 0", "stepit", "stepit"}));
}

TEST_F(BindFixesTest, CancelStopsAtTheNextPoint) {
  AddFix("FIX1", 7, 8);
  AddAirway(db.JetAirways, {"FIX1"});
  AddAirway(db.JetAirways, {"FIX1"});
  view.on_step = [&] { cancel = true; };
  EXPECT_EQ(BindFixesToJetAirways(db, view, cancel), BindResult::Cancelled);
  EXPECT_EQ(db.JetAirways[0].Points[0].Latitude, 7);
  EXPECT_EQ(db.JetAirways[1].Points[0].Latitude, 0);
}

// World-sized arrays are bound by two threads; the result must not show it.
TEST_F(BindFixesTest, LargeArraysBindEveryPointAndEndAtTheFullPosition) {
  constexpr int kAirways = 20000;
  AddFix("EVEN", 1, 2);
  AddFix("ODD", 3, 4);
  for (int i = 0; i < kAirways; ++i) AddAirway(db.VictorAirways, {i % 2 ? "ODD" : "EVEN", "NONE"});
  ASSERT_EQ(BindFixesToVictorAirways(db, view, cancel), BindResult::Done);
  for (int i = 0; i < kAirways; ++i) {
    const RecordArray<AirwayPointRecord>& points = db.VictorAirways[i].Points;
    ASSERT_EQ(points[0].Latitude, i % 2 ? 3 : 1) << i;
    ASSERT_EQ(points[0].Longitude, i % 2 ? 4 : 2) << i;
    ASSERT_EQ(points[1].Latitude, 0) << i;
  }
  EXPECT_EQ(view.calls.back(), "position " + std::to_string(kAirways));
}

TEST_F(BindFixesTest, CancelStopsBothThreadsOfALargeArray) {
  AddFix("FIX1", 7, 8);
  for (int i = 0; i < 20000; ++i) AddAirway(db.JetAirways, {"FIX1"});
  view.on_step = [&] { cancel = true; };
  EXPECT_EQ(BindFixesToJetAirways(db, view, cancel), BindResult::Cancelled);
  EXPECT_EQ(db.JetAirways[0].Points[0].Latitude, 7);
  EXPECT_EQ(db.JetAirways[1].Points[0].Latitude, 0);
}

}  // namespace
}  // namespace tarnvale
