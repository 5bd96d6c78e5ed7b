// The target-program dialog in Qt: the three programs as radio buttons and the folder where the
// chosen one is installed.

#include "gui/askfor_quelby_program.h"

#include <QLabel>

#include "app/desktop_session.h"
#include "platform/wine_prefix.h"

namespace tarnvale::gui {

QString TargetProgramText(TargetProgramChoice choice) {
  return ToQString(TargetProgramName(choice));
}

AskforQuelbyProgram::AskforQuelbyProgram(MessagePresenter& presenter, QWidget* parent)
    : SetupDialog(presenter, QStringLiteral("Getting Quelby's Program Main Information"),
                  {277, 252}, parent) {
  AddGroupBox(QStringLiteral("Choose one Quelby's Program"), 7, 10, 263, 97);
  AddText(QStringLiteral(
              "The Tarnvale program needs to know to what quelby's add-on you want to make the "
              "databases files, so please select one of the following programs. (NOTE: "
              "Remmember that one of these programs MUST be already installed in your "
              "computer.)"),
          13, 23, 248, 37);
  AddRadioButton(TargetProgramText(TargetProgramChoice::ChartFs2002), 26, 62, 141, 10);
  AddRadioButton(TargetProgramText(TargetProgramChoice::ChartFs2004), 26, 76, 141, 10);
  AddRadioButton(TargetProgramText(TargetProgramChoice::Radar), 26, 91, 154, 10);
  AddGroupBox(QStringLiteral("Enter Quelby's Program Main Directory"), 7, 114, 263, 102);
  AddText(
      QStringLiteral("Enter the directory, where the Quelby's Program, that you chose before, is "
                     "currently installed."),
      14, 129, 245, 18);
  AddFolderField(15, 153, 193, 12);
  AddBrowseButton(212, 152, 48, 14);
  AddText(QStringLiteral("Examples:\n"
                         "C:\\Program Files\\Microsoft Games\\FS2002\\Modules\n"
                         "C:\\Program Files\\Microsoft Games\\Flight Simulator 9\\Modules\n"
                         "C:\\Program Files\\Scopel v5"),
          16, 174, 243, 35)
      ->setWordWrap(false);
  AddOkButton(184, 226, 86, 19);
  // Below the window's first bottom edge: seen only while programs are listed.
  AddFoundList(7, 263, 252);
  FinishLayout();
}

// The radio buttons are in the order of the choices 1, 2 and 3.
void AskforQuelbyProgram::Prefill(TargetProgramChoice choice, const QString& folder) {
  SetupDialog::Prefill(static_cast<int>(choice), folder);
}

void AskforQuelbyProgram::OfferFound(const std::vector<FoundProgram>& found) {
  offered_.clear();
  for (const FoundProgram& program : found) {
    offered_.push_back({ToQString(FoundProgramLabel(program)), static_cast<int>(program.choice),
                        ToQString(program.folder)});
  }
}

void AskforQuelbyProgram::showEvent(QShowEvent* event) {
  SetupDialog::showEvent(event);
  ShowFound(offered_);
  offered_.clear();
}

TargetProgramChoice AskforQuelbyProgram::Choice() const {
  return static_cast<TargetProgramChoice>(CheckedRadioButton());
}

DialogAnswer AskforQuelbyProgram::Answer() const {
  return CheckTargetProgramAnswer(Choice(), FolderText().toStdString(), WorkingFolder());
}

std::filesystem::path AskforQuelbyProgram::TypedFolder() const {
  return platform::ResolveTypedPath(FolderText().toStdString(), WorkingFolder(), {});
}

}  // namespace tarnvale::gui
