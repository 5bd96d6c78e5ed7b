// Tests of the FS2004 navaid decoders: VORs, ILS and other types, NDBs, and marker beacons.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fs2004_test_support.h"
#include "scenery/bgl_loader.h"
#include "scenery/nav_database.h"
#include "sceneryfab/fs2004_writer.h"

namespace tarnvale {
namespace {

using testing::LoadContent;

fab::Vor SampleVor() {
  fab::Vor vor;
  vor.type = fab::VorType::HighAltitude;
  vor.ident = "JFK";
  vor.region = "K6";
  vor.position = {40.633, -73.771};
  vor.frequency_hz = 115900000;
  vor.range_m = 370400.0;
  return vor;
}

TEST(DecodeVorIls, Vors) {
  struct Case {
    const char* what;
    fab::VorType type;
    std::optional<std::string> name;
    double range_m;
    std::uint16_t name_length;
    std::uint8_t range_nm;
  };
  const Case cases[] = {
      {"terminal, 200 NM", fab::VorType::Terminal, "KEN", 370400.0, 4, 200},
      {"low, no name, 300 NM kept modulo 256", fab::VorType::LowAltitude, std::nullopt, 555600.0, 0,
       44},
      {"high, empty name, range below 2 m", fab::VorType::HighAltitude, "", 1.5, 0, 0},
      {"just under one mile", fab::VorType::HighAltitude, "A", 1851.9, 2, 0},
  };
  for (const Case& c : cases) {
    fab::SceneryContent content;
    content.vors.push_back(SampleVor());
    content.vors[0].type = c.type;
    content.vors[0].name = c.name;
    content.vors[0].range_m = c.range_m;
    NavDatabase db;
    ASSERT_EQ(LoadContent(db, content), LoadResult::Ok) << c.what;
    ASSERT_EQ(db.Vors.size(), 1u) << c.what;
    const NavaidRecord& vor = db.Vors[0];
    EXPECT_EQ(vor.Kind, 4) << c.what;
    EXPECT_EQ(TextOf(vor.Ident), "JFK") << c.what;
    EXPECT_EQ(vor.Frequency, 115900000) << c.what;
    EXPECT_EQ(vor.RangeNm, c.range_nm) << c.what;
    EXPECT_EQ(vor.NameLength, c.name_length) << c.what;
    EXPECT_EQ(vor.Name.size(), c.name_length) << c.what;
    EXPECT_EQ(vor.FileSize, 26u + c.name_length) << c.what;
    testing::ExpectUnitsNear(vor.Latitude, vor.Longitude, SampleVor().position);
    EXPECT_TRUE(db.Ilss.empty()) << c.what;
  }
}

TEST(DecodeVorIls, ALaterNameReplacesTheEarlier) {
  fab::Fs2004Record vor = fab::EncodeVor(SampleVor());
  vor.sub_records.push_back(fab::EncodeName("KENNEDY"));
  vor.sub_records.push_back(fab::EncodeName("JFK"));
  vor.sub_records.push_back(fab::EncodeName(""));  // size 6: no name, nothing replaced
  NavDatabase db;
  ASSERT_EQ(testing::LoadRecord(db, fab::kFs2004VorIls, vor), LoadResult::Ok);
  ASSERT_EQ(db.Vors.size(), 1u);
  EXPECT_EQ(db.Vors[0].Name, std::string("JFK") + '\0');
  EXPECT_EQ(db.Vors[0].FileSize, 30u);
}

TEST(DecodeVorIls, IlsAndOtherTypes) {
  fab::Ils ils;
  ils.ident = "IJFK";
  ils.region = "K6";
  ils.name = "ILS 4L";
  ils.position = {40.62, -73.79};
  ils.frequency_hz = 110900000;
  ils.airport = "KJFK";
  fab::Fs2004Record other = fab::EncodeVor(SampleVor());
  other.body[0] = 5;  // the type byte, behind the header
  NavDatabase db;
  ASSERT_EQ(testing::LoadRecords(db, fab::kFs2004VorIls,
                                 {fab::Serialize(other), fab::Serialize(fab::EncodeIls(ils))}),
            LoadResult::Ok);
  EXPECT_TRUE(db.Vors.empty());
  ASSERT_EQ(db.Ilss.size(), 1u);
  EXPECT_EQ(TextOf(db.Ilss[0].Ident), "IJFK");
  EXPECT_EQ(db.Ilss[0].Frequency, 110900000);
  testing::ExpectUnitsNear(db.Ilss[0].Latitude, db.Ilss[0].Longitude, ils.position);
}

TEST(DecodeNdb, Ndbs) {
  fab::Ndb ndb;
  ndb.ident = "LQ";
  ndb.region = "LO";
  ndb.name = "Linz Quebec";
  ndb.position = {48.2, 14.1};
  ndb.frequency_hz = 415000;
  ndb.range_m = 92600.0;
  fab::Ndb unnamed = ndb;
  unnamed.name.reset();
  unnamed.ident = "ABCDE";
  fab::SceneryContent content;
  content.ndbs = {ndb, unnamed};
  NavDatabase db;
  ASSERT_EQ(LoadContent(db, content), LoadResult::Ok);
  ASSERT_EQ(db.Ndbs.size(), 2u);
  const NavaidRecord& first = db.Ndbs[0];
  EXPECT_EQ(first.Kind, 5);
  EXPECT_EQ(TextOf(first.Ident), "LQ");
  EXPECT_EQ(first.Frequency, 415000);
  EXPECT_EQ(first.RangeNm, 50);
  EXPECT_EQ(first.NameLength, 12);
  EXPECT_EQ(first.Name, std::string("Linz Quebec") + '\0');
  EXPECT_EQ(first.FileSize, 38u);
  testing::ExpectUnitsNear(first.Latitude, first.Longitude, ndb.position);
  EXPECT_EQ(TextOf(db.Ndbs[1].Ident), "ABCDE");
  EXPECT_EQ(db.Ndbs[1].FileSize, 26u);
}

TEST(DecodeMarker, KnownTypesOnly) {
  fab::SceneryContent content;
  for (int type : {0, 1, 2, 3, 7}) {
    fab::Marker marker;
    marker.type = static_cast<fab::MarkerType>(type);
    marker.position = {50.0 + type, 8.0 + type};
    content.markers.push_back(marker);
  }
  NavDatabase db;
  ASSERT_EQ(LoadContent(db, content), LoadResult::Ok);
  ASSERT_EQ(db.Markers.size(), 4u);  // the type-7 marker adds nothing
  for (std::size_t type = 0; type < 4; ++type) {
    const MarkerRecord& marker = db.Markers[type];
    EXPECT_EQ(marker.Kind, 3);
    EXPECT_EQ(marker.FileSize, 14u);
    EXPECT_EQ(marker.MarkerType, type);
    testing::ExpectUnitsNear(marker.Latitude, marker.Longitude, content.markers[type].position);
  }
}

}  // namespace
}  // namespace tarnvale
