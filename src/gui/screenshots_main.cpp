// tarnvale-screenshots DIR [FONT_SCALE]: draws every window of the program
// offscreen, its text FONT_SCALE times the usual size (default 1), and saves
// each as a PNG in DIR. Lists the controls whose text would be clipped, and
// exits with 1 when there is any.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/desktop_session.h"
#include "app/messages.h"
#include "app/program_state.h"
#include "app/scan_report.h"
#include "gui/about_program.h"
#include "gui/askfor_quelby_program.h"
#include "gui/fspath_dialog.h"
#include "gui/message_box_presenter.h"
#include "gui/report_dialog.h"
#include "gui/tarnvale_dlg.h"

namespace {

using tarnvale::gui::FixedDialog;

void PrintFont() {
  const QFont font = tarnvale::gui::DialogFont();
  const tarnvale::gui::DialogUnits units = tarnvale::gui::BaseUnitsOf(font);
  QTextStream(stdout) << "dialog font: " << QFontInfo(font).family() << " " << font.pointSize()
                      << " pt, base units " << units.base_x << " x " << units.base_y << Qt::endl;
}

// Saves the shown `window` as DIR/name.png.
void SaveImage(QWidget& window, const QDir& dir, const QString& name) {
  const QString file = dir.filePath(name + QStringLiteral(".png"));
  if (!window.grab().save(file)) QTextStream(stdout) << "cannot write " << file << Qt::endl;
}

// Saves `window` as DIR/name.png, after `act` once it is shown; false when
// a text does not fit.
bool Save(FixedDialog& window, const QDir& dir, const QString& name,
          const std::function<void()>& act = {}) {
  window.show();
  QApplication::processEvents();
  if (act) {
    act();
    QApplication::processEvents();
  }
  SaveImage(window, dir, name);
  const QStringList clipped = window.ClippedControls();
  for (const QString& text : clipped)
    QTextStream(stdout) << name << ": clipped: " << text << Qt::endl;
  window.hide();
  return clipped.isEmpty();
}

// Runs `act` on the modal window of type T as soon as one is shown: the
// code that opened it waits in its exec() meanwhile.
template <typename T>
void WhenModalShown(std::function<void(T*)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
    auto* modal = dynamic_cast<T*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(modal);
  });
  poll->start(10);
}

void ClickButton(QMessageBox* box, const QString& text) {
  for (QAbstractButton* button : box->buttons()) {
    if (button->text() == text) button->click();
  }
}

// A Wine prefix with two sibling programs and both simulators installed, in
// a home folder whose name stays the same from one drawing to the next, so
// that the pictures change only when the windows do.
class SamplePrefix {
 public:
  SamplePrefix() : top_(QDir::temp().filePath(QStringLiteral("tarnvale-screenshots"))) {
    namespace fs = std::filesystem;
    QDir(top_).removeRecursively();
    const fs::path prefix = fs::path(Home().toStdString()) / ".wine";
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    programs_ = prefix / "drive_c" / "Program Files";
    Write(programs_ / "Scopel v5" / "Program_Config.cfg", "[Main Settings]\r\nProgram_Id=2\r\n");
    Write(programs_ / "Brisolt (FS2004)" / "Program_Config.cfg",
          "[Main Settings]\r\nProgram_Id=1\r\n");
    Write(programs_ / "Microsoft Games" / "Flight Simulator 9" / "fs9.exe", "");
    Write(programs_ / "Microsoft Games" / "FS2002" / "fs2002.exe", "");
  }
  ~SamplePrefix() { QDir(top_).removeRecursively(); }
  SamplePrefix(const SamplePrefix&) = delete;
  SamplePrefix& operator=(const SamplePrefix&) = delete;
  QString Home() const { return top_ + QStringLiteral("/home/pilot"); }
  std::filesystem::path Program() const { return programs_ / "Scopel v5"; }

 private:
  static void Write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }

  QString top_;
  std::filesystem::path programs_;
};

// A first start under Wine: while it lives, the sample prefix is the user's
// own (~/.wine), the user's real prefixes out of sight.
class SamplePrefixAsHome {
 public:
  explicit SamplePrefixAsHome(const SamplePrefix& prefix)
      : user_home_(qgetenv("HOME")), user_prefix_(qgetenv("WINEPREFIX")) {
    qputenv("HOME", prefix.Home().toLocal8Bit());
    qunsetenv("WINEPREFIX");
  }
  ~SamplePrefixAsHome() {
    qputenv("HOME", user_home_);
    if (!user_prefix_.isNull()) qputenv("WINEPREFIX", user_prefix_);
  }
  SamplePrefixAsHome(const SamplePrefixAsHome&) = delete;
  SamplePrefixAsHome& operator=(const SamplePrefixAsHome&) = delete;

 private:
  QByteArray user_home_;
  QByteArray user_prefix_;
};

// The setup dialogs of that first start: the programs found, and the
// simulators of both versions listed before one is chosen.
bool SaveFoundDialogs(const SamplePrefix& prefix, tarnvale::gui::AskforQuelbyProgram& target_dialog,
                      tarnvale::gui::FSPath_Dialog& simulator_dialog, const QDir& dir) {
  const SamplePrefixAsHome home(prefix);
  target_dialog.Prefill(tarnvale::TargetProgramChoice::None, {});
  target_dialog.OfferFound(tarnvale::LookForTargetPrograms());
  bool fits = Save(target_dialog, dir, QStringLiteral("target-program-dialog-found"));
  simulator_dialog.SetTargetFolder(prefix.Program());
  fits = Save(simulator_dialog, dir, QStringLiteral("simulator-dialog-found")) && fits;
  simulator_dialog.SetTargetFolder({});
  return fits;
}

// An area whose Local is written the simulator's way, with backslashes.
tarnvale::AreaScan SampleArea(std::string title, std::string local, tarnvale::AreaStatus status,
                              std::int32_t bgl_files) {
  std::string folder = "/home/pilot/FS9/" + local + "/scenery";
  std::ranges::replace(folder, '\\', '/');
  return {std::move(title), std::move(local), folder, status, bgl_files, {}};
}

// The warning of an area whose folder is named in another code page than
// the one chosen: "Česko" written in code page 1250, read in 1252.
std::string CodePageHint() {
  const QTemporaryDir simulator;
  const std::filesystem::path folder(simulator.path().toStdString());
  std::filesystem::create_directories(folder / "Scenery" /
                                      "\xC4\x8C"
                                      "esko" /
                                      "Scenery");
  return tarnvale::CodePageWarning(
             "Scenery\\\xC8"
             "esko",
             folder, tarnvale::FrontEnd::Window)
      .value_or("");
}

// What a run over a simulator with add-ons might have read into `target`.
tarnvale::RunSummary SampleRun(const std::filesystem::path& target) {
  using tarnvale::AreaStatus;
  tarnvale::RunSummary run;
  run.records = {{"airports", 24'310}, {"runways", 30'874},      {"fuel areas", 0},
                 {"airspaces", 2'118}, {"VORs", 3'427},          {"NDBs", 5'016},
                 {"markers", 1'342},   {"ILS", 2'861},           {"intersections", 96'580},
                 {"jet airways", 812}, {"victor airways", 2'335}};
  tarnvale::ScanReport& scan = run.scan;
  scan.simulator = "/home/pilot/FS9";
  scan.fs_version = tarnvale::FsVersion::Fs2004;
  scan.target = target;
  scan.areas = {
      SampleArea("Addon Scenery", "Addon Scenery", AreaStatus::Read, 6),
      SampleArea("Alpine Airfields", "Addon Scenery\\Alpine", AreaStatus::Missing, 0),
      SampleArea("Old Airports Pack", "Addon Scenery\\OldAirports", AreaStatus::Inactive, 0),
      SampleArea("Global Airports", "Scenery\\World", AreaStatus::Read, 412),
      SampleArea("Propeller Objects", "Scenery\\Propeller", AreaStatus::Read, 18),
      SampleArea("Base", "Scenery\\BASE", AreaStatus::Read, 3)};
  scan.areas[0].records = {{"airports", 14}, {"runways", 19}};
  scan.areas[3].records = {{"airports", 24'296}, {"runways", 30'855}, {"VORs", 3'427}};
  scan.files = {
      {"/home/pilot/FS9/Addon Scenery/scenery/AP_LOWI.BGL", tarnvale::FileStatus::Damaged, 4},
      {"/home/pilot/FS9/Addon Scenery/scenery/readme.bgl", tarnvale::FileStatus::NotBgl, 0}};
  scan.duplicate_airports = {"LOWI", "LSZH"};
  scan.duplicate_fixes = 3;
  scan.warnings = tarnvale::ScanWarnings(scan);
  scan.warnings.push_back(CodePageHint());
  run.files = {{"world_airports.dat", 6'912'480},  {"world_navaids.dat", 1'204'112},
               {"world_fixpoints.dat", 3'090'560}, {"world_airways_j.dat", 97'440},
               {"world_airways_v.dat", 280'200},   {"magdec.bgl", 130'412}};
  run.times = {std::chrono::milliseconds(310),   std::chrono::milliseconds(8'420),
               std::chrono::milliseconds(1'150), std::chrono::milliseconds(960),
               std::chrono::milliseconds(240),   34'183'168};
  run.finished = std::chrono::sys_days(std::chrono::year(2026) / 12 / 10) + std::chrono::hours(9) +
                 std::chrono::minutes(14);
  return run;
}

// The message at the end of a run, then its Details window with a search
// made in it.
void SaveRunEnding(tarnvale::RunView& view, const std::filesystem::path& target, const QDir& dir) {
  WhenModalShown<QMessageBox>([&dir](QMessageBox* box) {
    SaveImage(*box, dir, QStringLiteral("run-report-summary"));
    WhenModalShown<tarnvale::gui::ReportDialog>([&dir](tarnvale::gui::ReportDialog* report) {
      report->findChild<QLineEdit*>(QStringLiteral("FindField"))
          ->setText(QStringLiteral("missing"));
      report->FindNext();  // in the summary lines
      report->FindNext();  // on the area's own line
      SaveImage(*report, dir, QStringLiteral("run-report-details"));
      WhenModalShown<QMessageBox>(
          [](QMessageBox* again) { again->button(QMessageBox::Ok)->click(); });
      report->reject();
    });
    ClickButton(box, QStringLiteral("Details"));
  });
  view.ShowRunEnding(std::string(tarnvale::text::kRunSucceeded), SampleRun(target));
}

// The window as it looks while a run reads the scenery areas.
void ShowRunningState(tarnvale::RunView& view) {
  view.EnableCancelButton(true);
  view.EnableCreateButton(false);
  view.SetProgressRange(0, 120);
  view.SetProgressPosition(47);
  view.SetStatusText("Frankfurt v2.0 Professional Edition - Terminal Buildings and Ground Details");
}

// The radar program in a Wine prefix, serving FS2004 in the same prefix.
void ServeSampleProgram(tarnvale::ProgramState& state, const SamplePrefix& prefix) {
  state.TargetFolder = prefix.Program();
  state.config.Program_Id = tarnvale::TargetProgram::Radar;
  state.config.FS_Version = tarnvale::FsVersion::Fs2004;
  state.config.FS_Directory = "C:\\Program Files\\Microsoft Games\\Flight Simulator 9";
}

// The main window with its "File" menu open.
void SaveFileMenu(QWidget& window, const QDir& dir) {
  window.show();
  QMenuBar* bar = window.findChild<QMenuBar*>();
  QMenu* file = bar->actions().front()->menu();
  const QPoint below = bar->actionGeometry(bar->actions().front()).bottomLeft();
  file->popup(window.mapToGlobal(below));
  QApplication::processEvents();
  QPixmap image = window.grab();
  QPainter(&image).drawPixmap(below, file->grab());
  file->hide();
  window.hide();
  const QString name = dir.filePath(QStringLiteral("main-window-menu.png"));
  if (!image.save(name)) QTextStream(stdout) << "cannot write " << name << Qt::endl;
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc == 3 ? std::atof(argv[2]) : 1.0;
  if (argc < 2 || argc > 3 || scale < 1 || scale > 3) {
    std::fprintf(stderr, "usage: tarnvale-screenshots DIR [FONT_SCALE from 1 to 3]\n");
    return 2;
  }
  tarnvale::gui::SetDialogFontScale(scale);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tarnvale"));
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) return 1;
  PrintFont();

  const SamplePrefix prefix;
  tarnvale::ProgramState state;
  ServeSampleProgram(state, prefix);
  tarnvale::gui::MessageBoxPresenter presenter;
  tarnvale::gui::TarnvaleDlg window(state, presenter);
  tarnvale::gui::AskforQuelbyProgram target_dialog(presenter);
  tarnvale::gui::FSPath_Dialog simulator_dialog(presenter);
  tarnvale::gui::About_Program about;

  bool all_fit = Save(window, dir, QStringLiteral("main-window"));
  window.SetChangeSetup([] { return false; });
  window.SetChooseCodePage([](tarnvale::platform::CodePage) {});
  SaveFileMenu(window, dir);
  ShowRunningState(window.WindowView());
  all_fit = Save(window, dir, QStringLiteral("main-window-running")) && all_fit;
  target_dialog.Prefill(tarnvale::TargetProgramChoice::Radar,
                        QStringLiteral("C:\\Program Files\\Scopel v5"));
  all_fit = Save(target_dialog, dir, QStringLiteral("target-program-dialog")) && all_fit;
  all_fit = Save(simulator_dialog, dir, QStringLiteral("simulator-dialog")) && all_fit;
  all_fit = SaveFoundDialogs(prefix, target_dialog, simulator_dialog, dir) && all_fit;
  all_fit = Save(about, dir, QStringLiteral("about-box")) && all_fit;
  window.WindowView().EnableCancelButton(false);
  window.WindowView().EnableCreateButton(true);
  window.WindowView().SetStatusText("");
  window.WindowView().SetProgressPosition(0);
  SaveRunEnding(window.WindowView(), state.TargetFolder, dir);
  all_fit = Save(window, dir, QStringLiteral("main-window-last-run")) && all_fit;
  return all_fit ? 0 : 1;
}
