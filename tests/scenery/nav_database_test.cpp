// Tests of the navigation database: appends and file sizes, sub-records, the fix index, release,
// and allocations failed on demand.

#include "scenery/nav_database.h"

#include <gtest/gtest.h>

#include <new>

#include "platform/fault_injection.h"

namespace tarnvale {
namespace {

TEST(NavDatabase, AppendsSetKindAndFixedFileSizes) {
  NavDatabase db;
  EXPECT_EQ(db.AppendAirport().Kind, 1);
  EXPECT_EQ(db.AppendFuelArea().FileSize, 15u);
  EXPECT_EQ(db.AppendMarker().FileSize, 14u);
  EXPECT_EQ(db.AppendVor().Kind, 4);
  EXPECT_EQ(db.AppendNdb().Kind, 5);
  EXPECT_EQ(db.AppendFix().FileSize, 22u);
  EXPECT_EQ(db.AppendJetAirway().Kind, 7);
  EXPECT_EQ(db.AppendVictorAirway().Kind, 8);
  ASSERT_NE(db.AppendAirwayPoint(db.VictorAirways), nullptr);
  db.AppendAirwayPoint(db.VictorAirways);
  db.AppendAirwayPoint(db.VictorAirways);
  EXPECT_EQ(db.VictorAirways.back().FileSize, 81u);  // 18 + 3 x 21
  EXPECT_EQ(db.JetAirways.back().FileSize, 18u);
}

TEST(NavDatabase, AirportFileSizeCountsNameAndSubRecords) {
  NavDatabase db;
  AirportRecord* airport = &db.AppendAirport();
  EXPECT_EQ(AirportFileSize(*airport), 55u);
  airport->NameLength = 10;
  db.AllocateText(airport->Name, 10);
  ASSERT_EQ(airport->Name.size(), 10u);
  db.AppendRunway();
  db.AppendRunway();
  EXPECT_EQ(AirportFileSize(db.Airports.back()), 209u);
  ASSERT_TRUE(db.AllocateTaxiwayPoints(2));
  ASSERT_TRUE(db.AllocateTaxiwayPaths(1));
  ASSERT_TRUE(db.AllocateParkings(1));
  ASSERT_TRUE(db.AllocateTaxiNames(3));
  EXPECT_EQ(AirportFileSize(db.Airports.back()), 209u + 18 + 16 + 16 + 24);
}

TEST(NavDatabase, SubRecordsNeedACurrentOwner) {
  NavDatabase db;
  EXPECT_EQ(db.AppendRunway(), nullptr);
  EXPECT_FALSE(db.AllocateParkings(1));
  EXPECT_EQ(db.AppendVertex(), nullptr);
  EXPECT_EQ(db.AppendAirwayPoint(db.JetAirways), nullptr);
}

TEST(NavDatabase, LaterFixWithSameKeyWinsInIndexButBothStay) {
  NavDatabase db;
  for (int latitude : {100, 200}) {
    FixRecord* fix = &db.AppendFix();
    fix->Latitude = latitude;
    SetText(fix->FixKey, "K2ABCDE");
    ASSERT_TRUE(db.IndexLastFix());
  }
  EXPECT_EQ(db.Fixes.size(), 2u);
  ASSERT_NE(db.FindFix("K2ABCDE"), nullptr);
  EXPECT_EQ(db.FindFix("K2ABCDE")->Latitude, 200);
  EXPECT_EQ(db.FindFix("k2abcde"), nullptr);  // keys are case-sensitive
}

TEST(NavDatabase, ReleaseEmptiesEverythingAndMayRepeat) {
  NavDatabase db;
  db.Release();
  EXPECT_TRUE(db.Empty());
  db.AppendAirport();
  db.AppendRunway();
  db.AppendFix();
  EXPECT_TRUE(db.IndexLastFix());
  db.AppendAirspace();
  db.AppendVertex();
  EXPECT_FALSE(db.Empty());
  db.Release();
  db.Release();
  EXPECT_TRUE(db.Empty());
  EXPECT_EQ(db.FindFix(""), nullptr);
}

// Every kind of allocation throws std::bad_alloc once the budget is spent,
// so decoders can be driven into their out-of-memory result at any step.
TEST(NavDatabase, AllocationBudgetFailsEveryKindOfAllocation) {
  NavDatabase db;
  db.AppendAirport();
  db.AppendAirspace();
  db.AppendJetAirway();
  db.AppendFix();
  platform::FaultScope faults;
  faults.LimitAllocations(platform::FaultSite::DatabaseAllocation, 0);
  std::string text;
  EXPECT_THROW(db.AppendAirport(), std::bad_alloc);
  EXPECT_THROW(db.AppendFix(), std::bad_alloc);
  EXPECT_THROW(db.AppendRunway(), std::bad_alloc);
  EXPECT_THROW(static_cast<void>(db.AllocateTaxiwayPoints(1)), std::bad_alloc);
  EXPECT_THROW(db.AppendVertex(), std::bad_alloc);
  EXPECT_THROW(db.AppendAirwayPoint(db.JetAirways), std::bad_alloc);
  EXPECT_EQ(db.JetAirways.back().FileSize, 18u);
  EXPECT_THROW(db.AllocateText(text, 4), std::bad_alloc);
  EXPECT_THROW(static_cast<void>(db.IndexLastFix()), std::bad_alloc);
  EXPECT_THROW(static_cast<void>(db.RememberAirportIdent()), std::bad_alloc);
  faults.LimitAllocations(platform::FaultSite::DatabaseAllocation, 2);
  EXPECT_NO_THROW(db.AppendMarker());
  EXPECT_NO_THROW(db.AppendMarker());
  EXPECT_THROW(db.AppendMarker(), std::bad_alloc);
  platform::ClearFaults();
  EXPECT_NO_THROW(db.AppendMarker());
}

TEST(FixedText, SetTextCutsAndZeroFillsBehind) {
  FixedText<6> ident;
  ident.fill('x');
  SetText(ident, "KJFK");
  EXPECT_EQ(TextOf(ident), "KJFK");
  EXPECT_EQ(ident[4], '\0');
  EXPECT_EQ(ident[5], '\0');
  SetText(ident, "TOOLONG");
  EXPECT_EQ(TextOf(ident), "TOOLO");
  FixedText<8> taxi_name{};
  SetText(taxi_name, "ABCDEFGHIJ", 8);  // a taxiway name needs no terminator
  EXPECT_EQ(TextOf(taxi_name), "ABCDEFGH");
}

}  // namespace
}  // namespace tarnvale
