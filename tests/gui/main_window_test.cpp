// The main window with real creation runs on a generated installation.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <chrono>
#include <filesystem>
#include <string>
#include <tuple>

#include "app/desktop_session.h"
#include "app/messages.h"
#include "app/program_state.h"
#include "app/scan_report.h"
#include "gui/about_program.h"
#include "gui/elided_text.h"
#include "gui/message_box_presenter.h"
#include "gui/report_dialog.h"
#include "gui/tarnvale_dlg.h"
#include "gui_test_support.h"
#include "output/database_set.h"
#include "platform/fault_injection.h"
#include "sceneryfab/installation_generator.h"
#include "support/holding_run_view.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"

namespace tarnvale::gui {
namespace {

using tarnvale::testing::HoldingView;
using tarnvale::testing::TempDir;
using tarnvale::testing::WriteFile;
using testing::ProcessEventsUntil;
using testing::ScriptedPresenter;
namespace fs = std::filesystem;

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    fab::GenerateInstallation({.out = simulator_, .fs_version = FsVersion::Fs2004});
    tarnvale::testing::WriteProgramConfigFile(target_, 2, 9, simulator_.string());
    state_.TargetFolder = target_;
    state_.config.Program_Id = TargetProgram::Radar;
    state_.config.FS_Version = FsVersion::Fs2004;
    state_.config.FS_Directory = simulator_.string();
  }

  void Open(MessagePresenter& presenter) {
    window_ = std::make_unique<TarnvaleDlg>(state_, presenter);
    window_->show();
  }

  // Opens the window and starts a run that the worker holds right after
  // `call` (see HoldingView).
  HoldingView& StartRunHeldAt(const std::string& call) {
    Open(presenter_);
    holding_ = std::make_unique<HoldingView>(window_->WindowView(), state_.worker, call);
    window_->ReportRunsThrough(*holding_);
    Button("CreateButton")->click();
    EXPECT_TRUE(ProcessEventsUntil([&] { return holding_->Holding(); }));
    return *holding_;
  }

  QString Status() const {
    return window_->findChild<QLineEdit*>(QStringLiteral("StatusField"))->text();
  }
  int BarPosition() const {
    return window_->findChild<QProgressBar*>(QStringLiteral("ProgressBar"))->value();
  }
  const ElidedLabel* Line(const char* name) const {
    return window_->findChild<ElidedLabel*>(QString::fromLatin1(name));
  }
  QAction* MenuEntry(const QString& text) const {
    for (QAction* menu : window_->findChild<QMenuBar*>()->actions()) {
      for (QAction* entry : menu->menu()->actions()) {
        if (entry->text() == text) return entry;
      }
    }
    ADD_FAILURE() << "no menu entry " << text.toStdString();
    return nullptr;
  }
  QPushButton* Button(const char* name) const {
    return window_->findChild<QPushButton*>(QString::fromLatin1(name));
  }

  void ExpectIdle() const {
    EXPECT_EQ(Status(), QString());
    EXPECT_EQ(BarPosition(), 0);
    EXPECT_TRUE(Button("CreateButton")->isEnabled());
    EXPECT_FALSE(Button("CancelButton")->isEnabled());
  }

  bool AnyOutputFile() const {
    for (std::string_view name : kOutputFileSet) {
      if (std::filesystem::exists(target_ / name)) return true;
    }
    return false;
  }

  bool RunOver() const { return !state_.worker.Running(); }

  TempDir dir_;
  const std::filesystem::path simulator_ = dir_ / "FS9";
  const std::filesystem::path target_ = dir_ / "Scopel";
  ScriptedPresenter presenter_;
  ProgramState state_;
  std::unique_ptr<HoldingView> holding_;  // outlives the window's run
  std::unique_ptr<TarnvaleDlg> window_;
};

TEST_F(MainWindow, OpensIdleNamingItsProgramAndSimulator) {
  Open(presenter_);
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Tarnvale v1.0"));
  EXPECT_FALSE(window_->windowIcon().isNull());
  ExpectIdle();
  QStringList entries;
  for (QAction* menu : window_->findChild<QMenuBar*>()->actions()) {
    entries << menu->text();
    for (QAction* entry : menu->menu()->actions()) entries << "  " + entry->text();
  }
  EXPECT_EQ(entries,
            QStringList({"File", "  Change Program or Simulator...", "  Code Page",
                         "  Show Last Report", "  Exit", "Help", "  About Tarnvale v1.0"}));
  EXPECT_EQ(Line("ProgramLine")->FullText().toStdString(),
            "Program: Scopel v5.0 (For FS2002/2004), in " + target_.string());
  EXPECT_EQ(Line("SimulatorLine")->FullText().toStdString(),
            "Simulator: Microsoft Flight Simulator 2004, in " + simulator_.string());
}

// Long folders and area titles keep their start and end in view, and the
// whole text is the tooltip.
TEST_F(MainWindow, LongTextsAreShortenedInTheMiddle) {
  const std::string deep = "/home/pilot/" + std::string(200, 'x') + "/Scopel v5";
  state_.TargetFolder = deep;
  Open(presenter_);
  const QString title = QStringLiteral(
      "Frankfurt v2.0 Professional Edition - Terminal Buildings, Taxiways and Ground Details");
  window_->WindowView().SetStatusText(title.toStdString());
  QApplication::processEvents();

  const auto* status = window_->findChild<QLineEdit*>(QStringLiteral("StatusField"));
  const ElidedLabel* program = Line("ProgramLine");
  for (const auto& [shown, tooltip, width] :
       {std::tuple{status->text(), status->toolTip(), status->width()},
        std::tuple{program->text(), program->toolTip(), program->width()}}) {
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_LE(window_->fontMetrics().horizontalAdvance(shown), width) << shown.toStdString();
  }
  EXPECT_TRUE(status->text().startsWith(QStringLiteral("Frankfurt v2.0")));
  EXPECT_TRUE(status->text().endsWith(QStringLiteral("Ground Details")));
  EXPECT_EQ(status->toolTip(), title);
  EXPECT_TRUE(program->text().startsWith(QStringLiteral("Program: Scopel v5.0")));
  EXPECT_TRUE(program->text().endsWith(QStringLiteral("/Scopel v5")));
  EXPECT_EQ(program->toolTip(), program->FullText());
}

// Escape and "File" > "Exit" close the window; "Help" > "About" opens the
// about box over it.
TEST_F(MainWindow, KeysAndMenuEntriesDoWhatTheySay) {
  Open(presenter_);
  bool about_shown = false;
  testing::WhenShown<About_Program>([&](About_Program* about) {
    about_shown = about->isVisible();
    about->accept();
  });
  MenuEntry("About Tarnvale v1.0")->trigger();
  EXPECT_TRUE(about_shown);
  EXPECT_TRUE(window_->isVisible());

  testing::PressKey(window_.get(), Qt::Key_Escape);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(window_->result(), 0);

  Open(presenter_);
  MenuEntry("Exit")->trigger();
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWindow, WholeRunWritesTheFilesAndEndsIdleAfterTheSuccessMessage) {
  WriteFile(target_ / "world_airports.dat", "from an older run");
  MessageBoxPresenter boxes;
  Open(boxes);
  bool answered = false;
  testing::WhenShown<QMessageBox>([&](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), testing::ExecutableBaseName());
    EXPECT_EQ(box->text().toStdString(), text::kRunSucceeded);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->parentWidget(), window_.get());
    box->button(QMessageBox::Ok)->click();
    answered = true;
  });

  Button("CreateButton")->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return answered && RunOver(); }));
  QApplication::processEvents();

  ExpectIdle();
  EXPECT_TRUE(window_->isVisible());
  ASSERT_TRUE(state_.last_run.has_value());
  EXPECT_EQ(state_.last_run->ending, RunEnding::Success);
  for (const char* name :
       {"world_airports.dat", "world_navaids.dat", "world_fixpoints.dat", "magdec.bgl"}) {
    EXPECT_TRUE(std::filesystem::exists(target_ / name)) << name;
  }
  EXPECT_GT(std::filesystem::file_size(target_ / "world_airports.dat"), 100U);
}

// Searches the report twice for `wanted`: each Enter marks the next match,
// and the report stays open.
void ExpectFindMovesThroughTheMatches(ReportDialog* report, const QString& wanted) {
  auto* field = report->findChild<QLineEdit*>(QStringLiteral("FindField"));
  const auto* text = report->findChild<QPlainTextEdit*>(QStringLiteral("ReportText"));
  const int first = text->toPlainText().indexOf(wanted);
  const int second = text->toPlainText().indexOf(wanted, first + 1);
  ASSERT_GT(second, first) << "the report names " << wanted.toStdString() << " only once";
  field->setText(wanted);
  for (const int expected : {first, second}) {
    testing::PressKey(field, Qt::Key_Return);
    ASSERT_EQ(text->extraSelections().size(), 1);
    const QTextCursor mark = text->extraSelections().front().cursor;
    EXPECT_EQ(mark.selectedText(), wanted);
    EXPECT_EQ(mark.selectionStart(), expected);
  }
  EXPECT_TRUE(report->isVisible());
}

// The message keeps its text; beneath it the records and the areas, with
// the missing one named; Details opens the whole report, which can be
// searched and saved as it is.
TEST_F(MainWindow, EndingMessageShowsTheSummaryAndTheReportBehindDetails) {
  std::filesystem::remove_all(simulator_ / "Scenery" / "Region02");
  MessageBoxPresenter boxes;
  Open(boxes);
  QString summary;
  bool answered = false;
  testing::WhenShown<QMessageBox>([&](QMessageBox* box) {
    EXPECT_EQ(box->text().toStdString(), text::kRunSucceeded);
    summary = box->informativeText();
    testing::WhenShown<ReportDialog>([&](ReportDialog* report) {
      ExpectFindMovesThroughTheMatches(report, QStringLiteral("Region 02"));
      testing::ChooseInFileDialog(dir_.Path(), QStringLiteral("report.txt"));
      testing::ClickButton(report, QStringLiteral("Save As"));
      testing::WhenShown<QMessageBox>([&](QMessageBox* again) {
        again->button(QMessageBox::Ok)->click();
        answered = true;
      });
      report->reject();
    });
    testing::ClickButton(box, QStringLiteral("Details"));
  });

  Button("CreateButton")->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return answered && RunOver(); }));

  ASSERT_TRUE(state_.last_run.has_value());
  const QStringList lines = QTextDocumentFragment::fromHtml(summary).toPlainText().split('\n');
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Records: "))) << lines[0].toStdString();
  EXPECT_TRUE(lines[0].contains(QStringLiteral(" airports, "))) << lines[0].toStdString();
  QStringList scan_lines;
  for (const std::string& line : ScanSummaryLines(state_.last_run->scan))
    scan_lines << QString::fromStdString(line);
  EXPECT_EQ(lines.mid(1), scan_lines);
  EXPECT_TRUE(
      scan_lines.join('\n').contains(QStringLiteral("missing: Region 02 (Scenery\\Region02)")))
      << scan_lines.join('\n').toStdString();
  EXPECT_EQ(tarnvale::testing::ReadFile(dir_ / "report.txt"), RunDetailsText(*state_.last_run));
}

// Once the ending message is closed the window keeps an account of the run
// and its report; a window opened later on the same folder shows the same,
// read from the kept report.
TEST_F(MainWindow, TheLastRunStaysAfterItsMessageAndAfterARestart) {
  state_.report_archive = dir_ / "reports";
  Open(presenter_);
  const auto* last_run = window_->findChild<QLabel*>(QStringLiteral("LastRunText"));
  EXPECT_FALSE(last_run->isVisible());
  EXPECT_FALSE(MenuEntry(QStringLiteral("Show Last Report"))->isEnabled());
  const int idle_height = window_->height();

  Button("CreateButton")->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return RunOver() && last_run->isVisible(); }));
  const QString shown = last_run->toolTip();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("Last run: "))) << shown.toStdString();
  EXPECT_TRUE(
      shown.contains(QStringLiteral("Microsoft Flight Simulator 2004: completed\nRecords: ")))
      << shown.toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("\nFiles written: 9 ("))) << shown.toStdString();
  EXPECT_GT(window_->height(), idle_height);
  EXPECT_TRUE(window_->ClippedControls().isEmpty());
  QString report;
  testing::WhenShown<ReportDialog>([&](ReportDialog* dialog) {
    report = dialog->findChild<QPlainTextEdit*>(QStringLiteral("ReportText"))->toPlainText();
    dialog->reject();
  });
  MenuEntry(QStringLiteral("Show Last Report"))->trigger();
  EXPECT_TRUE(report.contains(QStringLiteral("\nFiles written:\n  world_airports.dat: ")));
  EXPECT_TRUE(report.contains(QStringLiteral("\nPhase times:\n  counting: ")));

  ProgramState restarted;
  restarted.TargetFolder = target_;
  restarted.report_archive = state_.report_archive;
  TarnvaleDlg again(restarted, presenter_);
  again.show();
  const auto* kept = again.findChild<QLabel*>(QStringLiteral("LastRunText"));
  EXPECT_TRUE(kept->isVisible());
  EXPECT_EQ(kept->toolTip(), shown);

  // A scenery file changed since the set was built: the next start says so
  // above the run.
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(simulator_)) {
    if (entry.path().extension() != ".bgl" || entry.path().filename() == "magdec.bgl") continue;
    fs::last_write_time(entry.path(), entry.last_write_time() + std::chrono::hours(1));
    break;
  }
  restarted.config = state_.config;
  TarnvaleDlg third(restarted, presenter_);
  third.show();
  const QString noticed = third.findChild<QLabel*>(QStringLiteral("LastRunText"))->toolTip();
  EXPECT_TRUE(noticed.startsWith(
      QStringLiteral("The scenery has changed since the database files were built\non ")))
      << noticed.toStdString();
  EXPECT_TRUE(noticed.endsWith(QStringLiteral(": 1 file changed.\nPress Create to build them "
                                              "again.\n") +
                               shown))
      << noticed.toStdString();
  EXPECT_TRUE(third.ClippedControls().isEmpty());
}

TEST_F(MainWindow, CancelPressedTwiceEndsWithOneCancelMessage) {
  HoldingView& holding = StartRunHeldAt("stepit");
  ASSERT_TRUE(ProcessEventsUntil([&] { return BarPosition() == 1; }));
  EXPECT_FALSE(Button("CreateButton")->isEnabled());
  Button("CancelButton")->click();
  EXPECT_EQ(Status(), QStringLiteral("Canceling..."));
  window_->WindowView().SetStatusText("Base");
  Button("CancelButton")->click();  // the second press only says it again
  EXPECT_EQ(Status(), QStringLiteral("Canceling..."));
  holding.Release();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !presenter_.Messages().empty() && RunOver(); }));
  QApplication::processEvents();

  const std::string cancelled = text::WithDetail(text::kRunCancelled, text::kPreviousSetKept);
  EXPECT_EQ(presenter_.Texts(), std::vector<std::string>{cancelled});
  ExpectIdle();
  EXPECT_FALSE(AnyOutputFile());
  EXPECT_EQ(state_.last_run->ending, RunEnding::Cancelled);
}

TEST_F(MainWindow, CloseDuringWritingHaltsTheRunAndKeepsTheOldSet) {
  WriteFile(target_ / "world_airports.dat", "the set of an earlier run");
  StartRunHeldAt("status:" + std::string(text::kCreatingFiles));
  window_->close();

  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(window_->result(), 0);
  EXPECT_EQ(Status(), QStringLiteral("Closing..."));
  EXPECT_TRUE(RunOver());
  EXPECT_EQ(tarnvale::testing::ReadFile(target_ / "world_airports.dat"),
            "the set of an earlier run");
  EXPECT_FALSE(std::filesystem::exists(target_ / ".tarnvale-staging"));
  QApplication::processEvents();
  EXPECT_TRUE(presenter_.Messages().empty());
}

// A set that cannot be put in place is said so in the window, which stays
// open and idle for another try.
TEST_F(MainWindow, WriteFailureIsShownWithItsMessage) {
  HoldingView& holding = StartRunHeldAt("status:" + std::string(text::kCreatingFiles));
  std::filesystem::create_directories(target_ / "magdec.bgl" / "in the way");
  holding.Release();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !presenter_.Messages().empty() && RunOver(); }));
  QApplication::processEvents();

  const std::vector<std::string> texts = presenter_.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind(std::string(text::kDatabaseFilesNotWritten) + "\n", 0), 0u) << texts[0];
  EXPECT_NE(texts[0].find("magdec.bgl"), std::string::npos) << texts[0];
  EXPECT_TRUE(window_->isVisible());
  ExpectIdle();
}

TEST_F(MainWindow, CloseWhileTheWorkerWaitsForItsMessageDoesNotDeadlock) {
  presenter_.OnShow([this](const testing::ShownMessage&) { window_->close(); });
  Open(presenter_);

  Button("CreateButton")->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !presenter_.Messages().empty(); }));

  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(RunOver());
  EXPECT_EQ(presenter_.Texts(), std::vector<std::string>{std::string(text::kRunSucceeded)});
}

struct ClosingRow {
  const char* name;
  std::function<void(ProgramState&, const std::filesystem::path& target)> arrange;
  std::string_view message;
};

class RunThatClosesTheWindow : public MainWindow,
                               public ::testing::WithParamInterface<ClosingRow> {};

TEST_P(RunThatClosesTheWindow, ShowsItsMessageThenCloses) {
  const platform::FaultScope faults;  // disarms what a row arms
  GetParam().arrange(state_, target_);
  Open(presenter_);

  Button("CreateButton")->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !window_->isVisible() && RunOver(); }));

  // The program's own text, then a line that says what was found and kept.
  const std::vector<std::string> texts = presenter_.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind(std::string(GetParam().message) + "\n", 0), 0u) << texts[0];
  EXPECT_TRUE(texts[0].ends_with(text::kPreviousSetKept)) << texts[0];
  EXPECT_EQ(window_->result(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, RunThatClosesTheWindow,
    ::testing::Values(ClosingRow{"OutOfMemory",
                                 [](ProgramState&, const auto&) {
                                   platform::InjectFault(
                                       platform::FaultSite::DatabaseAllocation,
                                       std::make_error_code(std::errc::not_enough_memory), 0, 0);
                                 },
                                 text::kOutOfMemory},
                      ClosingRow{"SimulatorFolderGone",
                                 [](ProgramState& state, const auto& target) {
                                   state.config.FS_Directory = (target / "gone").string();
                                 },
                                 text::kInvalidSimulatorFolder},
                      ClosingRow{"OldFileNotDeleted",
                                 [](ProgramState&, const auto& target) {
                                   WriteFile(target / "magdec.bgl" / "inside", "x");
                                 },
                                 text::kOldFilesNotDeleted}),
    [](const ::testing::TestParamInfo<ClosingRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnvale::gui
