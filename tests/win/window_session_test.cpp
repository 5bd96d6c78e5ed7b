// The Windows program's real dialogs driven by messages, as a user drives
// them: first start with a refused folder and Browse, a whole run on a
// generated FS2004 world with "C:\" paths, Change, Cancel and closing
// during a run; what is found installed offered in the setup dialogs, and
// the last run kept on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/desktop_session.h"
#include "app/messages.h"
#include "output/database_set.h"
#include "platform/code_page.h"
#include "platform/paths.h"
#include "sceneryfab/installation_generator.h"
#include "support/holding_run_view.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"
#include "win/application.h"
#include "win/main_window.h"
#include "win/resource.h"
#include "win/win_text.h"
#include "window_driver.h"

namespace tarnvale::win {
namespace {

namespace fs = std::filesystem;
using tarnvale::testing::HoldingView;
using tarnvale::testing::TempDir;
using tarnvale::testing::WriteFile;
using namespace testing;

constexpr std::wstring_view kTargetTitle = L"Getting Quelby's Program Main Information";
constexpr std::wstring_view kSimulatorTitle = L"Getting Flight Simulator's Main Information";
constexpr std::wstring_view kMainTitle = L"Tarnvale v1.0";

class MemoryOfTests final : public TargetMemory {
 public:
  RememberedTarget Load() const override { return kept; }
  void Save(const RememberedTarget& target) override { kept = target; }
  RememberedTarget kept;
};

// The first line of a message, the program's own text.
std::string FirstLine(const std::wstring& text) {
  const std::string utf8 = Utf8(text);
  return utf8.substr(0, utf8.find('\n'));
}

// Sets an environment variable for the life of the object.
class EnvironmentValue {
 public:
  EnvironmentValue(const wchar_t* name, const fs::path& value) : name_(name) {
    if (const wchar_t* was = _wgetenv(name)) was_ = was;
    _wputenv_s(name, value.c_str());
  }
  ~EnvironmentValue() { _wputenv_s(name_, was_.c_str()); }

 private:
  const wchar_t* name_;
  std::wstring was_;
};

class WindowsProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasDisplay()) GTEST_SKIP() << "no display for Wine: run the tests under xvfb-run";
    PrepareWindowThread();
  }

  fs::path ProgramFiles() const { return dir_ / "Program Files"; }
  fs::path ProgramFilesX86() const { return dir_ / "Program Files (x86)"; }

  // Runs `script` on a second thread while the program runs on this one.
  template <typename Script>
  void Drive(Script script, const std::function<void()>& program) {
    std::thread driver(script);
    program();
    driver.join();
  }

  TempDir dir_;
  // A folder name in Czech and Greek: the wide API all the way.
  const fs::path program_ =
      dir_ / "Programy \xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD \xCE\xB1" / "Scopel v5";
  const fs::path simulator_ = dir_ / "FS9";
  MemoryOfTests memory_;
  WinStartupView setup_;
  // Programs and simulators are found installed only in the test's own
  // folders, and the runs' reports kept there.
  const EnvironmentValue program_files_{L"ProgramFiles", ProgramFiles()};
  const EnvironmentValue program_files_x86_{L"ProgramFiles(x86)", ProgramFilesX86()};
  const EnvironmentValue app_data_{L"LOCALAPPDATA", dir_ / "AppData"};
};

void ExpectIdle(HWND window) {
  EXPECT_EQ(Text(window, IDC_STATUS_FIELD), L"");
  EXPECT_EQ(ProgressPosition(window, IDC_PROGRESS_BAR), 0);
  EXPECT_TRUE(IsEnabled(window, IDC_CREATE));
  EXPECT_FALSE(IsEnabled(window, IDC_CANCEL_RUN));
}

// The dialogs on "C:\" paths: a refused folder, then Browse; the simulator
// dialog; a whole run that ends with the success message and its report;
// then Change, whose dialogs open with what the window serves.
TEST_F(WindowsProgram, FirstStartRefusedFolderWholeRunAndChange) {
  ASSERT_EQ(Utf8(dir_.Path().wstring()).substr(1, 2), ":\\") << "not a drive-letter path";
  fab::GenerateInstallation({.out = simulator_,
                             .fs_version = FsVersion::Fs2004,
                             .preset = fab::Preset::World,
                             .scale = 0.05});
  tarnvale::testing::WriteProgramConfigFile(program_, 2);
  fs::create_directory(program_ / "DEFAULT_DB");
  fs::path browse_started;
  setup_.SetFolderChooser([&](HWND, const fs::path& start) {
    browse_started = start;
    return program_;
  });
  const fs::path refused = dir_ / "nowhere" / "Scopel v5";

  Drive(
      [&] {
        HWND dialog = WaitForWindow(kTargetTitle);
        Choose(dialog, IDC_RADAR);
        Type(dialog, IDC_TARGET_FOLDER, refused.wstring());
        Press(dialog, IDC_TARGET_OK);
        const ShownMessage refusal = WaitForMessageBox();
        EXPECT_EQ(FirstLine(refusal.text), text::kWrongTargetFolder);
        EXPECT_EQ(refusal.title, ProgramName());
        EXPECT_EQ(GetWindow(refusal.box, GW_OWNER), dialog);
        Press(refusal.box, IDOK);
        Press(WaitForWindow(kTargetTitle), IDC_TARGET_BROWSE);
        WaitUntil([&] { return Text(dialog, IDC_TARGET_FOLDER) == program_.wstring(); });
        Press(dialog, IDC_TARGET_OK);

        dialog = WaitForWindow(kSimulatorTitle);
        Choose(dialog, IDC_FS2004);
        Type(dialog, IDC_SIMULATOR_FOLDER, simulator_.wstring());
        Press(dialog, IDC_SIMULATOR_OK);

        const HWND window = WaitForWindow(kMainTitle);
        ExpectIdle(window);
        EXPECT_EQ(
            Text(window, IDC_PROGRAM_LINE).rfind(L"Program: Scopel v5.0 (For FS2002/2004)", 0), 0u);
        Press(window, IDC_CREATE);
        const HWND ending = WaitForWindow(ProgramName());
        EXPECT_EQ(Utf8(Text(ending, IDC_MESSAGE_TEXT)), text::kRunSucceeded);
        EXPECT_EQ(Text(ending, IDC_ENDING_SUMMARY).rfind(L"Records: ", 0), 0u);
        Press(ending, IDC_DETAILS);
        const HWND report = WaitForWindow(ProgramName() + L" - Report");
        EXPECT_NE(Text(report, IDC_REPORT_TEXT).find(L"Areas:"), std::wstring::npos);
        Press(report, IDCANCEL);
        Press(WaitForWindow(ProgramName()), IDOK);
        WaitUntilClosed(ending);
        ExpectIdle(WaitForWindow(kMainTitle));

        Press(window, IDM_CHANGE_SETUP);
        dialog = WaitForWindow(kTargetTitle);
        EXPECT_TRUE(IsChecked(dialog, IDC_RADAR));
        EXPECT_EQ(fs::path(Text(dialog, IDC_TARGET_FOLDER)), fs::canonical(program_));
        Press(dialog, IDC_TARGET_OK);
        dialog = WaitForWindow(kSimulatorTitle);
        EXPECT_TRUE(IsChecked(dialog, IDC_FS2004));
        Press(dialog, IDC_SIMULATOR_OK);
        Press(WaitForWindow(kMainTitle), IDM_EXIT);
      },
      [&] { EXPECT_EQ(RunTarnvale(setup_, memory_), 0); });

  EXPECT_EQ(browse_started, dir_.Path());  // the nearest folder of the typed one that exists
  EXPECT_EQ(memory_.kept.choice, TargetProgramChoice::Radar);
  EXPECT_EQ(memory_.kept.folder, fs::canonical(program_));
  for (const char* name : {"world_airports.dat", "world_navaids.dat", "world_fixpoints.dat",
                           "world_airways_j.dat", "magdec.bgl"}) {
    EXPECT_TRUE(fs::exists(program_ / name)) << name;
  }
  // For the comparison with the Linux build's files (scripts/compare-windows).
  if (const char* copy = std::getenv("TARNVALE_WINDOW_RUN_COPY")) {
    fs::create_directories(copy);
    for (const fs::directory_entry& entry : fs::directory_iterator(program_)) {
      if (entry.is_regular_file()) {
        fs::copy_file(entry.path(), fs::path(copy) / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
      }
    }
  }
}

// A first start with one program and one simulator installed needs only
// Ok, Ok and Create. The run's account stays under the buttons once its
// message is closed, and is there again at the next start, whose "Show Last
// Report..." lists the files written and the phase times.
TEST_F(WindowsProgram, FirstStartNeedsOnlyOkOkCreateAndTheLastRunStays) {
  const fs::path program = ProgramFiles() / "Scopel v5";
  fab::GenerateInstallation({.out = ProgramFilesX86() / "Microsoft Games" / "Flight Simulator 9",
                             .fs_version = FsVersion::Fs2004});
  tarnvale::testing::WriteProgramConfigFile(program, 2);
  fs::create_directory(program / "DEFAULT_DB");
  std::wstring after_message;
  Drive(
      [&] {
        HWND dialog = WaitForWindow(kTargetTitle);
        EXPECT_TRUE(IsChecked(dialog, IDC_RADAR));
        EXPECT_EQ(fs::path(Text(dialog, IDC_TARGET_FOLDER)), fs::canonical(program));
        Press(dialog, IDC_TARGET_OK);
        dialog = WaitForWindow(kSimulatorTitle);
        EXPECT_TRUE(IsChecked(dialog, IDC_FS2004));
        Press(dialog, IDC_SIMULATOR_OK);
        const HWND window = WaitForWindow(kMainTitle);
        EXPECT_FALSE(IsShown(window, IDC_LAST_RUN_TEXT));
        Press(window, IDC_CREATE);
        const HWND ending = WaitForWindow(ProgramName());
        Press(ending, IDOK);
        WaitUntilClosed(ending);
        WaitUntil([&] { return IsShown(window, IDC_LAST_RUN_TEXT); });
        after_message = Text(window, IDC_LAST_RUN_TEXT);
        Press(window, IDM_EXIT);
      },
      [&] { EXPECT_EQ(RunTarnvale(setup_, memory_), 0); });
  EXPECT_NE(after_message.find(L"Microsoft Flight Simulator 2004: completed"), std::wstring::npos)
      << Utf8(after_message);
  EXPECT_NE(after_message.find(L"Records: "), std::wstring::npos) << Utf8(after_message);

  std::wstring after_restart;
  std::wstring details;
  Drive(
      [&] {
        Press(WaitForWindow(kTargetTitle), IDC_TARGET_OK);
        const HWND window = WaitForWindow(kMainTitle);
        after_restart = Text(window, IDC_LAST_RUN_TEXT);
        Press(window, IDM_SHOW_LAST_REPORT);
        const HWND report = WaitForWindow(ProgramName() + L" - Report");
        details = Text(report, IDC_REPORT_TEXT);
        Press(report, IDCANCEL);
        Press(WaitForWindow(kMainTitle), IDM_EXIT);
      },
      [&] { EXPECT_EQ(RunTarnvale(setup_, memory_), 0); });
  EXPECT_EQ(after_restart, after_message);
  EXPECT_NE(details.find(L"world_airports.dat: "), std::wstring::npos) << Utf8(details);
  EXPECT_NE(details.find(L"Phase times:"), std::wstring::npos) << Utf8(details);
}

// Two programs found are listed with none chosen, and a click chooses one.
// The simulator dialog lists the installs of both versions as it opens,
// each naming its version, and a click sets the version too.
TEST_F(WindowsProgram, ProgramsAndSimulatorsFoundAreListedAndChosenByAClick) {
  const fs::path radar = ProgramFiles() / "Scopel v5";
  const fs::path chart = ProgramFilesX86() / "Brisolt v5" / "Brisolt (FS2004)";
  tarnvale::testing::WriteProgramConfigFile(radar, 2);
  fs::create_directory(radar / "DEFAULT_DB");
  tarnvale::testing::WriteProgramConfigFile(chart, 1);
  const fs::path fs9 = ProgramFiles() / "FS9";
  const fs::path fs2002 = ProgramFilesX86() / "FS2002";
  WriteFile(fs9 / "fs9.exe", "");
  WriteFile(fs2002 / "fs2002.exe", "");
  const auto typed = [](const fs::path& folder) { return Utf8(fs::canonical(folder).wstring()); };
  std::vector<std::wstring> programs;
  std::vector<std::wstring> simulators;
  Drive(
      [&] {
        HWND dialog = WaitForWindow(kTargetTitle);
        programs = Rows(dialog, IDC_FOUND_LIST);
        EXPECT_FALSE(IsChecked(dialog, IDC_RADAR) || IsChecked(dialog, IDC_CHART_FS2004));
        Pick(dialog, IDC_FOUND_LIST, 0);
        EXPECT_TRUE(IsChecked(dialog, IDC_RADAR));
        EXPECT_EQ(Utf8(Text(dialog, IDC_TARGET_FOLDER)), typed(radar));
        Press(dialog, IDC_TARGET_OK);

        dialog = WaitForWindow(kSimulatorTitle);
        simulators = Rows(dialog, IDC_FOUND_LIST);
        EXPECT_FALSE(IsChecked(dialog, IDC_FS2002) || IsChecked(dialog, IDC_FS2004));
        Pick(dialog, IDC_FOUND_LIST, 0);
        EXPECT_TRUE(IsChecked(dialog, IDC_FS2002));
        EXPECT_EQ(Utf8(Text(dialog, IDC_SIMULATOR_FOLDER)), typed(fs2002));
        Press(dialog, IDCANCEL);
      },
      [&] { EXPECT_EQ(RunTarnvale(setup_, memory_), 0); });
  EXPECT_EQ(programs,
            (std::vector<std::wstring>{
                Wide(FoundProgramLabel({TargetProgramChoice::Radar, typed(radar)})),
                Wide(FoundProgramLabel({TargetProgramChoice::ChartFs2004, typed(chart)}))}));
  EXPECT_EQ(simulators, (std::vector<std::wstring>{
                            Wide(SimulatorInstallLabel({FsVersion::Fs2002, typed(fs2002)})),
                            Wide(SimulatorInstallLabel({FsVersion::Fs2004, typed(fs9)}))}));
}

// Runs tarnvale-cli.exe with `arguments` in this process's console; its
// exit code.
DWORD RunCommandLine(const std::wstring& arguments) {
  const std::wstring program = fs::path(TARNVALE_CLI_PATH).make_preferred().wstring();
  std::wstring line = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 255;
  }
  DWORD code = 255;
  if (WaitForSingleObject(process.hProcess, 120'000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// The program's folder is not held while the simulator question waits: a
// command-line run on it meanwhile is not refused, and the window then
// serves what that run left.
TEST_F(WindowsProgram, CommandLineRunsWhileTheSimulatorQuestionWaits) {
  fab::GenerateInstallation({.out = simulator_, .fs_version = FsVersion::Fs2004});
  tarnvale::testing::WriteProgramConfigFile(program_, 2);
  fs::create_directory(program_ / "DEFAULT_DB");
  memory_.kept = {TargetProgramChoice::Radar, program_, std::nullopt};
  DWORD code = 99;
  Drive(
      [&] {
        Press(WaitForWindow(kTargetTitle), IDC_TARGET_OK);
        const HWND dialog = WaitForWindow(kSimulatorTitle);
        code = RunCommandLine(L"create --target \"" + program_.wstring() + L"\" --simulator \"" +
                              simulator_.wstring() + L"\" --fs-version 9");
        Choose(dialog, IDC_FS2004);
        Type(dialog, IDC_SIMULATOR_FOLDER, simulator_.wstring());
        Press(dialog, IDC_SIMULATOR_OK);
        Press(WaitForWindow(kMainTitle), IDM_EXIT);
      },
      [&] { EXPECT_EQ(RunTarnvale(setup_, memory_), 0); });
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(fs::exists(program_ / "world_airports.dat"));
}

// A window serving a recorded program whose runs report through a view that
// holds them at a chosen step.
class HeldRun : public WindowsProgram {
 protected:
  void SetUp() override {
    WindowsProgram::SetUp();
    if (IsSkipped()) return;
    fab::GenerateInstallation({.out = simulator_, .fs_version = FsVersion::Fs2004});
    tarnvale::testing::WriteProgramConfigFile(program_, 2, 9, Utf8(simulator_.wstring()));
    state_.TargetFolder = program_;
    state_.config.Program_Id = TargetProgram::Radar;
    state_.config.FS_Version = FsVersion::Fs2004;
    state_.config.FS_Directory = Utf8(simulator_.wstring());
  }

  // `held` acts while the worker is held, `after` once it goes on.
  void RunHeldAt(const std::string& call, const std::function<void(HWND)>& held,
                 const std::function<void(HWND)>& after = {}) {
    MainWindow window(state_, setup_, memory_);
    HoldingView holding(window.WindowView(), state_.worker, call);
    window.ReportRunsThrough(holding);
    Drive(
        [&] {
          const HWND shown = WaitForWindow(kMainTitle);
          Press(shown, IDC_CREATE);
          WaitUntil([&] { return holding.Holding(); });
          held(shown);
          holding.Release();
          if (after) after(shown);
        },
        [&] { window.Run(); });
  }

  ProgramState state_;
};

TEST_F(HeldRun, CancelPressedTwiceEndsWithOneCancelMessage) {
  WriteFile(program_ / "world_airports.dat", "the set of an earlier run");
  std::wstring shown;
  RunHeldAt(
      "stepit",
      [&](HWND window) {
        WaitUntil([&] { return ProgressPosition(window, IDC_PROGRESS_BAR) == 1; });
        EXPECT_FALSE(IsEnabled(window, IDC_CREATE));
        Press(window, IDC_CANCEL_RUN);
        WaitUntil([&] { return Text(window, IDC_STATUS_FIELD) == L"Canceling..."; });
        Press(window, IDC_CANCEL_RUN);  // the second press only says it again
      },
      [&](HWND window) {
        const HWND ending = WaitForWindow(ProgramName());
        shown = Text(ending, IDC_MESSAGE_TEXT);
        std::erase(shown, L'\r');  // the dialog breaks its lines as Windows does
        Press(ending, IDOK);
        WaitUntilClosed(ending);
        WaitUntil([&] { return IsEnabled(window, IDC_CREATE); });
        ExpectIdle(window);
        Press(window, IDM_EXIT);
      });
  EXPECT_EQ(Utf8(shown), text::WithDetail(text::kRunCancelled, text::kPreviousSetKept));
  EXPECT_EQ(tarnvale::testing::ReadFile(program_ / "world_airports.dat"),
            "the set of an earlier run");
  EXPECT_EQ(state_.last_run->ending, RunEnding::Cancelled);
}

// Closing during writing halts the run: the old set stays, nothing staged
// is left, and no message follows.
TEST_F(HeldRun, CloseDuringWritingKeepsTheOldSet) {
  WriteFile(program_ / "world_airports.dat", "the set of an earlier run");
  RunHeldAt("status:" + std::string(text::kCreatingFiles), [&](HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitUntilClosed(window);
  });
  EXPECT_FALSE(state_.worker.Running());
  EXPECT_EQ(tarnvale::testing::ReadFile(program_ / "world_airports.dat"),
            "the set of an earlier run");
  EXPECT_FALSE(fs::exists(program_ / ".tarnvale-staging"));
}

// An area whose folder is named in another code page than the one the run
// reads in: the run's account under the buttons says which to choose under
// "File" > "Code Page"; choosing it there is remembered, and the next run
// reads the area.
TEST_F(HeldRun, CodePageHintAndChoiceUnderFile) {
  const platform::CodePage was = platform::ActiveCodePage();
  platform::SetActiveCodePage(platform::CodePage::Windows1252);
  std::string scenery_cfg = tarnvale::testing::ReadFile(simulator_ / "Scenery.cfg");
  scenery_cfg +=
      "[Area.900]\r\nTitle=Cesko\r\nLocal=Scenery\\\xC8"
      "esko\r\nActive=TRUE\r\nRequired=FALSE\r\nLayer=900\r\n\r\n";  // "Česko" in 1250
  WriteFile(simulator_ / "Scenery.cfg", scenery_cfg);
  fs::create_directories(simulator_ / "Scenery" /
                         platform::PathFromUtf8("\xC4\x8C"
                                                "esko") /
                         "Scenery");
  state_.front_end = FrontEnd::Window;
  const auto central_european =
      static_cast<int>(std::find_if(CodePageItems().begin(), CodePageItems().end(),
                                    [](const CodePageItem& item) {
                                      return item.code_page == platform::CodePage::Windows1250;
                                    }) -
                       CodePageItems().begin());
  // The run's account once its message is closed (the window shows it
  // when it has closed the message).
  const auto run_and_close_its_message = [](HWND window) {
    const std::wstring before = Text(window, IDC_LAST_RUN_TEXT);
    Press(window, IDC_CREATE);
    const HWND ending = WaitForWindow(ProgramName());
    Press(ending, IDOK);
    WaitUntilClosed(ending);
    WaitUntil([&] { return Text(window, IDC_LAST_RUN_TEXT) != before; });
    return Utf8(Text(window, IDC_LAST_RUN_TEXT));
  };
  std::string hinted;
  std::string chosen;
  MainWindow window(state_, setup_, memory_);
  Drive(
      [&] {
        const HWND shown = WaitForWindow(kMainTitle);
        hinted = run_and_close_its_message(shown);
        Press(shown, IDM_CODE_PAGE_FIRST + central_european);
        WaitUntil([] { return platform::ActiveCodePage() == platform::CodePage::Windows1250; });
        chosen = run_and_close_its_message(shown);
        Press(shown, IDM_EXIT);
      },
      [&] { window.Run(); });
  platform::SetActiveCodePage(was);
  EXPECT_NE(hinted.find("a folder named '\xC4\x8C"
                        "esko' exists: choose code page 1250 (File > Code Page)."),
            std::string::npos)
      << hinted;
  EXPECT_EQ(memory_.kept.code_page, platform::CodePage::Windows1250);
  EXPECT_EQ(chosen.find("choose code page"), std::string::npos) << chosen;
}

}  // namespace
}  // namespace tarnvale::win
