// The target-program and simulator dialogs driven through their widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>
#include <string>
#include <utility>

#include "app/messages.h"
#include "gui/about_program.h"
#include "gui/askfor_quelby_program.h"
#include "gui/fspath_dialog.h"
#include "gui_test_support.h"
#include "support/row_names.h"
#include "support/temp_dir.h"

namespace tarnvale::gui {
namespace {

using tarnvale::testing::TempDir;
using tarnvale::testing::WriteFile;
using testing::Choose;
using testing::ClickButton;
using testing::ScriptedPresenter;
using testing::TypeFolder;

bool AnyRadioChecked(QWidget* dialog) {
  for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
    if (radio->isChecked()) return true;
  }
  return false;
}

std::filesystem::path Canonical(const std::filesystem::path& folder) {
  return std::filesystem::canonical(folder);
}

struct TargetRow {
  QString radio;
  std::string sub_folder;  // appended by the choice
  std::string file_name;   // Program_Config.cfg in any letter case
};

class TargetDialogChoices : public ::testing::TestWithParam<TargetRow> {};

TEST_P(TargetDialogChoices, AcceptsTheChosenProgramsFolder) {
  const TargetRow& row = GetParam();
  TempDir dir;
  const std::filesystem::path program = dir / "Modules" / row.sub_folder;
  WriteFile(program / row.file_name, "[Main Settings]\r\n");
  ScriptedPresenter presenter;
  AskforQuelbyProgram dialog(presenter);
  dialog.show();

  Choose(&dialog, row.radio);
  TypeFolder(&dialog, dir / "Modules");
  ClickButton(&dialog, QStringLiteral("Ok"));

  EXPECT_TRUE(presenter.Messages().empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.AcceptedFolder(), Canonical(program));
}

INSTANTIATE_TEST_SUITE_P(ThreePrograms, TargetDialogChoices,
                         ::testing::Values(TargetRow{QStringLiteral("Brisolt v4.0 (For FS2002)"),
                                                     "Brisolt (FS2002)", "Program_Config.cfg"},
                                           TargetRow{QStringLiteral("Brisolt v5.0 (For FS2004)"),
                                                     "Brisolt (FS2004)", "program_config.cfg"},
                                           TargetRow{
                                               QStringLiteral("Scopel v5.0 (For FS2002/2004)"), "",
                                               "PROGRAM_CONFIG.CFG"}),
                         [](const auto& info) {
                           return tarnvale::testing::RowName(info.index,
                                                             info.param.radio.toStdString());
                         });

// The dialogs' own texts, without the line that says what was found.
std::vector<std::string> FirstLines(std::vector<std::string> texts) {
  for (std::string& text : texts)
    text.resize(text.find('\n') == std::string::npos ? text.size() : text.find('\n'));
  return texts;
}

TEST(TargetDialog, RefusesAMissingChoiceAndAWrongFolderThenAcceptsAnotherChoice) {
  TempDir dir;
  WriteFile(dir / "Program_Config.cfg", "[Main Settings]\r\n");  // only the radar program is here
  ScriptedPresenter presenter;
  AskforQuelbyProgram dialog(presenter);
  dialog.show();
  TypeFolder(&dialog, dir.Path());

  ClickButton(&dialog, QStringLiteral("Ok"));
  Choose(&dialog, QStringLiteral("Brisolt v4.0 (For FS2002)"));
  ClickButton(&dialog, QStringLiteral("Ok"));
  ASSERT_TRUE(dialog.isVisible());
  Choose(&dialog, QStringLiteral("Scopel v5.0 (For FS2002/2004)"));
  ClickButton(&dialog, QStringLiteral("Ok"));

  const std::vector<std::string> expected = {std::string(text::kNoTargetProgramChosen),
                                             std::string(text::kWrongTargetFolder)};
  EXPECT_EQ(FirstLines(presenter.Texts()), expected);
  for (const testing::ShownMessage& message : presenter.Messages()) {
    EXPECT_EQ(message.title, testing::ExecutableBaseName());
    EXPECT_EQ(message.owner, &dialog);
  }
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.AcceptedFolder(), Canonical(dir.Path()));
}

struct SimulatorRow {
  QString radio;
  std::string program_file;
  FsVersion version;
};

class SimulatorDialogVersions : public ::testing::TestWithParam<SimulatorRow> {};

TEST_P(SimulatorDialogVersions, AcceptsTheFolderHoldingThatVersionsProgram) {
  const SimulatorRow& row = GetParam();
  TempDir dir;
  WriteFile(dir / "FS" / row.program_file, "");
  ScriptedPresenter presenter;
  FSPath_Dialog dialog(presenter);
  dialog.show();

  Choose(&dialog, row.radio);
  TypeFolder(&dialog, dir / "FS");
  ClickButton(&dialog, QStringLiteral("Ok"));

  EXPECT_TRUE(presenter.Messages().empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Version(), row.version);
  EXPECT_EQ(dialog.AcceptedFolder(), Canonical(dir / "FS"));
}

INSTANTIATE_TEST_SUITE_P(
    BothVersions, SimulatorDialogVersions,
    ::testing::Values(SimulatorRow{QStringLiteral("Microsoft Flight Simulator 2002"), "fs2002.exe",
                                   FsVersion::Fs2002},
                      SimulatorRow{QStringLiteral("Microsoft Flight Simulator 2004"), "FS9.EXE",
                                   FsVersion::Fs2004}),
    [](const auto& info) { return "Fs" + std::to_string(ToNumber(info.param.version)); });

// The program stands in the target folder when it asks for the simulator;
// the folder it was started in plays no part.
TEST(SimulatorDialog, RelativeFolderIsTakenFromTheTargetFolder) {
  TempDir dir;
  WriteFile(dir / "Programs" / "FS9" / "fs9.exe", "");
  std::filesystem::create_directories(dir / "Programs" / "Scopel");
  ScriptedPresenter presenter;
  FSPath_Dialog dialog(presenter);
  dialog.SetTargetFolder(dir / "Programs" / "Scopel");
  dialog.show();

  Choose(&dialog, QStringLiteral("Microsoft Flight Simulator 2004"));
  TypeFolder(&dialog, std::filesystem::path("..") / "FS9");
  ClickButton(&dialog, QStringLiteral("Ok"));

  EXPECT_TRUE(presenter.Messages().empty());
  EXPECT_EQ(dialog.AcceptedFolder(), Canonical(dir / "Programs" / "FS9"));
}

TEST(SimulatorDialog, NamesTheChosenVersionWhenTheFolderIsWrong) {
  TempDir dir;
  WriteFile(dir / "fs9.exe", "");
  ScriptedPresenter presenter;
  FSPath_Dialog dialog(presenter);
  dialog.show();

  ClickButton(&dialog, QStringLiteral("Ok"));
  TypeFolder(&dialog, dir / "absent");
  Choose(&dialog, QStringLiteral("Microsoft Flight Simulator 2004"));
  ClickButton(&dialog, QStringLiteral("Ok"));
  TypeFolder(&dialog, dir.Path());
  Choose(&dialog, QStringLiteral("Microsoft Flight Simulator 2002"));
  ClickButton(&dialog, QStringLiteral("Ok"));
  ASSERT_TRUE(dialog.isVisible());
  Choose(&dialog, QStringLiteral("Microsoft Flight Simulator 2004"));
  ClickButton(&dialog, QStringLiteral("Ok"));

  const std::vector<std::string> expected = {std::string(text::kNoSimulatorVersionChosen),
                                             text::WrongSimulatorFolder("FS2004"),
                                             text::WrongSimulatorFolder("FS2002")};
  EXPECT_EQ(FirstLines(presenter.Texts()), expected);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Version(), FsVersion::Fs2004);
}

TEST(SetupDialogs, OpenAfreshEachTime) {
  TempDir dir;
  WriteFile(dir / "fs2002.exe", "");
  ScriptedPresenter presenter;
  FSPath_Dialog dialog(presenter);
  dialog.show();
  Choose(&dialog, QStringLiteral("Microsoft Flight Simulator 2002"));
  TypeFolder(&dialog, dir.Path());
  ClickButton(&dialog, QStringLiteral("Ok"));
  ASSERT_EQ(dialog.result(), QDialog::Accepted);

  dialog.show();
  EXPECT_FALSE(AnyRadioChecked(&dialog));
  EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("FolderField"))->text().isEmpty());
  EXPECT_TRUE(dialog.AcceptedFolder().empty());
  EXPECT_EQ(dialog.Version(), FsVersion::None);
}

// "Browse..." starts at the folder the field names, or the nearest one above
// it that exists, else at home; the folder chosen replaces the field's text.
TEST(SetupDialogs, BrowseStartsAtTheTypedFolderAndFillsInTheChosenOne) {
  TempDir dir;
  std::filesystem::create_directories(dir / "Games" / "FS9");
  ScriptedPresenter presenter;
  AskforQuelbyProgram dialog(presenter);
  QString started_in;
  dialog.SetFolderChooser([&](QWidget*, const QString& start) {
    started_in = start;
    return QString::fromStdString((dir / "Games" / "FS9").string());
  });
  const auto field = [&] { return dialog.findChild<QLineEdit*>(QStringLiteral("FolderField")); };
  for (const auto& [typed, start] :
       {std::pair{QString(), QDir::homePath()},
        std::pair{QString::fromStdString((dir / "Games" / "Not yet" / "deeper").string()),
                  QString::fromStdString((dir / "Games").string())}}) {
    dialog.Prefill(TargetProgramChoice::Radar, typed);
    dialog.show();
    EXPECT_EQ(field()->text(), typed);
    ClickButton(&dialog, QStringLiteral("Browse..."));
    EXPECT_EQ(started_in, start);
    EXPECT_EQ(field()->text().toStdString(), (dir / "Games" / "FS9").string());
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
  }
}

// A Wine prefix with the radar program installed in it, as the target
// dialog accepted it; the simulator's installs are added by each test.
class FoundSimulator : public ::testing::Test {
 protected:
  FoundSimulator() {
    std::filesystem::create_directories(prefix_ / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix_ / "dosdevices" / "c:");
    WriteFile(target_ / "Program_Config.cfg", "[Main Settings]\r\n");
    dialog_.SetTargetFolder(Canonical(target_));
    dialog_.show();
  }

  std::filesystem::path Install(const std::string& below_program_files) {
    const std::filesystem::path folder = program_files_ / below_program_files;
    WriteFile(folder / "fs9.exe", "");
    return folder;
  }

  QString Field() const {
    return dialog_.findChild<QLineEdit*>(QStringLiteral("FolderField"))->text();
  }
  QListWidget* Found() const {
    return dialog_.findChild<QListWidget*>(QStringLiteral("FoundList"));
  }
  void ClickFound(int row) const {
    const QPoint point = Found()->visualItemRect(Found()->item(row)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent click(type, point, Found()->viewport()->mapToGlobal(point), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(Found()->viewport(), &click);
    }
  }
  QStringList FoundTexts() const {
    QStringList texts;
    if (Found()->isVisible()) {
      for (int row = 0; row < Found()->count(); ++row) texts.append(Found()->item(row)->text());
    }
    return texts;
  }

  TempDir dir_;
  const std::filesystem::path prefix_ = dir_ / "prefix";
  const std::filesystem::path program_files_ = prefix_ / "drive_c" / "Program Files";
  const std::filesystem::path target_ = program_files_ / "Scopel v5";
  ScriptedPresenter presenter_;
  FSPath_Dialog dialog_{presenter_};
};

const QString kFs2002 = QStringLiteral("Microsoft Flight Simulator 2002");
const QString kFs2004 = QStringLiteral("Microsoft Flight Simulator 2004");

TEST_F(FoundSimulator, OneInstallFillsTheFieldWithItsWindowsFolderForOkToAccept) {
  const std::filesystem::path fs9 = Install("Microsoft Games/Flight Simulator 9");
  const QSize first_size = dialog_.size();

  Choose(&dialog_, kFs2002);  // none installed: nothing changes
  EXPECT_TRUE(Field().isEmpty());
  EXPECT_EQ(dialog_.size(), first_size);
  Choose(&dialog_, kFs2004);
  EXPECT_EQ(Field(), QStringLiteral("C:\\Program Files\\Microsoft Games\\Flight Simulator 9"));
  EXPECT_TRUE(FoundTexts().isEmpty());
  EXPECT_EQ(dialog_.size(), first_size);
  ASSERT_TRUE(dialog_.isVisible());

  ClickButton(&dialog_, QStringLiteral("Ok"));
  EXPECT_TRUE(presenter_.Messages().empty());
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_EQ(dialog_.AcceptedFolder(), Canonical(fs9));
}

TEST_F(FoundSimulator, SeveralInstallsAreListedAndTheOneClickedIsUsed) {
  Install("Microsoft Games/Flight Simulator 9");
  const std::filesystem::path copy = Install("FS9 Copy");
  const QSize first_size = dialog_.size();

  Choose(&dialog_, kFs2004);
  EXPECT_TRUE(Field().isEmpty());
  const QStringList listed = {kFs2004 + QStringLiteral(": C:\\Program Files\\FS9 Copy"),
                              kFs2004 + QStringLiteral(": C:\\Program Files\\Microsoft Games\\"
                                                       "Flight Simulator 9")};
  ASSERT_EQ(FoundTexts(), listed);
  EXPECT_GT(dialog_.height(), first_size.height());
  EXPECT_TRUE(dialog_.ClippedControls().isEmpty());

  ClickFound(0);
  EXPECT_EQ(Field(), QStringLiteral("C:\\Program Files\\FS9 Copy"));
  ASSERT_TRUE(dialog_.isVisible());
  ClickButton(&dialog_, QStringLiteral("Ok"));
  EXPECT_EQ(dialog_.AcceptedFolder(), Canonical(copy));
}

TEST_F(FoundSimulator, AFolderTheUserTypedStaysAndTheInstallIsOnlyListed) {
  Install("Microsoft Games/Flight Simulator 9");
  TypeFolder(&dialog_, dir_ / "elsewhere");
  Choose(&dialog_, kFs2004);
  EXPECT_EQ(Field(), QString::fromStdString((dir_ / "elsewhere").string()));
  EXPECT_EQ(FoundTexts(), QStringList{kFs2004 + QStringLiteral(": C:\\Program Files\\Microsoft "
                                                               "Games\\Flight Simulator 9")});
}

// As the dialog opens, before any version is chosen, the installs of both
// versions are listed; clicking one sets its version too. A single install
// fills both in, so that Ok is enough.
TEST_F(FoundSimulator, OpensListingBothVersionsOrFillingInTheOnlyInstall) {
  Install("FS9");
  WriteFile(program_files_ / "FS2002" / "fs2002.exe", "");
  dialog_.hide();
  dialog_.show();
  EXPECT_EQ(dialog_.Version(), FsVersion::None);
  ASSERT_EQ(FoundTexts(), (QStringList{kFs2002 + QStringLiteral(": C:\\Program Files\\FS2002"),
                                       kFs2004 + QStringLiteral(": C:\\Program Files\\FS9")}));
  ClickFound(0);
  EXPECT_EQ(dialog_.Version(), FsVersion::Fs2002);
  EXPECT_EQ(Field(), QStringLiteral("C:\\Program Files\\FS2002"));

  std::filesystem::remove_all(program_files_ / "FS2002");
  dialog_.hide();
  dialog_.show();
  EXPECT_EQ(dialog_.Version(), FsVersion::Fs2004);
  EXPECT_EQ(Field(), QStringLiteral("C:\\Program Files\\FS9"));
  EXPECT_TRUE(FoundTexts().isEmpty());
}

TEST(AboutBox, FillsItsReadOnlyFieldsWhenOpened) {
  About_Program about;
  about.show();
  for (const char* name : {"DescriptionField", "CreditsField"}) {
    const auto* field = about.findChild<QPlainTextEdit*>(QString::fromLatin1(name));
    ASSERT_NE(field, nullptr) << name;
    EXPECT_TRUE(field->isReadOnly()) << name;
    EXPECT_FALSE(field->toPlainText().isEmpty()) << name;
  }
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About Tarnvale v1.0"));
  ClickButton(&about, QStringLiteral("Ok"));
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace tarnvale::gui
