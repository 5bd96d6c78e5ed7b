#include "gui/setup_questions.h"

#include <QSettings>

namespace tarnvale::gui {
namespace {

const QString kChoiceKey = QStringLiteral("TargetProgram/Choice");
const QString kFolderKey = QStringLiteral("TargetProgram/Folder");

TargetProgramChoice RememberedChoice(const QSettings& memory) {
  const int choice = memory.value(kChoiceKey).toInt();
  return choice >= 1 && choice <= 3 ? static_cast<TargetProgramChoice>(choice)
                                    : TargetProgramChoice::None;
}

}  // namespace

SetupQuestions::SetupQuestions(MessagePresenter& presenter, QSettings& memory, QWidget* owner)
    : target_dialog_(presenter),
      simulator_dialog_(presenter),
      view_(target_dialog_, simulator_dialog_, presenter, owner),
      memory_(memory) {}

StartupOutcome SetupQuestions::Start(ProgramState& state) {
  view_.PrefillTarget(RememberedChoice(memory_),
                      memory_.value(kFolderKey).toString().toStdString());
  const StartupOutcome outcome = RunStartup(state, view_);
  if (outcome == StartupOutcome::Ready) Remember(state);
  return outcome;
}

bool SetupQuestions::Change(ProgramState& state) {
  view_.PrefillTarget(CurrentTargetChoice(state), state.TargetFolder);
  const bool changed = ChangeProgramOrSimulator(state, view_);
  if (changed) Remember(state);
  return changed;
}

void SetupQuestions::Remember(const ProgramState& state) {
  memory_.setValue(kChoiceKey, static_cast<int>(target_dialog_.Choice()));
  memory_.setValue(kFolderKey, QString::fromStdString(state.TargetFolder.string()));
  memory_.sync();
}

}  // namespace tarnvale::gui
