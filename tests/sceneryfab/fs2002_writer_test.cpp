// Tests of the FS2002 writer: frequencies and channels, the facility header and its chains, navaid
// section tables and records, and generated installations read whole.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "scenery/bgl_loader.h"
#include "scenery/byte_cursor.h"
#include "sceneryfab/fs2002_format.h"
#include "sceneryfab/fs2002_writer.h"
#include "sceneryfab/installation_generator.h"
#include "support/temp_dir.h"

namespace tarnvale::fab {
namespace {

namespace fs = std::filesystem;
using tarnvale::testing::TempDir;

TEST(Fs2002Values, FrequenciesAndChannels) {
  EXPECT_EQ(Fs2002PackedFrequency(121900000), 0x01219000u);
  EXPECT_EQ(Fs2002PackedFrequency(128010000), 0x01280100u);
  const std::vector<std::pair<std::uint32_t, std::uint16_t>> channels = {
      {108000000, 0}, {109000000, 20}, {117950000, 199}, {108020000, 0}, {108030000, 1}};
  for (const auto& [hz, channel] : channels) EXPECT_EQ(Fs2002ChannelNumber(hz), channel) << hz;
  EXPECT_THROW(Fs2002ChannelNumber(107950000), std::invalid_argument);
  EXPECT_EQ(Fs2002LongitudeWord(180.0), INT32_MIN);
  EXPECT_EQ(Fs2002LatitudeWord(-90.0), -10001750);
}

TEST(Fs2002Files, FacilityHeaderPointsAtItsChainsAndBlocks) {
  Fs2002FacilityFile file;
  Fs2002AirportEntry entry;
  entry.name = {'A', 'B'};
  entry.chunks = {EncodeFs2002Ident("KSEA")};
  file.airport_chain.push_back(Fs2002AirportList{{entry}, std::nullopt});
  const Bytes bytes = BuildFs2002FacilityFile(file);
  const ByteCursor cursor(bytes);
  EXPECT_EQ(cursor.U32(18), 0u);
  EXPECT_EQ(cursor.U32(78), 0u);
  EXPECT_EQ(cursor.U32(118), 0x87654321u);
  EXPECT_EQ(cursor.U32(144), 1u);
  const std::size_t list = cursor.U32(156);
  EXPECT_EQ(list, kFs2002FacilityHeaderSize);
  EXPECT_EQ(cursor.U32(164), 0u);  // no navigation chain
  EXPECT_EQ(cursor.U32(list), kFs2002AirportListChunk);
  EXPECT_EQ(cursor.U32(list + 20), 1u);
  EXPECT_EQ(cursor.U32(list + 24), kFs2002AirportEntry);
  EXPECT_EQ(cursor.U32(list + 28), 10u);  // 8 + the two name bytes
  EXPECT_EQ(cursor.Chars(list + 40, 2), "AB");
  EXPECT_EQ(cursor.U32(list + 42), 0u);  // the chain's end chunk
  const std::size_t block = cursor.U32(list + 36);
  EXPECT_EQ(cursor.U32(block), 1u);
  EXPECT_EQ(cursor.U32(block + 8), 1u);
  EXPECT_EQ(cursor.U32(block + 16), kFs2002IdentChunk);
  EXPECT_EQ(cursor.Chars(block + 24, 4), "KSEA");
  EXPECT_EQ(cursor.U32(block + 28), 0u);  // the block's end chunk
  EXPECT_EQ(bytes.size(), block + 36);

  file.length = 100;
  EXPECT_EQ(BuildFs2002FacilityFile(file).size(), 100u);
}

TEST(Fs2002Files, NavaidFilesCarryTheirSectionTables) {
  std::vector<Vor> vor(1);
  vor[0].frequency_hz = 109000000;
  const Bytes vor_bytes = BuildFs2002VorFile(MakeFs2002VorFile(vor, {}));
  const ByteCursor vors(vor_bytes);
  EXPECT_EQ(vors.U32(18), kFs2002NavaidHeaderSize);
  EXPECT_EQ(vors.U16(22), 20);
  EXPECT_EQ(vors.U16(24), 20);
  EXPECT_EQ(vors.U8(128), 1);
  const std::size_t run_list = 128 + vors.U32(129);
  EXPECT_EQ(vors.U8(run_list), kFs2002RunListMark);
  EXPECT_EQ(vors.U8(128 + vors.U32(run_list + 5)), 4);  // the VOR record

  const Bytes ndb_bytes = BuildFs2002NdbFile(MakeFs2002NdbFile(std::vector<Ndb>(40)));
  const ByteCursor ndbs(ndb_bytes);
  EXPECT_EQ(ndbs.U32(18), 0u);
  EXPECT_EQ(ndbs.U32(78), kFs2002NavaidHeaderSize);
  EXPECT_EQ(ndbs.U8(128), kFs2002RunListMark);
  EXPECT_EQ(ndbs.U8(128 + 9), kFs2002RunListMark);  // 32 NDBs to a run
  EXPECT_EQ(ndbs.U8(128 + 18), 0);
}

TEST(Fs2002Files, NavaidRecordsPackFrequencyAndRange) {
  Ndb ndb;
  ndb.frequency_hz = 335400;
  const std::vector<std::pair<double, std::uint8_t>> ndb_ranges = {
      {23, 1}, {38, 2}, {45, 3}, {75, 4}, {200, 4}};
  for (const auto& [nm, range_class] : ndb_ranges) {
    ndb.range_m = nm * 1852;
    const Bytes record = EncodeFs2002Ndb(ndb);
    ASSERT_EQ(record.size(), 42u);
    EXPECT_EQ(record[1], 0x35);
    EXPECT_EQ(record[2], 3);
    EXPECT_EQ(record[3], 4);
    EXPECT_EQ(record[12], range_class) << nm;
  }
  Vor vor;
  const std::vector<std::pair<double, std::uint8_t>> vor_ranges = {
      {27, 16}, {37, 22}, {60, 36}, {195, 85}, {100, 100}};
  for (const auto& [nm, code] : vor_ranges) {
    vor.range_m = nm * 1852;
    EXPECT_EQ(EncodeFs2002Vor(vor)[1], code) << nm;
  }
  EXPECT_EQ(EncodeFs2002Ils({}, false).size(), 54u);
  EXPECT_EQ(EncodeFs2002Ils({}, true).size(), 56u);
}

TEST(Fs2002Format, WritesOnlyTheFilesContentNeeds) {
  SceneryContent content;
  TempDir dir;
  EXPECT_EQ(Fs2002Format().write_content(content, dir.Path(), "07").files, 0u);
  content.ndbs.resize(3);
  const WrittenFiles written = Fs2002Format().write_content(content, dir.Path(), "07");
  EXPECT_EQ(written.files, 1u);
  EXPECT_EQ(written.records.at("ndbs"), 3u);
  EXPECT_EQ(written.bytes, fs::file_size(dir / "NDB07.bgl"));
}

// Loads every BGL file of the active areas of a generated installation.
std::map<std::string, std::size_t> LoadActiveAreas(const fs::path& root) {
  NavDatabase db;
  for (const auto& entry : fs::recursive_directory_iterator(root / "scenery")) {
    const std::string path = entry.path().generic_string();
    if (!entry.is_regular_file() || path.find("/Addon/") != std::string::npos) continue;
    EXPECT_EQ(BglLoader(db, entry.path(), FsVersion::Fs2002), LoadResult::Ok) << path;
  }
  std::map<std::string, std::size_t> counts = {{"airports", db.Airports.size()},
                                               {"vors", db.Vors.size()},
                                               {"ilss", db.Ilss.size()},
                                               {"ndbs", db.Ndbs.size()},
                                               {"markers", db.Markers.size()},
                                               {"fixes", db.Fixes.size()},
                                               {"victor_airways", db.VictorAirways.size()},
                                               {"jet_airways", db.JetAirways.size()}};
  for (const AirportRecord& airport : db.Airports) {
    counts["runways"] += airport.Runways.size();
    counts["parkings"] += airport.Parkings.size();
    counts["taxiway_points"] += airport.TaxiwayPoints.size();
  }
  return counts;
}

TEST(Fs2002Format, GeneratedInstallationsAreReadWhole) {
  for (const Preset preset : {Preset::Demo, Preset::World}) {
    TempDir dir;
    GenerateOptions options;
    options.out = dir.Path();
    options.fs_version = FsVersion::Fs2002;
    options.preset = preset;
    options.scale = preset == Preset::World ? 0.005 : 1.0;
    const GenerateSummary summary = GenerateInstallation(options);
    EXPECT_TRUE(fs::is_regular_file(dir / "fs2002.exe"));
    EXPECT_TRUE(fs::is_regular_file(dir / "scenery/magdec.bgl"));
    const std::map<std::string, std::size_t> loaded = LoadActiveAreas(dir.Path());
    EXPECT_GT(loaded.at("airports"), 0u);
    for (const auto& [kind, count] : loaded) EXPECT_EQ(count, summary.records.at(kind)) << kind;
  }
}

}  // namespace
}  // namespace tarnvale::fab
