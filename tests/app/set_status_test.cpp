// What a run keeps of the scenery it read, and what it tells of the set it
// replaced: the set is current after a run, every later change of the
// scenery is named, and a set that loses most of a kind is warned of.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/creation_run.h"
#include "app/scenery_manifest.h"
#include "app/set_comparison_report.h"
#include "small_airport.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::SmallAirport;
using testing::WriteBgl;

class SetStatusTest : public ::testing::Test {
 protected:
  SetStatusTest() : simulator_(dir_ / "FS9", FsVersion::Fs2004) {
    testing::WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
    EXPECT_EQ(state_.config.ReadProgramConfig(target_ / "Program_Config.cfg"), CfgResult::Ok);
    state_.TargetFolder = target_;
    state_.report_archive = dir_ / "state";
    // Quotes and backslashes are escaped in the kept manifest.
    europe_ = simulator_.AddArea({"Europe \"West\"", "Scenery\\Europe"});
    asia_ = simulator_.AddArea({"Asia", "Scenery\\Asia"});
    WriteBgl(europe_ / "a.bgl", {SmallAirport("LSZH")});
    WriteBgl(europe_ / "b.bgl", {SmallAirport("LSGG"), SmallAirport("LFSB", 47.6)});
    WriteBgl(asia_ / "c.bgl", {SmallAirport("RJTT")});
    simulator_.WriteSceneryCfg();
  }

  RunSummary Run() {
    testing::RecordingRunView view;
    RunSummary summary = CreationRun(state_, view);
    EXPECT_EQ(summary.ending, RunEnding::Success) << summary.message;
    return summary;
  }

  testing::TempDir dir_;
  fab::Installation simulator_;
  fs::path target_ = dir_ / "Brisolt";
  fs::path europe_;
  fs::path asia_;
  ProgramState state_;
};

TEST_F(SetStatusTest, CurrentAfterARunAndEveryLaterChangeNamed) {
  EXPECT_FALSE(StatusOfSet(state_).built) << "no run has built the set yet";
  Run();
  EXPECT_TRUE(StatusOfSet(state_).Current());
  EXPECT_TRUE(SceneryChangeNotice(state_).empty());

  fs::last_write_time(europe_ / "a.bgl",
                      fs::last_write_time(europe_ / "a.bgl") + std::chrono::hours(1));
  WriteBgl(europe_ / "d.bgl", {SmallAirport("LSZB")});
  fs::remove(europe_ / "b.bgl");
  std::vector<fab::PlannedArea> areas = simulator_.Areas();
  areas[1].active = false;  // Asia
  areas.emplace_back("Africa", "Scenery\\Africa");
  fab::WriteTextToFile(simulator_.Root() / "Scenery.cfg", fab::SceneryCfgText(areas));

  const SetStatus status = StatusOfSet(state_);
  EXPECT_FALSE(status.Current());
  const SceneryChanges& changes = status.changes;
  const auto path = [](const fs::path& file) { return file.string(); };
  EXPECT_EQ(changes.files_changed, std::vector{path(europe_ / "a.bgl")});
  EXPECT_EQ(changes.files_added, std::vector{path(europe_ / "d.bgl")});
  EXPECT_EQ(changes.files_removed, (std::vector{path(asia_ / "c.bgl"), path(europe_ / "b.bgl")}));
  EXPECT_EQ(changes.areas_switched_off, std::vector<std::string>{"Asia (Scenery\\Asia)"});
  EXPECT_EQ(changes.areas_added, std::vector<std::string>{"Africa (Scenery\\Africa)"});
  EXPECT_TRUE(changes.areas_removed.empty() && changes.areas_switched_on.empty());
  EXPECT_EQ(SceneryChangeNotice(state_),
            (std::vector<std::string>{
                "The scenery has changed since the database files were built",
                "on " + status.built->built +
                    ": 1 file added, 2 removed, 1 changed; 1 area added, 1 switched off.",
                "Press Create to build them again."}));

  Run();
  EXPECT_TRUE(StatusOfSet(state_).Current());
}

TEST_F(SetStatusTest, ASetThatLosesMostAirportsIsComparedAndWarnedOf) {
  const RunSummary first = Run();
  EXPECT_FALSE(first.comparison) << "no previous set to compare with";
  fs::remove(europe_ / "b.bgl");
  fs::remove(asia_ / "c.bgl");
  WriteBgl(europe_ / "a.bgl", {SmallAirport("LSZH", 47.5, 3000.0)});

  const RunSummary second = Run();
  ASSERT_TRUE(second.comparison);
  EXPECT_EQ(ComparisonSummaryLines(second),
            std::vector<std::string>{
                "Compared with the previous database files: 3 airports removed, 1 changed."});
  EXPECT_EQ(ComparisonReportSection(second),
            "\nCompared with the previous database files: 3 airports removed, 1 changed.\n"
            "airports: 4 before, 1 now\n  - RJTT\n  - LSGG\n  - LFSB\n  ~ LSZH: Runways\n");
  const std::vector<std::string>& warnings = second.scan.warnings;
  EXPECT_NE(std::find(warnings.begin(), warnings.end(),
                      "Warning: the new database files hold 1 airports, fewer than three quarters "
                      "of the 4 the previous ones held. A wrong simulator folder or a missing "
                      "scenery area, usually."),
            warnings.end());
  EXPECT_NE(second.message.find("Warning: the new database files hold 1 airports"),
            std::string::npos)
      << "the run still succeeds, and its message says so: " << second.message;
}

}  // namespace
}  // namespace tarnvale
