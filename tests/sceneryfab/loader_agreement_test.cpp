// The builder's summary against what the loader reads from the same files:
// a disagreement is a fault in one of the two.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "scenery/bgl_loader.h"
#include "sceneryfab/installation_generator.h"
#include "support/temp_dir.h"

namespace tarnvale::fab {
namespace {

namespace fs = std::filesystem;

template <typename Record, typename Member>
std::size_t SumOver(const RecordArray<Record>& records, Member member) {
  std::size_t total = 0;
  for (const Record& record : records) total += (record.*member).size();
  return total;
}

std::map<std::string, std::size_t> Counts(const NavDatabase& db) {
  return {{"airports", db.Airports.size()},
          {"runways", SumOver(db.Airports, &AirportRecord::Runways)},
          {"taxiway_points", SumOver(db.Airports, &AirportRecord::TaxiwayPoints)},
          {"taxiway_paths", SumOver(db.Airports, &AirportRecord::TaxiwayPaths)},
          {"parkings", SumOver(db.Airports, &AirportRecord::Parkings)},
          {"taxi_names", SumOver(db.Airports, &AirportRecord::TaxiNames)},
          {"fuel_areas", db.FuelAreas.size()},
          {"vors", db.Vors.size()},
          {"ilss", db.Ilss.size()},
          {"ndbs", db.Ndbs.size()},
          {"markers", db.Markers.size()},
          {"fixes", db.Fixes.size()},
          {"victor_airways", db.VictorAirways.size()},
          {"jet_airways", db.JetAirways.size()},
          {"airspaces", db.Airspaces.size()}};
}

class LoaderAgreement : public ::testing::TestWithParam<FsVersion> {};

TEST_P(LoaderAgreement, SummaryCountsWhatTheLoaderReads) {
  tarnvale::testing::TempDir dir;
  GenerateOptions options;
  options.out = dir.Path();
  options.fs_version = GetParam();
  options.preset = Preset::World;
  options.scale = 0.01;
  const GenerateSummary summary = GenerateInstallation(options);
  NavDatabase db;
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
    const std::string path = entry.path().generic_string();
    if (!entry.is_regular_file() || path.find("/Addon/") != std::string::npos)
      continue;  // the inactive area
    ASSERT_EQ(BglLoader(db, entry.path(), options.fs_version), LoadResult::Ok) << path;
  }
  std::map<std::string, std::size_t> expected = summary.records;
  std::map<std::string, std::size_t> loaded = Counts(db);
  for (const auto& [kind, count] : loaded) EXPECT_EQ(count, expected[kind]) << kind;
  EXPECT_GT(loaded["airports"], 0u);
}

INSTANTIATE_TEST_SUITE_P(BothSimulators, LoaderAgreement,
                         ::testing::Values(FsVersion::Fs2002, FsVersion::Fs2004),
                         [](const auto& info) {
                           return "Fs" + std::to_string(ToNumber(info.param));
                         });

}  // namespace
}  // namespace tarnvale::fab
