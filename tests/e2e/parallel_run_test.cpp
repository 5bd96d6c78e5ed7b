// A run that reads its scenery on several threads writes the same files,
// reports the same scan and shows the same texts and steps as a run on one
// thread, over generated worlds of both simulators.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/creation_run.h"
#include "app/scan_report.h"
#include "sceneryfab/installation_generator.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  std::map<std::string, std::string> files;  // every file of the target folder
  std::string scan;
  std::vector<std::string> view_calls;
};

// Generates an installation into `simulator` and a radar program folder
// reading it into `target`.
void Prepare(const fs::path& simulator, const fs::path& target, FsVersion fs_version,
             fab::Preset preset, std::uint64_t seed, double scale) {
  fab::GenerateOptions options;
  options.out = simulator;
  options.fs_version = fs_version;
  options.preset = preset;
  options.scale = scale;
  options.seed = seed;
  fab::GenerateInstallation(options);
  testing::WriteProgramConfigFile(target, 2, ToNumber(fs_version), simulator.string());
  fs::create_directories(target / "DEFAULT_DB");
}

// A creation run for the program folder `target` on `threads` threads (0:
// the default).
RunResult RunCreation(const fs::path& target, unsigned threads) {
  ProgramState state;
  state.TargetFolder = target;
  EXPECT_EQ(state.config.ReadProgramConfig(target / "Program_Config.cfg"), CfgResult::Ok);
  state.threads = threads;
  testing::RecordingRunView view;
  const RunSummary summary = CreationRun(state, view);
  EXPECT_EQ(summary.ending, RunEnding::Success) << summary.message;
  RunResult result{{}, ScanReportText(summary.scan, summary.records), view.Calls()};
  for (const auto& entry : fs::directory_iterator(target)) {
    if (entry.is_regular_file()) {
      result.files[entry.path().filename().string()] = testing::ReadFile(entry.path());
    }
  }
  return result;
}

class ParallelRun : public ::testing::TestWithParam<std::tuple<FsVersion, std::uint64_t>> {
 protected:
  ParallelRun() {
    Prepare(simulator_, target_, std::get<0>(GetParam()), fab::Preset::World,
            std::get<1>(GetParam()), 0.02);
  }

  RunResult Run(unsigned threads) { return RunCreation(target_, threads); }

  testing::TempDir dir_;
  fs::path simulator_ = dir_ / "Simulator";
  fs::path target_ = dir_ / "Radar";
};

TEST_P(ParallelRun, GivesWhatOneThreadGives) {
  const RunResult one = Run(1);
  const RunResult several = Run(3);
  ASSERT_GE(one.files.size(), 8u);  // the database set and Program_Config.cfg
  for (const auto& [name, bytes] : one.files) {
    EXPECT_TRUE(several.files.count(name) && several.files.at(name) == bytes) << name;
  }
  EXPECT_EQ(several.files.size(), one.files.size());
  EXPECT_EQ(several.scan, one.scan);
  EXPECT_EQ(several.view_calls, one.view_calls);
}

INSTANTIATE_TEST_SUITE_P(GeneratedWorlds, ParallelRun,
                         ::testing::Combine(::testing::Values(FsVersion::Fs2004, FsVersion::Fs2002),
                                            ::testing::Values(11u, 12u)));

// A whole installation adds thousands of terrain, object and texture files
// to the world's navigation files: the run writes the world's database from
// it, on one thread as on several.
class FullInstallation : public ::testing::TestWithParam<FsVersion> {};

TEST_P(FullInstallation, WritesTheWorldsDatabase) {
  const testing::TempDir dir;
  Prepare(dir / "World", dir / "WorldRadar", GetParam(), fab::Preset::World, 13, 0.01);
  Prepare(dir / "Full", dir / "FullRadar", GetParam(), fab::Preset::Full, 13, 0.01);
  const RunResult world = RunCreation(dir / "WorldRadar", 0);
  const RunResult full = RunCreation(dir / "FullRadar", 0);
  const RunResult full_one_thread = RunCreation(dir / "FullRadar", 1);
  ASSERT_GE(world.files.size(), 8u);
  EXPECT_EQ(full_one_thread.files, full.files);
  for (const auto& [name, bytes] : world.files) {
    if (name == "Program_Config.cfg") continue;  // names its own simulator folder
    EXPECT_TRUE(full.files.count(name) && full.files.at(name) == bytes) << name;
  }
  EXPECT_EQ(full.files.size(), world.files.size());
}

INSTANTIATE_TEST_SUITE_P(BothSimulators, FullInstallation,
                         ::testing::Values(FsVersion::Fs2004, FsVersion::Fs2002));

}  // namespace
}  // namespace tarnvale
