// screenshots/tarnvale.exe DIR [SUFFIX]: shows every window of the Windows
// program, as the user sees it (named "tarnvale" as the program is, in the
// titles of its messages), and saves each as DIR/win-<name>SUFFIX.bmp
// (scripts/screenshots-windows turns them into PNG files, at the display
// resolutions it runs this under). Exits with 1 when a window did not show.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/desktop_session.h"
#include "app/messages.h"
#include "app/program_state.h"
#include "win/about_box.h"
#include "win/application.h"
#include "win/main_window.h"
#include "win/report_windows.h"
#include "win/resource.h"
#include "win/win_text.h"
#include "window_driver.h"

namespace {

namespace fs = std::filesystem;
using namespace tarnvale;
using namespace tarnvale::win;
using namespace tarnvale::win::testing;

class NoMemory final : public TargetMemory {
 public:
  RememberedTarget Load() const override { return {}; }
  void Save(const RememberedTarget&) override {}
};

struct Shots {
  fs::path dir;
  std::wstring suffix;
  bool all_shown = true;

  // Saves the window titled `title` once it is shown, then closes it with
  // `close` (a command of its own).
  void Take(std::wstring_view title, const std::string& name, int close = IDCANCEL) {
    const HWND window = WaitForWindow(title);
    if (window == nullptr) {
      all_shown = false;
      return;
    }
    Save(window, name);
    if (close != 0) Press(window, close);
    WaitUntilClosed(window);
  }

  void Save(HWND window, const std::string& name) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // drawn whole
    const fs::path file = dir / ("win-" + name + Utf8(suffix) + ".bmp");
    if (!SaveScreenImage(window, file)) all_shown = false;
  }
};

// A run over a simulator with add-ons, as its ending shows it.
RunSummary SampleRun() {
  RunSummary run;
  run.finished = std::chrono::sys_days{std::chrono::December / 10 / 2026} + std::chrono::hours{9} +
                 std::chrono::minutes{14};
  run.files = {{"world_airports.dat", 1'945'622},
               {"world_navaids.dat", 903'114},
               {"world_fixpoints.dat", 2'897'400},
               {"world_airways_j.dat", 611'980},
               {"magdec.bgl", 50'384}};
  run.times = {std::chrono::milliseconds{180}, std::chrono::milliseconds{2'310},
               std::chrono::milliseconds{640}, std::chrono::milliseconds{420},
               std::chrono::milliseconds{230}, 34'183'168};
  run.records = {{"airports", 24'310}, {"runways", 30'874}, {"VORs", 3'427},
                 {"NDBs", 5'016},      {"ILS", 2'861},      {"intersections", 96'580}};
  ScanReport& scan = run.scan;
  scan.simulator = "C:\\Program Files\\Microsoft Games\\Flight Simulator 9";
  scan.fs_version = FsVersion::Fs2004;
  scan.target = "C:\\Program Files\\Scopel v5";
  const auto area = [&](std::string title, std::string local, AreaStatus status, int files) {
    return AreaScan{title, local, scan.simulator / local, status, files, {}};
  };
  scan.areas = {area("Addon Scenery", "Addon Scenery", AreaStatus::Read, 6),
                area("Alpine Airfields", "Addon Scenery\\Alpine", AreaStatus::Missing, 0),
                area("Global Airports", "Scenery\\World", AreaStatus::Read, 412),
                area("Base", "Scenery\\BASE", AreaStatus::Read, 3)};
  scan.files = {{scan.simulator / "Addon Scenery\\scenery\\AP_LOWI.BGL", FileStatus::Damaged, 4}};
  scan.duplicate_airports = {"LOWI"};
  scan.warnings = ScanWarnings(scan);
  return run;
}

// Installs of both simulators, so that the simulator dialog lists them
// (or, with `install` false, none, as a computer without them): the Wine
// prefix that the screenshots are taken in is their own.
void InstallSampleSimulators(bool install) {
  for (const auto& [folder, program] :
       {std::pair("C:\\Program Files\\Microsoft Games\\Flight Simulator 9", "fs9.exe"),
        std::pair("C:\\Program Files (x86)\\Microsoft Games\\Flight Simulator 9", "fs9.exe"),
        std::pair("C:\\Program Files (x86)\\Microsoft Games\\FS2002", "fs2002.exe")}) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (!install) continue;
    fs::create_directories(folder);
    std::ofstream(fs::path(folder) / program).put('\0');
  }
}

// Two programs found installed, as the target-program dialog lists them.
std::vector<FoundProgram> SamplePrograms() {
  return {{TargetProgramChoice::Radar, "C:\\Program Files\\Scopel v5"},
          {TargetProgramChoice::ChartFs2004,
           "C:\\Program Files (x86)\\Microsoft Games\\Flight Simulator 9\\Modules\\Brisolt "
           "(FS2004)"}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: screenshots/tarnvale.exe DIR [SUFFIX]\n";
    return 2;
  }
  PrepareWindowThread();
  Shots shots{fs::path(argv[1]), argc == 3 ? Wide(argv[2]) : std::wstring()};
  fs::create_directories(shots.dir);
  ProgramState state;
  state.TargetFolder = "C:\\Program Files\\Scopel v5";
  state.config.Program_Id = TargetProgram::Radar;
  state.config.FS_Version = FsVersion::Fs2004;
  state.config.FS_Directory = "C:\\Program Files\\Microsoft Games\\Flight Simulator 9";
  WinStartupView setup;
  NoMemory memory;
  MainWindow window(state, setup, memory);

  std::thread driver([&] {
    const HWND main = WaitForWindow(L"Tarnvale v1.0");
    SilenceTooltips();
    shots.Save(main, "main-window");
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    if (WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; })) {
      shots.Save(main, "main-window-menu");
      PostMessageW(main, WM_CANCELMODE, 0, 0);
    }
    RunView& view = window.WindowView();
    view.EnableCancelButton(true);
    view.EnableCreateButton(false);
    view.SetProgressRange(0, 120);
    view.SetProgressPosition(47);
    view.SetStatusText(
        "Frankfurt v2.0 Professional Edition - Terminal Buildings and Ground Details");
    shots.Save(main, "main-window-running");
    view.EnableCancelButton(false);
    view.EnableCreateButton(true);
    view.SetProgressPosition(0);
    view.SetStatusText("");
    std::thread ending([&] { view.ShowRunEnding(std::string(text::kRunSucceeded), SampleRun()); });
    Press(WaitForWindow(ProgramName()), IDOK);
    ending.join();
    WaitUntil([&] { return IsWindowVisible(GetDlgItem(main, IDC_LAST_RUN_TEXT)) != FALSE; });
    shots.Save(main, "main-window-last-run");
    Press(main, IDM_ABOUT);
    shots.Take(L"About Tarnvale v1.0", "about-box", IDOK);
    PostMessageW(main, WM_CLOSE, 0, 0);
  });
  window.Run();
  driver.join();

  setup.PrefillTarget(TargetProgramChoice::Radar, "C:\\Program Files\\Scopel v5");
  driver = std::thread(
      [&] { shots.Take(L"Getting Quelby's Program Main Information", "target-program-dialog"); });
  setup.AskTargetFolder();
  driver.join();

  setup.PrefillTarget(TargetProgramChoice::None, {});
  setup.OfferTargets(SamplePrograms());
  driver = std::thread([&] {
    const HWND dialog = WaitForWindow(L"Getting Quelby's Program Main Information");
    shots.Save(dialog, "target-program-dialog-found");
    Press(dialog, IDC_TARGET_OK);  // nothing chosen: the message says so
    shots.Take(ProgramName(), "message-box", IDOK);
    Press(WaitForWindow(L"Getting Quelby's Program Main Information"), IDCANCEL);
  });
  setup.AskTargetFolder();
  driver.join();

  driver = std::thread([&] {
    shots.Take(L"Getting Flight Simulator's Main Information", "simulator-dialog");
    shots.Take(L"Getting Flight Simulator's Main Information", "simulator-dialog-found");
  });
  InstallSampleSimulators(false);
  setup.AskSimulator({});
  InstallSampleSimulators(true);
  setup.AskSimulator({});
  InstallSampleSimulators(false);
  driver.join();

  driver = std::thread([&] {
    const HWND ending = WaitForWindow(ProgramName());
    shots.Save(ending, "run-report-summary");
    Press(ending, IDC_DETAILS);
    const HWND report = WaitForWindow(ProgramName() + L" - Report");
    Type(report, IDC_FIND_FIELD, L"missing");
    Press(report, IDC_FIND_NEXT);
    Press(report, IDC_FIND_NEXT);
    shots.Take(ProgramName() + L" - Report", "run-report-details");
    Press(WaitForWindow(ProgramName()), IDOK);
  });
  ShowRunEndingMessage(nullptr, std::string(text::kRunSucceeded), SampleRun());
  driver.join();
  return shots.all_shown ? 0 : 1;
}
