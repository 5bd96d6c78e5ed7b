// Two written sets compared: each row changes the sample database one way
// and names what the comparison must find, no more.
#include "output/set_comparison.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "output/database_writer.h"
#include "output/recording_view.h"
#include "output/sample_database.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// "airports +X2 -X1 ~KTST:Name,Runways; NDBs ..." in kind order.
std::string Told(const SetComparison& comparison) {
  std::string text;
  for (const KindComparison& kind : comparison.kinds) {
    std::string line;
    for (const std::string& key : kind.added) line += " +" + key;
    for (const std::string& key : kind.removed) line += " -" + key;
    for (const ChangedRecord& record : kind.changed) {
      line += " ~" + record.key + ":";
      for (std::size_t i = 0; i < record.fields.size(); ++i) {
        if (i != 0) line += ',';
        line += record.fields[i];
      }
    }
    if (!line.empty())
      text += (text.empty() ? "" : "; ") + std::string(ComparedKindName(kind.kind)) + line;
  }
  return text;
}

void WriteSet(NavDatabase& db, const fs::path& folder) {
  fs::create_directories(folder);
  testing::RecordingView view;
  const CancelFlag cancel{false};
  const OutputSettings settings{TargetProgram::Radar, FsVersion::Fs2004, "", folder, folder};
  EXPECT_EQ(WriteDatabaseFiles(db, view, settings, cancel).status, WriteResult::Status::Written);
}

struct ChangeRow {
  const char* name;
  std::function<void(NavDatabase&)> change;
  std::string told;
};

class SetComparisonTest : public ::testing::TestWithParam<ChangeRow> {};

TEST_P(SetComparisonTest, FindsExactlyWhatChanged) {
  NavDatabase db;
  testing::FillSampleDatabase(db);
  TempDir dir;
  WriteSet(db, dir / "old");
  GetParam().change(db);
  WriteSet(db, dir / "new");
  const SetComparison comparison =
      CompareDatabaseSets(DatabaseSetFiles(dir / "old"), DatabaseSetFiles(dir / "new"));
  EXPECT_EQ(Told(comparison), GetParam().told);
  EXPECT_EQ(comparison.Same(), GetParam().told.empty());
  EXPECT_TRUE(comparison.failures.empty());
  EXPECT_EQ(comparison.kinds[0].old_count, 2u);
}

INSTANTIATE_TEST_SUITE_P(
    SampleChanges, SetComparisonTest,
    ::testing::Values(
        ChangeRow{"Nothing", [](NavDatabase&) {}, ""},
        ChangeRow{"AirportRenamed",
                  [](NavDatabase& db) { db.Airports[0].Name = std::string("Testfeld!", 10); },
                  "airports ~KTST:Name"},
        ChangeRow{"RunwayLengthened",
                  [](NavDatabase& db) {
                    db.Airports[0].Runways[0].LengthFeet += 100;
                    db.Airports[0].TowerFrequency = 118'350'000;
                  },
                  "airports ~KTST:TowerFrequency,Runways"},
        ChangeRow{"AirportIdentChanged",
                  [](NavDatabase& db) { SetText(db.Airports[1].Ident, "X2"); }, "airports +X2 -X1"},
        // The second airspace moves in the file; only the first differs.
        ChangeRow{"FirstAirspaceRenamed",
                  [](NavDatabase& db) {
                    db.Airspaces[0].NameLength = 6;
                    db.Airspaces[0].Name = std::string("ALPHAB\0\0", 8);
                  },
                  "airspaces +ALPHAB -ALPHA"},
        ChangeRow{"NdbRetuned", [](NavDatabase& db) { db.Ndbs[0].Frequency = 351'000; },
                  "NDBs ~AB:Frequency"},
        ChangeRow{"FuelAvailabilityChanged",
                  [](NavDatabase& db) { db.FuelAreas[0].Availability = 3; },
                  "fuel areas ~type 3 at -0.00900,0.00017:Availability"},
        ChangeRow{"FixMovedAndAirwayPointWithIt",
                  [](NavDatabase& db) {
                    db.Fixes[0].Latitude += 1;
                    db.VictorAirways[0].Points[0].Latitude += 1;
                  },
                  "intersections ~K2ABCDE:Latitude; victor airways ~V23:Points"}),
    [](const ::testing::TestParamInfo<ChangeRow>& row) { return std::string(row.param.name); });

TEST(SetComparison, ADamagedFileIsNamedAndItsRecordsBeforeTheFaultCompared) {
  NavDatabase db;
  testing::FillSampleDatabase(db);
  TempDir dir;
  WriteSet(db, dir / "old");
  WriteSet(db, dir / "new");
  const fs::path airports = dir / "new" / "world_airports.dat";
  fs::resize_file(airports, fs::file_size(airports) - 1);  // the second airport cut short
  const SetComparison comparison =
      CompareDatabaseSets(DatabaseSetFiles(dir / "old"), DatabaseSetFiles(dir / "new"));
  EXPECT_EQ(Told(comparison), "airports -X1");
  ASSERT_EQ(comparison.failures.size(), 1u);
  EXPECT_NE(comparison.failures[0].find("world_airports.dat: record 2"), std::string::npos)
      << comparison.failures[0];
  EXPECT_FALSE(comparison.Same());
}

}  // namespace
}  // namespace tarnvale
