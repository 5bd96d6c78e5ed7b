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

class ParallelRun : public ::testing::TestWithParam<std::tuple<FsVersion, std::uint64_t>> {
 protected:
  ParallelRun() {
    fab::GenerateOptions options;
    options.out = simulator_;
    options.fs_version = std::get<0>(GetParam());
    options.preset = fab::Preset::World;
    options.scale = 0.02;
    options.seed = std::get<1>(GetParam());
    fab::GenerateInstallation(options);
    testing::WriteProgramConfigFile(target_, 2, ToNumber(options.fs_version), simulator_.string());
    fs::create_directories(target_ / "DEFAULT_DB");
  }

  RunResult Run(unsigned threads) {
    ProgramState state;
    state.TargetFolder = target_;
    EXPECT_EQ(state.config.ReadProgramConfig(target_ / "Program_Config.cfg"), CfgResult::Ok);
    state.threads = threads;
    testing::RecordingRunView view;
    const RunSummary summary = CreationRun(state, view);
    EXPECT_EQ(summary.ending, RunEnding::Success) << summary.message;
    RunResult result{{}, ScanReportText(summary.scan, summary.records), view.Calls()};
    for (const auto& entry : fs::directory_iterator(target_)) {
      if (entry.is_regular_file()) {
        result.files[entry.path().filename().string()] = testing::ReadFile(entry.path());
      }
    }
    return result;
  }

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

}  // namespace
}  // namespace tarnvale
