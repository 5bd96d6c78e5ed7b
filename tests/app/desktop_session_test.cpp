// What both desktop windows decide, without any window: the remembered
// program and folder around start-up and Change, the lines naming what the
// next run uses, the installs the simulator dialog offers, and the calls
// the worker posts to the window's thread.
#include "app/desktop_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "app/posted_run_view.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;
using testing::WriteProgramConfigFile;

class KeptTarget final : public TargetMemory {
 public:
  RememberedTarget Load() const override { return kept; }
  void Save(const RememberedTarget& target) override {
    kept = target;
    ++saves;
  }
  RememberedTarget kept;
  int saves = 0;
};

// Answers every question at once with what the test put here, and notes
// how the target dialog was to open.
class AnsweringView final : public DesktopStartupView {
 public:
  void PrefillTarget(TargetProgramChoice choice, const fs::path& folder) override {
    prefilled = {choice, folder};
  }
  TargetProgramChoice AcceptedTargetChoice() const override { return choice; }
  std::optional<fs::path> AskTargetFolder() override { return target; }
  std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice& recorded) override {
    simulator_opened = recorded;
    return simulator;
  }
  void ShowMessage(std::string_view text, MessageTitle) override { messages.emplace_back(text); }

  RememberedTarget prefilled;
  TargetProgramChoice choice = TargetProgramChoice::Radar;
  std::optional<fs::path> target;
  std::optional<SimulatorChoice> simulator;
  SimulatorChoice simulator_opened;
  std::vector<std::string> messages;
};

class DesktopSessionTest : public ::testing::Test {
 protected:
  DesktopSessionTest() {
    WriteFile(dir_ / "FS9" / "fs9.exe", "");
    WriteFile(dir_ / "FS2002" / "fs2002.exe", "");
    WriteProgramConfigFile(scopel_, 2, 9, (dir_ / "FS9").string());
    fs::create_directory(scopel_ / "DEFAULT_DB");
    WriteProgramConfigFile(brisolt_, 1, 8, (dir_ / "FS2002").string());
  }

  TempDir dir_;
  const fs::path scopel_ = fs::canonical(dir_.Path()) / "Scopel";
  const fs::path brisolt_ = fs::canonical(dir_.Path()) / "Brisolt (FS2002)";
  KeptTarget memory_;
  AnsweringView view_;
  ProgramState state_;
};

// The next start opens with the last answer; a start that ends without one
// forgets nothing; the folder is let go once the window waits.
TEST_F(DesktopSessionTest, StartOpensWithTheRememberedAnswerAndKeepsTheNewOne) {
  memory_.kept = {TargetProgramChoice::Radar, scopel_};
  view_.target.reset();
  EXPECT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Quit);
  EXPECT_EQ(view_.prefilled.folder, scopel_);
  EXPECT_EQ(view_.prefilled.choice, TargetProgramChoice::Radar);
  EXPECT_EQ(memory_.saves, 0);

  view_.target = brisolt_;
  view_.choice = TargetProgramChoice::ChartFs2002;
  EXPECT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Ready);
  EXPECT_EQ(memory_.kept.choice, TargetProgramChoice::ChartFs2002);
  EXPECT_EQ(memory_.kept.folder, brisolt_);
  EXPECT_FALSE(state_.target_lock.has_value());
}

// Change opens with what the window serves, and the simulator dialog with
// what the chosen program records; the lines then name the new answers.
TEST_F(DesktopSessionTest, ChangeOpensWithTheServedAnswersAndIsRemembered) {
  view_.target = scopel_;
  ASSERT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Ready);
  view_.target = brisolt_;
  view_.choice = TargetProgramChoice::ChartFs2002;
  view_.simulator = SimulatorChoice{FsVersion::Fs2002, fs::canonical(dir_ / "FS2002")};

  ASSERT_TRUE(ChangeDesktopSetup(state_, view_, memory_));

  EXPECT_EQ(view_.prefilled.choice, TargetProgramChoice::Radar);
  EXPECT_EQ(view_.prefilled.folder, scopel_);
  EXPECT_EQ(view_.simulator_opened.version, FsVersion::Fs2002);
  EXPECT_EQ(memory_.kept.folder, brisolt_);
  EXPECT_EQ(ProgramLine(state_).Full(),
            "Program: Brisolt v4.0 (For FS2002), in " + brisolt_.string());
  EXPECT_EQ(SimulatorLine(state_).head, "Simulator: Microsoft Flight Simulator 2002");
  EXPECT_TRUE(view_.messages.empty());
}

TEST(SetupLines, NameWhatIsNotChosenYet) {
  const ProgramState state;
  EXPECT_EQ(ProgramLine(state).Full(), "Program: none chosen");
  EXPECT_EQ(SimulatorLine(state).Full(), "Simulator: none chosen");
}

TEST(RunEndingSummaryTest, RecordsTheRunFoundThenTheScan) {
  RunSummary summary;
  summary.records = {{"airports", 2}, {"fuel areas", 0}, {"VORs", 3}};
  summary.scan.areas = {{"Base", "Scenery\\BASE", "/fs/Scenery/BASE", AreaStatus::Read, 1, {}}};
  const std::vector<std::string> lines = RunEndingSummary(summary);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Records: 2 airports, 3 VORs");
  EXPECT_EQ(std::vector(lines.begin() + 1, lines.end()), ScanSummaryLines(summary.scan));
}

// A typed folder that is not there starts "Browse..." at the nearest one
// above it; a blank field at the system's own start.
TEST(BrowseStart, NearestExistingFolderOfTheTypedOne) {
  TempDir dir;
  EXPECT_EQ(BrowseStartFolder("x", dir / "not" / "there"), dir.Path());
  EXPECT_EQ(BrowseStartFolder("  ", dir.Path()), fs::path());
}

struct InstallsRow {
  const char* name;
  int installs;        // of fs9.exe under Program Files
  std::string field;   // the folder field's text ("@0": the first install's)
  std::string filled;  // what the dialog filled in last
  bool fills;          // the single install goes into the field
  std::size_t listed;
};

#ifndef _WIN32
// Sets (or, given nothing, removes) an environment variable for its life.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};
#endif

class SimulatorInstalls : public ::testing::TestWithParam<InstallsRow> {};

// Wine prefixes stand for Program Files on Linux; on Windows the test's
// own Program Files.
TEST_P(SimulatorInstalls, OneFillsTheFieldSeveralAreListed) {
  const InstallsRow& row = GetParam();
  TempDir dir;
#ifdef _WIN32
  const fs::path programs = dir / "Program Files";
  _wputenv_s(L"ProgramFiles", programs.c_str());
  _wputenv_s(L"ProgramFiles(x86)", programs.c_str());
  const fs::path near;
#else
  // Only the test's own prefix: not the user's ~/.wine or $WINEPREFIX.
  const ScopedEnvironment home("HOME", dir.Path().string());
  const ScopedEnvironment prefix("WINEPREFIX", {});
  const fs::path programs = dir / "prefix" / "drive_c" / "Program Files";
  fs::create_directories(dir / "prefix" / "dosdevices");
  fs::create_directory_symlink("../drive_c", dir / "prefix" / "dosdevices" / "c:");
  const fs::path near = dir / "prefix" / "drive_c";
#endif
  for (int install = 0; install < row.installs; ++install) {
    WriteFile(programs / ("FS9 " + std::to_string(install)) / "fs9.exe", "");
  }
  const std::string first =
      LookForSimulatorInstalls(FsVersion::Fs2004, near, "", "").fill.value_or("");
  const std::string field = row.field == "@0" ? first : row.field;

  const FoundInstalls found = LookForSimulatorInstalls(FsVersion::Fs2004, near, field, row.filled);

  EXPECT_EQ(found.fill.has_value(), row.fills);
  EXPECT_EQ(found.listed.size(), row.listed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SimulatorInstalls,
    ::testing::Values(InstallsRow{"NoneFound", 0, "", "", false, 0},
                      InstallsRow{"OneFillsAnEmptyField", 1, "", "", true, 0},
                      InstallsRow{"OneKeepsWhatTheUserTyped", 1, "D:\\FS9", "", false, 1},
                      InstallsRow{"OneAlreadyInTheFieldIsNotListed", 1, "@0", "", false, 0},
                      InstallsRow{"SeveralAreListed", 2, "", "", false, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A window's thread as a queue that the test runs when it likes.
class QueueThread final : public WindowThread {
 public:
  bool IsCurrent() const override { return std::this_thread::get_id() == owner_; }
  void Post(std::function<void()> call) override {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
  }
  void RunPosted() override {
    for (;;) {
      std::function<void()> call;
      {
        std::lock_guard lock(mutex_);
        if (calls_.empty()) return;
        call = std::move(calls_.front());
        calls_.pop_front();
      }
      call();
    }
  }

 private:
  std::thread::id owner_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::deque<std::function<void()>> calls_;
};

// Steps travel in batches; none overtakes or falls behind a call issued
// between them, and a call on the window's thread comes after the worker's.
TEST(PostedRunViewTest, KeepsTheWorkersOrderAcrossBatchesOfSteps) {
  QueueThread window;
  testing::RecordingRunView target;
  RunWorker worker;
  PostedRunView view(window, target, worker);
  worker.Start([&](std::stop_token) {
    for (int round = 0; round < 3; ++round) {
      for (int step = 0; step < 1000; ++step) view.StepProgress();
      view.SetProgressPosition(round);
    }
  });
  worker.Join();
  view.SetStatusText("Canceling...");

  std::vector<std::string> expected;
  for (int round = 0; round < 3; ++round) {
    expected.insert(expected.end(), 1000, "stepit");
    expected.push_back("position:" + std::to_string(round));
  }
  expected.push_back("status:Canceling...");
  EXPECT_EQ(target.Calls(), expected);
}

}  // namespace
}  // namespace tarnvale
