// Tests of the FS2002 VOR/ILS and NDB files: frequencies by channel, range codes, texts, runs of
// records, and positions.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "scenery/fs2002_readers.h"
#include "sceneryfab/fs2002_writer.h"

namespace tarnvale {
namespace {

using fab::Bytes;
using fab::Fs2002Channel;
using fab::Fs2002Run;

Bytes VorBytes(const std::string& ident, fab::Position position = {}) {
  fab::Vor vor;
  vor.ident = ident;
  vor.name = ident + " VOR";
  vor.position = position;
  return fab::EncodeFs2002Vor(vor);
}

Bytes IlsBytes(const std::string& ident, bool long_form) {
  fab::Ils ils;
  ils.ident = ident;
  return fab::EncodeFs2002Ils(ils, long_form);
}

Bytes NdbBytes(std::uint8_t tens_units, std::uint8_t hundreds, std::uint8_t tenths,
               std::uint8_t range_class) {
  Bytes record = fab::EncodeFs2002Ndb(fab::Ndb{});
  record[1] = tens_units;
  record[2] = hundreds;
  record[3] = tenths;
  record[12] = range_class;
  return record;
}

Fs2002Channel Channel(std::vector<Bytes> records) {
  return {{Fs2002Run{std::move(records), 0}}, {}, {}};
}

NavDatabase& ReadVors(NavDatabase& db, const fab::Fs2002VorFile& file) {
  const Bytes bytes = fab::BuildFs2002VorFile(file);
  EXPECT_EQ(ReadFs2002VorSection(db, ByteCursor(bytes)), Fs2002Result::Done);
  return db;
}

NavDatabase& ReadNdbs(NavDatabase& db, std::vector<Fs2002Run> runs) {
  const Bytes bytes = fab::BuildFs2002NdbFile({std::move(runs), std::nullopt});
  EXPECT_EQ(ReadFs2002NdbSection(db, ByteCursor(bytes)), Fs2002Result::Done);
  return db;
}

TEST(Fs2002VorSection, ChannelsGiveExactFrequencies) {
  struct Case {
    const char* name;
    fab::Fs2002VorFile file;
    std::vector<std::int32_t> frequencies;
  };
  std::vector<Fs2002Channel> twenty_one(21);
  twenty_one[20] = Channel({VorBytes("C20")});
  const std::vector<Case> cases = {
      {"channel 0 only",
       {0, {Channel({VorBytes("A")}), Channel({VorBytes("B")})}, 0, {}},
       {108000000}},
      {"entry 20 from 0", {0, twenty_one, {}, {}}, {109000000}},
      {"channel 150", {150, {Channel({VorBytes("A")})}, {}, {}}, {115500000}},
      {"channel 199", {199, {Channel({VorBytes("A")})}, {}, {}}, {117950000}},
      {"highest below lowest", {10, {Channel({VorBytes("A")})}, 5, {}}, {}},
      {"flag not 1", {0, {{{Fs2002Run{{VorBytes("A")}, 0}}, 2, {}}}, {}, {}}, {}},
      {"no run list", {0, {{{Fs2002Run{{VorBytes("A")}, 0}}, 1, 0}}, {}, {}}, {}},
      {"run list not marked 21", {0, {{{Fs2002Run{{VorBytes("A")}, 0}}, 1, 1}}, {}, {}}, {}},
      {"two runs",
       {0, {{{Fs2002Run{{VorBytes("A")}, 0}, Fs2002Run{{VorBytes("B")}, 0}}, {}, {}}}, {}, {}},
       {108000000, 108000000}},
  };
  for (const Case& c : cases) {
    NavDatabase db;
    ReadVors(db, c.file);
    std::vector<std::int32_t> frequencies;
    for (const NavaidRecord& vor : db.Vors) frequencies.push_back(vor.Frequency);
    EXPECT_EQ(frequencies, c.frequencies) << c.name;
  }
}

TEST(Fs2002VorSection, RangeCodesMapOrStandForThemselves) {
  const std::vector<std::pair<std::uint8_t, std::uint8_t>> cases = {
      {16, 27}, {22, 37}, {36, 60}, {85, 195}, {40, 40}, {0, 0}, {255, 255}};
  std::vector<Bytes> records;
  for (const auto& [code, range] : cases) {
    records.push_back(VorBytes("V"));
    records.back()[1] = code;
  }
  NavDatabase db;
  ReadVors(db, {0, {Channel(records)}, {}, {}});
  ASSERT_EQ(db.Vors.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(db.Vors[i].RangeNm, cases[i].second) << i;
}

TEST(Fs2002VorSection, IdentAndNameAreTrimmedButBlankNamesStay) {
  struct Case {
    std::string ident_bytes, name_bytes;
    const char* ident;
    std::uint16_t name_length;
    std::string name;
  };
  const std::vector<Case> cases = {
      {" SEA ", "  Seattle" + std::string(15, ' '), "SEA", 8, std::string("Seattle", 8)},
      {"ABCDE", std::string(24, ' '), "ABCDE", 25, std::string(24, ' ') + '\0'},
      {std::string(5, '\0'), std::string(24, '\0'), "", 0, ""},
      {"X\0YZ ", "ABCDEFGHIJKLMNOPQRSTUVWX", "X", 25, std::string("ABCDEFGHIJKLMNOPQRSTUVWX", 25)},
  };
  std::vector<Bytes> records;
  for (const Case& c : cases) {
    records.push_back(VorBytes("V"));
    std::copy(c.ident_bytes.begin(), c.ident_bytes.end(), records.back().begin() + 15);
    std::copy(c.name_bytes.begin(), c.name_bytes.end(), records.back().begin() + 20);
  }
  NavDatabase db;
  ReadVors(db, {0, {Channel(records)}, {}, {}});
  ASSERT_EQ(db.Vors.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const NavaidRecord& vor = db.Vors[i];
    EXPECT_EQ(TextOf(vor.Ident), cases[i].ident) << i;
    EXPECT_EQ(vor.NameLength, cases[i].name_length) << i;
    EXPECT_EQ(vor.Name, cases[i].name) << i;
    EXPECT_EQ(vor.FileSize, 26u + cases[i].name_length) << i;
    EXPECT_EQ(vor.Kind, 4);
  }
}

TEST(Fs2002VorSection, RunsHoldVorsAndBothIlsFormsAndEndAtAnotherType) {
  Bytes other = VorBytes("NOTME");
  other[0] = 7;
  NavDatabase db;
  ReadVors(db, {20,
                {Channel({VorBytes("V1"), fab::EncodeFs2002UnusedVorRecord(), IlsBytes("I1", false),
                          IlsBytes(" I2", true), VorBytes("V2"), other, VorBytes("V3")})},
                {},
                {}});
  ASSERT_EQ(db.Vors.size(), 2u);
  EXPECT_EQ(TextOf(db.Vors[1].Ident), "V2");
  ASSERT_EQ(db.Ilss.size(), 2u);
  EXPECT_EQ(TextOf(db.Ilss[0].Ident), "I1");
  EXPECT_EQ(TextOf(db.Ilss[1].Ident), "I2");
  for (const IlsRecord& ils : db.Ilss) EXPECT_EQ(ils.Frequency, 109000000);
}

TEST(Fs2002VorSection, PositionsAreSigned24BitWords) {
  const std::vector<fab::Position> positions = {
      {-33.95, 151.18}, {47.45, -122.31}, {0.0, 179.99}, {-89.9, -179.9}};
  std::vector<Bytes> records;
  for (const fab::Position& position : positions) records.push_back(VorBytes("P", position));
  NavDatabase db;
  ReadVors(db, {0, {Channel(records)}, {}, {}});
  ASSERT_EQ(db.Vors.size(), positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    // One step of the 24-bit words is 2 latitude or 256 longitude units.
    EXPECT_NEAR(db.Vors[i].Latitude, positions[i].latitude / 90 * 10001750, 2.0) << i;
    EXPECT_NEAR(db.Vors[i].Longitude, positions[i].longitude / 360 * 4294967296.0, 256.0) << i;
  }
}

TEST(Fs2002NdbSection, FrequenciesAreExactAndUnknownRangeClassesGiveNoRange) {
  struct Case {
    std::uint8_t tens_units, hundreds, tenths, range_class;
    std::int32_t frequency;
    std::uint8_t range;
  };
  const std::vector<Case> cases = {
      {0x35, 3, 4, 3, 335400, 50}, {0x56, 2, 4, 4, 256400, 75}, {0x00, 1, 0, 1, 100000, 23},
      {0x99, 9, 9, 2, 999900, 38}, {0x15, 4, 0, 0, 415000, 0},  {0x15, 4, 0, 5, 415000, 0},
  };
  std::vector<Bytes> first_run, second_run;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    (i < 3 ? first_run : second_run)
        .push_back(NdbBytes(c.tens_units, c.hundreds, c.tenths, c.range_class));
  }
  Bytes other = NdbBytes(0, 0, 0, 0);
  other[0] = 5;
  second_run.push_back(other);
  second_run.push_back(NdbBytes(0x11, 1, 1, 1));  // behind the end of its run
  NavDatabase db;
  ReadNdbs(db, {Fs2002Run{first_run, 0}, Fs2002Run{second_run, 0}});
  ASSERT_EQ(db.Ndbs.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(db.Ndbs[i].Frequency, cases[i].frequency) << i;
    EXPECT_EQ(db.Ndbs[i].RangeNm, cases[i].range) << i;
    EXPECT_EQ(db.Ndbs[i].Kind, 5);
  }
}

TEST(Fs2002NdbSection, TextsAndPositionFollowTheRecordLayout) {
  fab::Ndb ndb;
  ndb.ident = "OS";
  ndb.name = "OSHKOSH";
  ndb.position = {43.98, -88.55};
  NavDatabase db;
  ReadNdbs(db, {Fs2002Run{{fab::EncodeFs2002Ndb(ndb)}, 0}});
  ASSERT_EQ(db.Ndbs.size(), 1u);
  EXPECT_EQ(TextOf(db.Ndbs[0].Ident), "OS");
  EXPECT_EQ(db.Ndbs[0].Name, std::string("OSHKOSH", 8));
  EXPECT_EQ(db.Ndbs[0].FileSize, 34u);
  EXPECT_NEAR(db.Ndbs[0].Latitude, 43.98 / 90 * 10001750, 2.0);
  EXPECT_NEAR(db.Ndbs[0].Longitude, -88.55 / 360 * 4294967296.0, 256.0);
}

}  // namespace
}  // namespace tarnvale
