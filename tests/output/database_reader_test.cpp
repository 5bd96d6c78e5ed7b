// Tests of reading database files back and dumping them: every field of the sample, file names,
// where and why a file does not parse, and any bytes safe.

#include "output/database_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "output/database_dump.h"
#include "output/database_writer.h"
#include "output/le_bytes.h"
#include "output/record_layouts.h"
#include "output/recording_view.h"
#include "output/sample_database.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::LeBytes;
using testing::TempDir;
using testing::WriteFile;

std::span<const std::uint8_t> AsBytes(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

DatabaseFileContents Parse(std::string_view name, const std::string& bytes) {
  return ParseDatabaseFile(*DatabaseFileKindOf(name), AsBytes(bytes));
}

// The records a written file of `name` must hold, in file order.
std::vector<DatabaseRecord> RecordsFor(const NavDatabase& db, std::string_view name) {
  std::vector<DatabaseRecord> records;
  const auto add = [&](const auto& array) {
    records.insert(records.end(), array.begin(), array.end());
  };
  switch (*DatabaseFileKindOf(name)) {
    case DatabaseFileKind::Airports:
      add(db.Airports);
      break;
    case DatabaseFileKind::FuelAreas:
      add(db.FuelAreas);
      break;
    case DatabaseFileKind::Airspaces:
      add(db.Airspaces);
      break;
    case DatabaseFileKind::Navaids:
      add(db.Vors);
      add(db.Ndbs);
      break;
    case DatabaseFileKind::Markers:
      add(db.Markers);
      break;
    case DatabaseFileKind::Fixpoints:
      add(db.Fixes);
      break;
    case DatabaseFileKind::VictorAirways:
      add(db.VictorAirways);
      break;
    case DatabaseFileKind::JetAirways:
      add(db.JetAirways);
      break;
    case DatabaseFileKind::MagneticDeclination:
      break;
  }
  return records;
}

class WrittenSample : public ::testing::Test {
 protected:
  WrittenSample() {
    testing::FillSampleDatabase(db);
    WriteFile(simulator / "Scenery" / "BASE" / "Scenery" / "magdec.bgl", "declination");
    testing::RecordingView view;
    const CancelFlag cancel{false};
    const OutputSettings settings{TargetProgram::Radar, FsVersion::Fs2004,
                                  simulator.Path().string(), target.Path(), target.Path()};
    EXPECT_EQ(WriteDatabaseFiles(db, view, settings, cancel).status, WriteResult::Status::Written);
  }

  NavDatabase db;
  TempDir simulator;
  TempDir target;
};

TEST_F(WrittenSample, ReadsBackEveryFieldOfEveryRecord) {
  for (const auto& [name, bytes] : testing::SampleDatabaseFiles()) {
    const DatabaseFileContents contents = ReadDatabaseFile(target / name);
    ASSERT_FALSE(contents.failure) << name << ": " << DescribeFailure(*contents.failure);
    const std::vector<DatabaseRecord> expected = RecordsFor(db, name);
    ASSERT_EQ(contents.records.size(), expected.size()) << name;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(FormatRecordFields(contents.records[i].record), FormatRecordFields(expected[i]))
          << name << " record " << i + 1;
    }
  }
  const auto airports = ReadDatabaseFile(target / "world_airports.dat");
  const auto& field = std::get<AirportRecord>(airports.records[0].record);
  EXPECT_EQ(field.Name, std::string("Testfield", 10));
  EXPECT_EQ(field.Runways.at(0).PrimaryIlsFrequency, 110'300'000);
  EXPECT_EQ(TextOf(field.TaxiNames.at(0).Name), "ALPHABRA");
  EXPECT_EQ(airports.records[1].offset, 186u);
}

TEST_F(WrittenSample, DumpsRecordsAsTextLinesAndAsJson) {
  const std::vector<fs::path> files = {target / "world_airports.dat", target / "MAGDEC.BGL"};
  fs::rename(target / "magdec.bgl", target / "MAGDEC.BGL");
  std::ostringstream text;
  std::ostringstream errors;
  EXPECT_EQ(DumpDatabaseFiles(files, false, text, errors), 0);
  EXPECT_EQ(errors.str(), "");
  EXPECT_NE(text.str().find("world_airports.dat: 2 records in 241 bytes\n#1 @0 Kind=1 "
                            "FileSize=186 HasTowerOrGround=1 NameLength=10 Name=\"Testfield\" "
                            "Ident=\"KTST\""),
            std::string::npos)
      << text.str();
  EXPECT_NE(text.str().find("TaxiNameCount=1 TaxiNames=[{Name=\"ALPHABRA\"}]\n#2 @186 "),
            std::string::npos);
  EXPECT_NE(text.str().find("MAGDEC.BGL: the simulator's magnetic declination data, 11 bytes"),
            std::string::npos);

  std::ostringstream json;
  EXPECT_EQ(DumpDatabaseFiles(files, true, json, errors), 0);
  const auto document = nlohmann::ordered_json::parse(json.str());
  const auto& first = document.at(0).at("records").at(0);
  EXPECT_EQ(first.begin().key(), "record");
  EXPECT_EQ(first.at("Name"), "Testfield");
  EXPECT_EQ(first.at("Runways").at(0).at("PrimaryDesignation"), "16L");
  EXPECT_EQ(document.at(1).at("type"), "magdec.bgl");
}

TEST(DatabaseDump, ShowsEightBitTextsAsLatin1AndEscapesControlBytes) {
  NavaidRecord vor;
  vor.Kind = 4;
  vor.NameLength = 8;
  vor.Name = std::string("Z\xFCrich\"\x01", 8);
  EXPECT_NE(FormatRecordFields(vor).find("Name=\"Z\xC3\xBCrich\\\"\\x01\""), std::string::npos);
  EXPECT_EQ(RecordFieldsToJson(vor).at("Name"), "Z\xC3\xBCrich\"\x01");
}

TEST(DatabaseReader, RecognisesTheFilesByNameInAnyLetterCase) {
  EXPECT_EQ(DatabaseFileKindOf("WORLD_AIRWAYS_J.DAT"), DatabaseFileKind::JetAirways);
  EXPECT_EQ(DatabaseFileKindOf("World_Airways_V.dat"), DatabaseFileKind::VictorAirways);
  EXPECT_EQ(DatabaseFileKindOf("additional_airspaces.dat"), DatabaseFileKind::Airspaces);
  EXPECT_FALSE(DatabaseFileKindOf("world_airports.dat.bak"));

  const TempDir folder;
  WriteFile(folder / "notes.txt", "x");
  fs::create_directory(folder / "world_markers.dat");
  std::ostringstream out;
  std::ostringstream errors;
  EXPECT_EQ(
      DumpDatabaseFiles({folder / "notes.txt", folder / "world_markers.dat"}, false, out, errors),
      1);
  EXPECT_NE(errors.str().find("notes.txt: not a database file"), std::string::npos);
  EXPECT_NE(errors.str().find("world_markers.dat: is a folder: give its *.dat files"),
            std::string::npos);
  EXPECT_EQ(out.str(), "");
}

TEST(DatabaseReader, SaysWhereAndWhyAFileDoesNotParse) {
  const std::map<std::string, std::string> sample = testing::SampleDatabaseFiles();
  const auto patched = [&](const std::string& name, std::size_t at, const LeBytes& with) {
    std::string bytes = sample.at(name);
    bytes.replace(at, with.Size(), with.Str());
    return bytes;
  };
  const std::string airports = sample.at("world_airports.dat");
  struct Case {
    std::string name;
    std::string bytes;
    std::size_t record_number;
    std::size_t offset;
    std::string reason;
  };
  const Case cases[] = {
      {"world_airports.dat", airports.substr(0, airports.size() - 1), 2, 186,
       "the record runs past the end of the file (54 bytes left)"},
      {"world_airports.dat", patched("world_airports.dat", 186, LeBytes().U8(2)), 2, 186,
       "kind 2 where 1 was expected"},
      {"world_airports.dat", patched("world_airports.dat", 1, LeBytes().U32(187)), 1, 0,
       "FileSize 187 differs from the record's length 186"},
      {"world_airports.dat", patched("world_airports.dat", 186 + 35, LeBytes().U32(0xFFFFFFFF)), 2,
       186, "the record runs past the end of the file (55 bytes left)"},
      {"world_navaids.dat", patched("world_navaids.dat", 34, LeBytes().U8(6)), 2, 34,
       "kind 6 where 4 or 5 was expected"},
      {"additional_airspaces.dat", patched("additional_airspaces.dat", 0, LeBytes().I32(113)), 1, 0,
       "NextOffset 113 differs from the record's end 114"},
      {"world_airways_j.dat", sample.at("world_airways_v.dat"), 1, 0,
       "kind 8 where 7 was expected"},
      {"world_markers.dat", sample.at("world_markers.dat") + "abc", 2, 14,
       "the record runs past the end of the file (3 bytes left)"},
  };
  for (const Case& c : cases) {
    const DatabaseFileContents contents = Parse(c.name, c.bytes);
    ASSERT_TRUE(contents.failure) << c.name << " " << c.reason;
    EXPECT_EQ(contents.records.size(), c.record_number - 1) << c.reason;
    EXPECT_EQ(DescribeFailure(*contents.failure), "record " + std::to_string(c.record_number) +
                                                      " at byte offset " +
                                                      std::to_string(c.offset) + ": " + c.reason);
  }
}

// Whatever the bytes, parsing stays inside them and ends; records it accepts
// lie back to back.
TEST(DatabaseReader, AnyBytesAreSafe) {
  std::mt19937 random(11);
  std::vector<std::string> inputs;
  for (const auto& [name, bytes] : testing::SampleDatabaseFiles()) {
    for (int i = 0; i < 200; ++i) {
      std::string mutated = bytes;
      for (int flips = 1 + i % 4; flips > 0; --flips) {
        mutated[random() % mutated.size()] = static_cast<char>(random());
      }
      inputs.push_back(mutated.substr(0, random() % (mutated.size() + 1)));
    }
  }
  for (int i = 0; i < 200; ++i) {
    std::string noise(random() % 300, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    inputs.push_back(noise);
  }
  for (const auto& [name, unused] : testing::SampleDatabaseFiles()) {
    for (const std::string& input : inputs) {
      const DatabaseFileContents contents = Parse(name, input);
      std::size_t next = 0;
      for (const ParsedRecord& parsed : contents.records) {
        ASSERT_EQ(parsed.offset, next);
        next +=
            std::visit([](const auto& record) { return FileRecordSize(record); }, parsed.record);
      }
      EXPECT_EQ(contents.failure ? contents.failure->offset : input.size(), next) << name;
    }
  }
}

}  // namespace
}  // namespace tarnvale
