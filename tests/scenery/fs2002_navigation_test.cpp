// Tests of the FS2002 navigation chain: fix lists, victor and jet airway lists, and the airports of
// every list.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scenery/fs2002_test_helpers.h"
#include "sceneryfab/fs2002_writer.h"

namespace tarnvale {
namespace {

using fab::Fs2002Chunk;
using testing::Fs2002Entry;
using testing::Fs2002NavigationFile;
using testing::ReadFs2002Facility;

Fs2002Chunk Fix(const std::string& key, fab::Position position = {}) {
  fab::Intersection intersection;
  intersection.ident = key;
  intersection.position = position;
  return fab::EncodeFs2002Fix(intersection);
}

Fs2002Chunk Point(const std::string& key, double altitude_m = 0.0) {
  return fab::EncodeFs2002AirwayPoint({key, {}, altitude_m});
}

Fs2002Chunk List(std::uint32_t kind, std::vector<Fs2002Chunk> records) {
  return fab::MakeFs2002List(kind, std::move(records));
}

TEST(Fs2002Fixes, FixListsEndAtAnotherRecordTypeAndIndexTheTrimmedKey) {
  const fab::Position where{45.5, -73.25};
  NavDatabase db;
  ASSERT_EQ(ReadFs2002Facility(db, Fs2002NavigationFile(
                                       {List(fab::kFs2002FixListKind,
                                             {Fix("  ABC   ", where), Fix("ABC"),
                                              fab::EncodeFs2002AirwayName("V1"), Fix("LATER")})})),
            Fs2002Result::Done);
  ASSERT_EQ(db.Fixes.size(), 2u);
  EXPECT_EQ(TextOf(db.Fixes[0].FixKey), "ABC");
  EXPECT_EQ(db.Fixes[0].Latitude, fab::Fs2002LatitudeWord(where.latitude));
  EXPECT_EQ(db.Fixes[0].Longitude, fab::Fs2002LongitudeWord(where.longitude));
  EXPECT_EQ(db.Fixes[0].FileSize, 22u);
  EXPECT_EQ(db.Fixes[0].Kind, 6);
  ASSERT_NE(db.FindFix("ABC"), nullptr);
  EXPECT_EQ(db.FindFix("ABC")->Latitude, 0);  // the later fix of the same key
  EXPECT_EQ(db.FindFix("LATER"), nullptr);
}

TEST(Fs2002Fixes, AFixListStopsAtTheEndOfItsChunk) {
  // The list chunk claims only its first two fixes; the third lies behind
  // it and is met by the chain walk as a chunk of another type.
  Fs2002Chunk list = List(fab::kFs2002FixListKind, {Fix("ONE"), Fix("TWO"), Fix("THREE")});
  list.size = static_cast<std::uint32_t>(list.body.size() - fab::Serialize(Fix("THREE")).size());
  NavDatabase db;
  ASSERT_EQ(ReadFs2002Facility(db, Fs2002NavigationFile({list})), Fs2002Result::Done);
  ASSERT_EQ(db.Fixes.size(), 2u);
  EXPECT_EQ(TextOf(db.Fixes[1].FixKey), "TWO");
}

TEST(Fs2002Airways, VictorAndJetListsFillTheirArrays) {
  NavDatabase db;
  ASSERT_EQ(
      ReadFs2002Facility(
          db, Fs2002NavigationFile(
                  {List(fab::kFs2002VictorListKind,
                        {fab::EncodeFs2002AirwayName(" V23"), Point("SEA", 3048.0), Point(" OLM "),
                         Point("HQM"), fab::EncodeFs2002AirwayName("V4"), Point("PDX")}),
                   List(fab::kFs2002JetListKind, {fab::EncodeFs2002AirwayName("J5"), Point("SEA")}),
                   List(9, {fab::EncodeFs2002AirwayName("X9"), Point("SEA")})})),
      Fs2002Result::Done);
  ASSERT_EQ(db.VictorAirways.size(), 2u);
  const AirwayRecord& v23 = db.VictorAirways[0];
  EXPECT_EQ(v23.Kind, 8);
  EXPECT_EQ(TextOf(v23.Name), "V23");
  ASSERT_EQ(v23.Points.size(), 3u);
  EXPECT_EQ(v23.FileSize, 81u);
  EXPECT_EQ(TextOf(v23.Points[1].FixKey), "OLM");
  EXPECT_EQ(v23.Points[0].AltitudeFeet, 10000);  // the stored word, unconverted
  EXPECT_EQ(v23.Points[0].Latitude, 0);
  ASSERT_EQ(db.JetAirways.size(), 1u);
  EXPECT_EQ(db.JetAirways[0].Kind, 7);
  EXPECT_EQ(db.JetAirways[0].Points.size(), 1u);
}

TEST(Fs2002Airways, PointsBeforeAnyAirwayJoinTheLastAirwayOfAnEarlierFile) {
  const auto leading_points =
      Fs2002NavigationFile({List(fab::kFs2002JetListKind, {Point("AAA"), Point("BBB")})});
  NavDatabase db;
  ASSERT_EQ(ReadFs2002Facility(db, leading_points), Fs2002Result::Done);
  EXPECT_TRUE(db.JetAirways.empty());

  ASSERT_EQ(
      ReadFs2002Facility(
          db, Fs2002NavigationFile({List(fab::kFs2002JetListKind,
                                         {fab::EncodeFs2002AirwayName("J1"), Point("START")})})),
      Fs2002Result::Done);
  ASSERT_EQ(ReadFs2002Facility(db, leading_points), Fs2002Result::Done);
  ASSERT_EQ(db.JetAirways.size(), 1u);
  ASSERT_EQ(db.JetAirways[0].Points.size(), 3u);
  EXPECT_EQ(TextOf(db.JetAirways[0].Points[2].FixKey), "BBB");
  EXPECT_EQ(db.JetAirways[0].FileSize, 18u + 3 * 21);
  EXPECT_TRUE(db.VictorAirways.empty());
}

TEST(Fs2002Airways, AnAirwayListEndsAtARecordOfTypeZero) {
  NavDatabase db;
  ASSERT_EQ(ReadFs2002Facility(
                db, Fs2002NavigationFile({List(fab::kFs2002VictorListKind,
                                               {fab::EncodeFs2002AirwayName("V1"), Point("A"),
                                                Fs2002Chunk{0, {}, std::nullopt}, Point("B")})})),
            Fs2002Result::Done);
  ASSERT_EQ(db.VictorAirways.size(), 1u);
  EXPECT_EQ(db.VictorAirways[0].Points.size(), 1u);
}

TEST(Fs2002NavigationChain, EveryAirportOfEveryListIsDecodedOnce) {
  const fab::Fs2002AirportList first{{Fs2002Entry({fab::EncodeFs2002Ident("AAAA")}),
                                      Fs2002Entry({fab::EncodeFs2002Ident("BBBB")})},
                                     std::nullopt};
  const fab::Fs2002AirportList second{{Fs2002Entry({fab::EncodeFs2002Ident("CCCC")})},
                                      std::nullopt};
  NavDatabase db;
  ASSERT_EQ(ReadFs2002Facility(db, Fs2002NavigationFile(
                                       {first, second, List(fab::kFs2002FixListKind, {Fix("F")})})),
            Fs2002Result::Done);
  ASSERT_EQ(db.Airports.size(), 3u);
  EXPECT_EQ(TextOf(db.Airports[0].Ident), "AAAA");
  EXPECT_EQ(TextOf(db.Airports[1].Ident), "BBBB");
  EXPECT_EQ(TextOf(db.Airports[2].Ident), "CCCC");
  EXPECT_EQ(db.Fixes.size(), 1u);
}

}  // namespace
}  // namespace tarnvale
