// Tests of the FS2004 writer: headers and tables that lead to every record, sizes, and each
// record's fields where the decoders read them.

#include "sceneryfab/fs2004_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "scenery/byte_cursor.h"
#include "sceneryfab/fs2004_encoding.h"

namespace tarnvale::fab {
namespace {

// The file offsets of the records of section `s`, found the way the loader
// finds them (boundary sections through their record pointer list).
std::vector<std::uint32_t> RecordOffsets(const Bytes& file, std::uint32_t s) {
  const ByteCursor cursor(file);
  const std::uint32_t entry = cursor.U32(4) + 20 * s;
  const std::uint32_t type = cursor.U32(entry);
  const std::uint32_t subsections = cursor.U32(entry + 8);
  const std::uint32_t table = cursor.U32(entry + 12);
  std::vector<std::uint32_t> offsets;
  for (std::uint32_t j = 0; j < subsections; ++j) {
    const std::uint32_t count = cursor.U32(table + 16 * j + 4);
    std::uint32_t at = cursor.U32(table + 16 * j + 8);
    for (std::uint32_t k = 0; k < count; ++k) {
      if (type == kFs2004Boundaries) {
        offsets.push_back(cursor.U32(table + 16 * subsections + 8 * (at + k)));
      } else {
        offsets.push_back(at);
        at += cursor.U32(at + 2);
      }
    }
  }
  EXPECT_FALSE(cursor.Overrun());
  return offsets;
}

Bytes RecordWithBody(std::uint16_t id, std::size_t body_size) {
  return Serialize(Fs2004Record{id, Bytes(body_size, 0xAB), {}, {}, false});
}

TEST(Fs2004File, HeaderAndTablesLeadToEveryRecord) {
  Fs2004File file;
  file.sections.push_back(MakeFs2004Section(
      kFs2004Airports, {RecordWithBody(3, 10), RecordWithBody(3, 20), RecordWithBody(3, 30)}, 2));
  file.sections.push_back(MakeFs2004Section(
      kFs2004Boundaries, {RecordWithBody(0x20, 26), RecordWithBody(0x20, 40)}, 1));
  const Bytes bytes = BuildFs2004File(file);
  const ByteCursor cursor(bytes);
  EXPECT_EQ(cursor.U16(2), 0x1992);
  EXPECT_EQ(cursor.U32(4), kFs2004HeaderSize);
  EXPECT_EQ(cursor.U32(20), 2u);
  EXPECT_EQ(cursor.U32(56), kFs2004Airports);
  EXPECT_EQ(cursor.U32(56 + 8), 2u);  // 3 records, at most 2 to a subsection

  const std::vector<std::uint32_t> airports = RecordOffsets(bytes, 0);
  ASSERT_EQ(airports.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(cursor.U32(airports[k] + 2), 16 + 10 * k);

  // The pointer list sits right behind the boundary section's subsection
  // table, and each subsection names its first entry by index.
  const std::uint32_t table = cursor.U32(56 + 20 + 12);
  EXPECT_EQ(cursor.U32(table + 8), 0u);
  EXPECT_EQ(cursor.U32(table + 16 + 8), 1u);
  const std::vector<std::uint32_t> boundaries = RecordOffsets(bytes, 1);
  ASSERT_EQ(boundaries.size(), 2u);
  EXPECT_EQ(cursor.U32(table + 32), boundaries[0]);
  EXPECT_EQ(cursor.U32(boundaries[0] + 2), 32u);
  EXPECT_EQ(cursor.U32(boundaries[1] + 2), 46u);
  EXPECT_EQ(boundaries[1] + 46, bytes.size());
}

TEST(Fs2004File, OverridesReplaceOnlyTheirWord) {
  Fs2004File file;
  file.sections.push_back(MakeFs2004Section(kFs2004Ndbs, {RecordWithBody(0x17, 4)}));
  const Bytes plain = BuildFs2004File(file);
  file.magic = 0x1993;
  file.section_count = 7;
  file.sections[0].subsection_count = 0;
  file.sections[0].subsections[0].record_count = 9;
  file.sections[0].subsections[0].data_offset = 0xFFFFFFF0;
  file.length = 60;
  const Bytes odd = BuildFs2004File(file);
  ASSERT_EQ(odd.size(), 60u);
  const ByteCursor cursor(odd);
  EXPECT_EQ(cursor.U16(2), 0x1993);
  EXPECT_EQ(cursor.U32(20), 7u);
  EXPECT_EQ(cursor.U32(56), kFs2004Ndbs);
  file.length = std::nullopt;
  const Bytes full = BuildFs2004File(file);
  const ByteCursor whole(full);
  EXPECT_EQ(whole.U32(56 + 8), 0u);
  EXPECT_EQ(whole.U32(whole.U32(56 + 12) + 4), 9u);
  EXPECT_EQ(whole.U32(whole.U32(56 + 12) + 8), 0xFFFFFFF0u);
  EXPECT_EQ(full.size(), plain.size());
}

TEST(Fs2004File, EmptySectionStillHasOneSubsection) {
  const Fs2004Section section = MakeFs2004Section(kFs2004Markers, {});
  ASSERT_EQ(section.subsections.size(), 1u);
  EXPECT_TRUE(section.subsections[0].records.empty());
}

TEST(Fs2004Record, SizesCountHeadersBodiesAndNestedRecords) {
  Fs2004Record outer{0x03, Bytes(46, 0), {}, {}, false};
  outer.sub_records.push_back(EncodeName("Abc"));
  outer.sub_records.push_back(Fs2004Record{0x77, Bytes(2, 0), {}, 3, false});  // a size below 6
  const Bytes bytes = Serialize(outer);
  const ByteCursor cursor(bytes);
  EXPECT_EQ(cursor.U32(2), 52u + 9u + 8u);
  EXPECT_EQ(cursor.U16(52), kFs2004NameId);
  EXPECT_EQ(cursor.U32(54), 9u);
  EXPECT_EQ(cursor.Chars(58, 3), "Abc");
  EXPECT_EQ(cursor.U32(61 + 2), 3u);

  Fs2004Record object = EncodeFuelTrigger(FuelTrigger{});
  EXPECT_EQ(Serialize(object).size(), kFs2004TriggerSize);
  EXPECT_EQ(ByteCursor(Serialize(object)).U16(2), kFs2004TriggerSize);
  object.body.resize(70000);
  EXPECT_THROW(Serialize(object), std::length_error);
}

// Fields of encoded records at the offsets the decoders read them from.
struct Field {
  std::size_t offset;
  std::size_t width;
  std::uint32_t value;
};

void ExpectFields(const Bytes& bytes, const std::vector<Field>& fields, const char* what) {
  const ByteCursor cursor(bytes);
  for (const Field& f : fields) {
    const std::uint32_t got = f.width == 1   ? cursor.U8(f.offset)
                              : f.width == 2 ? cursor.U16(f.offset)
                                             : cursor.U32(f.offset);
    EXPECT_EQ(got, f.value) << what << " at offset " << f.offset;
  }
  EXPECT_FALSE(cursor.Overrun()) << what;
}

std::uint32_t Lat(double degrees) { return EncodeFs2004Latitude(degrees); }
std::uint32_t Lon(double degrees) { return EncodeFs2004Longitude(degrees); }

TEST(Fs2004Record, AirportAndRunwayFieldsSitWhereTheyAreRead) {
  Airport airport;
  airport.ident = "KJFK";
  airport.position = {40.6, -73.8};
  airport.altitude_m = 3.9;
  Runway runway;
  runway.centre = {40.61, -73.79};
  runway.altitude_m = -2.5;
  runway.length_m = 3000.0;
  runway.width_m = 45.0;
  runway.heading_deg = Single::FromBits(0x3FC00000);
  runway.primary = {9, Designator::Left, "IJFK"};
  runway.secondary = {27, Designator::Right, ""};
  airport.runways.push_back(runway);
  const Bytes bytes = Serialize(EncodeAirport(airport));
  ExpectFields(bytes,
               {{0, 2, kFs2004AirportId},
                {2, 4, static_cast<std::uint32_t>(bytes.size())},
                {12, 4, Lon(-73.8)},
                {16, 4, Lat(40.6)},
                {20, 4, 3900},
                {40, 4, PackIdent("KJFK") << 5},
                {52, 2, kFs2004RunwayId},
                {54, 4, kFs2004RunwaySize},
                {52 + 8, 1, 9},
                {52 + 9, 1, 1},
                {52 + 10, 1, 27},
                {52 + 11, 1, 2},
                {52 + 12, 4, PackIdent("IJFK")},
                {52 + 16, 4, 0},
                {52 + 20, 4, Lon(-73.79)},
                {52 + 24, 4, Lat(40.61)},
                {52 + 28, 4, static_cast<std::uint32_t>(-2500)},
                {52 + 32, 4, 0x453B8000},
                {52 + 36, 4, 0x42340000},
                {52 + 40, 4, 0x3FC00000}},
               "airport");
}

TEST(Fs2004Record, AirportListsSitWhereTheyAreRead) {
  Airport airport;
  airport.starts.push_back(Start{2, Designator::None, StartType::Helipad, {1.0, 2.0}, 10.0, 90.0});
  airport.coms.push_back(Com{ComType::Tower, 118700000, "TWR"});
  Parking parking{5, 2, 12, 20.0, 0.0, {3.0, 4.0}, {"ABC", "DEF"}};
  airport.parkings = {parking, parking};
  airport.taxiway_paths.push_back(TaxiwayPath{7, 0x0ABC, 3, 200, 20.0});
  airport.taxiway_names = {"ALPHA", "12345678"};
  EncodeAirport(airport);  // the order of sub-records is fixed; check each alone
  ExpectFields(Serialize(EncodeStart(airport.starts[0])),
               {{6, 1, 2},
                {7, 1, 0x30},
                {8, 4, Lon(2.0)},
                {12, 4, Lat(1.0)},
                {16, 4, 10000},
                {20, 4, 0x42B40000}},
               "start");
  ExpectFields(Serialize(EncodeCom(airport.coms[0])), {{2, 4, 15}, {6, 2, 6}, {8, 4, 118700000}},
               "com");
  const Bytes parkings = Serialize(EncodeParkings(airport.parkings));
  ExpectFields(parkings,
               {{6, 2, 2},
                {8, 4, 5 | (2 << 8) | (12 << 12) | (2u << 24)},
                {8 + 4, 4, 0x41A00000},
                {8 + 12, 4, Lon(4.0)},
                {8 + 16, 4, Lat(3.0)},
                {8 + 28, 4, 5 | (2 << 8) | (12 << 12) | (2u << 24)}},
               "parkings, the second 28 bytes after the first");
  EXPECT_EQ(parkings.size(), 8u + 2 * 28);
  ExpectFields(Serialize(EncodeTaxiwayPaths(airport.taxiway_paths)),
               {{6, 2, 1}, {8, 2, 7}, {10, 4, 0x0ABC | (3 << 16) | (200u << 24)}}, "path");
  const Bytes names = Serialize(EncodeTaxiwayNames(airport.taxiway_names));
  EXPECT_EQ(names.size(), 8u + 16);
  EXPECT_EQ(ByteCursor(names).Chars(8, 16), std::string_view("ALPHA\0\0\0"
                                                             "12345678",
                                                             16));
}

TEST(Fs2004Record, NavaidFieldsSitWhereTheyAreRead) {
  Vor vor;
  vor.type = VorType::LowAltitude;
  vor.ident = "ABC";
  vor.region = "K6";
  vor.position = {10.0, 20.0};
  vor.frequency_hz = 113900000;
  vor.range_m = 370400.0;
  ExpectFields(Serialize(EncodeVor(vor)),
               {{0, 2, kFs2004VorIlsId},
                {6, 1, 2},
                {8, 4, Lon(20.0)},
                {12, 4, Lat(10.0)},
                {20, 4, 113900000},
                {24, 4, Single(370400.0).Bits()},
                {32, 4, PackIdent("ABC") << 5},
                {36, 4, PackIdent("K6")},
                {2, 4, 40}},
               "vor without name");
  Ils ils;
  ils.ident = "IABC";
  ils.frequency_hz = 110300000;
  ExpectFields(Serialize(EncodeIls(ils)),
               {{6, 1, 4}, {20, 4, 110300000}, {32, 4, PackIdent("IABC") << 5}}, "ils");
  Ndb ndb;
  ndb.ident = "XY";
  ndb.frequency_hz = 335000;
  ndb.position = {-10.0, -20.0};
  ndb.name = "NAME";
  ExpectFields(Serialize(EncodeNdb(ndb)),
               {{2, 4, 50},
                {8, 4, 335000},
                {12, 4, Lon(-20.0)},
                {16, 4, Lat(-10.0)},
                {32, 4, PackIdent("XY") << 5},
                {40, 2, kFs2004NameId},
                {42, 4, 10}},
               "ndb");
  Marker marker;
  marker.type = MarkerType::BackCourse;
  marker.position = {1.0, 2.0};
  ExpectFields(Serialize(EncodeMarker(marker)), {{7, 1, 3}, {8, 4, Lon(2.0)}, {12, 4, Lat(1.0)}},
               "marker");
}

TEST(Fs2004Record, WaypointRoutesPutNextBeforePrevious) {
  Intersection fix;
  fix.ident = "ABCDE";
  fix.region = "EG";
  fix.position = {50.0, -1.0};
  fix.routes.push_back(Route{.level = RouteLevel::Both,
                             .name = "UL9",
                             .previous = RouteNeighbour{Ident::FromWord(31), "ED", 1000.0},
                             .next = RouteNeighbour{"NEXTP", "EH", 3000.0}});
  fix.routes.push_back(Route{RouteLevel::Victor, "V1", std::nullopt, std::nullopt});
  const Bytes bytes = Serialize(EncodeWaypoint(fix));
  EXPECT_EQ(bytes.size(), 28u + 2 * kFs2004RouteEntrySize);
  ExpectFields(bytes,
               {{7, 1, 2},
                {8, 4, Lon(-1.0)},
                {12, 4, Lat(50.0)},
                {20, 4, PackIdent("ABCDE") << 5},
                {24, 4, PackIdent("EG")},
                {28, 1, 3},
                {28 + 9, 4, PackIdent("NEXTP") << 5},
                {28 + 13, 4, PackIdent("EH")},
                {28 + 17, 4, Single(3000.0).Bits()},
                {28 + 21, 4, 31},
                {28 + 25, 4, PackIdent("ED")},
                {28 + 29, 4, Single(1000.0).Bits()},
                {61, 1, 1},
                {61 + 9, 4, 0},
                {61 + 21, 4, 0}},
               "waypoint");
  EXPECT_EQ(ByteCursor(bytes).Chars(29, 8), std::string_view("UL9\0\0\0\0\0", 8));
}

TEST(Fs2004Record, BoundaryCornersAltitudesAndPoints) {
  Boundary boundary;
  boundary.type = BoundaryType::Moa;
  boundary.corner_a = {10.0, 20.0};
  boundary.corner_b = {9.0, 21.0};
  boundary.lower_altitude_m = 1000.0;
  boundary.upper_altitude_m = -30.0;
  boundary.name = "AREA";
  boundary.outlines.push_back({BoundaryPoint{BoundaryPointType::Origin, 0, {9.5, 20.5}, 0.0},
                               BoundaryPoint{BoundaryPointType::Circle, 0, {9.5, 20.5}, 5000.0}});
  const Bytes bytes = Serialize(EncodeBoundary(boundary));
  ExpectFields(bytes,
               {{6, 1, 14},
                {8, 4, Lon(20.0)},
                {12, 4, Lat(9.0)},
                {16, 4, 1000000},
                {20, 4, Lon(21.0)},
                {24, 4, Lat(10.0)},
                {28, 4, static_cast<std::uint32_t>(-30000)},
                {32, 2, 25},
                {34, 4, 10},
                {42, 2, 33},
                {44, 4, 28},
                {48, 2, 2},
                {50, 1, 3},
                {52, 4, Lat(9.5)},
                {56, 4, Lon(20.5)},
                {60, 1, 6},
                {62, 4, Lat(9.5)},
                {66, 4, 0x459C4000}},
               "boundary");
  EXPECT_EQ(bytes.size(), 70u);
}

TEST(Fs2004Record, FuelTriggerHasShortSizeAndItsWordsWhereRead) {
  FuelTrigger trigger{
      {1.0, 2.0}, 0.0, kRefuelTrigger, FuelGrade(0, 1) | FuelGrade(1, 1) | FuelGrade(5, 3)};
  ExpectFields(
      Serialize(EncodeFuelTrigger(trigger)),
      {{0, 2, 7}, {2, 2, 38}, {4, 4, Lon(2.0)}, {8, 4, Lat(1.0)}, {28, 2, 0}, {34, 4, 0x00000C05}},
      "trigger");
}

TEST(Fs2004File, ContentGoesToOneSectionPerKind) {
  SceneryContent content;
  content.airports.resize(2);
  content.airports[1].ident = "B";
  content.vors.resize(1);
  content.ilss.resize(2);
  content.boundaries.resize(3);
  const Fs2004File file = MakeFs2004File(content, 2);
  std::vector<std::uint32_t> types;
  for (const Fs2004Section& section : file.sections) types.push_back(section.type);
  EXPECT_EQ(types, (std::vector<std::uint32_t>{kFs2004NameLists, kFs2004Airports, kFs2004VorIls,
                                               kFs2004Boundaries}));
  EXPECT_EQ(file.sections[2].subsections.size(), 2u);  // 1 VOR + 2 ILS, two to a subsection
  EXPECT_EQ(RecordOffsets(BuildFs2004File(file), 3).size(), 3u);
}

TEST(Fs2004File, SkippedFilesHoldOnlySectionsTheLoaderSkips) {
  const Bytes bytes = MakeFs2004SkippedFile(300000, 5);
  EXPECT_NEAR(static_cast<double>(bytes.size()), 300000.0, 10000.0);
  const ByteCursor cursor(bytes);
  ASSERT_EQ(cursor.U16(2), 0x1992);
  for (std::uint32_t s = 0; s < cursor.U32(20); ++s) {
    const std::uint32_t type = cursor.U32(56 + 20 * s);
    for (std::uint32_t read : {3u, 19u, 23u, 24u, 32u, 34u, 37u, 39u}) EXPECT_NE(type, read);
  }
  EXPECT_EQ(MakeFs2004SkippedFile(1000, 5), MakeFs2004SkippedFile(1000, 5));
  EXPECT_NE(MakeFs2004SkippedFile(1000, 5), MakeFs2004SkippedFile(1000, 6));
}

TEST(Fs2004Count, CountsWhatTheLoaderAdds) {
  SceneryContent content;
  Airport airport;
  airport.ident = "AAAA";
  airport.runways.resize(2);
  airport.starts = {Start{}, Start{1, Designator::None, StartType::Helipad, {}, 0.0, 0.0}};
  content.airports = {airport, airport};  // the second has the same ident
  content.vors.resize(3);
  content.vors[2].type = static_cast<VorType>(5);
  content.fuel_triggers = {FuelTrigger{}, FuelTrigger{{}, 0.0, 1, 0}};
  content.intersections.resize(1);
  content.intersections[0].routes = {Route{RouteLevel::Both, "", {}, {}},
                                     Route{static_cast<RouteLevel>(4), "", {}, {}}};
  content.boundaries.resize(2);
  content.boundaries[1].type = BoundaryType::Tower;
  const auto counts = CountFs2004Records(content);
  EXPECT_EQ(counts.at("airports"), 1u);
  EXPECT_EQ(counts.at("runways"), 3u);
  EXPECT_EQ(counts.at("vors"), 2u);
  EXPECT_EQ(counts.at("fuel_areas"), 1u);
  EXPECT_EQ(counts.at("victor_airways"), 1u);
  EXPECT_EQ(counts.at("jet_airways"), 1u);
  EXPECT_EQ(counts.at("airspaces"), 1u);
  EXPECT_EQ(counts.at("ndbs"), 0u);
}

}  // namespace
}  // namespace tarnvale::fab
