// What both desktop windows decide, without any window: the remembered
// program and folder around start-up and Change, the lines naming what the
// next run uses, the installs the simulator dialog offers, and the calls
// the worker posts to the window's thread.
#include "app/desktop_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

#include "app/messages.h"
#include "app/posted_run_view.h"
#include "app/report_archive.h"
#include "app/scan_report_json.h"
#include "platform/folder_lock.h"
#include "support/program_folder.h"
#include "support/recording_run_view.h"
#include "support/temp_dir.h"

namespace tarnvale {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;
using testing::WriteProgramConfigFile;

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

// A Wine prefix of the test's own, the only one looked in ($WINEPREFIX):
// its drive C's "Program Files". On Windows the test's own Program Files.
class OwnPrefix {
 public:
  explicit OwnPrefix(const fs::path& dir)
#ifdef _WIN32
      : programs_(dir / "Program Files") {
    _wputenv_s(L"ProgramFiles", programs_.c_str());
    _wputenv_s(L"ProgramFiles(x86)", programs_.c_str());
  }
#else
      : home_("HOME", dir.string()),
        prefix_("WINEPREFIX", (dir / "prefix").string()),
        programs_(dir / "prefix" / "drive_c" / "Program Files") {
    fs::create_directories(programs_);
    fs::create_directories(dir / "prefix" / "dosdevices");
    fs::create_directory_symlink("../drive_c", dir / "prefix" / "dosdevices" / "c:");
  }
#endif
  const fs::path& Programs() const { return programs_; }
  // A folder inside the prefix, for looking near it.
  fs::path Near() const { return programs_.parent_path(); }

 private:
#ifndef _WIN32
  ScopedEnvironment home_;
  ScopedEnvironment prefix_;
#endif
  fs::path programs_;
};

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
    prefilled = {choice, folder, {}};
  }
  void OfferTargets(const std::vector<FoundProgram>& found) override { offered = found; }
  TargetProgramChoice AcceptedTargetChoice() const override { return choice; }
  std::optional<fs::path> AskTargetFolder() override { return target; }
  std::optional<SimulatorChoice> AskSimulator(const SimulatorChoice& recorded) override {
    simulator_opened = recorded;
    if (while_asking_simulator) while_asking_simulator();
    return simulator;
  }
  void ShowMessage(std::string_view text, MessageTitle) override { messages.emplace_back(text); }

  RememberedTarget prefilled;
  std::vector<FoundProgram> offered;
  TargetProgramChoice choice = TargetProgramChoice::Radar;
  std::optional<fs::path> target;
  std::optional<SimulatorChoice> simulator;
  SimulatorChoice simulator_opened;
  std::function<void()> while_asking_simulator;
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
  OwnPrefix prefix_{dir_.Path()};
  const fs::path scopel_ = fs::canonical(dir_.Path()) / "Scopel";
  const fs::path brisolt_ = fs::canonical(dir_.Path()) / "Brisolt (FS2002)";
  KeptTarget memory_;
  AnsweringView view_;
  ProgramState state_;
};

// The next start opens with the last answer; a start that ends without one
// forgets nothing; the folder is let go once the window waits.
TEST_F(DesktopSessionTest, StartOpensWithTheRememberedAnswerAndKeepsTheNewOne) {
  memory_.kept = {TargetProgramChoice::Radar, scopel_, {}};
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

#ifdef _WIN32
constexpr std::string_view kProgramFiles = "";  // the test's own, a path of its own
#else
constexpr std::string_view kProgramFiles = "C:\\Program Files\\";
#endif

std::vector<std::string> Labels(const std::vector<FoundProgram>& found) {
  std::vector<std::string> labels;
  for (const FoundProgram& program : found) labels.push_back(FoundProgramLabel(program));
  std::sort(labels.begin(), labels.end());
  return labels;
}

// With nothing remembered, the one program installed fills the target
// dialog in, as the user would type it; several are listed, none chosen.
// A Program_Config.cfg that names no program is passed over.
TEST_F(DesktopSessionTest, FirstStartFillsInTheProgramFoundOrListsThem) {
  WriteProgramConfigFile(prefix_.Programs() / "Scopel v5", 2);
  WriteProgramConfigFile(prefix_.Programs() / "Other", 0);
  view_.target.reset();
  ASSERT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Quit);
  EXPECT_EQ(view_.prefilled.choice, TargetProgramChoice::Radar);
  if (!kProgramFiles.empty()) {
    EXPECT_EQ(view_.prefilled.folder.string(), std::string(kProgramFiles) + "Scopel v5");
  }
  EXPECT_TRUE(view_.offered.empty());

  WriteProgramConfigFile(prefix_.Programs() / "Brisolt (FS2004)", 1);
  view_ = AnsweringView();
  ASSERT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Quit);
  EXPECT_EQ(view_.prefilled.choice, TargetProgramChoice::None);
  ASSERT_EQ(view_.offered.size(), 2u);
  if (!kProgramFiles.empty()) {
    EXPECT_EQ(
        Labels(view_.offered),
        (std::vector<std::string>{"Brisolt v5.0 (For FS2004): C:\\Program Files\\Brisolt (FS2004)",
                                  "Scopel v5.0 (For FS2002/2004): C:\\Program Files\\Scopel v5"}));
  }
}

// The simulator question waits without the folder's lock: a command-line
// run may take it meanwhile. A simulator such a run recorded is not
// overwritten by first-use settings; the answer waits for the next run.
TEST_F(DesktopSessionTest, TheFolderIsFreeWhileTheSimulatorQuestionWaits) {
  WriteProgramConfigFile(scopel_, 2);
  view_.target = scopel_;
  view_.simulator = SimulatorChoice{FsVersion::Fs2004, fs::canonical(dir_ / "FS9")};
  bool free = false;
  view_.while_asking_simulator = [&] {
    std::error_code error;
    free = platform::FolderLock::TryAcquire(scopel_, error).has_value();
    WriteProgramConfigFile(scopel_, 2, 8, (dir_ / "FS2002").string());  // that run's record
  };

  ASSERT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Ready);

  EXPECT_TRUE(free);
  EXPECT_TRUE(state_.simulator_pending);
  EXPECT_EQ(state_.config.FS_Version, FsVersion::Fs2004);
  CFG_File_Reader written;
  ASSERT_EQ(written.ReadProgramConfig(scopel_ / "Program_Config.cfg"), CfgResult::Ok);
  EXPECT_EQ(written.FS_Version, FsVersion::Fs2002);
}

// The code page chosen under File applies at once and is remembered with
// the target; the next start applies it before anything is read.
TEST_F(DesktopSessionTest, TheChosenCodePageIsRememberedAndAppliedAtTheNextStart) {
  const platform::CodePage before = platform::ActiveCodePage();
  view_.target = scopel_;
  ASSERT_EQ(StartDesktopSession(state_, view_, memory_), StartupOutcome::Ready);
  ASSERT_TRUE(ChooseCodePage(state_, platform::CodePage::Windows1250, memory_));
  EXPECT_EQ(memory_.kept.code_page, platform::CodePage::Windows1250);
  EXPECT_EQ(memory_.kept.folder, scopel_);

  platform::SetActiveCodePage(platform::CodePage::Windows1252);
  ProgramState next;
  ASSERT_EQ(StartDesktopSession(next, view_, memory_), StartupOutcome::Ready);
  EXPECT_EQ(platform::ActiveCodePage(), platform::CodePage::Windows1250);
  EXPECT_EQ(memory_.kept.code_page, platform::CodePage::Windows1250);  // kept by the start
  platform::SetActiveCodePage(before);
}

// Before any version is chosen the simulator dialog offers the installs of
// both, each naming its version; a single one fills version and folder in.
TEST(SimulatorOfferTest, BothVersionsBeforeAnyIsChosen) {
  TempDir dir;
  const OwnPrefix prefix(dir.Path());
  WriteFile(prefix.Programs() / "FS9" / "fs9.exe", "");
  SimulatorOffer offer = OfferSimulatorInstalls({}, prefix.Near());
  ASSERT_TRUE(offer.fill.has_value());
  EXPECT_EQ(offer.fill->version, FsVersion::Fs2004);
  EXPECT_TRUE(offer.listed.empty());

  WriteFile(prefix.Programs() / "FS2002" / "fs2002.exe", "");
  offer = OfferSimulatorInstalls({}, prefix.Near());
  EXPECT_FALSE(offer.fill.has_value());
  std::vector<std::string> labels;
  for (const SimulatorInstall& install : offer.listed) {
    labels.push_back(SimulatorInstallLabel(install));
  }
  std::sort(labels.begin(), labels.end());
  ASSERT_EQ(labels.size(), 2u);
  if (!kProgramFiles.empty()) {
    EXPECT_EQ(labels[0], "Microsoft Flight Simulator 2002: C:\\Program Files\\FS2002");
    EXPECT_EQ(labels[1], "Microsoft Flight Simulator 2004: C:\\Program Files\\FS9");
  }
  // The one the settings record is not offered again.
  const SimulatorInstall recorded = offer.listed.front();
  offer = OfferSimulatorInstalls({recorded.version, recorded.folder}, prefix.Near());
  EXPECT_FALSE(offer.fill.has_value());
  EXPECT_EQ(offer.listed.size(), 1u);
}

// The main window's account of the last run, the same from the summary the
// run handed over and from its kept report after a restart; a newer report
// of another folder, or of an older version, is not taken for it.
TEST(LastRunTest, SameFromTheRunAndFromItsKeptReport) {
  using namespace std::chrono;
  TempDir dir;
  RunSummary summary;
  summary.finished = sys_days(year(2026) / 12 / 10) + hours(9) + minutes(14) + seconds(3);
  summary.scan.fs_version = FsVersion::Fs2004;
  summary.scan.target = dir / "Scopel";
  summary.records = {{"airports", 2}, {"runways", 5}};
  summary.files = {{"airports.dat", 2048}, {"vors.dat", 1024}};
  summary.times.writing = milliseconds(250);
  summary.scan.warnings = {"Warning: one"};
  const std::vector<std::string> expected = {
      "Last run: 2026-12-10 09:14 UTC, Microsoft Flight Simulator 2004: completed",
      "Records: 2 airports, 5 runways", "Files written: 2 (3.0 KB)", "Warning: one"};
  EXPECT_EQ(LastRunLines(summary), expected);
  const std::string details = RunDetailsText(summary);
  EXPECT_NE(details.find("  airports.dat: 2048 bytes\n"), std::string::npos) << details;
  EXPECT_NE(details.find("  writing: 0.25 s\n"), std::string::npos) << details;

  const fs::path reports = dir / "reports";
  std::string error;
  ASSERT_TRUE(KeepReport(summary, reports, error)) << error;
  RunSummary other = summary;
  other.scan.target = dir / "Brisolt";
  WriteFile(reports / "run-29990101-000000-1.json", ScanReportJsonText(other));
  // A report of an older version, which tells neither how nor when its run
  // ended, is no account of the last run.
  nlohmann::json older = ScanReportJson(summary);
  older.erase("ending");
  older.erase("finished");
  WriteFile(reports / "run-29990101-000000-2.json", older.dump());

  const std::optional<RunSummary> kept = LastKeptRun(reports, dir / "Scopel");
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(LastRunLines(*kept), expected);
  EXPECT_EQ(RunDetailsText(*kept), details);
  EXPECT_FALSE(LastKeptRun(reports, dir / "Elsewhere").has_value());
}

#ifndef _WIN32
// A refusal in the target dialog, and the main window's program line, name
// the folder as the user typed it, not as it lies inside the Wine prefix.
TEST(WindowWords, TheTargetFolderIsNamedAsTyped) {
  TempDir dir;
  const OwnPrefix prefix(dir.Path());
  for (const auto& [choice, typed, detail] :
       {std::tuple{TargetProgramChoice::Radar, "C:\\Program Files\\Nowhere",
                   "C:\\Program Files\\Nowhere does not exist."},
        std::tuple{TargetProgramChoice::ChartFs2004, "C:\\Program Files",
                   "C:\\Program Files\\Brisolt (FS2004) does not exist."}}) {
    EXPECT_EQ(CheckTargetProgramAnswer(choice, typed, dir.Path()).message,
              text::WithDetail(text::kWrongTargetFolder, detail));
  }
  ProgramState state;
  state.TargetFolder = prefix.Programs() / "Scopel v5";
  fs::create_directories(state.TargetFolder);
  EXPECT_EQ(ProgramLine(state).rest, ", in C:\\Program Files\\Scopel v5");
}
#endif

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
// above it; a blank field in the prefix's Program Files, or without a
// prefix at the system's own start.
TEST(BrowseStart, NearestExistingFolderOfTheTypedOne) {
  TempDir dir;
  EXPECT_EQ(BrowseStartFolder("x", dir / "not" / "there"), dir.Path());
#ifndef _WIN32
  {
    const ScopedEnvironment home("HOME", dir.Path().string());
    const ScopedEnvironment prefix("WINEPREFIX", {});
    EXPECT_EQ(BrowseStartFolder("  ", dir.Path()), fs::path());
  }
#endif
  const OwnPrefix prefix(dir.Path());
  fs::create_directories(prefix.Programs());
  EXPECT_TRUE(fs::equivalent(BrowseStartFolder("", {}, prefix.Near()), prefix.Programs()));
}

struct InstallsRow {
  const char* name;
  int installs;        // of fs9.exe under Program Files
  std::string field;   // the folder field's text ("@0": the first install's)
  std::string filled;  // what the dialog filled in last
  bool fills;          // the single install goes into the field
  std::size_t listed;
};

class SimulatorInstalls : public ::testing::TestWithParam<InstallsRow> {};

TEST_P(SimulatorInstalls, OneFillsTheFieldSeveralAreListed) {
  const InstallsRow& row = GetParam();
  TempDir dir;
  const OwnPrefix prefix(dir.Path());
  const fs::path& programs = prefix.Programs();
  const fs::path near = prefix.Near();
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
