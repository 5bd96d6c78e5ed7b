// Cut, corrupted and foreign files handed to the FS2002 readers: nothing may
// crash or read outside the buffer (run these under the sanitizers), and
// only a failed allocation may give the out-of-memory result.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "scenery/bgl_loader.h"
#include "scenery/fs2002_readers.h"
#include "scenery/fs2002_test_helpers.h"
#include "sceneryfab/fs2002_format.h"
#include "sceneryfab/random.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

using fab::Bytes;

struct SampleFile {
  const char* name;
  Bytes bytes;
};

std::vector<SampleFile> SampleFiles() {
  const fab::SceneryContent content = testing::SampleFs2002Content();
  fab::Fs2002FacilityFile facility = fab::MakeFs2002FacilityFile(content);
  facility.navigation_chain.push_back(std::get<fab::Fs2002AirportList>(facility.airport_chain[0]));
  fab::Fs2002VorFile vors = fab::MakeFs2002VorFile(content.vors, content.ilss);
  vors.channels.back().runs.back().records.push_back(fab::EncodeFs2002UnusedVorRecord());
  return {{"facility", fab::BuildFs2002FacilityFile(facility)},
          {"vor", fab::BuildFs2002VorFile(vors)},
          {"ndb", fab::BuildFs2002NdbFile(fab::MakeFs2002NdbFile(content.ndbs))}};
}

// Records of every kind, sub-records included.
std::array<std::size_t, 9> Counts(const NavDatabase& db) {
  std::size_t runways = 0, ground = 0, points = 0;
  for (const AirportRecord& airport : db.Airports) {
    runways += airport.Runways.size();
    ground += airport.TaxiwayPoints.size() + airport.TaxiwayPaths.size() + airport.Parkings.size() +
              airport.TaxiNames.size();
  }
  for (const auto* airways : {&db.JetAirways, &db.VictorAirways}) {
    for (const AirwayRecord& airway : *airways) points += airway.Points.size();
  }
  return {db.Airports.size(),
          runways,
          ground,
          db.Markers.size(),
          db.Vors.size() + db.Ndbs.size(),
          db.Ilss.size(),
          db.Fixes.size(),
          db.JetAirways.size() + db.VictorAirways.size(),
          points};
}

// Loads a copy of `bytes` held in a block of exactly its size, so that the
// sanitizers catch any read past its end.
LoadResult Load(NavDatabase& db, const Bytes& bytes) {
  const Bytes exact(bytes.begin(), bytes.end());
  return LoadBglBytes(db, exact, FsVersion::Fs2002);
}

TEST(Fs2002Robustness, SampleFilesAreReadWhole) {
  const std::array<std::array<std::size_t, 9>, 3> expected = {{
      {4, 8, 12, 4, 0, 0, 3, 4, 6},  // the airport list is in both chains
      {0, 0, 0, 0, 1, 2, 0, 0, 0},
      {0, 0, 0, 0, 2, 0, 0, 0, 0},
  }};
  const std::vector<SampleFile> files = SampleFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    NavDatabase db;
    EXPECT_EQ(Load(db, files[i].bytes), LoadResult::Ok) << files[i].name;
    EXPECT_EQ(Counts(db), expected[i]) << files[i].name;
  }
}

TEST(Fs2002Robustness, FilesCutAtEveryOffsetReadAPrefixOfTheirRecords) {
  for (const SampleFile& file : SampleFiles()) {
    NavDatabase whole;
    ASSERT_EQ(Load(whole, file.bytes), LoadResult::Ok);
    const std::array<std::size_t, 9> all = Counts(whole);
    for (std::size_t length = 0; length < file.bytes.size(); ++length) {
      NavDatabase db;
      ASSERT_EQ(Load(db, Bytes(file.bytes.begin(), file.bytes.begin() + length)), LoadResult::Ok)
          << file.name << " cut at " << length;
      const std::array<std::size_t, 9> counts = Counts(db);
      for (std::size_t k = 0; k < counts.size(); ++k) {
        ASSERT_LE(counts[k], all[k]) << file.name << " cut at " << length << ", kind " << k;
      }
    }
  }
}

TEST(Fs2002Robustness, CorruptedFilesNeverFail) {
  fab::Random random(2002);
  for (const SampleFile& file : SampleFiles()) {
    for (int mutant = 0; mutant < 400; ++mutant) {
      Bytes bytes = file.bytes;
      const std::uint64_t flips = 1 + random.Below(8);
      for (std::uint64_t f = 0; f < flips; ++f) {
        bytes[random.Below(bytes.size())] = static_cast<std::uint8_t>(random.Next());
      }
      NavDatabase db;
      ASSERT_EQ(Load(db, bytes), LoadResult::Ok) << file.name << " mutant " << mutant;
    }
  }
}

TEST(Fs2002Robustness, RandomBytesInEveryLayoutNeverFail) {
  fab::Random random(8);
  for (int round = 0; round < 600; ++round) {
    Bytes bytes(random.Below(700), 0);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random.Next());
    const auto offset = [&] { return static_cast<std::uint32_t>(random.Below(bytes.size() + 16)); };
    switch (round % 3) {
      case 0:  // VOR section somewhere inside
        fab::PutU32(bytes, 18, offset() | 1);
        break;
      case 1:  // NDB section
        fab::PutU32(bytes, 18, 0);
        fab::PutU32(bytes, 78, offset() | 1);
        break;
      default:  // facility data with chains somewhere inside
        fab::PutU32(bytes, 18, 0);
        fab::PutU32(bytes, 78, 0);
        fab::PutU32(bytes, 118, 0x87654321);
        fab::PutU32(bytes, 144, 1);
        fab::PutU32(bytes, 156, offset());
        fab::PutU32(bytes, 164, offset());
        break;
    }
    NavDatabase db;
    ASSERT_EQ(Load(db, bytes), LoadResult::Ok) << "round " << round;
  }
}

TEST(Fs2002Robustness, ForeignFilesAreReadSafelyByEveryReader) {
  const std::filesystem::path dir = testing::RealDataDir();
  if (dir.empty()) {
    GTEST_SKIP() << testing::RealDataAbsent();
  }
  for (const char* name : {"later-format-airport.bgl", "old-format-object-library.bgl"}) {
    const std::string text = testing::ReadFile(dir / "foreign" / name);
    ASSERT_FALSE(text.empty()) << name;
    const Bytes bytes(text.begin(), text.end());
    for (auto* reader : {&ReadFs2002VorSection, &ReadFs2002NdbSection, &ReadFs2002FacilityData}) {
      NavDatabase db;
      EXPECT_EQ(reader(db, ByteCursor(bytes)), Fs2002Result::Done) << name;
    }
    NavDatabase db;
    EXPECT_EQ(Load(db, bytes), LoadResult::Ok) << name;
  }
}

TEST(Fs2002Robustness, OnlyAFailedAllocationGivesOutOfMemory) {
  for (const SampleFile& file : SampleFiles()) {
    NavDatabase whole;
    ASSERT_EQ(Load(whole, file.bytes), LoadResult::Ok);
    bool done = false;
    platform::FaultScope faults;
    for (unsigned budget = 0; !done && budget < 1000; ++budget) {
      NavDatabase db;
      faults.LimitAllocations(platform::FaultSite::DatabaseAllocation, budget);
      const LoadResult result = Load(db, file.bytes);
      ASSERT_TRUE(result == LoadResult::Ok || result == LoadResult::OutOfMemory) << file.name;
      done = result == LoadResult::Ok;
      if (done) {
        EXPECT_EQ(Counts(db), Counts(whole)) << file.name << " budget " << budget;
      }
    }
    EXPECT_TRUE(done) << file.name;
  }
}

}  // namespace
}  // namespace tarnvale
