// Tests of the FS2002 airport reader: runway designations, headings and ends, reference point,
// frequencies, names, ILS idents, markers and lists.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scenery/decoding.h"
#include "scenery/fs2002_readers.h"
#include "scenery/fs2002_test_helpers.h"
#include "sceneryfab/fs2002_writer.h"

namespace tarnvale {
namespace {

using fab::Fs2002Chunk;
using testing::Fs2002AirportFile;
using testing::Fs2002Entry;
using testing::ReadFs2002Facility;

// Chunk offsets of runway words, as offsets into the chunk body.
constexpr std::size_t kHeadingAt = 32 - 8;
constexpr std::size_t kLengthAt = 40 - 8;
constexpr std::size_t kDesignatorAt = 48 - 8;
constexpr std::size_t kNumberAt = 52 - 8;

Fs2002Chunk RunwayChunk(std::uint32_t number, std::uint32_t designator,
                        std::uint32_t heading_word = 0, std::uint32_t length_ft = 5000) {
  fab::Runway runway;
  runway.centre = {0.0, 0.0};
  Fs2002Chunk chunk = fab::EncodeFs2002Runway(runway);
  fab::PutU32(chunk.body, kNumberAt, number);
  fab::PutU32(chunk.body, kDesignatorAt, designator);
  fab::PutU32(chunk.body, kHeadingAt, heading_word);
  fab::PutU32(chunk.body, kLengthAt, length_ft);
  return chunk;
}

Fs2002Chunk ComChunk(std::uint32_t packed_digits, std::uint32_t kind) {
  Fs2002Chunk chunk = fab::EncodeFs2002Com({});
  fab::PutU32(chunk.body, 0, packed_digits);
  fab::PutU32(chunk.body, 4, kind);
  return chunk;
}

Fs2002Chunk MarkerChunk(std::uint32_t bgl_kind, fab::Position position = {}) {
  fab::Marker marker;
  marker.position = position;
  Fs2002Chunk chunk = fab::EncodeFs2002Marker(marker);
  fab::PutU32(chunk.body, 44 - 8, bgl_kind);
  return chunk;
}

// Reads a one-airport file and returns its airport.
AirportRecord ReadAirport(std::vector<Fs2002Chunk> chunks, NavDatabase& db) {
  EXPECT_EQ(ReadFs2002Facility(db, Fs2002AirportFile(std::move(chunks))), Fs2002Result::Done);
  EXPECT_EQ(db.Airports.size(), 1u);
  return db.Airports.empty() ? AirportRecord{} : db.Airports.back();
}

TEST(Fs2002Runways, DesignationsFollowNumberAndDesignatorCode) {
  struct Case {
    std::uint32_t number, designator;
    const char* primary;
    const char* secondary;
    std::uint8_t helipad;
  };
  const std::vector<Case> cases = {
      {9, 1, "9L", "27R", 0}, {27, 2, "27R", "9L", 0}, {1, 3, "1C", "19C", 0},
      {36, 0, "36", "18", 0}, {18, 0, "18", "36", 0},  {0, 0, "0", "18", 0},
      {0, 4, "0H", "18H", 1}, {37, 0, "", "", 0},      {9, 5, "", "", 0},
      {37, 4, "", "", 0},
  };
  std::vector<Fs2002Chunk> chunks;
  for (const Case& c : cases) chunks.push_back(RunwayChunk(c.number, c.designator));
  NavDatabase db;
  const AirportRecord airport = ReadAirport(chunks, db);
  ASSERT_EQ(airport.Runways.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const RunwayRecord& runway = airport.Runways[i];
    SCOPED_TRACE(std::to_string(cases[i].number) + " code " + std::to_string(cases[i].designator));
    EXPECT_EQ(TextOf(runway.PrimaryDesignation), cases[i].primary);
    EXPECT_EQ(TextOf(runway.SecondaryDesignation), cases[i].secondary);
    EXPECT_EQ(runway.IsHelipad, cases[i].helipad);
  }
}

TEST(Fs2002Runways, HeadingUsesTheUpperHalfOfItsWord) {
  struct Case {
    std::uint32_t word;
    std::int16_t heading, opposite;
  };
  const std::vector<Case> cases = {{0x80000000u, 180, 0},
                                   {0xFFFF0000u, 359, 179},
                                   {0x0000FFFFu, 0, 180},
                                   {0x40000000u, 90, 270}};
  std::vector<Fs2002Chunk> chunks;
  for (const Case& c : cases) chunks.push_back(RunwayChunk(9, 0, c.word));
  NavDatabase db;
  const AirportRecord airport = ReadAirport(chunks, db);
  ASSERT_EQ(airport.Runways.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(airport.Runways[i].Heading, cases[i].heading) << std::hex << cases[i].word;
    EXPECT_EQ(airport.Runways[i].OppositeHeading, cases[i].opposite) << std::hex << cases[i].word;
  }
}

TEST(Fs2002Runways, EndsLieInsideRunwaysLongerThan300Metres) {
  // Heading 0 at the equator: the ends differ only in latitude, and one
  // latitude unit is about one metre.
  struct Case {
    std::uint32_t length_ft;
    double span_m;  // 1000 ft = 304 m, shortened by 60; 984 ft = 299 m
  };
  for (const Case& c : {Case{1000, 244.0}, Case{984, 299.0}}) {
    NavDatabase db;
    const AirportRecord airport = ReadAirport({RunwayChunk(36, 0, 0, c.length_ft)}, db);
    ASSERT_EQ(airport.Runways.size(), 1u);
    const RunwayRecord& runway = airport.Runways[0];
    EXPECT_EQ(runway.LengthFeet, static_cast<std::int32_t>(c.length_ft));
    EXPECT_NEAR(runway.SecondaryEndLatitude - runway.PrimaryEndLatitude, c.span_m, 1.5)
        << c.length_ft;
    EXPECT_NEAR(runway.SecondaryEndLatitude, c.span_m / 2, 1.0) << c.length_ft;
    EXPECT_EQ(runway.PrimaryEndLongitude, 0);
    EXPECT_EQ(runway.SecondaryEndLongitude, 0);
  }
}

TEST(Fs2002Runways, CentreAltitudeAndWidthAreConverted) {
  fab::Runway runway;
  runway.centre = {47.5, -122.25};
  runway.altitude_m = 100.0;
  runway.width_m = 45.72;  // 150 ft
  NavDatabase db;
  const AirportRecord airport = ReadAirport({fab::EncodeFs2002Runway(runway)}, db);
  ASSERT_EQ(airport.Runways.size(), 1u);
  EXPECT_NEAR(airport.Runways[0].Latitude, 47.5 / 90 * 10001750, 1.0);
  EXPECT_NEAR(airport.Runways[0].Longitude, -122.25 / 360 * 4294967296.0, 1.0);
  EXPECT_EQ(airport.Runways[0].AltitudeFeet, 328);
  EXPECT_EQ(airport.Runways[0].WidthFeet, 150);
}

TEST(Fs2002Airports, ReferencePointIsCopiedAndAltitudeConverted) {
  NavDatabase db;
  const fab::Position where{-33.95, 151.18};
  const AirportRecord airport = ReadAirport({fab::EncodeFs2002ReferencePoint(where, -10.0)}, db);
  EXPECT_EQ(airport.Latitude, fab::Fs2002LatitudeWord(where.latitude));
  EXPECT_EQ(airport.Longitude, fab::Fs2002LongitudeWord(where.longitude));
  EXPECT_EQ(airport.AltitudeFeet, -32);
}

TEST(Fs2002Airports, FrequenciesAreExactAndOnlyGroundAndTowerCount) {
  struct Case {
    std::uint32_t digits, kind;
    std::int32_t ground, tower;
    std::uint8_t has_tower_or_ground;
  };
  const std::vector<Case> cases = {
      {0x01219000, 5, 121900000, 0, 1},
      {0x01280100, 6, 0, 128010000, 1},  // not 128009999
      {0x01181000, 7, 0, 0, 0},
  };
  for (const Case& c : cases) {
    NavDatabase db;
    const AirportRecord airport = ReadAirport({ComChunk(c.digits, c.kind)}, db);
    EXPECT_EQ(airport.GroundFrequency, c.ground) << c.kind;
    EXPECT_EQ(airport.TowerFrequency, c.tower) << c.kind;
    EXPECT_EQ(airport.HasTowerOrGround, c.has_tower_or_ground) << c.kind;
  }
}

TEST(Fs2002Airports, IdentifierKeepsFiveCharactersAndTheLastChunkWins) {
  struct Case {
    std::vector<std::string> idents;
    const char* expected;
  };
  const std::vector<Case> cases = {{{"ABCDEFGHIJKL"}, "ABCDE"},
                                   {{" KJF "}, "KJF"},
                                   {{"KSEA", "KBFI"}, "KBFI"},
                                   {{"AB\0CD"}, "AB"}};
  for (const Case& c : cases) {
    std::vector<Fs2002Chunk> chunks;
    for (const std::string& ident : c.idents) chunks.push_back(fab::EncodeFs2002Ident(ident));
    NavDatabase db;
    EXPECT_EQ(TextOf(ReadAirport(chunks, db).Ident), c.expected);
  }
}

TEST(Fs2002Airports, NameLengthIsTheRestOfTheEntry) {
  struct Case {
    std::string name_bytes;
    std::uint16_t name_length;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"", 0, ""},
      {std::string("Ridgefield") + std::string(14, '\0'), 25, "Ridgefield"},  // entry size 32
      {" Lake Field ", 13, " Lake Field "},
      {std::string("AB\0CD", 5), 6, "AB"},
  };
  for (const Case& c : cases) {
    NavDatabase db;
    ASSERT_EQ(ReadFs2002Facility(db, Fs2002AirportFile({Fs2002Entry({}, c.name_bytes)})),
              Fs2002Result::Done);
    ASSERT_EQ(db.Airports.size(), 1u);
    const AirportRecord& airport = db.Airports[0];
    EXPECT_EQ(airport.NameLength, c.name_length) << c.text;
    EXPECT_EQ(airport.Name.size(), c.name_length) << c.text;
    EXPECT_EQ(std::string(airport.Name.c_str()), c.text);
    EXPECT_EQ(airport.FileSize, 55u + c.name_length) << c.text;
  }
}

TEST(Fs2002Airports, FileSizeCountsNameAndRunways) {
  NavDatabase db;
  ASSERT_EQ(ReadFs2002Facility(db, Fs2002AirportFile({Fs2002Entry(
                                       {RunwayChunk(9, 0), RunwayChunk(18, 0)}, "Nine char")})),
            Fs2002Result::Done);
  ASSERT_EQ(db.Airports.size(), 1u);
  EXPECT_EQ(db.Airports[0].FileSize, 209u);
}

TEST(Fs2002Airports, IlsIdentsComeOnlyFromTheRunOfSubObjectsBehindARunway) {
  NavDatabase db;
  const AirportRecord airport =
      ReadAirport({RunwayChunk(9, 1), fab::EncodeFs2002IlsIdent(2, "IAB"), MarkerChunk(8),
                   fab::EncodeFs2002IlsIdent(4, " IXY "), ComChunk(0x01280100, 6),
                   fab::EncodeFs2002IlsIdent(2, "IZZ"),  // not behind a runway: ignored
                   RunwayChunk(27, 2), fab::EncodeFs2002IlsIdent(2, "IQQ"),
                   fab::EncodeFs2002IlsIdent(2, ""),  // empty text clears the end
                   fab::EncodeFs2002IlsIdent(3, "IRR"), fab::EncodeFs2002IlsIdent(4, "ILONGER")},
                  db);
  ASSERT_EQ(airport.Runways.size(), 2u);
  EXPECT_EQ(TextOf(airport.Runways[0].PrimaryIlsIdent), "IAB");
  EXPECT_EQ(TextOf(airport.Runways[0].SecondaryIlsIdent), "IXY");
  EXPECT_EQ(TextOf(airport.Runways[1].PrimaryIlsIdent), "");
  EXPECT_EQ(TextOf(airport.Runways[1].SecondaryIlsIdent), "ILONG");
  EXPECT_EQ(airport.TowerFrequency, 128010000);  // the walk went on behind the run
  EXPECT_EQ(db.Markers.size(), 1u);
}

TEST(Fs2002Airports, MarkerKindsMapAndUnknownKindsAddNothing) {
  const fab::Position where{51.25, -0.5};
  std::vector<Fs2002Chunk> chunks;
  for (std::uint32_t kind : {8u, 9u, 10u, 11u, 12u, 7u}) chunks.push_back(MarkerChunk(kind, where));
  chunks.insert(chunks.begin() + 1, RunwayChunk(9, 0));  // markers also come behind runways
  NavDatabase db;
  ReadAirport(chunks, db);
  ASSERT_EQ(db.Markers.size(), 4u);
  const std::uint8_t expected_types[] = {2, 1, 0, 3};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(db.Markers[i].MarkerType, expected_types[i]);
    EXPECT_EQ(db.Markers[i].FileSize, 14u);
    EXPECT_NEAR(db.Markers[i].Latitude, fab::Fs2002LatitudeWord(where.latitude), 1.0);
    EXPECT_NEAR(db.Markers[i].Longitude, fab::Fs2002LongitudeWord(where.longitude), 1.0);
  }
}

TEST(Fs2002Airports, EntriesFailingTheirChecksYieldNothing) {
  struct Case {
    const char* name;
    void (*change)(fab::Fs2002AirportEntry&);
    std::size_t airports;
  };
  const std::vector<Case> cases = {
      {"valid", [](fab::Fs2002AirportEntry&) {}, 1},
      {"other entry type", [](fab::Fs2002AirportEntry& e) { e.type = 0x30003; }, 0},
      {"other tag", [](fab::Fs2002AirportEntry& e) { e.tag = 0x50002; }, 0},
      {"no data block", [](fab::Fs2002AirportEntry& e) { e.has_data = false; }, 0},
      {"block word 0 is 2", [](fab::Fs2002AirportEntry& e) { e.block_word0 = 2; }, 0},
      {"block word 8 is 0", [](fab::Fs2002AirportEntry& e) { e.block_word8 = 0; }, 0},
  };
  for (const Case& c : cases) {
    fab::Fs2002AirportEntry entry = Fs2002Entry({fab::EncodeFs2002Ident("KSEA")});
    c.change(entry);
    NavDatabase db;
    EXPECT_EQ(ReadFs2002Facility(db, Fs2002AirportFile({entry})), Fs2002Result::Done) << c.name;
    EXPECT_EQ(db.Airports.size(), c.airports) << c.name;
  }
  fab::Fs2002FacilityFile file;
  file.airport_chain.push_back(fab::Fs2002AirportList{{Fs2002Entry({})}, std::nullopt});
  file.version = 0;
  NavDatabase db;
  EXPECT_EQ(ReadFs2002Facility(db, fab::BuildFs2002FacilityFile(file)), Fs2002Result::Done);
  EXPECT_TRUE(db.Airports.empty());
}

TEST(Fs2002Airports, ListsReadUpToTheirCountAndNeverPastTheirEnd) {
  auto other = Fs2002Entry({}, "X");
  other.type = 0x30003;
  const std::vector<fab::Fs2002AirportEntry> entries = {Fs2002Entry({}, "A"), other,
                                                        Fs2002Entry({}, "B")};
  struct Case {
    std::uint32_t count;
    std::size_t airports;
  };
  for (const Case& c : {Case{1, 1}, Case{2, 1}, Case{3, 2}, Case{1000, 2}}) {
    fab::Fs2002FacilityFile file;
    file.airport_chain.push_back(fab::Fs2002AirportList{entries, c.count});
    file.airport_chain.push_back(fab::Fs2002Chunk{0x40000, fab::Bytes(12, 0), std::nullopt});
    file.airport_chain.push_back(fab::Fs2002AirportList{{Fs2002Entry({}, "C")}, std::nullopt});
    NavDatabase db;
    EXPECT_EQ(ReadFs2002Facility(db, fab::BuildFs2002FacilityFile(file)), Fs2002Result::Done);
    EXPECT_EQ(db.Airports.size(), c.airports + 1) << c.count;
    EXPECT_EQ(db.Airports.back().Name, std::string("C", 2)) << c.count;
  }
}

}  // namespace
}  // namespace tarnvale
