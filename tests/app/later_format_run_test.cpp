// Real airport files of a later simulator generation in an add-on area of an
// FS2004 installation: their navaids and waypoints are read, their airport
// records are passed over, so they hide no stock airport.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/creation_run.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/installation_writer.h"
#include "small_airport.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

std::size_t CountOf(const std::vector<RecordCount>& counts, const std::string& kind) {
  const auto found = std::find_if(counts.begin(), counts.end(),
                                  [&kind](const RecordCount& count) { return count.kind == kind; });
  return found == counts.end() ? 0 : found->count;
}

fab::PlannedArea ActiveArea(const std::string& title, const std::string& local) {
  fab::PlannedArea area(title, local);
  area.active = true;
  return area;
}

TEST(LaterFormatRun, AddOnAirportsOfALaterGenerationHideNoStockAirport) {
  const fs::path real = testing::RealDataDir();
  if (real.empty()) GTEST_SKIP() << testing::RealDataAbsent();
  const testing::TempDir dir;
  fab::Installation simulator(dir / "FS9", FsVersion::Fs2004);
  // The stock area is listed first, so the add-on area is read before it.
  fab::SceneryContent stock;
  stock.airports = {testing::SmallAirport("LEAB", 38.9), testing::SmallAirport("LEMD", 40.5)};
  fab::WriteBytesToFile(simulator.AddArea(ActiveArea("Stock", "Scenery\\Stock")) / "AP.bgl",
                        fab::BuildFs2004File(fab::MakeFs2004File(stock)));
  const fs::path addon = simulator.AddArea(ActiveArea("LEAB", "Addon Scenery\\LEAB"));
  NavDatabase later;  // the navaids and waypoints of the later files on their own
  for (const char* name : {"LEAB_ADEP4_ARV187.bgl", "LEAB_ADEP5_ARV187.bgl"}) {
    fs::copy_file(real / "later-format" / name, addon / name);
    ASSERT_EQ(BglLoader(later, addon / name, FsVersion::Fs2004), LoadResult::Ok);
  }
  ASSERT_GT(later.Ndbs.size() + later.Vors.size() + later.Ilss.size(), 0u);
  ASSERT_GT(later.Fixes.size(), 0u);
  simulator.WriteSceneryCfg();
  const fs::path target = dir / "Brisolt";
  testing::WriteProgramConfigFile(target, 1, 9, simulator.Root().string());
  ProgramState state;
  state.TargetFolder = target;
  state.config.Program_Id = TargetProgram::Chart;
  state.config.FS_Version = FsVersion::Fs2004;
  state.config.FS_Directory = simulator.Root().string();
  testing::RecordingRunView view;

  const RunSummary summary = CreationRun(state, view);

  ASSERT_EQ(summary.ending, RunEnding::Success) << summary.message;
  EXPECT_EQ(CountOf(summary.records, "airports"), 2u);
  EXPECT_EQ(CountOf(summary.records, "runways"), 2u);  // LEAB keeps its stock runway
  EXPECT_TRUE(summary.scan.duplicate_airports.empty());
  EXPECT_EQ(CountOf(summary.records, "NDBs"), later.Ndbs.size());
  EXPECT_EQ(CountOf(summary.records, "VORs"), later.Vors.size());
  EXPECT_EQ(CountOf(summary.records, "ILS"), later.Ilss.size());
  EXPECT_EQ(CountOf(summary.records, "intersections"), later.Fixes.size());
  ASSERT_EQ(summary.scan.files.size(), 2u);
  for (const FileScan& file : summary.scan.files) {
    EXPECT_EQ(file.status, FileStatus::LaterFormat) << file.path;
    EXPECT_EQ(file.skipped, 1u) << file.path;  // its one airport record
  }
}

}  // namespace
}  // namespace tarnvale
