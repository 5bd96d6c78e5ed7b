// Start-up, setup-dialog and window-button rules, without any user interface.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/creation_run.h"
#include "app/messages.h"
#include "platform/fault_injection.h"
#include "sceneryfab/installation_writer.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingRunView;
using testing::TempDir;
using testing::WriteFile;
using testing::WriteProgramConfigFile;

fs::path Canonical(const fs::path& path) { return fs::canonical(path); }

struct TargetCase {
  const char* name;
  TargetProgramChoice choice;
  std::string typed;         // relative to the test folder unless absolute
  std::string accepted;      // folder accepted, relative to the test folder; empty when refused
  std::string_view message;  // the first line
  std::string detail = {};   // a part of the second line
};

// The message's first line is the dialog's own text; the second says what
// was found at the path.
void ExpectMessage(const std::string& message, std::string_view first, std::string detail) {
  EXPECT_EQ(message.substr(0, message.find('\n')), first);
#ifdef _WIN32  // paths are named with Windows separators
  std::replace(detail.begin(), detail.end(), '/', '\\');
#endif
  EXPECT_NE(message.find(detail), std::string::npos) << message;
}

class TargetProgramAnswerTest : public ::testing::TestWithParam<TargetCase> {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "Modules" / "Brisolt (FS2002)" / "Program_Config.cfg", "");
    WriteFile(dir_ / "Scopel" / "PROGRAM_CONFIG.CFG", "");
  }
  TempDir dir_;
};

TEST_P(TargetProgramAnswerTest, AcceptsOnlyAFolderHoldingProgramConfig) {
  const TargetCase& row = GetParam();
  const DialogAnswer answer = CheckTargetProgramAnswer(row.choice, row.typed, dir_.Path());
  EXPECT_EQ(answer.accepted, !row.accepted.empty());
  ExpectMessage(answer.message, row.message, row.detail);
  if (answer.accepted) {
    EXPECT_EQ(answer.folder, Canonical(dir_ / row.accepted));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TargetProgramAnswerTest,
    ::testing::Values(
        TargetCase{"NoChoice", TargetProgramChoice::None, "Scopel", "",
                   text::kNoTargetProgramChosen},
        TargetCase{"ChartFs2002AppendsItsSubFolder",
                   TargetProgramChoice::ChartFs2002,
                   "Modules",
                   "Modules/Brisolt (FS2002)",
                   {}},
        TargetCase{"ChartFs2004SubFolderMissing", TargetProgramChoice::ChartFs2004, "Modules", "",
                   text::kWrongTargetFolder, "Brisolt (FS2004) does not exist."},
        TargetCase{"ChartProgramsOwnFolder",
                   TargetProgramChoice::ChartFs2002,
                   "Modules/Brisolt (FS2002)",
                   "Modules/Brisolt (FS2002)",
                   {}},
        TargetCase{"RadarTakesTheFolderItself", TargetProgramChoice::Radar, "Scopel", "Scopel", {}},
        TargetCase{"RadarFolderWithoutConfig", TargetProgramChoice::Radar, "Modules", "",
                   text::kWrongTargetFolder,
                   "Modules/Brisolt (FS2002) holds one: did you mean that folder?"},
        TargetCase{"AFileIsNoFolder", TargetProgramChoice::Radar, "Scopel/PROGRAM_CONFIG.CFG", "",
                   text::kWrongTargetFolder, "is a file, not a folder."},
        TargetCase{"WindowsSeparatorsAndDotDot",
                   TargetProgramChoice::Radar,
                   "Modules\\..\\Scopel\\",
                   "Scopel",
                   {}},
        TargetCase{"MissingFolder", TargetProgramChoice::Radar, "Nowhere", "",
                   text::kWrongTargetFolder, "Nowhere does not exist."},
        TargetCase{"EmptyText", TargetProgramChoice::Radar, "  ", "", text::kWrongTargetFolder},
        TargetCase{"EmptyTextWithSubFolder", TargetProgramChoice::ChartFs2002, "", "",
                   text::kWrongTargetFolder}),
    [](const auto& info) { return std::string(info.param.name); });

// The simulator dialog's refusals, word for word.
constexpr std::string_view kNotYourFs2002Folder =
    "The directory that you had entered is not your FS2002's main folder, please try again.";
constexpr std::string_view kNotYourFs2004Folder =
    "The directory that you had entered is not your FS2004's main folder, please try again.";

struct SimulatorCase {
  const char* name;
  FsVersion version;
  std::string typed;
  bool accepted;
  std::string_view message;  // the first line
  std::string detail = {};   // a part of the second line
  FrontEnd front_end = FrontEnd::CommandLine;
};

class SimulatorAnswerTest : public ::testing::TestWithParam<SimulatorCase> {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "FS9" / "fs9.exe", "");
    WriteFile(dir_ / "FS2002" / "FS2002.EXE", "");
  }
  TempDir dir_;
};

TEST_P(SimulatorAnswerTest, AcceptsOnlyTheFolderOfTheChosenSimulator) {
  const SimulatorCase& row = GetParam();
  const DialogAnswer answer =
      CheckSimulatorAnswer(row.version, row.typed, dir_.Path(), {}, row.front_end);
  EXPECT_EQ(answer.accepted, row.accepted);
  ExpectMessage(answer.message, row.message, row.detail);
  if (row.accepted) {
    EXPECT_EQ(answer.folder, Canonical(dir_ / row.typed));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SimulatorAnswerTest,
    ::testing::Values(
        SimulatorCase{"NoVersion", FsVersion::None, "FS9", false, text::kNoSimulatorVersionChosen},
        SimulatorCase{"Fs2004", FsVersion::Fs2004, "FS9", true, {}},
        SimulatorCase{"Fs2002ProgramInCapitals", FsVersion::Fs2002, "FS2002", true, {}},
        SimulatorCase{"Fs2002AskedOfAnFs2004Folder", FsVersion::Fs2002, "FS9", false,
                      kNotYourFs2002Folder, "holds fs9.exe rather than fs2002.exe"},
        SimulatorCase{"Fs2004AskedOfAnFs2002Folder", FsVersion::Fs2004, "FS2002", false,
                      kNotYourFs2004Folder, "(on the command line, --fs-version 8)."},
        // A window speaks of its own controls, and of the folder as typed.
        SimulatorCase{"Fs2004AskedOfAnFs2002FolderInAWindow", FsVersion::Fs2004, "FS2002", false,
                      kNotYourFs2004Folder,
                      "\nFS2002 holds fs2002.exe rather than fs9.exe: choose Microsoft Flight "
                      "Simulator 2002 above.",
                      FrontEnd::Window},
        SimulatorCase{"MissingFolder", FsVersion::Fs2004, "Nowhere", false, kNotYourFs2004Folder,
                      "Nowhere does not exist."}),
    [](const auto& info) { return std::string(info.param.name); });

class ScriptedStartupView : public StartupView {
 public:
  std::optional<fs::path> AskTargetFolder() override { return target; }
  std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice& recorded) override {
    ++simulator_questions;
    last_recorded = recorded;
    if (before_simulator_answer) before_simulator_answer();
    return simulator;
  }
  void ShowMessage(std::string_view text, MessageTitle title) override {
    messages.emplace_back(std::string(text), title);
  }

  std::optional<fs::path> target;
  std::optional<SimulatorChoice> simulator;
  std::function<void()> before_simulator_answer;
  int simulator_questions = 0;
  SimulatorChoice last_recorded;
  std::vector<std::pair<std::string, MessageTitle>> messages;
};

class RunStartupTest : public ::testing::Test {
 protected:
  RunStartupTest() {
    WriteFile(simulator_ / "fs9.exe", "");
    view_.target = target_;
    view_.simulator = SimulatorChoice{FsVersion::Fs2004, simulator_};
  }

  std::string ConfigText() const { return ReadFile(target_ / "Program_Config.cfg"); }

  TempDir dir_;
  fs::path target_ = dir_ / "Target";
  fs::path simulator_ = dir_ / "FS9";
  ProgramState state_;
  ScriptedStartupView view_;
};

TEST_F(RunStartupTest, ClosingTheTargetDialogQuits) {
  view_.target.reset();
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Quit);
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(RunStartupTest, MissingProgramConfigTerminatesWithTheErrorTitle) {
  fs::create_directories(target_);
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Terminate);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].first,
            text::WithDetail(text::kProgramConfigMissing,
                             "No Program_Config.cfg was found in " + target_.string() + "."));
  EXPECT_EQ(view_.messages[0].second, MessageTitle::ErrorMessage);
}

TEST_F(RunStartupTest, TwoProgramConfigsInOtherLetterCaseAreRefusedAndLeftAlone) {
#ifdef _WIN32
  GTEST_SKIP() << "names that differ only in letter case are one name on Windows";
#endif
  WriteProgramConfigFile(target_, 2);
  WriteFile(target_ / "PROGRAM_CONFIG.CFG", "[Main Settings]\r\nProgram_Id=1\r\n");
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Terminate);
  ASSERT_EQ(view_.messages.size(), 1u);
  const std::string& message = view_.messages[0].first;
  EXPECT_EQ(message.substr(0, message.find('\n')), text::kProgramConfigTwice);
  EXPECT_NE(message.find((target_ / "PROGRAM_CONFIG.CFG").string()), std::string::npos);
  EXPECT_NE(message.find((target_ / "Program_Config.cfg").string()), std::string::npos);
  EXPECT_EQ(ReadFile(target_ / "PROGRAM_CONFIG.CFG"), "[Main Settings]\r\nProgram_Id=1\r\n");
}

TEST_F(RunStartupTest, RecordedSimulatorNeedsNoQuestionAndNoRewrite) {
  WriteProgramConfigFile(target_, 1, 9, "/opt/fs9");
  const std::string before = ConfigText();
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Ready);
  EXPECT_EQ(view_.simulator_questions, 0);
  EXPECT_EQ(ConfigText(), before);
  EXPECT_EQ(state_.TargetFolder, target_);
  EXPECT_EQ(state_.config.FS_Directory, "/opt/fs9");
}

TEST_F(RunStartupTest, FirstUseAsksForTheSimulatorAndWritesDefaults) {
  WriteProgramConfigFile(target_, 1, 0, "/opt/fs9");
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Ready);
  EXPECT_EQ(view_.simulator_questions, 1);
  const std::string text = ConfigText();
  EXPECT_NE(text.find("FS_Version=9 "), std::string::npos) << text;
  EXPECT_NE(text.find("FS_Directory=" + simulator_.string() + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Follow_Aircraft=TRUE\r\n"), std::string::npos) << text;
}

TEST_F(RunStartupTest, ClosingTheSimulatorDialogQuitsWithoutWriting) {
  WriteProgramConfigFile(target_, 2);
  const std::string before = ConfigText();
  view_.simulator.reset();
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Quit);
  EXPECT_EQ(ConfigText(), before);
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(RunStartupTest, RadarProgramNeedsItsDefaultDbFolder) {
  WriteProgramConfigFile(target_, 2, 9, simulator_.string());
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Terminate);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].first,
            text::WithDetail(text::kDefaultDbMissing,
                             "No DEFAULT_DB folder was found in " + target_.string() + "."));

  fs::create_directories(target_ / "default_db");
  view_.messages.clear();
  ProgramState fresh;
  EXPECT_EQ(RunStartup(fresh, view_), StartupOutcome::Ready);
  EXPECT_TRUE(view_.messages.empty());
}

// A settings file that cannot be read is not one without settings: start-up
// stops before asking for a simulator, and the file stays as it was.
TEST_F(RunStartupTest, AnUnreadableProgramConfigStopsWithTheFileIntact) {
  WriteProgramConfigFile(target_, 2, 9, "/fs9");
  const std::string before = ConfigText();
  platform::FaultScope faults;
  faults.Inject(platform::FaultSite::OpenInput, std::make_error_code(std::errc::io_error));
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Terminate);
  EXPECT_EQ(view_.simulator_questions, 0);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].first.rfind(std::string(text::kProgramConfigMissing) + "\n", 0), 0u);
  EXPECT_NE(view_.messages[0].first.find("cannot be read"), std::string::npos);
  EXPECT_EQ(ConfigText(), before);
}

TEST_F(RunStartupTest, FailedRewriteStillChecksDefaultDbBeforeTerminating) {
  WriteProgramConfigFile(target_, 2);
  platform::FaultScope faults;
  faults.Inject(platform::FaultSite::Rename, std::make_error_code(std::errc::io_error));
  EXPECT_EQ(RunStartup(state_, view_), StartupOutcome::Terminate);
  ASSERT_EQ(view_.messages.size(), 2u);
  EXPECT_EQ(view_.messages[0].first.substr(0, text::kProgramConfigNotRewritten.size() + 1),
            std::string(text::kProgramConfigNotRewritten) + "\n");
  EXPECT_EQ(view_.messages[1].first.substr(0, text::kDefaultDbMissing.size() + 1),
            std::string(text::kDefaultDbMissing) + "\n");
}

TEST_F(RunStartupTest, ReplacingTheSimulatorKeepsTheOtherSettings) {
  WriteProgramConfigFile(target_, 1, 8, "/old/fs2002");
  WriteFile(target_ / "Program_Config.cfg",
            ConfigText() + "[Display Settings]\r\nFollow_Aircraft=FALSE\r\nILS_Graphic=TRUE\r\n");
  ASSERT_TRUE(OpenProgramConfig(state_, target_, view_));
  const std::string before = ConfigText();
  ReplaceSimulator(state_, {FsVersion::Fs2004, simulator_});
  // Recorded by the next run, with its set; the file waits until then.
  EXPECT_TRUE(state_.simulator_pending);
  EXPECT_EQ(ConfigText(), before);
  const std::string text = state_.config.ProgramConfigText();
  EXPECT_NE(text.find("FS_Version=9 "), std::string::npos) << text;
  EXPECT_NE(text.find("Follow_Aircraft=FALSE\r\nILS_Graphic=TRUE\r\n"), std::string::npos) << text;
}

// "Change Program or Simulator...": the window keeps the program it serves
// until the new one is open and its simulator recorded.
TEST_F(RunStartupTest, ChangeTakesEffectOnlyWhenBothAnswersAreRecorded) {
  WriteProgramConfigFile(target_, 1, 8, "/old/fs2002");
  const fs::path other = dir_ / "Brisolt (FS2004)";
  WriteProgramConfigFile(other, 1, 9, "/elsewhere/fs9");
  const std::string other_before = ReadFile(other / "Program_Config.cfg");
  ASSERT_TRUE(OpenProgramConfig(state_, target_, view_));
  ReleaseTargetFolder(state_);
  view_.target = other;

  view_.simulator.reset();
  EXPECT_FALSE(ChangeProgramOrSimulator(state_, view_));
  EXPECT_EQ(view_.last_recorded.version, FsVersion::Fs2004);
  EXPECT_EQ(view_.last_recorded.folder, fs::path("/elsewhere/fs9"));
  EXPECT_EQ(state_.TargetFolder, target_);
  EXPECT_EQ(state_.config.FS_Directory, "/old/fs2002");
  EXPECT_EQ(ReadFile(other / "Program_Config.cfg"), other_before);
  EXPECT_FALSE(state_.target_lock.has_value());

  view_.simulator = SimulatorChoice{FsVersion::Fs2004, simulator_};
  EXPECT_TRUE(ChangeProgramOrSimulator(state_, view_));
  EXPECT_EQ(state_.TargetFolder, other);
  EXPECT_EQ(CurrentTargetChoice(state_), TargetProgramChoice::ChartFs2004);
  EXPECT_EQ(state_.config.FS_Directory, simulator_.string());
  // The program recorded a simulator: the new one waits for the next run.
  EXPECT_TRUE(state_.simulator_pending);
  EXPECT_EQ(ReadFile(other / "Program_Config.cfg"), other_before);
  EXPECT_FALSE(state_.target_lock.has_value());
  EXPECT_TRUE(view_.messages.empty());
}

// Change reads the chosen program's file as a start does: nothing of the
// program served before carries over, and a program that records no
// simulator gets the first-use defaults, byte for byte as a start gives them.
TEST_F(RunStartupTest, ChangeLeavesTheSettingsAFreshStartLeaves) {
  WriteProgramConfigFile(target_, 2, 9, "/radar/fs9");
  const fs::path chart = dir_ / "Brisolt (FS2004)";
  const std::string chart_file =
      "[Main Settings]\r\nProgram_Name=\r\nProgram_Id=1\r\nFS_Version=0\r\nFS_Directory=\r\n";
  WriteFile(chart / "Program_Config.cfg", chart_file);
  ScriptedStartupView start_view;
  start_view.target = chart;
  start_view.simulator = view_.simulator;
  ProgramState fresh;
  ASSERT_EQ(RunStartup(fresh, start_view), StartupOutcome::Ready);
  ReleaseTargetFolder(fresh);
  const std::string after_start = ReadFile(chart / "Program_Config.cfg");
  WriteFile(chart / "Program_Config.cfg", chart_file);

  ASSERT_TRUE(OpenProgramConfig(state_, target_, view_));
  ReleaseTargetFolder(state_);
  view_.target = chart;
  ASSERT_TRUE(ChangeProgramOrSimulator(state_, view_));

  EXPECT_EQ(ReadFile(chart / "Program_Config.cfg"), after_start);
  EXPECT_FALSE(state_.simulator_pending);
}

// The window's buttons, around a real run on a worker thread.
class WindowActionsTest : public ::testing::Test {
 protected:
  WindowActionsTest() : simulator_(dir_ / "FS9", FsVersion::Fs2004) {
    const fs::path area = simulator_.AddArea({"Base", "Scenery\\Base"});
    WriteFile(area / "a.bgl", "not a scenery file");
    WriteFile(area / "b.bgl", "not a scenery file");
    simulator_.WriteSceneryCfg();
    WriteProgramConfigFile(target_, 1, 9, simulator_.Root().string());
    ScriptedStartupView unused;
    EXPECT_TRUE(OpenProgramConfig(state_, target_, unused));
  }

  TempDir dir_;
  fab::Installation simulator_;
  fs::path target_ = dir_ / "Target";
  ProgramState state_;
  RecordingRunView view_;
};

TEST_F(WindowActionsTest, CreateDeletesTheOldSetAndRunsOnTheWorker) {
  // An old set without records: the new one, without records too, replaces it.
  WriteFile(target_ / "WORLD_MARKERS.DAT", "");
  ASSERT_TRUE(StartCreationRun(state_, view_));
  state_.worker.Join();
  EXPECT_EQ(view_.Calls()[0], "cancel:on");
  EXPECT_EQ(view_.Calls()[1], "create:off");
  ASSERT_TRUE(state_.last_run.has_value());
  EXPECT_EQ(state_.last_run->ending, RunEnding::Success);
  EXPECT_FALSE(fs::exists(target_ / "WORLD_MARKERS.DAT"));
}

TEST_F(WindowActionsTest, AnOldFileThatCannotBeDeletedStopsBeforeTheRun) {
  fs::create_directories(target_ / "world_airports.dat");
  EXPECT_FALSE(StartCreationRun(state_, view_));
  const std::string expected_message = text::WithDetail(
      text::kOldFilesNotDeleted, (target_ / "world_airports.dat").string() +
                                     " is a folder where a database file belongs. " +
                                     std::string(text::kPreviousSetKept));
  EXPECT_EQ(view_.Calls(), (std::vector<std::string>{"message:" + expected_message, "close"}));
  EXPECT_FALSE(state_.worker.Running());
}

// Whatever stands under the staging folder's name is no folder of ours: the
// run is refused with what it is and what to do, and it is neither followed
// nor removed.
TEST_F(WindowActionsTest, AStagingNameTakenByAFileOrALinkStopsBeforeTheRun) {
  const fs::path staging = target_ / ".tarnvale-staging";
  const fs::path elsewhere = dir_ / "elsewhere";
  WriteFile(elsewhere / "kept.txt", "the user's");
  for (const std::string what : {"a file", "a symbolic link"}) {
#ifdef _WIN32  // symbolic links need a privilege on Windows
    if (what == "a symbolic link") continue;
#endif
    if (what == "a file") {
      WriteFile(staging, "the user's");
    } else {
      fs::create_directory_symlink(elsewhere, staging);
    }
    RecordingRunView view;
    EXPECT_FALSE(StartCreationRun(state_, view)) << what;
    ASSERT_FALSE(view.Calls().empty());
    const std::string message = view.Calls().front();
    EXPECT_NE(message.find(staging.string() + " is " + what), std::string::npos) << message;
    EXPECT_NE(message.find("remove or rename it"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(elsewhere / "kept.txt"), "the user's");
    EXPECT_TRUE(fs::exists(fs::symlink_status(staging))) << what;
    fs::remove(staging);
  }
}

// A lock that fails for any reason but "taken" (no locks on a network file
// system, a full lock table) refuses the folder: nothing else would keep a
// second run out.
TEST_F(WindowActionsTest, ALockErrorRefusesTheFolder) {
  ReleaseTargetFolder(state_);
  platform::FaultScope faults;
  faults.Inject(platform::FaultSite::LockFolder, std::make_error_code(std::errc::no_lock_available),
                0, 0);
  const std::string expected =
      text::WithDetail(text::kTargetFolderNotLocked,
                       "Folder: " + target_.string() + " (" +
                           std::make_error_code(std::errc::no_lock_available).message() +
                           "). Without the lock another run could mix its files with this one's.");

  EXPECT_FALSE(StartCreationRun(state_, view_));
  EXPECT_EQ(view_.Calls(), std::vector<std::string>{"message:" + expected});
  EXPECT_FALSE(state_.worker.Running());

  ScriptedStartupView start_view;
  start_view.target = target_;
  ProgramState start;
  EXPECT_EQ(RunStartup(start, start_view), StartupOutcome::Terminate);
  ASSERT_EQ(start_view.messages.size(), 1u);
  EXPECT_EQ(start_view.messages[0].first, expected);
}

TEST_F(WindowActionsTest, ASecondRunOnTheSameFolderIsRefusedWhileTheFirstGoesOn) {
  std::mutex mutex;
  std::condition_variable_any changed;
  bool first_running = false;
  bool second_tried = false;
  view_.OnCall("stepit", [&] {
    std::unique_lock lock(mutex);
    first_running = true;
    changed.notify_all();
    changed.wait(lock, [&] { return second_tried; });
  });
  ASSERT_TRUE(StartCreationRun(state_, view_));
  ProgramState second;
  second.TargetFolder = target_;
  RecordingRunView second_view;
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return first_running; });
  }
  EXPECT_FALSE(StartCreationRun(second, second_view));
  {
    std::lock_guard lock(mutex);
    second_tried = true;
  }
  changed.notify_all();
  state_.worker.Join();

  EXPECT_EQ(second_view.Calls(),
            std::vector<std::string>{"message:" + text::WithDetail(text::kTargetFolderBusy,
                                                                   "Folder: " + target_.string())});
  EXPECT_EQ(state_.last_run->ending, RunEnding::Success);
  // The first run let go of the folder when it ended.
  std::error_code error;
  EXPECT_TRUE(platform::FolderLock::TryAcquire(target_, error).has_value()) << error.message();
}

TEST_F(WindowActionsTest, CancelShowsCancelingAndRaisesTheFlag) {
  RequestCancel(state_, view_);
  EXPECT_TRUE(state_.cancel);
  EXPECT_EQ(view_.Calls(), std::vector<std::string>{"status:Canceling..."});
}

TEST_F(WindowActionsTest, CloseHaltsTheRunWhereItStandsAndKeepsTheOldSet) {
  WriteFile(target_ / "world_airports.dat", "the set of an earlier run");
  // The worker waits inside its first progress step, as it would inside a
  // message box, until the halt wakes it.
  std::mutex mutex;
  std::condition_variable_any changed;
  bool waiting = false;
  view_.OnCall("stepit", [&] {
    std::unique_lock lock(mutex);
    waiting = true;
    changed.notify_all();
    changed.wait(lock, state_.worker.StopToken(), [] { return false; });
  });
  ASSERT_TRUE(StartCreationRun(state_, view_));
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return waiting; });
  }

  HaltForClose(state_, view_);

  EXPECT_FALSE(state_.worker.Running());
  EXPECT_EQ(state_.last_run->ending, RunEnding::Halted);
  EXPECT_EQ(ReadFile(target_ / "world_airports.dat"), "the set of an earlier run");
  EXPECT_FALSE(fs::exists(target_ / ".tarnvale-staging"));
  const std::vector<std::string> after = view_.CallsFrom("stepit");
  EXPECT_EQ(after, (std::vector<std::string>{"stepit", "status:Closing..."}));
}

TEST_F(WindowActionsTest, CloseWithoutARunLeavesTheFilesAlone) {
  WriteFile(target_ / "world_airports.dat", "complete");
  HaltForClose(state_, view_);
  EXPECT_TRUE(fs::exists(target_ / "world_airports.dat"));
  EXPECT_EQ(view_.Calls(), std::vector<std::string>{"status:Closing..."});
}

}  // namespace
}  // namespace tarnvale
