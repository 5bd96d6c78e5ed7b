// The start-up sequence asked through the real setup dialogs.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <filesystem>
#include <string>

#include "app/messages.h"
#include "app/startup.h"
#include "gui/askfor_quelby_program.h"
#include "gui/dialog_startup_view.h"
#include "gui/elided_text.h"
#include "gui/fspath_dialog.h"
#include "gui/setup_questions.h"
#include "gui/tarnvale_dlg.h"
#include "gui_test_support.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"

namespace tarnvale::gui {
namespace {

using tarnvale::testing::ReadFile;
using tarnvale::testing::TempDir;
using tarnvale::testing::WriteFile;
using tarnvale::testing::WriteProgramConfigFile;
using testing::ClickButton;
using testing::WhenShown;

void Answer(QWidget* dialog, const QString& radio_text, const std::filesystem::path& folder) {
  testing::Choose(dialog, radio_text);
  testing::TypeFolder(dialog, folder);
  ClickButton(dialog, QStringLiteral("Ok"));
}

const QString kRadarProgram = QStringLiteral("Scopel v5.0 (For FS2002/2004)");
const QString kFs2004 = QStringLiteral("Microsoft Flight Simulator 2004");

class GuiStartup : public ::testing::Test {
 protected:
  GuiStartup() : view_(target_dialog_, simulator_dialog_, presenter_, &owner_) {
    WriteFile(dir_ / "FS9" / "fs9.exe", "");
  }

  // Answers the target dialog with the radar program in `program_`.
  void AnswerTargetDialog() {
    WhenShown<AskforQuelbyProgram>(
        [this](AskforQuelbyProgram* dialog) { Answer(dialog, kRadarProgram, program_); });
  }

  StartupOutcome Run() { return RunStartup(state_, view_); }

  TempDir dir_;
  const std::filesystem::path program_ = dir_ / "Scopel";
  testing::ScriptedPresenter presenter_;
  QWidget owner_;
  AskforQuelbyProgram target_dialog_{presenter_};
  FSPath_Dialog simulator_dialog_{presenter_};
  DialogStartupView view_;
  ProgramState state_;
};

TEST_F(GuiStartup, FirstUseAsksForTheSimulatorAndRecordsIt) {
  WriteProgramConfigFile(program_, 2);
  std::filesystem::create_directory(program_ / "DEFAULT_DB");
  AnswerTargetDialog();
  WhenShown<FSPath_Dialog>(
      [this](FSPath_Dialog* dialog) { Answer(dialog, kFs2004, dir_ / "FS9"); });

  EXPECT_EQ(Run(), StartupOutcome::Ready);

  EXPECT_TRUE(presenter_.Messages().empty());
  EXPECT_EQ(state_.TargetFolder, std::filesystem::canonical(program_));
  const std::string config = ReadFile(program_ / "Program_Config.cfg");
  EXPECT_NE(config.find("FS_Version=9"), std::string::npos) << config;
  EXPECT_NE(config.find("FS_Directory=" + std::filesystem::canonical(dir_ / "FS9").string()),
            std::string::npos)
      << config;
}

// Escape and the close box alike end the program without writing anything.
class ClosedSetupDialog : public GuiStartup, public ::testing::WithParamInterface<bool> {
 protected:
  static void Dismiss(QWidget* dialog) {
    if (GetParam()) {
      testing::PressKey(dialog, Qt::Key_Escape);
    } else {
      dialog->close();
    }
  }
};

TEST_P(ClosedSetupDialog, TargetDialogQuits) {
  WhenShown<AskforQuelbyProgram>([](AskforQuelbyProgram* dialog) { Dismiss(dialog); });
  EXPECT_EQ(Run(), StartupOutcome::Quit);
  EXPECT_TRUE(presenter_.Messages().empty());
}

TEST_P(ClosedSetupDialog, SimulatorDialogQuitsAndLeavesTheConfigurationAlone) {
  WriteProgramConfigFile(program_, 2);
  std::filesystem::create_directory(program_ / "DEFAULT_DB");
  const std::string before = ReadFile(program_ / "Program_Config.cfg");
  AnswerTargetDialog();
  WhenShown<FSPath_Dialog>([](FSPath_Dialog* dialog) { Dismiss(dialog); });

  EXPECT_EQ(Run(), StartupOutcome::Quit);

  EXPECT_EQ(ReadFile(program_ / "Program_Config.cfg"), before);
  EXPECT_TRUE(presenter_.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(EscapeOrCloseBox, ClosedSetupDialog, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Escape" : "CloseBox"; });

TEST_F(GuiStartup, ConfigurationGoneAfterTheDialogIsAnErrorMessage) {
  WriteProgramConfigFile(program_, 2, 9, (dir_ / "FS9").string());
  WhenShown<AskforQuelbyProgram>([this](AskforQuelbyProgram* dialog) {
    Answer(dialog, kRadarProgram, program_);
    std::filesystem::remove(program_ / "Program_Config.cfg");
  });

  EXPECT_EQ(Run(), StartupOutcome::Terminate);

  ASSERT_EQ(presenter_.Messages().size(), 1U);
  EXPECT_EQ(presenter_.Messages()[0].title, QStringLiteral("Error Message"));
  EXPECT_EQ(presenter_.Texts()[0].substr(0, text::kProgramConfigMissing.size() + 1),
            std::string(text::kProgramConfigMissing) + "\n");
}

TEST_F(GuiStartup, RadarProgramWithoutDefaultDbTerminates) {
  WriteProgramConfigFile(program_, 2, 9, (dir_ / "FS9").string());
  AnswerTargetDialog();

  EXPECT_EQ(Run(), StartupOutcome::Terminate);

  ASSERT_EQ(presenter_.Messages().size(), 1U);
  EXPECT_EQ(presenter_.Messages()[0].title, testing::ExecutableBaseName());
  EXPECT_EQ(presenter_.Messages()[0].owner, &owner_);
  EXPECT_EQ(presenter_.Texts()[0].substr(0, text::kDefaultDbMissing.size() + 1),
            std::string(text::kDefaultDbMissing) + "\n");
}

// The simulator installed beside the radar program in its Wine prefix is
// offered once the version is chosen, and "Ok" takes the offered "C:\..."
// folder through the radar program's prefix.
TEST(GuiStartupInAWinePrefix, OffersTheSimulatorInstalledBesideTheTargetProgram) {
  TempDir dir;
  std::filesystem::create_directories(dir / "prefix" / "dosdevices");
  std::filesystem::create_directory_symlink("../drive_c", dir / "prefix" / "dosdevices" / "c:");
  const std::filesystem::path program_files = dir / "prefix" / "drive_c" / "Program Files";
  WriteProgramConfigFile(program_files / "Scopel v5", 2);
  std::filesystem::create_directory(program_files / "Scopel v5" / "DEFAULT_DB");
  WriteFile(program_files / "Microsoft Games" / "Flight Simulator 9" / "fs9.exe", "");
  testing::ScriptedPresenter presenter;
  QWidget owner;
  AskforQuelbyProgram target_dialog(presenter);
  FSPath_Dialog simulator_dialog(presenter);
  DialogStartupView view(target_dialog, simulator_dialog, presenter, &owner);
  WhenShown<AskforQuelbyProgram>([&](AskforQuelbyProgram* dialog) {
    Answer(dialog, kRadarProgram, program_files / "Scopel v5");
  });
  WhenShown<FSPath_Dialog>([](FSPath_Dialog* dialog) {
    testing::Choose(dialog, kFs2004);
    ClickButton(dialog, QStringLiteral("Ok"));
    if (dialog->isVisible()) dialog->reject();  // refused: end rather than wait
  });
  ProgramState state;

  EXPECT_EQ(RunStartup(state, view), StartupOutcome::Ready);

  EXPECT_TRUE(presenter.Texts().empty());
  const std::string config = ReadFile(program_files / "Scopel v5" / "Program_Config.cfg");
  EXPECT_NE(config.find("FS_Directory=C:\\Program Files\\Microsoft Games\\Flight Simulator 9\r\n"),
            std::string::npos)
      << config;
}

// The radio button checked and the folder field's text a dialog opened with.
std::pair<QString, QString> Shown(QWidget* dialog) {
  QString checked;
  for (const QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
    if (radio->isChecked()) checked = radio->text();
  }
  return {checked, dialog->findChild<QLineEdit*>(QStringLiteral("FolderField"))->text()};
}

// Enter accepts what a dialog opened with; one that refuses it is closed.
void PressEnter(QDialog* dialog) {
  testing::PressKey(dialog, Qt::Key_Return);
  if (dialog->isVisible()) dialog->reject();
}

// The next start opens the target dialog with the last answer, so Enter is
// enough; "Change Program or Simulator..." opens both dialogs with what the
// window serves, and the window then names the new program and simulator.
TEST(SetupQuestionsTest, RemembersTheProgramAndChangesItFromTheMenu) {
  TempDir dir;
  const auto program = [&](const char* name) {
    return std::filesystem::canonical(dir.Path()) / name;
  };
  WriteFile(program("FS9") / "fs9.exe", "");
  WriteFile(program("FS2002") / "fs2002.exe", "");
  WriteProgramConfigFile(program("Scopel"), 2, 9, program("FS9").string());
  std::filesystem::create_directory(program("Scopel") / "DEFAULT_DB");
  WriteProgramConfigFile(program("Brisolt (FS2002)"), 1, 8, program("FS2002").string());
  QSettings memory(QString::fromStdString((dir / "tarnvale.conf").string()), QSettings::IniFormat);
  testing::ScriptedPresenter presenter;
  SetupQuestions questions(presenter, memory, nullptr);

  ProgramState first;
  WhenShown<AskforQuelbyProgram>(
      [&](AskforQuelbyProgram* dialog) { Answer(dialog, kRadarProgram, program("Scopel")); });
  ASSERT_EQ(questions.Start(first), StartupOutcome::Ready);
  ReleaseTargetFolder(first);

  ProgramState next;
  std::pair<QString, QString> opened;
  WhenShown<AskforQuelbyProgram>([&](AskforQuelbyProgram* dialog) {
    opened = Shown(dialog);
    PressEnter(dialog);
  });
  ASSERT_EQ(questions.Start(next), StartupOutcome::Ready);
  ReleaseTargetFolder(next);
  EXPECT_EQ(opened, std::pair(kRadarProgram, QString::fromStdString(program("Scopel").string())));

  TarnvaleDlg window(next, presenter);
  window.SetChangeSetup([&] { return questions.Change(next); });
  window.show();
  std::pair<QString, QString> target_opened;
  std::pair<QString, QString> simulator_opened;
  WhenShown<AskforQuelbyProgram>([&](AskforQuelbyProgram* dialog) {
    target_opened = Shown(dialog);
    Answer(dialog, QStringLiteral("Brisolt v4.0 (For FS2002)"), program("Brisolt (FS2002)"));
  });
  WhenShown<FSPath_Dialog>([&](FSPath_Dialog* dialog) {
    simulator_opened = Shown(dialog);
    PressEnter(dialog);
  });
  window.findChild<QMenuBar*>()->actions().front()->menu()->actions().front()->trigger();

  EXPECT_EQ(target_opened, opened);
  EXPECT_EQ(simulator_opened, std::pair(QStringLiteral("Microsoft Flight Simulator 2002"),
                                        QString::fromStdString(program("FS2002").string())));
  EXPECT_EQ(next.TargetFolder, program("Brisolt (FS2002)"));
  EXPECT_EQ(window.findChild<ElidedLabel*>(QStringLiteral("ProgramLine"))->FullText().toStdString(),
            "Program: Brisolt v4.0 (For FS2002), in " + program("Brisolt (FS2002)").string());
  EXPECT_EQ(memory.value(QStringLiteral("TargetProgram/Folder")).toString().toStdString(),
            program("Brisolt (FS2002)").string());
  EXPECT_TRUE(presenter.Messages().empty());
}

// $WINEPREFIX and $HOME set for a test's life, so that only its own prefix
// is looked in.
class OwnWinePrefix {
 public:
  explicit OwnWinePrefix(const std::filesystem::path& dir)
      : home_(qgetenv("HOME")), prefix_(qgetenv("WINEPREFIX")) {
    std::filesystem::create_directories(dir / "prefix" / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", dir / "prefix" / "dosdevices" / "c:");
    std::filesystem::create_directories(Programs(dir));
    qputenv("HOME", QByteArray::fromStdString(dir.string()));
    qputenv("WINEPREFIX", QByteArray::fromStdString((dir / "prefix").string()));
  }
  ~OwnWinePrefix() {
    qputenv("HOME", home_);
    if (prefix_.isEmpty())
      qunsetenv("WINEPREFIX");
    else
      qputenv("WINEPREFIX", prefix_);
  }
  static std::filesystem::path Programs(const std::filesystem::path& dir) {
    return dir / "prefix" / "drive_c" / "Program Files";
  }

 private:
  QByteArray home_;
  QByteArray prefix_;
};

// A first start in a prefix holding one program and one simulator needs
// only Enter in each dialog; with two programs, both are listed and none is
// chosen for the user.
TEST(FirstStartInAWinePrefix, FindsTheProgramAndTheSimulatorOrListsThePrograms) {
  TempDir dir;
  const OwnWinePrefix prefix(dir.Path());
  const std::filesystem::path programs = OwnWinePrefix::Programs(dir.Path());
  WriteProgramConfigFile(programs / "Scopel v5", 2);
  std::filesystem::create_directory(programs / "Scopel v5" / "DEFAULT_DB");
  WriteFile(programs / "FS9" / "fs9.exe", "");
  testing::ScriptedPresenter presenter;
  QSettings memory(QString::fromStdString((dir / "one.conf").string()), QSettings::IniFormat);
  SetupQuestions questions(presenter, memory, nullptr);
  std::pair<QString, QString> target_opened;
  std::pair<QString, QString> simulator_opened;
  WhenShown<AskforQuelbyProgram>([&](AskforQuelbyProgram* dialog) {
    target_opened = Shown(dialog);
    PressEnter(dialog);
  });
  WhenShown<FSPath_Dialog>([&](FSPath_Dialog* dialog) {
    simulator_opened = Shown(dialog);
    PressEnter(dialog);
  });
  ProgramState state;

  ASSERT_EQ(questions.Start(state), StartupOutcome::Ready);

  EXPECT_EQ(target_opened,
            std::pair(kRadarProgram, QStringLiteral("C:\\Program Files\\Scopel v5")));
  EXPECT_EQ(simulator_opened, std::pair(kFs2004, QStringLiteral("C:\\Program Files\\FS9")));
  EXPECT_NE(ReadFile(programs / "Scopel v5" / "Program_Config.cfg")
                .find("FS_Directory=C:\\Program Files\\FS9\r\n"),
            std::string::npos);

  WriteProgramConfigFile(programs / "Brisolt (FS2004)", 1);
  QSettings fresh(QString::fromStdString((dir / "two.conf").string()), QSettings::IniFormat);
  SetupQuestions again(presenter, fresh, nullptr);
  QStringList listed;
  WhenShown<AskforQuelbyProgram>([&](AskforQuelbyProgram* dialog) {
    target_opened = Shown(dialog);
    const auto* found = dialog->findChild<QListWidget*>(QStringLiteral("FoundList"));
    for (int row = 0; found->isVisible() && row < found->count(); ++row) {
      listed.append(found->item(row)->text());
    }
    dialog->reject();
  });
  ProgramState second;
  EXPECT_EQ(again.Start(second), StartupOutcome::Quit);
  EXPECT_EQ(target_opened, std::pair(QString(), QString()));
  listed.sort();
  EXPECT_EQ(
      listed,
      (QStringList{QStringLiteral("Brisolt v5.0 (For FS2004): C:\\Program Files\\Brisolt (FS2004)"),
                   kRadarProgram + QStringLiteral(": C:\\Program Files\\Scopel v5")}));
}

}  // namespace
}  // namespace tarnvale::gui
