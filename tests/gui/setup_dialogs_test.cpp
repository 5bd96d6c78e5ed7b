// The target-program and simulator dialogs driven through their widgets.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>
#include <string>

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
  EXPECT_EQ(presenter.Texts(), expected);
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
                                             std::string(text::kWrongFs2004Folder),
                                             std::string(text::kWrongFs2002Folder)};
  EXPECT_EQ(presenter.Texts(), expected);
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
